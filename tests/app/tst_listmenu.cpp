#include "ComparedPartChooser.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "NearGroupsView.h"
#include "UndoHistory.h"
#include "WindowFixture.h"

#include <algorithm>
#include <array>
#include <numeric>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCollator>
#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>

// The list's context menu: undo and redo after every kind of change, check marks in bulk, the
// suppression list, saving what was removed, and find.
class ListMenuTest : public QObject, private WindowFixture
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
    void bulkChecksFeedTheSpreadsheetExport();
    void spaceTogglesTheCurrentItem();
    void suppressionListInMixedEncodings();
    void pasteAndCopy_data();
    void pasteAndCopy();
    void pasteAMillionLines();
    void severalItemsAtOnce();
    void sortAndReverse_data();
    void sortAndReverse();
    void longSortIsAStableSortByCollation();
    void keepOnlyItemsListed_data();
    void keepOnlyItemsListed();
    void listsComparedByAddress_data();
    void listsComparedByAddress();
    void saveRemovedItems();
    void nearDuplicateReview();
    void nearDuplicateReviewByKeyboardAlone();
    void spellingSlipsInTheReview();
    void removeActsOnlyOnTheGroupsShown_data();
    void removeActsOnlyOnTheGroupsShown();
    void removalReportOutlivesAWaitingGrouping();
    void cancelTheSearch_data();
    void cancelTheSearch();
    void groupsKeepWhatTheGroupingChose_data();
    void groupsKeepWhatTheGroupingChose();
    void differencesStayInSight();
    void tidyCommands_data();
    void tidyCommands();
    void eitherWayOfRemovingIsExact_data();
    void eitherWayOfRemovingIsExact();
    void find_data();
    void find();
    void findAndCheckItemsWithReadAlike_data();
    void findAndCheckItemsWithReadAlike();
    void keysOpenTheMenuAndFindNext();
    void findInALongListLetsTheWindowTurn();
    void oneIsSaidInTheSingular();
    void undoKeepsTheCurrentRow_data();
    void undoKeepsTheCurrentRow();
    void countsWhereTheUserLooks_data();
    void countsWhereTheUserLooks();

private:
    void openReviewWithTheFocus(const QStringList &texts);
    struct State
    {
        QStringList texts;
        QList<bool> checks;
        bool operator==(const State &other) const
        {
            return texts == other.texts && checks == other.checks;
        }
    };
    State state() const
    {
        State result{items(), {}};
        for (qsizetype i = 0; i < form().items().count(); ++i)
            result.checks.append(form().items().isChecked(i));
        return result;
    }
    Form1 &form() const { return *m_window->form; }
    // The entry of the menu, or of one of its submenus, whose text (without its mnemonic)
    // starts so.
    QAction *action(const QString &startsWith) const
    {
        return findAction(m_window->form->listMenu().menu(), startsWith);
    }
    static QAction *findAction(const QMenu &menu, const QString &startsWith)
    {
        for (QAction *entry : menu.actions()) {
            if (entry->menu() != nullptr) {
                if (QAction *inside = findAction(*entry->menu(), startsWith))
                    return inside;
            } else if (QString(entry->text()).remove(u'&').startsWith(startsWith)) {
                return entry;
            }
        }
        return nullptr;
    }
    void trigger(const QString &startsWith) const
    {
        QAction *entry = action(startsWith);
        QVERIFY2(entry != nullptr, qPrintable(startsWith));
        entry->trigger();
    }
    // What "Save Removed Items..." writes, as text.
    QString savedRemovedItems() const
    {
        const QString path = m_folders->program.filePath(QStringLiteral("removed"));
        QFile::remove(path);
        m_window->fileDialogs.answers.push_back({path});
        trigger(QStringLiteral("Save Removed Items..."));
        QFile saved(path);
        return saved.open(QIODevice::ReadOnly) ? QString::fromUtf8(saved.readAll()) : QString();
    }
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_folders->program.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // Three list files, one in each encoding the import reads: "zoë@example.com" in UTF-8 with
    // a byte-order mark, "anna@example.com" in UTF-16, "café@example.org" in Latin-1.
    std::array<QString, 3> listsInEachEncoding() const
    {
        return {writeFile(QStringLiteral("a.txt"), "\xef\xbb\xbfzo\xc3\xab@example.com\r\n"),
                writeFile(QStringLiteral("b.txt"),
                          QByteArray("\xff\xfe"
                                     "a\0n\0n\0a\0@\0e\0x\0a\0m\0p\0l\0e\0.\0c\0o\0m\0",
                                     34)),
                writeFile(QStringLiteral("c.txt"), "caf\xe9@example.org\n")};
    }
    void chooseMatchCase(bool match) const
    {
        m_window->control<QRadioButton>(match ? "Option2" : "Option1")->setChecked(true);
    }
};

