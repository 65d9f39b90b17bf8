#pragma once

#include "ErrorReporter.h"
#include "Failure.h"

#include <QCoreApplication>
#include <QString>

#include <new>
#include <optional>
#include <utility>

// Runs the numbered steps of one command. A step that fails is reported with the command's
// location and the step's number, and the command goes on with its next step; a failing test
// of a conditional counts as passed, so the conditional's body runs.
class Trap
{
public:
    Trap(ErrorReporter &reporter, QString location)
        : m_reporter(reporter), m_location(std::move(location))
    {
    }

    // Runs one step; false when it failed (and was reported).
    template <typename Step> bool line(int number, Step &&step)
    {
        if (auto failure = attempt(number, std::forward<Step>(step))) {
            report(*failure);
            return false;
        }
        return true;
    }

    // Runs the test of a conditional step; a failing test is reported and counts as true.
    template <typename Test> bool test(int number, Test &&condition)
    {
        bool result = true;
        line(number, [&] { result = condition(); });
        return result;
    }

    // Runs one step and hands back its failure unreported, for a handler that deals with
    // some failures itself; pass the rest to report().
    template <typename Step> std::optional<Failure> attempt(int number, Step &&step)
    {
        m_currentLine = number;
        try {
            step();
        } catch (const Failure &failure) {
            return failure;
        } catch (const std::bad_alloc &) {
            return Failure(QCoreApplication::translate("Tarnwell", "Out of memory"), 7);
        } catch (const std::exception &error) {
            return Failure(QString::fromLocal8Bit(error.what()));
        }
        return std::nullopt;
    }

    void report(const Failure &failure)
    {
        m_reporter.report(m_location, m_currentLine, failure.description());
    }

    int currentLine() const { return m_currentLine; }

private:
    ErrorReporter &m_reporter;
    QString m_location;
    int m_currentLine = 0;
};
