#pragma once

#include <QTreeView>

class NearGroupsModel;

// The near-duplicate groups, usable from the keyboard alone: Space, Enter or the Select key
// on a group ticks or unticks it, on an item keeps that item; neither ever removes. A
// double-click on an item keeps it too.
class NearGroupsView : public QTreeView
{
    Q_OBJECT

public:
    NearGroupsView(NearGroupsModel &model, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // What Space does on the row of `index`.
    void choose(const QModelIndex &index);

    NearGroupsModel &m_model;
};
