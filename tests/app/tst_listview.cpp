#include "ItemList.h"
#include "ListTestHost.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

// The list as the user sees it, in a shown window: what is selected is what the remove
// commands act on, check marks follow clicks only, and the view shows what was just added.
class ListViewTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { closeWindow(); }

    void doubleClickOnACheckBoxTicksOnlyThatItem();
    void currentItemIsShownSelected_data();
    void currentItemIsShownSelected();
    void addedItemIsScrolledIntoView();
    void loadKeepsTheViewWhereItWas_data();
    void loadKeepsTheViewWhereItWas();
    void longItemIsOneLineHigh();
    void defaultFrameFollowsTheFocus_data();
    void defaultFrameFollowsTheFocus();

private:
    QTableView *view() const { return m_window->control<QTableView>("ListView1"); }
    QModelIndex row(int r) const { return form().items().index(r, 0); }
    QStringList checkedItems() const
    {
        QStringList texts;
        for (qsizetype i = 0; i < form().items().count(); ++i) {
            if (form().items().isChecked(i))
                texts.append(form().items().text(i).toString());
        }
        return texts;
    }
    QPoint checkBoxCentre(int r) const
    {
        QStyleOptionViewItem option;
        option.initFrom(view());
        option.rect = view()->visualRect(row(r));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        return view()
            ->style()
            ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view())
            .center();
    }
    Form1 &form() const { return *m_window->form; }
};

void ListViewTest::init()
{
    openWindow();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void ListViewTest::doubleClickOnACheckBoxTicksOnlyThatItem()
{
    click("PushButton22");
    const QStringList sample = items();
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, view()->visualRect(row(0)).center());
    QCOMPARE(view()->currentIndex().row(), 0);

    // The double-click removes the current item (the first); the first click of it ticks the
    // third item's box, and the release that ends it must not tick the row that slid there.
    // The events a window system delivers for a double-click.
    const QPoint box = checkBoxCentre(2);
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, box);
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(checkedItems(), QStringList{sample[2]});
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, box);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, box, view()->viewport()->mapToGlobal(box),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view()->viewport(), &doubleClick);
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(items(), sample.mid(1));
    QCOMPARE(checkedItems(), QStringList{sample[2]});
}

void ListViewTest::currentItemIsShownSelected_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("afterDelete");
    QTest::addColumn<QStringList>("afterDoubleClick");

    const QStringList all = {"apple", "pear", "plum"};
    QTest::newRow("tab into the list")
        << "tab" << QStringList{"pear", "plum"} << QStringList{"plum"};
    QTest::newRow("click empty space below the items") << "empty" << all << all;
    QTest::newRow("arrow key down")
        << "down" << QStringList{"apple", "plum"} << QStringList{"apple"};
}

void ListViewTest::currentItemIsShownSelected()
{
    QFETCH(QString, how);
    QFETCH(QStringList, afterDelete);
    QFETCH(QStringList, afterDoubleClick);

    fill(form().items(), {"apple", "pear", "plum"});
    const QPoint belowItems(40, view()->viewport()->height() - 5);
    if (how == u"tab") {
        m_window->control<QPushButton>("PushButton16")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), view());
    } else if (how == u"empty") {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                          view()->visualRect(row(0)).center());
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, belowItems);
    } else {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                          view()->visualRect(row(0)).center());
        QTest::keyClick(view(), Qt::Key_Down);
    }
    // What Delete would remove is what the view shows selected.
    const QModelIndexList selected = view()->selectionModel()->selectedRows();
    if (afterDelete.size() == 3) {
        QVERIFY(selected.isEmpty());
    } else {
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.front().row(), view()->currentIndex().row());
    }
    QTest::keyClick(view(), Qt::Key_Delete);
    QCOMPARE(items(), afterDelete);

    // After a removal the item that became current is selected too; a double-click on
    // empty space removes nothing, one on an item removes the current one.
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, belowItems);
    QCOMPARE(items(), afterDelete);
    if (!view()->selectionModel()->selectedRows().isEmpty()) {
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {},
                           view()->visualRect(view()->currentIndex()).center());
        QCOMPARE(items(), afterDoubleClick);
    }
}

