#pragma once

#include "Fakes.h"
#include "ItemList.h"
#include "ListTestHost.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// A fresh window with fakes, private folders and settings for every test function.
class WindowFixture
{
protected:
    void openWindow()
    {
        m_folders = std::make_unique<TestFolders>();
        m_window = std::make_unique<TestWindow>(m_folders->program.path());
    }
    void closeWindow()
    {
        m_window.reset();
        m_folders.reset();
    }

    Form1 &form() { return *m_window->form; }
    QString status() const { return m_window->control<QLabel>("Label1")->text(); }
    QStringList items() const { return itemTexts(m_window->form->items()); }
    void click(const char *button) const { m_window->control<QPushButton>(button)->click(); }
    void setItems(const QStringList &texts) { fill(form().items(), texts); }
    void setCurrent(int row)
    {
        auto *view = m_window->control<QTableView>("ListView1");
        view->setCurrentIndex(form().items().index(row, 0));
    }
    void chooseMatchCase(bool match) const
    {
        m_window->control<QRadioButton>(match ? "Option2" : "Option1")->setChecked(true);
    }

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<TestWindow> m_window;
};
