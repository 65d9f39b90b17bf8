#pragma once

#include "ListSelection.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class CommandHost;
class ItemList;
class QAction;
class QMenu;
class QTableView;
class SaveLedger;
class UndoHistory;
struct Services;

// The commands of the list's context menu (right-click, the Menu key, Shift+F10), each also
// behind its standard shortcut anywhere in the window: undo and redo, find, check marks in
// bulk, the suppression list, and saving what the last step removed.
class ListMenu : public QObject
{
    Q_OBJECT

public:
    ListMenu(CommandHost &host, QTableView &view, ItemList &items, UndoHistory &history,
             const Services &services, SaveLedger &saves, std::function<void()> findNearDuplicates);

    QMenu &menu() { return *m_menu; }

    void undo();
    void redo();
    void paste();
    void copy();
    void copyChecked();
    void find();
    void findNext();
    void checkAll();
    void uncheckAll();
    void invertChecks();
    void checkItemsWith();
    void checkSelected();
    void uncheckSelected();
    void sortAToZ();
    void sortZToA();
    void reverseOrder();
    void removeItemsListed();
    void keepItemsListed();
    void removeItemsWhoseAddressIsListed();
    void keepItemsWhoseAddressIsListed();
    void saveRemovedItems();
    void findNearDuplicates();

private:
    // A command that changes the list or the history waits its turn (CommandQueue).
    // Its shortcuts work anywhere in the window, or (`onTheList`) when the list has the focus:
    // the entry box keeps its own Copy and Paste.
    // It goes in `menu`, or in the list's menu itself.
    QAction *addCommand(const QString &text, void (ListMenu::*command)(),
                        const QList<QKeySequence> &shortcuts = {}, bool waitsItsTurn = true,
                        bool onTheList = false, QMenu *menu = nullptr);
    void updateSaveRemoved();
    // Opens the menu at `at` (global), kept inside the window where the window's place on
    // screen is unknown (Wayland), so that it never runs off the screen.
    void popUp(const QPoint &at);
    // Undoes (back) or redoes the next step and says so in the status line.
    void replay(bool back);
    // `location` names the command in the error report, the same in every language; `name`
    // is the step's name in the user's.
    void setAllChecks(const QString &location, const QString &name,
                      const std::function<quint8(quint8)> &mark);
    void markSelected(const QString &location, const QString &name, quint8 mark);
    QString askText(const QString &prompt, const QString &defaultText = {});
    // Puts the items in the order `order` works out, as one step named `name`.
    void reorder(const QString &location, const QString &name, const QString &done,
                 const std::function<std::vector<quint32>()> &order);
    // Puts the items of `runs` (ascending) on the clipboard, one line each.
    void copyItems(const std::vector<ListSelection::RowRun> &runs);
    bool clipboardOwnerAnswers();
    // Removes the items listed in files the user picks (`listed`), or the items not listed.
    void removeByList(bool listed, bool byAddress = false);

    CommandHost &m_host;
    QTableView &m_view;
    ItemList &m_items;
    UndoHistory &m_history;
    const Services &m_services;
    SaveLedger &m_saves;
    std::function<void()> m_findNearDuplicates; // opens the review, which lives beside the menu
    QMenu *m_menu;                              // owned by the view
    QAction *m_undo;
    QAction *m_redo;
    QAction *m_saveRemoved;
    QString m_findText;
    bool m_finding = false; // a search is under way, yielding
    bool m_copying = false; // a copy of many items is under way, yielding
    int m_lastCurrentRow = -1;
};
