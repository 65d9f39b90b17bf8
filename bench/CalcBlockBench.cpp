#include "CalcBlockBench.h"

#include "BenchTools.h"
#include "CalcApplication.h"
#include "CalcTestTools.h"
#include "Fakes.h"
#include "Form1.h"
#include "ItemList.h"
#include "LibreOfficeLauncher.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetFilterDescriptor.hpp>
#include <com/sun/star/sheet/XSheetFilterable.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>

#include <cstdio>

using namespace css;

namespace {
constexpr int kColumns = 6;

// A text in column A ("row 17"), numbers in the other five, written a slice at a time.
QString writeWideWorkbook(LibreOfficeLauncher &launcher, const QString &path, int rows)
{
    std::unique_ptr<ExcelApplication> app = launcher.CreateObject();
    app->WorkbooksAdd();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    uno::Reference<table::XCellRange> sheet(firstSheet(model), uno::UNO_QUERY_THROW);
    constexpr int kSlice = 50000;
    for (int first = 0; first < rows; first += kSlice) {
        const int count = std::min(kSlice, rows - first);
        uno::Sequence<uno::Sequence<uno::Any>> data(count);
        for (int k = 0; k < count; ++k) {
            uno::Sequence<uno::Any> cells(kColumns);
            cells.getArray()[0] <<= toOUString(QStringLiteral("row %1").arg(first + k + 1));
            for (int column = 1; column < kColumns; ++column)
                cells.getArray()[column] <<= double(first + k) * 1.25 + column;
            data.getArray()[k] = cells;
        }
        uno::Reference<sheet::XCellRangeData>(
            sheet->getCellRangeByPosition(0, first, kColumns - 1, first + count - 1),
            uno::UNO_QUERY_THROW)
            ->setDataArray(data);
    }
    return storeAndClose(model, path, "Calc Office Open XML");
}

// Calc's own copy of `block` as a paste takes it (its plain text): marked, copied, read.
double calcCopySeconds(CalcApplication &users, const CellBlock &block, qsizetype &characters)
{
    users.select(block);
    QElapsedTimer clock;
    clock.start();
    const uno::Reference<datatransfer::XTransferable> copy =
        uno::Reference<datatransfer::XTransferableSupplier>(
            users.workbook()->getCurrentController(), uno::UNO_QUERY_THROW)
            ->getTransferable();
    characters = 0;
    if (!copy.is())
        return 0; // Calc has no copy of a range over filtered rows
    const datatransfer::DataFlavor text(rtl::OUString::createFromAscii("text/plain;charset=utf-16"),
                                        rtl::OUString::createFromAscii("text"),
                                        cppu::UnoType<rtl::OUString>::get());
    rtl::OUString copied;
    copy->getTransferData(text) >>= copied;
    characters = copied.getLength();
    return double(clock.nsecsElapsed()) / 1e9;
}

// Hides row `row` and column `column` (from 0) of the first sheet, as a user does by hand.
void hideByHand(const uno::Reference<frame::XModel> &model, int row, int column)
{
    const uno::Reference<table::XColumnRowRange> sheet(firstSheet(model), uno::UNO_QUERY_THROW);
    const auto hide = [](const uno::Reference<container::XIndexAccess> &lines, int index) {
        uno::Reference<beans::XPropertySet>(lines->getByIndex(index), uno::UNO_QUERY_THROW)
            ->setPropertyValue(rtl::OUString::createFromAscii("IsVisible"), uno::Any(false));
    };
    hide(uno::Reference<container::XIndexAccess>(sheet->getRows(), uno::UNO_QUERY_THROW), row);
    hide(uno::Reference<container::XIndexAccess>(sheet->getColumns(), uno::UNO_QUERY_THROW),
         column);
}

// Filters the first `rows` rows of column A to leave out the one holding `text`.
void filterOut(const uno::Reference<frame::XModel> &model, int rows, const QString &text)
{
    const uno::Reference<sheet::XSheetFilterable> column(
        uno::Reference<table::XCellRange>(firstSheet(model), uno::UNO_QUERY_THROW)
            ->getCellRangeByPosition(0, 0, 0, rows - 1),
        uno::UNO_QUERY_THROW);
    const uno::Reference<sheet::XSheetFilterDescriptor> filter =
        column->createFilterDescriptor(true);
    uno::Reference<beans::XPropertySet>(filter, uno::UNO_QUERY_THROW)
        ->setPropertyValue(rtl::OUString::createFromAscii("ContainsHeader"), uno::Any(false));
    uno::Sequence<sheet::TableFilterField> fields(1);
    fields.getArray()[0].Operator = sheet::FilterOperator_NOT_EQUAL;
    fields.getArray()[0].StringValue = toOUString(text);
    filter->setFilterFields(fields);
    column->filter(filter);
}
} // namespace

