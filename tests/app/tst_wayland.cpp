#include "QtServices.h"
#include "WindowFixture.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

// Menus and message boxes where the window system keeps the window's place to itself: run
// under a Wayland compositor (weston), where they are checked in the real window; the
// placement rule itself anywhere.
class WaylandTest : public QObject, public WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void popupKeptInside_data();
    void popupKeptInside();
    void contextMenuInsideTheWindow();
    void messageBoxOverItsWindowWithItsTitle();
};

void WaylandTest::popupKeptInside_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("placed");
    // The area: 400 by 300 from (100, 50).
    QTest::newRow("room below and right") << QPoint(150, 60) << QSize(100, 100) << QPoint(150, 60);
    QTest::newRow("low: opens upwards") << QPoint(150, 330) << QSize(100, 100) << QPoint(150, 230);
    QTest::newRow("right: opens leftwards")
        << QPoint(450, 60) << QSize(100, 100) << QPoint(350, 60);
    QTest::newRow("no room either way: from the bottom up")
        << QPoint(150, 200) << QSize(100, 250) << QPoint(150, 100);
    QTest::newRow("taller than the area: from its top")
        << QPoint(150, 200) << QSize(100, 500) << QPoint(150, 50);
}

void WaylandTest::popupKeptInside()
{
    QFETCH(QPoint, at);
    QFETCH(QSize, size);
    QFETCH(QPoint, placed);
    QCOMPARE(WindowPlacement::popupInside(QRect(100, 50, 400, 300), at, size), placed);
}

// The menu opened at the list's last row, low in the window, opens inside
// the window (which is on screen) instead of running off below it.
void WaylandTest::contextMenuInsideTheWindow()
{
    if (!WindowPlacement::windowPlaceUnknown())
        QSKIP("the window system places menus on screen itself; run under Wayland");
    QStringList texts;
    for (int i = 0; i < 200; ++i)
        texts.append(QStringLiteral("item %1").arg(i));
    fill(form().items(), texts);
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    auto *view = m_window->control<QTableView>("ListView1");
    view->setFocus();
    view->scrollToBottom();
    const QModelIndex last = view->model()->index(view->model()->rowCount() - 1, 0);
    view->setCurrentIndex(last);
    // As a right-click on the last row asks for it (no pointer in a headless compositor).
    const QPoint at = view->visualRect(last).center();
    QContextMenuEvent asked(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &asked);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
    const QRect window(form().mapToGlobal(QPoint(0, 0)), form().size());
    const QRect opened(menu->pos(), menu->sizeHint());
    QVERIFY2(opened.bottom() <= window.bottom() || opened.top() == window.top(),
             qPrintable(QStringLiteral("menu %1,%2 %3x%4 in window %5,%6 %7x%8")
                            .arg(opened.x())
                            .arg(opened.y())
                            .arg(opened.width())
                            .arg(opened.height())
                            .arg(window.x())
                            .arg(window.y())
                            .arg(window.width())
                            .arg(window.height())));
    QVERIFY(opened.top() >= window.top());
    menu->close();
}

// A message box belongs to its window (the compositor is told so, and places it over the
// window where it follows that), has no minimise or maximise button, and shows its whole
// title in the title bar the program draws.
void WaylandTest::messageBoxOverItsWindowWithItsTitle()
{
    if (!WindowPlacement::windowPlaceUnknown())
        QSKIP("the window manager draws the title bar; run under Wayland");
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QtPrompts prompts;
    prompts.setParentWidget(&form());
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr);
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QTRY_VERIFY(box->windowHandle() != nullptr);
        QCOMPARE(box->windowHandle()->transientParent(), form().windowHandle());
        QVERIFY(!(box->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(box->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(box->windowTitle()) +
                                    WindowPlacement::titleBarRoom());
        seen = true;
        box->accept();
    });
    prompts.messageBox(QStringLiteral("Done."), Prompts::Style::OkOnly,
                       QStringLiteral("Tarnwell List Cleaner"));
    QVERIFY(seen);
}

QTEST_MAIN(WaylandTest)
#include "tst_wayland.moc"
