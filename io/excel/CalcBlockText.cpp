#include "CalcBlockText.h"

#include "CalcSheets.h"
#include "CalcText.h"
#include "Failure.h"
#include "SpreadsheetClipboard.h"
#include "UnoCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <algorithm>
#include <optional>

using namespace css;
using namespace UnoCalls;
using rtl::OUString;

namespace {

// The rows from `firstRow` to `lastRow` (from 0) that a filter hides, ascending. Only rows
// out of sight are asked about one by one: a filter hides few of a block's rows, or the
// block is short. Rows are looked at in a column in sight, so that a column hidden by hand
// does not put every row out of sight.
std::vector<sal_Int32> filteredRows(const uno::Reference<sheet::XSpreadsheet> &sheet,
                                    sal_Int32 firstRow, sal_Int32 lastRow)
{
    uno::Reference<table::XColumnRowRange> columnsAndRows(sheet, uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> columns(columnsAndRows->getColumns(),
                                                    uno::UNO_QUERY_THROW);
    sal_Int32 column = 0;
    for (bool visible = false; column < columns->getCount(); ++column) {
        uno::Reference<beans::XPropertySet>(columns->getByIndex(column), uno::UNO_QUERY_THROW)
            ->getPropertyValue(ascii("IsVisible")) >>= visible;
        if (visible)
            break;
    }
    if (column == columns->getCount())
        column = 0; // every column hidden: every row is asked
    uno::Reference<table::XCellRange> cells(sheet, uno::UNO_QUERY_THROW);
    uno::Reference<sheet::XCellRangesQuery> query(
        cells->getCellRangeByPosition(column, firstRow, column, lastRow), uno::UNO_QUERY_THROW);
    std::vector<bool> inSight(size_t(lastRow - firstRow + 1), false);
    const uno::Sequence<table::CellRangeAddress> visible =
        query->queryVisibleCells()->getRangeAddresses();
    for (const table::CellRangeAddress &area : visible) {
        for (sal_Int32 row = std::max(area.StartRow, firstRow);
             row <= std::min(area.EndRow, lastRow); ++row)
            inSight[size_t(row - firstRow)] = true;
    }
    uno::Reference<container::XIndexAccess> rows(columnsAndRows->getRows(), uno::UNO_QUERY_THROW);
    std::vector<sal_Int32> filtered;
    for (sal_Int32 row = firstRow; row <= lastRow; ++row) {
        if (inSight[size_t(row - firstRow)])
            continue;
        bool isFiltered = false;
        uno::Reference<beans::XPropertySet>(rows->getByIndex(row), uno::UNO_QUERY_THROW)
            ->getPropertyValue(ascii("IsFiltered")) >>= isFiltered;
        if (isFiltered)
            filtered.push_back(row); // a row hidden by hand is still read
    }
    return filtered;
}

// The rows of a block as the sheet's text gives them, rows a filter hides (`filtered`,
// ascending) left out: the whole sheet written as text, in one call. Only where Calc offers no
// copy of the cells.
std::vector<QStringList> sheetText(const uno::Reference<frame::XModel> &workbook, int sheetIndex,
                                   int firstRow, int lastRow, int firstColumn, int lastColumn,
                                   const std::vector<sal_Int32> &filtered)
{
    // The sheet as Calc shows it, in one call: numbers with their formats, dates,
    // formula results. Written as text to a private folder; the workbook stays unmodified.
    QTemporaryDir folder;
    if (!folder.isValid())
        throw Failure(
            QCoreApplication::translate("Tarnwell", "No temporary folder for reading the sheet"));
    const QString base = folder.filePath(QStringLiteral("sheet.csv"));
    uno::Reference<frame::XStorable> storable(workbook, uno::UNO_QUERY_THROW);
    storable->storeToURL(
        toOUString(QUrl::fromLocalFile(base).toString()),
        properties(property("FilterName", uno::Any(ascii("Text - txt - csv (StarCalc)"))),
                   property("FilterOptions",
                            uno::Any(toOUString(
                                QStringLiteral("9,34,76,1,,0,false,true,true,false,false,%1")
                                    .arg(sheetIndex + 1))))));
    // Calc adds the sheet's name to the file name.
    const QStringList written =
        QDir(folder.path()).entryList({QStringLiteral("sheet*.csv")}, QDir::Files);
    if (written.isEmpty())
        throw Failure(QCoreApplication::translate(
            "Tarnwell", "LibreOffice Calc did not write the sheet's text"));
    QFile file(folder.filePath(written.front()));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot read the sheet's text: %1")
                          .arg(file.errorString()));
    const std::vector<QStringList> table = parseCalcText(QString::fromUtf8(file.readAll()));
    std::vector<QStringList> rows = sliceTable(table, firstRow, firstColumn, lastRow - firstRow + 1,
                                               lastColumn - firstColumn + 1);
    // Rows a filter hides are not the user's: Calc's own copy leaves them out too.
    for (auto row = filtered.rbegin(); row != filtered.rend(); ++row)
        rows.erase(rows.begin() + (*row - firstRow));
    return rows;
}

// The bounds of the cells of `range` that hold something; none when all are empty.
std::optional<table::CellRangeAddress> filledBounds(const uno::Reference<table::XCellRange> &range)
{
    const uno::Sequence<table::CellRangeAddress> filled =
        uno::Reference<sheet::XCellRangesQuery>(range, uno::UNO_QUERY_THROW)
            ->queryContentCells(sheet::CellFlags::VALUE | sheet::CellFlags::DATETIME |
                                sheet::CellFlags::STRING | sheet::CellFlags::FORMULA)
            ->getRangeAddresses();
    if (filled.getLength() == 0)
        return std::nullopt;
    table::CellRangeAddress bounds = filled[0];
    for (const table::CellRangeAddress &area : filled) {
        bounds.StartRow = std::min(bounds.StartRow, area.StartRow);
        bounds.EndRow = std::max(bounds.EndRow, area.EndRow);
        bounds.StartColumn = std::min(bounds.StartColumn, area.StartColumn);
        bounds.EndColumn = std::max(bounds.EndColumn, area.EndColumn);
    }
    return bounds;
}

// Calc's cells format where no cell is quoted: its rows split at line ends, its cells at tabs,
// without the quote rules a general reader weighs each character against.
std::vector<QStringList> unquotedCells(QByteArrayView utf8)
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(utf8.count('\n')) + 1);
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = utf8.indexOf('\n', start);
        if (end < 0)
            end = utf8.size();
        QByteArrayView line = utf8.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        // Each cell made text straight from Calc's bytes: no copy of the whole block between.
        QStringList row;
        qsizetype field = 0;
        for (;;) {
            const qsizetype tab = line.indexOf('\t', field);
            row.append(
                QString::fromUtf8(line.sliced(field, (tab < 0 ? line.size() : tab) - field)));
            if (tab < 0)
                break;
            field = tab + 1;
        }
        rows.push_back(std::move(row));
        start = end + 1;
    }
    return rows;
}

