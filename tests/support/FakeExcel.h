#pragma once

#include "ExcelLauncher.h"
#include "Failure.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// A spreadsheet application that records what it is asked and answers from a script.
class FakeExcel : public ExcelLauncher
{
public:
    struct Script
    {
        bool installed = true;
        bool startFails = false;
        bool openFails = false;
        int openFailureNumber = 0; // of the failure when the open fails
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
                throw Failure(QStringLiteral("cannot open ") + path, m_script.openFailureNumber);
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
