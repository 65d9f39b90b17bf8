#include "ItemList.h"
#include "ListMenu.h"
#include "MenuEntries.h"
#include "UndoHistory.h"
#include "WindowFixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

#include <map>

namespace {
// One thing the user does.
struct Op
{
    enum Kind {
        Add,
        RemoveSelected,
        DeleteKey,
        Clear,
        Sample,
        With,
        Without,
        Load,
        Suppress,
        CheckAll,
        UncheckAll,
        Invert,
        CheckWith,
        SortAToZ,
        Reverse,
        UpperCase,
        Tick,
        Undo,
        Redo,
    };
    Kind kind;
    QString text = QString(); // typed, or the file chosen
    int row = -1;             // made current first (Tick: ticked), -1 for none
};
struct State
{
    QStringList texts;
    QList<bool> checks;
    QString status;
    int current = -1;
    qsizetype rowsShown = 0; // the rows the view has been told of
    bool operator==(const State &other) const
    {
        return texts == other.texts && checks == other.checks && status == other.status &&
               current == other.current && rowsShown == other.rowsShown;
    }
};

} // namespace

Q_DECLARE_METATYPE(Op)

// Steps are whole: a command asked for while another yields runs after it, so the window ends
// as the commands one after the other leave it, whatever moment they were asked for; undo
// and redo take back and make again whole steps; every mark set by hand comes back as it was.
class HistoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void askedForAtEverySliceBoundary_data();
    void askedForAtEverySliceBoundary();
    void randomCommandsAskedForMeanwhile();
    void handTicksAreSteps_data();
    void handTicksAreSteps();
    void historyKeepsWithinItsMemoryBudget();
    void stepTooLargeToKeep();
    void tickWhileALoadRuns_data();
    void tickWhileALoadRuns();

private:
    std::unique_ptr<TestWindow> newWindow(bool slicedFinely) const;
    static State state(TestWindow &window);
    static QAction *action(TestWindow &window, const QString &startsWith);
    // Does `op` in `window`; `meanwhile` when another command runs (then it only asks).
    static void perform(TestWindow &window, const Op &op);
    // Does `first` in `window`, asking for `meanwhile` at the window's `turn`-th turn while it
    // runs (or after, if it has fewer); returns how many turns it had. The Delete key does
    // nothing under the hourglass: a press then is taken out of `meanwhile`.
    static int interrupt(TestWindow &window, const Op &first, std::vector<Op> &meanwhile, int turn);
    static void undoAllAndRedoAll(TestWindow &window);
    QString writeList(const QString &name, const QStringList &lines) const;

    std::unique_ptr<TestFolders> m_folders;
};

void HistoryTest::init()
{
    m_folders = std::make_unique<TestFolders>();
}

void HistoryTest::cleanup()
{
    m_folders.reset();
}

std::unique_ptr<TestWindow> HistoryTest::newWindow(bool slicedFinely) const
{
    auto window = std::make_unique<TestWindow>(m_folders->program.path());
    if (slicedFinely) {
        // Every long step goes in many slices, with a turn of the window before each.
        window->form->setYieldInterval(0);
        window->form->items().setItemsPerRemovalSlice(8);
        window->form->items().setItemsPerInsertion(16);
    }
    return window;
}

State HistoryTest::state(TestWindow &window)
{
    State result;
    const ItemList &items = window.form->items();
    result.texts = itemTexts(items);
    for (qsizetype i = 0; i < items.count(); ++i)
        result.checks.append(items.isChecked(i));
    result.status = window.control<QLabel>("Label1")->text();
    result.current = window.control<QTableView>("ListView1")->currentIndex().row();
    result.rowsShown = window.control<QTableView>("ListView1")->verticalHeader()->count();
    return result;
}

QAction *HistoryTest::action(TestWindow &window, const QString &startsWith)
{
    return menuAction(*window.form, startsWith);
}

