// The Calc application object against a real, headless LibreOffice with a private profile:
// the blocks marked and their displayed texts, opening workbooks and text tables, writing.

#include "CalcApplication.h"
#include "CalcCells.h"
#include "CalcTestTools.h"
#include "ExcelContext.h"
#include "ExcelImport.h"
#include "Failure.h"
#include "ItemList.h"
#include "LibreOfficeLauncher.h"
#include "ListTestHost.h"
#include "PasswordBoxAnswers.h"
#include "UnoCalls.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSheetFilterDescriptor.hpp>
#include <com/sun/star/sheet/XSheetFilterable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sys/types.h>
#include <thread>

Q_DECLARE_METATYPE(CellBlock)

using namespace css;
using namespace CalcCells;

class CalcTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void readsDisplayedTexts_data();
    void readsDisplayedTexts();
    void wholeColumnIsClippedToUsedArea();
    void wholeColumnImportsTheUsedRowsOnly();
    void severalMarkedBlocksAreTakenTopToBottom();
    void blockOutsideUsedAreaGivesItsEmptyRows();
    void fileThatIsNoWorkbook();
    void csvOpensWithItsSeparatorAndEncoding();
    void workbookWithAPasswordNotGiven();
    void passwordAnsweredInCalcsBox_data();
    void passwordAnsweredInCalcsBox();
    void exportKeepsTextsAsTexts();
    void blockOverHiddenRowsIsOneBlockAndFilteredRowsAreLeftOut();
    void handMarkedBlockKeepsItsRows_data();
    void handMarkedBlockKeepsItsRows();
    void fittedColumnHasAMaximumWidth();
    void workbookLoadedAnewIsStillRead();
    void markingInAnotherDocumentIsNoticed();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<LibreOfficeLauncher> m_launcher;
    QString m_xlsx;
    QString m_ods;
};

void CalcTest::initTestCase()
{
    m_launcher = privateHeadlessOffice(m_folder.filePath(QStringLiteral("profile")));
    QVERIFY2(m_launcher->isInstalled(),
             "LibreOffice is not installed (scripts/install-deps installs it)");
    m_xlsx = makeSampleWorkbook(*m_launcher, "Calc Office Open XML",
                                m_folder.filePath(QStringLiteral("book.xlsx")));
    m_ods = makeSampleWorkbook(*m_launcher, "calc8", m_folder.filePath(QStringLiteral("book.ods")));
}

void CalcTest::cleanupTestCase()
{
    if (m_launcher)
        m_launcher->terminatePrivateOffice();
}

void CalcTest::readsDisplayedTexts_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("xlsx") << "xlsx";
    QTest::newRow("ods") << "ods";
}

void CalcTest::readsDisplayedTexts()
{
    QFETCH(QString, which);
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(which == u"xlsx" ? m_xlsx : m_ods);
    auto &calc = static_cast<CalcApplication &>(*app);
    calc.select(CellBlock{0, 2, 2, 3, 2}); // B2:C4
    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QCOMPARE(*block, (CellBlock{0, 2, 2, 3, 2}));
    const std::vector<QStringList> rows = app->Text(*block);
    QCOMPARE(QList<QStringList>(rows.begin(), rows.end()),
             (QList<QStringList>{{"3.50", "2024-03-15"}, {"3", "   "}, {"pear", ""}}));
    // Reading leaves the workbook as it was.
    QVERIFY(
        !uno::Reference<util::XModifiable>(calc.workbook(), uno::UNO_QUERY_THROW)->isModified());
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::wholeColumnIsClippedToUsedArea()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_ods);
    auto &calc = static_cast<CalcApplication &>(*app);
    calc.select(CellBlock{0, 1, 2, 1048576, 1}); // all of column B
    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QCOMPARE(block->rowCount, 1048576);
    const std::vector<QStringList> rows = app->Text(*block);
    // Rows 2 to 6 hold something; the empty row 5 inside stays.
    QCOMPARE(QList<QStringList>(rows.begin(), rows.end()),
             (QList<QStringList>{{"3.50"}, {"3"}, {"pear"}, {""}, {"plum"}}));
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::wholeColumnImportsTheUsedRowsOnly()
{
    // The user has marked all of column B; the import reads the 5 rows in use, and leaves the
    // marks as they were.
    std::unique_ptr<ExcelApplication> users = m_launcher->CreateObject();
    users->WorkbooksOpen(m_ods);
    static_cast<CalcApplication &>(*users).select(CellBlock{0, 1, 2, 1048576, 1});
    ItemList items;
    RecordingHost host;
    ExcelContext context{*m_launcher, host.prompts, QStringLiteral("Tarnwell"), [](int) {}};
    List::ExcelToListview(items, m_ods, host, context);
    QCOMPARE(itemTexts(items), (QStringList{"3.50", "3", "pear", "", "plum"}));
    QVERIFY(host.prompts.errorReports().isEmpty());
    QCOMPARE(users->MarkedBlocks(), (std::vector<CellBlock>{{0, 1, 2, 1048576, 1}}));
    uno::Reference<util::XCloseable>(static_cast<CalcApplication &>(*users).workbook(),
                                     uno::UNO_QUERY_THROW)
        ->close(true);
}

