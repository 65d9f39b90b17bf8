#include "CollationKeys.h"
#include "ItemList.h"
#include "LargeMemory.h"
#include "LineBreaks.h"
#include "List.h"
#include "ListTestHost.h"
#include "PackedTexts.h"
#include "TextPool.h"
#include "TextSearch.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <set>

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QRandomGenerator>
#include <QSignalSpy>
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

class ListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemsWithLineBreaks_data();
    void itemsWithLineBreaks();
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
    void removePositionsKeepsChecks();
    void removalInSlicesIsAWholeListAfterEachSlice();
    void commandsBetweenRemovalSlices_data();
    void commandsBetweenRemovalSlices();
    void removalUndoAndRedoRestoreExactly_data();
    void removalUndoAndRedoRestoreExactly();
    void randomChangesInterruptedBetweenSlices_data();
    void randomChangesInterruptedBetweenSlices();
    void changeWhileCopyingForUndoStartsOver_data();
    void changeWhileCopyingForUndoStartsOver();
    void preparedCollisionsDoNotCollideUnderASeed_data();
    void preparedCollisionsDoNotCollideUnderASeed();
    void ignoringCaseAgreesWithFullUpperCase();
    void searchFindsTheSameInEitherForm();
    void collationKeysOrderAsQtsCollationDoes();
    void poolsOfBothFormsCopyAndCutExactly();
    void largeBuffersHandedOutAgain();
    void largeLoadWhilePagesAreFaultedAhead();
};

void ListTest::removeDupesAll_data()
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

void ListTest::removeDupesAll()
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

void ListTest::matchesPairwiseRuleOnRandomLists_data()
{
    QTest::addColumn<CaseOption>("option");
    QTest::newRow("ignore case") << CaseOption::IgnoreCase;
    QTest::newRow("match case") << CaseOption::MatchCase;
    QTest::newRow("neither") << CaseOption::CompareNothing;
}

void ListTest::matchesPairwiseRuleOnRandomLists()
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

void ListTest::largeListAcrossManySlices_data()
{
    QTest::addColumn<CaseOption>("option");
    QTest::addColumn<qint64>("intervalMs");
    QTest::newRow("ignore case, yielding every slice") << CaseOption::IgnoreCase << qint64(0);
    QTest::newRow("match case") << CaseOption::MatchCase << qint64(40);
}

void ListTest::largeListAcrossManySlices()
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

void ListTest::progressMovesAndEndsAtZero()
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

void ListTest::filters_data()
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

void ListTest::filters()
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

void ListTest::itemExists_data()
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

void ListTest::itemExists()
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

void ListTest::removePositionsKeepsChecks()
{
    // Many scattered removals take the one-pass path; check marks must move with their items.
    ItemList list;
    for (int i = 0; i < 100; ++i) {
        list.append(QString::number(i));
        list.setChecked(i, i % 7 == 0);
    }
    std::vector<qsizetype> odd;
    for (qsizetype i = 1; i < 100; i += 2)
        odd.push_back(i);
    list.removePositions(odd);
    QCOMPARE(list.count(), 50);
    for (qsizetype i = 0; i < list.count(); ++i) {
        const int value = list.text(i).toString().toInt();
        QCOMPARE(value, int(i * 2));
        QCOMPARE(list.isChecked(i), value % 7 == 0);
    }
}

namespace {
struct KeepingObserver : ListChangeObserver
{
    std::vector<ListChange> changes;
    void listChanged(ListChange &&change) override { changes.push_back(std::move(change)); }
};
} // namespace

