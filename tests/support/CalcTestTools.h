#pragma once

// Helpers for tests and the benchmark that build workbooks in a real Calc.

#include "CalcApplication.h"

#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>

inline css::uno::Reference<css::sheet::XSpreadsheet>
firstSheet(const css::uno::Reference<css::frame::XModel> &model)
{
    using namespace css;
    uno::Reference<sheet::XSpreadsheetDocument> document(model, uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> sheets(document->getSheets(), uno::UNO_QUERY_THROW);
    return uno::Reference<sheet::XSpreadsheet>(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
}

// Stores the workbook at `path` with the given filter ("calc8", "Calc Office Open XML"),
// protected by `password` when one is given, and closes it.
inline QString storeAndClose(const css::uno::Reference<css::frame::XModel> &model,
                             const QString &path, const char *filter,
                             const char *password = nullptr)
{
    using namespace css;
    uno::Sequence<beans::PropertyValue> arguments(password ? 2 : 1);
    arguments.getArray()[0].Name = rtl::OUString::createFromAscii("FilterName");
    arguments.getArray()[0].Value <<= rtl::OUString::createFromAscii(filter);
    if (password) {
        arguments.getArray()[1].Name = rtl::OUString::createFromAscii("Password");
        arguments.getArray()[1].Value <<= rtl::OUString::createFromAscii(password);
    }
    uno::Reference<frame::XStorable>(model, uno::UNO_QUERY_THROW)
        ->storeToURL(toOUString(QUrl::fromLocalFile(path).toString()), arguments);
    uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
    return path;
}
