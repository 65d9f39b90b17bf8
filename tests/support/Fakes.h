#pragma once

#include "ExcelLauncher.h"
#include "Failure.h"
#include "FakePrompts.h"
#include "Form1.h"
#include "Services.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
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

// A spreadsheet application that records what it is asked and answers from a script.
class FakeExcel : public ExcelLauncher
{
public:
    struct Script
    {
        bool installed = true;
        bool startFails = false;
        bool openFails = false;
        std::vector<CellBlock> selection;
        std::vector<QStringList> blockTexts; // what Text() gives for each block
        // How many times, on OK, the user turns out to have marked in another document.
        int markedElsewhere = 0;
        bool slowStart = false;          // the application has to be started first
        bool closedWhileMarking = false; // the user closes the workbook while the box waits
        std::function<void()> onWrite;   // runs as texts are written
        std::function<void()> onOpen;    // runs as the workbook opens
        bool openUntilGivenUp = false;   // the workbook opens until the wait is given up
        // The office ends after this many writes (-1: never), or while a block is read.
        int goneAfterWrites = -1;
        bool goneWhileReading = false;
    };
    struct Record
    {
        int created = 0;
        QStringList opened;
        int workbooksAdded = 0;
        int released = 0;
        bool stoppedWaiting = false;
        bool visible = false;
        bool autofit = false;
        std::vector<CellBlock> textsRead;
        std::map<std::pair<int, int>, QString> cells; // (row, column) -> text written
        QStringList calls;
    };

    class Application : public ExcelApplication
    {
    public:
        Application(const Script &script, Record &record) : m_script(script), m_record(record) {}
        void WorkbooksOpen(const QString &path) override
        {
            m_record.calls.append(QStringLiteral("Open"));
            if (m_script.onOpen)
                m_script.onOpen();
            if (m_script.openFails)
                throw Failure(QStringLiteral("cannot open ") + path);
            if (m_script.openUntilGivenUp) {
                QDeadlineTimer deadline(10000);
                while (!(giveUpWaiting && giveUpWaiting()) && !deadline.hasExpired())
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                throw Failure(QStringLiteral("given up"), kSpreadsheetWaitGivenUp);
            }
            m_record.opened.append(path);
        }
        void WorkbooksAdd() override
        {
            m_record.calls.append(QStringLiteral("Add"));
            ++m_record.workbooksAdded;
        }
        void setVisible(bool visible) override
        {
            m_record.calls.append(QStringLiteral("Visible"));
            if (m_gone)
                throw gone();
            m_record.visible = visible;
        }
        std::vector<CellBlock> MarkedBlocks() override
        {
            m_record.calls.append(QStringLiteral("Selection"));
            return m_script.selection;
        }
        bool workbookOpen() override { return !m_script.closedWhileMarking; }
        std::optional<ActiveDocument> ActiveElsewhere() override
        {
            if (m_elsewhereTold >= m_script.markedElsewhere)
                return std::nullopt;
            ++m_elsewhereTold;
            return ActiveDocument{QStringLiteral("other.ods"), QStringLiteral("book.xlsx")};
        }
        std::vector<QStringList> Text(const CellBlock &block) override
        {
            m_record.calls.append(QStringLiteral("Text"));
            if (m_script.goneWhileReading)
                throw gone();
            m_record.textsRead.push_back(block);
            return m_script.blockTexts;
        }
        void setColumnTexts(int row, int column, const QStringList &texts) override
        {
            m_record.calls.append(QStringLiteral("Write"));
            if (m_script.onWrite)
                m_script.onWrite();
            if (m_writes++ == m_script.goneAfterWrites)
                m_gone = true;
            if (m_gone)
                throw gone();
            for (qsizetype i = 0; i < texts.size(); ++i) {
                if (!texts[i].isEmpty())
                    m_record.cells[{row + int(i), column}] = texts[i];
            }
        }
        void AutofitColumns() override
        {
            m_record.calls.append(QStringLiteral("Autofit"));
            if (m_gone)
                throw gone();
            m_record.autofit = true;
        }

    private:
        static Failure gone()
        {
            return Failure(QStringLiteral("LibreOffice Calc is no longer running"),
                           kSpreadsheetGone);
        }

        const Script &m_script;
        Record &m_record;
        int m_elsewhereTold = 0;
        int m_writes = 0;
        bool m_gone = false;
    };

    bool isInstalled() override { return script.installed; }
    std::unique_ptr<ExcelApplication> CreateObject() override
    {
        if (script.slowStart && whileStarting) {
            whileStarting();
            onStarting();
            record.stoppedWaiting = stopWaiting && stopWaiting();
        }
        if (!script.installed || script.startFails)
            throw Failure(QStringLiteral("LibreOffice Calc is not installed"), 429);
        ++record.created;
        return std::make_unique<Application>(script, record);
    }

    void release() override { ++record.released; }

    Script script;
    Record record;
    std::function<void()> onStarting = [] {}; // what the user does while the office starts
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
