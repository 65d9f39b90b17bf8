#pragma once

// A block of cells as the sheet numbers them: rows and columns from 1.
struct CellBlock
{
    int sheet = 0; // the sheet's index in its workbook, from 0
    int row = 1;
    int column = 1;
    int rowCount = 0;
    int columnCount = 0;

    int lastRow() const { return row + rowCount - 1; }
    int lastColumn() const { return column + columnCount - 1; }
    bool operator==(const CellBlock &other) const
    {
        return sheet == other.sheet && row == other.row && column == other.column &&
               rowCount == other.rowCount && columnCount == other.columnCount;
    }
};
