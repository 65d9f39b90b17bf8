#include "SpreadsheetSteps.h"

#include "ExcelContext.h"
#include "Prompts.h"

#include <QCoreApplication>

void SpreadsheetSteps::tellGone(ExcelContext &context, const char *message) const
{
    context.prompts.messageBox(QCoreApplication::translate("Tarnwell", message),
                               Prompts::Style::OkOnly, context.appTitle);
}
