#include "ProgressEchoHost.h"

ProgressEchoHost::ProgressEchoHost(ListHost &window, std::function<void(double percent)> echo)
    : m_window(window), m_echo(std::move(echo))
{
}

CaseOption ProgressEchoHost::caseOption() const
{
    return m_window.caseOption();
}

void ProgressEchoHost::setStatus(const QString &text)
{
    m_window.setStatus(text);
}

void ProgressEchoHost::setProgress(double percent)
{
    m_window.setProgress(percent);
    m_echo(percent);
}

void ProgressEchoHost::yieldToEventLoop()
{
    m_window.yieldToEventLoop();
}

void ProgressEchoHost::notify(const QString &text)
{
    m_window.notify(text);
}

ErrorReporter &ProgressEchoHost::errorReporter()
{
    return m_window.errorReporter();
}

qint64 ProgressEchoHost::yieldIntervalMs() const
{
    return m_window.yieldIntervalMs();
}
