// The list menu's commands that put the items in another order.

#include "ListMenu.h"

#include "CommandHost.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "Sorting.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QCoreApplication>

void ListMenu::sortAToZ()
{
    reorder(QStringLiteral("Form1.SortAtoZ"),
            QCoreApplication::translate("Tarnwell", "Sort A to Z"),
            QCoreApplication::translate("Tarnwell", "Sorted A to Z."),
            [this] { return List::SortOrder(m_items, false, m_host); });
}

void ListMenu::sortZToA()
{
    reorder(QStringLiteral("Form1.SortZtoA"),
            QCoreApplication::translate("Tarnwell", "Sort Z to A"),
            QCoreApplication::translate("Tarnwell", "Sorted Z to A."),
            [this] { return List::SortOrder(m_items, true, m_host); });
}

void ListMenu::reverseOrder()
{
    reorder(QStringLiteral("Form1.ReverseOrder"),
            QCoreApplication::translate("Tarnwell", "Reverse Order"),
            QCoreApplication::translate("Tarnwell", "Order reversed."),
            [this] { return List::ReversedOrder(m_items.count()); });
}

void ListMenu::reorder(const QString &location, const QString &name, const QString &done,
                       const std::function<std::vector<quint32>()> &order)
{
    Trap trap(m_host.errorReporter(), location);
    if (m_items.count() < 2)
        return;
    const UndoHistory::Command command(m_history, name);
    Hourglass hourglass(m_host);
    trap.line(102, [&] {
        // The texts are copied in the new order beforehand, with yields: when the list
        // changes meanwhile, the order is worked out again.
        for (;;) {
            std::vector<quint32> newOrder = order();
            TextPool texts = List::TextsInOrder(m_items, newOrder, m_host);
            if (texts.size() == m_items.count() && newOrder.size() == size_t(m_items.count())) {
                m_items.reorder(std::move(newOrder), std::move(texts));
                return;
            }
        }
    });
    trap.line(106, [&] { m_host.setProgress(0); });
    hourglass.off();
    trap.line(110, [&] { m_host.setStatus(done); });
}
