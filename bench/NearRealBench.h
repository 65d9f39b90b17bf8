#pragma once

#include <QString>

// Find Near Duplicates on a list made from this machine's package index (see RealShapedList.h),
// `count` lines of `listFile`, or of one written for the run when none is given: the default
// boxes, each further box ticked in turn, and spelling slips on whole items and on addresses,
// each with its wall and CPU time, peak memory and the window's longest pause, beside plain
// Python groupings of the same rule; and for slips, the groups that join different people or
// texts and the planted slips left out of their base's group.
void benchNearReal(const QString &folder, int count, const QString &listFile);