void ListTest::removalInSlicesIsAWholeListAfterEachSlice()
{
    // Random lists (empty texts, runs of removed items, removals at both ends) closed up in
    // slices of random length, some holding no removed item at all, then filled in again the
    // same way: after each slice the pool reads as the list it should be by then. Every
    // other list packs the items removed as they go, and some have texts long enough for
    // the memory closed up to be given back between slices.
    QRandomGenerator random(3);
    for (int round = 0; round < 300; ++round) {
        const int count = int(random.bounded(1, 60));
        const bool packs = round % 2 == 0;
        const int longest = round % 20 == 0 ? 600000 : 9;
        QStringList texts;
        TextPool pool;
        for (int i = 0; i < count; ++i) {
            const QString text =
                random.bounded(5) == 0
                    ? QString()
                    : QString(int(random.bounded(1, longest)),
                              i % 7 == 0 ? QChar(u'\u0100' + i) : QChar(u'a' + i % 26));
            texts.append(text);
            pool.append(text);
        }
        std::vector<quint32> positions;
        const int share = int(random.bounded(100));
        for (int i = 0; i < count; ++i) {
            if (int(random.bounded(100)) < share)
                positions.push_back(quint32(i));
        }
        // The list with the removed items before `bound` gone.
        const auto withoutRemovedBefore = [&](qsizetype bound) {
            QStringList expected;
            for (int i = 0; i < count; ++i) {
                if (i >= bound ||
                    !std::binary_search(positions.begin(), positions.end(), quint32(i)))
                    expected.append(texts[i]);
            }
            return expected;
        };
        const auto poolTexts = [&] {
            QStringList actual;
            for (qsizetype i = 0; i < pool.size(); ++i)
                actual.append(pool.at(i).toString());
            return actual;
        };
        qsizetype charactersAfter = 0;
        for (const QString &text : withoutRemovedBefore(count))
            charactersAfter += text.size();
        PackedTexts packed;
        qsizetype done = 0;
        qsizetype processed = 0;
        while (processed < count) {
            const qsizetype until = std::min<qsizetype>(count, processed + random.bounded(0, 12));
            done = packs ? pool.removeSortedUpTo(positions, done, processed, until, &packed,
                                                 charactersAfter)
                         : pool.removeSortedUpTo(positions, done, processed, until);
            processed = until;
            QCOMPARE(poolTexts(), withoutRemovedBefore(processed));
            if (processed == count)
                QVERIFY(pool.settled());
        }
        QCOMPARE(done, qsizetype(positions.size()));
        // Once done, the buffer holds no bytes of removed items.
        qsizetype bytes = 0;
        for (qsizetype i = 0; i < pool.size(); ++i)
            bytes += pool.storedBytes(i);
        QCOMPARE(pool.byteCount(), bytes);

        // Putting them back a slice at a time from the end down, as undo does: the final
        // rows handled so far stand complete after the rows not handled yet.
        const std::vector<quint32> &finalRows = positions;
        PackedTexts removedTexts;
        for (const quint32 position : positions)
            removedTexts.append(texts[int(position)]);
        if (packs) {
            QCOMPARE(packed.size(), removedTexts.size());
            removedTexts = std::move(packed); // what was packed goes back in
        }
        qsizetype placed = 0;
        qsizetype settledFrom = count;
        while (settledFrom > 0) {
            const qsizetype lowest = std::max<qsizetype>(0, settledFrom - random.bounded(0, 12));
            placed = pool.insertSortedDownTo(finalRows.data(), qsizetype(finalRows.size()),
                                             removedTexts, 0, placed, settledFrom, lowest);
            settledFrom = lowest;
            QCOMPARE(poolTexts(), withoutRemovedBefore(settledFrom));
        }
        QCOMPARE(placed, qsizetype(positions.size()));
        QVERIFY(pool.settled());
    }
}

void ListTest::commandsBetweenRemovalSlices_data()
{
    QTest::addColumn<QString>("between");
    QTest::addColumn<bool>("whileTakenBack"); // else while the removal is made
    for (const bool back : {false, true}) {
        for (const char *between : {"nothing", "check a row", "remove a row", "add", "check all",
                                    "undo", "another removal"}) {
            if (back && QByteArray(between) == "undo")
                continue;
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(
                back ? QStringLiteral("taken back") : QStringLiteral("made"),
                QString::fromLatin1(between))))
                << QString::fromLatin1(between) << back;
        }
    }
}

