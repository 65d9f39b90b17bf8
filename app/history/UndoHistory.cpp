#include "UndoHistory.h"

#include "ItemList.h"

#include <QCoreApplication>

#include <algorithm>

#include <unistd.h>

namespace {

QString handTicks()
{
    return QCoreApplication::translate("Tarnwell", "Check Mark");
}
QString handTicksMerged()
{
    return QCoreApplication::translate("Tarnwell", "Check Marks");
}

// One step: the changes one command made, taken back last one first.
class ListStep : public QUndoCommand
{
public:
    ListStep(ItemList &items, const QString &name, quint64 invocation, ListChange &&change)
        : QUndoCommand(name), m_items(items), m_invocation(invocation),
          m_appendedFrom(change.kind == ListChange::Kind::Appended ? change.first : -1)
    {
        take(std::move(change));
    }

    // The same step, its record moved into a new one, for a history rebuilt to fit its
    // memory budget; pushing it makes nothing again.
    static ListStep *movedFrom(ListStep &step)
    {
        auto *moved = new ListStep(step.m_items, step.text(), step.m_invocation);
        moved->m_changes = std::move(step.m_changes);
        moved->m_appendedFrom = step.m_appendedFrom;
        moved->m_bytes = step.m_bytes;
        moved->m_removed = step.m_removed;
        return moved;
    }

    int id() const override { return 1; }
    quint64 invocation() const { return m_invocation; }

    // What the step's record holds, and how many items it took from the list: kept up to
    // date as changes join, so asking costs nothing however many there are.
    qsizetype bytesHeld() const { return qsizetype(sizeof(ListStep)) + m_bytes; }
    qsizetype removedCount() const { return m_removed; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const ListStep *>(other);
        if (next->m_invocation != m_invocation)
            return false;
        if (text() == handTicks())
            setText(handTicksMerged());
        auto &changes = const_cast<ListStep *>(next)->m_changes;
        for (ListChange &change : changes)
            take(std::move(change));
        changes.clear();
        return true;
    }

    void undo() override
    {
        // A step that began by appending (a load, with its duplicate removal) and left the
        // items before alone is taken back by setting aside what it left from there on; redo
        // puts that back. Taking back and making again each change would move millions of
        // items twice over.
        if (leftTheItemsBeforeAlone()) {
            m_items.takeTail(m_appendedFrom, m_setAside);
            m_setAsideHeld = true;
            return;
        }
        for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change) {
            finishChangeInSlices();
            m_items.undo(*change);
        }
    }

    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_done) {
            m_done = false;
            return;
        }
        if (m_setAsideHeld) {
            m_items.putTail(m_setAside);
            m_setAsideHeld = false;
            return;
        }
        for (ListChange &change : m_changes) {
            finishChangeInSlices();
            m_items.redo(change);
        }
    }

    // Called before each slice while the step is taken back or made again, or none.
    void setBetweenSlices(const std::function<void()> *betweenSlices)
    {
        m_betweenSlices = betweenSlices;
    }

    const std::vector<ListChange> &changes() const { return m_changes; }

private:
    void take(ListChange &&change)
    {
        m_bytes += qsizetype(sizeof(ListChange)) + change.bytesHeld();
        m_removed += change.removedCount();
        m_changes.push_back(std::move(change));
    }

    ListStep(ItemList &items, const QString &name, quint64 invocation)
        : QUndoCommand(name), m_items(items), m_invocation(invocation), m_appendedFrom(-1)
    {
    }

    // The change before the next one, when it goes a slice at a time, goes on so until it is
    // through: the next change would otherwise finish it in one go, and a removal of
    // hundreds of thousands taken back at once holds the window up.
    void finishChangeInSlices()
    {
        if (m_betweenSlices == nullptr)
            return;
        while (m_items.changeUnderWay()) {
            (*m_betweenSlices)();
            m_items.continueChange();
        }
    }

    ItemList &m_items;
    const std::function<void()> *m_betweenSlices = nullptr;
    quint64 m_invocation;
    std::vector<ListChange> m_changes;
    bool m_done = true;
    qsizetype m_appendedFrom;      // where the step's first change appended, or -1
    ItemList::SetAside m_setAside; // what the step left, while it is taken back
    bool m_setAsideHeld = false;
    qsizetype m_bytes = 0;
    qsizetype m_removed = 0;

    // A removal that kept the rest anew kept the items before the first appended one.
    bool keptEveryItemBefore(const ListChange &change) const
    {
        const auto first = qsizetype(m_appendedFrom);
        return qsizetype(change.order.size()) >= first &&
               (first == 0 || change.order[size_t(first - 1)] == quint32(first - 1));
    }

    bool leftTheItemsBeforeAlone() const
    {
        if (m_appendedFrom < 0)
            return false;
        for (const ListChange &change : m_changes) {
            const bool alone = change.kind == ListChange::Kind::Appended ||
                               (change.kind == ListChange::Kind::Removed &&
                                qsizetype(change.removedPositions().front()) >= m_appendedFrom) ||
                               (change.kind == ListChange::Kind::MarksFlipped &&
                                *std::min_element(change.positions.begin(),
                                                  change.positions.end()) >= m_appendedFrom) ||
                               (change.keptSome() && keptEveryItemBefore(change));
            if (!alone)
                return false;
        }
        return true;
    }
};

} // namespace

