#include "HistoryFixture.h"

#include <QTimer>
#include <QUndoStack>

// Steps are whole, and the history keeps them: every mark set by hand comes back as it was, the
// history keeps within its memory budget, and a step too large to keep is said so.
class HistoryTest : public QObject, private HistoryFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_folders = std::make_unique<TestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void handTicksAreSteps_data();
    void handTicksAreSteps();
    void historyKeepsWithinItsMemoryBudget();
    void stepTooLargeToKeep();
    void tickWhileALoadRuns_data();
    void tickWhileALoadRuns();
};

void HistoryTest::handTicksAreSteps_data()
{
    // What the user does after loading the sample; then the marks and the Undo entry's text.
    QTest::addColumn<QList<Op>>("ops");
    QTest::addColumn<QList<bool>>("checks"); // of the first three items
    QTest::addColumn<QString>("undoText");

    using O = Op;
    QTest::newRow("a tick after undo is a step: redo has nothing left to make again")
        << QList<Op>{{O::DeleteKey, {}, 0}, {O::Undo}, {O::Tick, {}, 0}, {O::Redo}}
        << QList<bool>{true, false, false} << "Undo Check Mark";
    QTest::newRow("undo takes back that tick, and the removal before it stays taken back")
        << QList<Op>{{O::DeleteKey, {}, 0}, {O::Undo}, {O::Tick, {}, 0}, {O::Redo}, {O::Undo}}
        << QList<bool>{false, false, false} << "Undo Add";
    QTest::newRow("redo of a removal brings back the marks the items had when taken back")
        << QList<Op>{{O::Tick, {}, 0}, {O::DeleteKey, {}, 0}, {O::Undo}, {O::Redo}, {O::Undo}}
        << QList<bool>{true, false, false} << "Undo Check Mark";
    QTest::newRow("redo of Check All checks all, a tick by hand after it undone first")
        << QList<Op>{{O::CheckAll}, {O::Tick, {}, 0}, {O::Undo}, {O::Undo}, {O::Redo}}
        << QList<bool>{true, true, true} << "Undo Check All Items";
    QTest::newRow("the tick after Check All comes and goes as a step of its own")
        << QList<Op>{{O::CheckAll}, {O::Tick, {}, 0}, {O::Undo}, {O::Undo}, {O::Redo}, {O::Redo}}
        << QList<bool>{false, true, true} << "Undo Check Mark";
    QTest::newRow("ticks in a row are one step")
        << QList<Op>{{O::Tick, {}, 0}, {O::Tick, {}, 1}, {O::Tick, {}, 2}, {O::Tick, {}, 1}}
        << QList<bool>{true, false, true} << "Undo Check Marks";
    QTest::newRow("and one undo takes them all back")
        << QList<Op>{{O::Tick, {}, 0}, {O::Tick, {}, 1}, {O::Tick, {}, 2}, {O::Undo}}
        << QList<bool>{false, false, false} << "Undo Add";
    QTest::newRow("a command between ends the run of ticks")
        << QList<Op>{{O::Tick, {}, 0}, {O::Invert}, {O::Tick, {}, 1}, {O::Undo}}
        << QList<bool>{false, true, true} << "Undo Invert Check Marks";
    QTest::newRow("an undo between ends the run of ticks")
        << QList<Op>{{O::Tick, {}, 0}, {O::Tick, {}, 1}, {O::Undo}, {O::Tick, {}, 2}, {O::Undo}}
        << QList<bool>{false, false, false} << "Undo Add";
    QTest::newRow("clear, undo, redo and undo keep the marks")
        << QList<Op>{{O::Tick, {}, 1}, {O::Clear}, {O::Undo}, {O::Redo}, {O::Undo}}
        << QList<bool>{false, true, false} << "Undo Check Mark";
}

void HistoryTest::handTicksAreSteps()
{
    QFETCH(QList<Op>, ops);
    QFETCH(QList<bool>, checks);
    QFETCH(QString, undoText);

    auto window = newWindow(false);
    for (const char *text : {"alpha", "beta", "gamma", "delta"})
        perform(*window, {Op::Add, QString::fromLatin1(text)});
    for (const Op &op : ops)
        perform(*window, op);
    QCOMPARE(state(*window).checks.mid(0, 3), checks);
    QCOMPARE(action(*window, QStringLiteral("Undo"))->iconText(), undoText);
}

