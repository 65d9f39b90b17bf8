#include "ErrorReporter.h"

#include "Prompts.h"

#include <QCoreApplication>

QString errorReportText(const QString &description, const QString &location, int line)
{
    // The same lines in every language: only the words between the names are translated.
    return description + u"\r\n" +
           QCoreApplication::translate("Tarnwell", "in %1 at line %2")
               .arg(u"Quorlent2021/08/31." + location, QString::number(line)) +
           u"\r\r" +
           QCoreApplication::translate("Tarnwell", "Please email screenshot of this message to %1")
               .arg(QStringView(kSupportAddress));
}

void ErrorReporter::report(const QString &location, int line, const QString &description)
{
    if (m_muted)
        return;
    m_prompts.messageBox(errorReportText(description, location, line), Prompts::Style::ErrorReport,
                         QCoreApplication::translate("Tarnwell", "Application Error"));
}
