#pragma once

#include <QString>

// Find Near Duplicates on `itemCount` generated items, a fifth of them a near duplicate of
// another: the grouping under each set of boxes and each compared part, the review paged
// through, beside a copy of every text and plain Python groupings in the same run.
void benchNearDuplicates(const QString &folder, int itemCount = 1000000);
