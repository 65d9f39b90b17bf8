#pragma once

#include "ItemList.h"
#include "ListMenu.h"
#include "WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QRadioButton>

#include <array>

// A fresh window for every test function, with what the tests of the list's context menu
// share: the list's texts and marks, the menu's entries by their text, files written for a
// test, and the case option.
class ListMenuFixture : public WindowFixture
{
protected:
    struct State
    {
        QStringList texts;
        QList<bool> checks;
        bool operator==(const State &other) const
        {
            return texts == other.texts && checks == other.checks;
        }
    };
    State state() const
    {
        State result{items(), {}};
        for (qsizetype i = 0; i < form().items().count(); ++i)
            result.checks.append(form().items().isChecked(i));
        return result;
    }
    Form1 &form() const { return *m_window->form; }
    // The entry of the menu, or of one of its submenus, whose text (without its mnemonic)
    // starts so.
    QAction *action(const QString &startsWith) const
    {
        return findAction(m_window->form->listMenu().menu(), startsWith);
    }
    static QAction *findAction(const QMenu &menu, const QString &startsWith)
    {
        for (QAction *entry : menu.actions()) {
            if (entry->menu() != nullptr) {
                if (QAction *inside = findAction(*entry->menu(), startsWith))
                    return inside;
            } else if (QString(entry->text()).remove(u'&').startsWith(startsWith)) {
                return entry;
            }
        }
        return nullptr;
    }
    void trigger(const QString &startsWith) const
    {
        QAction *entry = action(startsWith);
        QVERIFY2(entry != nullptr, qPrintable(startsWith));
        entry->trigger();
    }
    // What "Save Removed Items..." writes, as text.
    QString savedRemovedItems() const
    {
        const QString path = m_folders->program.filePath(QStringLiteral("removed"));
        QFile::remove(path);
        m_window->fileDialogs.answers.push_back({path});
        trigger(QStringLiteral("Save Removed Items..."));
        QFile saved(path);
        return saved.open(QIODevice::ReadOnly) ? QString::fromUtf8(saved.readAll()) : QString();
    }
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_folders->program.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // Three list files, one in each encoding the import reads: "zoë@example.com" in UTF-8 with
    // a byte-order mark, "anna@example.com" in UTF-16, "café@example.org" in Latin-1.
    std::array<QString, 3> listsInEachEncoding() const
    {
        return {writeFile(QStringLiteral("a.txt"), "\xef\xbb\xbfzo\xc3\xab@example.com\r\n"),
                writeFile(QStringLiteral("b.txt"),
                          QByteArray("\xff\xfe"
                                     "a\0n\0n\0a\0@\0e\0x\0a\0m\0p\0l\0e\0.\0c\0o\0m\0",
                                     34)),
                writeFile(QStringLiteral("c.txt"), "caf\xe9@example.org\n")};
    }
};
