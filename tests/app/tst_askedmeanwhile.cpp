#include "HistoryFixture.h"

#include <QAbstractItemModelTester>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QUndoStack>

#include <map>

// A command asked for while another yields runs after it, so the window ends as the commands
// one after the other leave it, whatever moment they were asked for; undo and redo take back
// and make again whole steps.
class AskedMeanwhileTest : public QObject, private HistoryFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_folders = std::make_unique<TestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void askedForAtEverySliceBoundary_data();
    void askedForAtEverySliceBoundary();
    void randomCommandsAskedForMeanwhile();
};

void AskedMeanwhileTest::askedForAtEverySliceBoundary_data()
{
    QTest::addColumn<int>("command");   // an Op::Kind
    QTest::addColumn<int>("meanwhile"); // an Op::Kind
    // 1: a filter before, 2: one taken back; 3: Upper Case under Match case before, whose step
    // both changes texts and removes the duplicates that makes, 4: that step taken back; 5: a
    // filter that removes every item before.
    QTest::addColumn<int>("filtersFirst");

    QTest::newRow("undo while a file loads into a list with items")
        << int(Op::Load) << int(Op::Undo) << 0;
    QTest::newRow("undo while a filter removes") << int(Op::Without) << int(Op::Undo) << 0;
    QTest::newRow("undo while a suppression list removes")
        << int(Op::Suppress) << int(Op::Undo) << 0;
    QTest::newRow("redo while a filter is taken back") << int(Op::Undo) << int(Op::Redo) << 1;
    QTest::newRow("undo while a filter is made again") << int(Op::Redo) << int(Op::Undo) << 2;
    QTest::newRow("add while a file loads") << int(Op::Load) << int(Op::Add) << 0;
    QTest::newRow("clear while a file loads") << int(Op::Load) << int(Op::Clear) << 0;
    QTest::newRow("remove selected while a filter removes")
        << int(Op::With) << int(Op::RemoveSelected) << 0;
    QTest::newRow("add while Upper Case is taken back") << int(Op::Undo) << int(Op::Add) << 3;
    QTest::newRow("undo while Upper Case is made again") << int(Op::Redo) << int(Op::Undo) << 4;
    QTest::newRow("clear while Upper Case is taken back") << int(Op::Undo) << int(Op::Clear) << 3;
    QTest::newRow("add while every item is put back") << int(Op::Undo) << int(Op::Add) << 5;
    QTest::newRow("add while sorting") << int(Op::SortAToZ) << int(Op::Add) << 0;
}

