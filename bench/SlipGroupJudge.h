#pragma once

class NearGroups;
struct RealShapedList;

// How the review's slip groups compare with what was planted: a false group holds lines of
// two bases that are not alike under the compared rule itself (other keys); a missed slip is
// a planted one not grouped with a line of its base's key that is no slip (its base as it
// is, or in another letter case or with blanks): two lines of one slip, grouped as equal,
// have not been caught. Printed, with the slips by where they were planted and the false
// groups that join the most bases.
void judgeSlipGroups(const NearGroups &groups, const RealShapedList &list, bool addresses);
