#include "CalcText.h"
#include "CsvOptions.h"
#include "ExcelContext.h"
#include "ExcelExport.h"
#include "ExcelImport.h"
#include "ExcelMessages.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "WindowFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

// The spreadsheet commands against a scripted spreadsheet application.
class ExcelTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void rowItem_data();
    void rowItem();
    void parseCalcText_data();
    void parseCalcText();
    void sliceBeyondShortRecords();
    void csvFilterOptions_data();
    void csvFilterOptions();

    void importBlock();
    void importCancelledFileDialog();
    void importWithoutMarkedBlock_data();
    void importWithoutMarkedBlock();
    void importOfAWorkbookThatCannotBeOpened();
    void importEmptyRowsAndDuplicates();
    void pastedCellsAreTheirImport_data();
    void pastedCellsAreTheirImport();

    void markedInAnotherDocument();
    void slowStartIsShownAndCanBeLeft();
    void escapeEndsTheWaitForAWorkbook();
    void statusSaysWhatToDoOnceTheOfficeAnswers();
    void windowClosedWhileTheBoxWaits();
    void excelInstalled();
    void exportWithoutExcel();
    void exportEmptyList();
    void exportWritesCheckedItems_data();
    void exportWritesCheckedItems();
    void exportWithNoItemChecked_data();
    void exportWithNoItemChecked();
    void officeClosedMidway_data();
    void officeClosedMidway();

private:
    FakeExcel &excel() { return m_window->excel; }
    void chooseWorkbook()
    {
        m_window->fileDialogs.answers.push_back({QStringLiteral("/data/book.xlsx")});
    }
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

