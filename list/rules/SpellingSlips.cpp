#include "SpellingSlips.h"

#include <QChar>

#include <algorithm>
#include <vector>

namespace Slips {

int editDistance(QStringView a, QStringView b, int limit)
{
    // What the texts share at either end takes no edits.
    qsizetype lead = 0;
    while (lead < a.size() && lead < b.size() && a[lead] == b[lead])
        ++lead;
    a = a.sliced(lead);
    b = b.sliced(lead);
    while (!a.isEmpty() && !b.isEmpty() && a.back() == b.back()) {
        a.chop(1);
        b.chop(1);
    }
    const qsizetype n = a.size(), m = b.size();
    if (std::abs(n - m) > limit)
        return limit + 1;
    if (n == 0 || m == 0)
        return int(std::max(n, m));
    // Three rows of the table, only the band within `limit` of the diagonal worked out.
    const int beyond = limit + 1;
    std::vector<int> before(size_t(m + 1), beyond), previous(size_t(m + 1), beyond),
        current(size_t(m + 1), beyond);
    for (qsizetype j = 0; j <= std::min<qsizetype>(m, limit); ++j)
        previous[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        std::fill(current.begin(), current.end(), beyond);
        if (i <= limit)
            current[0] = int(i);
        const qsizetype from = std::max<qsizetype>(1, i - limit);
        const qsizetype to = std::min<qsizetype>(m, i + limit);
        int rowBest = current[0];
        for (qsizetype j = from; j <= to; ++j) {
            const bool same = a[i - 1] == b[j - 1];
            int cell = std::min({previous[size_t(j)] + 1, current[size_t(j - 1)] + 1,
                                 previous[size_t(j - 1)] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                cell = std::min(cell, before[size_t(j - 2)] + 1);
            current[size_t(j)] = std::min(cell, beyond);
            rowBest = std::min(rowBest, current[size_t(j)]);
        }
        if (rowBest > limit)
            return beyond;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min(previous[size_t(m)], beyond);
}

namespace {

bool isDigit(QChar c)
{
    return c.unicode() < 0x80 ? c >= u'0' && c <= u'9' : c.isDigit();
}

bool sameDigits(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    for (;;) {
        while (i < a.size() && !isDigit(a[i]))
            ++i;
        while (j < b.size() && !isDigit(b[j]))
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i++] != b[j++])
            return false;
    }
}

} // namespace

quint64 digitsHash(QStringView text)
{
    quint64 hash = 0;
    for (const QChar c : text) {
        if (isDigit(c))
            hash = (hash ^ c.unicode()) * 0x100000001B3ull + 0x9E3779B97F4A7C15ull;
    }
    hash ^= hash >> 31;
    hash *= 0xBF58476D1CE4E5B9ull;
    return hash ^ (hash >> 29);
}

namespace {
// Slips between texts known to be different and to hold the same digits.
bool withinSlips(QStringView a, QStringView b, SlipRule rule)
{
    const int allowed = allowedEdits(a.size(), b.size());
    if (allowed == 0)
        return false;
    const qsizetype atA = a.lastIndexOf(u'@'), atB = b.lastIndexOf(u'@');
    if (rule == SlipRule::WholeText || atA < 0 || atB < 0)
        return editDistance(a, b, allowed) <= allowed;
    // Each side of the "@" is held to the rule on its own length, and their slips add up.
    int edits = 0;
    const QStringView parts[2][2] = {{a.first(atA), b.first(atB)},
                                     {a.sliced(atA + 1), b.sliced(atB + 1)}};
    for (const auto &[own, other] : parts) {
        if (own == other)
            continue;
        const int partAllowed = allowedEdits(own.size(), other.size());
        if (partAllowed == 0)
            return false;
        const int partEdits = editDistance(own, other, partAllowed);
        if (partEdits > partAllowed)
            return false;
        edits += partEdits;
    }
    return edits <= allowed;
}
} // namespace

bool differentTextsAreSlips(QStringView a, QStringView b, SlipRule rule)
{
    return sameDigits(a, b) && withinSlips(a, b, rule);
}

bool areSlips(QStringView a, QStringView b, SlipRule rule)
{
    return a != b && differentTextsAreSlips(a, b, rule);
}

} // namespace Slips
