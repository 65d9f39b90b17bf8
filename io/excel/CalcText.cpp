#include "CalcText.h"

#include "DelimitedText.h"

#include <utility>

std::vector<QStringList> parseCalcText(QStringView text)
{
    std::vector<QStringList> records;
    QStringList record;
    DelimitedReader reader(text, u'\t', true);
    QString field;
    bool endsRecord = false;
    while (reader.next(field, endsRecord)) {
        record.append(field);
        if (endsRecord)
            records.push_back(std::exchange(record, QStringList()));
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
