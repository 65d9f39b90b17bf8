#pragma once

#include "Latin1Narrowing.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <cstring>
#include <string>

// One item's text as the list keeps it: one byte a character when every character fits in
// eight bits (Latin-1, what most lists hold throughout), else UTF-16. A view: it points into
// the list's buffer and costs nothing to pass around. Commands that read every item work on
// either form through visit(), which hands them the characters as they lie.
class ItemText
{
public:
    constexpr ItemText() = default;
    // A UTF-16 view as an item text (whatever characters it holds).
    ItemText(QStringView text) : m_data(text.utf16()), m_size(text.size()) {}
    ItemText(const QString &text) : ItemText(QStringView(text)) {}
    ItemText(QLatin1StringView text) : m_data(text.data()), m_size(text.size() | kLatin1) {}
    static ItemText latin1(const char *data, qsizetype size)
    {
        return ItemText(QLatin1StringView(data, size));
    }

    bool isLatin1() const { return (m_size & kLatin1) != 0; }
    qsizetype size() const { return m_size & ~kLatin1; }
    bool isEmpty() const { return size() == 0; }
    // The characters as they lie, for prefetching.
    const void *data() const { return m_data; }
    QLatin1StringView asLatin1() const
    {
        Q_ASSERT(isLatin1());
        return QLatin1StringView(static_cast<const char *>(m_data), size());
    }
    QStringView asUtf16() const
    {
        Q_ASSERT(!isLatin1());
        return QStringView(static_cast<const char16_t *>(m_data), size());
    }
    char16_t at(qsizetype i) const
    {
        return isLatin1() ? char16_t(static_cast<const unsigned char *>(m_data)[i])
                          : static_cast<const char16_t *>(m_data)[i];
    }
    ItemText sliced(qsizetype position, qsizetype count) const
    {
        if (isLatin1())
            return latin1(static_cast<const char *>(m_data) + position, count);
        return QStringView(static_cast<const char16_t *>(m_data) + position, count);
    }

    // Calls work(chars, size) with the characters as they lie: `const unsigned char *` for
    // Latin-1, `const char16_t *` for UTF-16.
    template <typename Work> decltype(auto) visit(Work &&work) const
    {
        if (isLatin1())
            return work(static_cast<const unsigned char *>(m_data), size());
        return work(static_cast<const char16_t *>(m_data), size());
    }

    QString toString() const { return isLatin1() ? QString(asLatin1()) : asUtf16().toString(); }
    void appendTo(QString &out) const
    {
        if (isLatin1())
            out.append(asLatin1());
        else
            out.append(asUtf16());
    }
    // Writes the size() characters to `out` as UTF-16.
    void copyTo(char16_t *out) const
    {
        if (!isLatin1()) {
            std::memcpy(out, m_data, size_t(size()) * sizeof(char16_t));
            return;
        }
        widenLatin1(static_cast<const unsigned char *>(m_data), size(), out);
    }

    // The same characters, whatever the form on either side.
    friend bool operator==(ItemText a, ItemText b)
    {
        if (a.size() != b.size())
            return false;
        if (a.size() == 0)
            return true; // an empty text may have no characters to point at
        if (a.isLatin1() == b.isLatin1())
            return std::memcmp(a.m_data, b.m_data, size_t(a.size()) * (a.isLatin1() ? 1 : 2)) == 0;
        return a.isLatin1() ? QStringView(b.asUtf16()) == a.asLatin1()
                            : QStringView(a.asUtf16()) == b.asLatin1();
    }
    friend bool operator!=(ItemText a, ItemText b) { return !(a == b); }

private:
    // The top bit of the size marks Latin-1: sixteen bytes, passed in two registers.
    static constexpr qsizetype kLatin1 = qsizetype(1) << (sizeof(qsizetype) * 8 - 2);

    const void *m_data = nullptr;
    qsizetype m_size = 0;
};

// An item's text as UTF-16, for code that reads one item at a time through Qt's string
// functions: a view of the text when it is kept so, else a copy of it here (on the stack for
// the lengths most items have).
class Utf16Text
{
public:
    explicit Utf16Text(ItemText text)
    {
        if (!text.isLatin1()) {
            m_view = text.asUtf16();
            return;
        }
        m_copy.resize(text.size());
        text.copyTo(m_copy.data());
        m_view = QStringView(m_copy.data(), m_copy.size());
    }
    Utf16Text(const Utf16Text &) = delete;
    Utf16Text &operator=(const Utf16Text &) = delete;

    QStringView view() const { return m_view; }
    operator QStringView() const { return m_view; }

private:
    QVarLengthArray<char16_t, 256> m_copy;
    QStringView m_view;
};

// Reads item after item as UTF-16 through one buffer of its own: a loop over many items
// widens each Latin-1 one there, with no allocation once the buffer has grown.
class Utf16Reader
{
public:
    QStringView read(ItemText text)
    {
        if (!text.isLatin1())
            return text.asUtf16();
        if (qsizetype(m_buffer.size()) < text.size())
            m_buffer.resize(size_t(text.size()));
        text.copyTo(m_buffer.data());
        return QStringView(m_buffer.data(), text.size());
    }

private:
    std::u16string m_buffer;
};
