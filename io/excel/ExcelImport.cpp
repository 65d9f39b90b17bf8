#include "ExcelImport.h"

#include "ExcelContext.h"
#include "ExcelMessages.h"
#include "Failure.h"
#include "ItemList.h"
#include "ListHost.h"
#include "Prompts.h"
#include "SpreadsheetSteps.h"
#include "Trap.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

namespace {
// Moves the progress bar to and fro while the office works on something that says nothing of
// how far it is, so that the window shows it is not stuck.
class MovingProgress
{
public:
    explicit MovingProgress(ListHost &host) : m_host(host)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_step = (m_step + 1) % (2 * kSteps);
            m_host.setProgress(100.0 * (m_step <= kSteps ? m_step : 2 * kSteps - m_step) / kSteps);
        });
        m_timer.start(kIntervalMs);
    }
    ~MovingProgress() { m_host.setProgress(0); }
    MovingProgress(const MovingProgress &) = delete;
    MovingProgress &operator=(const MovingProgress &) = delete;

private:
    static constexpr int kSteps = 20;
    static constexpr int kIntervalMs = 100;
    ListHost &m_host;
    QTimer m_timer;
    int m_step = 0;
};
} // namespace

std::unique_ptr<ExcelApplication> OpenExcelWorkbook(ExcelContext &context, const QString &path,
                                                    ListHost &host)
{
    std::unique_ptr<ExcelApplication> app = context.launcher.CreateObject();
    host.setStatus(QCoreApplication::translate("Tarnwell", "Opening %1 in Calc...")
                       .arg(QFileInfo(path).fileName()));
    context.setMousePointer(kPointerHourglass);
    const MovingProgress moving(host);
    // The window takes clicks and keys meanwhile: Escape, or closing it, ends the wait.
    const std::unique_ptr<CancelWatch> cancel =
        context.watchCancel ? context.watchCancel() : nullptr;
    app->giveUpWaiting = [&] {
        return (cancel && cancel->asked()) ||
               (context.launcher.stopWaiting && context.launcher.stopWaiting());
    };
    const auto forget = qScopeGuard([&] { app->giveUpWaiting = nullptr; });
    app->WorkbooksOpen(path);
    return app;
}

MarkedRange GetExcelRange(ExcelContext &context, ExcelApplication *app)
{
    MarkedRange marked;
    if (!app)
        return marked;
    try {
        for (;;) {
            // The user marks the block in the spreadsheet's own window, in front, while this
            // box waits beside the program's window, and goes when the workbook does.
            app->setVisible(true);
            const auto gone = [&] { return marked.workbookClosed = !app->workbookOpen(); };
            if (context.prompts.waitForUser(
                    QCoreApplication::translate("Tarnwell", kMarkCellsPrompt), context.appTitle,
                    gone) != Prompts::Answer::Ok)
                return marked;
            // Rows marked in another document are not the ones this command reads: say
            // where to mark, and wait again.
            if (const auto elsewhere = app->ActiveElsewhere()) {
                context.prompts.messageBox(markInWorkbookMessage(*elsewhere),
                                           Prompts::Style::OkOnly, context.appTitle);
                continue;
            }
            marked.blocks = app->MarkedBlocks();
            return marked;
        }
    } catch (const Failure &failure) {
        return {{}, failure.number() == kSpreadsheetGone};
    } catch (const std::exception &) {
        return {};
    }
}

QString markInWorkbookMessage(const ExcelApplication::ActiveDocument &documents)
{
    return QCoreApplication::translate(
               "Tarnwell", "You marked cells in \"%1\". Please mark the block in \"%2\", then "
                           "press OK.")
        .arg(documents.active, documents.workbook);
}

QString rowItem(const QStringList &cellTexts)
{
    QString item;
    for (const QString &text : cellTexts) {
        if (text.isEmpty())
            continue;
        if (!item.isEmpty())
            item += u' ';
        item += text;
    }
    return item;
}

namespace {
// The command is done with the office (see ExcelLauncher::release).
void releaseOffice(ExcelContext &context)
{
    try {
        context.launcher.release();
    } catch (const Failure &) {
        // Gone already: nothing left to end.
    }
}
} // namespace

