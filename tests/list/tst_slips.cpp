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

// Two different keys that may be grouped as slips.
bool referenceSlips(const QString &a, const QString &b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    if (a == b || shorter < 5 || std::max(a.size(), b.size()) > 64 ||
        std::abs(a.size() - b.size()) > 2 || digitsOf(a) != digitsOf(b))
        return false;
    return referenceDistance(a, b) <= (shorter < 12 ? 1 : 2);
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
};

void SlipsTest::groupsAgreeWithEveryPairCompared_data()
{
    QTest::addColumn<ComparedPart>("part");
    QTest::addColumn<QString>("pattern"); // how a key sits in an item
    QTest::newRow("whole items") << ComparedPart{} << "%1";
    QTest::newRow("addresses") << ComparedPart{ComparedPart::Kind::EmailAddress, u',', 1}
                               << "Name %1 <%1@Example.org>";
    QTest::newRow("third column") << ComparedPart{ComparedPart::Kind::Column, u';', 3}
                                  << "x;\"y;z\";%1;2024";
}

// Thousands of keys from a small alphabet, many a slip or two of an earlier one, some with
// digits: the groups found against every pair compared by the textbook table.
void SlipsTest::groupsAgreeWithEveryPairCompared()
{
    QFETCH(ComparedPart, part);
    QFETCH(QString, pattern);
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

    std::vector<QString> keys;
    for (const QString &item : items)
        keys.push_back(NearGroupKey(item, options).value_or(QString()));
    std::vector<qsizetype> groupOf(keys.size(), -1);
    for (qsizetype group = 0; group < groups.count(); ++group) {
        QVERIFY(groups.size(group) >= 2);
        for (qsizetype k = 0; k < groups.size(group); ++k) {
            const quint32 member = groups.member(group, k);
            QCOMPARE(groupOf[member], -1); // in one group only
            groupOf[member] = group;
            // Never a chain: whichever member is kept, every other is its slip or its equal.
            for (qsizetype other = 0; other < k; ++other) {
                const QString &a = keys[member], &b = keys[groups.member(group, other)];
                if (a != b && !referenceSlips(a, b))
                    QFAIL(qPrintable(QStringLiteral("%1 and %2 grouped").arg(a, b)));
            }
        }
    }
    // Every pair of slips, every pair of equals, is found: both grouped, or for slips at least
    // one of them (the other taken by a group it could not join whole).
    std::map<QString, std::vector<size_t>> byKey;
    for (size_t i = 0; i < keys.size(); ++i)
        byKey[keys[i]].push_back(i);
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
            if (!referenceSlips(keys[a], keys[b]))
                continue;
            ++slipPairs;
            if (groupOf[a] < 0 && groupOf[b] < 0)
                QFAIL(qPrintable(QStringLiteral("%1 and %2 missed").arg(keys[a], keys[b])));
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

QTEST_GUILESS_MAIN(SlipsTest)
#include "tst_slips.moc"
