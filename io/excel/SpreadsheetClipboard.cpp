#include "SpreadsheetClipboard.h"

#include "CalcText.h"
#include "ExcelImport.h"

#include <QStringDecoder>

#include <utility>

namespace SpreadsheetClipboard {

bool comesFromSpreadsheet(const QStringList &formats)
{
    // Calc: its tab-separated text with quotes and its embed source; Excel: BIFF; Gnumeric:
    // its own; any: an OpenDocument spreadsheet.
    static const char *const kSpreadsheetFormats[] = {
        kCalcCellsFormat, "biff", "application/x-gnumeric",
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

namespace {

// Calc hands its cells format over as UTF-8 under X11 and as the string's UTF-16 elsewhere.
QString decodeCells(const QByteArray &bytes)
{
    if (bytes.startsWith("\xff\xfe") || (bytes.size() % 2 == 0 && bytes.contains('\0')))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes);
    return QString::fromUtf8(bytes);
}

bool blankInPlainText(QChar c)
{
    return c == u'\n' || c == u'\t' || c == u'\r';
}

// True when `cell`, its tabs and line breaks made blanks, is `plain`.
bool showsAs(QStringView cell, QStringView plain)
{
    if (cell.size() != plain.size())
        return false;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] != plain[i] && !(plain[i] == u' ' && blankInPlainText(cell[i])))
            return false;
    }
    return true;
}

bool endsField(QStringView text, qsizetype at, bool lastOfRow)
{
    if (at == text.size())
        return lastOfRow;
    return lastOfRow ? (text[at] == u'\n' || text[at] == u'\r') : text[at] == u'\t';
}

// Reads the cell at `at` in Calc's cells format that shows as `plain`, and moves past it and
// its separator. Calc quotes a cell that holds a tab or a line break (doubling its quotes) and
// writes any other, a formula's result too, as it is: a cell starting with a quote may be
// either, and the one that shows as the plain text is the cell.
bool readCell(QStringView text, qsizetype &at, QStringView plain, bool lastOfRow, QString &cell)
{
    if (at < text.size() && text[at] == u'"') {
        QString quoted;
        qsizetype k = at + 1;
        while (k < text.size()) {
            if (text[k] == u'"') {
                if (k + 1 < text.size() && text[k + 1] == u'"') {
                    quoted += u'"';
                    k += 2;
                    continue;
                }
                break;
            }
            quoted += text[k++];
        }
        if (k < text.size() && endsField(text, k + 1, lastOfRow) && showsAs(quoted, plain)) {
            cell = std::move(quoted);
            at = k + 1;
            return true;
        }
    }
    const QStringView raw = text.mid(at).left(plain.size());
    if (!endsField(text, at + raw.size(), lastOfRow) || !showsAs(raw, plain))
        return false;
    cell = raw.toString();
    at += raw.size();
    return true;
}

void skipSeparator(QStringView text, qsizetype &at)
{
    if (at < text.size() && text[at] == u'\r')
        ++at;
    if (at < text.size() && (text[at] == u'\t' || text[at] == u'\n'))
        ++at;
}

} // namespace

std::vector<QStringList> rows(QStringView plainText, const QByteArray &calcCells)
{
    const QString cells = decodeCells(calcCells);
    const QStringView text(cells);
    std::vector<QStringList> rows;
    qsizetype at = 0;
    bool agrees = true; // once a cell disagrees, the rest is read from the plain text
    QStringList row;
    QList<QStringView> lines = plainText.split(u'\n');
    if (plainText.endsWith(u'\n'))
        lines.removeLast(); // the last row's end, not a row
    for (QStringView line : std::as_const(lines)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        row.clear();
        const QList<QStringView> plainCells = line.split(u'\t');
        for (qsizetype c = 0; c < plainCells.size(); ++c) {
            QString cell;
            agrees = agrees && readCell(text, at, plainCells[c], c == plainCells.size() - 1, cell);
            if (agrees)
                skipSeparator(text, at);
            row.append(agrees ? cell : plainCells[c].toString());
        }
        rows.push_back(row);
    }
    return rows;
}

QStringList rowItems(QStringView plainText, const QByteArray &calcCells)
{
    QStringList items;
    for (const QStringList &row : rows(plainText, calcCells))
        items.append(rowItem(row));
    return items;
}

} // namespace SpreadsheetClipboard
