#include "TextSet.h"

#include <stdexcept>

namespace {
size_t capacityFor(qsizetype texts)
{
    if (texts >= qsizetype(UINT32_MAX))
        throw std::length_error("too many texts");
    size_t capacity = 16;
    while (capacity < size_t(texts) * 3 / 2)
        capacity *= 2;
    return capacity;
}
} // namespace

TextSet::TextSet(const TextPool &texts, CaseOption option, std::uint64_t seed)
    : m_texts(texts), m_option(option), m_seed(seed), m_slots(capacityFor(texts.size())),
      m_mask(m_slots.size() - 1)
{
}

bool TextSet::build(qsizetype budget)
{
    if (m_slots.bringInPart())
        return true;
    const qsizetype stop = std::min(m_texts.size(), m_built + budget);
    for (; m_built < stop; ++m_built) {
        const ItemText text = m_texts.at(m_built);
        const size_t hash = comparisonHash(text, m_option, m_seed);
        const auto shortHash = std::uint32_t(std::uint64_t(hash) >> 32);
        size_t index = hash & m_mask;
        bool present = false;
        while (m_slots[index].position != 0 && !present) {
            const Slot &slot = m_slots[index];
            present =
                slot.hash == shortHash && textsEqual(text, m_texts.at(slot.position - 1), m_option);
            index = (index + 1) & m_mask;
        }
        if (!present)
            m_slots[index] = Slot{std::uint32_t(m_built + 1), shortHash};
    }
    return m_built < m_texts.size();
}

bool TextSet::contains(ItemText text) const
{
    if (m_option == CaseOption::CompareNothing)
        return false;
    const size_t hash = comparisonHash(text, m_option, m_seed);
    const auto shortHash = std::uint32_t(std::uint64_t(hash) >> 32);
    for (size_t index = hash & m_mask; m_slots[index].position != 0; index = (index + 1) & m_mask) {
        const Slot &slot = m_slots[index];
        if (slot.hash == shortHash && textsEqual(text, m_texts.at(slot.position - 1), m_option))
            return true;
    }
    return false;
}
