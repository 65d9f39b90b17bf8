#pragma once

#include <QString>

// Find and Check Items With... on 1,000,000 names of many scripts, beside a plain case-blind
// QStringMatcher pass over the same items in the same run.
void benchSearch(const QString &folder);
