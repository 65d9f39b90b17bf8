#pragma once

// Load List From Excel File: the workbook opened in the office, a block marked there by the
// user, one item a row.

#include "ExcelApplication.h"
#include "MarkedRange.h"

#include <QString>
#include <QStringList>

#include <memory>

struct ExcelContext;
class ItemList;
class ListHost;

// Told when the user marked cells in another document than the workbook being read.
QString markInWorkbookMessage(const ExcelApplication::ActiveDocument &documents);

// A new application object with the workbook at `path` open in it. While the office opens it
// (a minute, for a large one) the status line says so, with the hourglass and a moving
// progress bar, and the user may end the wait (see ExcelContext::watchCancel), which throws
// kSpreadsheetWaitGivenUp.
std::unique_ptr<ExcelApplication> OpenExcelWorkbook(ExcelContext &context, const QString &path,
                                                    ListHost &host);
// Asks the user to mark a block in the workbook and gives every block marked, top to bottom,
// or none on Cancel or any failure, or when the workbook was closed meanwhile.
MarkedRange GetExcelRange(ExcelContext &context, ExcelApplication *app);

// One item from the displayed texts of one row: the texts that are not empty, joined with
// one blank. A row of empty cells gives the empty item.
QString rowItem(const QStringList &cellTexts);

namespace List {
// Opens the workbook, lets the user mark a block and appends one item per row of it. False
// when the user ended the wait for the workbook or did not give its password, and the
// command is over.
bool ExcelToListview(ItemList &listView, const QString &path, ListHost &host,
                     ExcelContext &context);
} // namespace List
