#include "CalcBench.h"

#include "BenchTools.h"
#include "CalcApplication.h"
#include "CalcTestTools.h"
#include "Fakes.h"
#include "GeneratedLists.h"
#include "ItemList.h"
#include "LibreOfficeLauncher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include <cstdio>

namespace {

// A workbook of `rows` rows: a text in column A, numbers in the other columns.
QString writeWorkbook(LibreOfficeLauncher &launcher, const QString &path, int rows, int columns = 2)
{
    using namespace css;
    std::unique_ptr<ExcelApplication> app = launcher.CreateObject();
    app->WorkbooksAdd();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    uno::Reference<table::XCellRange> sheet(firstSheet(model), uno::UNO_QUERY_THROW);
    uno::Sequence<uno::Sequence<uno::Any>> data(rows);
    for (int row = 0; row < rows; ++row) {
        uno::Sequence<uno::Any> cells(columns);
        cells.getArray()[0] <<= toOUString(QString::fromLatin1(itemText(quint32(row % 7000))));
        for (int column = 1; column < columns; ++column)
            cells.getArray()[column] <<= double(row) * 1.25 + column;
        data.getArray()[row] = cells;
    }
    uno::Reference<sheet::XCellRangeData>(
        sheet->getCellRangeByPosition(0, 0, columns - 1, rows - 1), uno::UNO_QUERY_THROW)
        ->setDataArray(data);
    return storeAndClose(model, path, "calc8");
}

// The real window with a real Calc behind it (a private profile) and fakes for the rest.
struct CalcWindow
{
    CalcWindow(const QString &folder, const QString &profile, bool headless)
        : launcher(options(folder + u'/' + profile, headless)),
          form(Services{prompts, dialogs, shell, random, launcher, folder})
    {
        form.show();
    }
    static LibreOfficeLauncher::Options options(const QString &profile, bool headless)
    {
        LibreOfficeLauncher::Options result;
        result.profileFolder = profile;
        result.headless = headless;
        return result;
    }

    LibreOfficeLauncher launcher;
    FakePrompts prompts;
    FakeFileDialogs dialogs;
    FakeShell shell;
    FakeRandom random;
    Form1 form;
};

} // namespace

// Spreadsheet import and export through the window's commands, against a headless Calc with
// a private profile.
void benchCalc(const QString &folder)
{
    CalcWindow calc(folder, QStringLiteral("calc-profile"), true);
    LibreOfficeLauncher &launcher = calc.launcher;
    FakePrompts &prompts = calc.prompts;
    FakeFileDialogs &dialogs = calc.dialogs;
    Form1 &form = calc.form;

    QElapsedTimer started;
    started.start();
    const QString book = writeWorkbook(launcher, folder + QStringLiteral("/block.ods"), 10000);
    std::printf("start headless Calc and write a 10,000-row workbook: %.3f s\n",
                double(started.nsecsElapsed()) / 1e9);

    // The user has the workbook open and has marked A1:B10000 in it.
    std::unique_ptr<ExcelApplication> users = launcher.CreateObject();
    users->WorkbooksOpen(book);
    static_cast<CalcApplication &>(*users).select(CellBlock{0, 1, 1, 10000, 2});
    dialogs.answers.push_back({book});
    Timing import =
        timePass([&] { form.findChild<QPushButton *>(QStringLiteral("PushButton18"))->click(); });
    print("Load List From Excel File, 10,000 x 2 block", 10000, import,
          QStringLiteral("%1 items").arg(form.items().count()));

    form.items().clear();
    ItemList &items = form.items();
    std::vector<QString> texts;
    for (int i = 0; i < 100000; ++i)
        texts.push_back(QString::fromLatin1(itemText(quint32(i))));
    items.appendAll(std::vector<QStringView>(texts.begin(), texts.end()));
    for (qsizetype i = 0; i < items.count(); ++i)
        items.setChecked(i, true);
    Timing save =
        timePass([&] { form.findChild<QPushButton *>(QStringLiteral("PushButton15"))->click(); });
    print("Save List To Excel File, 100,000 items", 100000, save);
    if (!prompts.errorReports().isEmpty())
        std::printf("error reports: %s\n", qPrintable(prompts.errorReports().join(u'|')));
    launcher.terminatePrivateOffice();
}

