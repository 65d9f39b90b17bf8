#include "ListMenuFixture.h"
#include "UndoHistory.h"

#include <algorithm>

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

// Removing by lists: the suppression list in any encoding, Keep Only Items Listed, lists
// compared by address, the filters' exact removal, and saving what was removed.
class ListedRemovalTest : public QObject, private ListMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void suppressionListInMixedEncodings();
    void keepOnlyItemsListed_data();
    void keepOnlyItemsListed();
    void listsComparedByAddress_data();
    void listsComparedByAddress();
    void saveRemovedItems();
    void eitherWayOfRemovingIsExact_data();
    void eitherWayOfRemovingIsExact();
};

void ListedRemovalTest::suppressionListInMixedEncodings()
{
    fill(form().items(), {"Zoë@example.com", "keep@example.com", "ANNA@example.com",
                          "caf\u00e9@example.org", "café@example.org ", "last"});
    // One file in each encoding the import reads, and one that is not there.
    const auto [utf8, utf16, legacy] = listsInEachEncoding();
    m_window->fileDialogs.answers.push_back(
        {utf8, utf16, legacy, m_folders->program.filePath(QStringLiteral("gone.txt"))});
    trigger(QStringLiteral("Remove Items Listed in File(s)..."));

    // Ignore case (the default): case aside, equal texts go; "café ... " with a blank stays.
    QCOMPARE(items(), (QStringList{"keep@example.com", "café@example.org ", "last"}));
    QCOMPARE(status(), QStringLiteral("3 items removed (listed in 3 files)"));
    QCOMPARE(m_window->prompts.texts(), QStringList{"File not found"});

    // Under Match case only the exact texts go.
    trigger(QStringLiteral("Undo"));
    chooseMatchCase(true);
    m_window->fileDialogs.answers.push_back({utf8, utf16, legacy});
    trigger(QStringLiteral("Remove Items Listed in File(s)..."));
    QCOMPARE(items(), (QStringList{"Zoë@example.com", "keep@example.com", "ANNA@example.com",
                                   "café@example.org ", "last"}));
    QCOMPARE(status(), QStringLiteral("1 item removed (listed in 3 files)"));
}

void ListedRemovalTest::keepOnlyItemsListed_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("ignore case") << false
                                 << QStringList{"Zoë@example.com", "ANNA@example.com",
                                                "caf\u00e9@example.org"}
                                 << "3 items removed (not listed in 3 files)";
    QTest::newRow("match case") << true << QStringList{"caf\u00e9@example.org"}
                                << "5 items removed (not listed in 3 files)";
}

void ListedRemovalTest::keepOnlyItemsListed()
{
    // The counterpart of the suppression list: what no line of the files equals goes. The
    // files are read as the text import reads them, one in each encoding it knows.
    QFETCH(bool, matchCase);
    QFETCH(QStringList, kept);
    QFETCH(QString, statusAfter);
    chooseMatchCase(matchCase);
    const QStringList start = {"Zoë@example.com",       "keep@example.com",  "ANNA@example.com",
                               "caf\u00e9@example.org", "café@example.org ", "last"};
    fill(form().items(), start);
    const auto [utf8, utf16, legacy] = listsInEachEncoding();
    m_window->fileDialogs.answers.push_back({utf8, utf16, legacy});
    trigger(QStringLiteral("Keep Only Items Listed in File(s)..."));
    QCOMPARE(items(), kept);
    QCOMPARE(status(), statusAfter);
    QVERIFY(m_window->prompts.errorReports().isEmpty());

    // One step, and what it removed can be saved.
    QCOMPARE(action(QStringLiteral("Undo"))->iconText(),
             QStringLiteral("Undo Keep Only Items Listed in File(s)"));
    QVERIFY(action(QStringLiteral("Save Removed Items..."))->isEnabled());
    trigger(QStringLiteral("Undo"));
    QCOMPARE(items(), start);
}

void ListedRemovalTest::listsComparedByAddress_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("kept");

    // 0 "Bob Smith <bob@example.org>", 1 "Ann <ANN@Example.org>", 2 carl, 3 no address
    QTest::newRow("unsubscribe by address")
        << "Remove Items Whose Address" << false << QStringList{"carl@example.org", "no address"};
    QTest::newRow("unsubscribe, case matched but the domain's")
        << "Remove Items Whose Address" << true
        << QStringList{"Ann <ANN@Example.org>", "carl@example.org", "no address"};
    QTest::newRow("keep only by address: an item without one goes too")
        << "Keep Only Items Whose Address" << false
        << QStringList{"Bob Smith <bob@example.org>", "Ann <ANN@Example.org>"};
}