void HistoryTest::perform(TestWindow &window, const Op &op)
{
    auto *view = window.control<QTableView>("ListView1");
    ItemList &items = window.form->items();
    if (op.row >= 0 && op.kind != Op::Tick && op.row < items.count())
        view->setCurrentIndex(items.index(op.row, 0));
    const auto click = [&](const char *name) { window.control<QPushButton>(name)->click(); };
    switch (op.kind) {
    case Op::Add:
        window.control<QLineEdit>("Text1")->setText(op.text);
        click("PushButton2");
        break;
    case Op::RemoveSelected:
        click("PushButton19");
        break;
    case Op::DeleteKey:
        QTest::keyClick(view, Qt::Key_Delete);
        break;
    case Op::Clear:
        click("PushButton1");
        break;
    case Op::Sample:
        click("PushButton22");
        break;
    case Op::With:
    case Op::Without:
        window.prompts.typed.push_back(op.text);
        click(op.kind == Op::With ? "PushButton17" : "PushButton16");
        break;
    case Op::Load:
        window.fileDialogs.answers.push_back({op.text});
        click("PushButton3");
        break;
    case Op::Suppress:
        window.fileDialogs.answers.push_back({op.text});
        action(window, QStringLiteral("Remove Items Listed"))->trigger();
        break;
    case Op::CheckAll:
        action(window, QStringLiteral("Check All Items"))->trigger();
        break;
    case Op::UncheckAll:
        action(window, QStringLiteral("Uncheck All Items"))->trigger();
        break;
    case Op::Invert:
        action(window, QStringLiteral("Invert Check Marks"))->trigger();
        break;
    case Op::CheckWith:
        window.prompts.typed.push_back(op.text);
        action(window, QStringLiteral("Check Items With"))->trigger();
        break;
    case Op::SortAToZ:
        action(window, QStringLiteral("Sort A to Z"))->trigger();
        break;
    case Op::Reverse:
        action(window, QStringLiteral("Reverse Order"))->trigger();
        break;
    case Op::UpperCase:
        action(window, QStringLiteral("Upper Case"))->trigger();
        break;
    case Op::Tick:
        // As a click on the check box does it.
        if (op.row >= 0 && op.row < items.count()) {
            const QModelIndex index = items.index(op.row, 0);
            items.setData(index, items.isChecked(op.row) ? Qt::Unchecked : Qt::Checked,
                          Qt::CheckStateRole);
        }
        break;
    case Op::Undo:
    case Op::Redo: {
        // As the shortcut does while its entry is enabled (it may not be yet, while the step
        // to take back is still being made).
        ListMenu &menu = window.form->listMenu();
        const bool back = op.kind == Op::Undo;
        window.form->commands().run(back ? QStringLiteral("Undo") : QStringLiteral("Redo"),
                                    [&menu, back] { back ? menu.undo() : menu.redo(); });
        break;
    }
    }
}

int HistoryTest::interrupt(TestWindow &window, const Op &first, std::vector<Op> &meanwhile,
                           int turn)
{
    int turns = 0;
    bool asked = meanwhile.empty();
    QTimer turnCounter;
    QObject::connect(&turnCounter, &QTimer::timeout, [&] {
        if (turns++ != turn || asked)
            return;
        asked = true;
        const bool hourglass = window.form->mousePointer() == Form1::kPointerHourglass;
        for (const Op &op : meanwhile)
            perform(window, op);
        if (hourglass)
            meanwhile.erase(std::remove_if(meanwhile.begin(), meanwhile.end(),
                                           [](const Op &op) { return op.kind == Op::DeleteKey; }),
                            meanwhile.end());
    });
    turnCounter.start(0);
    perform(window, first);
    turnCounter.stop();
    if (!asked) {
        for (const Op &op : meanwhile)
            perform(window, op);
    }
    return turns;
}

QString HistoryTest::writeList(const QString &name, const QStringList &lines) const
{
    const QString path = m_folders->program.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (const QString &line : lines)
        file.write(line.toUtf8() + "\r\n");
    return path;
}

void HistoryTest::askedForAtEverySliceBoundary_data()
{
    QTest::addColumn<int>("command");   // an Op::Kind
    QTest::addColumn<int>("meanwhile"); // an Op::Kind
    // 1: a filter before, 2: one taken back; 3: Upper Case under Match case before, whose step
    // both changes texts and removes the duplicates that makes, 4: that step taken back.
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
}

void HistoryTest::askedForAtEverySliceBoundary()
{
    QFETCH(int, command);
    QFETCH(int, meanwhile);
    QFETCH(int, filtersFirst);

    // 150 items, a third of them duplicates of lines in the file and of the sample list:
    // enough slices for every kind of boundary, and each asked at every one of them.
    QStringList start;
    for (int i = 0; i < 150; ++i)
        start.append(i % 3 == 0 ? QStringLiteral("line %1").arg(i % 60)
                                : QStringLiteral("item %1").arg(i));
    start += QStringList{"Martin Holloway", "support@example.org"};
    for (int i = 0; filtersFirst > 2 && i < 20; ++i) // told apart by Match case until Upper Case
        start += QStringList{QStringLiteral("Name %1").arg(i), QStringLiteral("NAME %1").arg(i)};
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines.append(QStringLiteral("LINE %1").arg(i % 80));
    const QString file = writeList(QStringLiteral("list.txt"), lines);

    const auto setUp = [&](TestWindow &window) {
        if (filtersFirst > 2)
            window.control<QRadioButton>("Option2")->click(); // Match case
        perform(window, {Op::Load, writeList(QStringLiteral("start.txt"), start)});
        for (int row = 0; row < 40; row += 7)
            perform(window, {Op::Tick, {}, row});
        if (filtersFirst == 1 || filtersFirst == 2)
            perform(window, {Op::Without, QStringLiteral("1")});
        if (filtersFirst > 2)
            perform(window, {Op::UpperCase});
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

void HistoryTest::undoAllAndRedoAll(TestWindow &window)
{
    // Everything taken back gives the empty list; everything made again the end.
    const State end = state(window);
    QUndoStack &stack = window.form->history().stack();
    int undone = 0;
    for (; stack.canUndo(); ++undone)
        perform(window, {Op::Undo});
    QVERIFY(window.form->items().count() == 0);
    for (; undone > 0; --undone)
        perform(window, {Op::Redo});
    QCOMPARE(state(window).texts, end.texts);
    QCOMPARE(state(window).checks, end.checks);
}

void HistoryTest::randomCommandsAskedForMeanwhile()
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
