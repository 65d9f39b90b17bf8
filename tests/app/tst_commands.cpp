#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "WindowFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

// The window's commands: editing by hand, the sample list, the filters, pointer feedback and
// commands started while another one yields.
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
    void filterCommands_data();
    void filterCommands();
    void filterOnEmptyList_data();
    void filterOnEmptyList();
    void pointerFeedback_data();
    void pointerFeedback();
    void hourglassWhileFiltering();
    void commandDuringDuplicateRemoval_data();
    void commandDuringDuplicateRemoval();
    void loadDuringFilter();

private:
    QStringList items() { return itemTexts(form().items()); }
    void setItems(const QStringList &texts) { fill(form().items(), texts); }
    void setCurrent(int row)
    {
        auto *view = m_window->control<QTableView>("ListView1");
        view->setCurrentIndex(form().items().index(row, 0));
    }
    void chooseMatchCase(bool match)
    {
        m_window->control<QRadioButton>(match ? "Option2" : "Option1")->setChecked(true);
    }
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

void CommandsTest::filterCommands_data()
{
    QTest::addColumn<bool>("removeWith");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("with apple") << true << "apple" << QStringList{"Apple pie", "banana"}
                                << "List loaded. ";
    QTest::newRow("without an") << false << "an" << QStringList{"banana"} << "List loaded. ";
    QTest::newRow("cancel") << true << "" << QStringList{"apple", "Apple pie", "banana"}
                            << "before";
}

void CommandsTest::filterCommands()
{
    QFETCH(bool, removeWith);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    QFETCH(QString, statusAfter);

    setItems({"apple", "Apple pie", "banana"});
    form().setStatus(QStringLiteral("before"));
    m_window->prompts.typed.push_back(typed);
    click(removeWith ? "PushButton17" : "PushButton16");
    QCOMPARE(m_window->prompts.inputs.size(), size_t(1));
    QCOMPARE(m_window->prompts.inputs[0].text, QStringLiteral("Enter string: "));
    QCOMPARE(m_window->prompts.inputs[0].title, QStringLiteral("Tarnwell"));
    QCOMPARE(m_window->prompts.defaults[0], QString());
    QCOMPARE(items(), after);
    QCOMPARE(status(), statusAfter);
    QCOMPARE(form().mousePointer(), 0);
    QCOMPARE(m_window->control<QProgressBar>("ProgressBar1")->value(), 0);
}

void CommandsTest::filterOnEmptyList_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("with") << "PushButton17"
                          << "You forgot to load in List";
    QTest::newRow("without") << "PushButton16"
                             << "You forgot to load in List 1.";
}

void CommandsTest::filterOnEmptyList()
{
    QFETCH(QString, button);
    QFETCH(QString, message);
    form().setStatus(QStringLiteral("before"));
    form().findChild<QPushButton *>(button)->click();
    QCOMPARE(m_window->prompts.texts(), QStringList{message});
    QCOMPARE(m_window->prompts.shown[0].style, Prompts::Style::OkOnly);
    QCOMPARE(m_window->prompts.shown[0].title, QStringLiteral("Tarnwell"));
    QVERIFY(m_window->prompts.inputs.empty());
    QCOMPARE(status(), QStringLiteral("before"));
}

void CommandsTest::pointerFeedback_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("expected");

    for (const char *button :
         {"PushButton1", "PushButton2", "PushButton3", "PushButton15", "PushButton16",
          "PushButton17", "PushButton18", "PushButton19", "PushButton20", "PushButton22"}) {
        QTest::addRow("%s from arrow", button) << button << 0 << 99;
        QTest::addRow("%s keeps hourglass", button) << button << 11 << 11;
    }
    for (const char *elsewhere : {"Form1", "ListView1", "Frame1", "Frame2"}) {
        QTest::addRow("%s from hand", elsewhere) << elsewhere << 99 << 0;
        QTest::addRow("%s keeps hourglass", elsewhere) << elsewhere << 11 << 11;
    }
    // No handler: the value stays as it was.
    for (const char *none : {"Label1", "Text1", "Option1", "ProgressBar1"})
        QTest::addRow("%s has no handler", none) << none << 99 << 99;
}

void CommandsTest::pointerFeedback()
{
    QFETCH(QString, control);
    QFETCH(int, from);
    QFETCH(int, expected);

    form().setMousePointer(from);
    QWidget *widget = control == u"Form1" ? &form() : form().findChild<QWidget *>(control);
    if (auto *view = qobject_cast<QTableView *>(widget))
        widget = view->viewport();
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
    QCOMPARE(form().mousePointer(), expected);
    const Qt::CursorShape shapes[] = {Qt::ArrowCursor, Qt::WaitCursor, Qt::PointingHandCursor};
    const int shape = expected == 0 ? 0 : expected == 11 ? 1 : 2;
    QCOMPARE(form().cursor().shape(), shapes[shape]);
}

