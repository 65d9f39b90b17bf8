#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

class ListHost;

// Slips of the keyboard: two texts that differ by a character added, left out or changed,
// or two neighbours swapped (one edit each), and by nothing else.
namespace Slips {

constexpr qsizetype kShortest = 5;  // shorter texts are never taken for slips
constexpr qsizetype kTwoEdits = 12; // texts this long may differ by two slips
constexpr qsizetype kLongest = 64;  // longer texts (whole lines) are not compared for slips
// More pairs of possible slips than this are more than anyone could review: the search stops.
constexpr qsizetype kMostPairs = 10000000;

// How many edits texts of these lengths may differ by and still be slips: 0, 1 or 2.
inline int allowedEdits(qsizetype length, qsizetype otherLength)
{
    const qsizetype shorter = std::min(length, otherLength);
    if (shorter < kShortest || std::max(length, otherLength) > kLongest)
        return 0;
    return shorter < kTwoEdits ? 1 : 2;
}

// The edits from `a` to `b` (swapped neighbours count one), or `limit` + 1 when there are
// more than `limit`.
int editDistance(QStringView a, QStringView b, int limit);

// How a text is judged: whole, or, for an e-mail address, each side of its "@" on its own
// length, their slips added up ("jonh@example.org" never slips: "jonh" is too short; a slip
// before the "@" and one in the domain are two).
enum class SlipRule { WholeText, AddressParts };

// Different texts with the same digits in the same order, within their allowed edits. A
// changed number is another record (a house, a year, an account), never a slip.
bool areSlips(QStringView a, QStringView b, SlipRule rule = SlipRule::WholeText);
// The same of texts known to be different.
bool differentTextsAreSlips(QStringView a, QStringView b, SlipRule rule);

// One word for the digits of a text, equal for equal digit sequences, its bits well mixed:
// texts whose digits hash apart are never slips.
quint64 digitsHash(QStringView text);

// `text` with each run that differs from `kept` shown as "[its part→kept's part]":
// "jo[nh→hn].smith", "jo[→h]n", "gm[ia→ai]l".
QString markedDifferences(QStringView text, QStringView kept);

// How texts group as slips: for each text the number of its group, or -1; or word that
// there are more possible pairs than kMostPairs, and no groups.
struct SlipGroups
{
    std::vector<qint32> groupOf;
    bool tooManyPairs = false;
};

// Which of `texts` (all different) group as slips of one another under `rule`. Every two
// texts in a group are slips of each other, so any of them may be the one kept. Texts are
// taken in `order`, earlier ones first: each starts a group with those of its slips not yet
// grouped that are slips of every member so far. Nothing when `abandon()` says so at a
// yield; the search stops within a turn of the window when told.
std::optional<SlipGroups> groupSlips(const std::vector<QStringView> &texts,
                                     const std::vector<quint32> &order, SlipRule rule,
                                     ListHost &host, const std::function<bool()> &abandon);

} // namespace Slips