void ListTest::commandsBetweenRemovalSlices()
{
    // A removal that goes a slice at a time, and taking it back, leave a whole list after
    // each slice; what the user does between slices, with rows as the view shows them then,
    // lands on the items they meant, and the history still takes everything back exactly.
    QFETCH(QString, between);
    QFETCH(bool, whileTakenBack);
    ItemList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addColumn(QStringLiteral("Items:"));
    list.setItemsPerRemovalSlice(16);
    QStringList texts;
    for (int i = 0; i < 200; ++i) {
        texts.append(QStringLiteral("t%1").arg(i));
        list.append(texts.back());
        list.setChecked(i, i % 5 == 0);
    }
    KeepingObserver observer;
    list.setObserver(&observer);
    std::vector<qsizetype> positions;
    for (qsizetype i = 0; i < 200; ++i) {
        if (i % 3 == 0 || (i >= 100 && i < 120))
            positions.push_back(i);
    }
    QSet<QString> removed;
    for (const qsizetype position : positions)
        removed.insert(texts[position]);
    QSet<QString> checked;
    for (int i = 0; i < 200; i += 5)
        checked.insert(texts[i]);

    list.startRemoval(positions);
    QCOMPARE(observer.changes.size(), size_t(1));
    if (whileTakenBack) {
        list.settle();
        list.undo(observer.changes.front());
        removed.clear();
    }
    QVERIFY(list.changeUnderWay());
    list.continueChange();
    QVERIFY(list.changeUnderWay());
    // The rows as the view has them now, the first slice done: the items, then the rows the
    // slice left at the end, which show nothing and take no click until the change is through.
    const QStringList shown = itemTexts(list);
    QVERIFY(list.rowCount() >= shown.size());
    for (int past = int(shown.size()); past < list.rowCount(); ++past) {
        QCOMPARE(list.flags(list.index(past, 0)), Qt::NoItemFlags);
        QCOMPARE(list.data(list.index(past, 0)).toString(), QString());
    }
    const int row = int(shown.indexOf(QStringLiteral("t152")));
    QVERIFY(row > 0);
    QStringList added;
    if (between == u"check a row") {
        list.setChecked(row, true);
        checked.insert(QStringLiteral("t152"));
    } else if (between == u"remove a row") {
        list.removeAt(row);
        removed.insert(QStringLiteral("t152"));
    } else if (between == u"add") {
        list.append(u"added");
        added.append(QStringLiteral("added"));
    } else if (between == u"check all") {
        list.replaceChecks(std::vector<quint8>(size_t(list.count()), 1));
        for (const QString &text : shown)
            checked.insert(text);
    } else if (between == u"another removal") {
        list.startRemoval({row, row + 1});
        removed.insert(shown[row]);
        removed.insert(shown[row + 1]);
    } else if (between == u"undo") {
        list.undo(observer.changes.back());
        list.settle();
        QCOMPARE(itemTexts(list), texts);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(list.isChecked(i), i % 5 == 0);
        return;
    }
    // However many slices are left, the view hears of the rows going once.
    QSignalSpy rowsRemoved(&list, &QAbstractItemModel::rowsRemoved);
    while (list.continueChange()) {
    }
    QVERIFY(!list.changeUnderWay());
    QVERIFY(rowsRemoved.size() <= 1);
    QCOMPARE(list.rowCount(), int(list.count()));

    QStringList expected;
    for (const QString &text : texts) {
        if (!removed.contains(text))
            expected.append(text);
    }
    expected += added;
    QCOMPARE(itemTexts(list), expected);
    for (qsizetype i = 0; i < list.count(); ++i)
        QCOMPARE(list.isChecked(i), checked.contains(expected[i]));

    // Taking back what is left to take back, newest first, gives the list as it was, marks
    // included (a click on a check box is a change of its own).
    list.setObserver(nullptr);
    const auto first = observer.changes.rend() - (whileTakenBack ? 1 : 0);
    for (auto change = observer.changes.rbegin(); change != first; ++change) {
        list.undo(*change);
        while (list.continueChange()) {
            QCOMPARE(list.rowCount(), int(list.count()));
        }
    }
    QCOMPARE(itemTexts(list), texts);
    for (int i = 0; i < 200; ++i)
        QCOMPARE(list.isChecked(i), i % 5 == 0);
}

void ListTest::removalUndoAndRedoRestoreExactly_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<QList<int>>("removed"); // empty: every third item
    QTest::addColumn<bool>("gatheredBeforehand");
    QTest::newRow("one item in the middle") << 50 << QList<int>{20} << false;
    QTest::newRow("a few runs") << 50 << QList<int>{0, 1, 2, 10, 11, 30, 49} << false;
    QTest::newRow("the first and the last") << 50 << QList<int>{0, 49} << true;
    QTest::newRow("every item") << 9 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << false;
    QTest::newRow("scattered, in place") << 3000 << QList<int>{} << false;
    QTest::newRow("scattered, gathered in slices") << 3000 << QList<int>{} << true;
}

void ListTest::removalUndoAndRedoRestoreExactly()
{
    // Texts of one byte per character, of two, empty ones and long ones side by side: undo
    // keeps them packed and puts them back in place.
    QFETCH(int, items);
    QFETCH(QList<int>, removed);
    QFETCH(bool, gatheredBeforehand);
    ItemList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addColumn(QStringLiteral("Items:"));
    QRandomGenerator random(7);
    QStringList texts;
    for (int i = 0; i < items; ++i) {
        QString text;
        switch (i % 5) {
        case 0:
            text = QStringLiteral("plain %1").arg(i);
            break;
        case 1:
            text = QStringLiteral("caf\u00e9 \u00fc%1").arg(i);
            break;
        case 2:
            text = QStringLiteral("\u0416\u20ac %1 \U0001F600").arg(i);
            break;
        case 3:
            text = QString();
            break;
        default:
            text = QString(int(random.bounded(300)), QChar(u'a' + i % 26));
            break;
        }
        texts.append(text);
        list.append(text);
        list.setChecked(i, random.bounded(2) == 1);
    }
    std::vector<quint8> checks = list.checks();
    KeepingObserver observer;
    list.setObserver(&observer);

    std::vector<qsizetype> positions;
    if (removed.isEmpty()) {
        for (qsizetype i = 0; i < items; i += 3)
            positions.push_back(i);
    } else {
        positions.assign(removed.begin(), removed.end());
    }
    PackedTexts gathered;
    if (gatheredBeforehand) {
        const qsizetype half = qsizetype(positions.size()) / 2;
        gathered = list.gatherTexts(positions, 0, half);
        gathered = list.gatherTexts(positions, half, qsizetype(positions.size()), gathered);
    }
    QStringList kept = texts;
    std::vector<quint8> keptChecks = checks;
    for (auto position = positions.rbegin(); position != positions.rend(); ++position) {
        kept.removeAt(*position);
        keptChecks.erase(keptChecks.begin() + *position);
    }
    // Duplicate removal hands its positions over from the end down.
    std::reverse(positions.begin(), positions.end());
    list.removePositions(positions, std::move(gathered));
    QCOMPARE(itemTexts(list), kept);
    QCOMPARE(list.checks(), keptChecks);
    QCOMPARE(observer.changes.size(), size_t(1));
    QCOMPARE(observer.changes.back().removedCount(), qsizetype(positions.size()));

    list.undo(observer.changes.back());
    QCOMPARE(itemTexts(list), texts);
    QCOMPARE(list.checks(), checks);
    QCOMPARE(list.rowCount(), items);

    list.redo(observer.changes.back());
    QCOMPARE(itemTexts(list), kept);
    QCOMPARE(list.checks(), keptChecks);
    list.undo(observer.changes.back());
    QCOMPARE(itemTexts(list), texts);
    QCOMPARE(observer.changes.size(), size_t(1)); // taking back records nothing
}

