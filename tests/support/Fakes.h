#pragma once

#include "Failure.h"
#include "FakeExcel.h"
#include "FakePrompts.h"
#include "Form1.h"
#include "Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class FakeFileDialogs : public FileDialogs
{
public:
    struct Call
    {
        QString title;
        QStringList filters;
        bool multiple = false;
        bool save = false;
    };

    QStringList getOpenFileNames(const QString &title, const QStringList &filters,
                                 bool multiple) override
    {
        calls.push_back({title, filters, multiple, false});
        return nextAnswer();
    }

    QString getSaveFileName(const QString &title, const QStringList &filters) override
    {
        calls.push_back({title, filters, false, true});
        const QStringList answer = nextAnswer();
        return answer.isEmpty() ? QString() : answer.front();
    }

    std::vector<Call> calls;
    std::deque<QStringList> answers;

private:
    QStringList nextAnswer()
    {
        if (answers.empty())
            return {};
        QStringList answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeShell : public Shell
{
public:
    void openUrl(const QUrl &url) override
    {
        if (noBrowser)
            throw Failure(QStringLiteral("Could not open ") + url.toString());
        opened.append(url);
    }
    QList<QUrl> opened;
    bool noBrowser = false;
};

class FakeRandom : public RandomDraw
{
public:
    int oneToHundred() override { return value; }
    int value = 50;
};

// A private settings store and program folder for one test, so that no test reads or writes
// the user's own.
class TestFolders
{
public:
    TestFolders()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        // The optional files are looked for in the user's and the system's folders too:
        // private ones, so no test finds a file this machine happens to have.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
    }

    QString settingsFile() const { return settings.path() + QStringLiteral("/Brennick.conf"); }

    void store(const QString &key, const QString &value) const
    {
        QSettings file(settingsFile(), QSettings::IniFormat);
        file.setValue(QStringLiteral("Tarnwell/") + key, value);
    }

    QVariant stored(const QString &key) const
    {
        QSettings file(settingsFile(), QSettings::IniFormat);
        return file.value(QStringLiteral("Tarnwell/") + key);
    }

    QTemporaryDir settings;
    QTemporaryDir program;
    QTemporaryDir config; // stands for ~/.config
    QTemporaryDir data;   // stands for /usr/share
};

// A main window built with fakes.
struct TestWindow
{
    explicit TestWindow(const QString &programFolder, int randomDraw = 50, bool noBrowser = false)
    {
        random.value = randomDraw;
        shell.noBrowser = noBrowser;
        form = std::make_unique<Form1>(
            Services{prompts, fileDialogs, shell, random, excel, programFolder});
    }

    template <typename Widget> Widget *control(const char *name) const
    {
        return form->findChild<Widget *>(QString::fromLatin1(name));
    }

    FakePrompts prompts;
    FakeFileDialogs fileDialogs;
    FakeShell shell;
    FakeRandom random;
    FakeExcel excel;
    std::unique_ptr<Form1> form;
};
