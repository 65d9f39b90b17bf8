#pragma once

#include <QString>

class Prompts;

inline constexpr char16_t kSupportAddress[] = u"support@tarnwell.example";

// The text of the error report: the description, CR LF, where it happened, two bare CRs,
// and whom to send a screenshot to.
QString errorReportText(const QString &description, const QString &location, int line);

// Shows error reports in a message box titled "Application Error".
class ErrorReporter
{
public:
    explicit ErrorReporter(Prompts &prompts) : m_prompts(prompts) {}
    virtual ~ErrorReporter() = default;

    virtual void report(const QString &location, int line, const QString &description);
    // Once the window is closed, a command still unwinding has no one to report to.
    void mute() { m_muted = true; }

private:
    Prompts &m_prompts;
    bool m_muted = false;
};
