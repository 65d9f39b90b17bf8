#pragma once

// Save List To Excel File: the checked items written down a new workbook's first column.

struct ExcelContext;

// True when the spreadsheet application is there; otherwise tells the user and gives false.
bool ExcelInstalled(ExcelContext &context);

// Asked before the export starts the office for a workbook of no items (the command pressed by
// mistake, as often as not): true when the user wants it all the same. No is the default.
bool OpenWorkbookWithoutItems(ExcelContext &context);
