#pragma once

#include "CellBlock.h"

#include <vector>

// The blocks the user marked when asked to, top to bottom (see GetExcelRange).
struct MarkedRange
{
    std::vector<CellBlock> blocks;
    bool workbookClosed = false; // the prompt ended because the workbook went away
};
