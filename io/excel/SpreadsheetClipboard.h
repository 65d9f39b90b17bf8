#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>

#include <vector>

// Cells copied in a spreadsheet come to the clipboard as tab-separated lines ("apple\tpear\t"
// for a row with an empty last cell) beside the spreadsheet's own formats. Pasted, each row
// is one item by the import's rule, so that pasted and imported copies of the same cells are
// the same items.
namespace SpreadsheetClipboard {

// The format in which LibreOffice Calc puts copied cells with their tabs and line breaks.
inline constexpr char kCalcCellsFormat[] = "application/x-libreoffice-tsvc";

// True when `formats` (the clipboard's MIME types) include a spreadsheet's own format, as
// LibreOffice Calc, Gnumeric and Excel offer beside the text.
bool comesFromSpreadsheet(const QStringList &formats);

// One item per copied row: the texts of its non-empty cells joined with one blank.
QStringList rowItems(QStringView text);

// The cells of each row from Calc's two copies of them, as rowItems() below reads them.
std::vector<QStringList> rows(QStringView plainText, const QByteArray &calcCells);

// The same from Calc's two copies of the cells: its plain text (a line a row, a cell's tabs
// and line breaks made blanks) and its cells format (`calcCells`, as the clipboard holds it).
// Each cell is read whole from the cells format where that agrees with the plain text, and
// from the plain text where it does not.
QStringList rowItems(QStringView plainText, const QByteArray &calcCells);

} // namespace SpreadsheetClipboard
