#include "CaseRule.h"
#include "ItemList.h"
#include "KeepingObserver.h"
#include "List.h"
#include "ListTestHost.h"

#include <set>

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(CaseOption)

namespace {

// Compares every item with every later one, as the rule is stated.
QStringList pairwiseReference(const QStringList &items, CaseOption option)
{
    QStringList kept;
    for (qsizetype i = 0; i < items.size(); ++i) {
        bool hasLaterEqual = false;
        for (qsizetype j = i + 1; j < items.size() && !hasLaterEqual; ++j) {
            if (option == CaseOption::IgnoreCase)
                hasLaterEqual = items[i].toUpper() == items[j].toUpper();
            else if (option == CaseOption::MatchCase)
                hasLaterEqual = items[i] == items[j];
        }
        if (!hasLaterEqual)
            kept.append(items[i]);
    }
    return kept;
}

QString expectedStatus(qsizetype removed)
{
    if (removed == 0)
        return QStringLiteral("List loaded. No duplicates found.");
    return QStringLiteral("List loaded. %1 duplicates found, %1 duplicates removed").arg(removed);
}

} // namespace

// The whole-list procedures: duplicate removal against the pairwise rule, the filters,
// looking an item up, and a removal that starts over when the list changes.
class RemovalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeDupesAll_data();
    void removeDupesAll();
    void matchesPairwiseRuleOnRandomLists_data();
    void matchesPairwiseRuleOnRandomLists();
    void largeListAcrossManySlices_data();
    void largeListAcrossManySlices();
    void progressMovesAndEndsAtZero();
    void filters_data();
    void filters();
    void itemExists_data();
    void itemExists();
    void changeWhileCopyingForUndoStartsOver_data();
    void changeWhileCopyingForUndoStartsOver();
    void preparedCollisionsDoNotCollideUnderASeed_data();
    void preparedCollisionsDoNotCollideUnderASeed();
};

void RemovalTest::removeDupesAll_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<CaseOption>("option");
    QTest::addColumn<QStringList>("expected");

    const auto ignore = CaseOption::IgnoreCase;
    const auto match = CaseOption::MatchCase;
    QTest::newRow("empty list") << QStringList{} << ignore << QStringList{};
    QTest::newRow("one item") << QStringList{"a"} << match << QStringList{"a"};
    QTest::newRow("a b a") << QStringList{"a", "b", "a"} << match << QStringList{"b", "a"};
    QTest::newRow("five identical") << QStringList(5, "same") << ignore << QStringList{"same"};
    QTest::newRow("last keeps its case")
        << QStringList{"Apple", "APPLE", "apple"} << ignore << QStringList{"apple"};
    QTest::newRow("x X ignore") << QStringList{"x", "X"} << ignore << QStringList{"X"};
    QTest::newRow("x X match") << QStringList{"x", "X"} << match << QStringList{"x", "X"};
    QTest::newRow("x X x match") << QStringList{"x", "X", "x"} << match << QStringList{"X", "x"};
    QTest::newRow("two empties") << QStringList{"", "a", ""} << match << QStringList{"a", ""};
    QTest::newRow("trailing blank differs")
        << QStringList{"a", "a "} << ignore << QStringList{"a", "a "};
    QTest::newRow("one blank vs two")
        << QStringList{" ", "  ", " "} << match << QStringList{"  ", " "};
    QTest::newRow("neither option: nothing equal")
        << QStringList{"a", "a", "A"} << CaseOption::CompareNothing << QStringList{"a", "a", "A"};
    QTest::newRow("sharp s upper-cases to SS")
        << QStringList{"straße", "STRASSE"} << ignore << QStringList{"STRASSE"};
    QTest::newRow("accents fold under ignore case")
        << QStringList{"élan", "ÉLAN", "elan"} << ignore << QStringList{"ÉLAN", "elan"};
    // Items of 253 characters and fewer are found by where their characters are, longer ones
    // by their position: both kinds, and a text that begins another.
    const QString a253(253, u'a'), a254(254, u'a'), a300(300, u'a');
    QTest::newRow("short and long items at the boundary")
        << QStringList{a253, a254, a253, a300, a254, a300 + u'x', a300} << match
        << QStringList{a253, a254, a300 + u'x', a300};
    QTest::newRow("long items ignoring case")
        << QStringList{QString(300, u'A'), a300, QString(300, u'b') + u'\u00e9',
                       QString(300, u'B') + u'\u00c9'}
        << ignore << QStringList{a300, QString(300, u'B') + u'\u00c9'};
    QTest::newRow("order of survivors kept")
        << QStringList{"c", "a", "b", "a", "c", "d"} << match << QStringList{"b", "a", "c", "d"};
}

