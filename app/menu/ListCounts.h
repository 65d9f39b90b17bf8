#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class ItemList;
class QAction;
class QMenu;
class QTableView;

// How many items the list holds and how many are checked, where a user finds it without
// counting: a first, greyed line of the list's menu, and below the list's own tooltip when it
// shows, and in its accessible description. The list's caption, its own tooltip and the
// window's title stay as they are.
class ListCounts : public QObject
{
    Q_OBJECT

public:
    // Puts its line first in `menu`.
    ListCounts(QTableView &view, ItemList &items, QMenu &menu);

    // "3,985 items, 12 checked", in the user's language.
    static QString text(const ItemList &items);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();

    QTableView &m_view;
    ItemList &m_items;
    QAction *m_line;   // owned by the menu
    QString m_toolTip; // the list's own
    // A change to a long list comes in slices: counted once they have come.
    QTimer m_pending;
};
