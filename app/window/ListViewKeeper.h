#pragma once

#include "ListSelection.h"

#include <QObject>

#include <vector>

class QAbstractItemView;
class QModelIndex;

// Keeps what the list view shows in step with what the remove commands act on: the current
// item is always a selected one (tabbing in or moving with the keys selects it; clicking
// empty space leaves no item current; Ctrl+click adds to the selection or takes from it), and the
// release that ends a double-click does not also tick the check box that a removal has just moved
// under the pointer.
class ListViewKeeper : public QObject
{
    Q_OBJECT

public:
    explicit ListViewKeeper(QAbstractItemView *view);

    // The row the remove commands act on, or -1 when no item is current.
    int currentRow() const;
    // The selected rows of the first `items`, ascending: rows past the end of the list (while
    // a removal goes on in slices) hold no item.
    std::vector<qsizetype> selectedRows(qsizetype items) const
    {
        return ListSelection::selectedRows(*m_view, items);
    }
    bool severalSelected() const;
    // True when a double-click at `position` (viewport coordinates) lands on an item.
    bool isOnItem(const QPoint &position) const;
    // Call once a double-click has been handled: its closing release is swallowed.
    void doubleClickHandled() { m_swallowNextRelease = true; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectCurrent(const QModelIndex &current);
    void followSelection();

    QAbstractItemView *m_view;
    // Kept apart from the view: while the view is torn down its viewport still sends events,
    // and the view can no longer be asked for it.
    QWidget *m_viewport;
    bool m_swallowNextRelease = false;
    bool m_ctrlPress = false; // a Ctrl+click is under way
};
