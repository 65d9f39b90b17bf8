#pragma once

#include <QStringList>
#include <QStringView>

// Cells copied in a spreadsheet come to the clipboard as tab-separated lines ("apple\tpear\t"
// for a row with an empty last cell) beside the spreadsheet's own formats. Pasted, each row
// is one item by the import's rule, so that pasted and imported copies of the same cells are
// the same items.
namespace SpreadsheetClipboard {

// True when `formats` (the clipboard's MIME types) include a spreadsheet's own format, as
// LibreOffice Calc, Gnumeric and Excel offer beside the text.
bool comesFromSpreadsheet(const QStringList &formats);

// One item per copied row: the texts of its non-empty cells joined with one blank.
QStringList rowItems(QStringView text);

} // namespace SpreadsheetClipboard
