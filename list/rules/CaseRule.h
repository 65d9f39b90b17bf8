#pragma once

#include "CaseOption.h"
#include "ItemText.h"

#include <QStringView>

#include <cstddef>
#include <cstdint>

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
