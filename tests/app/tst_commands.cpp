#include "ItemList.h"
#include "ListMenu.h"
#include "WindowFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// The window's commands for editing by hand: Clear All Items, Add, Remove Selected Item, the
// Delete key and a double-click, and the sample list.
class CommandsTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void clearAll_data();
    void clearAll();
    void add_data();
    void add();
    void addTwiceIsRefused();
    void addSeveralLines_data();
    void addSeveralLines();
    void enterInTheEntryBoxAdds();
    void escapeDoesNotClose();
    void removeSelected_data();
    void removeSelected();
    void deleteKeyAndDoubleClick_data();
    void deleteKeyAndDoubleClick();
    void sampleList();
    void sampleListTwiceAndWithExistingItem();
};

void CommandsTest::clearAll_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("yes") << QStringList{"a", "b"} << true << QStringList{} << "List cleared.";
    QTest::newRow("no") << QStringList{"a", "b"} << false << QStringList{"a", "b"} << "before";
    QTest::newRow("yes on an empty list")
        << QStringList{} << true << QStringList{} << "List cleared.";
}

void CommandsTest::clearAll()
{
    QFETCH(QStringList, before);
    QFETCH(bool, answerYes);
    QFETCH(QStringList, after);
    QFETCH(QString, statusAfter);

    setItems(before);
    form().setStatus(QStringLiteral("before"));
    m_window->prompts.answers.push_back(answerYes ? Prompts::Answer::Yes : Prompts::Answer::No);
    click("PushButton1");
    QCOMPARE(m_window->prompts.shown.size(), size_t(1));
    const auto &question = m_window->prompts.shown[0];
    QCOMPARE(question.text, QStringLiteral("Are you sure you want to clear the list?"));
    QCOMPARE(question.style, Prompts::Style::YesNo);
    QCOMPARE(question.title, QStringLiteral("Tarnwell"));
    QCOMPARE(items(), after);
    QCOMPARE(status(), statusAfter);
}

void CommandsTest::add_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("statusAfter");

    const QString added = QStringLiteral("Unique item, added.");
    const QString refused = QStringLiteral("Duplicate item found, not added.");
    const QStringList list = {"Apple", "pear"};
    QTest::newRow("empty entry does nothing") << list << false << "" << list << "before";
    QTest::newRow("blanks are an item")
        << list << false << "  " << QStringList{"Apple", "pear", "  "} << added;
    QTest::newRow("ignore case refuses other case") << list << false << "APPLE" << list << refused;
    QTest::newRow("match case adds other case")
        << list << true << "APPLE" << QStringList{"Apple", "pear", "APPLE"} << added;
    QTest::newRow("match case refuses same") << list << true << "pear" << list << refused;
    QTest::newRow("trailing blank is new")
        << list << false << "pear " << QStringList{"Apple", "pear", "pear "} << added;
    QTest::newRow("into an empty list")
        << QStringList{} << false << "x" << QStringList{"x"} << added;
    const QString longEntry(40000, u'w');
    QTest::newRow("40,000 characters, all kept")
        << list << false << longEntry << QStringList{"Apple", "pear", longEntry} << added;
}

void CommandsTest::add()
{
    QFETCH(QStringList, before);
    QFETCH(bool, matchCase);
    QFETCH(QString, entry);
    QFETCH(QStringList, after);
    QFETCH(QString, statusAfter);

    setItems(before);
    chooseMatchCase(matchCase);
    form().setStatus(QStringLiteral("before"));
    m_window->control<QLineEdit>("Text1")->setText(entry);
    click("PushButton2");
    QCOMPARE(items(), after);
    QCOMPARE(status(), statusAfter);
    QCOMPARE(m_window->control<QLineEdit>("Text1")->text(), entry);
    QVERIFY(m_window->prompts.shown.empty());
}

void CommandsTest::addTwiceIsRefused()
{
    // Neither option selected (a stored pair of False values): nothing counts as a duplicate.
    m_window->control<QLineEdit>("Text1")->setText(QStringLiteral("kiwi"));
    click("PushButton2");
    click("PushButton2");
    QCOMPARE(items(), QStringList{"kiwi"});
    QCOMPARE(status(), QStringLiteral("Duplicate item found, not added."));

    m_folders->store(QStringLiteral("Option1"), QStringLiteral("False"));
    m_folders->store(QStringLiteral("Option2"), QStringLiteral("False"));
    TestWindow neither(m_folders->program.path());
    neither.control<QLineEdit>("Text1")->setText(QStringLiteral("kiwi"));
    neither.control<QPushButton>("PushButton2")->click();
    neither.control<QPushButton>("PushButton2")->click();
    QCOMPARE(itemTexts(neither.form->items()), (QStringList{"kiwi", "kiwi"}));
}

void CommandsTest::addSeveralLines_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("ignore case") << false << QStringList{"bob@x.com", "alice@x.com", "carol@x.com"}
                                 << "2 items added, 2 duplicates not added.";
    QTest::newRow("match case") << true
                                << QStringList{"bob@x.com", "alice@x.com", "carol@x.com",
                                               "ALICE@x.com"}
                                << "3 items added, 1 duplicate not added.";
}

void CommandsTest::addSeveralLines()
{
    // Lines pasted into the entry box are an item each, every one refused when the list (or
    // an earlier line) holds it already; empty lines are none. One undo step takes all back.
    QFETCH(bool, matchCase);
    QFETCH(QStringList, after);
    QFETCH(QString, statusAfter);
    chooseMatchCase(matchCase);
    setItems({"bob@x.com"});
    m_window->control<QLineEdit>("Text1")->setText(
        QStringLiteral("alice@x.com\r\nbob@x.com\n\ncarol@x.com\rALICE@x.com\n"));
    click("PushButton2");
    QCOMPARE(items(), after);
    QCOMPARE(status(), statusAfter);
    form().listMenu().undo();
    QCOMPARE(items(), QStringList{"bob@x.com"});
}

