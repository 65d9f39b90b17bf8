#include "CalcText.h"

std::vector<QStringList> parseCalcText(QStringView text)
{
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < size && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty() && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == u'\t') {
            record.append(field);
            field.clear();
            fieldStarted = false;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
                ++i;
            record.append(field);
            records.push_back(record);
            record.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !record.isEmpty()) {
        record.append(field);
        records.push_back(record);
    }
    return records;
}

std::vector<QStringList> sliceTable(const std::vector<QStringList> &table, int firstRow,
                                    int firstColumn, int rowCount, int columnCount)
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(std::max(rowCount, 0)));
    for (int r = 0; r < rowCount; ++r) {
        const size_t source = size_t(firstRow + r);
        QStringList row;
        row.reserve(columnCount);
        for (int c = 0; c < columnCount; ++c) {
            const qsizetype column = firstColumn + c;
            row.append(source < table.size() && column < table[source].size()
                           ? table[source][column]
                           : QString());
        }
        rows.push_back(row);
    }
    return rows;
}
