#pragma once

#include <QByteArray>
#include <QString>

// What Calc's text import has to be told to open a delimited text file as its writer meant
// it: without it Calc takes commas and UTF-8, and a semicolon-separated file from a German
// spreadsheet opens as one cell a line.
struct CsvFormat
{
    char16_t separator = u','; // comma, semicolon or tab
    int encoding = 76;         // as Calc numbers them: 76 UTF-8, 65535 UTF-16, 1 Windows-1252
};

// How much of a file's start is judged.
inline constexpr qsizetype kCsvHeadBytes = 65536;

// Judged from the start of the file (`head`: its first kCsvHeadBytes): the encoding from
// a byte order mark, else UTF-8 when the bytes are valid UTF-8, else Windows-1252; the
// separator that splits the lines into the same number of fields most often, outside quotes.
CsvFormat detectCsvFormat(const QByteArray &head);

// The "FilterOptions" of Calc's "Text - txt - csv (StarCalc)" filter for `format`: fields in
// double quotes, from the first line, every column in the standard format.
QString calcCsvFilterOptions(const CsvFormat &format);
