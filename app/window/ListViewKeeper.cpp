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

std::vector<qsizetype> ListViewKeeper::selectedRows(const QAbstractItemView &view, qsizetype items)
{
    // From the selection's ranges: a million selected rows would cost a million indexes.
    const QItemSelection selection = view.selectionModel()->selection();
    const auto lastRow = [items](const QItemSelectionRange &range) {
        return int(std::min<qsizetype>(range.bottom(), items - 1));
    };
    qsizetype count = 0;
    bool ascending = true; // ranges one after another, as Ctrl+A or a drag leaves them
    int lastBottom = -1;
    for (const QItemSelectionRange &range : selection) {
        count += std::max(0, lastRow(range) - range.top() + 1);
        ascending = ascending && range.top() > lastBottom;
        lastBottom = range.bottom();
    }
    std::vector<qsizetype> rows;
    rows.reserve(size_t(count));
    for (const QItemSelectionRange &range : selection) {
        // A range's bounds are persistent indexes, looked up afresh at each call.
        for (int row = range.top(), bottom = lastRow(range); row <= bottom; ++row)
            rows.push_back(row);
    }
    if (!ascending) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    }
    return rows;
}

void ListViewKeeper::selectOnly(QAbstractItemView &view, int row)
{
    view.selectionModel()->setCurrentIndex(view.model()->index(row, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
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
