#include "NearDuplicates.h"

#include "CaseRule.h"
#include "ItemList.h"
#include "ListHost.h"
#include "SpellingSlips.h"
#include "Tidying.h"
#include "TwoThreads.h"

#include <QChar>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace {

constexpr qsizetype kSlice = 8192;

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

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

bool isPunctuationOrSymbol(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
    case QChar::Symbol_Math:
    case QChar::Symbol_Currency:
    case QChar::Symbol_Modifier:
    case QChar::Symbol_Other:
        return true;
    default:
        return false;
    }
}

// The code points whose full case folding is not their simple one, which Qt does not offer
// (its folding keeps "ß" and "ẞ"): those whose upper or lower case is longer ("ß" -> "SS",
// "ﬁ" -> "FI", "İ" -> "i̇"), folded as the lower case of their upper case, and those that
// fold simply onto one of them ("ẞ" -> "ß" -> "ss"). Worked out once, from Qt's own tables.
const std::unordered_map<char32_t, QString> &fullFoldings()
{
    static const auto foldings = [] {
        const auto simplyFolded = [](const QString &text) {
            QString folded;
            Tidy::forEachCodePoint(text, [&](char32_t c, QStringView) {
                const char32_t f = QChar::toCaseFolded(c);
                folded += QString::fromUcs4(&f, 1);
            });
            return folded;
        };
        std::unordered_map<char32_t, QString> map;
        for (char32_t c = 0x80; c < 0x20000; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const QString text = QString::fromUcs4(&c, 1);
            const QString upper = text.toUpper();
            const QString lower = text.toLower();
            if (upper.size() > text.size())
                map.emplace(c, simplyFolded(upper.toLower()));
            else if (lower.size() > text.size())
                map.emplace(c, simplyFolded(lower));
        }
        std::unordered_map<char32_t, QString> onto;
        for (char32_t c = 0x80; c < 0x20000; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const char32_t f = QChar::toCaseFolded(c);
            if (f != c && map.count(c) == 0) {
                if (const auto found = map.find(f); found != map.end())
                    onto.emplace(c, found->second);
            }
        }
        map.insert(onto.begin(), onto.end());
        return map;
    }();
    return foldings;
}

// Full case folding ("MÜLLER" = "müller", "ß" = "ẞ" = "ss", "ﬁ" = "fi").
QString fullCaseFolded(const QString &text)
{
    const auto &foldings = fullFoldings();
    QString folded;
    folded.reserve(text.size());
    Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
        if (c < 0x80) {
            folded.append(QChar(c >= u'A' && c <= u'Z' ? c + 0x20 : c));
        } else if (const auto found = foldings.find(c); found != foldings.end()) {
            folded.append(found->second);
        } else if (units.size() == 1 && units[0].isSurrogate()) {
            folded.append(units); // a lone surrogate stays as it is
        } else {
            const char32_t f = QChar::toCaseFolded(c);
            folded.append(QString::fromUcs4(&f, 1));
        }
    });
    return folded;
}

// The words of `text` (split at white space), sorted and joined by one blank; or, unless
// `sorted`, its white space trimmed and each run made one blank.
QString tidyWords(const QString &text, bool sorted)
{
    if (!sorted) {
        QString collapsed;
        collapsed.reserve(text.size());
        bool blankPending = false;
        Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
            if (Tidy::isWhiteSpace(c)) {
                blankPending = !collapsed.isEmpty();
                return;
            }
            if (blankPending)
                collapsed.append(u' ');
            blankPending = false;
            collapsed.append(units);
        });
        return collapsed;
    }
    QStringList words;
    QString word;
    Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
        if (Tidy::isWhiteSpace(c)) {
            if (!word.isEmpty())
                words.append(std::exchange(word, QString()));
        } else {
            word.append(units);
        }
    });
    if (!word.isEmpty())
        words.append(word);
    std::sort(words.begin(), words.end());
    return words.join(u' ');
}

// What each ASCII character is to the key: blanks, invisibles and punctuation as the
// Unicode rules below say of them, worked out once.
struct AsciiClasses
{
    bool blank[128];
    bool invisible[128];
    bool punctuation[128];

