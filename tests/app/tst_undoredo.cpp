#include "ListMenuFixture.h"
#include "UndoHistory.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

// Undo and redo from the list's context menu after every kind of change, and while a long
// step is made or taken back.
class UndoRedoTest : public QObject, private ListMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void undoAndRedoEveryKindOfStep_data();
    void undoAndRedoEveryKindOfStep();
    void undoWhileALoadRemovesDuplicates();
    void addWhileALargeRemovalIsTakenBackOrMadeAgain_data();
    void addWhileALargeRemovalIsTakenBackOrMadeAgain();
    void copyWhileALongRemovalGoesOn();
    void undoKeepsTheCurrentRow_data();
    void undoKeepsTheCurrentRow();
};

void UndoRedoTest::undoAndRedoEveryKindOfStep_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("stepName");

    QTest::newRow("add") << "add"
                         << "Add";
    QTest::newRow("remove selected item") << "remove"
                                          << "Remove Selected Item";
    QTest::newRow("Delete key") << "delete"
                                << "Remove Item";
    QTest::newRow("clear") << "clear"
                           << "Clear All Items";
    QTest::newRow("filter with") << "with"
                                 << "Remove Items With \"an\"";
    QTest::newRow("filter without") << "without"
                                    << "Remove Items Without \"an\"";
    QTest::newRow("sample list and its duplicate removal") << "sample"
                                                           << "Load Sample/Example List";
    QTest::newRow("text file and its duplicate removal") << "load"
                                                         << "Load List From Text File";
    QTest::newRow("longer text file than the list") << "loadMany"
                                                    << "Load List From Text File";
    QTest::newRow("check all") << "checkAll"
                               << "Check All Items";
    QTest::newRow("uncheck all") << "uncheckAll"
                                 << "Uncheck All Items";
    QTest::newRow("invert") << "invert"
                            << "Invert Check Marks";
    QTest::newRow("check with") << "checkWith"
                                << "Check Items With \"an\"";
    QTest::newRow("suppression list") << "suppress"
                                      << "Remove Items Listed in File(s)";
}

void UndoRedoTest::undoAndRedoEveryKindOfStep()
{
    QFETCH(QString, command);
    QFETCH(QString, stepName);

    // Duplicates spread out (so removals are many runs), some checked, one current.
    QStringList start;
    for (int i = 0; i < 30; ++i)
        start.append(QStringLiteral("item %1 %2").arg(i % 12).arg(i % 2 ? "banana" : "apple"));
    start += QStringList{"Martin Holloway", "support@example.org"};
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), start);
        for (qsizetype i = 0; i < form().items().count(); i += 3)
            form().items().setChecked(i, true);
    }
    m_window->control<QTableView>("ListView1")->setCurrentIndex(form().items().index(4, 0));
    const State before = state();
    const QString list = writeFile(QStringLiteral("list.txt"), "new one\r\nitem 3 banana\r\n");

    if (command == u"add") {
        m_window->control<QLineEdit>("Text1")->setText(QStringLiteral("brand new"));
        click("PushButton2");
    } else if (command == u"remove") {
        click("PushButton19");
    } else if (command == u"delete") {
        QTest::keyClick(m_window->control<QTableView>("ListView1"), Qt::Key_Delete);
    } else if (command == u"clear") {
        click("PushButton1");
    } else if (command == u"with" || command == u"without") {
        m_window->prompts.typed.push_back(QStringLiteral("an"));
        click(command == u"with" ? "PushButton17" : "PushButton16");
    } else if (command == u"sample") {
        click("PushButton22");
    } else if (command == u"load") {
        m_window->fileDialogs.answers.push_back({list});
        click("PushButton3");
    } else if (command == u"loadMany") {
        // More items than the list holds, with duplicates among themselves only.
        QByteArray lines;
        for (int i = 0; i < 100; ++i)
            lines += "loaded " + QByteArray::number(i % 60) + "\r\n";
        m_window->fileDialogs.answers.push_back({writeFile(QStringLiteral("many.txt"), lines)});
        click("PushButton3");
    } else if (command == u"checkAll") {
        trigger(QStringLiteral("Check All Items"));
    } else if (command == u"uncheckAll") {
        trigger(QStringLiteral("Uncheck All Items"));
    } else if (command == u"invert") {
        trigger(QStringLiteral("Invert Check Marks"));
    } else if (command == u"checkWith") {
        m_window->prompts.typed.push_back(QStringLiteral("an"));
        trigger(QStringLiteral("Check Items With..."));
    } else if (command == u"suppress") {
        m_window->fileDialogs.answers.push_back({list});
        trigger(QStringLiteral("Remove Items Listed in File(s)..."));
    }
    const State after = state();
    QVERIFY(!(after == before));
    QVERIFY(m_window->prompts.errorReports().isEmpty());

    // One step, named after the command, takes the list back exactly, marks included.
    QCOMPARE(action(QStringLiteral("Undo"))->iconText(), u"Undo " + stepName);
    QVERIFY(action(QStringLiteral("Undo"))->isEnabled());
    trigger(QStringLiteral("Undo"));
    QCOMPARE(state().texts, before.texts);
    QCOMPARE(state().checks, before.checks);
    QCOMPARE(status(), u"Undone: " + stepName);

    QCOMPARE(action(QStringLiteral("Redo"))->iconText(), u"Redo " + stepName);
    trigger(QStringLiteral("Redo"));
    QCOMPARE(state().texts, after.texts);
    QCOMPARE(state().checks, after.checks);
    QCOMPARE(status(), u"Redone: " + stepName);

    // And back once more: the step can go round again.
    trigger(QStringLiteral("Undo"));
    QVERIFY(state() == before);
    trigger(QStringLiteral("Undo")); // the set-up
    QVERIFY(form().items().count() == 0);
    QVERIFY(!action(QStringLiteral("Undo"))->isEnabled());
    // A step that began on an empty list comes back whole, marks included, and the next
    // step can be made again on it.
    trigger(QStringLiteral("Redo"));
    QVERIFY(state() == before);
    trigger(QStringLiteral("Redo"));
    QVERIFY(state() == after);
}