namespace List {

bool ExcelToListview(ItemList &listView, const QString &path, ListHost &host, ExcelContext &context)
{
    Trap trap(host.errorReporter(), QStringLiteral("List.ExcelToListview"));
    SpreadsheetSteps steps(trap);
    std::unique_ptr<ExcelApplication> app;
    if (auto failure = trap.attempt(100, [&] { app = OpenExcelWorkbook(context, path, host); })) {
        const int number = failure->number();
        if (number == kSpreadsheetWaitGivenUp || number == kSpreadsheetPasswordNotGiven ||
            number == kSpreadsheetWrongPassword) {
            // The user ended the wait, cancelled the password box or gave a wrong password:
            // nothing is read, and no report follows. An office started for the workbook is
            // ended once it is through with it (one given up on opens on meanwhile).
            context.setMousePointer(kPointerDefault);
            host.setStatus(number == kSpreadsheetWaitGivenUp
                               ? QCoreApplication::translate("Tarnwell", kOpeningCancelledStatus)
                                     .arg(QFileInfo(path).fileName())
                               : QString());
            if (number == kSpreadsheetWrongPassword)
                trap.line(101, [&] {
                    context.prompts.messageBox(failure->description(), Prompts::Style::OkOnly,
                                               context.appTitle);
                });
            releaseOffice(context);
            return false;
        }
        // Not "Starting ..." while the report shows.
        host.setStatus(failure->number() == kSpreadsheetGone ? QString() : failure->description());
        steps.handle(*failure);
    }
    trap.line(102, [&] { context.setMousePointer(kPointerHourglass); });
    steps.line(108, [&] {
        if (!app)
            throw Failure(QCoreApplication::translate("Tarnwell", "Object variable not set"), 91);
        app->setVisible(true);
    });
    bool noRange = false;
    MarkedRange marked;
    if (app)
        host.setStatus(QCoreApplication::translate(
            "Tarnwell", "Mark a block of cells in Calc, then press OK."));
    trap.line(112, [&] { marked = GetExcelRange(context, app.get()); });
    // The user is done with Calc: the new items, the status line and any question are here.
    if (app)
        context.bringToFront();
    const std::vector<CellBlock> &blocks = marked.blocks;
    if (steps.officeGone()) {
        // Nothing to read and nothing more to ask: said once below.
    } else if (trap.test(114, [&] { return blocks.empty(); })) {
        trap.line(136, [&] { noRange = true; });
    } else {
        // Several blocks marked (with Ctrl) give their rows in turn, top to bottom.
        std::vector<QStringList> rows;
        steps.line(116, [&] {
            for (const CellBlock &block : blocks) {
                std::vector<QStringList> blockRows = app->Text(block);
                if (rows.empty())
                    rows = std::move(blockRows);
                else
                    rows.insert(rows.end(), std::make_move_iterator(blockRows.begin()),
                                std::make_move_iterator(blockRows.end()));
            }
        });
        // The office gone halfway through: the list stays as it was, not half read.
        steps.line(120, [&] {
            // A row of one cell is its item as it is; only rows of several are joined, so a
            // column of a million rows is not copied once more on its way into the list.
            std::vector<QString> joined;
            joined.reserve(size_t(std::count_if(
                rows.begin(), rows.end(), [](const QStringList &row) { return row.size() != 1; })));
            std::vector<QStringView> items;
            items.reserve(rows.size());
            for (const QStringList &row : rows) {
                if (row.size() == 1) {
                    items.emplace_back(row.front());
                } else {
                    joined.push_back(rowItem(row));
                    items.emplace_back(joined.back());
                }
            }
            listView.appendAll(items);
        });
    }
    trap.line(138, [&] { context.setMousePointer(kPointerDefault); });
    // An office started for this command and left with nothing to show is ended.
    app.reset();
    releaseOffice(context);
    // The window closed while the box waited: nothing more to tell.
    const bool closed = context.launcher.stopWaiting && context.launcher.stopWaiting();
    if (!closed && steps.officeGone()) {
        host.setStatus(QString());
        steps.tellGone(
            context,
            QT_TRANSLATE_NOOP("Tarnwell", "LibreOffice Calc closed before the cells were read."));
    }
    if (!closed && trap.test(140, [&] { return noRange; })) {
        trap.line(142, [&] {
            context.prompts.messageBox(
                marked.workbookClosed
                    ? QCoreApplication::translate("Tarnwell",
                                                  "The workbook was closed in Calc before a block "
                                                  "was marked, so nothing was read.")
                    : QCoreApplication::translate("Tarnwell",
                                                  "You did not select a range. Please try again."),
                Prompts::Style::OkOnly, context.appTitle);
        });
    }
    return true;
}

} // namespace List
