#pragma once

#include <QObject>
#include <QPointer>

class Form1;
class ItemList;
class NearDuplicatesDialog;
class NearGroupsModel;
class UndoHistory;

// "Find Near Duplicates...": groups the items that are alike under the chosen normalisation,
// shows the groups for review, and removes all but the kept member of each ticked group as
// one undo step. Grouping again (another box ticked) and removing are commands of their
// own, waiting their turn like any other; a grouping still under way when the user changes a
// box or choice is given up at its next yield, for the one that waits. The review is window-modal:
// the list cannot change under it; should it change anyway, a removal finds the groups again
// instead.
class NearDuplicateReview : public QObject
{
    Q_OBJECT

public:
    NearDuplicateReview(Form1 &form, ItemList &items, UndoHistory &history);

    // The menu command: finds the groups and shows them.
    void open();
    NearDuplicatesDialog *dialog() const;
    NearGroupsModel &model() { return *m_model; }

private:
    void group();
    void removeChosen();

    Form1 &m_form;
    ItemList &m_items;
    UndoHistory &m_history;
    NearGroupsModel *m_model; // a child of this
    QPointer<NearDuplicatesDialog> m_dialog;
    quint64 m_optionChanges = 0; // counted as they happen, not in the commands' turn
};
