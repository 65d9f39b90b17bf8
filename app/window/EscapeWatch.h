#pragma once

#include "CancelWatch.h"

#include <QShortcut>
#include <QString>

class QLabel;
class QWidget;

// Escape pressed in the window while it lives ends the wait it was made for; the window's
// Escape does nothing otherwise. Meanwhile the status line's tooltip (and what a screen reader
// hears of it) names the key.
class EscapeWatch : public CancelWatch
{
public:
    EscapeWatch(QWidget *window, QLabel *status);
    ~EscapeWatch() override;
    EscapeWatch(const EscapeWatch &) = delete;
    EscapeWatch &operator=(const EscapeWatch &) = delete;
    bool asked() const override { return m_asked; }

private:
    QShortcut m_escape;
    bool m_asked = false;
    QLabel *m_status;
    QString m_toolTip;     // the status line's, before the wait
    QString m_description; // what a screen reader heard of it
    QString m_hinted;      // its tooltip with the key named
};
