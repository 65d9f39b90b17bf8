#include "ComparedPartChooser.h"
#include "ListMenuFixture.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "NearGroupsView.h"
#include "UndoHistory.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

// The near-duplicate review from the list's context menu: its groups, spelling slips, Remove,
// Cancel, what each group keeps, and the review by keyboard alone.
class NearReviewTest : public QObject, private ListMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

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

private:
    void openReviewWithTheFocus(const QStringList &texts);
};

void NearReviewTest::nearDuplicateReview()
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
void NearReviewTest::openReviewWithTheFocus(const QStringList &texts)
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
void NearReviewTest::spellingSlipsInTheReview()
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
void NearReviewTest::removalReportOutlivesAWaitingGrouping()
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

void NearReviewTest::removeActsOnlyOnTheGroupsShown_data()
{
    QTest::addColumn<bool>("queued");
    QTest::newRow("pressed while groups are found again") << false;
    QTest::newRow("pressed, then a box changed before its turn") << true;
}

// Remove never removes what the review does not show: while groups are found again it cannot
// be pressed, and a press waiting its turn finds other groups shown by then and removes none.
void NearReviewTest::removeActsOnlyOnTheGroupsShown()
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

void NearReviewTest::cancelTheSearch_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
}

// While groups are found the list says so; Cancel or Escape gives the search up and leaves
// no groups and nothing to remove, the review open; a box changed searches again.
void NearReviewTest::cancelTheSearch()
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

void NearReviewTest::groupsKeepWhatTheGroupingChose_data()
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
void NearReviewTest::groupsKeepWhatTheGroupingChose()
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
void NearReviewTest::differencesStayInSight()
{
    const QString marked = QStringLiteral("robert smith <bob@exam[pel→ple].org>");
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.horizontalAdvance(QStringLiteral("…<bob@exam[pel→ple].org>"));
    const QString fitted = NearGroupsView::fitDifferences(marked, metrics, width);
    QVERIFY2(fitted.contains(u"[pel→ple].org>") && fitted.startsWith(u'…'), qPrintable(fitted));
    QVERIFY(metrics.horizontalAdvance(fitted) <= width);
    QCOMPARE(NearGroupsView::fitDifferences(marked, metrics, 1000), marked);
}

void NearReviewTest::nearDuplicateReviewByKeyboardAlone()
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

QTEST_MAIN(NearReviewTest)
#include "tst_nearreview.moc"
