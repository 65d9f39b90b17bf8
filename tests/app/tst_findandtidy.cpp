#include "ListMenuFixture.h"
#include "UndoHistory.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTimer>

// Find, Check Items With and the Tidy commands of the list's context menu.
class FindAndTidyTest : public QObject, private ListMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void tidyCommands_data();
    void tidyCommands();
    void find_data();
    void find();
    void findAndCheckItemsWithReadAlike_data();
    void findAndCheckItemsWithReadAlike();
    void keysOpenTheMenuAndFindNext();
    void findInALongListLetsTheWindowTurn();
};

void FindAndTidyTest::tidyCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("statusAfter");
    QTest::addColumn<QStringList>("removed"); // what Save Removed Items saves
    QTest::addColumn<QList<int>>("keptFrom"); // the start's items left, with their marks

    const QString nbsp = QStringLiteral("\u00a0");
    const QString zwsp = QStringLiteral("\u200b");
    QTest::newRow("trim: blanks hid duplicates")
        << "Trim Blanks" << false << QStringList{" anna@x.org", "ben", "anna@x.org\t", "carl "}
        << QStringList{"ben", "anna@x.org", "carl"}
        << "3 items changed. List loaded. 1 duplicates found, 1 duplicates removed"
        << QStringList{"anna@x.org"} << QList<int>{1, 2, 3};
    QTest::newRow("trim: nothing to trim")
        << "Trim Blanks" << false << QStringList{"a", "b"} << QStringList{"a", "b"}
        << "0 items changed. List loaded. No duplicates found." << QStringList{}
        << QList<int>{0, 1};
    QTest::newRow("collapse")
        << "Collapse Inner Blanks" << true << QStringList{"John  Smith", "John\tSmith", "x"}
        << QStringList{"John Smith", "x"}
        << "2 items changed. List loaded. 1 duplicates found, 1 duplicates removed"
        << QStringList{"John Smith"} << QList<int>{1, 2};
    QTest::newRow("invisible")
        << "Remove Invisible Characters" << true
        << QStringList{"jo" + zwsp + "se", "jose", "a" + nbsp + "b", "a b"}
        << QStringList{"jose", "a b"}
        << "2 items changed. List loaded. 2 duplicates found, 2 duplicates removed"
        << QStringList{"jose", "a b"} << QList<int>{1, 3};
    QTest::newRow("empty items") << "Remove Empty Items" << true
                                 << QStringList{"a", "", " \t", "b", "\u3000"}
                                 << QStringList{"a", "b"}
                                 << "3 empty items removed. List loaded. No duplicates found."
                                 << QStringList{"", " \t", "\u3000"} << QList<int>{0, 3};
    QTest::newRow("one empty item")
        << "Remove Empty Items" << true << QStringList{"a", ""} << QStringList{"a"}
        << "1 empty item removed. List loaded. No duplicates found." << QStringList{""}
        << QList<int>{0};
    QTest::newRow("lower case, matching case")
        << "Lower Case" << true << QStringList{"Anna", "ANNA", "anna", "ẞ"}
        << QStringList{"anna", "ß"}
        << "3 items changed. List loaded. 2 duplicates found, 2 duplicates removed"
        << QStringList{"anna", "anna"} << QList<int>{2, 3};
    QTest::newRow("upper case, one item")
        << "Upper Case" << true << QStringList{"STRASSE", "straße"} << QStringList{"STRASSE"}
        << "1 item changed. List loaded. 1 duplicates found, 1 duplicates removed"
        << QStringList{"STRASSE"} << QList<int>{1};
}

void FindAndTidyTest::tidyCommands()
{
    // A tidy command changes texts in place, marks staying with their items, then removes
    // the duplicates that leaves as a load does; one step, which undo takes back exactly,
    // and Save Removed Items saves what went.
    QFETCH(QString, command);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, start);
    QFETCH(QStringList, expected);
    QFETCH(QString, statusAfter);
    QFETCH(QStringList, removed);
    QFETCH(QList<int>, keptFrom);
    chooseMatchCase(matchCase);
    std::vector<quint8> marks;
    for (qsizetype i = 0; i < start.size(); ++i)
        marks.push_back(quint8(i % 2));
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), start);
        form().items().replaceChecks(marks);
    }
    // Each item kept comes from the last of its group in the list; its mark with it.
    trigger(command);
    QCOMPARE(items(), expected);
    std::vector<quint8> keptMarks;
    for (const int from : keptFrom)
        keptMarks.push_back(marks[size_t(from)]);
    QCOMPARE(form().items().checks(), keptMarks);
    QCOMPARE(status(), statusAfter);
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    QCOMPARE(form().mousePointer(), Form1::kPointerDefault);

    if (!removed.isEmpty())
        QCOMPARE(savedRemovedItems(), removed.join(QStringLiteral("\r\n")) + "\r\n");
    if (statusAfter.startsWith(u"0 items"))
        return; // nothing changed: no step
    QCOMPARE(action(QStringLiteral("Undo"))->iconText(), u"Undo " + command);
    trigger(QStringLiteral("Undo"));
    QCOMPARE(items(), start);
    QCOMPARE(form().items().checks(), marks);
    trigger(QStringLiteral("Redo"));
    QCOMPARE(items(), expected);
}