void RemovalTest::removeDupesAll()
{
    QFETCH(QStringList, items);
    QFETCH(CaseOption, option);
    QFETCH(QStringList, expected);

    ItemList list;
    fill(list, items);
    RecordingHost host;
    host.option = option;
    List::RemoveDupesAll(list, host);
    QCOMPARE(itemTexts(list), expected);
    QCOMPARE(host.status, expectedStatus(items.size() - expected.size()));
    QVERIFY(host.prompts.shown.empty());

    // A second run finds nothing more.
    List::RemoveDupesAll(list, host);
    QCOMPARE(itemTexts(list), expected);
    QCOMPARE(host.status, expectedStatus(0));
}

void RemovalTest::matchesPairwiseRuleOnRandomLists_data()
{
    QTest::addColumn<CaseOption>("option");
    QTest::newRow("ignore case") << CaseOption::IgnoreCase;
    QTest::newRow("match case") << CaseOption::MatchCase;
    QTest::newRow("neither") << CaseOption::CompareNothing;
}

void RemovalTest::matchesPairwiseRuleOnRandomLists()
{
    QFETCH(CaseOption, option);
    // Few distinct pieces, so that lists are full of near and exact duplicates: letter case,
    // blanks, empties, and letters whose upper case changes length or leaves ASCII.
    const QStringList pieces = {"a", "A", "b", "B", " ", "ß", "S", "s", "ı", "I", "é", "É"};
    QRandomGenerator random(20261207);
    for (int round = 0; round < 3000; ++round) {
        QStringList items;
        const int count = int(random.bounded(0, 25));
        for (int i = 0; i < count; ++i) {
            QString text;
            const int length = int(random.bounded(0, 4));
            for (int k = 0; k < length; ++k)
                text += pieces[random.bounded(int(pieces.size()))];
            items.append(text);
        }
        ItemList list;
        fill(list, items);
        RecordingHost host;
        host.option = option;
        List::RemoveDupesAll(list, host);
        const QStringList expected = pairwiseReference(items, option);
        QVERIFY2(itemTexts(list) == expected,
                 qPrintable(QStringLiteral("round %1: [%2]").arg(round).arg(items.join(u'|'))));
        QCOMPARE(host.status, expectedStatus(items.size() - expected.size()));
    }
}

void RemovalTest::largeListAcrossManySlices_data()
{
    QTest::addColumn<CaseOption>("option");
    QTest::addColumn<qint64>("intervalMs");
    QTest::newRow("ignore case, yielding every slice") << CaseOption::IgnoreCase << qint64(0);
    QTest::newRow("match case") << CaseOption::MatchCase << qint64(40);
}

void RemovalTest::largeListAcrossManySlices()
{
    QFETCH(CaseOption, option);
    QFETCH(qint64, intervalMs);
    // 60,000 items of 20,000 keys in three letter cases: the scan crosses several slices.
    QStringList items;
    QRandomGenerator random(7);
    for (int i = 0; i < 60000; ++i) {
        QString text = QStringLiteral("user%1@example.com").arg(random.bounded(20000));
        if (i % 3 == 1)
            text = text.toUpper();
        items.append(text);
    }
    // The reference, by keys from the end, which is the rule's meaning for an equivalence.
    QStringList expected;
    QSet<QString> seen;
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        const QString key = option == CaseOption::IgnoreCase ? items[i].toUpper() : items[i];
        if (!seen.contains(key)) {
            seen.insert(key);
            expected.prepend(items[i]);
        }
    }
    ItemList list;
    fill(list, items);
    RecordingHost host;
    host.option = option;
    host.intervalMs = intervalMs;
    List::RemoveDupesAll(list, host);
    QCOMPARE(itemTexts(list), expected);
    if (intervalMs == 0)
        QVERIFY(host.yields >= 7);
}

void RemovalTest::progressMovesAndEndsAtZero()
{
    ItemList list;
    for (int i = 0; i < 40000; ++i)
        list.append(QString::number(i % 1000));
    RecordingHost host;
    host.intervalMs = 0;
    List::RemoveDupesAll(list, host);
    QVERIFY(host.progress.size() >= 3);
    QCOMPARE(host.progress.last(), 0.0);
    bool between = false;
    for (qsizetype i = 0; i + 1 < host.progress.size(); ++i) {
        QVERIFY(host.progress[i] >= 0 && host.progress[i] <= 100);
        QVERIFY(i == 0 || host.progress[i] >= host.progress[i - 1]);
        between = between || (host.progress[i] > 0 && host.progress[i] < 100);
    }
    QVERIFY(between);
    QCOMPARE(list.count(), 1000);
}

