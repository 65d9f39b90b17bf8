#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include <memory>
#include <optional>
#include <vector>

// The number of the Failure a spreadsheet call throws once the application has gone away
// (closed, or ended, while a command was using it).
inline constexpr int kSpreadsheetGone = 462;
// The number of the Failure WorkbooksOpen throws when the user gave up waiting for it.
inline constexpr int kSpreadsheetWaitGivenUp = 18;

// A block of cells as the sheet numbers them: rows and columns from 1.
struct CellBlock
{
    int sheet = 0; // the sheet's index in its workbook, from 0
    int row = 1;
    int column = 1;
    int rowCount = 0;
    int columnCount = 0;

    int lastRow() const { return row + rowCount - 1; }
    int lastColumn() const { return column + columnCount - 1; }
    bool operator==(const CellBlock &other) const
    {
        return sheet == other.sheet && row == other.row && column == other.column &&
               rowCount == other.rowCount && columnCount == other.columnCount;
    }
};

// One spreadsheet application object, as the load and save commands drive it. Every member
// throws Failure when the application cannot do what is asked.
class ExcelApplication
{
public:
    virtual ~ExcelApplication() = default;

    // Opens the workbook at `path` hidden and read-only; a workbook the user already has open
    // is taken as it is. Throws kSpreadsheetWaitGivenUp once giveUpWaiting says so meanwhile:
    // the application goes on opening it, and closes it when through.
    virtual void WorkbooksOpen(const QString &path) = 0;
    // Asked while a workbook opens: true ends the wait.
    std::function<bool()> giveUpWaiting;
    // Creates a new, empty workbook, hidden until made visible.
    virtual void WorkbooksAdd() = 0;
    // Shows the workbook's window and brings it to the front.
    virtual void setVisible(bool visible) = 0;

    // Every block the user has marked in the workbook, top to bottom (left to right on one
    // row); a drag over filtered rows is one block. Empty when no cells are marked.
    virtual std::vector<CellBlock> MarkedBlocks() = 0;
    // The first of them, or none.
    std::optional<CellBlock> Selection()
    {
        const std::vector<CellBlock> blocks = MarkedBlocks();
        return blocks.empty() ? std::nullopt : std::optional<CellBlock>(blocks.front());
    }
    // False once the workbook has been closed, or the application has ended.
    virtual bool workbookOpen() { return true; }
    // When the document the user worked in last is not this workbook: its name, and this
    // workbook's; nothing otherwise.
    struct ActiveDocument
    {
        QString active;
        QString workbook;
    };
    virtual std::optional<ActiveDocument> ActiveElsewhere() { return std::nullopt; }
    // The displayed texts of the block, row by row, clipped to the part of the sheet that
    // holds something.
    virtual std::vector<QStringList> Text(const CellBlock &block) = 0;

    // Writes texts into the first sheet of the new workbook, down one column from (row,
    // column); texts are stored as texts, never parsed, and an empty text leaves its cell
    // empty.
    virtual void setColumnTexts(int row, int column, const QStringList &texts) = 0;
    // Fits the widths of the columns to their contents.
    virtual void AutofitColumns() = 0;
};

// Reaches the spreadsheet application.
class ExcelLauncher
{
public:
    virtual ~ExcelLauncher() = default;
    // True when the application is there to be started or reached.
    virtual bool isInstalled() = 0;
    // A new application object; throws Failure when the application cannot be reached.
    virtual std::unique_ptr<ExcelApplication> CreateObject() = 0;
    // The command is done with the application: one that this launcher started and that
    // shows no document now is ended. One the user had running is never ended.
    virtual void release() {}

    // Called once when the application has to be started first, which takes a while.
    std::function<void()> whileStarting;
    // Asked while waiting for the application to start: true gives up the wait (the window
    // was closed).
    std::function<bool()> stopWaiting;
};
