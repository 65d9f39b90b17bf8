#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class ExcelLauncher;
class Prompts;

// Opens a web page in the user's browser.
class Shell
{
public:
    virtual ~Shell() = default;
    // Throws Failure when the page cannot be opened.
    virtual void openUrl(const QUrl &url) = 0;
};

// The one random draw the program makes at start-up.
class RandomDraw
{
public:
    virtual ~RandomDraw() = default;
    // A whole number from 1 to 100, each equally likely.
    virtual int oneToHundred() = 0;
};

// The platform's file dialogs, as the common dialog uses them.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // Full paths of the chosen files; empty on Cancel. `filters` are Qt name filters.
    virtual QStringList getOpenFileNames(const QString &title, const QStringList &filters,
                                         bool multiple) = 0;
    // The chosen path; empty on Cancel.
    virtual QString getSaveFileName(const QString &title, const QStringList &filters) = 0;
};

// Everything the window reaches outside itself, handed in at construction so that tests can
// put scripted fakes in its place.
struct Services
{
    Prompts &prompts;
    FileDialogs &fileDialogs;
    Shell &shell;
    RandomDraw &random;
    ExcelLauncher &excel;
    // The folder that may hold the optional skin (x/o.cjs) and hand pointer (HAND-M.CUR).
    QString programFolder;
};
