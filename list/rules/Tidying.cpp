#include "Tidying.h"

#include <algorithm>
#include <array>

#include <QChar>

namespace Tidy {

namespace {

constexpr char16_t kNoBreakSpace = 0x00A0;

bool isWhiteSpaceUnit(char16_t unit)
{
    // White_Space holds no character beyond the Basic Multilingual Plane.
    return Tidy::isWhiteSpace(unit);
}

// Upper- or lower-cased run by run between lone surrogates, which stay as they are: Qt's
// mapping turns them into U+FFFD.
bool mapCase(QStringView text, QString &out, bool upper)
{
    // ASCII, the most of most lists, at once.
    const char16_t from = upper ? u'a' : u'A';
    bool ascii = true, changes = false;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        ascii = ascii && unit < 0x80;
        changes = changes || (unit >= from && unit <= from + 25);
    }
    if (ascii) {
        if (!changes)
            return false;
        out.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = text[i].unicode();
            out[i] = unit >= from && unit <= from + 25 ? QChar(unit ^ 0x20) : QChar(unit);
        }
        return true;
    }
    QString mapped;
    mapped.reserve(text.size());
    qsizetype runStart = 0;
    const auto mapRun = [&](qsizetype end) {
        if (end == runStart)
            return;
        // From a copy kept as it is: Qt cases a string it may change in place another way.
        const QString run = text.sliced(runStart, end - runStart).toString();
        mapped += upper ? run.toUpper() : run.toLower();
    };
    for (qsizetype i = 0; i < text.size();) {
        const CodePoint point = codePointAt(text, i);
        if (point.units == 1 && QChar::isSurrogate(point.value)) {
            mapRun(i);
            mapped += text[i];
            runStart = i + 1;
        }
        i += point.units;
    }
    mapRun(text.size());
    if (mapped == text)
        return false;
    out = std::move(mapped);
    return true;
}

} // namespace

bool isWhiteSpace(char32_t c)
{
    if (c <= 0x20)
        return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    if (c < 0x85)
        return false;
    return c == 0x85 || c == kNoBreakSpace || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isInvisible(char32_t c)
{
    if (c >= 0x20 && c < 0x7F)
        return false;
    if (c == u'\t')
        return false;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return true; // control characters
    return QChar::category(c) == QChar::Other_Format;
}

bool trimBlanks(QStringView text, QString &out)
{
    // Invisible characters at either end go too, but only those of one unit: the tag
    // characters beyond it end a flag's sequence, which shows.
    const auto trimmed = [](char16_t unit) {
        return isWhiteSpaceUnit(unit) || (!QChar::isSurrogate(unit) && isInvisible(unit));
    };
    qsizetype first = 0, last = text.size();
    while (first < last && trimmed(text[first].unicode()))
        ++first;
    while (last > first && trimmed(text[last - 1].unicode()))
        --last;
    if (first == 0 && last == text.size())
        return false;
    out = text.sliced(first, last - first).toString();
    return true;
}

bool collapseInnerBlanks(QStringView text, QString &out)
{
    qsizetype first = 0, last = text.size();
    while (first < last && isWhiteSpaceUnit(text[first].unicode()))
        ++first;
    while (last > first && isWhiteSpaceUnit(text[last - 1].unicode()))
        --last;
    // Nothing to do unless a run inside is longer than one unit or is not a blank.
    bool changes = false;
    for (qsizetype i = first; i < last && !changes; ++i) {
        const char16_t unit = text[i].unicode();
        if (isWhiteSpaceUnit(unit))
            changes = unit != u' ' || isWhiteSpaceUnit(text[i + 1].unicode());
    }
    if (!changes)
        return false;
    QString collapsed;
    collapsed.reserve(text.size());
    collapsed.append(text.first(first));
    for (qsizetype i = first; i < last; ++i) {
        if (!isWhiteSpaceUnit(text[i].unicode())) {
            collapsed.append(text[i]);
            continue;
        }
        collapsed.append(u' ');
        while (i + 1 < last && isWhiteSpaceUnit(text[i + 1].unicode()))
            ++i;
    }
    collapsed.append(text.sliced(last));
    out = std::move(collapsed);
    return true;
}

bool removeInvisibleCharacters(QStringView text, QString &out)
{
    const auto goes = [](char32_t c) { return c == kNoBreakSpace || isInvisible(c); };
    // Most items hold none: look first, copy only when needed.
    bool any = false;
    forEachCodePoint(text, [&](char32_t c, QStringView) { any = any || goes(c); });
    if (!any)
        return false;
    QString cleaned;
    cleaned.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c, QStringView units) {
        if (c == kNoBreakSpace)
            cleaned.append(u' ');
        else if (!isInvisible(c))
            cleaned.append(units);
    });
    out = std::move(cleaned);
    return true;
}

