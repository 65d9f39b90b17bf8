#pragma once

#include "CaseRule.h"
#include "TextPool.h"
#include "ZeroedTable.h"

#include <cstdint>

// A set of texts under a case option, for asking of many items whether the set holds an
// equal text: hashing with a key drawn at random, so the cost stays linear whatever the texts.
class TextSet
{
public:
    TextSet(const TextPool &texts, CaseOption option, std::uint64_t seed = randomHashSeed());

    // Takes up to `budget` more of the texts into the set; false once all are in. The first
    // calls only bring the table's memory in, a part at a time: the first texts land all over
    // it, and the system's first touch of every page at once would hold the window up.
    bool build(qsizetype budget);
    bool contains(ItemText text) const;

private:
    struct Slot
    {
        std::uint32_t position = 0; // position + 1 of a text; 0 for an empty slot
        std::uint32_t hash = 0;     // high bits of its hash
    };

    const TextPool m_texts;
    CaseOption m_option;
    std::uint64_t m_seed;
    ZeroedTable<Slot> m_slots;
    size_t m_mask;
    qsizetype m_built = 0;
};
