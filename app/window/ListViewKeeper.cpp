#include "ListViewKeeper.h"

#include <QAbstractItemView>

#include <QEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <algorithm>

ListViewKeeper::ListViewKeeper(QAbstractItemView *view)
    : QObject(view), m_view(view), m_viewport(view->viewport())
{
    QItemSelectionModel *selection = view->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { selectCurrent(current); });
    connect(selection, &QItemSelectionModel::selectionChanged, this, [this] { followSelection(); });
    m_viewport->installEventFilter(this);
}

int ListViewKeeper::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid() || !m_view->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

bool ListViewKeeper::isOnItem(const QPoint &position) const
{
    return m_view->indexAt(position).isValid();
}

bool ListViewKeeper::severalSelected() const
{
    const QItemSelection selection = m_view->selectionModel()->selection();
    return selection.size() > 1 || (selection.size() == 1 && selection.front().height() > 1);
}

void ListViewKeeper::selectCurrent(const QModelIndex &current)
{
    // Ctrl+click moves the current item before it adds it to the selection or takes it away:
    // that is the user's selection to make.
    if (m_ctrlPress)
        return;
    if (current.isValid() && !m_view->selectionModel()->isSelected(current))
        m_view->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
}

void ListViewKeeper::followSelection()
{
    // A click on empty space clears the selection: then no item is current either.
    QItemSelectionModel *selection = m_view->selectionModel();
    if (!selection->hasSelection() && selection->currentIndex().isValid())
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

bool ListViewKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport && event->type() == QEvent::MouseButtonRelease &&
        m_swallowNextRelease) {
        m_swallowNextRelease = false;
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        m_swallowNextRelease = false;
        m_ctrlPress = static_cast<QMouseEvent *>(event)->modifiers().testFlag(Qt::ControlModifier);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        m_ctrlPress = false;
    }
    return QObject::eventFilter(watched, event);
}
