#pragma once

#include "Form1.h"
#include "Prompts.h"
#include "Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>

// Records every box shown and answers from a queue (Yes for questions, the empty text for
// input boxes when the queue is empty). A hook may run while a box is "open", as a user
// would click elsewhere in the window meanwhile.
class FakePrompts : public Prompts
{
public:
    struct Shown
    {
        QString text;
        Style style;
        QString title;
    };

    Answer messageBox(const QString &text, Style style, const QString &title) override
    {
        shown.push_back({text, style, title});
        if (onShow)
            onShow(shown.back());
        if (style != Style::YesNo)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Yes;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString inputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        inputs.push_back({prompt, Style::OkOnly, title});
        defaults.push_back(def);
        if (typed.empty())
            return QString();
        const QString text = typed.front();
        typed.pop_front();
        return text;
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Shown &box : shown)
            result.append(box.text);
        return result;
    }

    QStringList errorReports() const
    {
        QStringList result;
        for (const Shown &box : shown) {
            if (box.style == Style::ErrorReport)
                result.append(box.text);
        }
        return result;
    }

    std::vector<Shown> shown;
    std::vector<Shown> inputs;
    QStringList defaults;
    std::deque<Answer> answers;
    std::deque<QString> typed;
    std::function<void(const Shown &)> onShow;
};

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
    void openUrl(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
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
};

// A main window built with fakes.
struct TestWindow
{
    explicit TestWindow(const QString &programFolder, int randomDraw = 50)
    {
        random.value = randomDraw;
        form =
            std::make_unique<Form1>(Services{prompts, fileDialogs, shell, random, programFolder});
    }

    template <typename Widget> Widget *control(const char *name) const
    {
        return form->findChild<Widget *>(QString::fromLatin1(name));
    }

    FakePrompts prompts;
    FakeFileDialogs fileDialogs;
    FakeShell shell;
    FakeRandom random;
    std::unique_ptr<Form1> form;
};
