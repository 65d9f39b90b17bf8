#include "ItemBits.h"

#include <algorithm>

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
void forEachSet(const std::vector<quint64> &words, quint64 flip, qsizetype items, Take take,
                size_t fromWord = 0, size_t toWord = size_t(-1))
{
    for (size_t index = fromWord; index < std::min(toWord, words.size()); ++index) {
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

void ItemBits::appendSetPositions(std::vector<quint32> &out, qsizetype first, qsizetype last) const
{
    Q_ASSERT(first % 64 == 0);
    forEachSet(
        m_words, 0, std::min(last, m_items),
        [&](qsizetype position) { out.push_back(quint32(position)); }, size_t(first / 64),
        size_t((last + 63) / 64));
}

template std::vector<qsizetype> ItemBits::positions<qsizetype>(bool) const;
template std::vector<quint32> ItemBits::positions<quint32>(bool) const;
