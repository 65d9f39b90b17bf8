#pragma once

#include "ItemText.h"
#include "PoolAllocator.h"
#include "TextBytes.h"
#include "WideFlags.h"

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
        return textIn(m_bytes.data(), position == 0 ? 0 : qsizetype(m_ends[size_t(position - 1)]),
                      m_ends[size_t(position)], m_wide.test(position));
    }
    qsizetype length(qsizetype position) const { return at(position).size(); }
    bool isWide(qsizetype position) const { return m_wide.test(position); }
    // Writes the text's length(position) characters to `out`.
    void copyTo(qsizetype position, char16_t *out) const { at(position).copyTo(out); }
    // The characters of every text together.
    qsizetype characterCount() const { return m_characters; }
    // The bytes they take, and how many texts are kept in UTF-16.
    qsizetype byteCount() const { return qsizetype(m_bytes.size()); }
    qsizetype wideCount() const { return m_wideCount; }
    // The memory the texts hold.
    qsizetype bytesHeld() const
    {
        return qsizetype(m_bytes.capacity() + m_ends.capacity() * sizeof(quint32));
    }

    void reserve(qsizetype texts, qsizetype bytes);
    // Keeps the text in one byte a character when it fits.
    void append(ItemText text);
    void clear() { *this = PackedTexts(); }

private:
    TextBytes m_bytes;
    // One past each text's last byte: 32 bits, as what a removal takes from a list is no
    // more than the list held.
    std::vector<quint32, PoolAllocator<quint32>> m_ends;
    WideFlags m_wide; // which texts are kept in UTF-16
    qsizetype m_characters = 0;
    qsizetype m_wideCount = 0;
};