void ListMenuTest::undoAndRedoEveryKindOfStep_data()
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

void ListMenuTest::undoAndRedoEveryKindOfStep()
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

void ListMenuTest::undoWhileALoadRemovesDuplicates()
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

void ListMenuTest::addWhileALargeRemovalIsTakenBackOrMadeAgain_data()
{
    QTest::addColumn<bool>("undo");
    QTest::newRow("undo") << true;
    QTest::newRow("redo") << false;
}

void ListMenuTest::addWhileALargeRemovalIsTakenBackOrMadeAgain()
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

void ListMenuTest::copyWhileALongRemovalGoesOn()
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

void ListMenuTest::suppressionListInMixedEncodings()
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

void ListMenuTest::keepOnlyItemsListed_data()
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

void ListMenuTest::keepOnlyItemsListed()
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

void ListMenuTest::listsComparedByAddress_data()
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

void ListMenuTest::listsComparedByAddress()
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

void ListMenuTest::saveRemovedItems()
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

void ListMenuTest::nearDuplicateReview()
{
    // The review groups what only looks alike, keeps the last of each ticked group unless
    // the user picks another, leaves unticked groups whole, and removes in one undo step.
    const QStringList start = {"José Müller", "anna@x.org",       "jose muller", "ANNA@X.ORG ",
                               "ben",         "Jose\u00a0Muller", "Ben\u200b",   "carl"};
    const std::vector<quint8> marks = {1, 0, 1, 1, 0, 0, 1, 0};
    {
        const UndoHistory::Command setUp(form().history(), QStringLiteral("Set up"));
        fill(form().items(), start);
        form().items().replaceChecks(marks);
    }
    trigger(QStringLiteral("Find Near Duplicates..."));
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    NearGroupsModel &model = form().nearDuplicates().model();
    QCOMPARE(model.rowCount(), 3);
    // Largest first, members in list order, invisibles shown.
    QCOMPARE(model.rowCount(model.index(0, 0)), 3);
    QCOMPARE(model.index(2, 0, model.index(0, 0)).data().toString(),
             QStringLiteral("6: Jose·Muller"));
    QCOMPARE(model.index(1, 0, model.index(2, 0)).data().toString(),
             QStringLiteral("7: Ben⟨ZWSP⟩"));
    QCOMPARE(dialog->summary(), QStringLiteral("3 groups; 4 items would be removed."));

    // The first item of the first group kept instead, the group of "ben" left whole.
    QVERIFY(model.setData(model.index(0, 1, model.index(0, 0)), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(model.index(2, 1, model.index(0, 0)).data(Qt::CheckStateRole).toInt(),
             int(Qt::Unchecked));
    QVERIFY(model.setData(model.index(2, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(dialog->summary(), QStringLiteral("3 groups; 3 items would be removed."));
    dialog->removeButton().click();
    const QStringList expected = {"José Müller", "ANNA@X.ORG ", "ben", "Ben\u200b", "carl"};
    QCOMPARE(items(), expected);
    QCOMPARE(form().items().checks(), (std::vector<quint8>{1, 1, 0, 1, 0}));
    QCOMPARE(status(), QStringLiteral("3 near duplicates removed."));
    // What is left is grouped again: the group left whole stays so.
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(dialog->summary(), QStringLiteral("1 group; 0 items would be removed."));
    QVERIFY(!dialog->removeButton().isEnabled());

    QCOMPARE(savedRemovedItems(),
             QStringLiteral("anna@x.org\r\njose muller\r\nJose\u00a0Muller\r\n"));

    QCOMPARE(action(QStringLiteral("Undo"))->iconText(),
             QStringLiteral("Undo Remove Near Duplicates"));
    trigger(QStringLiteral("Undo"));
    QCOMPARE(items(), start);
    QCOMPARE(form().items().checks(), marks);

    // A box that joins more: punctuation and word order make "Muller, Jose" one of them.
    form().items().append(u"Muller, Jose");
    dialog->optionBox(4).setChecked(true);
    dialog->optionBox(5).setChecked(true);
    QCOMPARE(model.rowCount(model.index(0, 0)), 4);
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    dialog->close();

    // A clean list: nothing to remove.
    click("PushButton1");
    fill(form().items(), {"a", "b"});
    trigger(QStringLiteral("Find Near Duplicates..."));
    QCOMPARE(dialog->summary(), QStringLiteral("No near duplicates found."));
    QVERIFY(!dialog->removeButton().isEnabled());

    // By address, an item naming two is left out, and the status line counts it.
    fill(form().items(), {"ann@x.org", "Ann <ann@x.org>", "Ann <ann@x.org>, Bob <bob@x.org>"});
    dialog->comparedPart().choose(ComparedPart::Kind::EmailAddress);
    QCOMPARE(model.rowCount(model.index(0, 0)), 2);
    QCOMPARE(status(), QStringLiteral("1 item names more than one address and was left as it is."));
    QCOMPARE(dialog->summary(), QStringLiteral("1 group; 1 item would be removed. 1 item names "
                                               "more than one address and was left as it is."));
}

// Fills the list, opens the review, and waits until its groups have the keyboard.
void ListMenuTest::openReviewWithTheFocus(const QStringList &texts)
{
    fill(form().items(), texts);
    form().show();
    trigger(QStringLiteral("Find Near Duplicates..."));
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QTRY_COMPARE(QApplication::focusWidget(), &dialog->view());
}

// The slips box by its mnemonic: slips join the groups, each marked where it differs from the
// kept item; a changed number stays apart; keeping another item by mouse marks the others
// against it; untick by Alt+S and the slips part again.
void ListMenuTest::spellingSlipsInTheReview()
{
    openReviewWithTheFocus({"jonh.smith@example.org", "john.smith@example.org",
                            "John.Smith@example.org", "flat 12 high street", "flat 13 high street",
                            "Mullre", "Muller"});
    if (QTest::currentTestFailed())
        return;
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    NearGroupsModel &model = form().nearDuplicates().model();
    QTreeView &view = dialog->view();
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(view.isColumnHidden(2));

    QTest::keyClick(dialog->focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(dialog->optionBox(6).isChecked()); // a box ticked by its mnemonic shows
    QTRY_COMPARE(model.rowCount(), 2);
    QVERIFY(!view.isColumnHidden(2));
    QTRY_VERIFY(view.isFirstColumnSpanned(1, {})); // a heading takes the whole row
    const QModelIndex smiths = model.index(0, 0);
    QCOMPARE(model.rowCount(smiths), 3);
    QCOMPARE(
        smiths.data().toString(),
        QStringLiteral("3 items, keeping the spelling 2 of them share: John.Smith@example.org"));
    QCOMPARE(model.index(0, 2, smiths).data().toString(),
             QStringLiteral("jo[nh→hn].smith@example.org"));
    QCOMPARE(model.index(1, 2, smiths).data().toString(), QString()); // alike but for case
    const QModelIndex mullers = model.index(1, 0);
    QCOMPARE(model.index(0, 2, mullers).data().toString(), QStringLiteral("mull[re→er]"));

    // Kept by a click on its Keep box: the others differ from it now.
    view.expand(smiths);
    const QRect keep = view.visualRect(model.index(0, 1, smiths));
    QVERIFY(keep.isValid());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(keep.left() + 8, keep.center().y()));
    QTRY_COMPARE(model.kept(0), 0);
    QCOMPARE(model.index(1, 2, smiths).data().toString(),
             QStringLiteral("jo[hn→nh].smith@example.org"));
    QCOMPARE(dialog->summary(), QStringLiteral("2 groups; 3 items would be removed."));
    QTest::keyClick(dialog->focusWidget(), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(items(), (QStringList{"jonh.smith@example.org", "flat 12 high street",
                                       "flat 13 high street", "Muller"}));

    QTest::keyClick(dialog->focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(!dialog->optionBox(6).isChecked());
    QTRY_VERIFY(view.isColumnHidden(2));
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    dialog->close();
}

// A box changed while a removal finds what is left of the groups: the grouping waits, and
// once it runs the removal's report is in the status line again, not the notice of the wait.
void ListMenuTest::removalReportOutlivesAWaitingGrouping()
{
    fill(form().items(), {"anna", "ANNA", "o'brien", "obrien", "bob", "BOB"});
    trigger(QStringLiteral("Find Near Duplicates..."));
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    form().setYieldInterval(0);
    const QString report = QStringLiteral("2 near duplicates removed.");
    QString meanwhile;
    QTimer watch;
    connect(&watch, &QTimer::timeout, &form(), [&] {
        if (meanwhile.isEmpty() && status() == report) {
            dialog->optionBox(4).setChecked(true);
            meanwhile = status();
        }
    });
    watch.start(0);
    dialog->removeButton().click();
    watch.stop();
    QCOMPARE(meanwhile,
             QStringLiteral("Find Near Duplicates waits for Remove Near Duplicates to finish."));
    QCOMPARE(status(), report);
    QCOMPARE(items(), QStringList({"ANNA", "o'brien", "obrien", "BOB"}));
}

void ListMenuTest::removeActsOnlyOnTheGroupsShown_data()
{
    QTest::addColumn<bool>("queued");
    QTest::newRow("pressed while groups are found again") << false;
    QTest::newRow("pressed, then a box changed before its turn") << true;
}

// Remove never removes what the review does not show: while groups are found again it cannot
// be pressed, and a press waiting its turn finds other groups shown by then and removes none.
void ListMenuTest::removeActsOnlyOnTheGroupsShown()
{
    QFETCH(bool, queued);
    const QStringList start = {"anna", "ANNA", "o'brien", "obrien"};
    fill(form().items(), start);
    trigger(QStringLiteral("Find Near Duplicates..."));
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    NearGroupsModel &model = form().nearDuplicates().model();
    QCOMPARE(model.rowCount(), 1);
    form().setYieldInterval(0);
    bool turned = false;
    QTimer::singleShot(0, &form(), [&] {
        turned = true;
        QCOMPARE(dialog->removeButton().isEnabled(), queued);
        dialog->removeButton().click();
        if (queued)
            dialog->optionBox(4).setChecked(true); // punctuation: "o'brien" = "obrien"
    });
    if (queued) {
        m_window->prompts.typed.push_back(QStringLiteral("none"));
        trigger(QStringLiteral("Check Items With...")); // a command the press waits behind
    } else {
        dialog->optionBox(4).setChecked(true);
    }
    QVERIFY(turned);
    QCOMPARE(items(), start);
    QCOMPARE(model.rowCount(), 2);
    QVERIFY(dialog->removeButton().isEnabled());
    if (queued)
        QCOMPARE(status(), QStringLiteral("The near-duplicate groups changed before their "
                                          "removal's turn; nothing was removed."));
}

void ListMenuTest::cancelTheSearch_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
}

// While groups are found the list says so; Cancel or Escape gives the search up and leaves
// no groups and nothing to remove, the review open; a box changed searches again.
void ListMenuTest::cancelTheSearch()
{
    QFETCH(bool, byEscape);
    fill(form().items(), {"anna", "ANNA", "ben"});
    form().setYieldInterval(0);
    QString meanwhile;
    QTimer::singleShot(0, &form(), [&] {
        NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
        meanwhile = dialog->view().placeholder();
        QVERIFY(dialog->cancelButton().isVisible() && !dialog->removeButton().isEnabled());
        if (byEscape)
            QTest::keyClick(&dialog->view(), Qt::Key_Escape);
        else
            dialog->cancelButton().click();
    });
    trigger(QStringLiteral("Find Near Duplicates..."));
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    NearGroupsModel &model = form().nearDuplicates().model();
    QCOMPARE(meanwhile, QStringLiteral("Finding near duplicates..."));
    QVERIFY(dialog->isVisible());
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(dialog->summary(), QStringLiteral("The search was cancelled: no groups shown. "
                                               "Change a box to search again."));
    QVERIFY(!dialog->removeButton().isEnabled() && !dialog->cancelButton().isVisible());

    dialog->optionBox(0).setChecked(false);
    dialog->optionBox(0).setChecked(true);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(dialog->removeButton().isEnabled());
}

void ListMenuTest::groupsKeepWhatTheGroupingChose_data()
{
    QTest::addColumn<std::vector<quint32>>("kept");
    QTest::addColumn<std::vector<quint32>>("shares");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("none chosen: the last")
        << std::vector<quint32>{} << std::vector<quint32>{} << "3 items, keeping John Smith"
        << QStringList{"John Smith", "muller"};
    QTest::newRow("the spelling most share")
        << std::vector<quint32>{1, 0} << std::vector<quint32>{2, 0}
        << "3 items, keeping the spelling 2 of them share: john smith"
        << QStringList{"john smith", "mullre"};
}

// The member each group keeps is the one the grouping chose, and its heading says why when it
// was for the spelling most of the group share; Remove keeps those.
void ListMenuTest::groupsKeepWhatTheGroupingChose()
{
    QFETCH(std::vector<quint32>, kept);
    QFETCH(std::vector<quint32>, shares);
    QFETCH(QString, heading);
    QFETCH(QStringList, left);
    fill(form().items(), {"jonh smith", "john smith", "John Smith", "mullre", "muller"});
    trigger(QStringLiteral("Find Near Duplicates..."));
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    NearGroupsModel &model = form().nearDuplicates().model();
    NearGroups groups;
    groups.members = {0, 1, 2, 3, 4};
    groups.starts = {0, 3, 5};
    groups.kept = kept;
    groups.keptSpellingShare = shares;
    const auto keyOf = [](quint32 position) { return QString::number(position); };
    model.setGroups(groups, form().items().revision(), keyOf);
    QCOMPARE(model.index(0, 0).data().toString(), heading);
    model.setKept(0, 0); // chosen by hand, the spelling no longer says why
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("3 items, keeping jonh smith"));
    model.setKept(0, qsizetype(kept.empty() ? 2 : kept[0]));
    dialog->removeButton().click();
    QCOMPARE(items(), left);

    // Too many slips to review: none shown, none removed.
    groups.tooManySlips = true;
    model.setGroups(groups, form().items().revision(), keyOf);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(dialog->view().placeholder().startsWith(u"Too many spelling slips to review"));
    QVERIFY(!dialog->removeButton().isEnabled());
}

// Cut short, a member's differences keep their brackets in sight, and what stands before them
// gives way from its start.
void ListMenuTest::differencesStayInSight()
{
    const QString marked = QStringLiteral("robert smith <bob@exam[pel→ple].org>");
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.horizontalAdvance(QStringLiteral("…<bob@exam[pel→ple].org>"));
    const QString fitted = NearGroupsView::fitDifferences(marked, metrics, width);
    QVERIFY2(fitted.contains(u"[pel→ple].org>") && fitted.startsWith(u'…'), qPrintable(fitted));
    QVERIFY(metrics.horizontalAdvance(fitted) <= width);
    QCOMPARE(NearGroupsView::fitDifferences(marked, metrics, 1000), marked);
}

void ListMenuTest::nearDuplicateReviewByKeyboardAlone()
{
    openReviewWithTheFocus({"anna", "ANNA", "Anna ", "ben", "BEN", "carl"});
    if (QTest::currentTestFailed())
        return;
    NearDuplicatesDialog *dialog = form().nearDuplicates().dialog();
    NearGroupsModel &model = form().nearDuplicates().model();
    QTreeView *view = &dialog->view();
    const QModelIndex annas = model.index(0, 0);
    QCOMPARE(annas.data().toString(), QStringLiteral("3 items, keeping Anna␣"));
    view->setCurrentIndex(annas);

    // Enter and Space on a group untick and tick it; nothing is removed.
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(!model.isTicked(0));
    QCOMPARE(annas.data().toString(), QStringLiteral("3 items, all kept, like Anna␣"));
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(view, Qt::Key_Space);
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(model.isTicked(0));
    QCOMPARE(form().items().count(), 6);
    QVERIFY(dialog->isVisible());

    // Down to the items: Space, then Enter, keeps the item; the heading names it.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(model.kept(0), 0);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(model.kept(0), 1);
    QCOMPARE(annas.data().toString(), QStringLiteral("3 items, keeping ANNA"));
    QCOMPARE(model.index(1, 1, annas).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

    // On to the second group, left whole; the button by its mnemonic.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->currentIndex().row(), 1);
    QVERIFY(!view->currentIndex().parent().isValid());
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(dialog->summary(), QStringLiteral("2 groups; 2 items would be removed."));
    QTest::keyClick(view, Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(items(), (QStringList{"ANNA", "ben", "BEN", "carl"})); // a button pressed shows
    // Grouped again, the group left whole is still unticked: Enter anywhere removes nothing.
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(!model.isTicked(0));
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    QCOMPARE(form().items().count(), 4);
    QVERIFY(m_window->prompts.errorReports().isEmpty());

    // It fits 640 by 480 with its buttons and the Keep column in sight, the texts cut short.
    QVERIFY(dialog->minimumSizeHint().width() <= 640);
    QVERIFY(dialog->minimumSizeHint().height() <= 480);
    fill(form().items(), {QString(300, u'x') + "a", QString(300, u'x') + "A"});
    trigger(QStringLiteral("Find Near Duplicates..."));
    dialog->resize(640, 480);
    QTRY_COMPARE(dialog->size(), QSize(640, 480));
    const QRect inside = dialog->rect();
    for (QPushButton *button :
         {&dialog->removeButton(),
          dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)})
        QVERIFY(inside.contains(QRect(button->mapTo(dialog, QPoint(0, 0)), button->size())));
    QVERIFY(view->header()->sectionViewportPosition(1) + view->header()->sectionSize(1) <=
            view->viewport()->width());
    dialog->close();
}

void ListMenuTest::tidyCommands_data()
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

void ListMenuTest::tidyCommands()
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

void ListMenuTest::eitherWayOfRemovingIsExact_data()
{
    QTest::addColumn<QString>("removing");
    QTest::addColumn<int>("every"); // the items holding the text, one in `every`
    // A removal of a few items closes the list up; one of most of them keeps the rest anew.
    QTest::newRow("a few go") << "x" << 5;
    QTest::newRow("most go") << "y" << 1;
}

void ListMenuTest::eitherWayOfRemovingIsExact()
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

void ListMenuTest::find_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rowsFound"); // on Find, then on three Find Next

    QTest::newRow("ignore case, going round") << false << "ANNA" << QList<int>{1, 3, 1, 3};
    QTest::newRow("match case") << true << "anna" << QList<int>{3, 3, 3, 3};
    QTest::newRow("not there") << false << "zed" << QList<int>{0, 0, 0, 0};
}

void ListMenuTest::find()
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

void ListMenuTest::findAndCheckItemsWithReadAlike_data()
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

void ListMenuTest::findAndCheckItemsWithReadAlike()
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

void ListMenuTest::findInALongListLetsTheWindowTurn()
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

void ListMenuTest::keysOpenTheMenuAndFindNext()
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

void ListMenuTest::undoKeepsTheCurrentRow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("clear") << "clear";
    QTest::newRow("Delete key") << "delete";
    QTest::newRow("filter") << "with";
}

void ListMenuTest::undoKeepsTheCurrentRow()
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
