// What the window does with the pointer, keys and files dropped on it.

#include "Form1.h"

#include "ListViewKeeper.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QUrl>

// ---- pointer --------------------------------------------------------------------------------

void Form1::setMousePointer(int value)
{
    m_mousePointer = value;
    switch (value) {
    case kPointerHourglass:
        setCursor(Qt::WaitCursor);
        break;
    case kPointerCustom:
        setCursor(m_handCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void Form1::pointerOverButton()
{
    if (m_mousePointer != kPointerHourglass)
        setMousePointer(kPointerCustom);
}

void Form1::pointerElsewhere()
{
    if (m_mousePointer != kPointerHourglass)
        setMousePointer(kPointerDefault);
}

// Controls that ignore a mouse move pass it on to their parent; only a move over the parent's
// own background counts as "elsewhere".
static bool overBareBackground(QWidget *widget, QEvent *event)
{
    const auto *move = static_cast<QMouseEvent *>(event);
    return widget->childAt(move->position().toPoint()) == nullptr;
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    if (overBareBackground(this, event))
        pointerElsewhere();
    QWidget::mouseMoveEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const bool overList = watched == ListView1 || watched == ListView1->viewport();
    switch (event->type()) {
    case QEvent::MouseMove:
        if (qobject_cast<QPushButton *>(watched))
            pointerOverButton();
        else if (overList)
            pointerElsewhere();
        else if ((watched == Frame1 || watched == Frame2) &&
                 overBareBackground(static_cast<QWidget *>(watched), event))
            pointerElsewhere();
        break;
    case QEvent::MouseButtonDblClick:
        // Only a double-click on an item counts; it acts on the current item.
        if (watched == ListView1->viewport() &&
            m_listKeeper->isOnItem(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            m_listKeeper->doubleClickHandled();
            // Nothing while the hourglass shows; while a command runs, after it.
            if (m_mousePointer != kPointerHourglass)
                m_commands.run(QCoreApplication::translate("Tarnwell", "Remove Item"),
                               [this] { ListView1_DblClick(); });
        }
        break;
    case QEvent::KeyPress:
        // Enter that the entry box or an option button left unused runs "Add" here, in the
        // frame around it: under the GTK platform theme the frame keeps it from the window.
        if (watched == Frame1 || watched == Frame2) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                PushButton2->click();
                return true;
            }
        }
        if (watched == ListView1) {
            const auto *key = static_cast<QKeyEvent *>(event);
            // Space ticks (or unticks) every selected item, as the current one goes.
            if (key->key() == Qt::Key_Space && m_listKeeper->severalSelected()) {
                tickSelectedItems();
                return true;
            }
            if (key->key() == Qt::Key_Delete && m_mousePointer != kPointerHourglass)
                m_commands.run(QCoreApplication::translate("Tarnwell", "Remove Item"),
                               [this] { ListView1_KeyDown(kDeleteKeyCode); });
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

static QStringList droppedFiles(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // Load after the drop has completed, so the program the files came from is not kept
    // waiting while a large list loads.
    QTimer::singleShot(0, this, [this, paths] { loadTextFiles(paths); });
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    // Enter that no control used itself runs "Add"; Escape does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PushButton2->click();
        return;
    }
    if (event->key() == Qt::Key_Escape)
        return;
    QWidget::keyPressEvent(event);
}