    AsciiClasses()
    {
        for (char16_t unit = 0; unit < 128; ++unit) {
            blank[unit] = Tidy::isWhiteSpace(unit);
            invisible[unit] = !blank[unit] && Tidy::isInvisible(unit);
            const bool letterOrDigit = (unit >= u'a' && unit <= u'z') ||
                                       (unit >= u'A' && unit <= u'Z') ||
                                       (unit >= u'0' && unit <= u'9');
            punctuation[unit] = !letterOrDigit && unit > 0x20 && unit < 0x7F;
        }
    }
};

// The words of `text` (split at blanks) sorted and joined by one blank, into `out`.
void sortedWords(std::u16string_view text, std::u16string &out)
{
    std::vector<std::u16string_view> words;
    for (size_t at = 0; at < text.size();) {
        while (at < text.size() && text[at] == u' ')
            ++at;
        const size_t start = at;
        while (at < text.size() && text[at] != u' ')
            ++at;
        if (at > start)
            words.push_back(text.substr(start, at - start));
    }
    std::sort(words.begin(), words.end());
    out.clear();
    for (const std::u16string_view word : words) {
        if (!out.empty())
            out += u' ';
        out += word;
    }
}

// The key of a text that is all ASCII, into `key`: every step below, as it works on ASCII,
// in one pass over a buffer used again from item to item (a million items are a million
// keys: no allocation each).
void asciiKey(QStringView text, const NearKeyOptions &options, std::u16string &key,
              std::u16string &spare)
{
    static const AsciiClasses classes;
    key.clear();
    // Word order splits at any blank, so blanks are made one blank here even when the box
    // for blanks is off.
    const bool collapse = options.blanks || options.wordOrder;
    bool blankPending = false;
    for (const QChar c : text) {
        char16_t unit = c.unicode();
        const bool blank = classes.blank[unit];
        if (options.blanks && classes.invisible[unit])
            continue;
        if (options.punctuation && classes.punctuation[unit])
            continue;
        if (collapse) {
            if (blank) {
                blankPending = !key.empty();
                continue;
            }
            if (blankPending)
                key += u' ';
            blankPending = false;
        }
        if (options.foldCase && unit >= u'A' && unit <= u'Z')
            unit = char16_t(unit + 0x20);
        key += unit;
    }
    if (options.wordOrder) {
        sortedWords(key, spare);
        key.swap(spare);
    }
}

} // namespace

QString NearKey(QStringView text, const NearKeyOptions &options)
{
    if (isAscii(text)) {
        std::u16string key, spare;
        asciiKey(text, options, key, spare);
        return QString(reinterpret_cast<const QChar *>(key.data()), qsizetype(key.size()));
    }
    // Canonically equal texts are always alike (marks in either order, composed or not).
    const QString::NormalizationForm composed =
        options.compatibility ? QString::NormalizationForm_KC : QString::NormalizationForm_C;
    QString key = text.toString().normalized(composed);
    if (options.accents) {
        const QString decomposed = key.normalized(
            options.compatibility ? QString::NormalizationForm_KD : QString::NormalizationForm_D);
        key.clear();
        Tidy::forEachCodePoint(decomposed, [&](char32_t c, QStringView units) {
            if (!isMark(c))
                key.append(units);
        });
    }
    if (options.blanks || options.punctuation) {
        const QString before = std::exchange(key, QString());
        Tidy::forEachCodePoint(before, [&](char32_t c, QStringView units) {
            const bool blank = Tidy::isWhiteSpace(c);
            if (options.blanks && !blank && Tidy::isInvisible(c))
                return;
            if (options.punctuation && isPunctuationOrSymbol(c))
                return;
            key.append(units);
        });
    }
    if (options.foldCase)
        key = fullCaseFolded(key);
    // Folding may leave a text that composes otherwise.
    key = key.normalized(composed);
    if (options.blanks || options.wordOrder)
        key = tidyWords(key, options.wordOrder);
    return key;
}

namespace {
// What the compared part is looked for in: the item with the ticked normalisations that keep
// its shape applied first, so that a full-width "ａｎｎ＠ｅｘａｍｐｌｅ．ｏｒｇ" or an address
// with a zero-width space in it is found; punctuation, word order and case are left to the
// key, as dropping them would lose the marks that say where a part is.
QString comparedSource(QStringView item, const NearKeyOptions &options)
{
    if (isAscii(item))
        return item.toString();
    QString source = options.compatibility
                         ? item.toString().normalized(QString::NormalizationForm_KC)
                         : item.toString();
    if (options.blanks) {
        QString visible;
        visible.reserve(source.size());
        Tidy::forEachCodePoint(source, [&](char32_t c, QStringView units) {
            if (Tidy::isWhiteSpace(c) || !Tidy::isInvisible(c))
                visible.append(units);
        });
        source = std::move(visible);
    }
    return source;
}
} // namespace

