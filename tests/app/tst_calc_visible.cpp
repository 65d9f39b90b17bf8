// The spreadsheet import as a person does it, in a real X server: the workbook opens in a
// visible Calc window, the person marks B2:C4 there with the keyboard while our prompt waits,
// and the rows arrive in the list.

#include "CalcApplication.h"
#include "CalcTestTools.h"
#include "LibreOfficeLauncher.h"
#include "ListMenu.h"
#include "WindowFixture.h"
#include "XvfbServer.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

extern char **environ;

using namespace css;

namespace {

QString xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// The whole screen, for a person to look at, where TARNWELL_SCREENSHOTS names a folder.
void screenshot(const QString &name)
{
    const QString folder = qEnvironmentVariable("TARNWELL_SCREENSHOTS");
    if (!folder.isEmpty())
        QProcess::execute(
            QStringLiteral("import"),
            {QStringLiteral("-window"), QStringLiteral("root"), folder + u'/' + name + u".png"});
}

} // namespace

class CalcVisibleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void markBlockInVisibleCalc();
    void cleanupTestCase();

private:
    QString makeWorkbook();

    QTemporaryDir m_folder;
    std::unique_ptr<LibreOfficeLauncher> m_launcher;
};

QString CalcVisibleTest::makeWorkbook()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksAdd();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    const uno::Reference<sheet::XSpreadsheet> sheet = firstSheet(model);
    const char *texts[3][2] = {{"red", "apple"}, {"green", ""}, {"red", "apple"}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            uno::Reference<text::XTextRange>(sheet->getCellByPosition(column + 1, row + 1),
                                             uno::UNO_QUERY_THROW)
                ->setString(rtl::OUString::createFromAscii(texts[row][column]));
        }
    }
    sheet->getCellByPosition(0, 0)->setValue(1); // something outside the block
    const QString path = m_folder.filePath(QStringLiteral("visible.ods"));
    return storeAndClose(model, path, "calc8");
}

void CalcVisibleTest::markBlockInVisibleCalc()
{
    LibreOfficeLauncher::Options options;
    options.profileFolder = m_folder.filePath(QStringLiteral("profile"));
    m_launcher = std::make_unique<LibreOfficeLauncher>(options);
    QVERIFY2(m_launcher->isInstalled(), "LibreOffice is not installed");
    const QString book = makeWorkbook();

    TestFolders folders;
    FakePrompts prompts;
    FakeFileDialogs dialogs;
    FakeShell shell;
    FakeRandom random;
    Form1 form(Services{prompts, dialogs, shell, random, *m_launcher, folders.program.path()});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.items().append(u"x");
    dialogs.answers.push_back({book});

    bool calcWasShown = false;
    prompts.onShow = [&](const FakePrompts::Shown &box) {
        if (box.text != u"Highlight a block of cells with mouse")
            return;
        // The person finds the workbook's window and marks B2:C4.
        QString window;
        for (int attempt = 0; attempt < 50 && window.isEmpty(); ++attempt) {
            window =
                xdotool({"search", "--onlyvisible", "--name", "visible.ods"}).section(u'\n', 0, 0);
            if (window.isEmpty())
                QTest::qWait(200);
        }
        calcWasShown = !window.isEmpty();
        if (!calcWasShown)
            return;
        xdotool({"windowfocus", "--sync", window});
        QTest::qWait(500);
        xdotool({"key", "--delay", "100", "ctrl+Home", "Down", "Right", "shift+Down", "shift+Down",
                 "shift+Right"});
        QTest::qWait(1500);
    };
    form.findChild<QPushButton *>(QStringLiteral("PushButton18"))->click();

    QVERIFY(calcWasShown);
    QCOMPARE(prompts.texts(), QStringList{"Highlight a block of cells with mouse"});
    QCOMPARE(itemTexts(form.items()), (QStringList{"x", "green", "red apple"}));
    const auto status = [&] { return form.findChild<QLabel *>(QStringLiteral("Label1"))->text(); };
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
    // The result is in front, the workbook open behind it.
    QTRY_COMPARE(QGuiApplication::focusWindow(), form.windowHandle());
    QTest::qWait(500); // the picture as the screen shows it, repainted
    screenshot(QStringLiteral("after-ok"));

    // The same cells copied in Calc and pasted are the same items: all three are duplicates.
    const QString calc =
        xdotool({"search", "--onlyvisible", "--name", "visible.ods"}).section(u'\n', 0, 0);
    QVERIFY(!calc.isEmpty());
    xdotool({"windowfocus", "--sync", calc});
    QTest::qWait(500);
    xdotool({"key", "ctrl+c"});
    QTest::qWait(1000);
    form.activateWindow();
    for (QAction *entry : form.listMenu().menu().actions()) {
        if (QString(entry->text()).remove(u'&') == u"Paste Items")
            entry->trigger();
    }
    QCOMPARE(itemTexts(form.items()), (QStringList{"x", "green", "red apple"}));
    QCOMPARE(status(), QStringLiteral("List loaded. 3 duplicates found, 3 duplicates removed"));

    // The workbook closed while the box waits: the box ends and says so.
    dialogs.answers.push_back({book});
    prompts.onShow = [&](const FakePrompts::Shown &box) {
        if (box.text != u"Highlight a block of cells with mouse")
            return;
        const QString window =
            xdotool({"search", "--onlyvisible", "--name", "visible.ods"}).section(u'\n', 0, 0);
        xdotool({"windowfocus", "--sync", window});
        QTest::qWait(300);
        xdotool({"key", "ctrl+w"});
        for (int attempt = 0;
             attempt < 50 &&
             !xdotool({"search", "--onlyvisible", "--name", "visible.ods"}).isEmpty();
             ++attempt)
            QTest::qWait(200);
    };
    form.findChild<QPushButton *>(QStringLiteral("PushButton18"))->click();
    QCOMPARE(prompts.texts().last(),
             QStringLiteral("The workbook was closed in Calc before a block was marked, so "
                            "nothing was read."));
    QCOMPARE(itemTexts(form.items()), (QStringList{"x", "green", "red apple"}));
}

void CalcVisibleTest::cleanupTestCase()
{
    if (m_launcher)
        m_launcher->terminatePrivateOffice();
}

// The X server has to run before the application connects to it.
int main(int argc, char *argv[])
{
    const XvfbServer xvfb;
    if (!xvfb.isRunning())
        return 1;
    QApplication app(argc, argv);
    CalcVisibleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_calc_visible.moc"
