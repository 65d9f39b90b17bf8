#pragma once

#include "ListChange.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

class ItemList;

// The list's undo history: every change to the list becomes a step on a QUndoStack, named
// after the command that made it. A command's changes that follow one another with nothing in
// between (a load's items, then its duplicate removal) are one step; a command run while
// another yields makes steps of its own, in the order the changes happened, so the history
// always matches the list.
class UndoHistory : public QObject, private ListChangeObserver
{
    Q_OBJECT

public:
    explicit UndoHistory(ItemList &items, QObject *parent = nullptr);
    ~UndoHistory() override;

    QUndoStack &stack() { return m_stack; }

    // Names the changes made while it lives (a command's handler holds one).
    class Command
    {
    public:
        Command(UndoHistory &history, const QString &name);
        ~Command();
        Command(const Command &) = delete;
        Command &operator=(const Command &) = delete;

    private:
        UndoHistory &m_history;
    };

    // The items the step that would be undone next took from the list, in list order, and
    // how many they are.
    TextPool removedByLastStep() const;
    qsizetype removedCountOfLastStep() const;

private:
    void listChanged(ListChange &&change) override;

    struct Running
    {
        QString name;
        quint64 invocation;
    };

    ItemList &m_items;
    // The list may go first when the window that owns both is torn down.
    QPointer<ItemList> m_itemsAlive;
    QUndoStack m_stack;
    std::vector<Running> m_running; // innermost last
    quint64 m_lastInvocation = 0;
};
