#include "CalcApplication.h"

#include "CalcBlockText.h"
#include "CalcConnection.h"
#include "CalcSheets.h"
#include "CsvOptions.h"
#include "ExcelMessages.h"
#include "Failure.h"
#include "PasswordWatcher.h"
#include "UnoCalls.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include <algorithm>
#include <atomic>
#include <optional>
#include <tuple>

using namespace css;
using namespace UnoCalls;
using rtl::OUString;

// ---- application ----------------------------------------------------------------------------

CalcApplication::CalcApplication(std::shared_ptr<CalcConnection> connection,
                                 std::shared_ptr<const void> use)
    : m_connection(std::move(connection)), m_use(std::move(use))
{
}

void CalcApplication::answerPasswordsWith(uno::Reference<task::XInteractionHandler> answering)
{
    m_passwordAnswers = std::move(answering);
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
    // What the load found: the document, and what became of a password.
    struct Loaded
    {
        uno::Reference<lang::XComponent> document;
        bool passwordAsked = false;
        bool passwordWrong = false;
    };
    // The launcher's note that the office is in use lives as long as the load does.
    const std::function<Loaded()> load = [office, desktop, address, csvOptions, delimitedText,
                                          answers = m_passwordAnswers, use = m_use] {
        const uno::Reference<task::XInteractionHandler> answering =
            answers.is() ? answers
                         : uno::Reference<task::XInteractionHandler>(
                               office->getServiceManager()->createInstanceWithContext(
                                   ascii("com.sun.star.task.InteractionHandler"), office),
                               uno::UNO_QUERY);
        rtl::Reference<PasswordWatcher> watcher(new PasswordWatcher(answering));
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
        return Loaded{loader->loadComponentFromURL(address, ascii("_blank"), 0, arguments),
                      watcher->passwordAsked(), watcher->passwordWrong()};
    };
    // Given up on, the workbook opened hidden is one nobody sees: closed once it is there.
    const std::function<void(Loaded &)> closeUnseen = [](Loaded &loaded) {
        const uno::Reference<util::XCloseable> closeable(loaded.document, uno::UNO_QUERY);
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
        uno::Reference<frame::XModel> model(loaded->document, uno::UNO_QUERY);
        if (!model.is() && loaded->passwordWrong)
            throw Failure(QCoreApplication::translate(
                              "Tarnwell", "The password for %1 is wrong, so nothing was imported.")
                              .arg(QFileInfo(path).fileName()),
                          kSpreadsheetWrongPassword);
        if (!model.is() && loaded->passwordAsked)
            throw Failure(QCoreApplication::translate(
                              "Tarnwell", "'%1' is protected by a password, and it was not given.")
                              .arg(path),
                          kSpreadsheetPasswordNotGiven);
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

std::vector<QStringList> CalcApplication::Text(const CellBlock &block)
{
    requireWorkbook();
    return unoCall([&] { return calcBlockText(currentWorkbook(), block); });
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