namespace {
// The list as a sequence of changes made one after the other leaves it: texts and marks.
struct Snapshot
{
    QStringList texts;
    std::vector<quint8> checks;
    bool operator==(const Snapshot &other) const
    {
        return texts == other.texts && checks == other.checks;
    }
};

Snapshot snapshotOf(const ItemList &list)
{
    return {itemTexts(list), list.checks()};
}

const char *describe(const Snapshot &snapshot)
{
    static QByteArray text;
    text = snapshot.texts.join(u' ').toUtf8();
    return text.constData();
}
} // namespace

void ListTest::randomChangesInterruptedBetweenSlices_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 24; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void ListTest::randomChangesInterruptedBetweenSlices()
{
    // Random changes, long removals and their undo going a slice at a time, each interrupted
    // at a random slice by another change, an undo or a redo that points at rows as the
    // view shows them then. Every change must land on the items pointed at, as if the one
    // under way had been through first; the list after each slice is a whole list; and
    // undo all, then redo all, must give back the first and the last list exactly.
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    ItemList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addColumn(QStringLiteral("Items:"));
    list.setItemsPerRemovalSlice(4);
    KeepingObserver observer;
    list.setObserver(&observer);
    int made = 0; // every text is new, so a text names one item
    // Texts in both of the forms the list keeps: most seeds mix them, every third has one
    // text beyond Latin-1 in a Latin-1 list; some Latin-1 texts are accented.
    const auto newText = [&] {
        const int k = made++;
        const bool wide = seed % 3 == 0 ? k == 7 : k % 5 == 0;
        return (wide         ? QStringLiteral("\u0133%1")
                : k % 3 == 0 ? QStringLiteral("\u00e9%1")
                             : QStringLiteral("i%1"))
            .arg(k);
    };
    for (int i = 0; i < 40; ++i)
        list.append(newText());

    // states[k]: the list after the first k recorded changes, made one after the other.
    std::vector<Snapshot> states{snapshotOf(list)};
    observer.changes.clear();
    size_t at = 0;
    // Where the item named `text` stands in `state`, or -1.
    const auto find = [](const Snapshot &state, const QString &text) {
        return state.texts.indexOf(text);
    };

    for (int step = 0; step < 120; ++step) {
        const size_t recordedBefore = observer.changes.size();
        Snapshot next = states[at];
        const qsizetype count = list.count();
        const int kind = int(random.bounded(10));
        if (kind <= 2 && count > 0) { // a removal of scattered rows, perhaps long
            std::vector<qsizetype> rows;
            const int share = int(random.bounded(10, 90));
            for (qsizetype row = 0; row < count; ++row) {
                if (int(random.bounded(100)) < share)
                    rows.push_back(row);
            }
            for (const qsizetype row : rows) {
                const auto index = find(next, list.text(row).toString());
                if (index >= 0) {
                    next.texts.removeAt(index);
                    next.checks.erase(next.checks.begin() + index);
                }
            }
            list.startRemoval(rows);
        } else if (kind == 3) {
            const QString text = newText();
            next.texts.append(text);
            next.checks.push_back(0);
            list.append(text);
        } else if (kind == 4 && count > 0) { // a tick by hand
            const qsizetype row = random.bounded(count);
            const bool mark = random.bounded(2) == 1;
            const auto index = find(next, list.text(row).toString());
            if (index >= 0)
                next.checks[size_t(index)] = mark ? 1 : 0;
            QCOMPARE(list.setChecked(row, mark), index >= 0);
        } else if (kind == 5 && count > 0) { // every mark at once
            std::vector<quint8> marks(static_cast<size_t>(count));
            for (qsizetype row = 0; row < count; ++row) {
                marks[size_t(row)] = quint8(random.bounded(2));
                const auto index = find(next, list.text(row).toString());
                if (index >= 0)
                    next.checks[size_t(index)] = marks[size_t(row)];
            }
            list.replaceChecks(marks);
        } else if (kind == 6 && count > 1) { // a new order, or new texts
            list.settle();
            const qsizetype settled = list.count();
            if (random.bounded(2) == 0) {
                std::vector<quint32> order(static_cast<size_t>(settled));
                std::iota(order.begin(), order.end(), quint32(0));
                std::shuffle(order.begin(), order.end(), random);
                TextPool texts;
                Snapshot reordered;
                for (const quint32 from : order) {
                    texts.append(next.texts[from]);
                    reordered.texts.append(next.texts[from]);
                    reordered.checks.push_back(next.checks[from]);
                }
                next = reordered;
                list.reorder(std::move(order), std::move(texts));
            } else {
                TextPool texts;
                for (QString &text : next.texts) {
                    text = newText();
                    texts.append(text);
                }
                list.rewrite(std::move(texts));
            }
        } else if (kind == 7 && at > 0) {
            list.undo(observer.changes[--at]);
            next = states[at];
        } else if (kind == 8 && at < observer.changes.size()) {
            list.redo(observer.changes[at++]);
            next = states[at];
        }

        if (observer.changes.size() > recordedBefore) {
            // A new change: what could be made again is gone, as in the history.
            QCOMPARE(observer.changes.size(), recordedBefore + 1);
            std::swap(observer.changes[at], observer.changes.back());
            observer.changes.resize(++at);
            states.resize(at);
            states.push_back(next);
        } else {
            QVERIFY2(next == states[at], "a change went unrecorded");
        }
        // A few slices of what is under way, then the next change interrupts it.
        for (int slices = int(random.bounded(3)); slices > 0 && list.changeUnderWay(); --slices) {
            // The current row follows its item through the slice, or goes with it.
            const int row = int(random.bounded(list.count()));
            const QString current = list.text(row).toString();
            const QPersistentModelIndex kept(list.index(row, 0));
            list.continueChange();
            if (kept.isValid())
                QCOMPARE(list.text(kept.row()).toString(), current);
            else
                QCOMPARE(find(states[at], current), -1);
            QVERIFY(list.rowCount() >= int(list.count()));
            if (!list.changeUnderWay())
                QCOMPARE(list.rowCount(), int(list.count()));
            QCOMPARE(qsizetype(list.checks().size()), list.count());
        }
        if (!list.changeUnderWay())
            QVERIFY2(snapshotOf(list) == states[at], describe(snapshotOf(list)));
    }
    list.settle();
    QVERIFY2(snapshotOf(list) == states[at], describe(snapshotOf(list)));
    while (at > 0) {
        list.undo(observer.changes[--at]);
        if (random.bounded(2) == 0)
            list.continueChange();
    }
    list.settle();
    QVERIFY2(snapshotOf(list) == states.front(), describe(snapshotOf(list)));
    while (at < observer.changes.size())
        list.redo(observer.changes[at++]);
    list.settle();
    QVERIFY2(snapshotOf(list) == states.back(), describe(snapshotOf(list)));
}

