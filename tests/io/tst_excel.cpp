// The spreadsheet commands at the level of the io/excel library, against a scripted
// spreadsheet application: a row's item, Calc's text, the text import's options, and the
// export without a window.

#include "CalcText.h"
#include "CsvOptions.h"
#include "ExcelContext.h"
#include "ExcelExport.h"
#include "ExcelImport.h"
#include "FakeExcel.h"
#include "ItemList.h"
#include "ListTestHost.h"
#include "Trap.h"

#include <QTest>

class ExcelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowItem_data();
    void rowItem();
    void parseCalcText_data();
    void parseCalcText();
    void sliceBeyondShortRecords();
    void csvFilterOptions_data();
    void csvFilterOptions();
    void excelInstalled();
    void exportUnderTheCallersTrap();
    void exportWithTheOfficeMissing();
};

void ExcelTest::rowItem_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("item");

    QTest::newRow("one cell: no leading blank") << QStringList{"red"} << "red";
    QTest::newRow("empty cell between") << QStringList{"a", "", "b"} << "a b";
    QTest::newRow("all empty") << QStringList{"", "", ""} << "";
    QTest::newRow("empty first") << QStringList{"", "x"} << "x";
    QTest::newRow("a cell of blanks is not empty") << QStringList{"a", "   ", "b"} << "a     b";
    QTest::newRow("displayed numbers") << QStringList{"3.50", "2024-03-15"} << "3.50 2024-03-15";
}

void ExcelTest::rowItem()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, item);
    QCOMPARE(::rowItem(cells), item);
}

void ExcelTest::parseCalcText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("records");

    QTest::newRow("plain") << "a\tb\nc\td\n" << QList<QStringList>{{"a", "b"}, {"c", "d"}};
    QTest::newRow("empty cells") << "\t\t\n\tx\t\n"
                                 << QList<QStringList>{{"", "", ""}, {"", "x", ""}};
    QTest::newRow("quoted tab and quotes") << "\"a\tb \"\"q\"\"\"\tz\n"
                                           << QList<QStringList>{{"a\tb \"q\"", "z"}};
    QTest::newRow("line break inside a cell") << "\"line1\nline2\"\tx\n"
                                              << QList<QStringList>{{"line1\nline2", "x"}};
    QTest::newRow("CR LF and no final end") << "a\r\nb" << QList<QStringList>{{"a"}, {"b"}};
    QTest::newRow("quote inside an unquoted field") << "5\" pipe\n"
                                                    << QList<QStringList>{{"5\" pipe"}};
}

void ExcelTest::parseCalcText()
{
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, records);
    const std::vector<QStringList> parsed = ::parseCalcText(text);
    QCOMPARE(QList<QStringList>(parsed.begin(), parsed.end()), records);
}

void ExcelTest::sliceBeyondShortRecords()
{
    const std::vector<QStringList> table = {{"", "", ""}, {"", "b2", "c2"}, {"", "b3"}};
    const std::vector<QStringList> block = sliceTable(table, 1, 1, 3, 2);
    QCOMPARE(QList<QStringList>(block.begin(), block.end()),
             (QList<QStringList>{{"b2", "c2"}, {"b3", ""}, {"", ""}}));
}

void ExcelTest::csvFilterOptions_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("options"); // separator, quote, encoding, first line

    QTest::newRow("commas") << QByteArray("a,b,c\n1,2,3\n") << "44,34,76,1,,0";
    QTest::newRow("semicolons, decimal commas")
        << QByteArray("Name;Preis\nApfel;1,50\nBirne;2,25\nKiwi;3\n") << "59,34,76,1,,0";
    QTest::newRow("tabs") << QByteArray("a\tb, c\n1\t2\n") << "9,34,76,1,,0";
    QTest::newRow("separators in quotes do not count")
        << QByteArray("\"a;b;c\",x\n\"d;e\nf\",y\n") << "44,34,76,1,,0";
    QTest::newRow("one column") << QByteArray("alpha\nbeta\n") << "44,34,76,1,,0";
    QTest::newRow("Windows-1252") << QByteArray("M\xfcller;1\nStra\xdf"
                                                "e;2\n")
                                  << "59,34,1,1,,0";
    QTest::newRow("UTF-8") << QByteArray("M\xc3\xbcller;1\n") << "59,34,76,1,,0";
    QTest::newRow("UTF-8 cut inside its last character")
        << QByteArray("M\xc3\xbcller;1\nM\xc3") << "59,34,76,1,,0";
    QTest::newRow("UTF-16 with its mark") << QByteArray::fromRawData("\xff\xfe"
                                                                     "a\0\t\0b\0\n\0",
                                                                     10)
                                          << "9,34,65535,1,,0";
}

