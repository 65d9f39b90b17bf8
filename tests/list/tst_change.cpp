#include "ItemList.h"
#include "ItemListTexts.h"
#include "KeepingObserver.h"

#include <algorithm>
#include <numeric>

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

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

// Appends the texts, every `markEvery`-th checked, the first among them.
void appendMarked(ItemList &list, const QStringList &texts, int markEvery)
{
    for (const QString &text : texts) {
        list.append(text);
        list.setChecked(list.count() - 1, (list.count() - 1) % markEvery == 0);
    }
}

const char *describe(const Snapshot &snapshot)
{
    static QByteArray text;
    text = snapshot.texts.join(u' ').toUtf8();
    return text.constData();
}
} // namespace

// The list as the view's model: removals in slices with commands between them, and their
// undo and redo, exactly.
class ChangeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removePositionsKeepsChecks();
    void commandsBetweenRemovalSlices_data();
    void commandsBetweenRemovalSlices();
    void removalUndoAndRedoRestoreExactly_data();
    void removalUndoAndRedoRestoreExactly();
    void everyItemPutBackInSlices_data();
    void everyItemPutBackInSlices();
    void randomChangesInterruptedBetweenSlices_data();
    void randomChangesInterruptedBetweenSlices();
};

void ChangeTest::removePositionsKeepsChecks()
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

void ChangeTest::commandsBetweenRemovalSlices_data()
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

void ChangeTest::commandsBetweenRemovalSlices()
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
    for (int i = 0; i < 200; ++i)
        texts.append(QStringLiteral("t%1").arg(i));
    appendMarked(list, texts, 5);
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

void ChangeTest::removalUndoAndRedoRestoreExactly_data()
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

void ChangeTest::removalUndoAndRedoRestoreExactly()
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

void ChangeTest::everyItemPutBackInSlices_data()
{
    QTest::addColumn<bool>("mixed"); // texts of one byte a character and of two, else Latin-1
    QTest::addColumn<bool>("addBetween");
    QTest::newRow("Latin-1") << false << false;
    QTest::newRow("mixed") << true << false;
    QTest::newRow("mixed, an item added between slices") << true << true;
}

void ChangeTest::everyItemPutBackInSlices()
{
    // Taking back the removal of every item writes every text back into memory the list gave
    // up: the slices are a quarter as long as a removal's, each a whole list, and the end
    // the list as it was.
    QFETCH(bool, mixed);
    QFETCH(bool, addBetween);
    QStringList texts;
    for (int i = 0; i < 300; ++i)
        texts.append(mixed && i % 3 == 0 ? QStringLiteral("\u0416%1\u00e9").arg(i)
                                         : QStringLiteral("t%1").arg(i));
    ItemList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addColumn(QStringLiteral("Items:"));
    list.setItemsPerRemovalSlice(32);
    appendMarked(list, texts, 4);
    std::vector<qsizetype> every(size_t(texts.size()));
    std::iota(every.begin(), every.end(), 0);
    const std::vector<quint8> checks = list.checks();
    KeepingObserver observer;
    list.setObserver(&observer);
    list.startRemoval(every);
    list.settle();
    QCOMPARE(list.count(), qsizetype(0));

    list.undo(observer.changes.front());
    QSignalSpy rowsInserted(&list, &QAbstractItemModel::rowsInserted);
    QStringList added;
    qsizetype slicesBeforeAdding = 0;
    while (list.continueChange()) {
        if (addBetween && rowsInserted.size() == 5) { // finishes the change first
            slicesBeforeAdding = rowsInserted.size();
            list.append(u"added");
            added.append(QStringLiteral("added"));
        }
    }
    QVERIFY(rowsInserted.size() >= 5);
    for (qsizetype k = 0; k < (addBetween ? slicesBeforeAdding : rowsInserted.size()); ++k)
        QVERIFY(rowsInserted[k][2].toInt() - rowsInserted[k][1].toInt() + 1 <=
                list.itemsPerRemovalSlice() / 4);
    QCOMPARE(itemTexts(list), texts + added);
    QCOMPARE(list.rowCount(), int(list.count()));
    std::vector<quint8> expectedChecks = checks;
    expectedChecks.resize(checks.size() + size_t(added.size()), 0);
    QCOMPARE(list.checks(), expectedChecks);
}

void ChangeTest::randomChangesInterruptedBetweenSlices_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 24; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void ChangeTest::randomChangesInterruptedBetweenSlices()
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

QTEST_GUILESS_MAIN(ChangeTest)
#include "tst_change.moc"
