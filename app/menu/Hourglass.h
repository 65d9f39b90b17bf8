#pragma once

#include "CommandHost.h"

// Shows the hourglass from construction (or on()) until destruction (or off()), so that
// the usual pointer comes back however a command ends.
class Hourglass
{
public:
    explicit Hourglass(CommandHost &host, bool showNow = true) : m_host(host)
    {
        if (showNow)
            on();
    }
    ~Hourglass() { off(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;

    void on()
    {
        if (!m_shown) {
            m_host.showHourglass(true);
            m_shown = true;
        }
    }
    void off()
    {
        if (m_shown) {
            m_host.showHourglass(false);
            m_shown = false;
        }
    }
    bool shown() const { return m_shown; }

private:
    CommandHost &m_host;
    bool m_shown = false;
};
