#include "DuplicateScan.h"

#include <stdexcept>

namespace {

// Room for every item at a load of at most two thirds: short probe sequences, and a table
// that stays a small part of the list's memory.
size_t tableCapacity(const TextPool &texts, CaseOption option)
{
    if (texts.size() >= qsizetype(UINT32_MAX))
        throw std::length_error("too many items to compare");
    size_t capacity = 16;
    if (option == CaseOption::CompareNothing)
        return capacity;
    while (capacity < size_t(texts.size()) * 3 / 2)
        capacity *= 2;
    return capacity;
}

} // namespace

DuplicateScan::DuplicateScan(const TextPool &texts, CaseOption option, std::uint64_t seed)
    : m_texts(texts), m_option(option), m_seed(seed),
      m_next(option == CaseOption::CompareNothing ? -1 : texts.size() - 1),
      m_slots(tableCapacity(texts, option)), m_mask(m_slots.size() - 1), m_duplicates(texts.size())
{
}

bool DuplicateScan::prepareTable()
{
    constexpr size_t kBytesPerSlice = size_t(8) << 20;
    constexpr size_t kPage = 4096;
    const size_t tableBytes = m_slots.size() * sizeof(Slot);
    if (m_preparedBytes >= tableBytes)
        return false;
    auto *bytes = reinterpret_cast<volatile char *>(&m_slots[0]);
    const size_t end = std::min(tableBytes, m_preparedBytes + kBytesPerSlice);
    for (size_t offset = m_preparedBytes; offset < end; offset += kPage)
        bytes[offset] = 0;
    m_preparedBytes = end;
    return true;
}

void DuplicateScan::advance(qsizetype budget)
{
    if (prepareTable())
        return;
    // The table and the texts are far larger than the caches, and waiting for memory, not
    // comparing, is what takes the time. So each item goes through a pipeline: hash it and
    // fetch its slot; some items later, read the slot and fetch where the item it may
    // duplicate is kept; later again fetch that item's text; and only then examine it, when
    // all of that has arrived. A fetch is only a hint: examine() reads everything afresh.
    constexpr qsizetype kSlotLag = 8, kBoundsLag = 16, kExamineLag = 24, kRing = 32;
    size_t hashes[kRing];
    qsizetype candidates[kRing];
    const qsizetype first = m_next;
    const qsizetype count = first - std::max<qsizetype>(-1, m_next - budget);
    for (qsizetype step = 0; step < count + kExamineLag; ++step) {
        if (step < count) {
            const size_t hash = comparisonHash(m_texts.at(first - step), m_option, m_seed);
            hashes[step % kRing] = hash;
            __builtin_prefetch(&m_slots[hash & m_mask]);
        }
        if (const qsizetype item = step - kSlotLag; item >= 0 && item < count) {
            const size_t hash = hashes[item % kRing];
            const Slot &slot = m_slots[hash & m_mask];
            const bool mayMatch =
                slot.position != 0 && slot.hash == std::uint16_t(std::uint64_t(hash) >> 48);
            candidates[item % kRing] = mayMatch ? qsizetype(slot.position) - 1 : -1;
            if (mayMatch)
                __builtin_prefetch(m_texts.boundsOf(slot.position - 1));
        }
        if (const qsizetype item = step - kBoundsLag; item >= 0 && item < count) {
            if (const qsizetype candidate = candidates[item % kRing]; candidate >= 0)
                __builtin_prefetch(m_texts.charsOf(candidate));
        }
        if (const qsizetype item = step - kExamineLag; item >= 0 && item < count)
            examine(first - item, hashes[item % kRing]);
    }
    m_next = first - count;
}

void DuplicateScan::examine(qsizetype position, size_t hash)
{
    const QStringView text = m_texts.at(position);
    const auto shortHash = std::uint16_t(std::uint64_t(hash) >> 48);
    size_t index = hash & m_mask;
    while (m_slots[index].position != 0) {
        const Slot &slot = m_slots[index];
        if (slot.hash == shortHash && textsEqual(text, m_texts.at(slot.position - 1), m_option)) {
            m_duplicates.set(position);
            return;
        }
        index = (index + 1) & m_mask;
    }
    m_slots[index] = Slot{std::uint32_t(position + 1), shortHash};
}

double DuplicateScan::progress() const
{
    const qsizetype count = m_texts.size();
    if (count == 0 || done())
        return 100.0;
    // The item being examined is at 1-based position m_next + 1.
    return 100.0 - (double(m_next + 1) / double(count) * 100.0);
}
