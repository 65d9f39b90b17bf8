#pragma once

#include "CaseOption.h"

#include <QString>

class ErrorReporter;

// What the whole-list procedures need from the window they work for.
class ListHost
{
public:
    virtual ~ListHost() = default;

    virtual CaseOption caseOption() const = 0;
    virtual void setStatus(const QString &text) = 0;
    virtual void setProgress(double percent) = 0;
    // Lets the window repaint and handle input; other commands may run meanwhile.
    virtual void yieldToEventLoop() = 0;
    // A notice with an OK button and the application title.
    virtual void notify(const QString &text) = 0;
    virtual ErrorReporter &errorReporter() = 0;
    // How long a procedure may run between two yields.
    virtual qint64 yieldIntervalMs() const { return 40; }
};