void ListTest::changeWhileCopyingForUndoStartsOver_data()
{
    QTest::addColumn<bool>("duplicates");   // else: remove items without "7"
    QTest::addColumn<bool>("switchOption"); // else: remove the first item
    QTest::newRow("duplicate removal, an item removed") << true << false;
    QTest::newRow("duplicate removal, the option switched") << true << true;
    QTest::newRow("filter, an item removed") << false << false;
}

void ListTest::changeWhileCopyingForUndoStartsOver()
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

void ListTest::ignoringCaseAgreesWithFullUpperCase()
{
    // Random texts of units whose upper case is one unit, several, or leaves their script
    // (ß, ŉ, ΐ, ﬁ, ı, ſ, µ, ÿ, final sigma, Cyrillic, titlecase ǅ, NUL, a lone surrogate),
    // between ASCII runs so that units fall in every place of a four-unit word: two texts are
    // equal ignoring case exactly when their full upper-case forms are, and then hash alike.
    const QStringList pieces = {"a",
                                "A",
                                "ab",
                                "AB",
                                "é",
                                "É",
                                "ß",
                                "SS",
                                "ss",
                                "ŉ",
                                "ʼN",
                                "ΐ",
                                "Ϊ́",
                                "ﬁ",
                                "FI",
                                "ı",
                                "I",
                                "i",
                                "ſ",
                                "s",
                                "µ",
                                "Μ",
                                "μ",
                                "ÿ",
                                "Ÿ",
                                "ς",
                                "σ",
                                "Σ",
                                "д",
                                "Д",
                                "ǅ",
                                "Ǆ",
                                "ǆ",
                                "ö",
                                "Ö",
                                "ő",
                                "Ő",
                                "ĳ",
                                "Ĳ",
                                "à",
                                "À",
                                "þ",
                                "Þ",
                                "÷",
                                "×",
                                "ª",
                                "\u00a0",
                                QString(QChar(0)),
                                QString(QChar(0xD800)),
                                "xyzw",
                                "XYZW"};
    QRandomGenerator random(20261208);
    const auto randomText = [&] {
        QString text;
        for (int k = int(random.bounded(0, 6)); k > 0; --k)
            text += pieces[random.bounded(int(pieces.size()))];
        return text;
    };
    const std::uint64_t seed = randomHashSeed();
    int equalPairs = 0;
    for (int round = 0; round < 200000; ++round) {
        const QString a = randomText();
        // Often the same text in another case, else any other text.
        QString b = random.bounded(2) == 0   ? randomText()
                    : random.bounded(2) == 0 ? a.toUpper()
                                             : a.toLower();
        const bool equal = a.toUpper() == b.toUpper();
        equalPairs += equal ? 1 : 0;
        QVERIFY2(textsEqual(a, b, CaseOption::IgnoreCase) == equal,
                 qPrintable(QStringLiteral("[%1] [%2]").arg(a, b)));
        if (equal)
            QVERIFY2(comparisonHash(a, CaseOption::IgnoreCase, seed) ==
                         comparisonHash(b, CaseOption::IgnoreCase, seed),
                     qPrintable(QStringLiteral("[%1] [%2]").arg(a, b)));
        // The same as the list keeps them (one byte a character where all fit): the same
        // answers, and the same hashes as their UTF-16 forms, under either option.
        TextPool kept;
        kept.append(a);
        kept.append(b);
        QVERIFY2(textsEqual(kept.at(0), kept.at(1), CaseOption::IgnoreCase) == equal,
                 qPrintable(QStringLiteral("kept [%1] [%2]").arg(a, b)));
        QCOMPARE(textsEqual(kept.at(0), kept.at(1), CaseOption::MatchCase), a == b);
        QCOMPARE(textsEqual(kept.at(0), b, CaseOption::MatchCase), a == b);
        for (const CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase})
            QVERIFY2(comparisonHash(kept.at(0), option, seed) ==
                         comparisonHash(QStringView(a), option, seed),
                     qPrintable(QStringLiteral("kept [%1]").arg(a)));
    }
    QVERIFY(equalPairs > 50000);

    // Each unit below U+0500 in every place of a block of eight, beside ASCII letters.
    for (char16_t unit = 0; unit < 0x500; ++unit) {
        for (int place = 0; place < 8; ++place) {
            QString a = QStringLiteral("abcdefghijk");
            a[place] = QChar(unit);
            const QString b = a.toUpper();
            QVERIFY2(textsEqual(a, b, CaseOption::IgnoreCase), qPrintable(a));
            TextPool kept;
            kept.append(a);
            kept.append(b);
            QVERIFY2(textsEqual(kept.at(0), kept.at(1), CaseOption::IgnoreCase), qPrintable(a));
            QVERIFY2(comparisonHash(a, CaseOption::IgnoreCase, seed) ==
                         comparisonHash(b, CaseOption::IgnoreCase, seed),
                     qPrintable(QString::number(unit, 16)));
        }
    }
}

