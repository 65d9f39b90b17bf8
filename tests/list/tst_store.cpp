#include "LargeMemory.h"
#include "PackedTexts.h"
#include "TextPool.h"
#include "TextPoolBuilder.h"

#include <algorithm>
#include <cstring>

#include <QRandomGenerator>
#include <QTest>

// Items and texts in memory: the text pool's copies, cuts and slice-wise removal, the
// large buffers handed out again and the pages faulted in ahead.
class StoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removalInSlicesIsAWholeListAfterEachSlice();
    void poolsOfBothFormsCopyAndCutExactly();
    void largeBuffersHandedOutAgain();
    void largeLoadWhilePagesAreFaultedAhead();
};

void StoreTest::removalInSlicesIsAWholeListAfterEachSlice()
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

void StoreTest::poolsOfBothFormsCopyAndCutExactly()
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

void StoreTest::largeBuffersHandedOutAgain()
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

void StoreTest::largeLoadWhilePagesAreFaultedAhead()
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

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
