#pragma once

#include <QStringList>
#include <QStringView>

#include <vector>

// Reads the tab-separated text Calc writes for a sheet: one record a line (LF or CR LF), a
// field in double quotes when it holds a tab, a quote or a line end, a quote inside doubled.
std::vector<QStringList> parseCalcText(QStringView text);

// The part of `table` (rows and columns from 0) that a block covers; cells past a short
// record are empty.
std::vector<QStringList> sliceTable(const std::vector<QStringList> &table, int firstRow,
                                    int firstColumn, int rowCount, int columnCount);
