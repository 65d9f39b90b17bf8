#include "SpellingSlips.h"

#include "CaseRule.h"
#include "ListHost.h"
#include "TwoThreads.h"
#include "YieldPacing.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <numeric>

namespace Slips {

namespace {

// The pairs of texts that may be slips: those that become one text once each has lost as
// many characters as the pair may differ by. Two texts within k edits always do (a changed
// or swapped character lost from both, an added one from the one that has it), so no pair
// of slips is missed; the edits are counted afterwards. The shortened texts are compared by
// hash, one shortened length at a time, which keeps the table to a part of the whole; the
// lengths are shared out between two threads while the window takes its turns.
class CandidatePairs
{
public:
    struct Found
    {
        std::vector<quint64> pairs;
        bool tooMany = false;
    };

    // Millions of texts take a while: the window takes its turns meanwhile.
    CandidatePairs(const std::vector<QStringView> &texts, ListHost &host) : m_texts(texts)
    {
        YieldPacer pacer(host);
        m_digits.reserve(texts.size());
        m_byLength.resize(size_t(kLongest + 1));
        for (size_t i = 0; i < texts.size(); ++i) {
            m_digits.push_back(digitsHash(texts[i]));
            const qsizetype length = texts[i].size();
            if (length >= kShortest && length <= kLongest)
                m_byLength[size_t(length)].push_back(quint32(i));
            yieldIfDue(host, pacer, i, 4096);
        }
        m_base = randomHashSeed() | 1;
        m_powers[0] = 1;
        for (size_t k = 1; k < m_powers.size(); ++k)
            m_powers[k] = m_powers[k - 1] * m_base;
    }

    // Every pair once, the lower number first, or word that there are more than anyone could
    // review; nothing when abandoned. A failure on either thread (out of memory) is thrown
    // here, on the window's.
    std::optional<Found> find(ListHost &host, const std::function<bool()> &abandon)
    {
        // The lengths with the most shortened texts first, so the two threads end together.
        std::vector<qsizetype> lengths;
        for (qsizetype length = kShortest - 1; length <= kLongest; ++length)
            lengths.push_back(length);
        std::sort(lengths.begin(), lengths.end(),
                  [&](qsizetype a, qsizetype b) { return entriesAt(a) > entriesAt(b); });
        std::atomic<size_t> next{0};
        Budget budget;
        std::vector<quint64> found[2];
        const auto work = [&](int thread) {
            std::vector<quint64> &pairs = found[thread];
            {
                Workspace space; // given back before the window thread is told
                for (size_t k = next++; k < lengths.size() && !budget.stop; k = next++)
                    addPairsAtLength(lengths[k], pairs, space, budget);
            }
            // A pair met under several shortened texts is kept once; pairs no one will read
            // are not sorted (millions of them would keep a stop waiting).
            if (budget.stop)
                pairs = {};
            std::sort(pairs.begin(), pairs.end());
            pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
        };
        const bool finished = workOnTwoThreads(
            host, budget.stop, work,
            [&] {
                host.setProgress(80.0 + 10.0 * double(std::min(next.load(), lengths.size())) /
                                            double(lengths.size()));
            },
            abandon);
        if (!finished)
            return std::nullopt;
        Found result;
        if (budget.exceeded) {
            result.tooMany = true;
            return result;
        }
        result.pairs.resize(found[0].size() + found[1].size());
        result.pairs.erase(std::set_union(found[0].begin(), found[0].end(), found[1].begin(),
                                          found[1].end(), result.pairs.begin()),
                           result.pairs.end());
        return result;
    }

private:
    // How texts of length `from` are shortened to `length`, if they are: by how many.
    int lostFrom(qsizetype from, qsizetype length) const
    {
        const qsizetype lost = from - length;
        if (lost < 0 || lost > 2 || from > kLongest || (lost > 0 && from < kShortest) ||
            (lost == 2 && from < kTwoEdits))
            return -1;
        return int(lost);
    }

    size_t entriesAt(qsizetype length) const
    {
        size_t entries = 0;
        for (qsizetype from = length; from <= length + 2 && from <= kLongest; ++from) {
            const int lost = lostFrom(from, length);
            if (lost >= 0)
                entries +=
                    m_byLength[size_t(from)].size() * size_t(lost == 0   ? 1
                                                             : lost == 1 ? from
                                                                         : from * (from - 1) / 2);
        }
        return entries;
    }

    // What the two threads share: how many pairs they have found, and whether to stop (told,
    // failed, or too many found).
    struct Budget
    {
        std::atomic<qint64> pairs{0};
        std::atomic<bool> stop{false};
        std::atomic<bool> exceeded{false};