void RemovalTest::filters_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("removeWith");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("expected");

    const QStringList fruit = {"apple", "Apple pie", "banana"};
    QTest::newRow("with: case-sensitive")
        << fruit << true << "apple" << QStringList{"Apple pie", "banana"};
    QTest::newRow("without: an") << fruit << false << "an" << QStringList{"banana"};
    const QStringList grapes = {"apple", "Apple pie", "grape"};
    QTest::newRow("with: in every item") << grapes << true << "p" << QStringList{};
    QTest::newRow("without: in every item") << grapes << false << "p" << grapes;
    QTest::newRow("with: longer than every item") << fruit << true << "pineapple juice" << fruit;
    QTest::newRow("without: longer than every item")
        << fruit << false << "pineapple juice" << QStringList{};
    QTest::newRow("with: one blank") << fruit << true << " " << QStringList{"apple", "banana"};
    QTest::newRow("with: empties stay")
        << QStringList{"", "x", "", "ax"} << true << "x" << QStringList{"", ""};
}

void RemovalTest::filters()
{
    QFETCH(QStringList, items);
    QFETCH(bool, removeWith);
    QFETCH(QString, search);
    QFETCH(QStringList, expected);

    for (CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase}) {
        ItemList list;
        fill(list, items);
        RecordingHost host;
        host.option = option; // the filters never look at it
        if (removeWith)
            List::RemoveItemsWith(list, search, host);
        else
            List::RemoveItemsWithout(list, search, host);
        QCOMPARE(itemTexts(list), expected);
        QCOMPARE(host.status, QStringLiteral("untouched")); // the command writes the status
        QCOMPARE(host.progress.last(), 0.0);
    }
}

void RemovalTest::itemExists_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::addColumn<CaseOption>("option");
    QTest::addColumn<bool>("expected");

    const QStringList items = {"Alpha", "beta", " gamma"};
    QTest::newRow("ignore case, other case") << items << "ALPHA" << CaseOption::IgnoreCase << true;
    QTest::newRow("match case, other case") << items << "ALPHA" << CaseOption::MatchCase << false;
    QTest::newRow("match case, same") << items << "beta" << CaseOption::MatchCase << true;
    QTest::newRow("leading blank matters") << items << "gamma" << CaseOption::IgnoreCase << false;
    QTest::newRow("neither option") << items << "beta" << CaseOption::CompareNothing << false;
    QTest::newRow("empty list") << QStringList{} << "a" << CaseOption::IgnoreCase << false;
}

void RemovalTest::itemExists()
{
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QFETCH(CaseOption, option);
    QFETCH(bool, expected);
    ItemList list;
    fill(list, items);
    RecordingHost host;
    QCOMPARE(List::ItemExists(list, text, option, host), expected);
    if (expected || option == CaseOption::CompareNothing)
        return;
    // A command run at one of the search's turns puts the text first, where the search has
    // been already: the list as it then stands is looked through again.
    fill(list, QStringList(70000, QStringLiteral("filler")));
    host.intervalMs = 0;
    host.yields = 0;
    bool putFirst = false;
    host.onYield = [&] {
        if (host.yields != 2)
            return; // the first turn comes before the first item
        TextPool texts;
        texts.append(text);
        for (qsizetype k = 1; k < list.count(); ++k)
            texts.append(QStringView(u"filler"));
        putFirst = list.rewrite(texts);
    };
    QVERIFY(List::ItemExists(list, text, option, host));
    QVERIFY(putFirst);
}

void RemovalTest::changeWhileCopyingForUndoStartsOver_data()
{
    QTest::addColumn<bool>("duplicates");   // else: remove items without "7"
    QTest::addColumn<bool>("switchOption"); // else: remove the first item
    QTest::newRow("duplicate removal, an item removed") << true << false;
    QTest::newRow("duplicate removal, the option switched") << true << true;
    QTest::newRow("filter, an item removed") << false << false;
}

