#pragma once

#include "CellBlock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The number of the Failure a spreadsheet call throws once the application has gone away
// (closed, or ended, while a command was using it).
inline constexpr int kSpreadsheetGone = 462;
// The number of the Failure WorkbooksOpen throws when the user gave up waiting for it.
inline constexpr int kSpreadsheetWaitGivenUp = 18;
// The numbers of the Failure WorkbooksOpen throws when the user cancelled the workbook's
// password box, or gave a wrong password.
inline constexpr int kSpreadsheetPasswordNotGiven = 1005;
inline constexpr int kSpreadsheetWrongPassword = 1006;

// One spreadsheet application object, as the load and save commands drive it. Every member
// throws Failure when the application cannot do what is asked.
class ExcelApplication
{
public:
    virtual ~ExcelApplication() = default;

    // Opens the workbook at `path` hidden and read-only; a workbook the user already has open
    // is taken as it is. Throws kSpreadsheetWaitGivenUp once giveUpWaiting says so meanwhile:
    // the application goes on opening it, and closes it when through. A workbook protected by
    // a password is asked for it: kSpreadsheetPasswordNotGiven when the user cancels the
    // password box, kSpreadsheetWrongPassword, saying so, when the password is wrong.
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