void CalcTest::severalMarkedBlocksAreTakenTopToBottom()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_ods);
    auto &calc = static_cast<CalcApplication &>(*app);
    // Ctrl-marking: B4, then B2:C2, then B6 (Calc lists them in an order of its own).
    uno::Reference<lang::XMultiServiceFactory> factory(calc.workbook(), uno::UNO_QUERY_THROW);
    uno::Reference<sheet::XSheetCellRangeContainer> ranges(
        factory->createInstance(
            rtl::OUString::createFromAscii("com.sun.star.sheet.SheetCellRanges")),
        uno::UNO_QUERY_THROW);
    ranges->addRangeAddress(table::CellRangeAddress(0, 1, 3, 1, 3), false);
    ranges->addRangeAddress(table::CellRangeAddress(0, 1, 1, 2, 1), false);
    ranges->addRangeAddress(table::CellRangeAddress(0, 1, 5, 1, 5), false);
    uno::Reference<view::XSelectionSupplier>(calc.workbook()->getCurrentController(),
                                             uno::UNO_QUERY_THROW)
        ->select(uno::Any(ranges));
    const std::vector<CellBlock> blocks = app->MarkedBlocks();
    QCOMPARE(QList<CellBlock>(blocks.begin(), blocks.end()),
             (QList<CellBlock>{{0, 2, 2, 1, 2}, {0, 4, 2, 1, 1}, {0, 6, 2, 1, 1}}));
    QStringList items;
    for (const CellBlock &block : blocks) {
        for (const QStringList &row : app->Text(block))
            items.append(rowItem(row));
    }
    QCOMPARE(items, (QStringList{"3.50 2024-03-15", "pear", "plum"}));
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::blockOutsideUsedAreaGivesItsEmptyRows()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_xlsx);
    auto &calc = static_cast<CalcApplication &>(*app);
    // Far outside the used area, marked by hand: its rows, all empty, as for one empty cell.
    calc.select(CellBlock{0, 100, 20, 3, 3});
    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    const std::vector<QStringList> rows = app->Text(*block);
    QCOMPARE(rows.size(), size_t(3));
    QVERIFY(std::all_of(rows.begin(), rows.end(),
                        [](const QStringList &row) { return rowItem(row).isEmpty(); }));
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::fileThatIsNoWorkbook()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    QVERIFY_THROWS_EXCEPTION(Failure,
                             app->WorkbooksOpen(m_folder.filePath(QStringLiteral("none.xlsx"))));
    QVERIFY_THROWS_EXCEPTION(Failure, app->Selection()); // nothing open
}

