#include "PackedTexts.h"

#include <algorithm>
#include <cstring>

namespace {

bool fitsInEightBits(const char16_t *units, qsizetype count)
{
    char16_t high = 0;
    for (qsizetype i = 0; i < count; ++i) // no early exit: the loop vectorises
        high |= units[i];
    return high < 0x100;
}

} // namespace

void PackedTexts::reserve(qsizetype texts, qsizetype characters)
{
    m_ends.reserve(size_t(texts));
    m_bytes.reserve(size_t(characters));
}

void PackedTexts::append(QStringView text)
{
    const char16_t *units = text.utf16();
    const qsizetype count = text.size();
    const bool narrow = fitsInEightBits(units, count);
    const size_t begin = m_bytes.size();
    const size_t bytes = size_t(count) * (narrow ? 1 : 2);
    if (m_bytes.capacity() < begin + bytes)
        m_bytes.reserve(std::max(begin + bytes, m_bytes.capacity() * 3 / 2));
    m_bytes.resize(begin + bytes);
    char *to = m_bytes.data() + begin;
    if (narrow) {
        for (qsizetype i = 0; i < count; ++i)
            to[i] = char(units[i]);
    } else if (bytes > 0) {
        std::memcpy(to, units, bytes);
    }
    m_ends.push_back(quint64(begin + bytes) | (narrow ? 0 : kWide));
    m_characters += count;
}
