// The window's commands that edit the list: by hand, the sample list and the filters.

#include "Form1.h"

#include "Hourglass.h"
#include "ItemList.h"
#include "LineBreaks.h"
#include "List.h"
#include "ListViewKeeper.h"
#include "SampleList.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTableView>

// ---- editing by hand ------------------------------------------------------------------------

void Form1::PushButton1_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton1_Click"));
    const UndoHistory::Command command(*m_history,
                                       QCoreApplication::translate("Tarnwell", "Clear All Items"));
    if (trap.test(100, [&] {
            return msgBox(QCoreApplication::translate("Tarnwell",
                                                      "Are you sure you want to clear the list?"),
                          Prompts::Style::YesNo) != Prompts::Answer::Yes;
        }))
        return;
    trap.line(102, [&] { m_items->clear(); });
    trap.line(104, [&] { setStatus(QCoreApplication::translate("Tarnwell", "List cleared.")); });
}

void Form1::PushButton2_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton2_Click"));
    const UndoHistory::Command command(*m_history, QCoreApplication::translate("Tarnwell", "Add"));
    const QString text = Text1->text();
    if (trap.test(100, [&] { return text.isEmpty(); }))
        return;
    // Several lines pasted into the box are an item each.
    if (LineBreaks::holdsBreak(text)) {
        trap.line(108, [&] {
            const List::AddedLines counts =
                List::AddLines(*m_items, LineBreaks::nonEmptyLines(text), *this);
            setStatus(addedLinesStatus(counts.added, counts.refused));
            scrollToLastItem();
        });
        return;
    }
    if (trap.test(102, [&] { return List::ItemExists(*m_items, text, caseOption(), *this); })) {
        trap.line(104, [&] {
            setStatus(QCoreApplication::translate("Tarnwell", "Duplicate item found, not added."));
        });
        return;
    }
    trap.line(106,
              [&] { setStatus(QCoreApplication::translate("Tarnwell", "Unique item, added.")); });
    trap.line(108, [&] {
        m_items->append(text);
        scrollToLastItem();
    });
}

void Form1::scrollToLastItem()
{
    if (m_items->count() == 0)
        return;
    // The view lays out new rows later; its scroll range must know the new last row now.
    ListView1->doItemsLayout();
    ListView1->scrollTo(m_items->index(int(m_items->count() - 1), 0));
}

QString Form1::addedLinesStatus(qsizetype added, qsizetype refused)
{
    if (refused == 0)
        return QCoreApplication::translate("Tarnwell", "%n item(s) added.", nullptr, int(added));
    return QCoreApplication::translate("Tarnwell", "%n item(s) added", nullptr, int(added)) +
           QCoreApplication::translate("Tarnwell", ", %n duplicate(s) not added.", nullptr,
                                       int(refused));
}

void Form1::PushButton19_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton19_Click"));
    const UndoHistory::Command command(
        *m_history, QCoreApplication::translate("Tarnwell", "Remove Selected Item"));
    if (trap.test(100, [&] { return m_items->count() == 0; }))
        return;
    // With items but none current there is nothing to remove; the status still follows.
    trap.line(102, [&] { removeCurrentItem(); });
    trap.line(104, [&] { setStatus(List::listLoadedStatus()); });
}

void Form1::removeCurrentItem()
{
    // With several items selected they all go, as one step; with one, the current item.
    qsizetype first = -1; // the first row removed
    if (m_listKeeper->severalSelected()) {
        std::vector<qsizetype> rows = m_listKeeper->selectedRows(m_items->count());
        if (rows.empty())
            return; // only rows a removal under way is about to drop
        first = rows.front();
        // Millions of them go a slice at a time, the window live.
        List::RemoveItemsAt(*m_items, std::move(rows), m_items->revision(), *this);
        setProgress(0);
    } else {
        const int row = m_listKeeper->currentRow();
        if (row < 0 || row >= m_items->count())
            return;
        first = row;
        m_items->removePositions({row});
    }
    // The item that took the first removed one's place is current, so Delete goes on down.
    if (m_items->count() > 0)
        ListSelection::selectOnly(*ListView1, int(std::min(first, m_items->count() - 1)));
}

void Form1::tickSelectedItems()
{
    const int current = m_listKeeper->currentRow();
    const bool tick = current < 0 || current >= m_items->count() || !m_items->isChecked(current);
    m_items->setCheckedAll(m_listKeeper->selectedRows(m_items->count()), tick);
}

// The list's own handlers have no numbered steps; a failure is still reported (as line 0),
// never let loose in the event loop.
void Form1::ListView1_DblClick()
{
    const UndoHistory::Command command(*m_history,
                                       QCoreApplication::translate("Tarnwell", "Remove Item"));
    Trap(m_reporter, QStringLiteral("Form1.ListView1_DblClick")).line(0, [&] {
        if (m_mousePointer == kPointerHourglass || m_items->count() == 0)
            return;
        // The one item clicked, whatever else was selected.
        const int row = m_listKeeper->currentRow();
        if (row >= 0 && row < m_items->count())
            m_items->removeAt(row);
    });
}

void Form1::ListView1_KeyDown(int keyCode)
{
    const UndoHistory::Command command(*m_history,
                                       QCoreApplication::translate("Tarnwell", "Remove Item"));
    Trap(m_reporter, QStringLiteral("Form1.ListView1_KeyDown")).line(0, [&] {
        if (keyCode == kDeleteKeyCode && m_mousePointer != kPointerHourglass &&
            m_items->count() > 0)
            removeCurrentItem();
    });
}

// ---- sample list and filters ----------------------------------------------------------------

void Form1::PushButton22_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton22_Click"));
    const UndoHistory::Command command(
        *m_history, QCoreApplication::translate("Tarnwell", "Load Sample/Example List"));
    int line = 100;
    for (const char16_t *sample : kSampleList) {
        trap.line(line, [&] { m_items->append(QStringView(sample)); });
        line += 2;
    }
    trap.line(114, [&] { List::RemoveDupesAll(*m_items, *this); });
}

void Form1::PushButton17_Click()
{
    filterCommand(QStringLiteral("Form1.PushButton17_Click"),
                  QCoreApplication::translate("Tarnwell", "You forgot to load in List"), true);
}

void Form1::PushButton16_Click()
{
    filterCommand(QStringLiteral("Form1.PushButton16_Click"),
                  QCoreApplication::translate("Tarnwell", "You forgot to load in List 1."), false);
}

void Form1::filterCommand(const QString &location, const QString &emptyListMessage,
                          bool removeItemsWith)
{
    Trap trap(m_reporter, location);
    if (trap.test(100, [&] { return m_items->count() == 0; })) {
        trap.line(102, [&] { msgBox(emptyListMessage); });
        return;
    }
    QString searchText;
    trap.line(104, [&] {
        searchText = m_services.prompts.inputBox(
            QCoreApplication::translate("Tarnwell", "Enter string: "), m_appTitle, QString());
    });
    if (trap.test(106, [&] { return searchText.isEmpty(); }))
        return;
    const UndoHistory::Command command(
        *m_history,
        (removeItemsWith ? QCoreApplication::translate("Tarnwell", "Remove Items With \"%1\"")
                         : QCoreApplication::translate("Tarnwell", "Remove Items Without \"%1\""))
            .arg(searchText));
    Hourglass hourglass(*this);
    trap.line(110, [&] {
        if (removeItemsWith)
            List::RemoveItemsWith(*m_items, searchText, *this);
        else
            List::RemoveItemsWithout(*m_items, searchText, *this);
    });
    hourglass.off();
    trap.line(114, [&] { setStatus(List::listLoadedStatus()); });
}
