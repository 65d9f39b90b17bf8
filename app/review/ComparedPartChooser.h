#pragma once

#include "ComparedPart.h"

#include <QWidget>

class QComboBox;
class QRadioButton;
class QSpinBox;

// The choice of what the near-duplicate review compares: whole items, the e-mail addresses
// in them, or one column of each read as a delimited line (its delimiter and number).
class ComparedPartChooser : public QWidget
{
    Q_OBJECT

public:
    explicit ComparedPartChooser(QWidget *parent);

    ComparedPart part() const;
    void choose(ComparedPart::Kind kind);
    QComboBox &delimiterBox() { return *m_delimiter; }
    QSpinBox &columnBox() { return *m_column; }

Q_SIGNALS:
    void changed();

private:
    QRadioButton *m_whole;
    QRadioButton *m_address;
    QRadioButton *m_columnChoice;
    QComboBox *m_delimiter;
    QSpinBox *m_column;
};
