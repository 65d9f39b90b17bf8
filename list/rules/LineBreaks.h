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

// True when `text` holds a CR or an LF.
bool holdsBreak(ItemText text);
// The lines of `text`, split at CR LF, CR and LF; empty lines left out.
QStringList nonEmptyLines(QStringView text);
// `text` with each CR LF, CR and LF made one blank.
QString asBlanks(QStringView text);
// The lines of `text` as a list file's items: split at CR LF, CR and LF, empty lines kept, a
// final line end adding none; yields now and then through `host`.
TextPool lines(QStringView text, ListHost &host);
// How many of `texts` hold a line break, yielding now and then through `host`.
qsizetype countItemsWithBreaks(const TextPool &texts, ListHost &host);

} // namespace LineBreaks
