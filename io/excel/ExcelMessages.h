#pragma once

// What the spreadsheet commands tell the user, in the program's own words (translated where
// they are shown).

#include <QCoreApplication>

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
