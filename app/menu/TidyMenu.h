#pragma once

#include "Tidying.h"

#include <QObject>
#include <QString>

#include <functional>

class CommandHost;
class ItemList;
class QMenu;
class UndoHistory;

// The "Tidy" submenu of the list's context menu: commands that change item texts in place
// (blanks, invisible characters, letter case) or drop empty items, then remove the
// duplicates that leaves, as a load does; each is one undo step.
class TidyMenu : public QObject
{
    Q_OBJECT

public:
    TidyMenu(CommandHost &host, ItemList &items, UndoHistory &history, QMenu &listMenu);

    void trimBlanks();
    void collapseInnerBlanks();
    void removeInvisibleCharacters();
    void removeEmptyItems();
    void lowerCase();
    void upperCase();

private:
    void addCommand(QMenu &menu, const QString &text, void (TidyMenu::*command)());
    // Runs the command `name`, reported at `location` (the same in every language): `change`
    // changes the list and says what it did for the status line; duplicate removal follows,
    // and its status text is added.
    void run(const QString &location, const QString &name, const std::function<QString()> &change);
    void rewrite(const QString &location, const QString &name, const Tidy::Rule &rule);

    CommandHost &m_host;
    ItemList &m_items;
    UndoHistory &m_history;
};
