// The list menu's clipboard commands: paste a list in, copy items out.

#include "ListMenu.h"

#include "ClipboardOwner.h"
#include "CommandHost.h"
#include "CopiedText.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "LineBreaks.h"
#include "List.h"
#include "ListHost.h"
#include "ListSelection.h"
#include "SpreadsheetClipboard.h"
#include "TextFileImport.h"
#include "Trap.h"
#include "UndoHistory.h"
#include "YieldPacing.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QScopeGuard>
#include <QTableView>

#include <chrono>
#include <future>

namespace {
QString copiedStatus(qsizetype count)
{
    return QCoreApplication::translate("Tarnwell", "%n item(s) copied.", nullptr, int(count));
}
} // namespace

// True unless another program holds the clipboard on X11 and does not answer: that program is
// asked on a thread of its own, the window live meanwhile, instead of Qt's read holding the
// window still for up to half a minute.
bool ListMenu::clipboardOwnerAnswers()
{
    if (QGuiApplication::platformName() != u"xcb" || QGuiApplication::clipboard()->ownsClipboard())
        return true;
    constexpr std::chrono::seconds kPatience{3};
    std::future<ClipboardOwner::Answer> answer =
        std::async(std::launch::async, ClipboardOwner::ask, kPatience);
    {
        const Hourglass hourglass(m_host);
        waitTakingTurns(m_host, [&] {
            return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        });
    }
    return answer.get() != ClipboardOwner::Answer::NoAnswer;
}

void ListMenu::paste()
{
    Trap trap(m_host.errorReporter(), QStringLiteral("Form1.PasteItems"));
    bool answers = true;
    trap.line(99, [&] { answers = clipboardOwnerAnswers(); });
    if (!answers) {
        m_host.setStatus(QCoreApplication::translate(
            "Tarnwell", "The program holding the clipboard did not answer."));
        return;
    }
    QString text;
    bool cells = false;
    bool fromCalc = false;
    QByteArray calcCells; // Calc's copy of the cells, tabs and line breaks intact
    trap.line(100, [&] {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        if (data == nullptr)
            return;
        text = data->text();
        cells = SpreadsheetClipboard::comesFromSpreadsheet(data->formats());
        const QString calcFormat = QLatin1String(SpreadsheetClipboard::kCalcCellsFormat);
        fromCalc = data->hasFormat(calcFormat);
        if (fromCalc)
            calcCells = data->data(calcFormat);
    });
    if (text.isEmpty()) {
        m_host.setStatus(
            QCoreApplication::translate("Tarnwell", "The clipboard holds no text to paste."));
        return;
    }
    // As a text file is loaded: one item per line, then duplicate removal, one step. Cells
    // copied in a spreadsheet: one item per row, as the import makes it.
    const UndoHistory::Command command(m_history,
                                       QCoreApplication::translate("Tarnwell", "Paste Items"));
    Hourglass hourglass(m_host);
    TextPool items;
    trap.line(104, [&] {
        if (!cells) {
            items = LineBreaks::lines(text, m_host);
            return;
        }
        const QStringList rows = fromCalc ? SpreadsheetClipboard::rowItems(text, calcCells)
                                          : SpreadsheetClipboard::rowItems(text);
        for (const QString &row : rows)
            items.append(row);
    });
    text.clear(); // a large clipboard text need not stay twice in memory
    calcCells.clear();
    trap.line(106, [&] { List::PoolToListview(m_items, items, m_host); });
    // The list may share the pasted items' buffer: kept here too, it would be copied whole
    // when the duplicate removal first changes the list.
    items = TextPool();
    hourglass.off();
    trap.line(110, [&] { List::RemoveDupesAll(m_items, m_host); });
}

void ListMenu::copy()
{
    copyItems(ListSelection::selectedRuns(m_view, m_items.count()));
}

void ListMenu::copyChecked()
{
    std::vector<ListSelection::RowRun> runs;
    const auto &checks = m_items.checks();
    for (size_t row = 0; row < checks.size(); ++row) {
        if (checks[row] == 0)
            continue;
        if (!runs.empty() && runs.back().end == qsizetype(row))
            ++runs.back().end;
        else
            runs.push_back({qsizetype(row), qsizetype(row) + 1});
    }
    copyItems(runs);
}

void ListMenu::copyItems(const std::vector<ListSelection::RowRun> &runs)
{
    // Millions of items are copied a slice at a time, the window live; from the list as it
    // stood when asked (a copy of its texts that shares their buffer), whatever runs meanwhile.
    // The rows come as runs: every row of ten million selected, one by one, would take the
    // window's time just to be written down.
    if (m_copying)
        return;
    m_copying = true;
    const auto done = qScopeGuard([this] { m_copying = false; });
    // Seconds at ten million items: the hourglass and the progress bar say it is under way.
    const Hourglass hourglass(m_host);
    const auto noProgress = qScopeGuard([this] { m_host.setProgress(0); });
    Trap(m_host.errorReporter(), QStringLiteral("Form1.Copy")).line(100, [&] {
        const TextPool texts = m_items.texts();
        YieldPacer pacer(m_host);
        qsizetype rows = 0;
        // The text is written in the first half of the bar, its UTF-8 in the second.
        constexpr double kWritten = 50;
        const auto eachRow = [&](const auto &visit, bool showProgress) {
            constexpr size_t kSlice = 65536;
            size_t step = 0;
            for (const ListSelection::RowRun &run : runs) {
                for (qsizetype row = run.first; row < run.end; ++row) {
                    visit(row);
                    if (++step % kSlice == 0 && showProgress)
                        m_host.setProgress(kWritten * double(step) / rows);
                    yieldIfDue(m_host, pacer, step, kSlice);
                }
            }
        };
        // One line each, with the line end this platform's programs expect.
        qsizetype characters = 0;
        eachRow(
            [&](qsizetype row) {
                characters += texts.length(row) + 1;
                ++rows;
            },
            false);
        QString text;
        text.reserve(characters);
        eachRow(
            [&](qsizetype row) {
                texts.at(row).appendTo(text);
                text += u'\n';
            },
            true);
        // The clipboard owns what it is given.
        QGuiApplication::clipboard()->setMimeData(
            CopiedText::convertTakingTurns(std::move(text), m_host, kWritten).release());
        m_host.setStatus(copiedStatus(rows));
    });
}
