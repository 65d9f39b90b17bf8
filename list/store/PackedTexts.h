#pragma once

#include "ItemText.h"
#include "PoolAllocator.h"

#include <vector>

// Texts kept aside (the items a removal took, for undo), end to end in one buffer, each in
// the form the list keeps it in: one byte a character when all of them fit in 8 bits, else
// UTF-16 (see ItemText).
class PackedTexts
{
public:
    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool empty() const { return m_ends.empty(); }
    ItemText at(qsizetype position) const
    {
        const quint64 end = m_ends[size_t(position)];
        const qsizetype begin = beginOf(position);
        if ((end & kWide) == 0)
            return ItemText::latin1(m_bytes.data() + begin, qsizetype(end) - begin);
        return QStringView(reinterpret_cast<const char16_t *>(m_bytes.data() + begin),
                           (qsizetype(end & ~kWide) - begin) / 2);
    }
    qsizetype length(qsizetype position) const { return at(position).size(); }
    bool isWide(qsizetype position) const { return (m_ends[size_t(position)] & kWide) != 0; }
    // Writes the text's length(position) characters to `out`.
    void copyTo(qsizetype position, char16_t *out) const { at(position).copyTo(out); }
    // The characters of every text together.
    qsizetype characterCount() const { return m_characters; }
    // The bytes they take, and how many texts are kept in UTF-16.
    qsizetype byteCount() const { return qsizetype(m_bytes.size()); }
    qsizetype wideCount() const { return m_wide; }
    // The memory the texts hold.
    qsizetype bytesHeld() const
    {
        return qsizetype(m_bytes.capacity() + m_ends.capacity() * sizeof(quint64));
    }

    void reserve(qsizetype texts, qsizetype bytes);
    // Keeps the text in one byte a character when it fits.
    void append(ItemText text);
    void clear() { *this = PackedTexts(); }

private:
    // Top bit of an end: that text is stored in 16-bit units, from an even byte on.
    static constexpr quint64 kWide = quint64(1) << 63;

    qsizetype beginOf(qsizetype position) const
    {
        const qsizetype previous =
            position == 0 ? 0 : qsizetype(m_ends[size_t(position - 1)] & ~kWide);
        return isWide(position) ? (previous + 1) & ~qsizetype(1) : previous;
    }

    std::vector<char, PoolAllocator<char>> m_bytes;
    std::vector<quint64, PoolAllocator<quint64>> m_ends; // one past each text's last byte
    qsizetype m_characters = 0;
    qsizetype m_wide = 0;
};
