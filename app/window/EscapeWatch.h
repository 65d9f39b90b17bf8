#pragma once

#include "CancelWatch.h"

#include <QShortcut>

class QWidget;

// Escape pressed in the window while it lives ends the wait it was made for; the window's
// Escape does nothing otherwise.
class EscapeWatch : public CancelWatch
{
public:
    explicit EscapeWatch(QWidget *window);
    bool asked() const override { return m_asked; }

private:
    QShortcut m_escape;
    bool m_asked = false;
};
