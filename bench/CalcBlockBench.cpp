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

#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/table/XCellRange.hpp>

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
    const datatransfer::DataFlavor text(rtl::OUString::createFromAscii("text/plain;charset=utf-16"),
                                        rtl::OUString::createFromAscii("text"),
                                        cppu::UnoType<rtl::OUString>::get());
    rtl::OUString copied;
    copy->getTransferData(text) >>= copied;
    characters = copied.getLength();
    return double(clock.nsecsElapsed()) / 1e9;
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
        std::printf("  the block read alone %.3f s (%zu rows); peer: Calc's own copy of the same "
                    "cells %.3f s (%lld characters); command %.2fx, read %.2fx of it\n",
                    readSeconds, read.size(), peer, static_cast<long long>(characters),
                    import.seconds / peer, readSeconds / peer);
        return import.seconds;
    };
    const int middle = rows / 2;
    importOf("Load List From Excel File, 3 x 6 block", CellBlock{0, middle, 1, 3, kColumns}, 3);
    importOf("Load List From Excel File, column A marked", CellBlock{0, 1, 1, 1048576, 1}, rows);
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
