#include "DuplicateScan.h"

#include <stdexcept>

DuplicateScan::DuplicateScan(const TextPool &texts, CaseOption option)
    : m_texts(texts), m_option(option), m_next(texts.size() - 1)
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
    m_slots.assign(capacity, 0);
    m_slotHashes.assign(capacity, 0);
    m_mask = capacity - 1;
}

void DuplicateScan::advance(qsizetype budget)
{
    const qsizetype stop = std::max<qsizetype>(-1, m_next - budget);
    for (; m_next > stop; --m_next) {
        const QStringView text = m_texts.at(m_next);
        const size_t hash = comparisonHash(text, m_option);
        const auto shortHash = std::uint32_t(hash ^ (hash >> 32));
        size_t slot = hash & m_mask;
        bool seenLater = false;
        while (m_slots[slot] != 0) {
            if (m_slotHashes[slot] == shortHash
                && textsEqual(text, m_texts.at(m_slots[slot] - 1), m_option)) {
                seenLater = true;
                break;
            }
            slot = (slot + 1) & m_mask;
        }
        if (seenLater) {
            m_duplicates.push_back(m_next);
        } else {
            m_slots[slot] = std::uint32_t(m_next + 1);
            m_slotHashes[slot] = shortHash;
        }
    }
}

double DuplicateScan::progress() const
{
    const qsizetype count = m_texts.size();
    if (count == 0 || done())
        return 100.0;
    // The item being examined is at 1-based position m_next + 1.
    return 100.0 - (double(m_next + 1) / double(count) * 100.0);
}
