#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where windows and menus go where the window system keeps the window's place on screen to
// itself (Wayland): only the window's own area is known to be on screen there.
namespace WindowPlacement {

// True where a window cannot learn its place on screen, and the window system places the
// windows it opens (Wayland).
bool windowPlaceUnknown();

// The top left corner of a popup of `size` asked for at `at`, kept inside `area`: below and
// right of `at` where it fits, else above or left of it, else from the area's top or left
// edge (a popup larger than the area keeps its start in sight).
QPoint popupInside(const QRect &area, const QPoint &at, const QSize &size);

// Where a popup (a context menu) of `size` asked for at `at` opens beside `widget`: inside
// the widget's window where the window's place on screen is unknown; as asked elsewhere,
// where the toolkit keeps it on screen itself.
QPoint popupPosition(const QWidget &widget, const QPoint &at, const QSize &size);

// The room a title needs in a title bar the program draws itself (Wayland): the window's
// icon and its buttons beside the text.
int titleBarRoom();

} // namespace WindowPlacement