bool lowerCase(QStringView text, QString &out)
{
    return mapCase(text, out, false);
}

bool upperCase(QStringView text, QString &out)
{
    return mapCase(text, out, true);
}

bool isBlank(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const CodePoint point = codePointAt(text, i);
        if (!isWhiteSpace(point.value) && !isInvisible(point.value))
            return false; // most items, at their first character
        i += point.units;
    }
    return true;
}

namespace {

// For each Latin-1 character, whether it is white space or invisible, and whether its lower
// or upper case form differs from it ("ß" upper-cases to "SS").
struct Latin1Traits
{
    std::array<bool, 256> blankOrInvisible{}, whiteSpace{}, goesOrChanges{}, lowers{}, uppers{};
};
const Latin1Traits &latin1Traits()
{
    static const Latin1Traits traits = [] {
        Latin1Traits made;
        for (int c = 0; c < 256; ++c) {
            const auto unit = char16_t(c);
            made.whiteSpace[size_t(c)] = isWhiteSpace(unit);
            made.blankOrInvisible[size_t(c)] = isWhiteSpace(unit) || isInvisible(unit);
            made.goesOrChanges[size_t(c)] = unit == kNoBreakSpace || isInvisible(unit);
            made.lowers[size_t(c)] = QString(QChar(unit)).toLower() != QString(QChar(unit));
            made.uppers[size_t(c)] = QString(QChar(unit)).toUpper() != QString(QChar(unit));
        }
        return made;
    }();
    return traits;
}

bool holdsAny(const std::array<bool, 256> &which, const unsigned char *chars, qsizetype size)
{
    return std::any_of(chars, chars + size, [&](unsigned char c) { return which[c]; });
}

} // namespace

const Rule &trimBlanksRule()
{
    static const Rule rule{trimBlanks, [](const unsigned char *chars, qsizetype size) {
                               const auto &ends = latin1Traits().blankOrInvisible;
                               return size > 0 && (ends[chars[0]] || ends[chars[size - 1]]);
                           }};
    return rule;
}

const Rule &collapseInnerBlanksRule()
{
    static const Rule rule{collapseInnerBlanks, [](const unsigned char *chars, qsizetype size) {
                               const auto &blank = latin1Traits().whiteSpace;
                               for (qsizetype i = 0; i < size; ++i) {
                                   if (blank[chars[i]] &&
                                       (chars[i] != ' ' || (i + 1 < size && blank[chars[i + 1]])))
                                       return true;
                               }
                               return false;
                           }};
    return rule;
}

const Rule &removeInvisibleCharactersRule()
{
    static const Rule rule{removeInvisibleCharacters,
                           [](const unsigned char *chars, qsizetype size) {
                               return holdsAny(latin1Traits().goesOrChanges, chars, size);
                           }};
    return rule;
}

const Rule &lowerCaseRule()
{
    static const Rule rule{lowerCase, [](const unsigned char *chars, qsizetype size) {
                               return holdsAny(latin1Traits().lowers, chars, size);
                           }};
    return rule;
}

const Rule &upperCaseRule()
{
    static const Rule rule{upperCase, [](const unsigned char *chars, qsizetype size) {
                               return holdsAny(latin1Traits().uppers, chars, size);
                           }};
    return rule;
}

bool isBlank(ItemText text)
{
    if (!text.isLatin1())
        return isBlank(text.asUtf16());
    const auto *chars = static_cast<const unsigned char *>(text.data());
    const auto &blank = latin1Traits().blankOrInvisible;
    return std::all_of(chars, chars + text.size(), [&](unsigned char c) { return blank[c]; });
}

} // namespace Tidy
