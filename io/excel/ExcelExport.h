#pragma once

// Save List To Excel File: the checked items written down a new workbook's first column.

#include <QString>

#include <functional>

struct ExcelContext;
class ItemList;
class ListHost;
class Trap;

// True when the spreadsheet application is there; otherwise tells the user and gives false.
bool ExcelInstalled(ExcelContext &context);

// Asked before the export starts the office for a workbook of no items (the command pressed by
// mistake, as often as not): true when the user wants it all the same. No is the default.
bool OpenWorkbookWithoutItems(ExcelContext &context);

namespace List {
// Save List To Excel File, its steps numbered in `trap` (the window's, whose command it is):
// a new workbook with the list's headings in row 1 and the checked items in column A from row
// 2 on, each in its item's row (the rows of unchecked ones left empty); shown once filled.
// While the office works the status line says what it does and the progress bar how far it
// is; once the office has answered, the status line shows again what `shownStatus` gave before
// it was reached. An office that goes away meanwhile is told once, and one started for the
// command and left with nothing to show is ended.
void ListviewToExcel(const ItemList &listView, ListHost &host, ExcelContext &context, Trap &trap,
                     const std::function<QString()> &shownStatus);
} // namespace List