std::optional<QString> NearGroupKey(QStringView item, const NearKeyOptions &options)
{
    if (options.compared.kind == ComparedPart::Kind::WholeItem)
        return NearKey(item, options);
    if (options.compared.kind == ComparedPart::Kind::EmailAddress) {
        const QString address = EmailAddress(comparedSource(item, options));
        if (address.isEmpty())
            return std::nullopt;
        // Each side of the "@" on its own, so that the "@" stays to tell them apart (a slip is
        // judged in each) whatever the boxes drop.
        const qsizetype at = address.lastIndexOf(u'@');
        return NearKey(QStringView(address).first(at), options) + u'@' +
               NearKey(QStringView(address).sliced(at + 1), options);
    }
    const std::optional<QString> part = ComparedText(item, options.compared);
    if (!part)
        return std::nullopt;
    return NearKey(*part, options);
}

bool NamesSeveralAddresses(QStringView item, const NearKeyOptions &options)
{
    return options.compared.kind == ComparedPart::Kind::EmailAddress &&
           NamesSeveralAddresses(comparedSource(item, options));
}

QString ShowInvisibles(QStringView text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    QString shown;
    shown.reserve(text.size());
    qsizetype position = 0;
    Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
        const qsizetype at = position;
        position += units.size();
        if (c == u' ') {
            shown.append(at < first || at >= last ? QChar(0x2423) : QChar(u' '));
            return;
        }
        if (c == 0xA0) {
            shown.append(QChar(0xB7));
            return;
        }
        const char *name = nullptr;
        switch (c) {
        case u'\t':
            name = "TAB";
            break;
        case 0x200B:
            name = "ZWSP";
            break;
        case 0x200C:
            name = "ZWNJ";
            break;
        case 0x200D:
            name = "ZWJ";
            break;
        case 0x2060:
            name = "WJ";
            break;
        case 0xFEFF:
            name = "BOM";
            break;
        case 0x00AD:
            name = "SHY";
            break;
        case 0x200E:
            name = "LRM";
            break;
        case 0x200F:
            name = "RLM";
            break;
        default:
            break;
        }
        if (name != nullptr) {
            shown += QChar(0x27E8) + QLatin1String(name) + QChar(0x27E9);
        } else if (Tidy::isWhiteSpace(c) || Tidy::isInvisible(c) ||
                   (units.size() == 1 && units[0].isSurrogate())) {
            shown += QChar(0x27E8) +
                     QStringLiteral("U+%1").arg(quint32(c), 4, 16, QChar(u'0')).toUpper() +
                     QChar(0x27E9);
        } else {
            shown += units;
        }
    });
    return shown;
}

namespace {

// The item's key into `key` (`spare` is room to work in); false when it has none.
bool itemKey(QStringView item, const NearKeyOptions &options, std::u16string &key,
             std::u16string &spare)
{
    if (options.compared.kind == ComparedPart::Kind::WholeItem && isAscii(item)) {
        asciiKey(item, options, key, spare);
        return true;
    }
    const std::optional<QString> found = NearGroupKey(item, options);
    if (!found)
        return false;
    key.assign(reinterpret_cast<const char16_t *>(found->utf16()), size_t(found->size()));
    return true;
}

// Every item's key (empty for an item without one) and its hash (0 for those), the positions
// of the items that have one, and how many were left out for naming several addresses. The
// keys stay in the slices they were made in: a million keys copied once more would cost
// more than looking them up.
struct ItemKeys
{
    ItemText at(qsizetype position) const
    {
        return slices[size_t(position / kSlice)].at(position % kSlice);
    }
    qsizetype length(qsizetype position) const { return at(position).size(); }