void ListTest::poolsOfBothFormsCopyAndCutExactly()
{
    // Random pools of Latin-1 texts of odd and even lengths and UTF-16 ones, copied in ranges
    // onto pools whose bytes end at odd and even places, cut and taken apart: each reads as
    // its model list, and each text is kept in one byte a character exactly when it fits.
    QRandomGenerator random(20261208);
    const auto randomText = [&] {
        QString text(int(random.bounded(0, 7)), QChar(u'a' + random.bounded(26)));
        if (random.bounded(4) == 0 && !text.isEmpty())
            text[int(random.bounded(int(text.size())))] = QChar(u'\u0100' + random.bounded(200));
        else if (random.bounded(3) == 0 && !text.isEmpty())
            text[0] = QChar(u'\u00e9');
        return text;
    };
    const auto check = [](const TextPool &pool, const QStringList &model) {
        QCOMPARE(pool.size(), qsizetype(model.size()));
        for (qsizetype i = 0; i < pool.size(); ++i) {
            QCOMPARE(pool.at(i).toString(), model[int(i)]);
            const bool fits = std::all_of(model[int(i)].begin(), model[int(i)].end(),
                                          [](QChar c) { return c.unicode() < 0x100; });
            QCOMPARE(pool.at(i).isLatin1(), fits);
        }
    };
    for (int round = 0; round < 400; ++round) {
        TextPool source, target;
        QStringList sourceModel, targetModel;
        for (int i = int(random.bounded(1, 30)); i > 0; --i) {
            sourceModel.append(randomText());
            source.append(sourceModel.back());
        }
        for (int i = int(random.bounded(0, 5)); i > 0; --i) {
            targetModel.append(randomText());
            target.append(targetModel.back());
        }
        const int first = int(random.bounded(int(sourceModel.size())));
        const int last = first + int(random.bounded(int(sourceModel.size()) - first + 1));
        target.append(source, first, last);
        targetModel += sourceModel.mid(first, last - first);
        check(target, targetModel);

        const int from = int(random.bounded(int(targetModel.size()) + 1));
        check(target.tail(from), targetModel.mid(from));
        PackedTexts packed;
        for (qsizetype i = 0; i < target.size(); ++i)
            packed.append(target.at(i));
        check(TextPool::unpacked(packed), targetModel);
        const int kept = int(random.bounded(int(targetModel.size()) + 1));
        target.truncate(kept);
        targetModel = targetModel.mid(0, kept);
        target.append(QStringLiteral("\u0100z"));
        targetModel.append(QStringLiteral("\u0100z"));
        target.append(QStringLiteral("abc"));
        targetModel.append(QStringLiteral("abc"));
        check(target, targetModel);
    }
}

