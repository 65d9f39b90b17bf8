#pragma once

#include <QStringView>

#include <vector>

// The item texts, end to end in one buffer: a million items cost one allocation of their
// characters plus one offset each, and scanning them touches memory in order.
class TextPool
{
public:
    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool empty() const { return m_ends.empty(); }

    QStringView at(qsizetype position) const
    {
        const qsizetype begin = position == 0 ? 0 : m_ends[size_t(position - 1)];
        return QStringView(m_chars.data() + begin, m_ends[size_t(position)] - begin);
    }

    void append(QStringView text);
    void reserve(qsizetype items, qsizetype characters);
    void clear();

    // Removes the items at the given positions (ascending, no repeats) in one pass.
    void removeSorted(const std::vector<qsizetype> &ascendingPositions);

    qsizetype characterCount() const { return qsizetype(m_chars.size()); }

private:
    std::vector<char16_t> m_chars;
    std::vector<qsizetype> m_ends; // one past the last character of each item
};
