#include "ExcelApplication.h"
#include "ExcelMessages.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "WindowFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

// Load List From Excel File as the window runs it, against a scripted spreadsheet application:
// the dialog, the prompt beside Calc, the waits the user may end, and pasted cells.
class ExcelImportTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void importBlock();
    void importCancelledFileDialog();
    void importWithoutMarkedBlock_data();
    void importWithoutMarkedBlock();
    void importOfAWorkbookThatCannotBeOpened();
    void passwordCancelledOrWrong_data();
    void passwordCancelledOrWrong();
    void importEmptyRowsAndDuplicates();
    void pastedCellsAreTheirImport_data();
    void pastedCellsAreTheirImport();
    void markedInAnotherDocument();
    void escapeEndsTheWaitForAWorkbook();
    void windowClosedWhileTheBoxWaits();

private:
    FakeExcel &excel() { return m_window->excel; }
    void chooseWorkbook()
    {
        m_window->fileDialogs.answers.push_back({QStringLiteral("/data/book.xlsx")});
    }
};

void ExcelImportTest::importBlock()
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

void ExcelImportTest::importCancelledFileDialog()
{
    m_window->form->setStatus(QStringLiteral("before"));
    click("PushButton18");
    QCOMPARE(excel().record.created, 0);
    QCOMPARE(status(), QStringLiteral("before"));
    QVERIFY(m_window->prompts.shown.empty());
}

void ExcelImportTest::importWithoutMarkedBlock_data()
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

void ExcelImportTest::importWithoutMarkedBlock()
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

void ExcelImportTest::importOfAWorkbookThatCannotBeOpened()
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

void ExcelImportTest::passwordCancelledOrWrong_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("Cancel in the password box") << kSpreadsheetPasswordNotGiven << QStringList();
    QTest::newRow("a wrong password")
        << kSpreadsheetWrongPassword << QStringList{"cannot open /data/book.xlsx"};
}

void ExcelImportTest::passwordCancelledOrWrong()
{
    // Cancel ends the import without a word, a wrong password is said once; nothing is
    // imported, the status line is cleared, and the office is let go.
    QFETCH(int, failure);
    QFETCH(QStringList, told);
    m_window->form->items().append(u"kept");
    chooseWorkbook();
    excel().script.openFails = true;
    excel().script.openFailureNumber = failure;
    click("PushButton18");
    QCOMPARE(m_window->prompts.texts(), told);
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    QCOMPARE(items(), QStringList{"kept"});
    QCOMPARE(status(), QString());
    QCOMPARE(m_window->form->mousePointer(), 0);
    QCOMPARE(excel().record.released, 1);
}

void ExcelImportTest::importEmptyRowsAndDuplicates()
{
    chooseWorkbook();
    excel().script.selection = {CellBlock{0, 1, 1, 3, 3}};
    excel().script.blockTexts = {{"", "", ""}, {"a", "", "b"}, {"", "", ""}};
    click("PushButton18");
    QCOMPARE(items(), (QStringList{"a b", ""}));
}

void ExcelImportTest::pastedCellsAreTheirImport_data()
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

void ExcelImportTest::pastedCellsAreTheirImport()
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

void ExcelImportTest::markedInAnotherDocument()
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

void ExcelImportTest::escapeEndsTheWaitForAWorkbook()
{
    // Escape ends the wait for the workbook: nothing is read, nothing reported, and the
    // status line says so.
    chooseWorkbook();
    excel().script.openUntilGivenUp = true;
    QString toolTipMeanwhile; // the status line's, while the wait lasts
    const auto pressDuringTheWait = [&](const char *button) {
        excel().script.onOpen = [this, button, &toolTipMeanwhile] {
            QTimer::singleShot(0, m_window->form.get(), [this, button, &toolTipMeanwhile] {
                toolTipMeanwhile = m_window->control<QLabel>("Label1")->toolTip();
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
    // Meanwhile the status line's tooltip names the key; it goes with the wait.
    QCOMPARE(toolTipMeanwhile,
             QStringLiteral("Opening book.xlsx in Calc...\nPress Esc to stop waiting for Calc; "
                            "nothing will be imported."));
    QCOMPARE(m_window->control<QLabel>("Label1")->toolTip(), status());
    QCOMPARE(status(), QStringLiteral("Opening book.xlsx was cancelled: nothing was imported."));
    QCOMPARE(m_window->form->mousePointer(), 0);
    QVERIFY(items().isEmpty());
    // An office started for the workbook alone is let go.
    QCOMPARE(excel().record.released, 1);

    // The window takes clicks meanwhile: a command asked for runs once the wait is over.
    chooseWorkbook();
    pressDuringTheWait("PushButton22");
    click("PushButton18");
    QVERIFY(!items().isEmpty());
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

void ExcelImportTest::windowClosedWhileTheBoxWaits()
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

QTEST_MAIN(ExcelImportTest)
#include "tst_excelimport.moc"
