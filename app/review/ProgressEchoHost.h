#pragma once

#include "ListHost.h"

#include <functional>

// The window's host for a procedure that a dialog in front of the window follows too: every
// call goes to the window, and the progress is shown in the dialog as well, where the user
// is looking.
class ProgressEchoHost : public ListHost
{
public:
    ProgressEchoHost(ListHost &window, std::function<void(double percent)> echo);

    CaseOption caseOption() const override;
    void setStatus(const QString &text) override;
    void setProgress(double percent) override;
    void yieldToEventLoop() override;
    void notify(const QString &text) override;
    ErrorReporter &errorReporter() override;
    qint64 yieldIntervalMs() const override;

private:
    ListHost &m_window;
    std::function<void(double percent)> m_echo;
};
