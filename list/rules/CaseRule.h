#pragma once

#include "ItemText.h"

#include <QStringView>

#include <cstddef>
#include <cstdint>

// How two item texts are compared when looking for duplicates, as chosen with the
// "Ignore case" / "Match case" buttons.
enum class CaseOption {
    IgnoreCase,     // equal when the upper-case forms are equal
    MatchCase,      // equal only when identical code unit by code unit
    CompareNothing, // neither button selected: no two texts count as equal
};

// "Ignore case" wins when both are somehow selected, as the buttons are tested in that order.
CaseOption caseOptionFromButtons(bool ignoreCaseSelected, bool matchCaseSelected);

bool textsEqual(ItemText a, ItemText b, CaseOption option);

// A hash of the text's comparison key: texts that are equal under `option` hash alike.
// Not meaningful for CompareNothing. The seed keys the hash: a list cannot be prepared so
// that its items collide when the seed is drawn at random for each scan.
size_t comparisonHash(ItemText text, CaseOption option, std::uint64_t seed);

// A fresh random seed for comparisonHash.
std::uint64_t randomHashSeed();

bool isAscii(QStringView text);