        // Counts `more` different pairs in; false when the threads are to stop.
        bool take(qint64 more)
        {
            if (more > 0 && (pairs += more) > kMostPairs)
                refuse();
            return !stop;
        }
        // Whether a thread may go on with `met` pairs met at one length, some of them
        // several times; false when the threads are to stop.
        bool allowsMet(qsizetype met)
        {
            if (pairs + met > kMostPairs * 2)
                refuse();
            return !stop;
        }
        void refuse()
        {
            exceeded = true;
            stop = true;
        }
    };

    // What a thread reuses from one length to the next.
    struct Workspace
    {
        std::vector<quint64> entries, table, shared;
        std::vector<size_t> starts, next;
        std::vector<quint32> run;
    };

    // Calls `sink` with the hash of every text `text` becomes when it loses as many characters
    // as it is longer than `length`, its digits mixed in: texts with other digits are never
    // slips, and so never meet.
    template <typename Sink>
    void forEachShortened(quint32 text, qsizetype length, Sink &&sink) const
    {
        const QStringView chars = m_texts[text];
        const qsizetype size = chars.size();
        // prefix[k]: the first k characters' hash; suffix[k]: the hash of those from k on.
        std::array<quint64, kLongest + 1> prefix, suffix;
        prefix[0] = 0;
        for (qsizetype k = 0; k < size; ++k)
            prefix[size_t(k + 1)] = prefix[size_t(k)] * m_base + chars[k].unicode();
        suffix[size_t(size)] = 0;
        for (qsizetype k = size - 1; k >= 0; --k)
            suffix[size_t(k)] =
                suffix[size_t(k + 1)] + m_powers[size_t(size - 1 - k)] * chars[k].unicode();
        const quint64 digits = m_digits[text];
        switch (size - length) {
        case 0:
            sink(prefix[size_t(size)] ^ digits);
            break;
        case 1:
            for (qsizetype i = 0; i < size; ++i)
                sink((prefix[size_t(i)] * m_powers[size_t(size - i - 1)] + suffix[size_t(i + 1)]) ^
                     digits);
            break;
        default:
            // The last character has none after it to be lost with.
            for (qsizetype i = 0; i + 1 < size; ++i) {
                // Without characters i and j: the first i, then those between, then the rest.
                const quint64 before = prefix[size_t(i)] * m_powers[size_t(size - i - 2)];
                for (qsizetype j = i + 1; j < size; ++j) {
                    const quint64 between =
                        prefix[size_t(j)] - prefix[size_t(i + 1)] * m_powers[size_t(j - i - 1)];
                    sink((before + between * m_powers[size_t(size - j - 1)] +
                          suffix[size_t(j + 1)]) ^
                         digits);
                }
            }
            break;
        }
    }

    // The hash of every text of `length` characters that texts of that length or one or two
    // more become, each with the number of the text in its low bits, laid out by its top bits
    // (counted first, then written); the pairs that share one.
    // The pairs of texts that shorten alike to `length`, each once, counted in the budget.
    void addPairsAtLength(qsizetype length, std::vector<quint64> &pairs, Workspace &space,
                          Budget &budget) const
    {
        // A pair of slips shortens alike in several ways (two texts a swap apart lose either
        // character of it, and with two lost, any other too): it is counted once, as one more
        // pair to review, when its length is through.
        const auto tail = qsizetype(pairs.size());
        if (!addPairsMetAtLength(length, pairs, space, budget, tail))
            return;
        std::sort(pairs.begin() + tail, pairs.end());
        pairs.erase(std::unique(pairs.begin() + tail, pairs.end()), pairs.end());
        budget.take(qint64(pairs.size()) - tail);
    }