void ListViewTest::addedItemIsScrolledIntoView()
{
    QStringList many;
    for (int i = 0; i < 500; ++i)
        many.append(QStringLiteral("item %1").arg(i));
    fill(form().items(), many);
    m_window->control<QLineEdit>("Text1")->setText(QStringLiteral("the new one"));
    click("PushButton2");
    QCOMPARE(items().last(), QStringLiteral("the new one"));
    QCoreApplication::processEvents();
    const QRect shown = view()->visualRect(row(500));
    QVERIFY2(view()->viewport()->rect().contains(shown), "the added item is out of view");
}

void ListViewTest::loadKeepsTheViewWhereItWas_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("currentAfter");                 // -1: none
    QTest::newRow("the current item stays") << 450 << 150; // "item 150", the copy that stays
    QTest::newRow("the current item goes") << 100 << -1;   // the first "item 100"
}

void ListViewTest::loadKeepsTheViewWhereItWas()
{
    QFETCH(int, current);
    QFETCH(int, currentAfter);
    // Duplicates spread over the whole list, so removing them is one pass, not a few rows.
    QStringList many;
    for (int i = 0; i < 600; ++i)
        many.append(QStringLiteral("item %1").arg(i % 300));
    fill(form().items(), many);
    QCoreApplication::processEvents();
    view()->verticalScrollBar()->setValue(100);
    view()->setCurrentIndex(row(current));
    view()->verticalScrollBar()->setValue(100);
    QCoreApplication::processEvents();

    click("PushButton22");
    QCoreApplication::processEvents();
    QCOMPARE(form().items().count(), qsizetype(300 + 7));
    QCOMPARE(view()->model()->rowCount(), 300 + 7);
    const QModelIndexList selected = view()->selectionModel()->selectedIndexes();
    if (currentAfter < 0) {
        // The current item went with its row: whatever is current now is what is selected.
        QVERIFY(selected.size() <= 1);
        QCOMPARE(selected.isEmpty() ? -1 : selected.front().row(), view()->currentIndex().row());
    } else {
        QCOMPARE(view()->verticalScrollBar()->value(), 100);
        QCOMPARE(view()->currentIndex().row(), currentAfter);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.front().row(), currentAfter);
        QCOMPARE(form().items().text(currentAfter), QStringLiteral("item 150"));
    }
}

void ListViewTest::longItemIsOneLineHigh()
{
    QString longText(5'000'000, u'x');
    longText[10] = u'\n';
    longText[20] = QChar(0x2028);
    fill(form().items(), {"short", longText, "after"});
    QCoreApplication::processEvents();
    QCOMPARE(view()->visualRect(row(1)).height(), view()->visualRect(row(0)).height());
    // The item keeps its text whole; only what is shown is cut.
    QCOMPARE(form().items().text(1).size(), longText.size());
    const QString shown = form().items().data(row(1)).toString();
    QVERIFY(shown.size() <= ItemList::kDisplayLength + 1);
    QVERIFY(!shown.contains(u'\n') && !shown.contains(QChar(0x2028)));
}

void ListViewTest::defaultFrameFollowsTheFocus_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<bool>("addIsDefault");

    QTest::newRow("entry box") << "Text1" << true;
    QTest::newRow("list") << "ListView1" << true;
    QTest::newRow("Add itself") << "PushButton2" << true;
    QTest::newRow("another button") << "PushButton3" << false;
}

void ListViewTest::defaultFrameFollowsTheFocus()
{
    QFETCH(QString, focused);
    QFETCH(bool, addIsDefault);

    // Pass the focus over "Add" and another button first: each leaves its own frame behind.
    for (const char *name : {"PushButton2", "PushButton20", "Text1"}) {
        form().findChild<QWidget *>(QString::fromLatin1(name))->setFocus();
        QCoreApplication::processEvents();
    }
    form().findChild<QWidget *>(focused)->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);

    const auto buttons = form().findChildren<QPushButton *>();
    QStringList framed;
    for (const QPushButton *button : buttons) {
        if (button->isDefault())
            framed.append(button->objectName());
    }
    const QString expected = addIsDefault ? QStringLiteral("PushButton2") : focused;
    QCOMPARE(framed, QStringList{expected});
}

QTEST_MAIN(ListViewTest)
#include "tst_listview.moc"
