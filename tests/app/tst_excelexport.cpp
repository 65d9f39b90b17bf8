#include "ExcelMessages.h"
#include "ItemList.h"
#include "WindowFixture.h"

#include <QPushButton>

// Save List To Excel File as the window runs it, against a scripted spreadsheet application;
// and the office's start and its going away, as both spreadsheet commands meet them.
class ExcelExportTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void slowStartIsShownAndCanBeLeft();
    void statusSaysWhatToDoOnceTheOfficeAnswers();
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

void ExcelExportTest::slowStartIsShownAndCanBeLeft()
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

void ExcelExportTest::statusSaysWhatToDoOnceTheOfficeAnswers()
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

void ExcelExportTest::exportWithoutExcel()
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

void ExcelExportTest::exportEmptyList()
{
    click("PushButton15");
    QCOMPARE(excel().record.created, 0);
    QVERIFY(m_window->prompts.shown.empty());
}

void ExcelExportTest::exportWritesCheckedItems_data()
{
    QTest::addColumn<QList<bool>>("checks");
    QTest::addColumn<QStringList>("columnA"); // A1, A2, ...; "" for an empty cell

    QTest::newRow("all checked") << QList<bool>{true, true, true}
                                 << QStringList{"Items:", "a", "=1+2", "c"};
    QTest::newRow("only the second")
        << QList<bool>{false, true, false} << QStringList{"Items:", "", "=1+2", ""};
}

void ExcelExportTest::exportWritesCheckedItems()
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

void ExcelExportTest::exportWithNoItemChecked_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No: nothing starts") << false;
    QTest::newRow("Yes: a workbook of the heading alone") << true;
}

void ExcelExportTest::exportWithNoItemChecked()
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

void ExcelExportTest::officeClosedMidway_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("message");
    QTest::newRow("while writing")
        << false << "LibreOffice Calc closed before the items were written.";
    QTest::newRow("while reading") << true << "LibreOffice Calc closed before the cells were read.";
}

void ExcelExportTest::officeClosedMidway()
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

QTEST_MAIN(ExcelExportTest)
#include "tst_excelexport.moc"