    // Every pair met at `length`, as often as met; false when the threads are to stop.
    bool addPairsMetAtLength(qsizetype length, std::vector<quint64> &pairs, Workspace &space,
                             Budget &budget, qsizetype tail) const
    {
        std::vector<quint32> sources;
        for (qsizetype from = length; from <= length + 2 && from <= kLongest; ++from) {
            if (lostFrom(from, length) >= 0)
                sources.insert(sources.end(), m_byLength[size_t(from)].begin(),
                               m_byLength[size_t(from)].end());
        }
        if (sources.size() < 2)
            return true;
        int indexBits = 1;
        while ((quint64(1) << indexBits) <= sources.size())
            ++indexBits;
        const quint64 indexMask = (quint64(1) << indexBits) - 1;
        // Laid out by their top 10 bits: writing to few places at a time keeps the writes
        // close together, and each part is small enough to search in cache.
        constexpr int kTopBits = 10;
        constexpr int kTopShift = 64 - kTopBits;
        constexpr size_t kParts = size_t(1) << kTopBits;
        std::vector<size_t> &starts = space.starts;
        starts.assign(kParts + 1, 0);
        for (size_t local = 0; local < sources.size(); ++local) {
            if (local % 1024 == 0 && budget.stop)
                return false;
            forEachShortened(sources[local], length,
                             [&](quint64 hash) { ++starts[size_t(hash >> kTopShift) + 1]; });
        }
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        space.entries.resize(starts.back());
        space.next.assign(starts.begin(), starts.end() - 1);
        quint64 *const entries = space.entries.data();
        size_t *const next = space.next.data();
        for (size_t local = 0; local < sources.size(); ++local) {
            if (local % 1024 == 0 && budget.stop)
                return false;
            forEachShortened(sources[local], length, [&](quint64 hash) {
                entries[next[size_t(hash >> kTopShift)]++] = (hash & ~indexMask) | local;
            });
        }
        std::vector<quint32> &run = space.run;
        std::vector<quint64> &table = space.table, &shared = space.shared;
        for (size_t part = 0; part < kParts; ++part) {
            if (budget.stop)
                return false;
            // Within a part, a table in cache finds the hashes met more than once; only those
            // are sorted, to take their texts together.
            const quint64 *const first = entries + starts[part];
            const quint64 *const last = entries + starts[part + 1];
            size_t slots = 64;
            while (slots < size_t(last - first) * 2)
                slots *= 2;
            table.assign(slots, 0);
            shared.clear();
            for (const quint64 *entry = first; entry != last; ++entry) {
                const quint64 hash = *entry & ~indexMask;
                size_t slot = size_t(hash >> (kTopShift - 32)) & (slots - 1);
                // An entry is never 0 in the table: 0 there is an empty slot, and an entry of 0
                // is kept as its own hash with every index bit set, which no text has.
                const quint64 stored = *entry == 0 ? indexMask : *entry;
                for (;; slot = (slot + 1) & (slots - 1)) {
                    const quint64 held = table[slot];
                    if (held == 0) {
                        table[slot] = stored;
                        break;
                    }
                    if ((held & ~indexMask) == hash) {
                        if (held != stored) {
                            shared.push_back(held == indexMask ? 0 : held);
                            shared.push_back(*entry);
                        }
                        break;
                    }
                }
            }
            if (shared.empty())
                continue;
            std::sort(shared.begin(), shared.end());
            shared.erase(std::unique(shared.begin(), shared.end()), shared.end());
            for (size_t from = 0; from < shared.size();) {
                size_t to = from + 1;
                const quint64 hash = shared[from] & ~indexMask;
                while (to < shared.size() && (shared[to] & ~indexMask) == hash)
                    ++to;
                if (to - from >= 2) {
                    run.clear();
                    for (size_t e = from; e < to; ++e)
                        run.push_back(sources[size_t(shared[e] & indexMask)]);
                    if (!addPairsOfRun(run, length, pairs, budget, tail))
                        return false;
                }
                from = to;
            }
        }
        return !budget.stop;
    }

    // The pairs of texts of one run; false when the threads are to stop. A dense list puts
    // thousands of texts in one run, millions of pairs: the stop is looked at as they go, and
    // more pairs met at one length than could be reviewed end the search.
    bool addPairsOfRun(const std::vector<quint32> &run, qsizetype length,
                       std::vector<quint64> &pairs, Budget &budget, qsizetype tail) const
    {
        constexpr size_t kStepsBetweenLooks = 4096;
        size_t steps = 0;
        for (size_t x = 0; x < run.size(); ++x) {
            const qsizetype xLength = m_texts[run[x]].size();
            for (size_t y = x + 1; y < run.size(); ++y) {
                if (++steps % kStepsBetweenLooks == 0 &&
                    !budget.allowsMet(qsizetype(pairs.size()) - tail))
                    return false;
                const quint32 a = run[x], b = run[y];
                const qsizetype yLength = m_texts[b].size();
                const int allowed = allowedEdits(xLength, yLength);
                if (xLength - length > allowed || yLength - length > allowed ||
                    m_digits[a] != m_digits[b])
                    continue;
                pairs.push_back(a < b ? (quint64(a) << 32) | b : (quint64(b) << 32) | a);
            }
        }
        return budget.allowsMet(qsizetype(pairs.size()) - tail);
    }

