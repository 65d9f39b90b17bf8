#pragma once

#include "PoolAllocator.h"

#include <QStringView>

#include <cstring>

#include <vector>

// Texts kept aside (the items a removal took, for undo), end to end in one buffer: a text
// whose characters all fit in 8 bits takes one byte per character, any other two. Most
// lists are Latin-1 throughout, so what undo keeps costs half what the list paid for it.
class PackedTexts
{
public:
    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool empty() const { return m_ends.empty(); }
    qsizetype length(qsizetype position) const
    {
        const quint64 end = m_ends[size_t(position)];
        const qsizetype bytes = qsizetype(end & ~kWide) - beginOf(position);
        return (end & kWide) != 0 ? bytes / 2 : bytes;
    }
    // Writes the text's length(position) characters to `out`.
    void copyTo(qsizetype position, char16_t *__restrict out) const
    {
        const quint64 end = m_ends[size_t(position)];
        const qsizetype begin = beginOf(position);
        const qsizetype bytes = qsizetype(end & ~kWide) - begin;
        const char *__restrict from = m_bytes.data() + begin;
        if ((end & kWide) != 0) {
            std::memcpy(out, from, size_t(bytes));
            return;
        }
        for (qsizetype i = 0; i < bytes; ++i)
            out[i] = char16_t(static_cast<unsigned char>(from[i]));
    }
    // The characters of every text together.
    qsizetype characterCount() const { return m_characters; }
    // The memory the texts hold.
    qsizetype bytesHeld() const
    {
        return qsizetype(m_bytes.capacity() + m_ends.capacity() * sizeof(quint64));
    }

    void reserve(qsizetype texts, qsizetype characters);
    void append(QStringView text);
    void clear() { *this = PackedTexts(); }

private:
    // Top bit of an end: that text is stored in 16-bit units.
    static constexpr quint64 kWide = quint64(1) << 63;

    qsizetype beginOf(qsizetype position) const
    {
        return position == 0 ? 0 : qsizetype(m_ends[size_t(position - 1)] & ~kWide);
    }

    std::vector<char, PoolAllocator<char>> m_bytes;
    std::vector<quint64, PoolAllocator<quint64>> m_ends; // one past each text's last byte
    qsizetype m_characters = 0;
};
