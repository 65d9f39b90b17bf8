#pragma once

// A list shaped like real data for the near-duplicate review: the package names, one-line
// descriptions and people (maintainers, uploaders) of this machine's package index, repeated
// with planted changes, and for each line the text it was made from and what was changed.

#include <QString>
#include <QStringList>

#include <vector>

// What was planted in a line.
enum class PlantedChange : char {
    None = 'u',
    LetterCase = 'c',
    Blanks = 'b',
    SlipInName = 'n',   // the name of a "Name <address>" entry
    SlipInLocal = 'l',  // the address before the "@"
    SlipInDomain = 'd', // the address after the "@"
    SlipInText = 't',   // a package name or a description
};

inline bool isSlip(PlantedChange change)
{
    return change == PlantedChange::SlipInName || change == PlantedChange::SlipInLocal ||
           change == PlantedChange::SlipInDomain || change == PlantedChange::SlipInText;
}

struct RealShapedList
{
    QStringList bases;               // the different texts taken from the index
    QStringList lines;               // the list
    std::vector<quint32> baseOf;     // for each line, the base it was made from
    std::vector<PlantedChange> made; // for each line, what was planted in it
};

// The people of a Maintainer or Uploaders field: split at the commas between entries, not at
// a comma inside a quoted name or inside "<...>"; empty entries (a trailing comma) dropped.
QStringList splitPeople(QStringView field);

// Writes `count` lines made from `apt-cache dumpavail` to `path`, with its bases beside it in
// `path`.bases and what each line is in `path`.truth; the same lines for the same index. One
// line in ten has a slip, one of `slipsPerBase` each base has, as a list merged from a few
// sources repeats its typing errors; with 0, a new one each time, which at a million lines
// puts hundreds of slips of one team address side by side. Returns the number of bases.
qsizetype writeRealShapedList(const QString &path, int count, int slipsPerBase = 3);

// The first `count` lines of such a list (all of them when `count` is 0), with their truth.
RealShapedList readRealShapedList(const QString &path, int count = 0);
