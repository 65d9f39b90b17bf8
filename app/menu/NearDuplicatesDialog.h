#pragma once

#include "NearDuplicates.h"

#include <QDialog>

class NearGroupsModel;
class QCheckBox;
class QLabel;
class ComparedPartChooser;
class QPushButton;
class NearGroupsView;
class QShowEvent;

// The review of near duplicates: which parts of the normalisation count, the groups found,
// and the button that removes all but one item of each ticked group. It shows what it is
// given and says what the user asks for; the window does the work.
class NearDuplicatesDialog : public QDialog
{
    Q_OBJECT

public:
    NearDuplicatesDialog(NearGroupsModel &model, QWidget *parent);

    NearKeyOptions options() const;
    NearGroupsView &view() { return *m_view; }
    QPushButton &removeButton() { return *m_remove; }
    QCheckBox &optionBox(int part) { return *m_boxes[part]; }
    ComparedPartChooser &comparedPart() { return *m_compared; }
    QString summary() const;

Q_SIGNALS:
    void optionsChanged();
    void removeAsked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateSummary();

    NearGroupsModel &m_model;
    ComparedPartChooser *m_compared;
    QCheckBox *m_boxes[7];
    NearGroupsView *m_view;
    QLabel *m_summary;
    QPushButton *m_remove;
};
