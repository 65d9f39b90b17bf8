#include "ItemList.h"
#include "WindowFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

// The filters, pointer feedback, and commands started while another one yields.
class FiltersTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

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
};

void FiltersTest::filterCommands_data()
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

void FiltersTest::filterCommands()
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

void FiltersTest::filterOnEmptyList_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("with") << "PushButton17"
                          << "You forgot to load in List";
    QTest::newRow("without") << "PushButton16"
                             << "You forgot to load in List 1.";
}

void FiltersTest::filterOnEmptyList()
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

void FiltersTest::pointerFeedback_data()
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

void FiltersTest::pointerFeedback()
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

void FiltersTest::hourglassWhileFiltering()
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

void FiltersTest::commandDuringDuplicateRemoval_data()
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

void FiltersTest::commandDuringDuplicateRemoval()
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

void FiltersTest::loadDuringFilter()
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

QTEST_MAIN(FiltersTest)
#include "tst_filters.moc"
