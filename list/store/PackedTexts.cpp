#include "PackedTexts.h"

#include "Latin1Narrowing.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

void PackedTexts::reserve(qsizetype texts, qsizetype bytes)
{
    m_ends.reserve(size_t(texts));
    m_bytes.reserve(size_t(bytes));
}

void PackedTexts::append(ItemText text)
{
    const qsizetype count = text.size();
    const size_t begin = m_bytes.size();
    const auto room = [&](size_t bytes) {
        if (bytes > size_t(UINT32_MAX))
            throw std::length_error("The texts kept for undo would take more than 4 GB.");
        if (m_bytes.capacity() < bytes)
            m_bytes.reserve(std::max(bytes, m_bytes.capacity() * 3 / 2));
        m_bytes.resize(bytes);
    };
    room(begin + size_t(count));
    if (text.isLatin1()) {
        std::memcpy(m_bytes.data() + begin, text.data(), size_t(count));
    } else if (!narrowToLatin1(text.asUtf16().utf16(), count, m_bytes.data() + begin)) {
        const size_t data = (begin + 1) & ~size_t(1);
        room(data + size_t(count) * 2);
        std::memcpy(m_bytes.data() + data, text.data(), size_t(count) * 2);
        m_wide.set(qsizetype(m_ends.size()), true);
        m_ends.push_back(quint32(m_bytes.size()));
        m_characters += count;
        ++m_wideCount;
        return;
    }
    m_wide.set(qsizetype(m_ends.size()), false);
    m_ends.push_back(quint32(m_bytes.size()));
    m_characters += count;
}
