#include "SpellingSlips.h"

#include <algorithm>
#include <vector>

namespace Slips {

QString markedDifferences(QStringView text, QStringView kept)
{
    const qsizetype n = text.size(), m = kept.size();
    if (n * m > 1000000)
        return text.toString();
    // The whole table, to trace one cheapest way back.
    std::vector<int> table(size_t((n + 1) * (m + 1)));
    const auto at = [&](qsizetype i, qsizetype j) -> int & {
        return table[size_t(i * (m + 1) + j)];
    };
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype j = 0; j <= m; ++j) {
            if (i == 0 || j == 0) {
                at(i, j) = int(i + j);
                continue;
            }
            int cell = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1,
                                 at(i - 1, j - 1) + (text[i - 1] == kept[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && text[i - 1] == kept[j - 2] && text[i - 2] == kept[j - 1])
                cell = std::min(cell, at(i - 2, j - 2) + 1);
            at(i, j) = cell;
        }
    }
    // Walked back from the end: matched characters as they are, each run of edits marked.
    QString marked;
    QString ownRun, keptRun;
    const auto closeRun = [&] {
        if (ownRun.isEmpty() && keptRun.isEmpty())
            return;
        std::reverse(ownRun.begin(), ownRun.end());
        std::reverse(keptRun.begin(), keptRun.end());
        // Built backwards, so the run goes in reversed too.
        QString run = u'[' + ownRun + QChar(0x2192) + keptRun + u']';
        std::reverse(run.begin(), run.end());
        marked += run;
        ownRun.clear();
        keptRun.clear();
    };
    qsizetype i = n, j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && text[i - 1] == kept[j - 1] && at(i, j) == at(i - 1, j - 1)) {
            closeRun();
            marked += text[--i];
            --j;
        } else if (i > 1 && j > 1 && text[i - 1] == kept[j - 2] && text[i - 2] == kept[j - 1] &&
                   at(i, j) == at(i - 2, j - 2) + 1) {
            ownRun += text[i - 1];
            ownRun += text[i - 2];
            keptRun += kept[j - 1];
            keptRun += kept[j - 2];
            i -= 2;
            j -= 2;
        } else if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + 1) {
            ownRun += text[--i];
            keptRun += kept[--j];
        } else if (i > 0 && at(i, j) == at(i - 1, j) + 1) {
            ownRun += text[--i];
        } else {
            keptRun += kept[--j];
        }
    }
    closeRun();
    std::reverse(marked.begin(), marked.end());
    return marked;
}

} // namespace Slips
