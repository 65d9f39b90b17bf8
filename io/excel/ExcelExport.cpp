#include "ExcelExport.h"

#include "ExcelContext.h"
#include "ExcelMessages.h"
#include "Failure.h"
#include "Prompts.h"

#include <QCoreApplication>

bool ExcelInstalled(ExcelContext &context)
{
    bool installed = false;
    try {
        installed = context.launcher.isInstalled();
    } catch (const Failure &) {
        installed = false;
    }
    if (!installed)
        context.prompts.messageBox(QCoreApplication::translate("Tarnwell", kExcelMissingMessage),
                                   Prompts::Style::OkOnly, context.appTitle);
    return installed;
}

bool OpenWorkbookWithoutItems(ExcelContext &context)
{
    return context.prompts.messageBox(
               QCoreApplication::translate("Tarnwell", kNoItemsCheckedQuestion),
               Prompts::Style::YesNoDefaultNo, context.appTitle) == Prompts::Answer::Yes;
}