    const std::vector<QStringView> &m_texts;
    std::vector<quint64> m_digits;
    std::vector<std::vector<quint32>> m_byLength;
    quint64 m_base = 0;
    std::array<quint64, kLongest + 2> m_powers{};
};

} // namespace

std::optional<SlipGroups> groupSlips(const std::vector<QStringView> &texts,
                                     const std::vector<quint32> &order, SlipRule rule,
                                     ListHost &host, const std::function<bool()> &abandon)
{
    std::optional<CandidatePairs::Found> found = CandidatePairs(texts, host).find(host, abandon);
    if (!found)
        return std::nullopt;
    SlipGroups result;
    if (found->tooMany) {
        result.tooManyPairs = true;
        return result;
    }
    const std::vector<quint64> &candidates = found->pairs;

    // The candidates that are slips, as lists of neighbours.
    YieldPacer pacer(host);
    std::vector<quint64> pairs;
    for (size_t k = 0; k < candidates.size(); ++k) {
        const quint64 pair = candidates[k];
        // Candidates are different texts; their digits only hashed alike.
        const QStringView a = texts[size_t(pair >> 32)], b = texts[size_t(pair & 0xFFFFFFFF)];
        if (differentTextsAreSlips(a, b, rule))
            pairs.push_back(pair);
        if (k % 4096 == 0 && pacer.due()) {
            host.setProgress(90.0 + 5.0 * double(k) / double(candidates.size()));
            host.yieldToEventLoop();
            if (abandon())
                return std::nullopt;
        }
    }
    found.reset();
    std::vector<size_t> starts;
    growFilled(starts, texts.size() + 1, size_t(0), host, pacer);
    for (size_t k = 0; k < pairs.size(); ++k) {
        ++starts[size_t(pairs[k] >> 32) + 1];
        ++starts[size_t(pairs[k] & 0xFFFFFFFF) + 1];
        yieldIfDue(host, pacer, k, 4096);
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<quint32> neighbours;
    growFilled(neighbours, starts.back(), quint32(0), host, pacer);
    {
        std::vector<size_t> next(starts.begin(), starts.end() - 1);
        for (size_t k = 0; k < pairs.size(); ++k) {
            const quint32 a = quint32(pairs[k] >> 32), b = quint32(pairs[k] & 0xFFFFFFFF);
            neighbours[next[a]++] = b;
            neighbours[next[b]++] = a;
            yieldIfDue(host, pacer, k, 4096);
        }
    }
    pairs = {};
    // Each list in text order, for looking up; the rank of each text, for taking them in turn.
    for (size_t text = 0; text < texts.size(); ++text) {
        std::sort(neighbours.begin() + qsizetype(starts[text]),
                  neighbours.begin() + qsizetype(starts[text + 1]));
        yieldIfDue(host, pacer, text, 4096);
    }
    std::vector<quint32> rank;
    growFilled(rank, texts.size(), quint32(0), host, pacer);
    for (size_t k = 0; k < order.size(); ++k) {
        rank[order[k]] = quint32(k);
        yieldIfDue(host, pacer, k, 4096);
    }
    const auto adjacent = [&](quint32 a, quint32 b) {
        return std::binary_search(neighbours.begin() + qsizetype(starts[a]),
                                  neighbours.begin() + qsizetype(starts[a + 1]), b);
    };

    std::vector<qint32> &groupOf = result.groupOf;
    growFilled(groupOf, texts.size(), qint32(-1), host, pacer);
    qint32 groups = 0;
    std::vector<quint32> members, offered;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k % 4096 == 0 && pacer.due()) {
            host.yieldToEventLoop();
            if (abandon())
                return std::nullopt;
        }
        const quint32 first = order[k];
        if (groupOf[first] >= 0 || starts[first] == starts[first + 1])
            continue;
        offered.assign(neighbours.begin() + qsizetype(starts[first]),
                       neighbours.begin() + qsizetype(starts[first + 1]));
        std::sort(offered.begin(), offered.end(),
                  [&](quint32 a, quint32 b) { return rank[a] < rank[b]; });
        members.assign(1, first);
        for (size_t c = 0; c < offered.size(); ++c) {
            const quint32 candidate = offered[c];
            if (groupOf[candidate] >= 0)
                continue;
            if (std::all_of(members.begin() + 1, members.end(),
                            [&](quint32 member) { return adjacent(member, candidate); }))
                members.push_back(candidate);
            // A text with thousands of slips (a dense list) takes its turns here too.
            if (c % 1024 == 1023 && pacer.due()) {
                host.yieldToEventLoop();
                if (abandon())
                    return std::nullopt;
            }
        }
        if (members.size() < 2)
            continue;
        for (const quint32 member : members)
            groupOf[member] = groups;
        ++groups;
    }
    return result;
}

} // namespace Slips