void ExcelTest::importBlock()
{
    m_window->form->items().append(u"x");
    chooseWorkbook();
    excel().script.selection = {CellBlock{0, 2, 2, 3, 2}};
    excel().script.blockTexts = {{"red", ""}, {"green", "tea"}, {"red", ""}};
    QString statusWhileOpening;
    int pointerWhileOpening = 0;
    excel().script.onOpen = [&] {
        statusWhileOpening = status();
        pointerWhileOpening = m_window->form->mousePointer();
    };
    click("PushButton18");
    // A large workbook takes a while to open: the window says what it waits for.
    QCOMPARE(statusWhileOpening, QStringLiteral("Opening book.xlsx in Calc..."));
    QCOMPARE(pointerWhileOpening, 11);

    const auto &call = m_window->fileDialogs.calls.at(0);
    QCOMPARE(call.title, QStringLiteral("Add File"));
    QCOMPARE(call.filters, (QStringList{"Excel Files (*.xl*)",
                                        "Spreadsheets (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)",
                                        "All Files (*)"}));
    QVERIFY(!call.multiple);
    QCOMPARE(excel().record.opened, QStringList{"/data/book.xlsx"});
    QVERIFY(excel().record.visible);
    // Calc is put in front again each time the box asks the user to mark.
    QCOMPARE(excel().record.calls,
             (QStringList{"Open", "Visible", "Visible", "Selection", "Text"}));
    QCOMPARE(excel().record.textsRead.at(0), (CellBlock{0, 2, 2, 3, 2}));
    // The prompt waited while the user marked the block.
    QCOMPARE(m_window->prompts.texts(), QStringList{"Highlight a block of cells with mouse"});
    QCOMPARE(m_window->prompts.shown[0].style, Prompts::Style::OkCancel);
    QCOMPARE(items(), (QStringList{"x", "green tea", "red"}));
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void ExcelTest::markedInAnotherDocument()
{
    chooseWorkbook();
    excel().script.selection = {CellBlock{0, 1, 1, 1, 1}};
    excel().script.blockTexts = {{"mine"}};
    excel().script.markedElsewhere = 2; // twice in the wrong window, then in the right one
    click("PushButton18");

    const QString wrongWindow = QStringLiteral("You marked cells in \"other.ods\". Please mark the "
                                               "block in \"book.xlsx\", then press OK.");
    const QString prompt = QStringLiteral("Highlight a block of cells with mouse");
    QCOMPARE(m_window->prompts.texts(),
             (QStringList{prompt, wrongWindow, prompt, wrongWindow, prompt}));
    QCOMPARE(items(), QStringList{"mine"});
    QCOMPARE(excel().record.released, 1);
}

void ExcelTest::slowStartIsShownAndCanBeLeft()
{
    // While the office starts: the hourglass and a word in the status line.
    excel().script.slowStart = true;
    int pointer = -1;
    QString statusMeanwhile;
    excel().onStarting = [&] {
        pointer = m_window->form->mousePointer();
        statusMeanwhile = status();
    };
    m_window->form->items().append(u"x");
    click("PushButton15");
    QCOMPARE(pointer, 11);
    QCOMPARE(statusMeanwhile, QStringLiteral("Starting LibreOffice Calc..."));
    QVERIFY(!excel().record.stoppedWaiting);
    QCOMPARE(excel().record.released, 1);

    // Closing the window gives the wait up, and nothing more is reported.
    excel().onStarting = [&] { m_window->form->close(); };
    click("PushButton15");
    QVERIFY(excel().record.stoppedWaiting);
}

void ExcelTest::escapeEndsTheWaitForAWorkbook()
{
    // Escape ends the wait for the workbook: nothing is read, nothing reported, and the
    // status line says so.
    chooseWorkbook();
    excel().script.openUntilGivenUp = true;
    const auto pressDuringTheWait = [&](const char *button) {
        excel().script.onOpen = [this, button] {
            QTimer::singleShot(0, m_window->form.get(), [this, button] {
                if (button)
                    click(button);
                QTest::keyClick(m_window->form.get(), Qt::Key_Escape);
            });
        };
    };
    pressDuringTheWait(nullptr);
    click("PushButton18");
    QCOMPARE(excel().record.calls, QStringList{"Open"});
    QVERIFY(m_window->prompts.texts().isEmpty());
    QCOMPARE(status(), QStringLiteral("Opening book.xlsx was cancelled: nothing was imported."));
    QCOMPARE(m_window->form->mousePointer(), 0);
    QVERIFY(items().isEmpty());

    // The window takes clicks meanwhile: a command asked for runs once the wait is over.
    chooseWorkbook();
    pressDuringTheWait("PushButton22");
    click("PushButton18");
    QVERIFY(!items().isEmpty());
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

void ExcelTest::statusSaysWhatToDoOnceTheOfficeAnswers()
{
    // Import: once the office answers, the status line says what to do while the box waits.
    excel().script.slowStart = true;
    excel().script.selection = {CellBlock{0, 1, 1, 1, 1}};
    excel().script.blockTexts = {{QStringLiteral("x")}};
    chooseWorkbook();
    QString statusWhileMarking;
    m_window->prompts.onShow = [&](const FakePrompts::Shown &box) {
        if (box.text == QLatin1String(kMarkCellsPrompt))
            statusWhileMarking = status();
    };
    click("PushButton18");
    QCOMPARE(statusWhileMarking, QStringLiteral("Mark a block of cells in Calc, then press OK."));

    // Export: the status line is as before once the office answers, or says what failed.
    m_window->form->setStatus(QStringLiteral("before"));
    click("PushButton15");
    QCOMPARE(status(), QStringLiteral("before"));
    excel().script.startFails = true;
    click("PushButton15");
    QCOMPARE(status(), QStringLiteral("LibreOffice Calc is not installed"));
}

void ExcelTest::windowClosedWhileTheBoxWaits()
{
    // The box beside the window does not block it: closing the window ends the wait as
    // Cancel, and no further box appears.
    excel().script.selection = {CellBlock{0, 1, 1, 1, 1}};
    excel().script.blockTexts = {{QStringLiteral("x")}};
    chooseWorkbook();
    m_window->prompts.okCancel.push_back(Prompts::Answer::Cancel);
    m_window->prompts.onShow = [&](const FakePrompts::Shown &box) {
        if (box.text == QLatin1String(kMarkCellsPrompt))
            m_window->form->close();
    };
    click("PushButton18");
    QCOMPARE(m_window->prompts.texts(), QStringList{QString::fromLatin1(kMarkCellsPrompt)});
    QVERIFY(items().isEmpty());
}

void ExcelTest::importCancelledFileDialog()
{
    m_window->form->setStatus(QStringLiteral("before"));
    click("PushButton18");
    QCOMPARE(excel().record.created, 0);
    QCOMPARE(status(), QStringLiteral("before"));
    QVERIFY(m_window->prompts.shown.empty());
}

void ExcelTest::importWithoutMarkedBlock_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("told");
    const QString noRange = QStringLiteral("You did not select a range. Please try again.");
    QTest::newRow("Cancel in the prompt") << true << false << noRange;
    QTest::newRow("OK with nothing marked") << false << false << noRange;
    QTest::newRow("the workbook closed while the box waits")
        << false << true
        << "The workbook was closed in Calc before a block was marked, so nothing was read.";
}

void ExcelTest::importWithoutMarkedBlock()
{
    QFETCH(bool, cancel);
    QFETCH(bool, closed);
    QFETCH(QString, told);
    fill(m_window->form->items(), {"a", "a"});
    chooseWorkbook();
    if (cancel)
        m_window->prompts.okCancel.push_back(Prompts::Answer::Cancel);
    excel().script.closedWhileMarking = closed;
    click("PushButton18");
    QCOMPARE(m_window->prompts.texts(),
             (QStringList{"Highlight a block of cells with mouse", told}));
    QCOMPARE(excel().record.textsRead.size(), size_t(0));
    // Duplicate removal still runs over the old list; the workbook stays open for the user.
    QCOMPARE(items(), QStringList{"a"});
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
    QVERIFY(excel().record.visible);
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void ExcelTest::importOfAWorkbookThatCannotBeOpened()
{
    m_window->form->items().append(u"kept");
    chooseWorkbook();
    excel().script.openFails = true;
    QStringList statusAtReports; // what the status line says while each report shows
    m_window->prompts.onShow = [&](const FakePrompts::Shown &box) {
        if (box.style == Prompts::Style::ErrorReport)
            statusAtReports.append(status());
    };
    click("PushButton18");
    QCOMPARE(statusAtReports.value(0), QStringLiteral("cannot open /data/book.xlsx"));
    const QStringList reports = m_window->prompts.errorReports();
    QCOMPARE(reports.size(), 2);
    QVERIFY(reports[0].startsWith(QStringLiteral("cannot open /data/book.xlsx\r\n")));
    QVERIFY(reports[0].contains(QStringLiteral("List.ExcelToListview at line 100")));
    QVERIFY(reports[1].contains(QStringLiteral("List.ExcelToListview at line 108")));
    // No window was shown, no prompt to mark cells; then the no-range message.
    QVERIFY(!excel().record.visible);
    QCOMPARE(m_window->prompts.texts().last(),
             QStringLiteral("You did not select a range. Please try again."));
    QVERIFY(!m_window->prompts.texts().contains(
        QStringLiteral("Highlight a block of cells with mouse")));
    QCOMPARE(items(), QStringList{"kept"});
    QCOMPARE(status(), QStringLiteral("List loaded. No duplicates found."));
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void ExcelTest::importEmptyRowsAndDuplicates()
{
    chooseWorkbook();
    excel().script.selection = {CellBlock{0, 1, 1, 3, 3}};
    excel().script.blockTexts = {{"", "", ""}, {"a", "", "b"}, {"", "", ""}};
    click("PushButton18");
    QCOMPARE(items(), (QStringList{"a b", ""}));
}

void ExcelTest::pastedCellsAreTheirImport_data()
{
    QTest::addColumn<QList<QStringList>>("cells");
    // Calc quotes a typed cell that holds a tab or a line break in its cells format, and
    // writes a formula's result as it is, line breaks and all.
    QTest::addColumn<bool>("formulas");

    QTest::newRow("quotes anywhere")
        << QList<QStringList>{{"\"a", "r1"},        {"b", "r2"},         {"c\"d", "r3"},
                              {"e", "r4"},          {"\"x\" y", "r5"},   {"5\" screen", "r6"},
                              {"say \"hi\"", "r7"}, {"\"whole\"", "r8"}, {"f", "r9"},
                              {"g", "r10"}}
        << false;
    QTest::newRow("tabs and line breaks in cells")
        << QList<QStringList>{{"two\nlines", "r1"},      {"t\t\"q\"", ""},
                              {"\"q\"\nbreak", "end\n"}, {"", ""},
                              {"a\n\nb", "\"x\ty\""},    {"3.50", "\""}}
        << false;
    QTest::newRow("a quote each side of a tab")
        << QList<QStringList>{{"\"a", "b\""}, {"a\tb", ""}, {"\"a", "b\"\t"}} << false;
    QTest::newRow("line breaks in formula results")
        << QList<QStringList>{{"a\n\"b", "x"}, {"\"c\nd\"", "\"\n"}, {"e", ""}} << true;
}

void ExcelTest::pastedCellsAreTheirImport()
{
    QFETCH(QList<QStringList>, cells);
    QFETCH(bool, formulas);
    chooseWorkbook();
    const int columns = int(cells.front().size());
    excel().script.selection = {CellBlock{0, 1, 1, int(cells.size()), columns}};
    excel().script.blockTexts.assign(cells.begin(), cells.end());
    click("PushButton18");
    const QStringList imported = items();
    QCOMPARE(imported.size(), cells.size());

    // The same block as Calc puts it on the clipboard.
    QString plain;
    QString calcCells;
    for (const QStringList &row : cells) {
        for (int c = 0; c < columns; ++c) {
            const QString &cell = row[c];
            const QChar end = c == columns - 1 ? u'\n' : u'\t';
            plain += QString(cell).replace(u'\n', u' ').replace(u'\t', u' ') + end;
            QString written = cell;
            if (!formulas && (cell.contains(u'\n') || cell.contains(u'\t')))
                written = u'"' + written.replace(u'"', QStringLiteral("\"\"")) + u'"';
            calcCells += written + end;
        }
    }
    auto copied = std::make_unique<QMimeData>();
    copied->setText(plain);
    copied->setData(QStringLiteral("application/x-libreoffice-tsvc"), calcCells.toUtf8());
    QGuiApplication::clipboard()->setMimeData(copied.release()); // the clipboard owns it
    form().items().clear();
    for (QAction *entry : form().listMenu().menu().actions()) {
        if (QString(entry->text()).remove(u'&') == u"Paste Items")
            entry->trigger();
    }
    QCOMPARE(items(), imported);
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

void ExcelTest::exportWithoutExcel()
{
    m_window->form->items().append(u"a");
    excel().script.installed = false;
    click("PushButton15");
    QCOMPARE(m_window->prompts.texts(),
             (QStringList{"Excel is not installed on this computer. You need to have it installed "
                          "to use this software without error.",
                          "Excel is not installed on this computer. You need to have it installed "
                          "to use this feature."}));
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void ExcelTest::exportEmptyList()
{
    click("PushButton15");
    QCOMPARE(excel().record.created, 0);
    QVERIFY(m_window->prompts.shown.empty());
}

void ExcelTest::exportWritesCheckedItems_data()
{
    QTest::addColumn<QList<bool>>("checks");
    QTest::addColumn<QStringList>("columnA"); // A1, A2, ...; "" for an empty cell

    QTest::newRow("all checked") << QList<bool>{true, true, true}
                                 << QStringList{"Items:", "a", "=1+2", "c"};
    QTest::newRow("only the second")
        << QList<bool>{false, true, false} << QStringList{"Items:", "", "=1+2", ""};
}

void ExcelTest::exportWritesCheckedItems()
{
    QFETCH(QList<bool>, checks);
    QFETCH(QStringList, columnA);

    ItemList &list = m_window->form->items();
    fill(list, {"a", "=1+2", "c"});
    for (int i = 0; i < 3; ++i)
        list.setChecked(i, checks[i]);
    m_window->form->setStatus(QStringLiteral("before"));
    QStringList statusWhileWriting;
    excel().script.onWrite = [&] { statusWhileWriting.append(status()); };
    click("PushButton15");
    const auto checked = checks.count(true);
    QCOMPARE(statusWhileWriting.last(),
             checked == 1 ? QStringLiteral("Writing 1 item to Calc...")
                          : QStringLiteral("Writing %1 items to Calc...").arg(checked));
    QCOMPARE(status(), QStringLiteral("before"));

    QCOMPARE(excel().record.created, 1);
    QCOMPARE(excel().record.workbooksAdded, 1);
    for (int row = 1; row <= 4; ++row) {
        const auto cell = excel().record.cells.find({row, 1});
        const QString written = cell == excel().record.cells.end() ? QString() : cell->second;
        QCOMPARE(written, columnA[row - 1]);
    }
    QCOMPARE(excel().record.cells.size(),
             size_t(std::count_if(columnA.begin(), columnA.end(),
                                  [](const QString &text) { return !text.isEmpty(); })));
    QVERIFY(excel().record.autofit);
    QVERIFY(excel().record.visible);
    QCOMPARE(excel().record.calls.last(), QStringLiteral("Visible")); // shown once filled
    QVERIFY(m_window->prompts.shown.empty());
    QCOMPARE(m_window->form->mousePointer(), 0);
    QCOMPARE(itemTexts(list), (QStringList{"a", "=1+2", "c"}));
}

void ExcelTest::exportWithNoItemChecked_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No: nothing starts") << false;
    QTest::newRow("Yes: a workbook of the heading alone") << true;
}

void ExcelTest::exportWithNoItemChecked()
{
    QFETCH(bool, yes);
    fill(m_window->form->items(), {"a", "b"});
    m_window->form->setStatus(QStringLiteral("before"));
    m_window->prompts.answers.push_back(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
    click("PushButton15");
    QCOMPARE(m_window->prompts.texts(),
             QStringList{"No items are checked. Open a workbook without items?"});
    QCOMPARE(m_window->prompts.shown[0].style, Prompts::Style::YesNoDefaultNo);
    QCOMPARE(excel().record.created, yes ? 1 : 0);
    QCOMPARE(excel().record.cells.size(), size_t(yes ? 1 : 0)); // "Items:" in A1
    QCOMPARE(excel().record.visible, yes);
    QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void ExcelTest::officeClosedMidway_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("message");
    QTest::newRow("while writing")
        << false << "LibreOffice Calc closed before the items were written.";
    QTest::newRow("while reading") << true << "LibreOffice Calc closed before the cells were read.";
}

void ExcelTest::officeClosedMidway()
{
    QFETCH(bool, reading);
    QFETCH(QString, message);
    ItemList &list = m_window->form->items();
    fill(list, {"a", "b"});
    list.setChecked(1, true);
    m_window->form->setStatus(QStringLiteral("before"));
    if (reading) {
        chooseWorkbook();
        excel().script.selection = {CellBlock{0, 1, 1, 2, 1}};
        excel().script.blockTexts = {{"x"}, {"y"}};
        excel().script.goneWhileReading = true;
        click("PushButton18");
    } else {
        excel().script.goneAfterWrites = 1; // the heading is written, the items are not
        click("PushButton15");
    }
    // Said once, in words the user knows; the list as it was, nothing left of the command.
    const QStringList texts = m_window->prompts.texts();
    QCOMPARE(texts.last(), message);
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    QCOMPARE(itemTexts(list), (QStringList{"a", "b"}));
    if (!reading)
        QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(m_window->form->mousePointer(), 0);
    QCOMPARE(excel().record.released, 1);
}

QTEST_MAIN(ExcelTest)
#include "tst_excel.moc"
