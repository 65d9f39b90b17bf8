#include "ErrorReport.h"

#include "Prompts.h"

#include <QCoreApplication>

QString errorReportText(const QString &description, const QString &location, int line)
{
    return description + u"\r\n" + u"in Quorlent2021/08/31." + location + u' ' + u"at line " +
           QString::number(line) + u"\r\r" + u"Please email screenshot of this message to " +
           QStringView(kSupportAddress);
}

void ErrorReporter::report(const QString &location, int line, const QString &description)
{
    if (m_muted)
        return;
    m_prompts.messageBox(errorReportText(description, location, line), Prompts::Style::ErrorReport,
                         QCoreApplication::translate("Tarnwell", "Application Error"));
}