    std::vector<TextPool> slices; // the keys of items [k * kSlice, (k + 1) * kSlice)
    std::vector<quint64> hashes;
    std::vector<quint32> grouped;
    qsizetype severalAddresses = 0;
};

// Every item's key, made a slice at a time on two threads from a copy of the list's texts
// that shares its buffer (a command run while the window takes its turns changes the list,
// never the copy); nothing when `giveUp()` says so at a turn. A failure on either thread is
// thrown here, on the window's.
std::optional<ItemKeys> itemKeys(const ItemList &listView, const NearKeyOptions &options,
                                 ListHost &host, const std::function<bool()> &giveUp)
{
    const TextPool texts = listView.texts();
    const qsizetype count = texts.size();
    const std::uint64_t seed = randomHashSeed();
    const size_t sliceCount = size_t((count + kSlice - 1) / kSlice);
    ItemKeys keys;
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
            const qsizetype first = qsizetype(s) * kSlice;
            const qsizetype last = std::min(count, first + kSlice);
            for (qsizetype position = first; position < last; ++position) {
                const QStringView item = reader.read(texts.at(position));
                if (itemKey(item, options, key, spare)) {
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

} // namespace

namespace List {

std::optional<NearGroups> FindNearDuplicates(ItemList &listView, const NearKeyOptions &options,
                                             ListHost &host, const std::function<bool()> &abandon)
{
    for (;;) {
        listView.finishChange();
        const quint64 revision = listView.revision();
        const qsizetype count = listView.count();
        const auto changed = [&] { return listView.revision() != revision; };
        std::optional<ItemKeys> made =
            itemKeys(listView, options, host, [&] { return abandon() || changed(); });
        if (abandon())
            return std::nullopt;
        if (!made || changed())
            continue;
        const ItemKeys &keys = *made;
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
        host.yieldToEventLoop();
        if (abandon())
            return std::nullopt;
        if (changed())
            continue;
        for (size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
            std::stable_sort(byHash.begin() + starts[bucket], byHash.begin() + starts[bucket + 1],
                             [&](quint32 a, quint32 b) { return hashes[a] < hashes[b]; });
            if (bucket % 1024 == 0 && pacer.due())
                host.yieldToEventLoop();
        }
        host.yieldToEventLoop();
        if (abandon())
            return std::nullopt;
        if (changed())
            continue;

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
        if (abandon())
            return std::nullopt;
        if (changed())
            continue;

        std::vector<Group> groups;
        if (!options.slips) {
            groups = std::move(classes);
        } else {
            // Classes whose keys are slips of one another join; the keys of more items, then
            // of earlier ones, are taken first, as the likelier right spellings.
            // The classes in the order of their first items, so that their keys are read in
            // the order they were written; then, for taking them in turn, larger ones first.
            classes = inOrderOfFirstItems(classes, members, count, host, pacer);
            host.yieldToEventLoop();
            if (abandon())
                return std::nullopt;
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
            host.yieldToEventLoop();
            if (abandon())
                return std::nullopt;
            const Slips::SlipRule rule = options.compared.kind == ComparedPart::Kind::EmailAddress
                                             ? Slips::SlipRule::AddressParts
                                             : Slips::SlipRule::WholeText;
            const std::optional<Slips::SlipGroups> found = Slips::groupSlips(
                classKeys, order, rule, host, [&] { return abandon() || changed(); });
            if (abandon())
                return std::nullopt;
            if (!found || changed())
                continue;
            if (found->tooManyPairs) {
                NearGroups refused;
                refused.starts.push_back(0);
                refused.severalAddresses = severalAddresses;
                refused.tooManySlips = true;
                host.setProgress(0);
                return refused;
            }
            const std::vector<qint32> *const slipGroups = &found->groupOf;
            host.yieldToEventLoop();
            if (abandon())
                return std::nullopt;
            if (changed())
                continue;
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
            host.yieldToEventLoop();
            if (abandon())
                return std::nullopt;
            if (changed())
                continue;
        }
        // Largest first; equal sizes in the order of their first items.
        groups = inOrderOfFirstItems(groups, members, count, host, pacer);
        const std::vector<quint32> largestGroupsFirst = largestFirst(groups, host, pacer);
        host.yieldToEventLoop();
        if (abandon())
            return std::nullopt;
        if (changed())
            continue;
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
        host.yieldToEventLoop();
        if (abandon())
            return std::nullopt;
        if (changed())
            continue;
        host.setProgress(0);
        return result;
    }
}

} // namespace List
