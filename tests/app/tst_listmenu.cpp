#include "ListMenuFixture.h"

#include <algorithm>
#include <numeric>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCollator>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTableView>
#include <QTimer>
#include <QToolTip>

// The list's context menu: check marks in bulk, the clipboard, several items at once, sorting,
// and the counts it shows.
class ListMenuTest : public QObject, private ListMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void bulkChecksFeedTheSpreadsheetExport();
    void spaceTogglesTheCurrentItem();
    void pasteAndCopy_data();
    void pasteAndCopy();
    void pasteAMillionLines();
    void copyTakesTheRowsInListOrder_data();
    void copyTakesTheRowsInListOrder();
    void severalItemsAtOnce();
    void sortAndReverse_data();
    void sortAndReverse();
    void longSortIsAStableSortByCollation();
    void oneIsSaidInTheSingular();
    void countsWhereTheUserLooks_data();
    void countsWhereTheUserLooks();
};

void ListMenuTest::bulkChecksFeedTheSpreadsheetExport()
{
    fill(form().items(), {"anna@example.com", "ben@example.org", "carla@example.com", "dora"});
    m_window->prompts.typed.push_back(QStringLiteral(".com"));
    trigger(QStringLiteral("Check Items With..."));
    QCOMPARE(status(), QStringLiteral("2 items checked."));
    trigger(QStringLiteral("Invert Check Marks"));
    QCOMPARE(status(), QStringLiteral("2 items checked."));
    click("PushButton15");

    const auto &cells = m_window->excel.record.cells;
    std::map<std::pair<int, int>, QString> expected = {
        {{1, 1}, "Items:"}, {{3, 1}, "ben@example.org"}, {{5, 1}, "dora"}};
    QCOMPARE(cells, expected);
}

void ListMenuTest::spaceTogglesTheCurrentItem()
{
    fill(form().items(), {"a", "b", "c"});
    auto *view = m_window->control<QTableView>("ListView1");
    view->setCurrentIndex(form().items().index(1, 0));
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(state().checks, (QList<bool>{false, true, false}));
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(state().checks, (QList<bool>{false, false, false}));
}

void ListMenuTest::pasteAndCopy_data()
{
    QTest::addColumn<QString>("clipboard"); // "<image>": an image and no text
    QTest::addColumn<QStringList>("pasted");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("CR LF, CR and LF, a final line end adding none")
        << "a\r\nb\rc\nd\n"
        << QStringList{"start", "a", "b", "c", "d"} << "List loaded. No duplicates found.";
    QTest::newRow("empty lines are items")
        << "a\n\nb" << QStringList{"start", "a", "", "b"} << "List loaded. No duplicates found.";
    QTest::newRow("then duplicate removal")
        << "START\nx\nX" << QStringList{"START", "X"}
        << "List loaded. 2 duplicates found, 2 duplicates removed";
    QTest::newRow("an empty clipboard")
        << "" << QStringList{"start"} << "The clipboard holds no text to paste.";
    QTest::newRow("an image and no text")
        << "<image>" << QStringList{"start"} << "The clipboard holds no text to paste.";
    // "<cells>": copied in a spreadsheet (Gnumeric), its own format beside the text: a row is
    // an item as imported.
    QTest::newRow("cells from a spreadsheet, one item a row")
        << "<cells>apple\tpear\t\n\t\t\n\"two\nlines\"\t\"say \"\"hi\"\"\"\n"
        << QStringList{"start", "apple pear", "", "two\nlines say \"hi\""}
        << "List loaded. No duplicates found.";
    QTest::newRow("tabs in plain text stay")
        << "apple\tpear\t\n"
        << QStringList{"start", "apple\tpear\t"} << "List loaded. No duplicates found.";
}

void ListMenuTest::pasteAndCopy()
{
    // Ctrl+V on the list appends the clipboard's lines as a text file's, one undo step;
    // Ctrl+C copies the selected items back as lines.
    QFETCH(QString, clipboard);
    QFETCH(QStringList, pasted);
    QFETCH(QString, statusAfter);
    fill(form().items(), {"start"});
    if (clipboard == u"<image>") {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(image);
    } else if (clipboard.startsWith(u"<cells>")) {
        auto *cells = new QMimeData; // the clipboard owns it
        cells->setText(clipboard.mid(7));
        cells->setData(QStringLiteral("application/x-gnumeric"), QByteArray());
        QGuiApplication::clipboard()->setMimeData(cells);
    } else {
        QGuiApplication::clipboard()->setText(clipboard);
    }
    auto *view = m_window->control<QTableView>("ListView1");
    form().show();
    QApplication::setActiveWindow(&form());
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(items(), pasted);
    QCOMPARE(status(), statusAfter);
    // Copied back (a line each), the same items; not so a cell's line break.
    if (pasted.size() > 1 && !clipboard.startsWith(u"<cells>")) {
        QCOMPARE(action(QStringLiteral("Undo"))->iconText(), QStringLiteral("Undo Paste Items"));
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), pasted.join(u'\n') + u'\n');
        QCOMPARE(status(), QStringLiteral("%1 items copied.").arg(pasted.size()));
        // Copied back in, the same items (the duplicates go again).
        trigger(QStringLiteral("Undo"));
        trigger(QStringLiteral("Paste Items"));
        QCOMPARE(items(), pasted);
    }
}

