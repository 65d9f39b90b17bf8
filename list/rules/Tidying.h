#pragma once

#include "ItemText.h"

#include <QChar>
#include <QString>
#include <QStringView>

// What the tidy commands make of one item's text. Each returns true, with the new text in
// `out`, when it changes the text; false (and `out` untouched) when it leaves it as it is.
namespace Tidy {

// Unicode White_Space: tab to carriage return, blank, next line, no-break space, ogham
// space, the U+2000 block's spaces, line and paragraph separators, narrow no-break space,
// medium mathematical space, ideographic space.
bool isWhiteSpace(char32_t c);
// Characters no one sees: format characters (zero-width space and joiners, word joiner,
// byte-order mark, soft hyphen, direction marks, embeddings and isolates, and the rest of
// Unicode category Cf) and control characters but tab.
bool isInvisible(char32_t c);

// Leading and trailing white space and invisible characters removed.
bool trimBlanks(QStringView text, QString &out);
// Each run of white space between other characters made one blank (U+0020).
bool collapseInnerBlanks(QStringView text, QString &out);
// Invisible characters removed, no-break spaces made blanks.
bool removeInvisibleCharacters(QStringView text, QString &out);
// Full Unicode case mappings ("ß" upper-cases to "SS").
bool lowerCase(QStringView text, QString &out);
bool upperCase(QStringView text, QString &out);
// A rule, with what it looks for in a text kept in one byte a character: when
// mayChangeLatin1() is false, the rule leaves that text as it is, and it need not be read as
// UTF-16 at all. It may be true for a text the rule then leaves alone.
struct Rule
{
    bool (*tidy)(QStringView text, QString &out);
    bool (*mayChangeLatin1)(const unsigned char *chars, qsizetype size);
};
const Rule &trimBlanksRule();
const Rule &collapseInnerBlanksRule();
const Rule &removeInvisibleCharactersRule();
const Rule &lowerCaseRule();
const Rule &upperCaseRule();

// Shows nothing: empty, or white space and invisible characters only.
bool isBlank(QStringView text);
bool isBlank(ItemText text);

// The code point that starts at `i` (a lone surrogate stands for itself) and the units it
// takes.
struct CodePoint
{
    char32_t value;
    qsizetype units;
};
inline CodePoint codePointAt(QStringView text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
        QChar::isLowSurrogate(text[i + 1].unicode()))
        return {QChar::surrogateToUcs4(unit, text[i + 1].unicode()), 2};
    return {unit, 1};
}

// Calls `each` with every code point of `text` (a lone surrogate stands for itself) and the
// units it takes.
template <typename Each> void forEachCodePoint(QStringView text, Each each)
{
    for (qsizetype i = 0; i < text.size();) {
        const CodePoint point = codePointAt(text, i);
        each(point.value, text.sliced(i, point.units));
        i += point.units;
    }
}

} // namespace Tidy
