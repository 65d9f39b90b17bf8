#pragma once

#include "ItemText.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class ListHost;
class TextPool;

// Items that hold line breaks: a list file is one item per line, so such an item would come
// back from its file as several.
namespace LineBreaks {

// The line-break rule of every text the program splits into lines or items: CR LF, CR and LF
// each end a line, CR LF as one.

// True for the characters that end a line: CR and LF.
inline bool isBreak(char16_t unit)
{
    return unit == u'\r' || unit == u'\n';
}

// How many characters the line break at `at` in `text` takes: 2 for CR LF, 1 for a CR or an
// LF alone, 0 where no line ends.
inline qsizetype breakLength(QStringView text, qsizetype at)
{
    // Most characters are no break: they are told apart first, as long loops want.
    const char16_t unit = text[at].unicode();
    if (!isBreak(unit))
        return 0;
    return unit == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
}

// True when `text` holds a CR or an LF.
bool holdsBreak(ItemText text);
// The lines of `text`, split at CR LF, CR and LF; empty lines left out.
QStringList nonEmptyLines(QStringView text);
// `text` with each CR LF, CR and LF made one blank.
QString asBlanks(QStringView text);
// `text` with each CR LF, CR and LF made one `mark`.
QString withBreaksAs(QStringView text, QChar mark);
// The lines of `text` as a list file's items: split at CR LF, CR and LF, empty lines kept, a
// final line end adding none; yields now and then through `host`.
TextPool lines(QStringView text, ListHost &host);
// How many of `texts` hold a line break, yielding now and then through `host`.
qsizetype countItemsWithBreaks(const TextPool &texts, ListHost &host);

} // namespace LineBreaks