void ListedRemovalTest::listsComparedByAddress()
{
    QFETCH(QString, command);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, kept);
    chooseMatchCase(matchCase);
    fill(form().items(), {"Bob Smith <bob@example.org>", "Ann <ANN@Example.org>",
                          "carl@example.org", "no address"});
    m_window->fileDialogs.answers.push_back(
        {writeFile(QStringLiteral("unsubscribed.txt"), "bob@EXAMPLE.org\r\nann@example.org\r\n")});
    trigger(command);
    QCOMPARE(items(), kept);
}

void ListedRemovalTest::saveRemovedItems()
{
    fill(form().items(), {"b", "a", "B", "c", "a"});
    click("PushButton22"); // the sample list, then duplicate removal: "b" and the first "a" go
    QVERIFY(action(QStringLiteral("Save Removed Items..."))->isEnabled());
    const QString path = m_folders->program.filePath(QStringLiteral("removed"));
    m_window->fileDialogs.answers.push_back({path});
    trigger(QStringLiteral("Save Removed Items..."));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("b\r\na\r\n"));
    QCOMPARE(m_window->prompts.texts(), QStringList{"Done."});

    // A step that removed nothing leaves nothing to save.
    m_window->control<QLineEdit>("Text1")->setText(QStringLiteral("new"));
    click("PushButton2");
    QVERIFY(!action(QStringLiteral("Save Removed Items..."))->isEnabled());
    trigger(QStringLiteral("Undo"));
    QVERIFY(action(QStringLiteral("Save Removed Items..."))->isEnabled());
}

void ListedRemovalTest::eitherWayOfRemovingIsExact_data()
{
    QTest::addColumn<QString>("removing");
    QTest::addColumn<int>("every"); // the items holding the text, one in `every`
    // A removal of a few items closes the list up; one of most of them keeps the rest anew.
    QTest::newRow("a few go") << "x" << 5;
    QTest::newRow("most go") << "y" << 1;
}

void ListedRemovalTest::eitherWayOfRemovingIsExact()
{
    // Whichever way a filter removes, the list, its marks and its current row come out as
    // the rule says, undo and redo give back each side exactly, and Save Removed Items
    // saves exactly the items that went, in list order.
    QFETCH(QString, removing);
    QFETCH(int, every);
    form().items().setItemsPerRemovalSlice(16);
    form().setYieldInterval(0);
    QStringList all;
    std::vector<quint8> marks;
    for (int i = 0; i < 300; ++i) {
        const bool goes = removing == u"x" ? i % every == 0 : i % 4 != 3;
        all.append((goes ? removing : QStringLiteral("k")) + QString::number(i));
        marks.push_back(quint8(i % 3 == 0));
    }
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), all);
        form().items().replaceChecks(marks);
    }
    QStringList kept, removed;
    std::vector<quint8> keptMarks;
    for (int i = 0; i < all.size(); ++i) {
        if (all[i].startsWith(removing)) {
            removed.append(all[i]);
        } else {
            kept.append(all[i]);
            keptMarks.push_back(marks[size_t(i)]);
        }
    }
    auto *view = m_window->control<QTableView>("ListView1");
    const int currentBefore = int(all.indexOf(kept[kept.size() / 2]));
    view->setCurrentIndex(form().items().index(currentBefore, 0));

    m_window->prompts.typed.push_back(removing);
    click("PushButton17"); // Remove Items With
    QCOMPARE(items(), kept);
    QCOMPARE(form().items().checks(), keptMarks);
    QCOMPARE(view->currentIndex().data().toString(), all[currentBefore]);

    QCOMPARE(savedRemovedItems(), removed.join(QStringLiteral("\r\n")) + "\r\n");

    for (int round = 0; round < 2; ++round) {
        trigger(QStringLiteral("Undo"));
        QCOMPARE(items(), all);
        QCOMPARE(form().items().checks(), marks);
        QCOMPARE(view->currentIndex().data().toString(), all[currentBefore]);
        trigger(QStringLiteral("Redo"));
        QCOMPARE(items(), kept);
        QCOMPARE(form().items().checks(), keptMarks);
    }
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

QTEST_MAIN(ListedRemovalTest)
#include "tst_listedremoval.moc"
