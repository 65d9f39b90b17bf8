#pragma once

#include "Prompts.h"
#include "Services.h"

#include <QPointer>
#include <QWidget>

// The real dialogs, shell and random draw, for the program itself.
class QtPrompts : public Prompts
{
public:
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    Answer messageBox(const QString &text, Style style, const QString &title) override;
    Answer question(const QString &text, const QString &title, const QString &yesButton,
                    const QString &noButton) override;
    Answer waitForUser(const QString &text, const QString &title,
                       const std::function<bool()> &gone) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;

private:
    // The OkCancel box: beside the window, while the user works in another program.
    Answer waitBesideTheWindow(const QString &text, const QString &title,
                               const std::function<bool()> &gone = {});

    QPointer<QWidget> m_parent;
};

class QtFileDialogs : public FileDialogs
{
public:
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    QStringList getOpenFileNames(const QString &title, const QStringList &filters,
                                 bool multiple) override;
    QString getSaveFileName(const QString &title, const QStringList &filters) override;

private:
    QPointer<QWidget> m_parent;
    QString m_lastFilter;
};

class DesktopShell : public Shell
{
public:
    void openUrl(const QUrl &url) override;
};

class SystemRandomDraw : public RandomDraw
{
public:
    int oneToHundred() override;
};
