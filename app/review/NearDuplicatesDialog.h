#pragma once

#include "NearDuplicates.h"

#include <QDialog>

class NearGroupsModel;
class QCheckBox;
class QLabel;
class ComparedPartChooser;
class QPushButton;
class NearGroupsView;
class QProgressBar;
class QShowEvent;

// The review of near duplicates: which parts of the normalisation count, the groups found,
// and the button that removes all but one item of each ticked group. It shows what it is
// given and says what the user asks for; the window does the work. While groups are being
// found (or removed) it shows none, with the progress, and nothing that removes can be
// pressed; Cancel, or Escape, gives the search up and leaves the dialog open.
class NearDuplicatesDialog : public QDialog
{
    Q_OBJECT

public:
    NearDuplicatesDialog(NearGroupsModel &model, QWidget *parent);

    NearKeyOptions options() const;
    NearGroupsView &view() { return *m_view; }
    QPushButton &removeButton() { return *m_remove; }
    QPushButton &cancelButton() { return *m_cancel; }
    QCheckBox &optionBox(int part) { return *m_boxes[part]; }
    ComparedPartChooser &comparedPart() { return *m_compared; }
    QString summary() const;
    void setProgress(double percent);
    // Closing while groups are being found cancels the search: no one would see them.
    void done(int result) override;

Q_SIGNALS:
    void optionsChanged();
    void removeAsked();
    void cancelAsked();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateState();
    bool finding() const;

    NearGroupsModel &m_model;
    ComparedPartChooser *m_compared;
    QCheckBox *m_boxes[7];
    NearGroupsView *m_view;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QPushButton *m_cancel;
    QPushButton *m_remove;
};
