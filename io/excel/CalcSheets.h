#pragma once

// The sheets of a workbook, as the Calc side finds them.

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>

// How many rows a sheet has.
inline constexpr int kMaxSheetRows = 1048576;

// The sheet at `index` (from 0) of `workbook`.
css::uno::Reference<css::sheet::XSpreadsheet>
sheetAt(const css::uno::Reference<css::frame::XModel> &workbook, int index);

// The part of `sheet` that holds something.
css::table::CellRangeAddress usedArea(const css::uno::Reference<css::sheet::XSpreadsheet> &sheet);
