#pragma once

// What more than one place of the spreadsheet commands tells the user, in the program's own
// words (translated where they are shown).

#include <QCoreApplication>

// The box that waits beside the window while the user marks a block in Calc.
inline constexpr char kMarkCellsPrompt[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Highlight a block of cells with mouse");
// The user ended the wait for a workbook; %1 is its file's name.
inline constexpr char kOpeningCancelledStatus[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Opening %1 was cancelled: nothing was imported.");