void AskedMeanwhileTest::askedForAtEverySliceBoundary()
{
    QFETCH(int, command);
    QFETCH(int, meanwhile);
    QFETCH(int, filtersFirst);
    const bool upperCaseFirst = filtersFirst == 3 || filtersFirst == 4;

    // 150 items, a third of them duplicates of lines in the file and of the sample list:
    // enough slices for every kind of boundary, and each asked at every one of them.
    QStringList start;
    for (int i = 0; i < 150; ++i)
        start.append(i % 3 == 0 ? QStringLiteral("line %1").arg(i % 60)
                                : QStringLiteral("item %1").arg(i));
    start += QStringList{"Martin Holloway", "support@example.org"};
    for (int i = 0; upperCaseFirst && i < 20; ++i) // told apart by Match case until Upper Case
        start += QStringList{QStringLiteral("Name %1").arg(i), QStringLiteral("NAME %1").arg(i)};
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines.append(QStringLiteral("LINE %1").arg(i % 80));
    const QString file = writeList(QStringLiteral("list.txt"), lines);

    const auto setUp = [&](TestWindow &window) {
        if (upperCaseFirst)
            window.control<QRadioButton>("Option2")->click(); // Match case
        perform(window, {Op::Load, writeList(QStringLiteral("start.txt"), start)});
        for (int row = 0; row < 40; row += 7)
            perform(window, {Op::Tick, {}, row});
        if (filtersFirst == 1 || filtersFirst == 2)
            perform(window, {Op::Without, QStringLiteral("1")});
        if (upperCaseFirst)
            perform(window, {Op::UpperCase});
        if (filtersFirst == 5)
            perform(window, {Op::Without, QStringLiteral("no item holds this")});
        if (filtersFirst == 2 || filtersFirst == 4)
            perform(window, {Op::Undo});
    };
    const Op first{Op::Kind(command),
                   command == Op::Load || command == Op::Suppress ? file : QStringLiteral("1"), 5};
    const Op other{Op::Kind(meanwhile), QStringLiteral("added"), -1};

    // Asked for at the first turn of the window, the second, ... until after the command.
    int turnsInAll = 0;
    for (int turn = 0; turn <= turnsInAll; ++turn) {
        auto window = newWindow(true);
        auto reference = newWindow(true);
        QAbstractItemModelTester tester(&window->form->items(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        setUp(*window);
        setUp(*reference);
        std::vector<Op> meanwhile{other};
        const int turns = interrupt(*window, first, meanwhile, turn);
        perform(*reference, first);
        for (const Op &op : meanwhile)
            perform(*reference, op);
        QCOMPARE(state(*window), state(*reference));
        QCOMPARE(state(*window).rowsShown, window->form->items().count());
        QVERIFY(window->prompts.errorReports().isEmpty());
        QVERIFY(!window->form->commands().busy());
        if (QTest::currentTestFailed())
            qFatal("asked for at turn %d of %d", turn, turns);
        if (turn == 0) {
            turnsInAll = turns;
            QVERIFY2(turnsInAll > 5, "the command ran in too few slices to test");
        }
        undoAllAndRedoAll(*window);
    }
}

void AskedMeanwhileTest::randomCommandsAskedForMeanwhile()
{
    // Random sessions: every command, some asked for while another runs, at a random turn of
    // the window. After each, the window must be as the same commands one after the other
    // leave it; every undo and redo must give back the very list and marks that stood after
    // the step it reaches; undoing everything gives the empty list and redoing it the end.
    const QStringList words = {"anna", "Anna", "ben",     "carla@x.org", "dora",
                               "EVE",  "eve",  "frank 1", "gus 12",      "",
                               " ",    "hal",  "ivy",     "jo",          "kim"};
    QRandomGenerator random(17);
    for (int session = 0; session < 40; ++session) {
        auto window = newWindow(true);
        auto reference = newWindow(true);
        QAbstractItemModelTester tester(&window->form->items(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // Half the lists are nearly all duplicates, so that their removal keeps the rest anew.
        const auto someLines = [&](int count) {
            const bool mostlyDuplicates = random.bounded(2) == 0;
            QStringList lines;
            for (int i = 0; i < count; ++i)
                lines.append(words[random.bounded(int(words.size()))] +
                             (!mostlyDuplicates && random.bounded(3) == 0
                                  ? QString::number(random.bounded(20))
                                  : QString()));
            return lines;
        };
        const auto randomOp = [&](bool meanwhile) {
            const int count = int(window->form->items().count());
            Op op{Op::Kind(random.bounded(int(Op::Redo) + 1)), {}, -1};
            if (meanwhile && op.kind == Op::Tick)
                op.kind = Op::Undo;
            if (!meanwhile && count > 0)
                op.row = random.bounded(count);
            if (op.kind == Op::Load || op.kind == Op::Suppress)
                op.text =
                    writeList(QStringLiteral("s%1-%2.txt").arg(session).arg(random.generate()),
                              someLines(op.kind == Op::Load ? 120 : 6));
            else
                op.text = words[random.bounded(int(words.size()))].left(2);
            return op;
        };

        // What each step, once made, left: undo and redo must give exactly that again.
        std::map<int, State> afterStep{{0, state(*reference)}};
        const auto check = [&](const Op::Kind kind, int indexBefore) {
            QUndoStack &stack = reference->form->history().stack();
            const int index = stack.index();
            State now = state(*reference);
            now.status.clear();
            now.current = -1;
            if (kind == Op::Undo || kind == Op::Redo) {
                QVERIFY(afterStep.count(index) == 1);
                QCOMPARE(now.texts, afterStep[index].texts);
                QCOMPARE(now.checks, afterStep[index].checks);
                return;
            }
            if (index != indexBefore) // a new step: the steps that could be made again are gone
                afterStep.erase(afterStep.upper_bound(indexBefore), afterStep.end());
            afterStep[index] = now;
        };

        int opsDone = 0;
        Op first{Op::Load, writeList(QStringLiteral("s%1.txt").arg(session), someLines(150)), -1};
        while (opsDone < 18) {
            std::vector<Op> meanwhile;
            if (random.bounded(2) == 0 && first.kind != Op::Tick)
                for (int k = random.bounded(1, 3); k > 0; --k)
                    meanwhile.push_back(randomOp(true));
            const int turn = random.bounded(8);

            interrupt(*window, first, meanwhile, turn);
            // The reference does them one at a time, checked one at a time.
            QUndoStack &stack = reference->form->history().stack();
            int indexBefore = stack.index();
            perform(*reference, first);
            check(first.kind, indexBefore);
            for (const Op &op : meanwhile) {
                indexBefore = stack.index();
                perform(*reference, op);
                check(op.kind, indexBefore);
            }
            const State got = state(*window), expected = state(*reference);
            if (!(got == expected))
                qWarning("session %d, after %d commands; the last %d (%s), at turn %d", session,
                         opsDone, int(first.kind), qPrintable(first.text), turn);
            QCOMPARE(got.texts, expected.texts);
            QCOMPARE(got.checks, expected.checks);
            QCOMPARE(got.status, expected.status);
            QCOMPARE(got.current, expected.current);
            QCOMPARE(got.rowsShown, window->form->items().count());
            if (QTest::currentTestFailed())
                qFatal("session %d, after %d commands", session, opsDone);
            QVERIFY2(window->prompts.errorReports().isEmpty(),
                     qPrintable(window->prompts.errorReports().join(u'|')));
            opsDone += 1 + int(meanwhile.size());
            first = randomOp(false);
        }

        undoAllAndRedoAll(*window);
    }
}

QTEST_MAIN(AskedMeanwhileTest)
#include "tst_askedmeanwhile.moc"
