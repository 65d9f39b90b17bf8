#include "ItemBits.h"

ItemBits ItemBits::of(const std::vector<qsizetype> &positions, qsizetype items)
{
    ItemBits bits(items);
    for (const qsizetype position : positions)
        bits.set(position);
    return bits;
}

namespace {
// Calls `take` with each position whose bit, after `flip` (0 or all ones), is set.
template <typename Take>
void forEachSet(const std::vector<quint64> &words, quint64 flip, qsizetype items, Take take)
{
    for (size_t index = 0; index < words.size(); ++index) {
        quint64 word = words[index] ^ flip;
        const qsizetype base = qsizetype(index) * 64;
        if (base + 64 > items) // the last word's bits past the end are not items
            word &= (quint64(1) << (items - base)) - 1;
        while (word != 0) {
            take(base + __builtin_ctzll(word));
            word &= word - 1;
        }
    }
}
} // namespace

template <typename Position> std::vector<Position> ItemBits::positions(bool clear) const
{
    std::vector<Position> found;
    found.reserve(size_t(clear ? m_items - m_count : m_count));
    forEachSet(m_words, clear ? ~quint64(0) : 0, m_items,
               [&](qsizetype position) { found.push_back(Position(position)); });
    return found;
}

template std::vector<qsizetype> ItemBits::positions<qsizetype>(bool) const;
template std::vector<quint32> ItemBits::positions<quint32>(bool) const;
