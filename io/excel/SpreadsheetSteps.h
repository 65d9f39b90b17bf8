#pragma once

#include "ExcelApplication.h"
#include "Failure.h"
#include "Trap.h"

#include <utility>

struct ExcelContext;

// Runs a spreadsheet command's steps under its trap until the application goes away: each
// step after that could only fail the same way, so they are passed over, and the command
// tells it once (see officeGone()) instead of a report per step.
class SpreadsheetSteps
{
public:
    explicit SpreadsheetSteps(Trap &trap) : m_trap(trap) {}

    // Runs one step; false when it failed or was passed over.
    template <typename Step> bool line(int number, Step &&step)
    {
        if (m_gone)
            return false;
        if (auto failure = m_trap.attempt(number, std::forward<Step>(step))) {
            handle(*failure);
            return false;
        }
        return true;
    }
    // A step's failure: reported, unless it says the application has gone.
    void handle(const Failure &failure)
    {
        if (failure.number() == kSpreadsheetGone)
            m_gone = true;
        else
            m_trap.report(failure);
    }
    bool officeGone() const { return m_gone; }
    // Tells the user, once, that the application went away before the command was through.
    void tellGone(ExcelContext &context, const char *message) const;

private:
    Trap &m_trap;
    bool m_gone = false;
};