namespace {
// A quarter of the machine's memory, and no more than 2 GB.
qsizetype defaultMemoryBudget()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    const qsizetype gigabytes2 = qsizetype(2) << 30;
    if (pages <= 0 || pageSize <= 0)
        return gigabytes2;
    return std::min(gigabytes2, qsizetype(pages) * qsizetype(pageSize) / 4);
}
} // namespace

UndoHistory::UndoHistory(ItemList &items, QObject *parent)
    : QObject(parent), m_items(items), m_itemsAlive(&items), m_memoryBudget(defaultMemoryBudget())
{
    // A long session stays bounded: each step holds at most what it removed, only the last
    // 20 steps are kept, and only as many of them as fit the memory budget.
    m_stack.setUndoLimit(20);
    m_items.setObserver(this);
}

UndoHistory::~UndoHistory()
{
    if (m_itemsAlive.isNull())
        return;
    m_items.settle(); // a step being taken back reads from the history
    m_items.setObserver(nullptr);
}

UndoHistory::Command::Command(UndoHistory &history, const QString &name) : m_history(history)
{
    m_history.m_running.push_back({name, ++m_history.m_lastInvocation});
    m_history.m_handTicks = 0;
}

UndoHistory::Command::~Command()
{
    const Running ended = m_history.m_running.back();
    m_history.m_running.pop_back();
    if (ended.invocation == m_history.m_notKept)
        Q_EMIT m_history.stepNotKept(ended.name);
}

void UndoHistory::listChanged(ListChange &&change)
{
    // A change made while a command runs is part of its step, ticks by hand included.
    // Ticks made between commands are a step of their own, one for a run of them;
    // any other change no command names (none should happen) is a step of its own.
    Running running;
    if (!m_running.empty()) {
        running = m_running.back();
    } else if (change.kind == ListChange::Kind::MarksFlipped) {
        if (m_handTicks == 0)
            m_handTicks = ++m_lastInvocation;
        running = {handTicks(), m_handTicks};
    } else {
        running = {QCoreApplication::translate("Tarnwell", "Change"), ++m_lastInvocation};
        m_handTicks = 0;
    }
    // The rest of a step too large to keep goes unrecorded too: what is kept is whole steps.
    if (running.invocation == m_notKept)
        return;
    m_stack.push(new ListStep(m_items, running.name, running.invocation, std::move(change)));
    keepWithinBudget();
}

void UndoHistory::keepWithinBudget()
{
    // Right after a push there is nothing to make again: every step is one that was made.
    const int count = m_stack.count();
    const auto stepAt = [this](int index) {
        return const_cast<ListStep *>(static_cast<const ListStep *>(m_stack.command(index)));
    };
    qsizetype total = 0;
    int firstKept = count;
    for (int index = count - 1; index >= 0; --index) {
        total += stepAt(index)->bytesHeld();
        if (total > m_memoryBudget)
            break;
        firstKept = index;
    }
    if (firstKept == 0)
        return;
    if (firstKept == count)
        m_notKept = stepAt(count - 1)->invocation();
    // QUndoStack drops no step but by its count: build it anew from the steps kept.
    std::vector<ListStep *> kept;
    for (int index = firstKept; index < count; ++index)
        kept.push_back(ListStep::movedFrom(*stepAt(index)));
    m_stack.clear();
    for (ListStep *step : kept)
        m_stack.push(step);
}

bool UndoHistory::undo(const std::function<void()> &betweenSlices)
{
    return replay(true, betweenSlices);
}

bool UndoHistory::redo(const std::function<void()> &betweenSlices)
{
    return replay(false, betweenSlices);
}

bool UndoHistory::replay(bool back, const std::function<void()> &betweenSlices)
{
    m_handTicks = 0;
    if (back ? !m_stack.canUndo() : !m_stack.canRedo())
        return false;
    auto *step = const_cast<ListStep *>(
        static_cast<const ListStep *>(m_stack.command(m_stack.index() - (back ? 1 : 0))));
    // However the step ends (a failure is thrown on to the caller), it calls nothing later.
    struct Between
    {
        ListStep *step;
        ~Between() { step->setBetweenSlices(nullptr); }
    } between{step};
    step->setBetweenSlices(betweenSlices ? &betweenSlices : nullptr);
    back ? m_stack.undo() : m_stack.redo();
    return true;
}

qsizetype UndoHistory::removedCountOfLastStep() const
{
    if (m_stack.index() == 0)
        return 0;
    return static_cast<const ListStep *>(m_stack.command(m_stack.index() - 1))->removedCount();
}

TextPool UndoHistory::removedByLastStep() const
{
    TextPool removed;
    if (m_stack.index() == 0)
        return removed;
    const auto *step = static_cast<const ListStep *>(m_stack.command(m_stack.index() - 1));
    for (const ListChange &change : step->changes()) {
        if (change.removedCount() > 0)
            removed.append(change.removedTexts());
    }
    return removed;
}