void benchCalcBlocks(const QString &folder, int rows)
{
    LibreOfficeLauncher::Options options;
    options.profileFolder = folder + QStringLiteral("/blocks-profile");
    options.headless = true;
    LibreOfficeLauncher launcher(options);
    FakePrompts prompts;
    FakeFileDialogs dialogs;
    FakeShell shell;
    FakeRandom random;
    Form1 form(Services{prompts, dialogs, shell, random, launcher, folder});
    form.show();
    auto *load = form.findChild<QPushButton *>(QStringLiteral("PushButton18"));

    QElapsedTimer clock;
    clock.start();
    const QString book =
        writeWideWorkbook(launcher, folder + QStringLiteral("/wide-blocks.xlsx"), rows);
    std::printf("blocks: a %d x %d workbook written (%.0f MB) in %.1f s\n", rows, kColumns,
                double(QFileInfo(book).size()) / 1e6, double(clock.nsecsElapsed()) / 1e9);

    // The user has the workbook open in the running office.
    std::unique_ptr<ExcelApplication> opened = launcher.CreateObject();
    clock.restart();
    opened->WorkbooksOpen(book);
    std::printf("blocks: the workbook opened in the running office in %.1f s\n",
                double(clock.nsecsElapsed()) / 1e9);
    // As the user has it: in a window of its own. Calc draws it the first time it shows,
    // which is no part of reading a block.
    clock.restart();
    opened->setVisible(true);
    std::printf("blocks: the workbook shown in %.2f s\n", double(clock.nsecsElapsed()) / 1e9);
    auto &users = static_cast<CalcApplication &>(*opened);

    const auto importOf = [&](const char *what, const CellBlock &block, qsizetype items) {
        form.items().clear();
        users.select(block);
        dialogs.answers.push_back({book});
        const Timing import = timePass([&] { load->click(); });
        print(what, items, import, QStringLiteral("%1 items").arg(form.items().count()));
        // The block read alone, without the command's prompts and duplicate removal.
        clock.restart();
        const std::vector<QStringList> read = users.Text(block);
        const double readSeconds = double(clock.nsecsElapsed()) / 1e9;
        qsizetype characters = 0;
        const CellBlock copied{block.sheet, block.row, block.column,
                               std::min(block.rowCount, rows - block.row + 1),
                               std::min(block.columnCount, kColumns - block.column + 1)};
        const double peer = calcCopySeconds(users, copied, characters);
        if (peer > 0)
            std::printf("  the block read alone %.3f s (%zu rows); peer: Calc's own copy of the "
                        "same cells %.3f s (%lld characters); command %.2fx, read %.2fx of it\n",
                        readSeconds, read.size(), peer, static_cast<long long>(characters),
                        import.seconds / peer, readSeconds / peer);
        else
            std::printf("  the block read alone %.3f s (%zu rows); Calc has no copy of it\n",
                        readSeconds, read.size());
        return import.seconds;
    };
    const int middle = rows / 2;
    const CellBlock threeRows{0, middle, 1, 3, kColumns};
    const double plain = importOf("Load List From Excel File, 3 x 6 block", threeRows, 3);
    importOf("Load List From Excel File, column A marked", CellBlock{0, 1, 1, 1048576, 1}, rows);
    // Rows out of sight: the same three rows over a row and a column hidden by hand, then
    // over a row a filter hides, beside the plain block's import.
    hideByHand(users.workbook(), middle, 1);
    const double hidden =
        importOf("Load List From Excel File, 3 x 6 block, hidden by hand", threeRows, 3);
    std::printf("  %.2fx the plain block's import\n", hidden / plain);
    filterOut(users.workbook(), rows, QStringLiteral("row %1").arg(middle + 2));
    const double filtered =
        importOf("Load List From Excel File, 3 x 6 block over a filtered row", threeRows, 2);
    std::printf("  %.2fx the plain block's import\n", filtered / plain);
    if (!prompts.errorReports().isEmpty())
        std::printf("error reports: %s\n", qPrintable(prompts.errorReports().join(u'|')));

    // The other peer: the whole workbook made text by an office of its own.
    const QString profile = QUrl::fromLocalFile(folder + QStringLiteral("/csv-peer")).toString();
    const double csv =
        timeShell(QStringLiteral("soffice --headless -env:UserInstallation=%1 --convert-to csv "
                                 "--outdir \"$(dirname \"$1\")/csv\" \"$1\"")
                      .arg(profile),
                  book);
    std::printf("  peer: soffice --headless --convert-to csv of the workbook %.3f s\n", csv);

    opened.reset();
    launcher.terminatePrivateOffice();
}
