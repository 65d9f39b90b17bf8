#include "SpreadsheetClipboard.h"

#include "CalcText.h"
#include "Excel.h"

namespace SpreadsheetClipboard {

bool comesFromSpreadsheet(const QStringList &formats)
{
    // Calc: its tab-separated text with quotes and its embed source; Excel: BIFF; Gnumeric:
    // its own; any: an OpenDocument spreadsheet.
    static const char *const kSpreadsheetFormats[] = {
        "application/x-libreoffice-tsvc", "biff", "application/x-gnumeric",
        "application/vnd.oasis.opendocument.spreadsheet", "spreadsheet"};
    for (const QString &format : formats) {
        for (const char *known : kSpreadsheetFormats) {
            if (format.contains(QLatin1String(known), Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

QStringList rowItems(QStringView text)
{
    QStringList items;
    for (const QStringList &row : parseCalcText(text))
        items.append(rowItem(row));
    return items;
}

} // namespace SpreadsheetClipboard
