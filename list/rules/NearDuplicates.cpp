#include "NearDuplicates.h"

#include "ItemList.h"
#include "ListHost.h"
#include "ListPass.h"
#include "NearItemKeys.h"
#include "SpellingSlips.h"
#include "YieldPacing.h"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <utility>

namespace {

constexpr qsizetype kSlice = 8192;

// What the search makes of one pass over the list: its groups, or nothing when abandoned. A
// pass that gives no outcome at all starts again: the list changed meanwhile.
using Outcome = std::optional<NearGroups>;

// Where the search looks, after a turn of the window, whether to go on: it ends, with
// nothing, when abandoned, and starts again when the list changed meanwhile.
class SearchTurns
{
public:
    SearchTurns(ListHost &host, const ListPass &pass, const std::function<bool()> &abandon)
        : m_host(host), m_pass(pass), m_abandon(abandon)
    {
    }
    // True when the search stops here: abandoned, or working on a list that changed.
    bool stop()
    {
        m_abandoned = m_abandon();
        return m_abandoned || m_pass.listChanged();
    }
    // The same after a turn of the window.
    bool stopAfterTurn()
    {
        m_host.yieldToEventLoop();
        return stop();
    }
    // True when abandoned at a turn of the window; whether the list changed is looked at
    // later.
    bool abandonedAfterTurn()
    {
        m_host.yieldToEventLoop();
        m_abandoned = m_abandon();
        return m_abandoned;
    }
    // For the waits of the key pass and the slip search: true when the search stops.
    bool givesUp() const { return m_abandon() || m_pass.listChanged(); }
    // What the pass gives once stopped.
    std::optional<Outcome> stopped() const
    {
        return m_abandoned ? std::optional<Outcome>(Outcome()) : std::nullopt;
    }

private:
    ListHost &m_host;
    const ListPass &m_pass;
    const std::function<bool()> &m_abandon;
    bool m_abandoned = false;
};

// A group of near duplicates, or a class of items of one key: members[start, start + size),
// in list order.
struct Group
{
    qsizetype start, size;
    // The list position of the member kept for its spelling, and how many share it; -1 and 0
    // where the last member is kept.
    qint64 keptPosition = -1;
    quint32 spellingShare = 0;
};

// The groups in the order of their first items, where no item is in two of them: placed at
// their first items, then read out in list order, with yields (a million groups sorted in one
// go would hold the window up).
std::vector<Group> inOrderOfFirstItems(const std::vector<Group> &groups,
                                       const std::vector<quint32> &members, qsizetype count,
                                       ListHost &host, YieldPacer &pacer)
{
    std::vector<quint32> groupAt; // the group starting at an item, plus one
    growFilled(groupAt, size_t(count), {}, host, pacer);
    for (size_t g = 0; g < groups.size(); ++g) {
        groupAt[members[size_t(groups[g].start)]] = quint32(g + 1);
        yieldIfDue(host, pacer, g);
    }
    std::vector<Group> ordered;
    ordered.reserve(groups.size());
    for (size_t position = 0; position < groupAt.size(); ++position) {
        if (const quint32 g = groupAt[position]; g != 0)
            ordered.push_back(groups[g - 1]);
        yieldIfDue(host, pacer, position);
    }
    return ordered;
}

// The groups' indexes, larger groups first, equal sizes in their order: counted out by size,
// as there are few sizes, with yields.
std::vector<quint32> largestFirst(const std::vector<Group> &groups, ListHost &host,
                                  YieldPacer &pacer)
{
    std::map<qsizetype, size_t, std::greater<>> next;
    for (size_t g = 0; g < groups.size(); ++g) {
        ++next[groups[g].size];
        yieldIfDue(host, pacer, g);
    }
    size_t start = 0;
    for (auto &[size, groupsOfSize] : next)
        start += std::exchange(groupsOfSize, start);
    std::vector<quint32> order;
    growFilled(order, groups.size(), {}, host, pacer);
    for (size_t g = 0; g < groups.size(); ++g) {
        order[next[groups[g].size]++] = quint32(g);
        yieldIfDue(host, pacer, g);
    }
    return order;
}

} // namespace