// The rows of `range` as Calc's own copy of them gives them, the marks the user made put back
// after; none when Calc offers no copy of it. Costs what the range costs, where the sheet's
// text costs the whole sheet. Calc leaves empty rows and columns at its edges out of its copy.
std::optional<std::vector<QStringList>> calcCopy(const uno::Reference<frame::XModel> &workbook,
                                                 const uno::Reference<table::XCellRange> &range)
{
    const uno::Reference<frame::XController> controller = workbook->getCurrentController();
    const uno::Reference<view::XSelectionSupplier> marks(controller, uno::UNO_QUERY);
    const uno::Reference<datatransfer::XTransferableSupplier> copies(controller, uno::UNO_QUERY);
    if (!marks.is() || !copies.is())
        return std::nullopt;
    const uno::Any marked = marks->getSelection();
    const auto putBack = qScopeGuard([&] {
        try {
            marks->select(marked);
        } catch (const uno::Exception &) {
            // Nothing was marked, or the marks went with the document.
        }
    });
    marks->select(uno::Any(range));
    const uno::Reference<datatransfer::XTransferable> copy = copies->getTransferable();
    if (!copy.is())
        return std::nullopt;
    const datatransfer::DataFlavor cellsFlavor(ascii(SpreadsheetClipboard::kCalcCellsFormat),
                                               ascii("cells"),
                                               cppu::UnoType<uno::Sequence<sal_Int8>>::get());
    const datatransfer::DataFlavor textFlavor(ascii("text/plain;charset=utf-16"), ascii("text"),
                                              cppu::UnoType<OUString>::get());
    if (!copy->isDataFlavorSupported(cellsFlavor) || !copy->isDataFlavorSupported(textFlavor))
        return std::nullopt;
    uno::Sequence<sal_Int8> cells;
    copy->getTransferData(cellsFlavor) >>= cells;
    const QByteArrayView cellBytes(reinterpret_cast<const char *>(cells.getConstArray()),
                                   cells.getLength());
    // Without a quote, the cells format says each cell plainly: no need of the plain text
    // that tells a quoted cell from one that begins with a quote.
    if (!cellBytes.contains('"') && !cellBytes.contains('\0'))
        return unquotedCells(cellBytes);
    OUString text;
    copy->getTransferData(textFlavor) >>= text;
    return SpreadsheetClipboard::rows(toQString(text), cellBytes.toByteArray());
}

