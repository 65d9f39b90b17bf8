#pragma once

#include <QtGlobal>

#include <algorithm>
#include <vector>

// Which items of a pool are kept in UTF-16, one bit each. A list that is Latin-1 throughout
// has none, and then no memory is spent on them and nothing moves them.
class WideFlags
{
public:
    bool none() const { return m_words.empty(); }
    bool test(qsizetype item) const
    {
        const size_t word = size_t(item / 64);
        return word < m_words.size() && ((m_words[word] >> (item % 64)) & 1u) != 0;
    }
    // Sets or clears the flag. The flags past the words held are clear (truncate() keeps
    // them so), so clearing one there costs nothing.
    void set(qsizetype item, bool wide)
    {
        const size_t word = size_t(item / 64);
        if (!wide && word >= m_words.size())
            return;
        if (word >= m_words.size())
            m_words.resize(word + 1, 0);
        const quint64 bit = quint64(1) << (item % 64);
        m_words[word] = wide ? (m_words[word] | bit) : (m_words[word] & ~bit);
    }
    // True when an item in [first, last) is wide.
    bool anyIn(qsizetype first, qsizetype last) const
    {
        if (m_words.empty() || first >= last)
            return false;
        for (qsizetype item = first; item < last;) {
            const size_t word = size_t(item / 64);
            if (word >= m_words.size())
                return false;
            const int from = int(item % 64);
            const int to = int(std::min<qsizetype>(64, from + (last - item)));
            const quint64 mask =
                (to == 64 ? ~quint64(0) : (quint64(1) << to) - 1) & ~((quint64(1) << from) - 1);
            if ((m_words[word] & mask) != 0)
                return true;
            item += to - from;
        }
        return false;
    }
    // The first wide item in [first, last), or `last`.
    qsizetype nextIn(qsizetype first, qsizetype last) const
    {
        for (qsizetype item = first; item < last;) {
            const size_t word = size_t(item / 64);
            if (word >= m_words.size())
                return last;
            const quint64 bits = m_words[word] >> (item % 64);
            if (bits != 0)
                return std::min(last, item + qsizetype(__builtin_ctzll(bits)));
            item = qsizetype(word + 1) * 64;
        }
        return last;
    }
    // The flags of [from, from + count) copied to [to, to + count), as memmove copies bytes.
    void move(qsizetype to, qsizetype from, qsizetype count)
    {
        if (m_words.empty() || to == from || count <= 0)
            return;
        const size_t needed = size_t((std::max(to, from) + count + 63) / 64);
        if (m_words.size() < needed)
            m_words.resize(needed, 0);
        if (to < from) {
            for (qsizetype done = 0; done < count; done += 64) {
                const int bits = int(std::min<qsizetype>(64, count - done));
                put(to + done, get(from + done, bits), bits);
            }
        } else {
            for (qsizetype left = count; left > 0; left -= 64) {
                const int bits = int(std::min<qsizetype>(64, left));
                put(to + left - bits, get(from + left - bits, bits), bits);
            }
        }
    }
    // Keeps the flags of the first `items`.
    void truncate(qsizetype items)
    {
        if (m_words.empty())
            return;
        m_words.resize(std::min(m_words.size(), size_t((items + 63) / 64)));
        if (items % 64 != 0 && !m_words.empty())
            m_words.back() &= (quint64(1) << (items % 64)) - 1;
    }
    void clear() { m_words = {}; }
    // Room for the flags of `items` items: setting them then takes no memory.
    void reserve(qsizetype items) { m_words.reserve(size_t((items + 63) / 64)); }

private:
    // `bits` flags from `at` on, the first in the lowest bit.
    quint64 get(qsizetype at, int bits) const
    {
        const size_t word = size_t(at / 64);
        const int shift = int(at % 64);
        quint64 value = word < m_words.size() ? m_words[word] >> shift : 0;
        if (shift != 0 && shift + bits > 64 && word + 1 < m_words.size())
            value |= m_words[word + 1] << (64 - shift);
        return bits == 64 ? value : value & ((quint64(1) << bits) - 1);
    }
    void put(qsizetype at, quint64 value, int bits)
    {
        const size_t word = size_t(at / 64);
        const int shift = int(at % 64);
        const quint64 mask = bits == 64 ? ~quint64(0) : (quint64(1) << bits) - 1;
        m_words[word] = (m_words[word] & ~(mask << shift)) | ((value & mask) << shift);
        if (shift != 0 && shift + bits > 64)
            m_words[word + 1] =
                (m_words[word + 1] & ~(mask >> (64 - shift))) | ((value & mask) >> (64 - shift));
    }

    std::vector<quint64> m_words;
};