namespace List {

std::optional<NearGroups> FindNearDuplicates(ItemList &listView, const NearKeyOptions &options,
                                             ListHost &host, const std::function<bool()> &abandon)
{
    const auto searchOnce = [&](const ListPass &pass) -> std::optional<Outcome> {
        SearchTurns turns(host, pass, abandon);
        const qsizetype count = listView.count();
        std::optional<NearItemKeys> made =
            MakeNearItemKeys(listView, options, host, [&] { return turns.givesUp(); });
        if (turns.stop() || !made)
            return turns.stopped();
        const NearItemKeys &keys = *made;
        const std::vector<quint64> &hashes = made->hashes;
        const std::vector<quint32> &grouped = made->grouped;
        const qsizetype severalAddresses = made->severalAddresses;
        YieldPacer pacer(host);

        // The positions by hash, in list order within one hash: a counting sort by the top
        // bits, then each small bucket sorted.
        constexpr int kBucketBits = 16;
        // Each pass a slice at a time: ten million items take a while.
        const auto eachGrouped = [&](const auto &visit) {
            for (size_t k = 0; k < grouped.size(); ++k) {
                visit(grouped[k]);
                yieldIfDue(host, pacer, k);
            }
        };
        std::vector<quint32> starts((size_t(1) << kBucketBits) + 1, 0);
        eachGrouped([&](quint32 position) {
            ++starts[size_t(hashes[position] >> (64 - kBucketBits)) + 1];
        });
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        std::vector<quint32> byHash;
        growFilled(byHash, grouped.size(), {}, host, pacer);
        {
            std::vector<quint32> next(starts.begin(), starts.end() - 1);
            eachGrouped([&](quint32 position) {
                byHash[next[size_t(hashes[position] >> (64 - kBucketBits))]++] = position;
            });
        }
        const qsizetype keyed = qsizetype(byHash.size());
        if (turns.stopAfterTurn())
            return turns.stopped();
        for (size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
            std::stable_sort(byHash.begin() + starts[bucket], byHash.begin() + starts[bucket + 1],
                             [&](quint32 a, quint32 b) { return hashes[a] < hashes[b]; });
            if (bucket % 1024 == 0 && pacer.due())
                host.yieldToEventLoop();
        }
        if (turns.stopAfterTurn())
            return turns.stopped();

        // Runs of one hash split by key: one class of items for each key, in list order.
        // Without slips only classes of two or more are kept; they are the groups.
        std::vector<quint32> members;
        std::vector<Group> classes;
        std::vector<quint32> run, rest;
        for (qsizetype from = 0; from < keyed;) {
            qsizetype to = from + 1;
            while (to < keyed && hashes[byHash[size_t(to)]] == hashes[byHash[size_t(from)]])
                ++to;
            if (to - from >= 2 || options.slips) {
                run.assign(byHash.begin() + from, byHash.begin() + to);
                while (!run.empty()) {
                    const ItemText key = keys.at(run.front());
                    const qsizetype start = qsizetype(members.size());
                    rest.clear();
                    for (const quint32 position : run)
                        (keys.at(position) == key ? members : rest).push_back(position);
                    if (qsizetype(members.size()) - start >= 2 || options.slips)
                        classes.push_back({start, qsizetype(members.size()) - start});
                    else
                        members.resize(size_t(start));
                    run.swap(rest);
                }
            }
            if (from / kSlice != to / kSlice && pacer.due())
                host.yieldToEventLoop();
            from = to;
        }
        if (turns.stop())
            return turns.stopped();

        std::vector<Group> groups;
        if (!options.slips) {
            groups = std::move(classes);
        } else {
            // Classes whose keys are slips of one another join; the keys of more items, then
            // of earlier ones, are taken first, as the likelier right spellings.
            // The classes in the order of their first items, so that their keys are read in
            // the order they were written; then, for taking them in turn, larger ones first.
            classes = inOrderOfFirstItems(classes, members, count, host, pacer);
            if (turns.abandonedAfterTurn())
                return turns.stopped();
            // The slip search reads each class's key as UTF-16: the keys one after another,
            // appended with yields to room made for them all (the views stay valid).
            qsizetype keyUnits = 0;
            for (size_t c = 0; c < classes.size(); ++c) {
                keyUnits += keys.length(members[size_t(classes[c].start)]);
                yieldIfDue(host, pacer, c);
            }
            std::u16string keyCharacters;
            keyCharacters.reserve(size_t(keyUnits));
            std::vector<QStringView> classKeys;
            classKeys.reserve(classes.size());
            for (size_t c = 0; c < classes.size(); ++c) {
                const qsizetype at = qsizetype(keyCharacters.size());
                keys.at(members[size_t(classes[c].start)])
                    .visit([&](const auto *units, qsizetype size) {
                        keyCharacters.append(units, units + size);
                    });
                classKeys.emplace_back(keyCharacters.data() + at,
                                       qsizetype(keyCharacters.size()) - at);
                yieldIfDue(host, pacer, c);
            }
            const std::vector<quint32> order = largestFirst(classes, host, pacer);
            if (turns.abandonedAfterTurn())
                return turns.stopped();
            const Slips::SlipRule rule = options.compared.kind == ComparedPart::Kind::EmailAddress
                                             ? Slips::SlipRule::AddressParts
                                             : Slips::SlipRule::WholeText;
            const std::optional<Slips::SlipGroups> found =
                Slips::groupSlips(classKeys, order, rule, host, [&] { return turns.givesUp(); });
            if (turns.stop() || !found)
                return turns.stopped();
            if (found->tooManyPairs) {
                NearGroups refused;
                refused.starts.push_back(0);
                refused.severalAddresses = severalAddresses;
                refused.tooManySlips = true;
                host.setProgress(0);
                return Outcome(std::move(refused));
            }
            const std::vector<qint32> *const slipGroups = &found->groupOf;
            if (turns.stopAfterTurn())
                return turns.stopped();
            // Each slip group's classes merged, in list order, after the classes: counted out
            size_t slipGroupCount = 0;
            for (const qint32 slipGroup : *slipGroups)
                slipGroupCount = std::max(slipGroupCount, size_t(slipGroup + 1));
            std::vector<size_t> joinedStarts;
            growFilled(joinedStarts, slipGroupCount + 1, {}, host, pacer);
            for (size_t c = 0; c < classes.size(); ++c) {
                const qint32 slipGroup = (*slipGroups)[c];
                if (slipGroup >= 0)
                    joinedStarts[size_t(slipGroup) + 1] += size_t(classes[c].size);
                else if (classes[c].size >= 2)
                    groups.push_back(classes[c]);
                yieldIfDue(host, pacer, c);
            }
            std::partial_sum(joinedStarts.begin(), joinedStarts.end(), joinedStarts.begin());
            // The spelling each slip group keeps: that of the class it was started from (taken
            // first, so it shares its text with the most items), when no other class of the
            // group is as large; else none, and the group keeps its last item.
            std::vector<quint32> rank;
            growFilled(rank, classes.size(), {}, host, pacer);
            for (size_t k = 0; k < order.size(); ++k) {
                rank[order[k]] = quint32(k);
                yieldIfDue(host, pacer, k);
            }
            constexpr quint32 kNoClass = ~quint32(0);
            std::vector<quint32> startedFrom, largestOther;
            growFilled(startedFrom, slipGroupCount, kNoClass, host, pacer);
            growFilled(largestOther, slipGroupCount, {}, host, pacer);
            for (size_t c = 0; c < classes.size(); ++c) {
                if (const qint32 slipGroup = (*slipGroups)[c]; slipGroup >= 0) {
                    quint32 &first = startedFrom[size_t(slipGroup)];
                    quint32 &other = largestOther[size_t(slipGroup)];
                    if (first == kNoClass) {
                        first = quint32(c);
                    } else if (rank[c] < rank[first]) {
                        other = std::max(other, quint32(classes[first].size));
                        first = quint32(c);
                    } else {
                        other = std::max(other, quint32(classes[c].size));
                    }
                }
                yieldIfDue(host, pacer, c);
            }
            std::vector<quint32>().swap(rank);
            std::vector<quint32> joined;
            growFilled(joined, joinedStarts.back(), {}, host, pacer);
            {
                std::vector<size_t> next(joinedStarts.begin(), joinedStarts.end() - 1);
                for (size_t c = 0; c < classes.size(); ++c) {
                    if (const qint32 slipGroup = (*slipGroups)[c]; slipGroup >= 0) {
                        const Group &group = classes[c];
                        std::copy(members.begin() + group.start,
                                  members.begin() + group.start + group.size,
                                  joined.begin() + qsizetype(next[size_t(slipGroup)]));
                        next[size_t(slipGroup)] += size_t(group.size);
                    }
                    yieldIfDue(host, pacer, c);
                }
            }
            const qsizetype joinedFrom = qsizetype(members.size());
            for (size_t g = 0; g < slipGroupCount; ++g) {
                const auto first = joined.begin() + qsizetype(joinedStarts[g]);
                const auto last = joined.begin() + qsizetype(joinedStarts[g + 1]);
                std::sort(first, last);
                if (last - first >= 2) {
                    Group group{joinedFrom + qsizetype(joinedStarts[g]), last - first};
                    const Group &spelling = classes[startedFrom[g]];
                    if (quint32(spelling.size) > largestOther[g]) {
                        group.keptPosition = members[size_t(spelling.start + spelling.size - 1)];
                        group.spellingShare = quint32(spelling.size);
                    }
                    groups.push_back(group);
                }
                yieldIfDue(host, pacer, g);
            }
            members.insert(members.end(), joined.begin(), joined.end());
            if (turns.stopAfterTurn())
                return turns.stopped();
        }
        // Largest first; equal sizes in the order of their first items.
        groups = inOrderOfFirstItems(groups, members, count, host, pacer);
        const std::vector<quint32> largestGroupsFirst = largestFirst(groups, host, pacer);
        if (turns.stopAfterTurn())
            return turns.stopped();
        NearGroups result;
        result.members.reserve(members.size());
        result.starts.reserve(groups.size() + 1);
        result.starts.push_back(0);
        result.kept.reserve(groups.size());
        if (options.slips)
            result.keptSpellingShare.reserve(groups.size());
        for (size_t g = 0; g < groups.size(); ++g) {
            const Group &group = groups[largestGroupsFirst[g]];
            const auto first = members.begin() + group.start;
            const auto last = first + group.size;
            result.members.insert(result.members.end(), first, last);
            result.starts.push_back(qsizetype(result.members.size()));
            // Members are in list order: the kept one found by halving.
            result.kept.push_back(
                group.keptPosition < 0
                    ? quint32(group.size - 1)
                    : quint32(std::lower_bound(first, last, quint32(group.keptPosition)) - first));
            if (options.slips)
                result.keptSpellingShare.push_back(group.spellingShare);
            yieldIfDue(host, pacer, g);
        }
        result.severalAddresses = severalAddresses;
        // What found the groups is given back before a last turn: hundreds of megabytes take
        // a while to give back, and the review's view of the groups comes next.
        made.reset(); // the keys, their hashes and the items that have them
        std::vector<quint32>().swap(byHash);
        std::vector<quint32>().swap(members);
        if (turns.stopAfterTurn())
            return turns.stopped();
        host.setProgress(0);
        return Outcome(std::move(result));
    };
    return passOverUnchangedList(listView, searchOnce);
}

} // namespace List
