#include "ComparedPartChooser.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

ComparedPartChooser::ComparedPartChooser(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QCoreApplication::translate("Tarnwell", "Compare:"), this));
    m_whole = new QRadioButton(QCoreApplication::translate("Tarnwell", "Whole &items"), this);
    m_address =
        new QRadioButton(QCoreApplication::translate("Tarnwell", "E-&mail addresses"), this);
    m_columnChoice = new QRadioButton(QCoreApplication::translate("Tarnwell", "Colum&n"), this);
    m_whole->setToolTip(QCoreApplication::translate("Tarnwell", "Each item as it stands"));
    m_address->setToolTip(QCoreApplication::translate(
        "Tarnwell",
        "The address in angle brackets, or the one address in the item; domains without "
        "letter case. Items without an address are not grouped."));
    m_columnChoice->setToolTip(QCoreApplication::translate(
        "Tarnwell",
        "One column of each item read as a delimited line (\"Smith,John,bob@example.org\"); "
        "items with fewer columns are not grouped."));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *choice : {m_whole, m_address, m_columnChoice}) {
        group->addButton(choice);
        layout->addWidget(choice);
    }
    m_whole->setChecked(true);
    m_delimiter = new QComboBox(this);
    m_delimiter->addItem(QCoreApplication::translate("Tarnwell", "comma"), QChar(u','));
    m_delimiter->addItem(QCoreApplication::translate("Tarnwell", "semicolon"), QChar(u';'));
    m_delimiter->addItem(QCoreApplication::translate("Tarnwell", "tab"), QChar(u'\t'));
    m_delimiter->setAccessibleName(QCoreApplication::translate("Tarnwell", "Delimiter"));
    m_column = new QSpinBox(this);
    m_column->setRange(1, 999);
    m_column->setAccessibleName(QCoreApplication::translate("Tarnwell", "Column number"));
    // A label names the delimiter to a screen reader, which else names a combo box by its
    // value. Unseen: the row would grow past a small screen's width in German and French.
    auto *delimiterLabel = new QLabel(QCoreApplication::translate("Tarnwell", "Delimiter:"), this);
    delimiterLabel->setBuddy(m_delimiter);
    delimiterLabel->hide();
    layout->addWidget(m_delimiter);
    layout->addWidget(m_column);
    layout->addStretch(1);
    const auto update = [this] {
        m_delimiter->setEnabled(m_columnChoice->isChecked());
        m_column->setEnabled(m_columnChoice->isChecked());
    };
    update();
    connect(group, &QButtonGroup::buttonToggled, this, [this, update](QAbstractButton *, bool on) {
        update();
        if (on)
            Q_EMIT changed();
    });
    connect(m_delimiter, &QComboBox::currentIndexChanged, this, &ComparedPartChooser::changed);
    connect(m_column, &QSpinBox::valueChanged, this, &ComparedPartChooser::changed);
}

ComparedPart ComparedPartChooser::part() const
{
    ComparedPart part;
    part.kind = m_address->isChecked()        ? ComparedPart::Kind::EmailAddress
                : m_columnChoice->isChecked() ? ComparedPart::Kind::Column
                                              : ComparedPart::Kind::WholeItem;
    part.delimiter = m_delimiter->currentData().toChar();
    part.column = m_column->value();
    return part;
}

void ComparedPartChooser::choose(ComparedPart::Kind kind)
{
    (kind == ComparedPart::Kind::EmailAddress ? m_address
     : kind == ComparedPart::Kind::Column     ? m_columnChoice
                                              : m_whole)
        ->setChecked(true);
}
