#include "ComparedPart.h"
#include "ItemList.h"
#include "ListTestHost.h"
#include "NearDuplicates.h"
#include "SpellingSlips.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace {

// Edits from a to b, every way tried: the table of the textbook, swapped neighbours included.
int referenceDistance(const QString &a, const QString &b)
{
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(size_t(n + 1), std::vector<int>(size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype j = 0; j <= m; ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = int(i + j);
                continue;
            }
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

// Two different keys that may be grouped as slips; addresses judged on each side of the "@".
bool referenceSlips(const QString &a, const QString &b, bool byAddress)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    if (a == b || shorter < 5 || std::max(a.size(), b.size()) > 64 ||
        std::abs(a.size() - b.size()) > 2 || digitsOf(a) != digitsOf(b))
        return false;
    const int allowed = shorter < 12 ? 1 : 2;
    const qsizetype atA = a.lastIndexOf(u'@'), atB = b.lastIndexOf(u'@');
    if (!byAddress || atA < 0 || atB < 0)
        return referenceDistance(a, b) <= allowed;
    int edits = 0;
    for (const auto &[own, other] :
         {std::pair{a.first(atA), b.first(atB)}, std::pair{a.sliced(atA + 1), b.sliced(atB + 1)}}) {
        if (own == other)
            continue;
        const qsizetype shorterPart = std::min(own.size(), other.size());
        if (shorterPart < 5 || std::max(own.size(), other.size()) > 64)
            return false;
        const int distance = referenceDistance(own, other);
        if (distance > (shorterPart < 12 ? 1 : 2))
            return false;
        edits += distance;
    }
    return edits <= allowed;
}

// `text` with one random slip: a character added, left out, changed, or two swapped.
QString slipped(QString text, QRandomGenerator &random)
{
    static const QString letters = QStringLiteral("abcdeé.");
    const auto position = [&](qsizetype room) { return qsizetype(random.bounded(int(room))); };
    switch (random.bounded(4)) {
    case 0:
        text.insert(position(text.size() + 1), letters[position(letters.size())]);
        break;
    case 1:
        if (!text.isEmpty())
            text.remove(position(text.size()), 1);
        break;
    case 2:
        if (!text.isEmpty())
            text[position(text.size())] = letters[position(letters.size())];
        break;
    default:
        if (text.size() >= 2) {
            const qsizetype at = position(text.size() - 1);
            std::swap(text[at], text[at + 1]);
        }
        break;
    }
    return text;
}

} // namespace

class SlipsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupsAgreeWithEveryPairCompared_data();
    void groupsAgreeWithEveryPairCompared();
    void differencesMarked_data();
    void differencesMarked();
    void abandonedWhenAsked();
    void denseListRefusedOrStopped();
};

void SlipsTest::groupsAgreeWithEveryPairCompared_data()
{
    QTest::addColumn<ComparedPart>("part");
    QTest::addColumn<QString>("pattern"); // how a key sits in an item
    QTest::newRow("whole items") << ComparedPart{} << "%1";
    QTest::newRow("addresses") << ComparedPart{ComparedPart::Kind::EmailAddress, u',', 1}
                               << "Name <%1>";
    QTest::newRow("third column") << ComparedPart{ComparedPart::Kind::Column, u';', 3}
                                  << "x;\"y;z\";%1;2024";
}