void UndoRedoTest::undoWhileALoadRemovesDuplicates()
{
    // 40,000 items of 5,000 texts, put in as one step; the sample load's duplicate removal
    // yields at every slice, and Undo is pressed in its first yield. The load finishes first,
    // with its duplicate removal, and then is taken back whole; Redo makes it again cleaned.
    QStringList many;
    for (int i = 0; i < 40000; ++i)
        many.append(QStringLiteral("item%1").arg(i % 5000));
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), many);
    }
    form().setYieldInterval(0);
    QString statusMeanwhile;
    QTimer::singleShot(0, &form(), [&] {
        trigger(QStringLiteral("Undo"));
        statusMeanwhile = status();
    });
    click("PushButton22");
    QCOMPARE(statusMeanwhile, QStringLiteral("Undo waits for Load Sample/Example List to finish."));
    QCOMPARE(items(), many);
    QCOMPARE(status(), QStringLiteral("Undone: Load Sample/Example List"));
    QVERIFY(m_window->prompts.errorReports().isEmpty());

    trigger(QStringLiteral("Redo"));
    QStringList cleaned;
    for (int i = 0; i < 5000; ++i)
        cleaned.append(QStringLiteral("item%1").arg(i));
    TestWindow sampleOnly(m_folders->program.path());
    sampleOnly.control<QPushButton>("PushButton22")->click();
    cleaned += itemTexts(sampleOnly.form->items());
    QCOMPARE(items(), cleaned);
    QCOMPARE(action(QStringLiteral("Undo"))->iconText(),
             QStringLiteral("Undo Load Sample/Example List"));
    trigger(QStringLiteral("Undo"));
    QCOMPARE(items(), many);
    QCOMPARE(action(QStringLiteral("Undo"))->iconText(), QStringLiteral("Undo Set up"));
}

void UndoRedoTest::addWhileALargeRemovalIsTakenBackOrMadeAgain_data()
{
    QTest::addColumn<bool>("undo");
    QTest::newRow("undo") << true;
    QTest::newRow("redo") << false;
}

