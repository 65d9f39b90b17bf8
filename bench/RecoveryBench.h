#pragma once

#include <QString>

// The commands of a session at the size of the list in `listPath`, with the list kept for
// recovery and without, in turn in one run: each command's time and the window's longest
// pause, back to back (the record of one step still being written when the next starts) and
// at a user's pace (each record on disk before the next command).
void benchRecovery(const QString &folder, const QString &listPath, int rounds);

// The record's size after a load of `count` lines of each generated shape, beside the list it
// holds in UTF-8, with the time and CPU its writing took.
void benchRecordSizes(const QString &folder, int count);