// Both spreadsheet commands where users are: a visible Calc (in an Xvfb server of its own),
// cold (the office has to start first) and warm (it runs already).
void benchVisibleCalc(const QString &folder)
{
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!xvfb.waitForStarted(10000) || !xvfb.waitForReadyRead(10000)) {
        std::printf("visible Calc: no Xvfb server\n");
        return;
    }
    const QByteArray display = ":" + xvfb.readLine().trimmed();
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", display); // for the office this starts; the window stays offscreen

    CalcWindow calc(folder, QStringLiteral("visible-profile"), false);
    LibreOfficeLauncher &launcher = calc.launcher;
    FakePrompts &prompts = calc.prompts;
    FakeFileDialogs &dialogs = calc.dialogs;
    Form1 &form = calc.form;
    auto *save = form.findChild<QPushButton *>(QStringLiteral("PushButton15"));

    const auto fill = [&](int count) {
        form.items().clear();
        std::vector<QString> texts;
        for (int i = 0; i < count; ++i)
            texts.push_back(QString::fromLatin1(itemText(quint32(i))));
        form.items().appendAll(std::vector<QStringView>(texts.begin(), texts.end()));
        form.items().replaceChecks(std::vector<quint8>(size_t(count), 1));
    };
    fill(100000);
    const Timing cold = timePass([&] { save->click(); });
    print("visible Calc, cold: Save List To Excel File", 100000, cold);
    const Timing warm = timePass([&] { save->click(); });
    print("visible Calc, warm: Save List To Excel File", 100000, warm);
    // The peer: the same 100,000 items made a workbook by a headless office of its own,
    // started for the conversion as the export may start one.
    {
        const QString items = folder + QStringLiteral("/export-peer.txt");
        QFile file(items);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(items));
        file.write("Items:\n");
        for (int i = 0; i < 100000; ++i)
            file.write(itemText(quint32(i)) + '\n');
        file.close();
        const QString profile =
            QUrl::fromLocalFile(folder + QStringLiteral("/peer-profile")).toString();
        const double peer = timeShell(
            QStringLiteral("soffice --headless -env:UserInstallation=%1 --infilter=CSV:9,34,76 "
                           "--convert-to ods --outdir \"$(dirname \"$1\")\" \"$1\"")
                .arg(profile),
            items);
        std::printf("  peer: soffice --headless --convert-to ods of the same items %.3f s; "
                    "cold %.2fx, warm %.2fx of it\n",
                    peer, cold.seconds / peer, warm.seconds / peer);
    }
    fill(1000000);
    print("visible Calc, warm: Save List To Excel File", 1000000, timePass([&] { save->click(); }));

    // The user has a workbook open and a 100,000 x 5 block marked in it.
    const QString book = writeWorkbook(launcher, folder + QStringLiteral("/wide.ods"), 100000, 5);
    std::unique_ptr<ExcelApplication> users = launcher.CreateObject();
    users->WorkbooksOpen(book);
    users->setVisible(true);
    static_cast<CalcApplication &>(*users).select(CellBlock{0, 1, 1, 100000, 5});
    form.items().clear();
    dialogs.answers.push_back({book});
    const Timing import =
        timePass([&] { form.findChild<QPushButton *>(QStringLiteral("PushButton18"))->click(); });
    print("visible Calc, warm: Load List From Excel File, 100,000 x 5", 100000, import,
          QStringLiteral("%1 items").arg(form.items().count()));
    if (!prompts.errorReports().isEmpty())
        std::printf("error reports: %s\n", qPrintable(prompts.errorReports().join(u'|')));

    users.reset();
    launcher.terminatePrivateOffice();
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    if (savedDisplay.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", savedDisplay);
}
