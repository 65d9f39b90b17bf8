#include "ItemStore.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <numeric>

void ItemStore::flipMarks(const std::vector<qsizetype> &positions)
{
    for (const qsizetype position : positions)
        m_checks[size_t(position)] ^= 1;
}

void ItemStore::makeRoomForMarks(qsizetype added)
{
    const size_t needed = m_checks.size() + size_t(added);
    if (needed > m_checks.capacity())
        m_checks.reserve(std::max(needed, m_checks.capacity() + m_checks.capacity() / 2));
}

void ItemStore::append(ItemText text)
{
    makeRoomForMarks(1);
    m_texts.append(text);
    m_checks.push_back(0);
}

void ItemStore::appendAll(const std::vector<QStringView> &texts)
{
    qsizetype bytes = m_texts.byteCount();
    for (QStringView text : texts)
        bytes += text.size();
    if (bytes > TextPool::kMaxBytes) // a character takes a byte at least
        throw TextPool::tooMuchText();
    makeRoomForMarks(qsizetype(texts.size()));
    const qsizetype before = count();
    m_texts.reserve(std::max(count() + qsizetype(texts.size()), count() * 3 / 2),
                    std::max(bytes, m_texts.byteCount() * 3 / 2));
    try {
        for (QStringView text : texts)
            m_texts.append(text);
    } catch (...) {
        m_texts.truncate(before); // its own buffer since reserve(): nothing to copy
        throw;
    }
    m_checks.resize(m_checks.size() + texts.size(), 0);
}

void ItemStore::appendPool(const TextPool &texts)
{
    makeRoomForMarks(texts.size());
    m_texts.append(texts);
    m_checks.resize(m_checks.size() + size_t(texts.size()), 0);
}

void ItemStore::appendPool(const TextPool &texts, qsizetype first, qsizetype last)
{
    if (first == 0) {
        m_texts.reserveToAppend(texts);
        makeRoomForMarks(texts.size());
    } else {
        makeRoomForMarks(last - first);
    }
    m_texts.append(texts, first, last);
    m_checks.resize(m_checks.size() + size_t(last - first), 0);
}

void ItemStore::removeRange(qsizetype first, qsizetype last)
{
    if (last + 1 == count()) {
        m_texts.truncate(first);
    } else {
        std::vector<quint32> positions(size_t(last - first + 1));
        std::iota(positions.begin(), positions.end(), quint32(first));
        m_texts.removeSorted(positions);
    }
    m_checks.erase(m_checks.begin() + first, m_checks.begin() + last + 1);
}

void ItemStore::takeAll(TextPool &texts, std::vector<quint8> &checks)
{
    texts = m_texts;
    m_texts.clear();
    checks.clear();
    checks.swap(m_checks);
}

void ItemStore::replaceAll(const TextPool &texts, const std::vector<quint8> &checks)
{
    m_texts = texts;
    m_checks = checks;
}

void ItemStore::exchangeTexts(TextPool &texts, const std::vector<quint32> &order,
                              std::vector<quint8> &otherChecks, bool forward)
{
    const bool keepsSome = !order.empty() && texts.size() != count();
    // Marks all alike (most often none at all) stay as they are in any order: ten million of
    // them gathered in a random order would cost the window a fifth of a second.
    const bool marksMove =
        !order.empty() && (keepsSome ? forward
                                     : std::adjacent_find(m_checks.begin(), m_checks.end(),
                                                          std::not_equal_to<>()) != m_checks.end());
    // The marks in their new places come first: a failure leaves the store as it was.
    std::vector<quint8> checks;
    if (marksMove) {
        checks.resize(size_t(texts.size()));
        for (size_t position = 0; position < order.size(); ++position) {
            if (forward)
                checks[position] = m_checks[order[position]];
            else
                checks[order[position]] = m_checks[position];
        }
    }
    std::swap(m_texts, texts);
    if (keepsSome && !forward)
        m_checks.swap(otherChecks);
    if (!marksMove)
        return;
    m_checks.swap(checks);
    if (keepsSome)
        otherChecks.swap(checks);
}

