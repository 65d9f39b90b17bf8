#include "EscapeWatch.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QWidget>

EscapeWatch::EscapeWatch(QWidget *window, QLabel *status)
    : m_escape(QKeySequence(Qt::Key_Escape), window, nullptr, nullptr, Qt::WindowShortcut),
      m_status(status), m_toolTip(status->toolTip()), m_description(status->accessibleDescription())
{
    QObject::connect(&m_escape, &QShortcut::activated, [this] { m_asked = true; });
    // The window has no room for a Cancel button: the key is named where the wait is told.
    const QString hint = QCoreApplication::translate(
        "Tarnwell", "Press Esc to stop waiting for Calc; nothing will be imported.");
    m_status->setToolTip(m_toolTip.isEmpty() ? hint : m_toolTip + u'\n' + hint);
    m_status->setAccessibleDescription(m_description.isEmpty() ? hint
                                                               : m_description + u' ' + hint);
    m_hinted = m_status->toolTip();
}

EscapeWatch::~EscapeWatch()
{
    // A status line set anew meanwhile says something else now, and keeps it.
    if (m_status->toolTip() != m_hinted)
        return;
    m_status->setToolTip(m_toolTip);
    m_status->setAccessibleDescription(m_description);
}
