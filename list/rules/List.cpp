#include "List.h"

#include "ComparedPart.h"
#include "ContainedText.h"
#include "DuplicateScan.h"
#include "ItemList.h"
#include "ListHost.h"
#include "ListPass.h"
#include "Removal.h"
#include "SliceTurns.h"
#include "TextSearch.h"
#include "TextSet.h"
#include "Tidying.h"
#include "Trap.h"
#include "YieldPacing.h"
#include <QCoreApplication>
#include <QStringMatcher>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace List {
namespace {

constexpr qsizetype kSlice = 8192;

// Scans until one whole scan has run over an unchanged list: a command run while we yield
// may add or remove items (or switch the case option), and positions found before that
// would remove the wrong items.
ItemBits findDuplicates(ItemList &listView, ListHost &host)
{
    const auto scanOnce = [&](const ListPass &pass) -> std::optional<ItemBits> {
        ItemBits found;
        bool changed = false;
        {
            DuplicateScan scan(listView.texts(), pass.caseOption());
            YieldPacer pacer(host);
            // Yield before the first slice (what ran before, a load adding a million rows to
            // the view, had the window to itself) and after the last (the removal that
            // follows does too), so the window waits for one of these steps at a time.
            host.yieldToEventLoop();
            changed = pass.listChanged();
            while (!scan.done() && !changed) {
                scan.advance(kSlice);
                if (pacer.due() || scan.done()) {
                    host.setProgress(scan.progress());
                    host.yieldToEventLoop();
                    changed = pass.listChanged();
                }
            }
            found = scan.takeDuplicates();
        }
        if (changed)
            return std::nullopt;
        return found;
    };
    return passOverUnchangedList(listView, host, scanOnce);
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
    const auto findOnce = [&](const ListPass &pass) -> std::optional<std::vector<qsizetype>> {
        std::vector<qsizetype> positions;
        SliceTurns turns(host, pass);
        const qsizetype count = listView.count();
        for (qsizetype position = 0; position < count; ++position) {
            if (matches(listView.text(position)))
                positions.push_back(position);
            if (turns.listChangedAt(position, position + 1, count))
                return std::nullopt;
        }
        return positions;
    };
    return passOverUnchangedList(listView, findOnce);
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
    const auto searchOnce = [&](const ListPass &pass) -> std::optional<qsizetype> {
        const qsizetype count = listView.count();
        if (count == 0)
            return -1;
        const qsizetype from = std::min(after, count - 1);
        SliceTurns turns(host, pass);
        for (qsizetype step = 1; step <= count; ++step) {
            const qsizetype position = (from + step) % count;
            if (search.foundIn(listView.text(position)))
                return position;
            if (turns.listChangedAt(step, step, count))
                return std::nullopt;
        }
        return -1;
    };
    return passOverUnchangedListFrom(listView, after, searchOnce);
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
    const auto rewriteOnce = [&](const ListPass &pass) -> std::optional<qsizetype> {
        const qsizetype count = listView.count();
        TextPool texts;
        texts.reserve(count, listView.texts().byteCount());
        qsizetype changed = 0;
        QString tidied;
        Utf16Reader reader;
        SliceTurns turns(host, pass);
        for (qsizetype position = 0; position < count; ++position) {
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
            if (turns.listChangedAt(position, position + 1, count))
                return std::nullopt;
        }
        if (changed > 0)
            listView.rewrite(std::move(texts));
        return changed;
    };
    return passOverUnchangedList(listView, rewriteOnce);
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
    const auto lookOnce = [&](const ListPass &pass) -> std::optional<bool> {
        YieldPacer pacer(host);
        for (qsizetype position = 0; position < listView.count(); ++position) {
            if (textsEqual(listView.texts().at(position), text, option))
                return true;
            if (position % kItemsBetweenLooks == 0 && pacer.due()) {
                host.yieldToEventLoop();
                if (pass.listChanged())
                    return std::nullopt;
            }
        }
        return false;
    };
    return passOverUnchangedList(listView, lookOnce);
}

} // namespace List