qsizetype ItemStore::removeSortedUpTo(const std::vector<quint32> &ascending, qsizetype done,
                                      qsizetype processed, qsizetype until, PackedTexts *removedOut,
                                      bool givesMemoryBack)
{
    const qsizetype oldCount = count();
    const auto sliceBegin = ascending.begin() + done;
    const auto sliceEnd = std::lower_bound(sliceBegin, ascending.end(), quint32(until));
    const qsizetype doneAfter =
        m_texts.removeSortedUpTo(ascending, done, processed, until, removedOut, givesMemoryBack);
    // The marks close up the same way; those of the rows not handled yet move down.
    quint8 *const marks = m_checks.data();
    const qsizetype firstRow = processed - done;
    qsizetype write = firstRow;
    qsizetype next = firstRow;
    for (auto position = sliceBegin; position != sliceEnd; ++position) {
        const qsizetype row = qsizetype(*position) - done;
        std::memmove(marks + write, marks + next, size_t(row - next));
        write += row - next;
        next = row + 1;
    }
    std::memmove(marks + write, marks + next, size_t(oldCount - next));
    m_checks.resize(size_t(write + oldCount - next));
    Q_ASSERT(qsizetype(m_checks.size()) == count());
    return doneAfter;
}

void ItemStore::insertSorted(const std::vector<quint32> &ascending, qsizetype from, qsizetype to,
                             const PackedTexts &texts, const std::vector<quint8> &checks)
{
    const qsizetype oldCount = count();
    m_texts.insertSorted(ascending.data() + from, to - from, texts, from);
    openUpChecks(ascending, from, to, 0, oldCount, checks);
}

qsizetype ItemStore::insertSortedDownTo(const std::vector<quint32> &ascending,
                                        const PackedTexts &texts, const std::vector<quint8> &checks,
                                        qsizetype placed, qsizetype settledFrom, qsizetype lowest)
{
    const qsizetype total = qsizetype(ascending.size());
    const qsizetype waiting = total - placed;
    const qsizetype lowestWaiting =
        std::lower_bound(ascending.begin(), ascending.begin() + waiting, quint32(lowest)) -
        ascending.begin();
    // The rows from here on are those placed already, and they stand `waiting` rows early.
    const qsizetype unmoved = settledFrom - waiting;
    if (placed == 0)
        m_checks.reserve(m_checks.size() + size_t(total)); // as the texts' ends, moved once
    const qsizetype placedAfter =
        m_texts.insertSortedDownTo(ascending.data(), total, texts, 0, placed, settledFrom, lowest);
    openUpChecks(ascending, lowestWaiting, waiting, lowestWaiting, unmoved, checks);
    return placedAfter;
}

void ItemStore::openUpChecks(const std::vector<quint32> &positions, qsizetype from, qsizetype to,
                             qsizetype shift, qsizetype firstMoving,
                             const std::vector<quint8> &checks)
{
    const qsizetype oldCount = qsizetype(m_checks.size());
    const qsizetype inserting = to - from;
    m_checks.resize(size_t(oldCount + inserting));
    quint8 *const marks = m_checks.data();
    std::memmove(marks + firstMoving + inserting, marks + firstMoving,
                 size_t(oldCount - firstMoving));
    // From the end down, a run of old marks at a time.
    qsizetype old = firstMoving;
    qsizetype write = firstMoving + inserting;
    for (qsizetype k = to - 1; k >= from; --k) {
        const qsizetype row = qsizetype(positions[size_t(k)]) - shift;
        const qsizetype run = write - (row + 1);
        old -= run;
        write -= run;
        std::memmove(marks + write, marks + old, size_t(run));
        marks[--write] = checks[size_t(k)];
    }
}

void ItemStore::takeTail(qsizetype first, SetAside &aside)
{
    aside.first = first;
    const qsizetype tail = count() - first;
    aside.whole = tail >= first;
    if (tail == 0) {
        aside.texts = TextPool();
        aside.checks.clear();
    } else if (aside.whole) {
        // Copy the few items before `first` for the list and keep the whole buffer aside.
        // Both copies come first: a failure leaves the store as it was.
        TextPool head;
        head.append(m_texts, 0, first);
        std::vector<quint8> headChecks(m_checks.begin(), m_checks.begin() + first);
        aside.texts = m_texts;
        m_texts = head;
        aside.checks.swap(m_checks);
        m_checks.swap(headChecks);
    } else {
        aside.texts = m_texts.tail(first);
        aside.checks.assign(m_checks.begin() + first, m_checks.end());
        m_texts.truncate(first);
        m_checks.resize(size_t(first));
    }
}

void ItemStore::putTail(SetAside &aside)
{
    Q_ASSERT(count() == aside.first);
    if (aside.whole) {
        // The items before `first` are as they were; their marks may have been clicked since.
        m_texts = aside.texts;
        std::copy(m_checks.begin(), m_checks.end(), aside.checks.begin());
        m_checks.swap(aside.checks);
    } else {
        makeRoomForMarks(qsizetype(aside.checks.size()));
        m_texts.append(aside.texts);
        m_checks.insert(m_checks.end(), aside.checks.begin(), aside.checks.end());
    }
    aside.texts = TextPool(); // the list's own again: sharing it would copy it on change
    aside.checks.clear();
}