void RemovalTest::changeWhileCopyingForUndoStartsOver()
{
    // A large removal copies the texts it removes for undo in slices, yielding between them.
    // What a command does meanwhile must not let it remove the wrong items, and the history
    // must still take the removal back exactly.
    QFETCH(bool, duplicates);
    QFETCH(bool, switchOption);
    QStringList texts;
    QRandomGenerator random(11);
    for (int i = 0; i < 60000; ++i) {
        QString text = QStringLiteral("user%1@example.com").arg(random.bounded(20000));
        texts.append(i % 3 == 1 ? text.toUpper() : text);
    }
    const auto run = [&](ItemList &list, RecordingHost &host) {
        if (duplicates)
            List::RemoveDupesAll(list, host);
        else
            List::RemoveItemsWithout(list, QStringLiteral("7"), host);
    };

    // A first run tells how many yields come before the copying starts: with no pause
    // between yields, it yields once per slice of texts copied.
    // A list with a history, and a host that yields at every slice.
    struct Run
    {
        ItemList list;
        KeepingObserver observer;
        RecordingHost host;
        explicit Run(const QStringList &texts)
        {
            fill(list, texts);
            list.setObserver(&observer);
            host.option = CaseOption::MatchCase;
            host.intervalMs = 0;
        }
    };
    int yieldsBeforeCopying = 0;
    {
        Run first(texts);
        run(first.list, first.host);
        const qsizetype removed = first.observer.changes.back().removedCount();
        QVERIFY(removed > 3 * 8192);
        yieldsBeforeCopying = first.host.yields - int((removed + 8191) / 8192);
    }

    Run second(texts);
    ItemList &list = second.list;
    KeepingObserver &observer = second.observer;
    RecordingHost &host = second.host;
    host.onYield = [&] {
        if (host.yields != yieldsBeforeCopying + 2)
            return;
        if (switchOption)
            host.option = CaseOption::IgnoreCase;
        else
            list.removeAt(0);
    };
    run(list, host);

    QStringList before = texts;
    if (!switchOption)
        before.removeFirst();
    QStringList expected;
    if (duplicates) {
        QSet<QString> seen;
        for (qsizetype i = before.size() - 1; i >= 0; --i) {
            const QString key = switchOption ? before[i].toUpper() : before[i];
            if (!seen.contains(key)) {
                seen.insert(key);
                expected.prepend(before[i]);
            }
        }
    } else {
        for (const QString &text : before)
            if (text.contains(u'7'))
                expected.append(text);
    }
    QCOMPARE(itemTexts(list), expected);
    list.undo(observer.changes.back());
    QCOMPARE(itemTexts(list), before);
}

void RemovalTest::preparedCollisionsDoNotCollideUnderASeed_data()
{
    QTest::addColumn<CaseOption>("option");
    QTest::newRow("ignore case") << CaseOption::IgnoreCase;
    QTest::newRow("match case") << CaseOption::MatchCase;
}

void RemovalTest::preparedCollisionsDoNotCollideUnderASeed()
{
    QFETCH(CaseOption, option);

    // What an attacker can do against a hash they know: collect four-character items whose
    // hashes under one fixed key share their low 14 bits (the table's slot for a list of
    // tens of thousands of items).
    constexpr std::uint64_t kKnownSeed = 0;
    constexpr size_t kLowBits = 0x3FFF;
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    const qsizetype letters = alphabet.size();
    QStringList prepared;
    size_t target = 0;
    QString item(4, u' ');
    for (qsizetype n = 0; n < letters * letters * letters * letters && prepared.size() < 48; ++n) {
        qsizetype rest = n;
        for (QChar &c : item) {
            c = alphabet[rest % letters];
            rest /= letters;
        }
        const size_t low = comparisonHash(item, option, kKnownSeed) & kLowBits;
        if (prepared.isEmpty())
            target = low;
        if (low == target)
            prepared.append(item);
    }
    QCOMPARE(prepared.size(), 48);

    // Under a seed drawn as each scan draws its own, they spread out as random items do.
    const std::uint64_t seed = randomHashSeed();
    std::set<size_t> slots;
    for (const QString &text : prepared)
        slots.insert(comparisonHash(text, option, seed) & kLowBits);
    QVERIFY2(slots.size() >= 40, qPrintable(QString::number(slots.size())));

    // And the scan still finds exactly the duplicates among them.
    ItemList items;
    fill(items, prepared + prepared);
    RecordingHost host;
    host.option = option;
    List::RemoveDupesAll(items, host);
    QCOMPARE(itemTexts(items), prepared);
}

QTEST_GUILESS_MAIN(RemovalTest)
#include "tst_removal.moc"
