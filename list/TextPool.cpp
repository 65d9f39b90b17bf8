#include "TextPool.h"

#include <algorithm>

void TextPool::append(QStringView text)
{
    m_chars.insert(m_chars.end(), text.utf16(), text.utf16() + text.size());
    m_ends.push_back(qsizetype(m_chars.size()));
}

void TextPool::reserve(qsizetype items, qsizetype characters)
{
    m_ends.reserve(size_t(items));
    m_chars.reserve(size_t(characters));
}

void TextPool::clear()
{
    // Give the memory back: a cleared million-item list should not keep its buffers.
    std::vector<char16_t>().swap(m_chars);
    std::vector<qsizetype>().swap(m_ends);
}

void TextPool::removeSorted(const std::vector<qsizetype> &ascendingPositions)
{
    if (ascendingPositions.empty())
        return;
    qsizetype writeChar = 0;
    qsizetype writeItem = 0;
    auto next = ascendingPositions.begin();
    qsizetype begin = 0;
    for (qsizetype item = 0; item < size(); ++item) {
        const qsizetype end = m_ends[size_t(item)];
        if (next != ascendingPositions.end() && *next == item) {
            ++next;
        } else {
            if (writeChar != begin)
                std::copy(m_chars.begin() + begin, m_chars.begin() + end,
                          m_chars.begin() + writeChar);
            writeChar += end - begin;
            m_ends[size_t(writeItem++)] = writeChar;
        }
        begin = end;
    }
    m_chars.resize(size_t(writeChar));
    m_ends.resize(size_t(writeItem));
}