void CommandsTest::hourglassWhileFiltering()
{
    QStringList many;
    for (int i = 0; i < 30000; ++i)
        many.append(QString::number(i));
    setItems(many);
    form().setYieldInterval(0);
    QList<int> pointers;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, &probe,
                     [&] { pointers.append(form().mousePointer()); });
    probe.start(0);
    m_window->prompts.typed.push_back(QStringLiteral("7"));
    click("PushButton17");
    probe.stop();
    QVERIFY(!pointers.isEmpty());
    QVERIFY(std::all_of(pointers.begin(), pointers.end(), [](int p) { return p == 11; }));
    QCOMPARE(form().mousePointer(), 0);
    const QStringList left = items();
    QCOMPARE(left.size(), 30000 - 10317); // the numbers below 30000 without a 7
    QVERIFY(std::none_of(left.begin(), left.end(),
                         [](const QString &item) { return item.contains(u'7'); }));
}

void CommandsTest::commandDuringDuplicateRemoval_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("waitingStatus");

    QTest::newRow("clear") << "clear"
                           << "Clear All Items waits for Load Sample/Example List to finish.";
    QTest::newRow("add") << "add"
                         << "Add waits for Load Sample/Example List to finish.";
    QTest::newRow("another load")
        << "load"
        << "Load Sample/Example List waits for Load Sample/Example List to finish.";
    QTest::newRow("remove selected")
        << "remove"
        << "Remove Selected Item waits for Load Sample/Example List to finish.";
    QTest::newRow("Delete key") << "delete"
                                << "Remove Item waits for Load Sample/Example List to finish.";
}

void CommandsTest::commandDuringDuplicateRemoval()
{
    QFETCH(QString, command);
    QFETCH(QString, waitingStatus);

    // 40,000 items of 5,000 texts; the sample load ends in duplicate removal, which yields at
    // every slice here, and the other command is asked for in its first yield. It waits its
    // turn: the list and the status end as the two commands one after the other leave them.
    QStringList many;
    for (int i = 0; i < 40000; ++i)
        many.append(QStringLiteral("item%1").arg(i % 5000));
    const auto other = [&](TestWindow &window) {
        auto click = [&](const char *name) { window.control<QPushButton>(name)->click(); };
        if (command == u"clear")
            click("PushButton1");
        else if (command == u"add")
            click("PushButton2");
        else if (command == u"load")
            click("PushButton22");
        else if (command == u"remove")
            click("PushButton19");
        else
            QTest::keyClick(window.control<QTableView>("ListView1"), Qt::Key_Delete);
    };
    const auto setUp = [&](TestWindow &window) {
        fill(window.form->items(), many);
        window.control<QTableView>("ListView1")->setCurrentIndex(window.form->items().index(0, 0));
        window.control<QLineEdit>("Text1")->setText(QStringLiteral("brand new"));
    };
    setUp(*m_window);
    form().setYieldInterval(0);

    QString statusMeanwhile;
    QTimer::singleShot(0, &form(), [&] {
        other(*m_window);
        statusMeanwhile = status();
    });
    click("PushButton22");
    QCOMPARE(statusMeanwhile, waitingStatus);

    TestWindow oneAfterTheOther(m_folders->program.path());
    setUp(oneAfterTheOther);
    oneAfterTheOther.control<QPushButton>("PushButton22")->click();
    other(oneAfterTheOther);
    QCOMPARE(items(), itemTexts(oneAfterTheOther.form->items()));
    QCOMPARE(status(), oneAfterTheOther.control<QLabel>("Label1")->text());
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

void CommandsTest::loadDuringFilter()
{
    QStringList many;
    for (int i = 0; i < 30000; ++i)
        many.append(QStringLiteral("n%1").arg(i));
    setItems(many);
    form().setYieldInterval(0);
    QTimer::singleShot(0, &form(), [&] { click("PushButton22"); });
    m_window->prompts.typed.push_back(QStringLiteral("n"));
    click("PushButton17"); // remove every item with "n"

    // The sample waited for the filter, which emptied the list, and then came in whole.
    TestWindow sampleOnly(m_folders->program.path());
    sampleOnly.control<QPushButton>("PushButton22")->click();
    QCOMPARE(items(), itemTexts(sampleOnly.form->items()));
    QCOMPARE(status(), sampleOnly.control<QLabel>("Label1")->text());
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