void ListMenuTest::pasteAMillionLines()
{
    QString text;
    for (int i = 0; i < 1000000; ++i)
        text += QStringLiteral("user%1@example.com\r\n").arg(i);
    QGuiApplication::clipboard()->setText(text);
    fill(form().items(), {"user5@example.com", "first"});
    trigger(QStringLiteral("Paste Items"));
    QCOMPARE(form().items().count(), qsizetype(1000001));
    QCOMPARE(form().items().text(0), QStringView(u"first"));
    QCOMPARE(form().items().text(1000000), QStringView(u"user999999@example.com"));
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
    trigger(QStringLiteral("Undo"));
    QCOMPARE(items(), (QStringList{"user5@example.com", "first"}));
}

void ListMenuTest::copyTakesTheRowsInListOrder_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("item"); // each item's text, %1 its row
    QTest::addColumn<int>("items");
    QTest::addColumn<QString>("rows"); // ranges, in the order the user selected or ticked them
    QTest::addColumn<bool>("clearedMeanwhile");

    const QString item = QStringLiteral("item %1");
    QTest::newRow("ranges selected from the bottom up")
        << "Copy" << item << 20 << "19-19,15-17,8-9,0-2" << false;
    QTest::newRow("overlapping and touching ranges")
        << "Copy" << item << 20 << "2-9,5-12,13-14" << false;
    QTest::newRow("ticked: single rows and runs at both ends")
        << "Copy Checked" << item << 20 << "0-0,2-2,3-3,9-9,17-19" << false;
    // Enough rows for several slices: the list cleared between them changes nothing copied.
    QTest::newRow("two ranges, cleared meanwhile")
        << "Copy" << item << 140000 << "90000-139999,0-70000" << true;
    QTest::newRow("ticked, cleared meanwhile")
        << "Copy Checked" << item << 140000 << "10-139990" << true;
    // Three units a line: the UTF-8 is made in slices of 2^20 units, and one ends inside a
    // character.
    QTest::newRow("beyond the BMP, a character across slices")
        << "Copy" << QStringLiteral("\U0001F600") << 400000 << "0-399999" << false;
}

void ListMenuTest::copyTakesTheRowsInListOrder()
{
    // Whatever the order of the ranges, the items are copied once each, in the list's order,
    // as the list stood when asked, the same in UTF-8.
    QFETCH(QString, command);
    QFETCH(QString, item);
    QFETCH(int, items);
    QFETCH(QString, rows);
    QFETCH(bool, clearedMeanwhile);
    QStringList texts;
    for (int i = 0; i < items; ++i)
        texts.append(item.contains(u'%') ? item.arg(i) : item);
    fill(form().items(), texts);
    form().setYieldInterval(0);
    auto *view = m_window->control<QTableView>("ListView1");
    QItemSelectionModel &selection = *view->selectionModel();
    std::vector<qsizetype> ticked;
    for (const QString &range : rows.split(u',')) {
        const int first = range.section(u'-', 0, 0).toInt();
        const int last = range.section(u'-', 1, 1).toInt();
        selection.select(
            QItemSelection(form().items().index(first, 0), form().items().index(last, 0)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        for (int row = first; row <= last; ++row)
            ticked.push_back(row);
    }
    if (command == u"Copy Checked")
        form().items().setCheckedAll(ticked, true);
    const auto taken = [&](int row) {
        return command == u"Copy" ? selection.isRowSelected(row, QModelIndex())
                                  : form().items().isChecked(row);
    };
    QString expected;
    qsizetype count = 0;
    for (int row = 0; row < items; ++row) {
        if (taken(row)) {
            expected += texts[row] + u'\n';
            ++count;
        }
    }

    int turns = 0;
    bool busyShown = false; // the hourglass and a moving progress bar at some turn
    auto *progress = m_window->control<QProgressBar>("ProgressBar1");
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        busyShown = busyShown ||
                    (form().mousePointer() == Form1::kPointerHourglass && progress->value() > 0);
        if (++turns == 1 && clearedMeanwhile)
            click("PushButton1"); // Clear All Items
    });
    meanwhile.start(0);
    trigger(command);
    meanwhile.stop();
    QCOMPARE(form().mousePointer(), Form1::kPointerDefault);
    QCOMPARE(progress->value(), 0);
    if (items > 65536 && !clearedMeanwhile)
        QVERIFY2(busyShown, "a long copy showed neither the hourglass nor its progress");
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    // Other programs take it in UTF-8.
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain")),
             expected.toUtf8());
    QCOMPARE(status(), QStringLiteral("%1 items copied.").arg(count));
    if (clearedMeanwhile) {
        QVERIFY2(turns > 1, "the copy took no turns with the window");
        QCOMPARE(form().items().count(), qsizetype(0));
    }
    QVERIFY(m_window->prompts.errorReports().isEmpty());
}

