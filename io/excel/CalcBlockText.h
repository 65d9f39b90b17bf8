#pragma once

// Reading a marked block's displayed texts from Calc.

#include "CellBlock.h"

#include <QStringList>

#include <com/sun/star/frame/XModel.hpp>

#include <vector>

// The displayed texts of `block` in `workbook`, row by row, clipped to the part of the sheet
// that holds something (see ExcelApplication::Text). Calc's own copy of the cells where it
// can be had, the sheet written as text where not. Throws UNO's exceptions.
std::vector<QStringList> calcBlockText(const css::uno::Reference<css::frame::XModel> &workbook,
                                       const CellBlock &block);
