#pragma once

#include "ErrorReporter.h"
#include "FakePrompts.h"
#include "ItemList.h"
#include "ItemListTexts.h"
#include "ListHost.h"

#include <functional>

// Runs the whole-list procedures without a window, recording what they show.
class RecordingHost : public ListHost
{
public:
    CaseOption caseOption() const override { return option; }
    void setStatus(const QString &text) override { status = text; }
    void setProgress(double percent) override { progress.append(percent); }
    void yieldToEventLoop() override
    {
        ++yields;
        if (onYield)
            onYield();
    }
    void notify(const QString &text) override { notices.append(text); }
    ErrorReporter &errorReporter() override { return reporter; }
    qint64 yieldIntervalMs() const override { return intervalMs; }

    CaseOption option = CaseOption::IgnoreCase;
    QString status = QStringLiteral("untouched");
    QList<double> progress;
    QStringList notices;
    int yields = 0;
    qint64 intervalMs = 40;
    std::function<void()> onYield;
    FakePrompts prompts;
    ErrorReporter reporter{prompts};
};
