#pragma once

#include "ComparedPart.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <string>

// Near duplicates: items whose texts are equal once a normalisation has made them alike
// (the key-collision fingerprint of data-cleaning tools). Each part can be switched off.
struct NearKeyOptions
{
    bool foldCase = true;      // full case folding: "MÜLLER" = "müller", "ß" = "ss"
    bool compatibility = true; // NFKC: "ﬁ" = "fi", full-width forms = ASCII
    bool blanks = true;        // white space trimmed and collapsed, invisibles dropped
    bool accents = true;       // marks dropped after decomposition: "José" = "Jose"
    bool punctuation = false;  // punctuation and symbols dropped: "o'brien" = "obrien"
    bool wordOrder = false;    // words in sorted order: "Smith, John" = "John Smith"
    bool slips = false;        // keys a slip of the keyboard apart: "jonh" = "john"
    ComparedPart compared;     // what of each item the parts above apply to
};

// The text `text` is grouped by under `options` (its compared part left to the caller).
QString NearKey(QStringView text, const NearKeyOptions &options);
// The key an item is grouped by: NearKey of what is compared of it; none when the item has
// nothing to compare (no address, too few columns), and is not grouped.
// With compared addresses, the key is the two sides of the "@", each made a key on its own.
std::optional<QString> NearGroupKey(QStringView item, const NearKeyOptions &options);
// True when addresses are compared and the item names more than one: it is never grouped.
bool NamesSeveralAddresses(QStringView item, const NearKeyOptions &options);

// The item's key into `key`, as NearGroupKey makes it but without a QString for an ASCII
// item compared whole (a million items are a million keys); `spare` is room to work in.
// False when the item has no key.
bool NearItemKey(QStringView item, const NearKeyOptions &options, std::u16string &key,
                 std::u16string &spare);
