#include "ExcelExport.h"

#include "ExcelContext.h"
#include "Failure.h"
#include "ItemList.h"
#include "ListHost.h"
#include "Prompts.h"
#include "SpreadsheetSteps.h"
#include "Translations.h"
#include "Trap.h"
#include "YieldPacing.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

namespace {
QString writingToCalcStatus(qsizetype items)
{
    // Digit groups as the window's language writes them ("1,000,000"; "1.000.000").
    const int count = items > INT_MAX ? INT_MAX : int(items);
    return QCoreApplication::translate("Tarnwell", "Writing %1 item(s) to Calc...", nullptr, count)
        .arg(Translations::numberLocale().toString(items));
}
} // namespace

bool ExcelInstalled(ExcelContext &context)
{
    bool installed = false;
    try {
        installed = context.launcher.isInstalled();
    } catch (const Failure &) {
        installed = false;
    }
    if (!installed)
        context.prompts.messageBox(
            QCoreApplication::translate("Tarnwell",
                                        "Excel is not installed on this computer. You need to have "
                                        "it installed to use this software without error."),
            Prompts::Style::OkOnly, context.appTitle);
    return installed;
}

bool OpenWorkbookWithoutItems(ExcelContext &context)
{
    return context.prompts.messageBox(
               QCoreApplication::translate("Tarnwell",
                                           "No items are checked. Open a workbook without items?"),
               Prompts::Style::YesNoDefaultNo, context.appTitle) == Prompts::Answer::Yes;
}

namespace List {

void ListviewToExcel(const ItemList &listView, ListHost &host, ExcelContext &context, Trap &trap,
                     const std::function<QString()> &shownStatus)
{
    if (trap.test(100, [&] { return !ExcelInstalled(context); })) {
        trap.line(164, [&] {
            context.prompts.messageBox(
                QCoreApplication::translate("Tarnwell",
                                            "Excel is not installed on this computer. You need to "
                                            "have it installed to use this feature."),
                Prompts::Style::OkOnly, context.appTitle);
        });
        return;
    }
    if (trap.test(108, [&] { return listView.count() == 0; }))
        return;
    if (trap.test(109, [&] {
            const auto &checks = listView.checks();
            return std::find(checks.begin(), checks.end(), 1) == checks.end() &&
                   !OpenWorkbookWithoutItems(context);
        }))
        return;
    trap.line(110, [&] { context.setMousePointer(kPointerHourglass); });
    std::unique_ptr<ExcelApplication> app;
    const auto requireApp = [&]() -> ExcelApplication & {
        if (!app)
            throw Failure(QCoreApplication::translate("Tarnwell", "Object variable not set"), 91);
        return *app;
    };
    const QString statusBefore = shownStatus();
    SpreadsheetSteps steps(trap); // the office closed meanwhile is told once, at the end
    const std::optional<Failure> failure =
        trap.attempt(112, [&] { app = context.launcher.CreateObject(); });
    const bool reached = !failure;
    if (failure) {
        host.setStatus(failure->description()); // not "Starting ..." while the report shows
        trap.report(*failure);
    } else {
        // The office answers: no more "Starting ...", but what is being done.
        const auto &checks = listView.checks();
        host.setStatus(writingToCalcStatus(std::count(checks.begin(), checks.end(), 1)));
    }
    steps.line(114, [&] { requireApp().WorkbooksAdd(); });
    for (int header = 0; header < listView.headerCount(); ++header)
        steps.line(122, [&] {
            requireApp().setColumnTexts(1, header + 1, {listView.headerText(header)});
        });
    // Row k + 1 for item k; only items with a check mark are written, the rest stay empty.
    // The list as it stands now is written, in slices, yielding in between.
    steps.line(144, [&] {
        QStringList texts;
        texts.reserve(listView.count());
        for (qsizetype position = 0; position < listView.count(); ++position)
            texts.append(listView.isChecked(position) ? listView.text(position).toString()
                                                      : QString());
        while (!texts.isEmpty() && texts.last().isEmpty())
            texts.removeLast();
        constexpr qsizetype kSlice = 8192;
        YieldPacer pacer(host);
        for (qsizetype first = 0; first < texts.size(); first += kSlice) {
            requireApp().setColumnTexts(2 + int(first), 1, texts.mid(first, kSlice));
            // Fitting the column and showing the workbook take the last tenth.
            host.setProgress(90.0 * double(std::min(texts.size(), first + kSlice)) /
                             double(texts.size()));
            if (pacer.due())
                host.yieldToEventLoop();
        }
    });
    steps.line(158, [&] { requireApp().AutofitColumns(); });
    steps.line(160, [&] { requireApp().setVisible(true); });
    trap.line(162, [&] { context.setMousePointer(kPointerDefault); });
    host.setProgress(0);
    if (reached)
        host.setStatus(statusBefore);
    if (steps.officeGone())
        steps.tellGone(context,
                       QT_TRANSLATE_NOOP("Tarnwell",
                                         "LibreOffice Calc closed before the items were written."));
    // An office started for this command and left with nothing to show is ended.
    app.reset();
    try {
        context.launcher.release();
    } catch (const Failure &) {
    }
}

} // namespace List