void ListTest::searchFindsTheSameInEitherForm()
{
    // Random Latin-1 items and texts to find (with letters whose case folding leaves Latin-1
    // or comes into it: µ and mu, ÿ and Ÿ, K and the Kelvin sign, s and long s): an item kept
    // in one byte a character gives the answer its UTF-16 form gives, either case option.
    const QString letters = QStringLiteral("aAsSkKß\u00b5\u00ff\u00e9\u00c9 .");
    const QString others = QStringLiteral("\u039c\u03bc\u0178\u212a\u017f\u0301");
    QRandomGenerator random(20261208);
    const auto randomText = [&](const QString &from, int longest) {
        QString text;
        for (int k = int(random.bounded(0, longest)); k > 0; --k)
            text += from[random.bounded(int(from.size()))];
        return text;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString item = randomText(letters, 9);
        const QString needle = randomText(random.bounded(4) == 0 ? letters + others : letters, 3);
        TextPool kept;
        kept.append(item);
        QVERIFY(kept.at(0).isLatin1());
        for (const CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase}) {
            const TextSearch search(needle, option);
            const bool expected = search.foundIn(QStringView(item));
            found += expected ? 1 : 0;
            QVERIFY2(search.foundIn(kept.at(0)) == expected,
                     qPrintable(QStringLiteral("[%1] in [%2]").arg(needle, item)));
        }
    }
    QVERIFY(found > 5000);
}

void ListTest::collationKeysOrderAsQtsCollationDoes()
{
    // Random texts of letters in both cases, accents composed and not, digits, blanks, other
    // scripts and an emoji, kept in either form: their keys order them as Qt's collation
    // does, numbers as numbers, case ignored or matched, in languages that sort differently.
    const QString letters =
        QStringLiteral("aAzZ\u00e4\u00c4\u00e5\u00f6\u00df\u00e9e\u0301iI\u0131 -.019");
    const QString others = QStringLiteral("\u0130\u03a9\u4e2d\u3042\u0416\U0001F600");
    QRandomGenerator random(20261209);
    const auto randomText = [&] {
        const QString from = random.bounded(3) == 0 ? letters + others : letters;
        QString text;
        for (int k = int(random.bounded(0, 8)); k > 0; --k)
            text += from.mid(random.bounded(int(from.size())), 1);
        return text;
    };
    for (const char *name : {"en_US", "de_DE", "sv_SE", "tr_TR", "ja_JP"}) {
        for (const CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase}) {
            QCollator collator{QLocale(QString::fromLatin1(name))};
            collator.setNumericMode(true);
            collator.setCaseSensitivity(option == CaseOption::MatchCase ? Qt::CaseSensitive
                                                                        : Qt::CaseInsensitive);
            TextPool texts;
            QStringList strings;
            for (int i = 0; i < 600; ++i) {
                strings.append(randomText());
                texts.append(strings.last());
            }
            CollationKeys keys(QLocale(QString::fromLatin1(name)), option);
            for (qsizetype i = 0; i < texts.size(); ++i)
                keys.append(texts.at(i));
            const auto sign = [](int value) { return (value > 0) - (value < 0); };
            for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
                const int expected =
                    sign(collator.sortKey(strings[i]).compare(collator.sortKey(strings[i + 1])));
                QVERIFY2(sign(CollationKeys::compare(keys.key(i), keys.key(i + 1))) == expected,
                         qPrintable(QStringLiteral("%1: [%2] [%3]")
                                        .arg(QLatin1String(name), strings[i], strings[i + 1])));
            }
        }
    }
}