void UndoRedoTest::addWhileALargeRemovalIsTakenBackOrMadeAgain()
{
    // A removal from a long list is taken back (or made again) a slice at a time, yielding
    // between slices. An Add asked for in one of those yields waits for it: the list ends as
    // the whole step and then the Add leave it, and the history can take both back.
    QFETCH(bool, undo);
    form().items().setItemsPerRemovalSlice(64);
    form().setYieldInterval(0);
    QStringList all;
    for (int i = 0; i < 2000; ++i)
        all.append((i % 2 == 0 ? QStringLiteral("a") : QStringLiteral("b")) + QString::number(i));
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), all);
    }
    m_window->prompts.typed.push_back(QStringLiteral("a"));
    click("PushButton17"); // Remove Items With "a"
    QStringList kept = all.filter(QStringLiteral("b"));
    QCOMPARE(items(), kept);
    if (!undo)
        trigger(QStringLiteral("Undo"));

    int slicesSeen = 0;
    QTimer slices;
    QObject::connect(&slices, &QTimer::timeout, [&] {
        if (++slicesSeen != 2)
            return;
        m_window->control<QLineEdit>("Text1")->setText(QStringLiteral("added"));
        click("PushButton2");
    });
    slices.start(0);
    trigger(undo ? QStringLiteral("Undo") : QStringLiteral("Redo"));
    slices.stop();
    QVERIFY2(slicesSeen >= 2, "the window got no turn while the step was replayed");
    const QStringList replayed = undo ? all : kept;
    QCOMPARE(items(), replayed + QStringList{"added"});
    QCOMPARE(status(), QStringLiteral("Unique item, added.")); // the Add came after
    QVERIFY(m_window->prompts.errorReports().isEmpty());

    trigger(QStringLiteral("Undo")); // the Add
    QCOMPARE(items(), replayed);
    trigger(QStringLiteral("Undo"));
    QCOMPARE(items(), undo ? QStringList() : all);
}

void UndoRedoTest::copyWhileALongRemovalGoesOn()
{
    // Copy runs at once, even between the slices of a removal. Every row selected then (Ctrl+A),
    // it copies the items the list holds at that moment, not the rows the removal has left
    // at the end of the view, which hold none until it is through.
    form().items().setItemsPerRemovalSlice(64);
    form().setYieldInterval(0);
    QStringList all;
    for (int i = 0; i < 2000; ++i)
        all.append((i % 2 == 0 ? QStringLiteral("a") : QStringLiteral("b")) + QString::number(i));
    fill(form().items(), all);
    auto *view = m_window->control<QTableView>("ListView1");
    QStringList heldWhenCopied;
    QString copied;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const ItemList &list = form().items();
        if (!heldWhenCopied.isEmpty() || list.rowCount() == int(list.count()))
            return;
        view->selectAll();
        trigger(QStringLiteral("Copy"));
        heldWhenCopied = itemTexts(list);
        copied = QGuiApplication::clipboard()->text();
    });
    turns.start(0);
    m_window->prompts.typed.push_back(QStringLiteral("a"));
    click("PushButton17"); // Remove Items With "a"
    turns.stop();
    QVERIFY2(!heldWhenCopied.isEmpty(), "no turn came while rows past the end stood in the view");
    QCOMPARE(copied, heldWhenCopied.join(u'\n') + u'\n');
    QCOMPARE(items(), all.filter(QStringLiteral("b")));
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

void UndoRedoTest::undoKeepsTheCurrentRow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("clear") << "clear";
    QTest::newRow("Delete key") << "delete";
    QTest::newRow("filter") << "with";
}

void UndoRedoTest::undoKeepsTheCurrentRow()
{
    // Undo and redo leave an item current, so the user goes on where they were.
    QFETCH(QString, command);
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), {"a1", "b2", "a3", "b4", "a5"});
    }
    auto *view = m_window->control<QTableView>("ListView1");
    view->setCurrentIndex(form().items().index(3, 0));
    if (command == u"clear") {
        click("PushButton1");
    } else if (command == u"delete") {
        QTest::keyClick(view, Qt::Key_Delete);
    } else {
        m_window->prompts.typed.push_back(QStringLiteral("b"));
        click("PushButton17");
    }
    const QString currentAfter = view->currentIndex().isValid()
                                     ? form().items().text(view->currentIndex().row()).toString()
                                     : QStringLiteral("b4"); // cleared: the row it stood in
    for (const char *step : {"Undo", "Redo", "Undo"}) {
        trigger(QString::fromLatin1(step));
        if (form().items().count() == 0)
            continue; // a clear made again
        QVERIFY2(view->currentIndex().isValid(), step);
        QVERIFY(view->selectionModel()->isSelected(view->currentIndex()));
    }
    // The item that was current stays so; after a clear, the row it stood in.
    QCOMPARE(form().items().text(view->currentIndex().row()).toString(), currentAfter);
}

QTEST_MAIN(UndoRedoTest)
#include "tst_undoredo.moc"
