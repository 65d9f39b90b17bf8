#pragma once

#include "Failure.h"
#include "ItemText.h"
#include "Latin1Narrowing.h"
#include "PoolAllocator.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <vector>

// Texts end to end in one buffer, each in the form it is kept in (see ItemText), as the list
// and what undo keeps both hold them. A UTF-16 text's characters begin at an even byte, for
// Qt to read them as char16_t: one byte before or after them may be left over for that. Its
// characters begin at the first even byte of its bounds, and as many whole characters as fit
// up to its end are its own.
using TextBytes = std::vector<char, PoolAllocator<char>>;

// The first even byte from `offset` on: where a UTF-16 text's characters begin.
constexpr qsizetype evenUp(qsizetype offset)
{
    return (offset + 1) & ~qsizetype(1);
}

// The text in bytes [begin, end) of the buffer at `bytes`, in its form.
inline ItemText textIn(const char *bytes, qsizetype begin, qsizetype end, bool wide)
{
    if (!wide)
        return ItemText::latin1(bytes + begin, end - begin);
    const qsizetype first = evenUp(begin);
    return QStringView(reinterpret_cast<const char16_t *>(bytes + first), (end - first) / 2);
}

// Makes room for `count` more bytes at the end, growing geometrically; returns where they go.
// A buffer's texts end within 4 GB (their ends are 32 bits): beyond, a Failure says
// `tooLarge` (a text of the "Tarnwell" context) in the user's language.
inline char *growTextBytes(TextBytes &bytes, size_t count, const char *tooLarge)
{
    const size_t size = bytes.size();
    if (size + count > size_t(UINT32_MAX))
        throw Failure(QCoreApplication::translate("Tarnwell", tooLarge));
    if (bytes.capacity() < size + count)
        bytes.reserve(std::max(size + count, bytes.capacity() * 3 / 2));
    bytes.resize(size + count);
    return bytes.data() + size;
}

// Appends `text` in the narrowest form it fits; true when that is UTF-16.
inline bool appendInItsForm(TextBytes &bytes, ItemText text, const char *tooLarge)
{
    const size_t begin = bytes.size();
    const size_t count = size_t(text.size());
    char *out = growTextBytes(bytes, count, tooLarge);
    if (text.isLatin1()) {
        if (count > 0)
            std::memcpy(out, text.data(), count);
        return false;
    }
    if (narrowToLatin1(text.asUtf16().utf16(), text.size(), out))
        return false;
    bytes.resize(begin);
    const size_t first = size_t(evenUp(qsizetype(begin)));
    growTextBytes(bytes, first - begin + count * 2, tooLarge);
    if (first != begin)
        bytes[begin] = 0;
    std::memcpy(bytes.data() + first, text.data(), count * 2);
    return true;
}
