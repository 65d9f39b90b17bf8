#pragma once

// Cells of a workbook in a real Calc, as the Calc tests write and read them.

#include "CalcApplication.h"
#include "CalcTestTools.h"
#include "LibreOfficeLauncher.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <memory>

namespace CalcCells {

using namespace css;

inline uno::Reference<table::XCell> cellAt(const uno::Reference<frame::XModel> &model, int column,
                                           int row)
{
    return firstSheet(model)->getCellByPosition(column, row);
}

inline void setText(const uno::Reference<table::XCell> &cell, const QString &text)
{
    uno::Reference<text::XTextRange>(cell, uno::UNO_QUERY_THROW)->setString(toOUString(text));
}

inline QString textOf(const uno::Reference<table::XCell> &cell)
{
    return toQString(uno::Reference<text::XTextRange>(cell, uno::UNO_QUERY_THROW)->getString());
}

inline void setFormat(const uno::Reference<frame::XModel> &model,
                      const uno::Reference<table::XCell> &cell, const char *formatCode)
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

// A workbook to read, stored at `path` with `filter`: B2 3.5 shown with two decimals, C2 a
// date, B3 a formula, C3 blanks, B4 a text, C4 empty, B6 a text below an empty row.
inline QString makeSampleWorkbook(LibreOfficeLauncher &launcher, const char *filter,
                                  const QString &path)
{
    std::unique_ptr<ExcelApplication> app = launcher.CreateObject();
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
    return storeAndClose(model, path, filter);
}

// A workbook protected by `password`, stored at `path` with `filter`: A1 "secret".
inline QString makeLockedWorkbook(LibreOfficeLauncher &launcher, const char *filter,
                                  const QString &path, const char *password)
{
    std::unique_ptr<ExcelApplication> app = launcher.CreateObject();
    app->WorkbooksAdd();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    setText(cellAt(model, 0, 0), QStringLiteral("secret"));
    return storeAndClose(model, path, filter, password);
}

// A launcher of a headless office of its own, with the profile in `profileFolder`.
inline std::unique_ptr<LibreOfficeLauncher> privateHeadlessOffice(const QString &profileFolder)
{
    LibreOfficeLauncher::Options options;
    options.profileFolder = profileFolder;
    options.headless = true;
    return std::make_unique<LibreOfficeLauncher>(options);
}

} // namespace CalcCells