void ListTest::preparedCollisionsDoNotCollideUnderASeed_data()
{
    QTest::addColumn<CaseOption>("option");
    QTest::newRow("ignore case") << CaseOption::IgnoreCase;
    QTest::newRow("match case") << CaseOption::MatchCase;
}

void ListTest::preparedCollisionsDoNotCollideUnderASeed()
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

void ListTest::itemsWithLineBreaks_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("withBreaks");

    QTest::newRow("none") << QStringList{"alice", "", "bob carol"} << 0;
    // Characters whose bytes are those of CR and LF, but are no break.
    QTest::newRow("look-alike bytes")
        << QStringList{QString(QChar(0x0A0D)), QString(QChar(0x0D0A)) + u"x", "\u0a0a\u0d0d"} << 0;
    QTest::newRow("a break after look-alike bytes")
        << QStringList{QString(QChar(0x0A0A)) + u"\u0d0d", "x\ny"} << 1;
    QTest::newRow("LF, CR and CR LF") << QStringList{"a\nb", "c", "d\r", "\r\ne"} << 3;
    QTest::newRow("far into the list")
        << (QStringList(3000, QString(500, u'x')) + QStringList{"last\nline"}) << 1;
}

void ListTest::itemsWithLineBreaks()
{
    QFETCH(QStringList, texts);
    QFETCH(int, withBreaks);
    TextPool pool;
    for (const QString &text : texts)
        pool.append(text);
    RecordingHost host;
    QCOMPARE(LineBreaks::countItemsWithBreaks(pool, host), qsizetype(withBreaks));
}

QTEST_GUILESS_MAIN(ListTest)
void ListTest::largeBuffersHandedOutAgain()
{
    // A freed buffer is handed out again, cut or grown: every byte of each buffer handed out
    // is its own (writing one does not change another still held), and a zeroed buffer reads
    // as zeros though a used one is waiting.
    constexpr size_t kMB = size_t(1) << 20;
    const auto fill = [](void *memory, size_t bytes, char value) {
        std::memset(memory, value, bytes);
    };
    const auto holds = [](const void *memory, size_t bytes, char value) {
        const auto *p = static_cast<const char *>(memory);
        return std::all_of(p, p + bytes, [&](char c) { return c == value; });
    };
    void *first = allocateLarge(40 * kMB);
    fill(first, 40 * kMB, 1);
    deallocateLarge(first, 40 * kMB);
    void *grown = allocateLarge(70 * kMB); // the spare, grown
    fill(grown, 70 * kMB, 2);
    void *other = allocateLarge(36 * kMB); // fresh: the spare is taken
    fill(other, 36 * kMB, 3);
    QVERIFY(holds(grown, 70 * kMB, 2));
    deallocateLarge(grown, 70 * kMB);
    void *zeroed = allocateZeroed(50 * kMB);
    QVERIFY(holds(zeroed, 50 * kMB, 0));
    void *cut = allocateLarge(33 * kMB); // the spare, cut
    fill(cut, 33 * kMB, 4);
    QVERIFY(holds(other, 36 * kMB, 3));
    QVERIFY(holds(zeroed, 50 * kMB, 0));
    deallocateLarge(cut, 33 * kMB);
    deallocateLarge(other, 36 * kMB);
    deallocateLarge(zeroed, 50 * kMB);
    releaseSpareMemory();
}

void ListTest::largeLoadWhilePagesAreFaultedAhead()
{
    // A room large enough to have its pages faulted in ahead on another thread, outgrown
    // half way (the buffer moves), and a shorter text than the room: every item as written.
    TextPoolBuilder builder;
    builder.reserve(0, qsizetype(20) << 20);
    QString expectedLast;
    qsizetype lines = 0;
    for (int chunk = 0; chunk < 120; ++chunk) {
        QString text;
        for (int line = 0; line < 2000; ++line, ++lines)
            text += QStringLiteral("item %1 %2\n")
                        .arg(lines)
                        .arg(QString(100, QChar(u'a' + chunk % 26)));
        char16_t *space = builder.space(text.size());
        std::memcpy(space, text.utf16(), size_t(text.size()) * sizeof(char16_t));
        builder.added(text.size());
    }
    const TextPool pool = builder.finish();
    QCOMPARE(pool.size(), lines);
    for (const qsizetype position : {qsizetype(0), lines / 2, lines - 1})
        QCOMPARE(pool.at(position).toString(),
                 QStringLiteral("item %1 %2")
                     .arg(position)
                     .arg(QString(100, QChar(u'a' + int(position / 2000) % 26))));
}

#include "tst_list.moc"
