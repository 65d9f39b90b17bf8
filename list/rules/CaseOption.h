#pragma once

// How two item texts are compared when looking for duplicates, as chosen with the
// "Ignore case" / "Match case" buttons.
enum class CaseOption {
    IgnoreCase,     // equal when the upper-case forms are equal
    MatchCase,      // equal only when identical code unit by code unit
    CompareNothing, // neither button selected: no two texts count as equal
};
