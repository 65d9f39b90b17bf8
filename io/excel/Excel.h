#pragma once

#include "Spreadsheet.h"
#include "Trap.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ItemList;
class ListHost;
class Prompts;

// While it lives, the user can end the wait it was made for (Escape in the window).
class CancelWatch
{
public:
    virtual ~CancelWatch() = default;
    virtual bool asked() const = 0;
};

// What the spreadsheet commands need besides the list.
struct ExcelContext
{
    ExcelLauncher &launcher;
    Prompts &prompts;
    QString appTitle;
    std::function<void(int)> setMousePointer;
    // Brings the program's window in front of the spreadsheet, once the block is read.
    std::function<void()> bringToFront = [] {};
    // Made as a wait the user may end begins, kept until it is over; none: waits run to
    // their end.
    std::function<std::unique_ptr<CancelWatch>()> watchCancel = nullptr;
};

inline constexpr char kExcelMissingMessage[] = QT_TRANSLATE_NOOP(
    "Tarnwell", "Excel is not installed on this computer. You need to have it installed to use "
                "this software without error.");
inline constexpr char kExcelMissingForFeatureMessage[] = QT_TRANSLATE_NOOP(
    "Tarnwell", "Excel is not installed on this computer. You need to have it installed to use "
                "this feature.");
inline constexpr char kNoRangeMessage[] =
    QT_TRANSLATE_NOOP("Tarnwell", "You did not select a range. Please try again.");
inline constexpr char kWorkbookClosedMessage[] = QT_TRANSLATE_NOOP(
    "Tarnwell", "The workbook was closed in Calc before a block was marked, so nothing was read.");
inline constexpr char kMarkCellsPrompt[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Highlight a block of cells with mouse");
// What the status line says while the user marks the block.
inline constexpr char kMarkCellsStatus[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Mark a block of cells in Calc, then press OK.");

inline constexpr char kGoneWhileWritingMessage[] =
    QT_TRANSLATE_NOOP("Tarnwell", "LibreOffice Calc closed before the items were written.");
inline constexpr char kGoneWhileReadingMessage[] =
    QT_TRANSLATE_NOOP("Tarnwell", "LibreOffice Calc closed before the cells were read.");
inline constexpr char kOpeningCancelledStatus[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Opening %1 was cancelled: nothing was imported.");
inline constexpr char kNoItemsCheckedQuestion[] =
    QT_TRANSLATE_NOOP("Tarnwell", "No items are checked. Open a workbook without items?");

// Asked before the export starts the office for a workbook of no items (the command pressed by
// mistake, as often as not): true when the user wants it all the same. No is the default.
bool OpenWorkbookWithoutItems(ExcelContext &context);

// Runs a spreadsheet command's steps under its trap until the application goes away: each
// step after that could only fail the same way, so they are passed over, and the command
// tells it once (see officeGone()) instead of a report per step.
class SpreadsheetSteps
{
public:
    explicit SpreadsheetSteps(Trap &trap) : m_trap(trap) {}

    // Runs one step; false when it failed or was passed over.
    template <typename Step> bool line(int number, Step &&step)
    {
        if (m_gone)
            return false;
        if (auto failure = m_trap.attempt(number, std::forward<Step>(step))) {
            handle(*failure);
            return false;
        }
        return true;
    }
    // A step's failure: reported, unless it says the application has gone.
    void handle(const Failure &failure)
    {
        if (failure.number() == kSpreadsheetGone)
            m_gone = true;
        else
            m_trap.report(failure);
    }
    bool officeGone() const { return m_gone; }
    // Tells the user, once, that the application went away before the command was through.
    void tellGone(ExcelContext &context, const char *message) const;

private:
    Trap &m_trap;
    bool m_gone = false;
};

// Told when the user marked cells in another document than the workbook being read.
QString markInWorkbookMessage(const ExcelApplication::ActiveDocument &documents);

// True when the spreadsheet application is there; otherwise tells the user and gives false.
bool ExcelInstalled(ExcelContext &context);
// A new application object with the workbook at `path` open in it. While the office opens it
// (a minute, for a large one) the status line says so, with the hourglass and a moving
// progress bar, and the user may end the wait (see ExcelContext::watchCancel), which throws
// kSpreadsheetWaitGivenUp.
std::unique_ptr<ExcelApplication> OpenExcelWorkbook(ExcelContext &context, const QString &path,
                                                    ListHost &host);
// Asks the user to mark a block in the workbook and gives every block marked, top to bottom,
// or none on Cancel or any failure, or when the workbook was closed meanwhile.
struct MarkedRange
{
    std::vector<CellBlock> blocks;
    bool workbookClosed = false; // the prompt ended because the workbook went away
};
MarkedRange GetExcelRange(ExcelContext &context, ExcelApplication *app);

// One item from the displayed texts of one row: the texts that are not empty, joined with
// one blank. A row of empty cells gives the empty item.
QString rowItem(const QStringList &cellTexts);

namespace List {
// Opens the workbook, lets the user mark a block and appends one item per row of it. False
// when the user ended the wait for the workbook, and the command is over.
bool ExcelToListview(ItemList &listView, const QString &path, ListHost &host,
                     ExcelContext &context);
} // namespace List
