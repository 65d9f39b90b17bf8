#include "EscapeWatch.h"

#include <QKeySequence>
#include <QWidget>

EscapeWatch::EscapeWatch(QWidget *window)
    : m_escape(QKeySequence(Qt::Key_Escape), window, nullptr, nullptr, Qt::WindowShortcut)
{
    QObject::connect(&m_escape, &QShortcut::activated, [this] { m_asked = true; });
}