// Thousands of keys from a small alphabet, many a slip or two of an earlier one, some with
// digits (for addresses, slips on either side of the "@"): the groups found against every
// pair compared by the textbook table, and the member each keeps against the spellings in it.
void SlipsTest::groupsAgreeWithEveryPairCompared()
{
    QFETCH(ComparedPart, part);
    QFETCH(QString, pattern);
    const bool byAddress = part.kind == ComparedPart::Kind::EmailAddress;
    QRandomGenerator random(2026);
    QStringList items;
    QStringList bases;
    for (int i = 0; i < 3000; ++i) {
        QString key;
        if (!bases.isEmpty() && random.bounded(3) != 0) {
            key = bases[random.bounded(int(bases.size()))];
            for (int slips = 1 + random.bounded(2); slips > 0; --slips)
                key = slipped(key, random);
        } else {
            const int length = 3 + random.bounded(14);
            for (int k = 0; k < length; ++k)
                key += QStringLiteral("abcde.1")[random.bounded(random.bounded(5) == 0 ? 7 : 6)];
            if (byAddress) {
                static const QStringList domains = {"x.io", "abcd.org", "example.org",
                                                    "mail.example.org"};
                key += u'@' + domains[random.bounded(int(domains.size()))];
            }
            bases.append(key);
        }
        if (random.bounded(10) == 0)
            key = key.toUpper(); // the letter case box makes it one with its lower case
        items.append(pattern.arg(key));
    }
    ItemList list;
    fill(list, items);
    RecordingHost host;
    NearKeyOptions options;
    options.compared = part;
    options.slips = true;
    const std::optional<NearGroups> found = List::FindNearDuplicates(list, options, host);
    QVERIFY(found);
    const NearGroups &groups = *found;

    // An item whose slip took its "@" has no key, and is in no group.
    std::vector<std::optional<QString>> keys;
    for (const QString &item : items)
        keys.push_back(NearGroupKey(item, options));
    std::vector<qsizetype> groupOf(keys.size(), -1);
    for (qsizetype group = 0; group < groups.count(); ++group) {
        QVERIFY(groups.size(group) >= 2);
        std::map<QString, qsizetype> spellings;
        for (qsizetype k = 0; k < groups.size(group); ++k) {
            const quint32 member = groups.member(group, k);
            QCOMPARE(groupOf[member], -1); // in one group only
            QVERIFY(keys[member]);
            groupOf[member] = group;
            ++spellings[*keys[member]];
            // Never a chain: whichever member is kept, every other is its slip or its equal.
            for (qsizetype other = 0; other < k; ++other) {
                const QString &a = *keys[member], &b = *keys[groups.member(group, other)];
                if (a != b && !referenceSlips(a, b, byAddress))
                    QFAIL(qPrintable(QStringLiteral("%1 and %2 grouped").arg(a, b)));
            }
        }
        // The last member of the spelling more of them share than any other; else the last.
        const auto most =
            std::max_element(spellings.begin(), spellings.end(),
                             [](const auto &x, const auto &y) { return x.second < y.second; });
        const bool oneMost = std::count_if(spellings.begin(), spellings.end(), [&](const auto &s) {
                                 return s.second == most->second;
                             }) == 1;
        qsizetype expected = groups.size(group) - 1;
        while (oneMost && *keys[groups.member(group, expected)] != most->first)
            --expected;
        QCOMPARE(groups.keptMember(group), expected);
        // Only a group joined by slips is kept for its spelling.
        QCOMPARE(groups.spellingShare(group), oneMost && spellings.size() > 1 ? most->second : 0);
    }
    // Every pair of slips, every pair of equals, is found: both grouped, or for slips at least
    // one of them (the other taken by a group it could not join whole).
    std::map<QString, std::vector<size_t>> byKey;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i])
            byKey[*keys[i]].push_back(i);
    }
    std::vector<const std::vector<size_t> *> classes;
    for (const auto &[key, members] : byKey) {
        for (const size_t member : members)
            QCOMPARE(groupOf[member], groupOf[members.front()]);
        if (members.size() >= 2)
            QVERIFY(groupOf[members.front()] >= 0);
        classes.push_back(&members);
    }
    qsizetype slipPairs = 0;
    for (size_t x = 0; x < classes.size(); ++x) {
        for (size_t y = x + 1; y < classes.size(); ++y) {
            const size_t a = classes[x]->front(), b = classes[y]->front();
            if (!referenceSlips(*keys[a], *keys[b], byAddress))
                continue;
            ++slipPairs;
            if (groupOf[a] < 0 && groupOf[b] < 0)
                QFAIL(qPrintable(QStringLiteral("%1 and %2 missed").arg(*keys[a], *keys[b])));
        }
    }
    QVERIFY2(slipPairs > 500, "the list has slips at both distances to find");
}

void SlipsTest::differencesMarked_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("marked");
    QTest::newRow("swapped") << "jonh.smith"
                             << "john.smith"
                             << "jo[nh→hn].smith";
    QTest::newRow("left out") << "jon.smith"
                              << "john.smith"
                              << "jo[→h]n.smith";
    QTest::newRow("added at the end") << "mullerr"
                                      << "muller"
                                      << "mulle[r→]r";
    QTest::newRow("two apart") << "gmial.con"
                               << "gmail.com"
                               << "gm[ia→ai]l.co[n→m]";
    QTest::newRow("equal") << "same"
                           << "same"
                           << "same";
}

void SlipsTest::differencesMarked()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(QString, marked);
    QCOMPARE(Slips::markedDifferences(text, kept), marked);
    // The marks read either way give back both texts.
    static const QRegularExpression run(QStringLiteral("\\[([^\\]→]*)→([^\\]]*)\\]"));
    QCOMPARE(QString(marked).replace(run, QStringLiteral("\\1")), text);
    QCOMPARE(QString(marked).replace(run, QStringLiteral("\\2")), kept);
}

// A change of box gives up the grouping at its next yield, while slips are sought too.
void SlipsTest::abandonedWhenAsked()
{
    ItemList list;
    QStringList items;
    for (int i = 0; i < 20000; ++i)
        items.append(QStringLiteral("subscriber%1.x@example.org").arg(QChar(u'a' + i % 26)));
    fill(list, items);
    RecordingHost host;
    host.intervalMs = 0; // a yield at every chance
    NearKeyOptions options;
    options.slips = true;
    bool givenUp = false;
    int askedAfter = 0;
    const auto seekingSlips = [&] {
        askedAfter += givenUp ? 1 : 0;
        givenUp = givenUp || (!host.progress.isEmpty() && host.progress.last() > 80);
        return givenUp;
    };
    QVERIFY(!List::FindNearDuplicates(list, options, host, seekingSlips));
    QVERIFY(givenUp);
    QVERIFY(askedAfter <= 1); // asked once more on the way out, and nothing more done
}

// A dense list, where nearly every two texts are slips of each other: the search refuses it
// as more than anyone could review instead of growing without bound, and stops when told.
void SlipsTest::denseListRefusedOrStopped()
{
    ItemList list;
    for (int position = 0; position < 12; ++position) {
        for (char16_t ideograph = 0x4E00; ideograph < 0x4E00 + 420; ++ideograph) {
            QString text = QStringLiteral("abcdefghijkl");
            text[position] = QChar(ideograph);
            list.append(text);
        }
    }
    RecordingHost host;
    NearKeyOptions options;
    options.slips = true;
    const std::optional<NearGroups> refused = List::FindNearDuplicates(list, options, host);
    QVERIFY(refused);
    QVERIFY(refused->tooManySlips);
    QCOMPARE(refused->count(), 0);

    host.intervalMs = 0;
    const auto seekingSlips = [&] { return !host.progress.isEmpty() && host.progress.last() > 80; };
    QVERIFY(!List::FindNearDuplicates(list, options, host, seekingSlips));
}

QTEST_GUILESS_MAIN(SlipsTest)
#include "tst_slips.moc"