void ListMenuTest::severalItemsAtOnce()
{
    QStringList start;
    for (int i = 0; i < 10; ++i)
        start.append(QStringLiteral("item %1").arg(i));
    fill(form().items(), start);
    form().items().setChecked(3, true);
    auto *view = m_window->control<QTableView>("ListView1");
    form().show();
    QApplication::setActiveWindow(&form());
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    const auto clickRow = [&](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(form().items().index(row, 0)).center() + QPoint(40, 0));
    };
    const auto selected = [&] {
        QList<int> rows;
        for (const QModelIndex &index : view->selectionModel()->selectedRows())
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    // Click, Ctrl+click and Shift+click build a scattered selection, as in every list.
    clickRow(1, Qt::NoModifier);
    clickRow(3, Qt::ControlModifier);
    QCOMPARE(selected(), (QList<int>{1, 3}));
    clickRow(5, Qt::ShiftModifier); // from the last one clicked
    QCOMPARE(selected(), (QList<int>{3, 4, 5}));
    clickRow(8, Qt::ControlModifier);
    clickRow(4, Qt::ControlModifier); // Ctrl+click takes one away
    clickRow(1, Qt::ControlModifier);
    QCOMPARE(selected(), (QList<int>{1, 3, 5, 8}));

    // Space ticks them all, to the opposite of the current item's mark (1, unticked).
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(state().checks,
             (QList<bool>{false, true, false, true, false, true, false, false, true, false}));
    trigger(QStringLiteral("Uncheck Selected Items"));
    QCOMPARE(state().checks, QList<bool>(10, false));
    QCOMPARE(status(), QStringLiteral("0 items checked."));
    trigger(QStringLiteral("Check Selected Items"));
    QCOMPARE(status(), QStringLiteral("4 items checked."));

    // Delete removes them all as one step; the row of the first is current then.
    const State before = state();
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(items(), (QStringList{"item 0", "item 2", "item 4", "item 6", "item 7", "item 9"}));
    QCOMPARE(view->currentIndex().row(), 1);
    QCOMPARE(selected(), QList<int>{1});
    trigger(QStringLiteral("Undo"));
    QVERIFY(state() == before);

    // Everything selected goes in one step too, with the button.
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    click("PushButton19");
    QVERIFY(items().isEmpty());
    trigger(QStringLiteral("Undo"));
    QVERIFY(state() == before);
}

void ListMenuTest::sortAndReverse_data()
{
    QTest::addColumn<QString>("locale"); // "system": as the environment sets it
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QList<int>>("order"); // where each item of the result stood before

    // 0 item10, 1 Apple, 2 item2, 3 éclair, 4 Item1, 5 apple, 6 eclair, 7 b, 8 Zebra, 9 apple
    // The same natural order whether or not a language is set.
    for (const char *locale : {"en_US", "C", "C.UTF-8", "POSIX", "system"}) {
        QTest::addRow("%s: A to Z, case ignored: numbers as numbers, equal items in order", locale)
            << locale << "Sort A to Z" << false << QList<int>{1, 5, 9, 7, 6, 3, 4, 2, 0, 8};
        QTest::addRow("%s: A to Z, case matched: small letters first", locale)
            << locale << "Sort A to Z" << true << QList<int>{5, 9, 1, 7, 6, 3, 4, 2, 0, 8};
        QTest::addRow("%s: Z to A, case ignored: equal items still in their order", locale)
            << locale << "Sort Z to A" << false << QList<int>{8, 0, 2, 4, 3, 6, 7, 1, 5, 9};
    }
    QTest::newRow("reversed") << "C"
                              << "Reverse Order" << false
                              << QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
}

