#pragma once

#include "ListChange.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

#include <functional>

class ItemList;

// The list's undo history: every change to the list becomes a step on a QUndoStack, named
// after the command that made it. All a command's changes are one step (a load's items, then
// its duplicate removal; a filter with all its slices): commands run one after another (see
// CommandQueue), and a tick by hand while one runs is part of its step. Ticks by hand
// between commands are a step of their own, one for each run of them, so every mark the user
// sets comes back as it was by undo and redo.
class UndoHistory : public QObject, private ListChangeObserver
{
    Q_OBJECT

public:
    explicit UndoHistory(ItemList &items, QObject *parent = nullptr);
    ~UndoHistory() override;

    QUndoStack &stack() { return m_stack; }
    // The most memory the kept steps may hold; the oldest go first. A step larger than that
    // is not kept at all.
    void setMemoryBudget(qsizetype bytes) { m_memoryBudget = bytes; }
    // Take back or make again the next step (false when there is none). Either ends a run of
    // ticks by hand: the next tick is a step of its own. A step of several changes whose
    // first one goes a slice at a time (a long removal taken back) calls `betweenSlices`
    // before each of its slices until it is through and the next change can follow, so the
    // window takes its turns meanwhile; without it, each change is finished at once. The last
    // change may still be under way on return (ItemList::changeUnderWay()).
    bool undo(const std::function<void()> &betweenSlices = {});
    bool redo(const std::function<void()> &betweenSlices = {});

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

Q_SIGNALS:
    // The command `name` has ended, and its step was too large to keep for undo.
    void stepNotKept(const QString &name);

private:
    void listChanged(ListChange &&change) override;
    void keepWithinBudget();
    bool replay(bool back, const std::function<void()> &betweenSlices);

    struct Running
    {
        QString name;
        quint64 invocation = 0;
    };

    ItemList &m_items;
    // The list may go first when the window that owns both is torn down.
    QPointer<ItemList> m_itemsAlive;
    QUndoStack m_stack;
    std::vector<Running> m_running; // innermost last
    quint64 m_lastInvocation = 0;
    quint64 m_handTicks = 0; // the run of ticks by hand a tick joins, 0 for none
    qsizetype m_memoryBudget;
    quint64 m_notKept = 0; // the step too large to keep, while its command runs
};