void HistoryTest::historyKeepsWithinItsMemoryBudget()
{
    // Five loads, each removing 3,000 duplicates (about 60 KB of record). With room for about
    // two of them, the oldest go: what is left takes back exactly, step by step, and stops
    // where the history begins.
    auto window = newWindow(false);
    window->form->history().setMemoryBudget(150 * 1024);
    std::vector<State> after{state(*window)};
    for (int load = 0; load < 5; ++load) {
        QStringList lines;
        for (int i = 0; i < 6000; ++i)
            lines.append(QStringLiteral("load %1 item %2").arg(load).arg(i % 3000));
        perform(*window, {Op::Load, writeList(QStringLiteral("l%1.txt").arg(load), lines)});
        after.push_back(state(*window));
    }
    QUndoStack &stack = window->form->history().stack();
    QVERIFY2(stack.count() >= 1 && stack.count() < 5, qPrintable(QString::number(stack.count())));
    const int kept = stack.count();
    for (int step = 5; step > 5 - kept; --step) {
        perform(*window, {Op::Undo});
        QCOMPARE(state(*window).texts, after[step - 1].texts);
    }
    QVERIFY(!stack.canUndo());
    for (int step = 5 - kept; step < 5; ++step)
        perform(*window, {Op::Redo});
    QCOMPARE(state(*window).texts, after[5].texts);
}

void HistoryTest::stepTooLargeToKeep()
{
    // A step larger than the whole budget is not kept, and the status line says so; the
    // steps after it are kept again.
    auto window = newWindow(true);
    window->form->history().setMemoryBudget(16 * 1024);
    perform(*window, {Op::Add, QStringLiteral("first")});
    QStringList lines;
    for (int i = 0; i < 4000; ++i)
        lines.append(QStringLiteral("item %1").arg(i % 1000));
    perform(*window, {Op::Load, writeList(QStringLiteral("big.txt"), lines)});
    QCOMPARE(state(*window).status,
             QStringLiteral("List loaded. 3000 duplicates found, 3000 "
                            "duplicates removed (too large to keep for undo)"));
    QUndoStack &stack = window->form->history().stack();
    QVERIFY(!stack.canUndo());
    QCOMPARE(window->form->items().count(), 1001);

    perform(*window, {Op::Add, QStringLiteral("last")});
    QVERIFY(stack.canUndo());
    perform(*window, {Op::Undo});
    QCOMPARE(window->form->items().count(), 1001);
    QVERIFY(!stack.canUndo());
}

void HistoryTest::tickWhileALoadRuns_data()
{
    QTest::addColumn<bool>("tickALoadedItem");
    QTest::newRow("an item the list held") << false;
    QTest::newRow("an item the load brought") << true;
}

void HistoryTest::tickWhileALoadRuns()
{
    // A tick while a load's duplicate removal runs is part of the load's step: undo takes it
    // back with the load, redo makes it again with it.
    QFETCH(bool, tickALoadedItem);
    auto window = newWindow(true);
    QStringList start, lines;
    for (int i = 0; i < 100; ++i)
        start.append(QStringLiteral("old %1").arg(i));
    for (int i = 0; i < 200; ++i)
        lines.append(QStringLiteral("new %1").arg(i % 120));
    perform(*window, {Op::Load, writeList(QStringLiteral("start.txt"), start)});
    const State before = state(*window);

    // Row 250 holds "new 30", the copy of it that stays.
    const int row = tickALoadedItem ? 250 : 3;
    const QString ticked = tickALoadedItem ? QStringLiteral("new 30") : QStringLiteral("old 3");
    bool tickedMeanwhile = false;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] {
        ItemList &items = window->form->items();
        if (tickedMeanwhile || items.count() != 300)
            return; // not yet loaded
        tickedMeanwhile = true;
        QCOMPARE(items.text(row).toString(), ticked);
        items.setData(items.index(row, 0), Qt::Checked, Qt::CheckStateRole);
    });
    turn.start(0);
    perform(*window, {Op::Load, writeList(QStringLiteral("list.txt"), lines)});
    turn.stop();
    QVERIFY(tickedMeanwhile);
    const State after = state(*window);
    const qsizetype at = after.texts.indexOf(ticked);
    QVERIFY(at >= 0);
    QCOMPARE(after.checks.count(true), 1);
    QVERIFY(after.checks[at]);
    QCOMPARE(action(*window, QStringLiteral("Undo"))->iconText(),
             QStringLiteral("Undo Load List From Text File"));

    perform(*window, {Op::Undo});
    QCOMPARE(state(*window).texts, before.texts);
    QCOMPARE(state(*window).checks, before.checks);
    perform(*window, {Op::Redo});
    QCOMPARE(state(*window).texts, after.texts);
    QCOMPARE(state(*window).checks, after.checks);
}

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
