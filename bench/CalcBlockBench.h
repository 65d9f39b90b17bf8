#pragma once

#include <QString>

// Blocks of a large workbook read through the window's import, against a headless Calc with a
// private profile, beside Calc's own copy of the same cells and `soffice --convert-to csv` of
// the workbook, measured in the same run. `rows` rows of six columns.
void benchCalcBlocks(const QString &folder, int rows);
