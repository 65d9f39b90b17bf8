#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

namespace WindowPlacement {

bool windowPlaceUnknown()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

namespace {
// One axis of popupInside(): from `at` on where it fits, else ending at `at`, else from the
// start of the room that keeps the most of it in sight.
int placeOnAxis(int start, int end, int at, int length)
{
    if (at + length <= end)
        return at;
    if (at - length >= start)
        return at - length;
    return std::max(start, end - length);
}
} // namespace

QPoint popupInside(const QRect &area, const QPoint &at, const QSize &size)
{
    return {placeOnAxis(area.left(), area.right() + 1, at.x(), size.width()),
            placeOnAxis(area.top(), area.bottom() + 1, at.y(), size.height())};
}

QPoint popupPosition(const QWidget &widget, const QPoint &at, const QSize &size)
{
    if (!windowPlaceUnknown())
        return at;
    const QWidget *window = widget.window();
    return popupInside(QRect(window->mapToGlobal(QPoint(0, 0)), window->size()), at, size);
}

int titleBarRoom()
{
    // The icon, minimise, maximise and close buttons and the margins of Qt's own title bar on
    // Wayland; a window manager's buttons elsewhere.
    return windowPlaceUnknown() ? 170 : 120;
}

} // namespace WindowPlacement