void ExcelTest::csvFilterOptions()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, options);
    QCOMPARE(calcCsvFilterOptions(detectCsvFormat(head)), options);
}

void ExcelTest::excelInstalled()
{
    FakePrompts prompts;
    FakeExcel present;
    ExcelContext withExcel{present, prompts, QStringLiteral("Tarnwell"), [](int) {}};
    QVERIFY(ExcelInstalled(withExcel));
    QVERIFY(prompts.shown.empty());
    QCOMPARE(present.record.created, 0); // nothing started only to look

    FakeExcel missing;
    missing.script.installed = false;
    ExcelContext withoutExcel{missing, prompts, QStringLiteral("Tarnwell"), [](int) {}};
    QVERIFY(!ExcelInstalled(withoutExcel));
    QCOMPARE(prompts.texts(), QStringList{"Excel is not installed on this computer. You need to "
                                          "have it installed to use this software without error."});
    QCOMPARE(prompts.shown[0].title, QStringLiteral("Tarnwell"));
}

void ExcelTest::exportUnderTheCallersTrap()
{
    // The checked items down column A under the heading, each in its item's row; the status
    // line says what is written, and shows what it showed once the office has answered.
    ItemList list;
    list.addColumn(QStringLiteral("Items:"));
    fill(list, {"a", "=1+2", "c", "d"});
    list.setChecked(0, true);
    list.setChecked(2, true);
    RecordingHost host;
    host.status = QStringLiteral("before");
    FakeExcel excel;
    QStringList statusWhileWriting;
    excel.script.onWrite = [&] { statusWhileWriting.append(host.status); };
    QList<int> pointers;
    ExcelContext context{excel, host.prompts, QStringLiteral("Tarnwell"),
                         [&](int pointer) { pointers.append(pointer); }};
    Trap trap(host.errorReporter(), QStringLiteral("Form1.PushButton15_Click"));
    List::ListviewToExcel(list, host, context, trap, [&] { return host.status; });

    QCOMPARE(excel.record.workbooksAdded, 1);
    const std::map<std::pair<int, int>, QString> cells = {
        {{1, 1}, "Items:"}, {{2, 1}, "a"}, {{4, 1}, "c"}};
    QCOMPARE(excel.record.cells, cells);
    QCOMPARE(statusWhileWriting.last(), QStringLiteral("Writing 2 items to Calc..."));
    QCOMPARE(host.status, QStringLiteral("before"));
    QCOMPARE(pointers, (QList<int>{kPointerHourglass, kPointerDefault}));
    QVERIFY(host.progress.contains(90.0));
    QCOMPARE(host.progress.last(), 0.0);
    QVERIFY(excel.record.autofit);
    QVERIFY(excel.record.visible);
    QCOMPARE(excel.record.released, 1);
    QVERIFY(host.prompts.shown.empty());
}

void ExcelTest::exportWithTheOfficeMissing()
{
    ItemList list;
    fill(list, {"a"});
    list.setChecked(0, true);
    RecordingHost host;
    FakeExcel excel;
    ExcelContext context{excel, host.prompts, QStringLiteral("Tarnwell"), [](int) {}};
    const auto exportList = [&] {
        Trap trap(host.errorReporter(), QStringLiteral("Form1.PushButton15_Click"));
        List::ListviewToExcel(list, host, context, trap, [] { return QStringLiteral("before"); });
    };

    // Not installed: told twice, nothing started.
    excel.script.installed = false;
    exportList();
    QCOMPARE(host.prompts.texts(),
             (QStringList{"Excel is not installed on this computer. You need to have it installed "
                          "to use this software without error.",
                          "Excel is not installed on this computer. You need to have it installed "
                          "to use this feature."}));
    QCOMPARE(excel.record.created, 0);

    // Installed but not answering: reported at the caller's step, and the status line says why.
    excel.script.installed = true;
    excel.script.startFails = true;
    exportList();
    const QStringList reports = host.prompts.errorReports();
    QVERIFY(!reports.isEmpty());
    QVERIFY2(reports[0].contains(QStringLiteral("Form1.PushButton15_Click at line 112")),
             qPrintable(reports[0]));
    QCOMPARE(host.status, QStringLiteral("LibreOffice Calc is not installed"));
    QCOMPARE(excel.record.created, 0);
}

QTEST_GUILESS_MAIN(ExcelTest)
#include "tst_excel.moc"
