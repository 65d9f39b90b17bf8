#include "CaseRule.h"

#include <QHash>
#include <QString>

#include <algorithm>

namespace {

constexpr char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

bool asciiEqualIgnoringCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (pa[i] != pb[i] && asciiUpper(pa[i]) != asciiUpper(pb[i]))
            return false;
    }
    return true;
}

} // namespace

CaseOption caseOptionFromButtons(bool ignoreCaseSelected, bool matchCaseSelected)
{
    if (ignoreCaseSelected)
        return CaseOption::IgnoreCase;
    if (matchCaseSelected)
        return CaseOption::MatchCase;
    return CaseOption::CompareNothing;
}

bool isAscii(QStringView text)
{
    const char16_t *p = text.utf16();
    return std::all_of(p, p + text.size(), [](char16_t c) { return c < 0x80; });
}

bool textsEqual(QStringView a, QStringView b, CaseOption option)
{
    switch (option) {
    case CaseOption::MatchCase:
        return a == b;
    case CaseOption::IgnoreCase:
        // Full case mapping can change lengths ("ß" -> "SS") and map non-ASCII letters onto
        // ASCII ones, so the shortcut is only taken when both texts are ASCII.
        if (isAscii(a) && isAscii(b))
            return asciiEqualIgnoringCase(a, b);
        return a.toString().toUpper() == b.toString().toUpper();
    case CaseOption::CompareNothing:
        break;
    }
    return false;
}

size_t comparisonHash(QStringView text, CaseOption option)
{
    if (option != CaseOption::IgnoreCase)
        return qHash(text);
    if (!isAscii(text))
        return qHash(text.toString().toUpper());

    constexpr qsizetype kInline = 256;
    char16_t buffer[kInline];
    if (text.size() <= kInline) {
        std::transform(text.utf16(), text.utf16() + text.size(), buffer, asciiUpper);
        return qHash(QStringView(buffer, text.size()));
    }
    std::u16string upper(text.utf16(), text.utf16() + text.size());
    std::transform(upper.begin(), upper.end(), upper.begin(), asciiUpper);
    return qHash(QStringView(upper));
}
