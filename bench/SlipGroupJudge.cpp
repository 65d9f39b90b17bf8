#include "SlipGroupJudge.h"

#include "NearDuplicates.h"
#include "NearGroupsModel.h"
#include "RealShapedList.h"
#include "SpellingSlips.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <vector>

void judgeSlipGroups(const NearGroups &groups, const RealShapedList &list, bool addresses)
{
    NearKeyOptions options;
    if (addresses)
        options.compared.kind = ComparedPart::Kind::EmailAddress;
    QHash<QString, qint32> classIds;
    std::vector<qint32> baseClass;
    baseClass.reserve(size_t(list.bases.size()));
    for (const QString &base : list.bases) {
        const std::optional<QString> key = NearGroupKey(base, options);
        if (!key) {
            baseClass.push_back(-1); // no address: never grouped
            continue;
        }
        auto found = classIds.constFind(*key);
        if (found == classIds.constEnd())
            found = classIds.insert(*key, qint32(classIds.size()));
        baseClass.push_back(*found);
    }
    // A slip in a name leaves the address as it was.
    const auto relevant = [&](PlantedChange made) {
        return addresses ? made == PlantedChange::SlipInLocal || made == PlantedChange::SlipInDomain
                         : isSlip(made);
    };
    const qsizetype lines = list.lines.size();
    std::vector<qint32> lineClass(static_cast<size_t>(lines)),
        groupOf(static_cast<size_t>(lines), -1);
    std::vector<qint32> heldLinesOfClass(size_t(classIds.size()), 0);
    for (qsizetype i = 0; i < lines; ++i) {
        lineClass[size_t(i)] = baseClass[list.baseOf[size_t(i)]];
        if (lineClass[size_t(i)] >= 0 && !relevant(list.made[size_t(i)]))
            ++heldLinesOfClass[size_t(lineClass[size_t(i)])];
    }

    const auto bucketOf = [&](qsizetype line) {
        const PlantedChange made = list.made[size_t(line)];
        const QString &base = list.bases[qsizetype(list.baseOf[size_t(line)])];
        QString where = made == PlantedChange::SlipInName    ? QStringLiteral("in a name")
                        : made == PlantedChange::SlipInLocal ? QStringLiteral("before the @")
                        : made == PlantedChange::SlipInDomain
                            ? QStringLiteral("in the domain")
                            : QStringLiteral("in a package name or description");
        const QString baseKey = NearGroupKey(base, options).value_or(QString());
        if (addresses) {
            where += baseKey.indexOf(u'@') < 5 ? QStringLiteral(", local part under 5 characters")
                                               : QStringLiteral(", local part of 5 or more");
        }
        // Whether the rule itself takes it for a slip of its base: when it does, a miss is the
        // grouping's (a group never chains, so two slips of one base can go apart).
        const QString key = NearGroupKey(list.lines[line], options).value_or(QString());
        if (!Slips::areSlips(key, baseKey,
                             addresses ? Slips::SlipRule::AddressParts
                                       : Slips::SlipRule::WholeText))
            where += QStringLiteral(", no slip by the rule");
        return where;
    };

    qsizetype falseGroups = 0, planted = 0, missed = 0, alone = 0, takenByOthers = 0;
    QMap<QString, std::pair<qsizetype, qsizetype>> byBucket;    // planted, missed
    std::vector<std::pair<qsizetype, qsizetype>> falseBySpread; // distinct bases, group
    std::vector<qint32> classes;
    for (qsizetype g = 0; g < groups.count(); ++g) {
        classes.clear();
        for (qsizetype k = 0; k < groups.size(g); ++k) {
            const quint32 line = groups.member(g, k);
            groupOf[line] = qint32(g);
            classes.push_back(lineClass[line]);
        }
        std::sort(classes.begin(), classes.end());
        const qsizetype spread = std::unique(classes.begin(), classes.end()) - classes.begin();
        if (spread > 1) {
            ++falseGroups;
            falseBySpread.emplace_back(spread, g);
        }
    }
    // For each group, the classes of its lines that are no slips, in order.
    std::vector<std::vector<qint32>> heldClassesOfGroup(size_t(groups.count()));
    for (qsizetype g = 0; g < groups.count(); ++g) {
        std::vector<qint32> &of = heldClassesOfGroup[size_t(g)];
        for (qsizetype k = 0; k < groups.size(g); ++k) {
            const quint32 line = groups.member(g, k);
            if (!relevant(list.made[line]))
                of.push_back(lineClass[line]);
        }
        std::sort(of.begin(), of.end());
    }
    for (qsizetype i = 0; i < lines; ++i) {
        const qint32 own = lineClass[size_t(i)];
        if (!relevant(list.made[size_t(i)]) || own < 0)
            continue;
        if (heldLinesOfClass[size_t(own)] == 0) {
            ++alone;
            continue;
        }
        ++planted;
        bool caught = false, elsewhere = false;
        if (const qint32 g = groupOf[size_t(i)]; g >= 0) {
            const std::vector<qint32> &of = heldClassesOfGroup[size_t(g)];
            caught = std::binary_search(of.begin(), of.end(), own);
            elsewhere = !of.empty();
        }
        auto &counts = byBucket[bucketOf(i)];
        ++counts.first;
        if (!caught) {
            ++missed;
            ++counts.second;
            takenByOthers += elsewhere ? 1 : 0;
        }
    }
    std::printf("  false groups: %lld of %lld (lines of bases with different keys); missed slips: "
                "%lld of %lld planted, %lld of them in another base's group (%lld more whose "
                "base is only slips in the list)\n",
                static_cast<long long>(falseGroups), static_cast<long long>(groups.count()),
                static_cast<long long>(missed), static_cast<long long>(planted),
                static_cast<long long>(takenByOthers), static_cast<long long>(alone));
    for (auto bucket = byBucket.cbegin(); bucket != byBucket.cend(); ++bucket)
        std::printf("    slips %-66s %7lld missed of %7lld\n", qPrintable(bucket.key()),
                    static_cast<long long>(bucket->second), static_cast<long long>(bucket->first));
    // The false groups that join the most different bases, a few of their bases each.
    std::sort(falseBySpread.begin(), falseBySpread.end(),
              [](const auto &a, const auto &b) { return a.first > b.first; });
    for (size_t e = 0; e < std::min<size_t>(falseBySpread.size(), 3); ++e) {
        const qsizetype g = falseBySpread[e].second;
        QStringList shown;
        QSet<qint32> seen;
        for (qsizetype k = 0; k < groups.size(g) && shown.size() < 4; ++k) {
            const quint32 line = groups.member(g, k);
            if (!seen.contains(lineClass[line])) {
                seen.insert(lineClass[line]);
                shown.append(list.bases[qsizetype(list.baseOf[line])]);
            }
        }
        std::printf("    false group of %lld lines, %lld different keys: %s\n",
                    static_cast<long long>(groups.size(g)),
                    static_cast<long long>(falseBySpread[e].first),
                    qPrintable(shown.join(QStringLiteral(" | "))));
    }
    std::fflush(stdout);
}
