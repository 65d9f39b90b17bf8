#pragma once

#include "ListHost.h"
#include "ListPass.h"
#include "YieldPacing.h"

// The turns a loop over the list's items gives the window: it looks at the clock once every
// kStepsBetweenLooks steps and, when a turn is due, shows how far it has come and yields. A
// command run at the turn may change the list, which the pass then has to start again on.
class SliceTurns
{
public:
    static constexpr qsizetype kStepsBetweenLooks = 8192;

    SliceTurns(ListHost &host, const ListPass &pass) : m_host(host), m_pass(pass), m_pacer(host) {}

    // At `step` of the loop, with `done` of `count` items done: true when a turn was taken
    // and the list changed during it.
    bool listChangedAt(qsizetype step, qsizetype done, qsizetype count)
    {
        if (step % kStepsBetweenLooks != 0 || !m_pacer.due())
            return false;
        m_host.setProgress(double(done) / double(count) * 100.0);
        m_host.yieldToEventLoop();
        return m_pass.listChanged();
    }

private:
    ListHost &m_host;
    const ListPass &m_pass;
    YieldPacer m_pacer;
};
