#pragma once

#include "ItemText.h"
#include "Latin1Narrowing.h"

#include <QString>

#include <string>
#include <string_view>

// A text looked for inside items, letter case matched, in whichever form each item is kept:
// a Latin-1 item is searched byte by byte with no copy, for a text that fits in Latin-1 (one
// that does not cannot be in it).
class ContainedText
{
public:
    explicit ContainedText(const QString &text) : m_text(text)
    {
        m_latin1.resize(size_t(text.size()));
        m_fitsLatin1 = narrowToLatin1(reinterpret_cast<const char16_t *>(text.utf16()), text.size(),
                                      m_latin1.data());
    }

    bool in(ItemText item) const
    {
        if (!item.isLatin1())
            return item.asUtf16().contains(m_text, Qt::CaseSensitive);
        if (!m_fitsLatin1)
            return false;
        const std::string_view haystack(static_cast<const char *>(item.data()),
                                        size_t(item.size()));
        return haystack.find(m_latin1) != std::string_view::npos;
    }

private:
    QString m_text;
    std::string m_latin1;
    bool m_fitsLatin1 = false;
};