// The rows `firstRow` to `lastRow` of the block's columns from Calc's own copy of the cells
// that hold something; none when Calc offers no copy of them. Calc's copy leaves out empty
// rows and columns at its edges, so the copy is of the filled cells' bounds, and placed in
// the rows.
std::optional<std::vector<QStringList>> copiedRows(const uno::Reference<frame::XModel> &workbook,
                                                   const uno::Reference<sheet::XSpreadsheet> &sheet,
                                                   int firstRow, int lastRow, int firstColumn,
                                                   int lastColumn)
{
    const uno::Reference<table::XCellRange> cells(sheet, uno::UNO_QUERY_THROW);
    const size_t rowCount = size_t(lastRow - firstRow + 1);
    const int columnCount = lastColumn - firstColumn + 1;
    const QStringList emptyRow(columnCount, QString());
    const std::optional<table::CellRangeAddress> filled =
        filledBounds(cells->getCellRangeByPosition(firstColumn, firstRow, lastColumn, lastRow));
    if (!filled)
        return std::vector<QStringList>(rowCount, emptyRow);
    std::optional<std::vector<QStringList>> copied =
        calcCopy(workbook, cells->getCellRangeByPosition(filled->StartColumn, filled->StartRow,
                                                         filled->EndColumn, filled->EndRow));
    const int filledColumns = filled->EndColumn - filled->StartColumn + 1;
    if (!copied || int(copied->size()) != filled->EndRow - filled->StartRow + 1 ||
        !std::all_of(copied->begin(), copied->end(),
                     [&](const QStringList &row) { return row.size() <= filledColumns; }))
        return std::nullopt;
    const qsizetype before = filled->StartColumn - firstColumn;
    const bool wholeBlock =
        before == 0 && copied->size() == rowCount &&
        std::all_of(copied->begin(), copied->end(),
                    [&](const QStringList &row) { return row.size() == columnCount; });
    if (wholeBlock)
        return copied;
    // Each copied row moved into place, the block's columns either side filled up.
    std::vector<QStringList> rows(rowCount, emptyRow);
    for (size_t k = 0; k < copied->size(); ++k) {
        QStringList &row = rows[size_t(filled->StartRow - firstRow) + k];
        row = std::move((*copied)[k]);
        if (before > 0)
            row = QStringList(before, QString()) + row;
        while (row.size() < columnCount)
            row.append(QString());
    }
    return rows;
}
} // namespace

std::vector<QStringList> calcBlockText(const uno::Reference<frame::XModel> &workbook,
                                       const CellBlock &block)
{
    const uno::Reference<sheet::XSpreadsheet> sheet = sheetAt(workbook, block.sheet);
    // A block marked by hand gives one row per row, empty ones too, wherever it lies. A
    // mark that runs to the sheet's end (whole columns, the whole sheet, Ctrl+Shift+Down)
    // reads only the rows in use, not a million empty ones. Columns outside the used
    // area add nothing to a row's text either way.
    const table::CellRangeAddress used = usedArea(sheet);
    int firstRow = block.row - 1;
    int lastRow = block.lastRow() - 1;
    if (block.lastRow() >= kMaxSheetRows) {
        firstRow = std::max(firstRow, int(used.StartRow));
        lastRow = std::min(lastRow, int(used.EndRow));
    }
    if (firstRow > lastRow)
        return {};
    const int firstColumn = std::max(block.column - 1, int(used.StartColumn));
    const int lastColumn = std::min(block.lastColumn() - 1, int(used.EndColumn));
    if (firstColumn > lastColumn || firstRow > int(used.EndRow) || lastRow < int(used.StartRow))
        return std::vector<QStringList>(size_t(lastRow - firstRow + 1));

    // Calc's own copy of the rows no filter hides, a run of them at a time: it has no copy of
    // a range with filtered rows in it, and leaves such rows out, as the import does. Rows
    // and columns hidden by hand are in the copy.
    const std::vector<sal_Int32> filtered = filteredRows(sheet, firstRow, lastRow);
    std::vector<QStringList> rows;
    int runStart = firstRow;
    for (size_t k = 0; k <= filtered.size(); ++k) {
        const int runEnd = k < filtered.size() ? int(filtered[k]) - 1 : lastRow;
        if (runStart <= runEnd) {
            std::optional<std::vector<QStringList>> run =
                copiedRows(workbook, sheet, runStart, runEnd, firstColumn, lastColumn);
            if (!run)
                return sheetText(workbook, block.sheet, firstRow, lastRow, firstColumn, lastColumn,
                                 filtered);
            if (rows.empty())
                rows = std::move(*run);
            else
                rows.insert(rows.end(), std::make_move_iterator(run->begin()),
                            std::make_move_iterator(run->end()));
        }
        if (k < filtered.size())
            runStart = int(filtered[k]) + 1;
    }
    return rows;
}
