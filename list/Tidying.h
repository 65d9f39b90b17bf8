#pragma once

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

// Leading and trailing white space removed.
bool trimBlanks(QStringView text, QString &out);
// Each run of white space between other characters made one blank (U+0020).
bool collapseInnerBlanks(QStringView text, QString &out);
// Invisible characters removed, no-break spaces made blanks.
bool removeInvisibleCharacters(QStringView text, QString &out);
// Full Unicode case mappings ("ß" upper-cases to "SS").
bool lowerCase(QStringView text, QString &out);
bool upperCase(QStringView text, QString &out);
// Empty, or white space only.
bool isBlank(QStringView text);

} // namespace Tidy