void CalcTest::csvOpensWithItsSeparatorAndEncoding()
{
    // As a German spreadsheet writes it: semicolons, decimal commas, Windows-1252.
    const QString path = m_folder.filePath(QStringLiteral("list.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("M\xfcller;\"a;b\";1,50\nZo\xeb;x;y\n");
    file.close();
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(path);
    auto &calc = static_cast<CalcApplication &>(*app);
    const std::vector<QStringList> rows = app->Text(CellBlock{0, 1, 1, 2, 3});
    QCOMPARE(QList<QStringList>(rows.begin(), rows.end()),
             (QList<QStringList>{{"Müller", "a;b", "1,50"}, {"Zoë", "x", "y"}}));
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::workbookWithAPasswordNotGiven()
{
    const QString path = makeLockedWorkbook(*m_launcher, "calc8",
                                            m_folder.filePath(QStringLiteral("locked.ods")), "pw");
    // Calc's own dialog asks for the password; without one to show it (headless), the
    // workbook stays closed, and the failure says why.
    try {
        m_launcher->CreateObject()->WorkbooksOpen(path);
        QFAIL("opened without its password");
    } catch (const Failure &failure) {
        QCOMPARE(
            failure.description(),
            QStringLiteral("'%1' is protected by a password, and it was not given.").arg(path));
        QCOMPARE(failure.number(), kSpreadsheetPasswordNotGiven);
    }
}

void CalcTest::passwordAnsweredInCalcsBox_data()
{
    QTest::addColumn<QString>("typed"); // empty: Cancel
    QTest::addColumn<int>("failure");   // 0: the workbook opens
    QTest::newRow("the password") << "pw" << 0;
    QTest::newRow("Cancel") << "" << kSpreadsheetPasswordNotGiven;
    QTest::newRow("a wrong password") << "guess" << kSpreadsheetWrongPassword;
}

void CalcTest::passwordAnsweredInCalcsBox()
{
    QFETCH(QString, typed);
    QFETCH(int, failure);
    const QString path = makeLockedWorkbook(*m_launcher, "calc8",
                                            m_folder.filePath(QStringLiteral("box.ods")), "pw");
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    auto &calc = static_cast<CalcApplication &>(*app);
    // Whatever else the office would ask (that the load ended) does not reach the user.
    const rtl::Reference<PasswordBoxAnswers> user(new PasswordBoxAnswers(typed));
    calc.answerPasswordsWith(user.get());
    try {
        app->WorkbooksOpen(path);
        QCOMPARE(failure, 0);
        QCOMPARE(app->Text(CellBlock{0, 1, 1, 1, 1}).at(0), QStringList{"secret"});
        uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
    } catch (const Failure &failed) {
        QCOMPARE(failed.number(), failure);
        if (failure == kSpreadsheetWrongPassword)
            QCOMPARE(failed.description(),
                     QStringLiteral("The password for box.ods is wrong, so nothing was imported."));
    }
    // Asked once: a wrong password is not asked for again.
    QCOMPARE(user->asked.load(), 1);
}

void CalcTest::exportKeepsTextsAsTexts()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksAdd();
    app->setColumnTexts(1, 1, {QStringLiteral("Items:")});
    app->setColumnTexts(2, 1, {"a", "=1+2", "0123", "TRUE", "", "3.50"});
    app->AutofitColumns();
    app->setVisible(true);
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    const QStringList expected = {"Items:", "a", "=1+2", "0123", "TRUE", "", "3.50"};
    for (int row = 0; row < expected.size(); ++row) {
        const uno::Reference<table::XCell> cell = cellAt(model, 0, row);
        QCOMPARE(textOf(cell), expected[row]);
        QCOMPARE(int(cell->getType()), int(expected[row].isEmpty() ? table::CellContentType_EMPTY
                                                                   : table::CellContentType_TEXT));
    }
    // Unsaved: left to the user.
    QVERIFY(toQString(model->getURL()).isEmpty());
    uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::blockOverHiddenRowsIsOneBlockAndFilteredRowsAreLeftOut()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksAdd();
    auto &calc = static_cast<CalcApplication &>(*app);
    const uno::Reference<frame::XModel> model = calc.workbook();
    for (int row = 0; row < 6; ++row)
        setText(cellAt(model, 0, row), QStringLiteral("r%1").arg(row + 1));
    // Rows 3 and 5 out of sight, as a filter leaves them.
    uno::Reference<table::XColumnRowRange> sheet(firstSheet(model), uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> rows(sheet->getRows(), uno::UNO_QUERY_THROW);
    for (int row : {2, 4})
        uno::Reference<beans::XPropertySet>(rows->getByIndex(row), uno::UNO_QUERY_THROW)
            ->setPropertyValue(rtl::OUString::createFromAscii("IsVisible"), uno::Any(false));

    const auto mark = [&](std::initializer_list<table::CellRangeAddress> areas) {
        uno::Reference<lang::XMultiServiceFactory> factory(model, uno::UNO_QUERY_THROW);
        uno::Reference<sheet::XSheetCellRangeContainer> ranges(
            factory->createInstance(
                rtl::OUString::createFromAscii("com.sun.star.sheet.SheetCellRanges")),
            uno::UNO_QUERY_THROW);
        for (const table::CellRangeAddress &area : areas)
            ranges->addRangeAddress(area, false);
        uno::Reference<view::XSelectionSupplier>(model->getCurrentController(),
                                                 uno::UNO_QUERY_THROW)
            ->select(uno::Any(ranges));
    };
    // A1:A6 dragged over the hidden rows: Calc reports the visible pieces.
    mark({table::CellRangeAddress(0, 0, 0, 0, 1), table::CellRangeAddress(0, 0, 3, 0, 3),
          table::CellRangeAddress(0, 0, 5, 0, 5)});
    std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QCOMPARE(*block, (CellBlock{0, 1, 1, 6, 1}));
    const std::vector<QStringList> texts = app->Text(*block);
    QCOMPARE(QList<QStringList>(texts.begin(), texts.end()),
             (QList<QStringList>{{"r1"}, {"r2"}, {"r3"}, {"r4"}, {"r5"}, {"r6"}}));
    // Its column hidden by hand as well: still read.
    const auto columnA = uno::Reference<beans::XPropertySet>(
        uno::Reference<container::XIndexAccess>(sheet->getColumns(), uno::UNO_QUERY_THROW)
            ->getByIndex(0),
        uno::UNO_QUERY_THROW);
    columnA->setPropertyValue(rtl::OUString::createFromAscii("IsVisible"), uno::Any(false));
    const std::vector<QStringList> unseen = app->Text(*block);
    QCOMPARE(QList<QStringList>(unseen.begin(), unseen.end()),
             QList<QStringList>(texts.begin(), texts.end()));
    columnA->setPropertyValue(rtl::OUString::createFromAscii("IsVisible"), uno::Any(true));

    // Separate blocks with a row in sight between them: the first one.
    mark({table::CellRangeAddress(0, 0, 0, 0, 0), table::CellRangeAddress(0, 0, 3, 0, 3)});
    block = app->Selection();
    QVERIFY(block);
    QCOMPARE(*block, (CellBlock{0, 1, 1, 1, 1}));

    // The same rows hidden by a filter instead are left out, as Calc's copy leaves them.
    for (int row : {2, 4})
        uno::Reference<beans::XPropertySet>(rows->getByIndex(row), uno::UNO_QUERY_THROW)
            ->setPropertyValue(rtl::OUString::createFromAscii("IsVisible"), uno::Any(true));
    uno::Reference<sheet::XSheetFilterable> column(
        uno::Reference<table::XCellRange>(firstSheet(model), uno::UNO_QUERY_THROW)
            ->getCellRangeByPosition(0, 0, 0, 5),
        uno::UNO_QUERY_THROW);
    uno::Reference<sheet::XSheetFilterDescriptor> filter = column->createFilterDescriptor(true);
    uno::Reference<beans::XPropertySet>(filter, uno::UNO_QUERY_THROW)
        ->setPropertyValue(rtl::OUString::createFromAscii("ContainsHeader"), uno::Any(false));
    uno::Sequence<sheet::TableFilterField> fields(2);
    for (int k = 0; k < 2; ++k) {
        fields.getArray()[k].Connection = sheet::FilterConnection_AND;
        fields.getArray()[k].Operator = sheet::FilterOperator_NOT_EQUAL;
        fields.getArray()[k].StringValue = rtl::OUString::createFromAscii(k == 0 ? "r3" : "r5");
    }
    filter->setFilterFields(fields);
    column->filter(filter);
    mark({table::CellRangeAddress(0, 0, 0, 0, 1), table::CellRangeAddress(0, 0, 3, 0, 3),
          table::CellRangeAddress(0, 0, 5, 0, 5)});
    const std::vector<QStringList> seen = app->Text(*app->Selection());
    QCOMPARE(QList<QStringList>(seen.begin(), seen.end()),
             (QList<QStringList>{{"r1"}, {"r2"}, {"r4"}, {"r6"}}));
    uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::handMarkedBlockKeepsItsRows_data()
{
    QTest::addColumn<CellBlock>("marked");
    QTest::addColumn<QList<QStringList>>("rows");

    // The workbook's used rows are 2 to 6 (5 rows); B5 is empty, B6 "plum".
    QTest::newRow("past the used rows by a little")
        << CellBlock{0, 5, 2, 5, 1} << QList<QStringList>{{""}, {"plum"}, {""}, {""}, {""}};
    QTest::newRow("an empty row first")
        << CellBlock{0, 1, 2, 3, 1} << QList<QStringList>{{""}, {"3.50"}, {"3"}};
    QTest::newRow("a cursor alone in an empty cell")
        << CellBlock{0, 40, 8, 1, 1} << QList<QStringList>{{}};
    QTest::newRow("on past the used rows by more than they are")
        << CellBlock{0, 6, 2, 8, 1}
        << QList<QStringList>{{"plum"}, {""}, {""}, {""}, {""}, {""}, {""}, {""}};
    QTest::newRow("to the sheet's end: the rows in use")
        << CellBlock{0, 6, 2, 1048576 - 5, 1} << QList<QStringList>{{"plum"}};
}

void CalcTest::handMarkedBlockKeepsItsRows()
{
    QFETCH(CellBlock, marked);
    QFETCH(QList<QStringList>, rows);

    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_ods);
    auto &calc = static_cast<CalcApplication &>(*app);
    calc.select(marked);
    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QCOMPARE(*block, marked);
    const std::vector<QStringList> texts = app->Text(*block);
    QCOMPARE(QList<QStringList>(texts.begin(), texts.end()), rows);
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::fittedColumnHasAMaximumWidth()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksAdd();
    app->setColumnTexts(1, 1, {QStringLiteral("Items:")});
    app->setColumnTexts(2, 1, {QString(10000, u'w')});
    app->setColumnTexts(1, 2, {QStringLiteral("short")});
    app->AutofitColumns();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    uno::Reference<table::XColumnRowRange> sheet(firstSheet(model), uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> columns(sheet->getColumns(), uno::UNO_QUERY_THROW);
    const auto widthOf = [&](int column) {
        sal_Int32 width = 0;
        uno::Reference<beans::XPropertySet>(columns->getByIndex(column), uno::UNO_QUERY_THROW)
            ->getPropertyValue(rtl::OUString::createFromAscii("Width")) >>= width;
        return width;
    };
    // 1/100 mm: at most the width of a hundred characters, about 20 cm (Calc rounds to its own
    // units); a short column stays as narrow as its text.
    QVERIFY2(widthOf(0) <= 20100, qPrintable(QString::number(widthOf(0))));
    QVERIFY2(widthOf(0) > 10000, qPrintable(QString::number(widthOf(0))));
    QVERIFY2(widthOf(1) < 3000, qPrintable(QString::number(widthOf(1))));
    uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::workbookLoadedAnewIsStillRead()
{
    // "Edit Document" loads the workbook anew: the marked block is read from the new one.
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_ods);
    auto &calc = static_cast<CalcApplication &>(*app);
    const uno::Reference<frame::XModel> first = calc.workbook();
    uno::Reference<util::XCloseable>(first, uno::UNO_QUERY_THROW)->close(true);
    std::unique_ptr<ExcelApplication> other = m_launcher->CreateObject();
    other->WorkbooksOpen(m_ods); // the same file, loaded anew
    auto &again = static_cast<CalcApplication &>(*other);
    QVERIFY(again.workbook() != first);
    again.select(CellBlock{0, 3, 2, 2, 1});

    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QCOMPARE(*block, (CellBlock{0, 3, 2, 2, 1}));
    const std::vector<QStringList> texts = app->Text(*block);
    QCOMPARE(QList<QStringList>(texts.begin(), texts.end()), (QList<QStringList>{{"3"}, {"pear"}}));
    uno::Reference<util::XCloseable>(again.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::markingInAnotherDocumentIsNoticed()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_ods);
    std::unique_ptr<ExcelApplication> other = m_launcher->CreateObject();
    other->WorkbooksOpen(m_xlsx);
    auto &ours = static_cast<CalcApplication &>(*app);
    auto &theirs = static_cast<CalcApplication &>(*other);

    theirs.workbook()->getCurrentController()->getFrame()->activate();
    std::optional<ExcelApplication::ActiveDocument> elsewhere = app->ActiveElsewhere();
    QVERIFY(elsewhere);
    // As Calc's title bars name them.
    QCOMPARE(elsewhere->active, QStringLiteral("book.xlsx (read-only)"));
    QCOMPARE(elsewhere->workbook, QStringLiteral("book.ods (read-only)"));

    // A new document is named as Calc's title bar names it.
    std::unique_ptr<ExcelApplication> unsaved = m_launcher->CreateObject();
    unsaved->WorkbooksAdd();
    auto &untitled = static_cast<CalcApplication &>(*unsaved);
    untitled.workbook()->getCurrentController()->getFrame()->activate();
    elsewhere = app->ActiveElsewhere();
    QVERIFY(elsewhere);
    QVERIFY2(elsewhere->active.startsWith(u"Untitled "), qPrintable(elsewhere->active));

    ours.workbook()->getCurrentController()->getFrame()->activate();
    QVERIFY(!app->ActiveElsewhere());
    QVERIFY(app->workbookOpen());
    QVERIFY(unsaved->workbookOpen());
    for (CalcApplication *calc : {&ours, &theirs, &untitled})
        uno::Reference<util::XCloseable>(calc->workbook(), uno::UNO_QUERY_THROW)->close(true);
    // Closed, a file's workbook and a new one alike are known to be gone.
    QVERIFY(!app->workbookOpen());
    QVERIFY(!unsaved->workbookOpen());
}

QTEST_GUILESS_MAIN(CalcTest)
#include "tst_calc.moc"
