
#include "CalcApplication.h"

#include "CalcText.h"
#include "CsvOptions.h"
#include "Excel.h"
#include "Failure.h"
#include "SpreadsheetClipboard.h"
#include "UnoCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

using namespace css;
using namespace UnoCalls;
using rtl::OUString;

namespace {

constexpr int kMaxSheetRows = 1048576;

table::CellRangeAddress usedArea(const uno::Reference<sheet::XSpreadsheet> &sheet)
{
    uno::Reference<sheet::XSheetCellCursor> cursor = sheet->createCursor();
    uno::Reference<sheet::XUsedAreaCursor> used(cursor, uno::UNO_QUERY_THROW);
    used->gotoStartOfUsedArea(false);
    used->gotoEndOfUsedArea(true);
    return uno::Reference<sheet::XCellRangeAddressable>(cursor, uno::UNO_QUERY_THROW)
        ->getRangeAddress();
}

// Hands what the office asks while it opens a workbook to the office's own dialogs (a
// protected workbook's password: asked again when wrong), and notes whether a password was
// asked for, so that a workbook left unopened for want of one can be told apart.
class PasswordWatcher : public cppu::WeakImplHelper1<task::XInteractionHandler>
{
public:
    explicit PasswordWatcher(uno::Reference<task::XInteractionHandler> office)
        : m_office(std::move(office))
    {
    }
    void SAL_CALL handle(const uno::Reference<task::XInteractionRequest> &request) override
    {
        task::PasswordRequest password;
        if (request.is() && (request->getRequest() >>= password))
            m_passwordAsked = true;
        if (m_office.is())
            m_office->handle(request);
    }
    bool passwordAsked() const { return m_passwordAsked; }

private:
    uno::Reference<task::XInteractionHandler> m_office;
    std::atomic<bool> m_passwordAsked{false};
};

uno::Reference<sheet::XSpreadsheet> sheetAt(const uno::Reference<frame::XModel> &workbook,
                                            int index)
{
    uno::Reference<sheet::XSpreadsheetDocument> document(workbook, uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> sheets(document->getSheets(), uno::UNO_QUERY_THROW);
    return uno::Reference<sheet::XSpreadsheet>(sheets->getByIndex(index), uno::UNO_QUERY_THROW);
}

} // namespace

namespace UnoCalls {
void keepUntilDone(std::thread call)
{
    // Joined as the program ends, after the launcher has let go of the office's bridge.
    struct Kept
    {
        std::mutex mutex;
        std::vector<std::thread> calls;
        ~Kept()
        {
            for (std::thread &kept : calls)
                kept.join();
        }
    };
    static Kept kept;
    const std::lock_guard<std::mutex> lock(kept.mutex);
    kept.calls.push_back(std::move(call));
}
} // namespace UnoCalls

// ---- application ----------------------------------------------------------------------------

CalcApplication::CalcApplication(std::shared_ptr<CalcConnection> connection)
    : m_connection(std::move(connection))
{
}

void CalcApplication::checkAlive() const
{
    if (!m_connection || !m_connection->alive())
        throw Failure(
            QCoreApplication::translate("Tarnwell", "LibreOffice Calc is no longer running"),
            kSpreadsheetGone);
}

void CalcApplication::requireWorkbook() const
{
    checkAlive();
    if (!m_workbook.is())
        throw Failure(QCoreApplication::translate("Tarnwell", "No workbook is open"), 91);
}

void CalcApplication::WorkbooksOpen(const QString &path)
{
    checkAlive();
    const QString url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
    if (!QFileInfo(path).isFile())
        throw Failure(QCoreApplication::translate("Tarnwell", "'%1' could not be found").arg(path),
                      1004);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool delimitedText = suffix == u"csv" || suffix == u"txt";
    CsvFormat csvFormat;
    if (QFile text(path); delimitedText && text.open(QIODevice::ReadOnly))
        csvFormat = detectCsvFormat(text.read(kCsvHeadBytes));
    // A workbook the user already has open is used as it is.
    const bool alreadyOpen = unoCall([&] {
        uno::Reference<container::XEnumeration> open =
            m_connection->desktop()->getComponents()->createEnumeration();
        while (open->hasMoreElements()) {
            uno::Reference<frame::XModel> model(open->nextElement(), uno::UNO_QUERY);
            if (model.is() && QUrl(toQString(model->getURL())) == QUrl(url) &&
                uno::Reference<sheet::XSpreadsheetDocument>(model, uno::UNO_QUERY).is()) {
                m_workbook = model;
                m_url = url;
                return true;
            }
        }
        return false;
    });
    if (alreadyOpen)
        return;
    // Read-only, so a lock file never stops it; hidden until the caller shows it. Text
    // files would ask for import settings, so they get them, as their start shows them.
    // The load may outlive the wait (the user gives up on a large workbook), so it owns
    // what it uses.
    const uno::Reference<uno::XComponentContext> office = m_connection->context();
    const uno::Reference<frame::XDesktop> desktop =
        unoCall([&] { return m_connection->desktop(); });
    const OUString address = toOUString(url);
    const OUString csvOptions = toOUString(calcCsvFilterOptions(csvFormat));
    using Loaded =
        std::pair<uno::Reference<lang::XComponent>, bool>; // the document, password asked
    const std::function<Loaded()> load = [office, desktop, address, csvOptions, delimitedText] {
        rtl::Reference<PasswordWatcher> watcher(
            new PasswordWatcher(uno::Reference<task::XInteractionHandler>(
                office->getServiceManager()->createInstanceWithContext(
                    ascii("com.sun.star.task.InteractionHandler"), office),
                uno::UNO_QUERY)));
        const uno::Any handler(uno::Reference<task::XInteractionHandler>(watcher.get()));
        uno::Sequence<beans::PropertyValue> arguments =
            properties(property("Hidden", uno::Any(true)), property("ReadOnly", uno::Any(true)),
                       property("InteractionHandler", handler));
        if (delimitedText) {
            arguments =
                properties(property("Hidden", uno::Any(true)), property("ReadOnly", uno::Any(true)),
                           property("InteractionHandler", handler),
                           property("FilterName", uno::Any(ascii("Text - txt - csv (StarCalc)"))),
                           property("FilterOptions", uno::Any(csvOptions)));
        }
        uno::Reference<frame::XComponentLoader> loader(desktop, uno::UNO_QUERY_THROW);
        uno::Reference<lang::XComponent> document =
            loader->loadComponentFromURL(address, ascii("_blank"), 0, arguments);
        return Loaded(std::move(document), watcher->passwordAsked());
    };
    // Given up on, the workbook opened hidden is one nobody sees: closed once it is there.
    const std::function<void(Loaded &)> closeUnseen = [](Loaded &loaded) {
        const uno::Reference<util::XCloseable> closeable(loaded.first, uno::UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
    };
    const std::function<bool()> giveUp =
        giveUpWaiting ? giveUpWaiting : std::function<bool()>([] { return false; });
    const std::optional<Loaded> loaded = unoCallUnlessGivenUp(load, closeUnseen, giveUp);
    if (!loaded)
        throw Failure(QCoreApplication::translate("Tarnwell", kOpeningCancelledStatus)
                          .arg(QFileInfo(path).fileName()),
                      kSpreadsheetWaitGivenUp);
    unoCall([&] {
        uno::Reference<frame::XModel> model(loaded->first, uno::UNO_QUERY);
        if (!model.is() && loaded->second)
            throw Failure(QCoreApplication::translate(
                              "Tarnwell", "'%1' is protected by a password, and it was not given.")
                              .arg(path),
                          1004);
        if (!model.is())
            throw Failure(
                QCoreApplication::translate("Tarnwell", "LibreOffice Calc cannot open '%1'")
                    .arg(path),
                1004);
        if (!uno::Reference<sheet::XSpreadsheetDocument>(model, uno::UNO_QUERY).is()) {
            uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
            throw Failure(
                QCoreApplication::translate("Tarnwell", "'%1' is not a workbook").arg(path), 1004);
        }
        m_workbook = model;
        m_url = url;
    });
}

void CalcApplication::WorkbooksAdd()
{
    checkAlive();
    unoCall([&] {
        uno::Reference<frame::XComponentLoader> loader(m_connection->desktop(),
                                                       uno::UNO_QUERY_THROW);
        m_workbook.set(loader->loadComponentFromURL(ascii("private:factory/scalc"), ascii("_blank"),
                                                    0,
                                                    properties(property("Hidden", uno::Any(true)))),
                       uno::UNO_QUERY_THROW);
    });
}

void CalcApplication::setVisible(bool visible)
{
    requireWorkbook();
    unoCall([&] {
        // "Edit Document" loads the workbook anew, in a window of its own.
        uno::Reference<frame::XFrame> frame = currentWorkbook()->getCurrentController()->getFrame();
        uno::Reference<awt::XWindow> window = frame->getContainerWindow();
        window->setVisible(visible);
        if (visible) {
            uno::Reference<awt::XTopWindow> top(window, uno::UNO_QUERY);
            if (top.is())
                top->toFront();
        }
    });
}

uno::Reference<frame::XModel> CalcApplication::currentWorkbook() const
{
    if (m_url.isEmpty())
        return m_workbook;
    uno::Reference<container::XEnumeration> open =
        m_connection->desktop()->getComponents()->createEnumeration();
    while (open->hasMoreElements()) {
        uno::Reference<frame::XModel> model(open->nextElement(), uno::UNO_QUERY);
        if (model.is() && model->getCurrentController().is() &&
            QUrl(toQString(model->getURL())) == QUrl(m_url))
            return model;
    }
    throw Failure(QCoreApplication::translate("Tarnwell", "The workbook is no longer open"), 91);
}

namespace {
// The document's name as Calc's title bar shows it: "book.ods", "Untitled 2".
QString documentName(const uno::Reference<frame::XModel> &model)
{
    const uno::Reference<frame::XTitle> titled(model, uno::UNO_QUERY);
    if (titled.is()) {
        const QString title = toQString(titled->getTitle());
        if (!title.isEmpty())
            return title;
    }
    const QString name = QUrl(toQString(model->getURL())).fileName();
    return name.isEmpty() ? QCoreApplication::translate("Tarnwell", "an unsaved document") : name;
}

// The rows from `firstRow` to `lastRow` (from 0) that a filter hides, ascending. Only rows
// out of sight are asked about one by one: a filter hides few of a block's rows, or the
// block is short.
std::vector<sal_Int32> filteredRows(const uno::Reference<sheet::XSpreadsheet> &sheet,
                                    sal_Int32 firstRow, sal_Int32 lastRow)
{
    uno::Reference<table::XCellRange> cells(sheet, uno::UNO_QUERY_THROW);
    uno::Reference<sheet::XCellRangesQuery> query(
        cells->getCellRangeByPosition(0, firstRow, 0, lastRow), uno::UNO_QUERY_THROW);
    std::vector<bool> inSight(size_t(lastRow - firstRow + 1), false);
    const uno::Sequence<table::CellRangeAddress> visible =
        query->queryVisibleCells()->getRangeAddresses();
    for (const table::CellRangeAddress &area : visible) {
        for (sal_Int32 row = std::max(area.StartRow, firstRow);
             row <= std::min(area.EndRow, lastRow); ++row)
            inSight[size_t(row - firstRow)] = true;
    }
    uno::Reference<table::XColumnRowRange> columnsAndRows(sheet, uno::UNO_QUERY_THROW);
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
} // namespace

bool CalcApplication::workbookOpen()
{
    try {
        requireWorkbook();
        // A closed document answers with DisposedException; a closed file is not listed.
        return unoCall([&] { return currentWorkbook()->getCurrentController().is(); });
    } catch (const Failure &) {
        return false;
    }
}

std::optional<ExcelApplication::ActiveDocument> CalcApplication::ActiveElsewhere()
{
    requireWorkbook();
    return unoCall([&]() -> std::optional<ActiveDocument> {
        const uno::Reference<frame::XModel> ours = currentWorkbook();
        uno::Reference<frame::XModel> active(m_connection->desktop()->getCurrentComponent(),
                                             uno::UNO_QUERY);
        // Only another spreadsheet counts: the user cannot mark cells anywhere else.
        if (!active.is() || active == ours ||
            !uno::Reference<sheet::XSpreadsheetDocument>(active, uno::UNO_QUERY).is() ||
            (!m_url.isEmpty() && QUrl(toQString(active->getURL())) == QUrl(m_url)))
            return std::nullopt;
        return ActiveDocument{documentName(active), documentName(ours)};
    });
}

std::vector<CellBlock> CalcApplication::MarkedBlocks()
{
    requireWorkbook();
    return unoCall([&]() -> std::vector<CellBlock> {
        uno::Reference<view::XSelectionSupplier> supplier(currentWorkbook()->getCurrentController(),
                                                          uno::UNO_QUERY_THROW);
        const uno::Any selection = supplier->getSelection();
        std::vector<table::CellRangeAddress> addresses;
        uno::Reference<sheet::XCellRangeAddressable> single(selection, uno::UNO_QUERY);
        uno::Reference<sheet::XSheetCellRanges> several(selection, uno::UNO_QUERY);
        if (single.is())
            addresses.push_back(single->getRangeAddress());
        else if (several.is() && several->getRangeAddresses().getLength() > 0)
            addresses = markedBlocks(several->getRangeAddresses());
        // Otherwise a shape, a chart, or nothing.
        std::vector<CellBlock> blocks;
        for (const table::CellRangeAddress &address : addresses) {
            CellBlock block;
            block.sheet = address.Sheet;
            block.row = address.StartRow + 1;
            block.column = address.StartColumn + 1;
            block.rowCount = address.EndRow - address.StartRow + 1;
            block.columnCount = address.EndColumn - address.StartColumn + 1;
            blocks.push_back(block);
        }
        return blocks;
    });
}

std::vector<table::CellRangeAddress>
CalcApplication::markedBlocks(const uno::Sequence<table::CellRangeAddress> &areas) const
{
    // Calc lists the areas in an order of its own, not the order they were marked in: top to
    // bottom is the order the user can see. Calc also reports one block dragged over
    // filtered rows as the areas between them.
    std::vector<table::CellRangeAddress> sorted(areas.begin(), areas.end());
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        return std::tie(a.Sheet, a.StartRow, a.StartColumn) <
               std::tie(b.Sheet, b.StartRow, b.StartColumn);
    });
    uno::Reference<table::XColumnRowRange> sheet(sheetAt(currentWorkbook(), sorted.front().Sheet),
                                                 uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> rows(sheet->getRows(), uno::UNO_QUERY_THROW);
    const auto rowUnseen = [&](sal_Int32 row) {
        uno::Reference<beans::XPropertySet> properties(rows->getByIndex(row), uno::UNO_QUERY_THROW);
        bool visible = true, filtered = false;
        properties->getPropertyValue(ascii("IsVisible")) >>= visible;
        try {
            properties->getPropertyValue(ascii("IsFiltered")) >>= filtered;
        } catch (const uno::Exception &) {
            // An office without the property: hidden is what counts.
        }
        return !visible || filtered;
    };
    const auto oneDrag = [&](const table::CellRangeAddress &above,
                             const table::CellRangeAddress &area) {
        if (area.Sheet != above.Sheet || area.StartColumn != above.StartColumn ||
            area.EndColumn != above.EndColumn || area.StartRow <= above.EndRow ||
            area.Sheet != sorted.front().Sheet)
            return false;
        for (sal_Int32 row = above.EndRow + 1; row < area.StartRow; ++row) {
            if (!rowUnseen(row))
                return false;
        }
        return true;
    };
    std::vector<table::CellRangeAddress> blocks{sorted.front()};
    for (size_t k = 1; k < sorted.size(); ++k) {
        if (oneDrag(blocks.back(), sorted[k]))
            blocks.back().EndRow = sorted[k].EndRow;
        else
            blocks.push_back(sorted[k]);
    }
    return blocks;
}

void CalcApplication::select(const CellBlock &block)
{
    requireWorkbook();
    unoCall([&] {
        uno::Reference<table::XCellRange> cells(sheetAt(m_workbook, block.sheet),
                                                uno::UNO_QUERY_THROW);
        uno::Reference<table::XCellRange> range = cells->getCellRangeByPosition(
            block.column - 1, block.row - 1, block.lastColumn() - 1, block.lastRow() - 1);
        uno::Reference<view::XSelectionSupplier>(m_workbook->getCurrentController(),
                                                 uno::UNO_QUERY_THROW)
            ->select(uno::Any(range));
    });
}

namespace {
// The rows of a block as the sheet's text gives them: the whole sheet written as text, in one
// call, rows a filter hides left out.
std::vector<QStringList> sheetText(const uno::Reference<frame::XModel> &workbook,
                                   const uno::Reference<sheet::XSpreadsheet> &sheet, int sheetIndex,
                                   int firstRow, int lastRow, int firstColumn, int lastColumn)
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
    const std::vector<sal_Int32> filtered = filteredRows(sheet, firstRow, lastRow);
    for (auto row = filtered.rbegin(); row != filtered.rend(); ++row)
        rows.erase(rows.begin() + (*row - firstRow));
    return rows;
}

// True when no row or column of `range` is hidden (by hand or by a filter).
bool allInSight(const uno::Reference<table::XCellRange> &range)
{
    const table::CellRangeAddress whole =
        uno::Reference<sheet::XCellRangeAddressable>(range, uno::UNO_QUERY_THROW)
            ->getRangeAddress();
    const uno::Sequence<table::CellRangeAddress> visible =
        uno::Reference<sheet::XCellRangesQuery>(range, uno::UNO_QUERY_THROW)
            ->queryVisibleCells()
            ->getRangeAddresses();
    return visible.getLength() == 1 && visible[0].StartRow == whole.StartRow &&
           visible[0].EndRow == whole.EndRow && visible[0].StartColumn == whole.StartColumn &&
           visible[0].EndColumn == whole.EndColumn;
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
std::vector<QStringList> unquotedCells(const QString &text)
{
    std::vector<QStringList> rows;
    const QStringView all(text);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0)
            end = all.size();
        QStringView line = all.mid(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        QStringList row;
        qsizetype field = 0;
        for (;;) {
            const qsizetype tab = line.indexOf(u'\t', field);
            row.append(line.mid(field, (tab < 0 ? line.size() : tab) - field).toString());
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
    const QByteArray cellBytes(reinterpret_cast<const char *>(cells.getConstArray()),
                               cells.getLength());
    // Without a quote, the cells format says each cell plainly: no need of the plain text
    // that tells a quoted cell from one that begins with a quote.
    if (!cellBytes.contains('"') && !cellBytes.contains('\0'))
        return unquotedCells(QString::fromUtf8(cellBytes));
    OUString text;
    copy->getTransferData(textFlavor) >>= text;
    return SpreadsheetClipboard::rows(toQString(text), cellBytes);
}
} // namespace

std::vector<QStringList> CalcApplication::Text(const CellBlock &block)
{
    requireWorkbook();
    return unoCall([&]() -> std::vector<QStringList> {
        const uno::Reference<frame::XModel> workbook = currentWorkbook();
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

        // Calc's own copy of the cells that hold something, where every row and column of
        // the block is in sight: rows out of sight are read as the sheet's text reads them.
        // Calc's copy leaves out empty rows and columns at its edges, so the copy is of the
        // filled cells' bounds, and placed in the block's rows.
        const uno::Reference<table::XCellRange> range =
            uno::Reference<table::XCellRange>(sheet, uno::UNO_QUERY_THROW)
                ->getCellRangeByPosition(firstColumn, firstRow, lastColumn, lastRow);
        if (allInSight(range)) {
            const size_t rowCount = size_t(lastRow - firstRow + 1);
            const int columnCount = lastColumn - firstColumn + 1;
            const QStringList emptyRow(columnCount, QString());
            const std::optional<table::CellRangeAddress> filled = filledBounds(range);
            if (!filled)
                return std::vector<QStringList>(rowCount, emptyRow);
            std::optional<std::vector<QStringList>> copied = calcCopy(
                workbook, uno::Reference<table::XCellRange>(sheet, uno::UNO_QUERY_THROW)
                              ->getCellRangeByPosition(filled->StartColumn, filled->StartRow,
                                                       filled->EndColumn, filled->EndRow));
            const int filledColumns = filled->EndColumn - filled->StartColumn + 1;
            if (copied && int(copied->size()) == filled->EndRow - filled->StartRow + 1 &&
                std::all_of(copied->begin(), copied->end(),
                            [&](const QStringList &row) { return row.size() <= filledColumns; })) {
                const qsizetype before = filled->StartColumn - firstColumn;
                const bool wholeBlock =
                    before == 0 && copied->size() == rowCount &&
                    std::all_of(copied->begin(), copied->end(),
                                [&](const QStringList &row) { return row.size() == columnCount; });
                if (wholeBlock)
                    return std::move(*copied);
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
        }
        return sheetText(workbook, sheet, block.sheet, firstRow, lastRow, firstColumn, lastColumn);
    });
}

void CalcApplication::setColumnTexts(int row, int column, const QStringList &texts)
{
    requireWorkbook();
    if (texts.isEmpty())
        return;
    if (row - 1 + texts.size() > kMaxSheetRows)
        throw Failure(QCoreApplication::translate("Tarnwell",
                                                  "The list has more items than a sheet has rows"),
                      1004);
    unoCall([&] {
        uno::Reference<table::XCellRange> cells(sheetAt(m_workbook, 0), uno::UNO_QUERY_THROW);
        uno::Reference<sheet::XCellRangeData> range(
            cells->getCellRangeByPosition(column - 1, row - 1, column - 1,
                                          row - 1 + int(texts.size()) - 1),
            uno::UNO_QUERY_THROW);
        // Strings go in as strings: "=1+2" or "0123" stay the texts they are.
        uno::Sequence<uno::Sequence<uno::Any>> data(sal_Int32(texts.size()));
        uno::Sequence<uno::Any> *rows = data.getArray();
        for (qsizetype i = 0; i < texts.size(); ++i)
            rows[i] = uno::Sequence<uno::Any>(1);
        for (qsizetype i = 0; i < texts.size(); ++i)
            rows[i].getArray()[0] <<= toOUString(texts[i]);
        range->setDataArray(data);
    });
}

void CalcApplication::AutofitColumns()
{
    requireWorkbook();
    unoCall([&] {
        const uno::Reference<sheet::XSpreadsheet> sheet = sheetAt(m_workbook, 0);
        const table::CellRangeAddress used = usedArea(sheet);
        uno::Reference<table::XColumnRowRange> range(sheet, uno::UNO_QUERY_THROW);
        uno::Reference<container::XIndexAccess> columns(range->getColumns(), uno::UNO_QUERY_THROW);
        // A very long item would make its column metres wide; a hundred characters' width
        // (in 1/100 mm) is as wide as a column gets.
        constexpr sal_Int32 kWidestColumn = 100 * 200;
        for (sal_Int32 column = used.StartColumn; column <= used.EndColumn; ++column) {
            uno::Reference<beans::XPropertySet> properties(columns->getByIndex(column),
                                                           uno::UNO_QUERY_THROW);
            properties->setPropertyValue(ascii("OptimalWidth"), uno::Any(true));
            sal_Int32 width = 0;
            properties->getPropertyValue(ascii("Width")) >>= width;
            if (width > kWidestColumn)
                properties->setPropertyValue(ascii("Width"), uno::Any(kWidestColumn));
        }
    });
}
