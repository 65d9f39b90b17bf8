#include "DuplicateScan.h"

#include <stdexcept>

DuplicateScan::DuplicateScan(const TextPool &texts, CaseOption option, std::uint64_t seed)
    : m_texts(texts), m_option(option), m_seed(seed), m_next(texts.size() - 1)
{
    if (option == CaseOption::CompareNothing) {
        m_next = -1;
        return;
    }
    if (texts.size() >= qsizetype(UINT32_MAX))
        throw std::length_error("too many items to compare");
    // Load factor at most one half keeps probe sequences short.
    size_t capacity = 16;
    while (capacity < size_t(texts.size()) * 2)
        capacity *= 2;
    m_slots.assign(capacity, Slot());
    m_mask = capacity - 1;
}

void DuplicateScan::advance(qsizetype budget)
{
    // Hash a small group of items first and prefetch their table slots: the table is far
    // larger than the caches, and waiting for one slot at a time dominates the scan.
    constexpr qsizetype kGroup = 16;
    size_t hashes[kGroup];
    const qsizetype stop = std::max<qsizetype>(-1, m_next - budget);
    while (m_next > stop) {
        const qsizetype groupSize = std::min(kGroup, m_next - stop);
        for (qsizetype k = 0; k < groupSize; ++k) {
            hashes[k] = comparisonHash(m_texts.at(m_next - k), m_option, m_seed);
            __builtin_prefetch(&m_slots[hashes[k] & m_mask]);
        }
        for (qsizetype k = 0; k < groupSize; ++k, --m_next)
            examine(m_next, hashes[k]);
    }
}

void DuplicateScan::examine(qsizetype position, size_t hash)
{
    const QStringView text = m_texts.at(position);
    const auto shortHash = std::uint32_t(std::uint64_t(hash) >> 32);
    size_t index = hash & m_mask;
    while (m_slots[index].position != 0) {
        const Slot &slot = m_slots[index];
        if (slot.hash == shortHash && textsEqual(text, m_texts.at(slot.position - 1), m_option)) {
            m_duplicates.push_back(position);
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