void CommandsTest::enterInTheEntryBoxAdds()
{
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    auto *entry = m_window->control<QLineEdit>("Text1");
    entry->setFocus();
    QTest::keyClicks(entry, QStringLiteral("melon"));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(items(), QStringList{"melon"});
    QCOMPARE(status(), QStringLiteral("Unique item, added."));

    // Enter on the option buttons adds too; a focused command button takes Enter itself.
    auto *option = m_window->control<QRadioButton>("Option2");
    option->setFocus();
    QTest::keyClick(option, Qt::Key_Enter);
    QCOMPARE(status(), QStringLiteral("Duplicate item found, not added."));
    auto *sample = m_window->control<QPushButton>("PushButton22");
    sample->setFocus();
    QTest::keyClick(sample, Qt::Key_Return);
    QCOMPARE(form().items().count(), 8);
}

void CommandsTest::escapeDoesNotClose()
{
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QTest::keyClick(m_window->control<QLineEdit>("Text1"), Qt::Key_Escape);
    QTest::keyClick(&form(), Qt::Key_Escape);
    QVERIFY(form().isVisible());
}

void CommandsTest::removeSelected_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("middle") << QStringList{"a", "b", "c"} << 1 << QStringList{"a", "c"}
                            << "List loaded. ";
    QTest::newRow("last") << QStringList{"a", "b", "c"} << 2 << QStringList{"a", "b"}
                          << "List loaded. ";
    // The first item, and one alone, go as any other does.
    QTest::newRow("first") << QStringList{"a", "b", "c"} << 0 << QStringList{"b", "c"}
                           << "List loaded. ";
    QTest::newRow("the only item") << QStringList{"a"} << 0 << QStringList{} << "List loaded. ";
    QTest::newRow("none current") << QStringList{"a", "b"} << -1 << QStringList{"a", "b"}
                                  << "List loaded. ";
    QTest::newRow("empty list") << QStringList{} << -1 << QStringList{} << "before";
}

void CommandsTest::removeSelected()
{
    QFETCH(QStringList, before);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    QFETCH(QString, statusAfter);

    setItems(before);
    if (current >= 0)
        setCurrent(current);
    form().setStatus(QStringLiteral("before"));
    click("PushButton19");
    QCOMPARE(items(), after);
    QCOMPARE(status(), statusAfter);
    QVERIFY(m_window->prompts.shown.empty());
}

void CommandsTest::deleteKeyAndDoubleClick_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("pointer");
    QTest::addColumn<QStringList>("after");

    const QStringList removed = {"a", "c"};
    const QStringList kept = {"a", "b", "c"};
    QTest::newRow("Delete") << false << int(Qt::NoModifier) << 0 << removed;
    QTest::newRow("Shift+Delete") << false << int(Qt::ShiftModifier) << 0 << removed;
    QTest::newRow("Ctrl+Delete") << false << int(Qt::ControlModifier) << 99 << removed;
    QTest::newRow("Delete under the hourglass") << false << int(Qt::NoModifier) << 11 << kept;
    QTest::newRow("double-click") << true << int(Qt::NoModifier) << 0 << removed;
    QTest::newRow("double-click under the hourglass") << true << int(Qt::NoModifier) << 11 << kept;
}

void CommandsTest::deleteKeyAndDoubleClick()
{
    QFETCH(bool, doubleClick);
    QFETCH(int, modifiers);
    QFETCH(int, pointer);
    QFETCH(QStringList, after);

    setItems({"a", "b", "c"});
    setCurrent(1);
    form().setMousePointer(pointer);
    form().setStatus(QStringLiteral("before"));
    auto *view = m_window->control<QTableView>("ListView1");
    if (doubleClick) {
        // A double-click on an item acts on the current item.
        const QPointF onItem = view->visualRect(form().items().index(1, 0)).center();
        QMouseEvent event(QEvent::MouseButtonDblClick, onItem, view->mapToGlobal(onItem),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &event);
    } else {
        QTest::keyClick(view, Qt::Key_Delete, Qt::KeyboardModifiers(modifiers));
    }
    QCOMPARE(items(), after);
    QCOMPARE(status(), QStringLiteral("before"));
}

void CommandsTest::sampleList()
{
    for (bool matchCase : {false, true}) {
        form().items().clear();
        chooseMatchCase(matchCase);
        click("PushButton22");
        const QStringList sample = items();
        QCOMPARE(sample.size(), 7);
        QCOMPARE(status(), QStringLiteral("List loaded. No duplicates found."));
        // Three lower-case addresses, then four names.
        for (int i = 0; i < 3; ++i) {
            QVERIFY(sample[i].contains(u'@'));
            QCOMPARE(sample[i], sample[i].toLower());
        }
        const QString surname = sample[3].section(u' ', -1);
        QCOMPARE(sample[1].section(u'@', 0, 0), sample[3].left(1).toLower() + surname.toLower());
        QCOMPARE(sample[5].section(u' ', -1), surname);
        QVERIFY(sample[6].endsWith(u' ' + sample[5]));
        QVERIFY(sample[6].section(u' ', 0, 0).endsWith(u'.'));
        QVERIFY(sample[4].endsWith(u'.'));
    }
}

void CommandsTest::sampleListTwiceAndWithExistingItem()
{
    click("PushButton22");
    const QStringList sample = items();
    setItems({QStringLiteral("first"), sample[3]});
    click("PushButton22");
    QCOMPARE(status(), QStringLiteral("List loaded. 8 duplicates found, 8 duplicates removed"));
    QCOMPARE(items(), QStringList{"first"} + sample);
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