void ListMenuTest::sortAndReverse()
{
    QFETCH(QString, locale);
    QFETCH(QString, command);
    QFETCH(bool, matchCase);
    QFETCH(QList<int>, order);
    const QLocale before;
    QLocale::setDefault(locale == u"system" ? QLocale::system() : QLocale(locale));
    const auto restoreLocale = qScopeGuard([&] { QLocale::setDefault(before); });
    chooseMatchCase(matchCase);
    const QStringList start = {"item10", "Apple",  "item2", "\u00e9clair", "Item1",
                               "apple",  "eclair", "b",     "Zebra",       "apple"};
    fill(form().items(), start);
    form().items().setChecked(2, true);
    form().items().setChecked(9, true);
    const State unsorted = state();
    trigger(command);

    State expected;
    for (const int from : order) {
        expected.texts.append(start[from]);
        expected.checks.append(from == 2 || from == 9); // the marks go with their items
    }
    QCOMPARE(state().texts, expected.texts);
    QCOMPARE(state().checks, expected.checks);
    QCOMPARE(action(QStringLiteral("Undo"))->iconText(), u"Undo " + command);
    trigger(QStringLiteral("Undo"));
    QVERIFY(state() == unsorted);
    trigger(QStringLiteral("Redo"));
    QVERIFY(state() == expected);
}

void ListMenuTest::longSortIsAStableSortByCollation()
{
    // Enough items for runs sorted apart and merged: the order is a stable sort by Qt's
    // collation (natural, case as chosen), equal items in their order, marks with them.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto restoreLocale = qScopeGuard([&] { QLocale::setDefault(before); });
    QRandomGenerator random(20261210);
    const QStringList parts = {"a", "A", "b", "\u00e4", "z", "1", "2", "10", " ", "\u0416"};
    QStringList start;
    for (int i = 0; i < 40000; ++i) {
        QString text;
        for (int k = int(random.bounded(1, 4)); k > 0; --k)
            text += parts[random.bounded(int(parts.size()))];
        start.append(text);
    }
    for (const bool matchCase : {false, true}) {
        chooseMatchCase(matchCase);
        fill(form().items(), start);
        for (int i = 0; i < 40000; i += 7)
            form().items().setChecked(i, true);
        trigger(QStringLiteral("Sort A to Z"));

        QCollator collator{QLocale(QLocale::English, QLocale::UnitedStates)};
        collator.setNumericMode(true);
        collator.setCaseSensitivity(matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        for (const QString &text : start)
            keys.push_back(collator.sortKey(text));
        std::vector<int> order(start.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
        });
        State expected;
        for (const int from : order) {
            expected.texts.append(start[from]);
            expected.checks.append(from % 7 == 0);
        }
        QVERIFY(state() == expected);
        form().items().clear();
    }
}

void ListMenuTest::oneIsSaidInTheSingular()
{
    fill(form().items(), {"anna@example.com", "ben@example.org", "carla"});
    m_window->prompts.typed.push_back(QStringLiteral(".org"));
    trigger(QStringLiteral("Check Items With..."));
    QCOMPARE(status(), QStringLiteral("1 item checked."));
    m_window->fileDialogs.answers.push_back(
        {writeFile(QStringLiteral("one.txt"), "carla\r\nnobody\r\n")});
    trigger(QStringLiteral("Remove Items Listed in File(s)..."));
    QCOMPARE(status(), QStringLiteral("1 item removed (listed in 1 file)"));
}

void ListMenuTest::countsWhereTheUserLooks_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("ticked");
    QTest::addColumn<QString>("counts");
    QTest::newRow("empty") << 0 << 0 << "0 items, 0 checked";
    QTest::newRow("one, ticked") << 1 << 1 << "1 item, 1 checked";
    QTest::newRow("thousands") << 3985 << 2 << "3,985 items, 2 checked";
}

// How many items are left, and checked, without counting: the menu's first line, greyed, and
// below the list's own tooltip, which stays, and in its description.
void ListMenuTest::countsWhereTheUserLooks()
{
    QFETCH(int, count);
    QFETCH(int, ticked);
    QFETCH(QString, counts);
    auto *list = m_window->control<QTableView>("ListView1");
    const QString ownTip = list->toolTip();
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts.append(QString::number(i));
    fill(form().items(), texts);
    for (int i = 0; i < ticked; ++i)
        form().items().setData(form().items().index(i, 0), Qt::Checked, Qt::CheckStateRole);
    QCoreApplication::processEvents();
    const QAction *first = form().listMenu().menu().actions().constFirst();
    QCOMPARE(first->text(), counts);
    QVERIFY(!first->isEnabled());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), list->viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(list->viewport(), &hover);
    QCOMPARE(QToolTip::text(), ownTip + u'\n' + counts);
    QCOMPARE(list->toolTip(), ownTip);
    QCOMPARE(list->accessibleDescription(), ownTip + u'\n' + counts);
}

QTEST_MAIN(ListMenuTest)
#include "tst_listmenu.moc"
