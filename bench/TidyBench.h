#pragma once

#include <QString>

// The Tidy commands on `items` dirty items (blanks at either end, no-break and zero-width
// spaces, empty items, capitals), each taken back after, beside a copy of every item's text
// into a new list in the same run.
void benchTidy(const QString &folder, int items = 1000000);
