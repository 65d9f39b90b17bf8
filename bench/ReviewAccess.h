#pragma once

// What the near-duplicate benchmarks read of the window's near-duplicate review.

#include <QString>

class Form1;
class NearDuplicatesDialog;
class NearGroups;

NearDuplicatesDialog &reviewDialog(Form1 &form);
const NearGroups &reviewGroups(Form1 &form);
// Whether the review refused a search for slips as too many pairs.
bool refusedAsTooMany(Form1 &form);
// What the review says it found: its summary, or why it shows no groups.
QString reviewOutcome(Form1 &form);