void FindAndTidyTest::find_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rowsFound"); // on Find, then on three Find Next

    QTest::newRow("ignore case, going round") << false << "ANNA" << QList<int>{1, 3, 1, 3};
    QTest::newRow("match case") << true << "anna" << QList<int>{3, 3, 3, 3};
    QTest::newRow("not there") << false << "zed" << QList<int>{0, 0, 0, 0};
}

void FindAndTidyTest::find()
{
    QFETCH(bool, matchCase);
    QFETCH(QString, text);
    QFETCH(QList<int>, rowsFound);

    chooseMatchCase(matchCase);
    fill(form().items(), {"ben", "Anna K", "carl", "anna b", "dora"});
    auto *view = m_window->control<QTableView>("ListView1");
    view->setCurrentIndex(form().items().index(0, 0));
    form().setStatus(QStringLiteral("before"));
    m_window->prompts.typed.push_back(text);
    trigger(QStringLiteral("Find..."));
    for (qsizetype i = 0; i < rowsFound.size(); ++i) {
        if (i > 0)
            trigger(QStringLiteral("Find Next"));
        QCOMPARE(view->currentIndex().row(), rowsFound[i]);
        QVERIFY(view->selectionModel()->isRowSelected(rowsFound[i], {}));
    }
    const bool nowhere = rowsFound == QList<int>({0, 0, 0, 0});
    QCOMPARE(status(), nowhere ? u"Not found: " + text : QStringLiteral("before"));
    // The box offers the last text again.
    trigger(QStringLiteral("Find..."));
    QCOMPARE(m_window->prompts.defaults.last(), text);
}

void FindAndTidyTest::findAndCheckItemsWithReadAlike_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rows"); // the items holding it, as Find and the ticks say

    // 0 Müller with ü as one character, 1 with u and a combining mark, 2 MULLER, 3 Mueller,
    // 4 müller, 5 zoë
    const QString decomposed = QStringLiteral("Mu\u0308ller");
    QTest::newRow("case ignored, accents however encoded")
        << false << "MÜLLER" << QList<int>{0, 1, 4};
    QTest::newRow("case matched") << true << "MÜLLER" << QList<int>{};
    QTest::newRow("typed decomposed, case matched") << true << decomposed << QList<int>{0, 1};
    QTest::newRow("a letter is not part of its accented form") << false << "mu" << QList<int>{2, 3};
    QTest::newRow("an accent alone is not found") << false << "\u0308" << QList<int>{};
    QTest::newRow("the end of a text") << false << "Zo\u00EB" << QList<int>{5};
}

void FindAndTidyTest::findAndCheckItemsWithReadAlike()
{
    QFETCH(bool, matchCase);
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    chooseMatchCase(matchCase);
    fill(form().items(), {QStringLiteral("M\u00FCller"), QStringLiteral("Mu\u0308ller"), "MULLER",
                          "Mueller", QStringLiteral("m\u00FCller"), QStringLiteral("zoe\u0308")});

    m_window->prompts.typed.push_back(text);
    trigger(QStringLiteral("Check Items With..."));
    QList<int> ticked;
    for (int row = 0; row < form().items().count(); ++row) {
        if (form().items().isChecked(row))
            ticked.append(row);
    }
    QCOMPARE(ticked, rows);

    auto *view = m_window->control<QTableView>("ListView1");
    view->setCurrentIndex(form().items().index(int(form().items().count() - 1), 0));
    form().setStatus(QString());
    m_window->prompts.typed.push_back(text);
    trigger(QStringLiteral("Find..."));
    QList<int> found; // every row Find and Find Next go to, once round
    while (!status().startsWith(u"Not found") && !found.contains(view->currentIndex().row())) {
        found.append(view->currentIndex().row());
        trigger(QStringLiteral("Find Next"));
    }
    std::sort(found.begin(), found.end());
    QCOMPARE(found, rows);
}

void FindAndTidyTest::findInALongListLetsTheWindowTurn()
{
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many.append(QStringLiteral("item %1").arg(i));
    fill(form().items(), many);
    form().setYieldInterval(0);
    // While the search goes round, the window takes its turns; an item added meanwhile is
    // found, as the list then stands.
    bool turned = false;
    QTimer::singleShot(0, &form(), [&] {
        turned = true;
        form().items().append(u"needle");
    });
    m_window->prompts.typed.push_back(QStringLiteral("needle"));
    trigger(QStringLiteral("Find..."));
    QVERIFY(turned);
    QCOMPARE(m_window->control<QTableView>("ListView1")->currentIndex().row(), 100000);
}

void FindAndTidyTest::keysOpenTheMenuAndFindNext()
{
    fill(form().items(), {"ben", "anna", "carl", "anna b"});
    auto *view = m_window->control<QTableView>("ListView1");
    form().show();
    QApplication::setActiveWindow(&form());
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    view->setFocus();
    view->setCurrentIndex(form().items().index(0, 0));
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(form().listMenu().menu().isVisible());
    form().listMenu().menu().close();

    // F3 finds the next item holding the text asked for last, whatever the platform's key.
    m_window->prompts.typed.push_back(QStringLiteral("anna"));
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(view->currentIndex().row(), 1);
    QTest::keyClick(view, Qt::Key_F3);
    QCOMPARE(view->currentIndex().row(), 3);
    QTest::keyClick(view, Qt::Key_F3);
    QCOMPARE(view->currentIndex().row(), 1);
}

QTEST_MAIN(FindAndTidyTest)
#include "tst_findandtidy.moc"
