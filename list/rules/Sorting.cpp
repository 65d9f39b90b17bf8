#include "Sorting.h"

#include "CollationKeys.h"
#include "ItemList.h"
#include "ListHost.h"
#include "ListPass.h"
#include "YieldPacing.h"

#include <QLocale>
#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <exception>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>

namespace List {

namespace {
constexpr qsizetype kKeysPerSlice = 8192;
constexpr size_t kRun = 16384; // items sorted in one go before the runs are merged

// Every item's sort key: the first half's, and the second half's made on another thread.
struct SortKeys
{
    CollationKeys first, second;

    size_t size() const { return size_t(first.size() + second.size()); }
    const char *operator[](quint32 position) const
    {
        return position < first.size() ? first.key(position) : second.key(position - first.size());
    }
};

// Sort keys for every item, a slice at a time; nothing when the list or the case option
// changed meanwhile. The keys of the second half are made on a thread of their own, from a
// copy of the texts that shares the list's buffer: the list itself is only read here, and a
// command run while this one yields changes the list, never that copy.
std::optional<SortKeys> sortKeys(const ItemList &listView, ListHost &host,
                                 const std::function<bool()> &changed)
{
    const TextPool texts = listView.texts();
    const QLocale locale = collationLocale(QLocale());
    const CaseOption option = host.caseOption();
    const qsizetype count = texts.size();
    const qsizetype half = count / 2;
    SortKeys keys{CollationKeys(locale, option), CollationKeys(locale, option)};
    std::atomic<bool> stop{false}, done{false};
    std::exception_ptr failure;
    const auto makeSecondHalf = [&] {
        try {
            keys.second.reserve(count - half);
            for (qsizetype position = half; position < count && !stop; ++position)
                keys.second.append(texts.at(position));
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    };
    std::thread other;
    try {
        other = std::thread(makeSecondHalf);
    } catch (const std::system_error &) {
        makeSecondHalf(); // no thread to be had: the window's makes them too
    }
    const auto finish = [&](bool abandon) {
        stop = stop || abandon;
        if (other.joinable())
            other.join();
        if (failure && !abandon)
            std::rethrow_exception(failure);
    };
    try {
        keys.first.reserve(half);
        YieldPacer pacer(host);
        for (qsizetype position = 0; position < half; ++position) {
            keys.first.append(texts.at(position));
            if (position % kKeysPerSlice == 0 && pacer.due()) {
                host.setProgress(double(position + 1) / double(half) * 50.0);
                host.yieldToEventLoop();
                if (changed()) {
                    finish(true);
                    return std::nullopt;
                }
            }
        }
        // The other half may still be under way: the window stays live meanwhile.
        if (!waitTakingTurns(
                host, [&] { return done.load(); }, changed)) {
            finish(true);
            return std::nullopt;
        }
    } catch (...) {
        finish(true);
        throw;
    }
    finish(false);
    return keys;
}
} // namespace

QLocale collationLocale(const QLocale &userLocale)
{
    // Qt collates the C locale (no language set: LANG unset, C, C.UTF-8, POSIX) code point by
    // code point, ignoring numeric mode and case: English collation is the neutral order
    // such a user still expects.
    return userLocale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                               : userLocale;
}

std::vector<quint32> SortOrder(ItemList &listView, bool descending, ListHost &host)
{
    const auto sortOnce = [&](const ListPass &pass) -> std::optional<std::vector<quint32>> {
        const auto changed = [&] { return pass.listChanged(); };
        std::optional<SortKeys> found = sortKeys(listView, host, changed);
        if (!found || found->size() != size_t(listView.count()) || changed())
            return std::nullopt;
        const SortKeys &keys = *found;
        const auto before = [&](quint32 a, quint32 b) {
            return descending ? CollationKeys::compare(keys[b], keys[a]) < 0
                              : CollationKeys::compare(keys[a], keys[b]) < 0;
        };
        // Runs sorted one at a time, then merged pairwise, a yield between: one sort of a
        // million keys would hold the window up. Both keep equal items in their order.
        // Both the order and the merges' output are made by appending, with yields: millions
        // of entries made at once would touch all their fresh memory in one go.
        std::vector<quint32> order;
        order.reserve(keys.size());
        YieldPacer pacer(host);
        while (order.size() < keys.size()) {
            const size_t to = std::min(keys.size(), order.size() + size_t(kKeysPerSlice));
            for (size_t position = order.size(); position < to; ++position)
                order.push_back(quint32(position));
            if (pacer.due())
                host.yieldToEventLoop();
        }
        // Every other run on a thread of its own: the runs are apart, the keys only read.
        const auto sortRun = [&](size_t from) {
            const auto end = order.begin() + qsizetype(std::min(order.size(), from + kRun));
            std::stable_sort(order.begin() + qsizetype(from), end, before);
        };
        std::atomic<bool> oddRunsSorted{false};
        const auto sortOddRuns = [&] {
            for (size_t from = kRun; from < order.size(); from += 2 * kRun)
                sortRun(from);
            oddRunsSorted = true;
        };
        std::thread odd;
        // Joined however this ends: a failure while the window takes its turns would
        // otherwise leave it running, which ends the program.
        const auto joinOdd = qScopeGuard([&] {
            if (odd.joinable())
                odd.join();
        });
        try {
            odd = std::thread(sortOddRuns);
        } catch (const std::system_error &) {
            sortOddRuns(); // no thread to be had: the window's sorts them too
        }
        for (size_t from = 0; from < order.size(); from += 2 * kRun) {
            sortRun(from);
            if (pacer.due())
                host.yieldToEventLoop();
        }
        waitTakingTurns(host, [&] { return oddRunsSorted.load(); });
        if (odd.joinable())
            odd.join();
        // A yield where each stage ends: the next one's first yield is a slice away.
        host.yieldToEventLoop();
        std::vector<quint32> merged;
        merged.reserve(order.size());
        for (size_t width = kRun; width < order.size(); width *= 2) {
            merged.clear();
            for (size_t from = 0; from < order.size(); from += 2 * width) {
                const size_t middle = std::min(order.size(), from + width);
                const size_t to = std::min(order.size(), from + 2 * width);
                // A merge of its own, for a yield part way: the last one takes every item.
                size_t left = from, right = middle;
                while (left < middle && right < to) {
                    // From the right only when strictly before: equal items keep their order.
                    merged.push_back(before(order[right], order[left]) ? order[right++]
                                                                       : order[left++]);
                    if (merged.size() % kKeysPerSlice == 0 && pacer.due())
                        host.yieldToEventLoop();
                }
                merged.insert(merged.end(), order.begin() + qsizetype(left),
                              order.begin() + qsizetype(middle));
                merged.insert(merged.end(), order.begin() + qsizetype(right),
                              order.begin() + qsizetype(to));
            }
            order.swap(merged);
        }
        // The keys' memory goes back a block at a time, with turns: hundreds of megabytes
        // given back at once held the window up a tenth of a second.
        while (found->first.giveBackBlock() || found->second.giveBackBlock()) {
            if (pacer.due())
                host.yieldToEventLoop();
        }
        found.reset();
        host.yieldToEventLoop();
        if (changed())
            return std::nullopt;
        return order;
    };
    return passOverUnchangedList(listView, host, sortOnce);
}

TextPool TextsInOrder(ItemList &listView, const std::vector<quint32> &order, ListHost &host)
{
    if (listView.changeUnderWay()) {
        listView.finishChange();
        return {};
    }
    const quint64 revision = listView.revision();
    TextPool texts;
    texts.reserve(qsizetype(order.size()), listView.texts().byteCount());
    YieldPacer pacer(host);
    for (size_t position = 0; position < order.size(); ++position) {
        texts.append(listView.text(order[position]));
        if (position % kKeysPerSlice == 0 && pacer.due()) {
            host.yieldToEventLoop();
            if (listView.revision() != revision)
                return {};
        }
    }
    host.yieldToEventLoop(); // putting them in place comes next
    return listView.revision() == revision ? texts : TextPool();
}

std::vector<quint32> ReversedOrder(qsizetype count)
{
    std::vector<quint32> order(static_cast<size_t>(count));
    for (size_t position = 0; position < order.size(); ++position)
        order[position] = quint32(order.size() - 1 - position);
    return order;
}

} // namespace List
