#include "List.h"

#include "ComparedPart.h"
#include "ContainedText.h"
#include "DuplicateScan.h"
#include "ItemBits.h"
#include "ItemList.h"
#include "ListHost.h"
#include "PackedTexts.h"
#include "TextSearch.h"
#include "TextSet.h"
#include "Tidying.h"
#include "Trap.h"
#include <QCoreApplication>
#include <QStringMatcher>

#include <algorithm>
#include <unordered_map>

namespace List {
namespace {

constexpr qsizetype kSlice = 8192;

// What a removal takes: its positions (ascending) and, when the list keeps a history, their
// texts, copied beforehand. A removal that takes most of a long list keeps the rest anew
// instead: the positions and texts of the items it keeps, and the history takes the old
// texts whole, which costs no copy. Copying what is kept then touches far less new memory
// than copying what goes, and closing up the list is not needed at all.
struct Removal
{
    std::vector<qsizetype> positions;
    std::vector<quint32> packedAsItGoes; // positions of a removal that packs its texts itself
    PackedTexts texts;
    std::vector<quint32> kept;
    TextPool keptTexts;
    qsizetype count = 0; // items removed
};

// The items copied between two yields; fewer where the list is sliced finely (in tests).
qsizetype copySlice(const ItemList &listView)
{
    return std::min(kSlice, listView.itemsPerRemovalSlice());
}

// Keeping the rest anew needs room for the items kept (their bytes and bounds), beside the
// whole list. Removing in place packs the items removed for the history as the list gives
// its own memory back, so it needs room only for what the history keeps beside the texts
// (their bounds and positions) and for what is packed ahead of what is given back: about
// twelve bytes an item removed, measured on lists of ten million. When at least two items go
// for each one kept, the one that needs less is chosen; otherwise the list is closed up in
// place.
bool keepsTheRest(const ItemList &listView, const ItemBits &taken)
{
    const qsizetype removed = taken.count();
    const qsizetype kept = listView.count() - removed;
    if (kept <= 0 || removed < 2 * kept)
        return false;
    // The items kept take about their share of the bytes (reading every one to be exact
    // would be a pause of its own on a list of tens of millions).
    const double keptBytes =
        double(listView.texts().byteCount()) * double(kept) / double(listView.count());
    const double roomKeepingTheRest = keptBytes + 8.0 * double(kept);
    const double roomInPlace = 12.0 * double(removed);
    return roomKeepingTheRest <= roomInPlace;
}

// Removes what was prepared, a slice at a time with a yield between slices on long lists.
void remove(ItemList &listView, Removal &&removal, ListHost &host)
{
    if (!removal.kept.empty()) {
        listView.keepOnly(std::move(removal.kept), std::move(removal.keptTexts));
        return;
    }
    if (!removal.packedAsItGoes.empty())
        listView.startPackingRemoval(std::move(removal.packedAsItGoes));
    else
        listView.startRemoval(std::move(removal.positions), std::move(removal.texts));
    while (listView.changeUnderWay()) {
        host.yieldToEventLoop();
        listView.continueChange();
    }
}

// Finds the items to remove with `find` (which starts over itself when the list changes
// while it yields), then copies the texts the history keeps of them, or of the items kept,
// a slice at a time, yielding between slices: copying millions of texts into new memory at
// once would hold the window up for a second. A change to the list meanwhile, or to what
// `stillHolds` checks, sends it back to finding.
template <typename Find, typename StillHolds = bool (*)()>
Removal prepareRemoval(
    const ItemList &listView, ListHost &host, Find find,
    StillHolds stillHolds = [] { return true; })
{
    for (;;) {
        const ItemBits taken = find();
        Removal removal;
        auto &positions = removal.positions;
        removal.count = taken.count();
        const qsizetype slice = copySlice(listView);
        if (!listView.recordsChanges() || removal.count <= slice) {
            positions = taken.setPositions();
            return removal; // the removal keeps them itself, at no cost worth a yield
        }
        const quint64 revision = listView.revision();
        YieldPacer pacer(host);
        bool changed = false;
        const auto yieldBetween = [&](bool last) {
            // The removal that follows has the window to itself too: yield after the last.
            if (pacer.due() || last) {
                host.yieldToEventLoop();
                changed = listView.revision() != revision || !stillHolds();
            }
        };
        const bool keepTheRest = keepsTheRest(listView, taken);
        yieldBetween(true);
        if (changed)
            continue;
        if (keepTheRest) {
            removal.kept = taken.clearPositions();
            const auto &kept = removal.kept;
            const qsizetype count = qsizetype(kept.size());
            qsizetype bytes = 0;
            for (const quint32 position : kept)
                bytes += listView.texts().bytesToAppend(position);
            removal.keptTexts.reserve(count, bytes);
            for (qsizetype from = 0; from < count && !changed; from += slice) {
                const qsizetype to = std::min(count, from + slice);
                for (qsizetype k = from; k < to; ++k)
                    removal.keptTexts.append(listView.text(kept[size_t(k)]));
                yieldBetween(to == count);
            }
        } else {
            // Millions of positions are written a part at a time, taking turns with the window.
            std::vector<quint32> ascending;
            ascending.reserve(size_t(removal.count));
            constexpr qsizetype kItemsAtOnce = qsizetype(1) << 22;
            for (qsizetype from = 0; from < taken.size() && !changed; from += kItemsAtOnce) {
                const qsizetype to = std::min(taken.size(), from + kItemsAtOnce);
                taken.appendSetPositions(ascending, from, to);
                yieldBetween(to == taken.size());
            }
            if (changed)
                continue;
            if (listView.packsAsItRemoves(ascending)) {
                removal.packedAsItGoes = std::move(ascending);
                // The removal packs the texts itself, a slice at a time, and has the window
                // to itself first.
                yieldBetween(true);
                if (!changed)
                    return removal;
                continue;
            }
            positions.assign(ascending.begin(), ascending.end());
            const qsizetype count = removal.count;
            for (qsizetype from = 0; from < count && !changed; from += slice) {
                const qsizetype to = std::min(count, from + slice);
                removal.texts = listView.gatherTexts(positions, from, to, std::move(removal.texts));
                yieldBetween(to == count);
            }
        }
        if (!changed)
            return removal;
    }
}

// Scans until one whole scan has run over an unchanged list: a command run while we yield
// may add or remove items (or switch the case option), and positions found before that
// would remove the wrong items.
ItemBits findDuplicates(ItemList &listView, ListHost &host)
{
    for (;;) {
        listView.finishChange();
        const quint64 revision = listView.revision();
        const CaseOption option = host.caseOption();
        const auto listChanged = [&] {
            return listView.revision() != revision || host.caseOption() != option;
        };
        ItemBits found;
        bool changed = false;
        {
            DuplicateScan scan(listView.texts(), option);
            YieldPacer pacer(host);
            // Yield before the first slice (what ran before, a load adding a million rows to
            // the view, had the window to itself) and after the last (the removal that
            // follows does too), so the window waits for one of these steps at a time.
            host.yieldToEventLoop();
            changed = listChanged();
            while (!scan.done() && !changed) {
                scan.advance(kSlice);
                if (pacer.due() || scan.done()) {
                    host.setProgress(scan.progress());
                    host.yieldToEventLoop();
                    changed = listChanged();
                }
            }
            found = scan.takeDuplicates();
        }
        if (!changed)
            return found;
    }
}

// The items that `matches`, as bits the size of the list they were found in: finding them
// finishes a change under way, so the list is counted after.
ItemBits itemsMatching(ItemList &listView, ListHost &host,
                       const std::function<bool(ItemText)> &matches)
{
    const std::vector<qsizetype> positions = FindPositions(listView, host, matches);
    return ItemBits::of(positions, listView.count());
}

ItemBits findMatching(ItemList &listView, const QString &searchText, bool removeWhenContained,
                      ListHost &host)
{
    const ContainedText contained(searchText);
    return itemsMatching(listView, host,
                         [&](ItemText text) { return contained.in(text) == removeWhenContained; });
}

void removeItems(ItemList &listView, const QString &searchText, bool removeWhenContained,
                 ListHost &host, const QString &location)
{
    Trap trap(host.errorReporter(), location);
    Removal removal;
    trap.line(102, [&] {
        removal = prepareRemoval(listView, host, [&] {
            return findMatching(listView, searchText, removeWhenContained, host);
        });
    });
    trap.line(116, [&] { remove(listView, std::move(removal), host); });
    trap.line(124, [&] { host.setProgress(0); });
}

} // namespace

std::vector<qsizetype> FindPositions(ItemList &listView, ListHost &host,
                                     const std::function<bool(ItemText)> &matches)
{
    for (;;) {
        listView.finishChange();
        const quint64 revision = listView.revision();
        std::vector<qsizetype> positions;
        YieldPacer pacer(host);
        bool listChanged = false;
        const qsizetype count = listView.count();
        for (qsizetype position = 0; position < count; ++position) {
            if (matches(listView.text(position)))
                positions.push_back(position);
            if (position % kSlice == 0 && pacer.due()) {
                host.setProgress(double(position + 1) / double(count) * 100.0);
                host.yieldToEventLoop();
                if (listView.revision() != revision) {
                    listChanged = true;
                    break;
                }
            }
        }
        if (!listChanged)
            return positions;
    }
}

namespace {
qsizetype atSigns(ItemText text)
{
    return text.visit([](const auto *units, qsizetype size) {
        return qsizetype(std::count(units, units + size, '@'));
    });
}

// Every address in the lines of `listed`: a line may name several people.
TextPool addressesIn(const TextPool &listed)
{
    TextPool addresses;
    for (qsizetype line = 0; line < listed.size(); ++line) {
        const ItemText text = listed.at(line);
        if (atSigns(text) == 0)
            continue;
        for (const QString &address : EmailAddresses(Utf16Text(text)))
            addresses.append(address);
    }
    return addresses;
}

bool namesSeveralAddresses(ItemText text)
{
    return atSigns(text) >= 2 && NamesSeveralAddresses(Utf16Text(text));
}

// Removes the items that are (`whenListed`) or are not in `listed`, under the case option. By
// address, an item naming several addresses is neither: it stays, whoever is listed.
ListedRemoval removeByList(ItemList &listView, const TextPool &listed, ListHost &host,
                           bool whenListed, ListedBy by)
{
    const bool byAddress = by == ListedBy::EmailAddress;
    const TextPool compared = byAddress ? addressesIn(listed) : listed;
    TextSet set(compared, host.caseOption());
    const auto goes = [&](ItemText text) {
        if (!byAddress)
            return set.contains(text) == whenListed;
        if (namesSeveralAddresses(text))
            return false;
        const QString address = EmailAddress(Utf16Text(text));
        return (!address.isEmpty() && set.contains(address)) == whenListed;
    };
    YieldPacer pacer(host);
    while (set.build(kSlice)) {
        if (pacer.due())
            host.yieldToEventLoop();
    }
    Removal removal =
        prepareRemoval(listView, host, [&] { return itemsMatching(listView, host, goes); });
    ListedRemoval result;
    result.removed = removal.count;
    remove(listView, std::move(removal), host);
    if (byAddress)
        result.passedOver = qsizetype(FindPositions(listView, host, namesSeveralAddresses).size());
    host.setProgress(0);
    return result;
}
} // namespace

ListedRemoval RemoveItemsListed(ItemList &listView, const TextPool &listed, ListHost &host,
                                ListedBy by)
{
    return removeByList(listView, listed, host, true, by);
}

ListedRemoval RemoveItemsNotListed(ItemList &listView, const TextPool &listed, ListHost &host,
                                   ListedBy by)
{
    return removeByList(listView, listed, host, false, by);
}

qsizetype FindNext(ItemList &listView, const TextSearch &search, qsizetype after, ListHost &host)
{
    // Round the list a slice at a time; a list changed meanwhile is searched again from the
    // same place, as it now stands.
    for (;;) {
        after = listView.finishChange(after);
        const quint64 revision = listView.revision();
        const qsizetype count = listView.count();
        if (count == 0)
            return -1;
        const qsizetype from = std::min(after, count - 1);
        YieldPacer pacer(host);
        bool changed = false;
        for (qsizetype step = 1; step <= count && !changed; ++step) {
            const qsizetype position = (from + step) % count;
            if (search.foundIn(listView.text(position)))
                return position;
            if (step % kSlice == 0 && pacer.due()) {
                host.setProgress(double(step) / double(count) * 100.0);
                host.yieldToEventLoop();
                changed = listView.revision() != revision;
            }
        }
        if (!changed)
            return -1;
    }
}

QString noDuplicatesStatus()
{
    return QCoreApplication::translate("Tarnwell", "List loaded. No duplicates found.");
}

QString listLoadedStatus()
{
    return QCoreApplication::translate("Tarnwell", "List loaded. ");
}

QString duplicatesRemovedStatus(qsizetype count)
{
    return QCoreApplication::translate(
        "Tarnwell", "List loaded. %n duplicates found, %n duplicates removed", nullptr, int(count));
}

QString severalAddressesStatus(qsizetype count)
{
    return QCoreApplication::translate(
        "Tarnwell", "%n item(s) name more than one address and were left as they are.", nullptr,
        int(count));
}

void RemoveDupesAll(ItemList &listView, ListHost &host)
{
    Trap trap(host.errorReporter(), QStringLiteral("List.RemoveDupesAll"));
    // A command run while this one yields may remove duplicates itself (another load) or
    // clear the list: the count covers every duplicate removed meanwhile, and after a clear
    // there is no result about this list left to tell.
    const quint64 tallyBefore = listView.duplicatesRemovedTally();
    const quint64 clearsBefore = listView.clearCount();
    Removal removal;
    trap.line(102, [&] {
        // The duplicates found hold for the case option the scan ended under.
        CaseOption option = host.caseOption();
        removal = prepareRemoval(
            listView, host,
            [&] {
                ItemBits found = findDuplicates(listView, host);
                option = host.caseOption();
                return found;
            },
            [&] { return host.caseOption() == option; });
    });
    trap.line(148, [&] {
        const qsizetype found = removal.count;
        listView.addToDuplicatesRemovedTally(found);
        remove(listView, std::move(removal), host);
    });
    trap.line(156, [&] {
        if (listView.clearCount() != clearsBefore)
            return;
        const auto removed = qsizetype(listView.duplicatesRemovedTally() - tallyBefore);
        host.setStatus(removed == 0 ? noDuplicatesStatus() : duplicatesRemovedStatus(removed));
    });
    trap.line(162, [&] { host.setProgress(0); });
    // A load shows its items now, the duplicates gone.
    listView.showPendingRows();
}

void RemoveItemsWith(ItemList &listView, const QString &searchText, ListHost &host)
{
    removeItems(listView, searchText, true, host, QStringLiteral("List.RemoveItemsWith"));
}

void RemoveItemsWithout(ItemList &listView, const QString &searchText, ListHost &host)
{
    removeItems(listView, searchText, false, host, QStringLiteral("List.RemoveItemsWithout"));
}

AddedLines AddLines(ItemList &listView, const QStringList &lines, ListHost &host)
{
    listView.finishChange();
    const CaseOption option = host.caseOption();
    TextSet present(listView.texts(), option);
    YieldPacer pacer(host);
    while (present.build(kSlice)) {
        if (pacer.due())
            host.yieldToEventLoop();
    }
    const std::uint64_t seed = randomHashSeed();
    std::unordered_multimap<size_t, QStringView> accepted;
    std::vector<QStringView> toAdd;
    AddedLines result;
    for (const QString &line : lines) {
        bool known = present.contains(line);
        const size_t hash =
            option == CaseOption::CompareNothing ? 0 : comparisonHash(line, option, seed);
        const auto [first, last] = accepted.equal_range(hash);
        for (auto other = first; other != last && !known; ++other)
            known = textsEqual(other->second, line, option);
        if (known) {
            ++result.refused;
            continue;
        }
        accepted.emplace(hash, line);
        toAdd.push_back(line);
    }
    listView.appendAll(toAdd);
    result.added = qsizetype(toAdd.size());
    return result;
}

qsizetype RewriteItems(ItemList &listView, ListHost &host, const Tidy::Rule &rule)
{
    for (;;) {
        listView.finishChange();
        const quint64 revision = listView.revision();
        const qsizetype count = listView.count();
        TextPool texts;
        texts.reserve(count, listView.texts().byteCount());
        qsizetype changed = 0;
        QString tidied;
        Utf16Reader reader;
        YieldPacer pacer(host);
        bool listChanged = false;
        for (qsizetype position = 0; position < count && !listChanged; ++position) {
            const ItemText text = listView.text(position);
            // A Latin-1 text the rule cannot change is copied as it lies.
            const bool mayChange =
                !text.isLatin1() ||
                rule.mayChangeLatin1(static_cast<const unsigned char *>(text.data()), text.size());
            if (mayChange && rule.tidy(reader.read(text), tidied)) {
                texts.append(tidied);
                ++changed;
            } else {
                texts.append(text);
            }
            if (position % kSlice == 0 && pacer.due()) {
                host.setProgress(double(position + 1) / double(count) * 100.0);
                host.yieldToEventLoop();
                listChanged = listView.revision() != revision;
            }
        }
        if (listChanged)
            continue;
        if (changed > 0)
            listView.rewrite(std::move(texts));
        return changed;
    }
}

qsizetype RemoveItemsAt(ItemList &listView, std::vector<qsizetype> positions, quint64 revision,
                        ListHost &host)
{
    Removal removal = prepareRemoval(listView, host, [&] {
        return listView.revision() == revision ? ItemBits::of(positions, listView.count())
                                               : ItemBits();
    });
    const qsizetype removed = removal.count;
    remove(listView, std::move(removal), host);
    return removed;
}

qsizetype RemoveBlankItems(ItemList &listView, ListHost &host)
{
    Removal removal = prepareRemoval(listView, host, [&] {
        return itemsMatching(listView, host, [](ItemText text) { return Tidy::isBlank(text); });
    });
    const qsizetype removed = removal.count;
    remove(listView, std::move(removal), host);
    return removed;
}

bool ItemExists(ItemList &listView, QStringView text, CaseOption option, ListHost &host)
{
    // Ten million items take half a second under Ignore case: the window takes its turns, and
    // a list changed meanwhile is looked through again.
    constexpr qsizetype kItemsBetweenLooks = 65536;
    for (;;) {
        listView.finishChange();
        const quint64 revision = listView.revision();
        YieldPacer pacer(host);
        bool changed = false;
        for (qsizetype position = 0; position < listView.count() && !changed; ++position) {
            if (textsEqual(listView.texts().at(position), text, option))
                return true;
            if (position % kItemsBetweenLooks == 0 && pacer.due()) {
                host.yieldToEventLoop();
                changed = listView.revision() != revision;
            }
        }
        if (!changed)
            return false;
    }
}

} // namespace List
