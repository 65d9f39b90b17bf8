#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// Reads text delimited as spreadsheets write it: fields split at the delimiter, a field in
// double quotes when it holds the delimiter, a quote or a line end, a quote inside doubled.
class DelimitedReader
{
public:
    // With `linesAreRecords`, LF, CR LF and CR end a record (a sheet's text); without, the
    // text is one record and line ends are characters of its fields (one item read as a line).
    DelimitedReader(QStringView text, QChar delimiter, bool linesAreRecords);

    // The next field, and whether its record ends with it; false once the text is through.
    bool next(QString &field, bool &endsRecord);

private:
    QStringView m_text;
    QChar m_delimiter;
    bool m_linesAreRecords;
    qsizetype m_position = 0;
    bool m_inRecord = false; // the record under way has given a field already
    bool m_through = false;
};
