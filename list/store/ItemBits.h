#pragma once

#include <QtGlobal>

#include <vector>

// One bit for each item of a list: the items a removal takes. Ten million items cost
// 1.25 MB, where their positions would cost 40 to 80 MB of fresh memory; and whichever of
// the items taken or the items left a removal needs, it reads them off in list order.
class ItemBits
{
public:
    explicit ItemBits(qsizetype items = 0) : m_items(items), m_words(size_t((items + 63) / 64)) {}

    // Sets the bits at `positions` (any order; repeats count once).
    static ItemBits of(const std::vector<qsizetype> &positions, qsizetype items);

    qsizetype size() const { return m_items; }
    qsizetype count() const { return m_count; }
    bool test(qsizetype position) const
    {
        return (m_words[size_t(position / 64)] >> (position % 64)) & 1u;
    }
    void set(qsizetype position)
    {
        quint64 &word = m_words[size_t(position / 64)];
        const quint64 bit = quint64(1) << (position % 64);
        m_count += (word & bit) == 0;
        word |= bit;
    }

    // The positions whose bit is set, ascending.
    std::vector<qsizetype> setPositions() const { return positions<qsizetype>(false); }
    std::vector<quint32> setPositions32() const { return positions<quint32>(false); }
    // Appends the positions in [first, last) whose bit is set to `out`, ascending; `first` a
    // multiple of 64, so that a long run of them can be taken a part at a time.
    void appendSetPositions(std::vector<quint32> &out, qsizetype first, qsizetype last) const;
    // The positions whose bit is clear, ascending; 32 bits each.
    std::vector<quint32> clearPositions() const { return positions<quint32>(true); }

private:
    template <typename Position> std::vector<Position> positions(bool clear) const;

    qsizetype m_items;
    qsizetype m_count = 0;
    std::vector<quint64> m_words;
};
