#include "NearItemKeys.h"

#include "CaseRule.h"
#include "ItemList.h"
#include "ListHost.h"
#include "TwoThreads.h"
#include "YieldPacing.h"

#include <algorithm>
#include <atomic>

std::optional<NearItemKeys> MakeNearItemKeys(const ItemList &listView,
                                             const NearKeyOptions &options, ListHost &host,
                                             const std::function<bool()> &giveUp)
{
    const TextPool texts = listView.texts();
    const qsizetype count = texts.size();
    const std::uint64_t seed = randomHashSeed();
    const size_t sliceCount = size_t((count + NearItemKeys::kSlice - 1) / NearItemKeys::kSlice);
    NearItemKeys keys;
    {
        YieldPacer pacer(host);
        growFilled(keys.hashes, size_t(count), {}, host, pacer);
    }
    keys.slices.resize(sliceCount);
    std::vector<std::vector<quint32>> grouped(sliceCount);
    std::vector<qsizetype> severalAddresses(sliceCount);
    std::atomic<size_t> next{0}, made{0};
    std::atomic<bool> stop{false};
    const auto work = [&](int) {
        Utf16Reader reader;
        std::u16string key, spare;
        for (size_t s = next++; s < sliceCount && !stop; s = next++) {
            TextPool &sliceKeys = keys.slices[s];
            const qsizetype first = qsizetype(s) * NearItemKeys::kSlice;
            const qsizetype last = std::min(count, first + NearItemKeys::kSlice);
            for (qsizetype position = first; position < last; ++position) {
                const QStringView item = reader.read(texts.at(position));
                if (NearItemKey(item, options, key, spare)) {
                    const QStringView view(key.data(), qsizetype(key.size()));
                    keys.hashes[size_t(position)] =
                        comparisonHash(view, CaseOption::MatchCase, seed);
                    grouped[s].push_back(quint32(position));
                    sliceKeys.append(view);
                } else {
                    if (NamesSeveralAddresses(item, options))
                        ++severalAddresses[s];
                    sliceKeys.append(QStringView());
                }
            }
            ++made;
        }
    };
    const bool finished = workOnTwoThreads(
        host, stop, work,
        [&] {
            host.setProgress(80.0 * double(made.load()) / double(std::max<size_t>(sliceCount, 1)));
        },
        giveUp);
    if (!finished)
        return std::nullopt;
    size_t groupedCount = 0;
    for (size_t s = 0; s < sliceCount; ++s) {
        groupedCount += grouped[s].size();
        keys.severalAddresses += severalAddresses[s];
    }
    keys.grouped.reserve(groupedCount);
    for (const std::vector<quint32> &slice : grouped)
        keys.grouped.insert(keys.grouped.end(), slice.begin(), slice.end());
    return keys;
}
