#pragma once

#include <QTimer>
#include <QTreeView>

class NearGroupsModel;
class QFontMetrics;
class QLabel;

// The near-duplicate groups, usable from the keyboard alone: Space, Enter or the Select key
// on a group ticks or unticks it, on an item keeps that item; neither ever removes. A
// double-click on an item keeps it too. A group's heading takes the whole row; where there
// are no groups, a note can say why.
class NearGroupsView : public QTreeView
{
    Q_OBJECT

public:
    NearGroupsView(NearGroupsModel &model, QWidget *parent);

    // Shown where the groups would be, while there are none; empty for no note.
    void setPlaceholder(const QString &text);
    QString placeholder() const;

    // `marked` (a member's differences, each in brackets) cut to `width` so that the
    // bracketed differences stay in sight: what stands before them gives way first, from its
    // start, then what follows them.
    static QString fitDifferences(const QString &marked, const QFontMetrics &metrics, int width);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // What Space does on the row of `index`.
    void choose(const QModelIndex &index);
    void spanHeadingsInSight();

    NearGroupsModel &m_model;
    QLabel *m_placeholder; // in the viewport
    QTimer m_spanning;     // the headings in sight spanned once the events that move them end
};
