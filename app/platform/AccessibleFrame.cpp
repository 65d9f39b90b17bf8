#include "AccessibleFrame.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QByteArray>
#include <QSet>
#include <QWidget>

namespace {
QSet<QByteArray> &framedClasses()
{
    static QSet<QByteArray> classes;
    return classes;
}

QAccessibleInterface *frameFor(const QString &key, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget == nullptr || !widget->isWindow() || !framedClasses().contains(key.toLatin1()))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window); // owned by Qt's cache
}
} // namespace

void presentAsFrame(const char *className)
{
    if (framedClasses().isEmpty())
        QAccessible::installFactory(frameFor);
    framedClasses().insert(className);
}
