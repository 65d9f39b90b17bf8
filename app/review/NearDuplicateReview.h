#pragma once

#include <QObject>
#include <QPointer>

class CommandHost;
class ItemList;
class NearDuplicatesDialog;
class NearGroupsModel;
class UndoHistory;

// "Find Near Duplicates...": groups the items that are alike under the chosen normalisation,
// shows the groups for review, and removes all but the kept member of each ticked group as
// one undo step. Grouping again (another box ticked) and removing are commands of their
// own, waiting their turn like any other. A box or choice changed takes the groups shown
// away at once; a grouping still under way then is given up at its next yield, for the one
// that waits, and so is one the user cancels. A removal asked for removes only the groups
// shown when it was asked for, and nothing when others have taken their place by its turn.
// The review is window-modal: the list cannot change under it; should it change anyway, a
// removal finds the groups again instead.
class NearDuplicateReview : public QObject
{
    Q_OBJECT

public:
    NearDuplicateReview(CommandHost &host, ItemList &items, UndoHistory &history);

    // The menu command: shows the review and finds its groups.
    void open();
    NearDuplicatesDialog *dialog() const;
    NearGroupsModel &model() { return *m_model; }

private:
    // Finds the groups; the status line gets `statusFirst` before any note on the items
    // passed over, when there is one.
    void group(const QString &statusFirst = QString());
    // Removes what the groups of `generation` say, if they are still the ones shown.
    void removeChosen(quint64 generation);

    CommandHost &m_host;
    ItemList &m_items;
    UndoHistory &m_history;
    NearGroupsModel *m_model; // a child of this
    QPointer<NearDuplicatesDialog> m_dialog;
    // Counted as they happen, not in the commands' turn.
    quint64 m_optionChanges = 0;
    quint64 m_groupedAt = 0; // the option changes the groups shown were found after
    bool m_cancelled = false;
};
