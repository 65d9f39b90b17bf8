#include "DuplicateScan.h"

#include <algorithm>
#include <stdexcept>

namespace {

// The bits of a hash a slot keeps: the top ones, as the low ones choose the slot.
std::uint8_t shortHash(size_t hash)
{
    return std::uint8_t(std::uint64_t(hash) >> 56);
}

// Room for every item at a load of at most three quarters: short probe sequences, and a table
// that stays a small part of the list's memory. Any size will do, as a slot is chosen by
// scaling the hash, not by masking it.
size_t tableCapacity(const TextPool &texts, CaseOption option)
{
    if (texts.size() >= qsizetype(UINT32_MAX))
        throw std::length_error("too many items to compare");
    if (option == CaseOption::CompareNothing)
        return 16;
    return std::max<size_t>(16, size_t(texts.size()) * 4 / 3 + 1);
}

} // namespace

DuplicateScan::DuplicateScan(const TextPool &texts, CaseOption option, std::uint64_t seed)
    : m_texts(texts), m_option(option), m_seed(seed),
      m_next(option == CaseOption::CompareNothing ? -1 : texts.size() - 1),
      m_slots(tableCapacity(texts, option)), m_capacity(m_slots.size()), m_duplicates(texts.size())
{
}

void DuplicateScan::advance(qsizetype budget)
{
    // The table's memory first, a part a slice: the items land all over it.
    if (m_slots.bringInPart())
        return;
    // The table and the texts are far larger than the caches, and waiting for memory, not
    // comparing, is what takes the time. So each item goes through a pipeline: hash it and
    // fetch its slot; some items later, read the slot and fetch the text of the item it may
    // duplicate (for a long item, first where that text is kept, and its text later again);
    // and only then examine it, when all of that has arrived. A fetch is only a hint: examine()
    // reads everything afresh.
    constexpr qsizetype kSlotLag = 8, kBoundsLag = 16, kExamineLag = 24, kRing = 32;
    constexpr qsizetype kReadAhead = 16;
    size_t hashes[kRing];
    qsizetype candidates[kRing]; // a long item that may be equal, -1 if none
    const qsizetype first = m_next;
    const qsizetype count = first - std::max<qsizetype>(-1, m_next - budget);
    for (qsizetype step = 0; step < count + kExamineLag; ++step) {
        if (step < count) {
            // The texts are read from the end down, which the hardware's own prefetching
            // follows less well than reading up.
            if (step + kReadAhead < count)
                __builtin_prefetch(m_texts.dataOf(first - step - kReadAhead));
            const size_t hash = comparisonHash(m_texts.at(first - step), m_option, m_seed);
            hashes[step % kRing] = hash;
            __builtin_prefetch(&m_slots[slotOf(hash)]);
        }
        if (const qsizetype item = step - kSlotLag; item >= 0 && item < count) {
            const size_t hash = hashes[item % kRing];
            const Slot &slot = m_slots[slotOf(hash)];
            candidates[item % kRing] = -1;
            if (mayMatch(slot, m_texts.length(first - item), shortHash(hash))) {
                if (slot.length < kWide) {
                    // Its first and last characters: a text often spans two cache lines.
                    const ItemText text = m_texts.latin1Span(slot.where, slot.length - 1);
                    const char *bytes = static_cast<const char *>(text.data());
                    __builtin_prefetch(bytes);
                    __builtin_prefetch(bytes + std::max<qsizetype>(0, text.size() - 1));
                } else {
                    candidates[item % kRing] = slot.where;
                    __builtin_prefetch(m_texts.boundsOf(slot.where));
                }
            }
        }
        if (const qsizetype item = step - kBoundsLag; item >= 0 && item < count) {
            if (const qsizetype candidate = candidates[item % kRing]; candidate >= 0)
                __builtin_prefetch(m_texts.dataOf(candidate));
        }
        if (const qsizetype item = step - kExamineLag; item >= 0 && item < count)
            examine(first - item, hashes[item % kRing]);
    }
    m_next = first - count;
}

bool DuplicateScan::mayMatch(const Slot &slot, qsizetype length, std::uint8_t hash) const
{
    if (slot.length == kEmpty || slot.hash != hash)
        return false;
    // Texts equal ignoring case may differ in length ("ß", "SS"); matching case they may not.
    if (m_option != CaseOption::MatchCase)
        return true;
    if (slot.length == kWide)
        return true;
    return slot.length == kLong ? length >= kShortestLong : slot.length - 1 == length;
}

ItemText DuplicateScan::textOf(const Slot &slot) const
{
    if (slot.length >= kWide)
        return m_texts.at(slot.where);
    return m_texts.latin1Span(slot.where, slot.length - 1);
}

void DuplicateScan::examine(qsizetype position, size_t hash)
{
    const ItemText text = m_texts.at(position);
    const std::uint8_t hashBits = shortHash(hash);
    size_t index = slotOf(hash);
    for (; m_slots[index].length != kEmpty; index = index + 1 == m_capacity ? 0 : index + 1) {
        const Slot &slot = m_slots[index];
        if (mayMatch(slot, text.size(), hashBits) && textsEqual(text, textOf(slot), m_option)) {
            m_duplicates.set(position);
            return;
        }
    }
    Slot &slot = m_slots[index];
    const bool isLong = text.size() >= kShortestLong;
    const bool byPosition = isLong || !text.isLatin1();
    slot.where = std::uint32_t(byPosition ? position : m_texts.offsetOf(position));
    slot.length = isLong ? kLong : !text.isLatin1() ? kWide : std::uint8_t(text.size() + 1);
    slot.hash = hashBits;
}

double DuplicateScan::progress() const
{
    const qsizetype count = m_texts.size();
    if (count == 0 || done())
        return 100.0;
    // The item being examined is at 1-based position m_next + 1.
    return 100.0 - (double(m_next + 1) / double(count) * 100.0);
}
