#pragma once

// The lists the benchmark writes for its runs: e-mail-like items, and lists shaped like a merged
// mailing list.

#include <QByteArray>
#include <QString>

// The e-mail-like item for `key`: the same key, the same text.
QByteArray itemText(quint32 key);

// `count` lines (CRLF) of e-mail-like items, about 30% of them duplicates, many of those in
// another letter case; the path.
QString writeGeneratedList(const QString &path, int count);

// Names put in front of a quarter of the mailing list's addresses: Latin-1 accents, or names of
// many scripts (Greek, Cyrillic and CJK beside Latin-1).
extern const char *const kAccentedNames[10];
extern const char *const kManyScriptNames[10];

// A list shaped like a merged mailing list: `count` lines (LF) of e-mail-like addresses drawn
// from count / 5 distinct ones, so about 80% are duplicates under "Ignore case"; one line in
// five upper-cased, and about a quarter of the addresses holding non-ASCII letters (`names` in
// front). The path.
QString writeMailingList(const QString &path, int count,
                         const char *const (&names)[10] = kAccentedNames);
