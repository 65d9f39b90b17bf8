// The Calc side against a real, headless LibreOffice with a private profile.

#include "CalcApplication.h"
#include "CalcTestTools.h"
#include "Failure.h"
#include "LibreOfficeCalc.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

using namespace css;

namespace {

uno::Reference<table::XCell> cellAt(const uno::Reference<frame::XModel> &model, int column, int row)
{
    return firstSheet(model)->getCellByPosition(column, row);
}

void setText(const uno::Reference<table::XCell> &cell, const QString &text)
{
    uno::Reference<text::XTextRange>(cell, uno::UNO_QUERY_THROW)->setString(toOUString(text));
}

QString textOf(const uno::Reference<table::XCell> &cell)
{
    return toQString(uno::Reference<text::XTextRange>(cell, uno::UNO_QUERY_THROW)->getString());
}

void setFormat(const uno::Reference<frame::XModel> &model, const uno::Reference<table::XCell> &cell,
               const char *formatCode)
{
    uno::Reference<util::XNumberFormatsSupplier> supplier(model, uno::UNO_QUERY_THROW);
    uno::Reference<util::XNumberFormats> formats = supplier->getNumberFormats();
    const lang::Locale locale(rtl::OUString::createFromAscii("en"),
                              rtl::OUString::createFromAscii("US"), rtl::OUString());
    const rtl::OUString code = rtl::OUString::createFromAscii(formatCode);
    sal_Int32 key = formats->queryKey(code, locale, false);
    if (key < 0)
        key = formats->addNew(code, locale);
    uno::Reference<beans::XPropertySet>(cell, uno::UNO_QUERY_THROW)
        ->setPropertyValue(rtl::OUString::createFromAscii("NumberFormat"), uno::Any(key));
}

} // namespace

class CalcTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void missingOfficeIsToldAtOnce();
    void readsDisplayedTexts_data();
    void readsDisplayedTexts();
    void wholeColumnIsClippedToUsedArea();
    void blockOutsideUsedAreaReadsNothing();
    void severalMarkedAreasTakeTheFirst();
    void fileThatIsNoWorkbook();
    void exportKeepsTextsAsTexts();

private:
    QString makeWorkbook(const char *filter, const QString &name);

    QTemporaryDir m_folder;
    std::unique_ptr<LibreOfficeLauncher> m_launcher;
    QString m_xlsx;
    QString m_ods;
};

void CalcTest::initTestCase()
{
    LibreOfficeLauncher::Options options;
    options.profileFolder = m_folder.filePath(QStringLiteral("profile"));
    options.headless = true;
    m_launcher = std::make_unique<LibreOfficeLauncher>(options);
    QVERIFY2(m_launcher->isInstalled(),
             "LibreOffice is not installed (scripts/install-deps installs it)");
    m_xlsx = makeWorkbook("Calc Office Open XML", QStringLiteral("book.xlsx"));
    m_ods = makeWorkbook("calc8", QStringLiteral("book.ods"));
}

void CalcTest::cleanupTestCase()
{
    if (m_launcher)
        m_launcher->terminatePrivateOffice();
}

// B2 3.5 shown with two decimals, C2 a date, B3 a formula, C3 blanks, B4 a text, C4 empty,
// B6 a text below an empty row.
QString CalcTest::makeWorkbook(const char *filter, const QString &name)
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksAdd();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    cellAt(model, 1, 1)->setValue(3.5);
    setFormat(model, cellAt(model, 1, 1), "0.00");
    cellAt(model, 2, 1)->setValue(45366); // 2024-03-15
    setFormat(model, cellAt(model, 2, 1), "YYYY-MM-DD");
    cellAt(model, 1, 2)->setFormula(rtl::OUString::createFromAscii("=1+2"));
    setText(cellAt(model, 2, 2), QStringLiteral("   "));
    setText(cellAt(model, 1, 3), QStringLiteral("pear"));
    setText(cellAt(model, 1, 5), QStringLiteral("plum"));
    const QString path = m_folder.filePath(name);
    return storeAndClose(model, path, filter);
}

void CalcTest::missingOfficeIsToldAtOnce()
{
    LibreOfficeLauncher::Options options;
    options.soffice = m_folder.filePath(QStringLiteral("no-such-soffice"));
    LibreOfficeLauncher missing(options);
    QVERIFY(!missing.isInstalled());
    QVERIFY_THROWS_EXCEPTION(Failure, missing.CreateObject());
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

void CalcTest::severalMarkedAreasTakeTheFirst()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_ods);
    auto &calc = static_cast<CalcApplication &>(*app);
    // Ctrl-marking: B2:C2, then B4.
    uno::Reference<lang::XMultiServiceFactory> factory(calc.workbook(), uno::UNO_QUERY_THROW);
    uno::Reference<sheet::XSheetCellRangeContainer> ranges(
        factory->createInstance(
            rtl::OUString::createFromAscii("com.sun.star.sheet.SheetCellRanges")),
        uno::UNO_QUERY_THROW);
    ranges->addRangeAddress(table::CellRangeAddress(0, 1, 1, 2, 1), false);
    ranges->addRangeAddress(table::CellRangeAddress(0, 1, 3, 1, 3), false);
    uno::Reference<view::XSelectionSupplier>(calc.workbook()->getCurrentController(),
                                             uno::UNO_QUERY_THROW)
        ->select(uno::Any(ranges));
    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QCOMPARE(*block, (CellBlock{0, 2, 2, 1, 2}));
    const std::vector<QStringList> rows = app->Text(*block);
    QCOMPARE(QList<QStringList>(rows.begin(), rows.end()),
             (QList<QStringList>{{"3.50", "2024-03-15"}}));
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::blockOutsideUsedAreaReadsNothing()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    app->WorkbooksOpen(m_xlsx);
    auto &calc = static_cast<CalcApplication &>(*app);
    // Far outside the used area: nothing to read.
    calc.select(CellBlock{0, 100, 20, 3, 3});
    const std::optional<CellBlock> block = app->Selection();
    QVERIFY(block);
    QVERIFY(app->Text(*block).empty());
    uno::Reference<util::XCloseable>(calc.workbook(), uno::UNO_QUERY_THROW)->close(true);
}

void CalcTest::fileThatIsNoWorkbook()
{
    std::unique_ptr<ExcelApplication> app = m_launcher->CreateObject();
    QVERIFY_THROWS_EXCEPTION(Failure,
                             app->WorkbooksOpen(m_folder.filePath(QStringLiteral("none.xlsx"))));
    QVERIFY_THROWS_EXCEPTION(Failure, app->Selection()); // nothing open
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

QTEST_GUILESS_MAIN(CalcTest)
#include "tst_calc.moc"
