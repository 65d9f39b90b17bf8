#include "NearDuplicatesDialog.h"

#include "ComparedPartChooser.h"
#include "List.h"
#include "NearGroupsModel.h"
#include "NearGroupsView.h"
#include "SpellingSlips.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

NearDuplicatesDialog::NearDuplicatesDialog(NearGroupsModel &model, QWidget *parent)
    : QDialog(parent), m_model(model)
{
    setWindowTitle(QCoreApplication::translate("Tarnwell", "Find Near Duplicates"));
    setObjectName(QStringLiteral("NearDuplicatesDialog"));
    auto *layout = new QVBoxLayout(this);

    m_compared = new ComparedPartChooser(this);
    connect(m_compared, &ComparedPartChooser::changed, this, &NearDuplicatesDialog::optionsChanged);
    layout->addWidget(m_compared);
    auto *explanation =
        new QLabel(QCoreApplication::translate(
                       "Tarnwell", "Items that are alike once these differences are ignored:"),
                   this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    // Short names with a mnemonic each; the examples show when the pointer rests on a box,
    // so that the dialog fits a small screen.
    const NearKeyOptions defaults;
    const struct
    {
        const char *text;
        const char *example;
        bool on;
    } parts[7] = {
        {QT_TRANSLATE_NOOP("Tarnwell", "&Letter case"),
         QT_TRANSLATE_NOOP("Tarnwell", "\"MÜLLER\" = \"müller\", \"ß\" = \"ss\""),
         defaults.foldCase},
        {QT_TRANSLATE_NOOP("Tarnwell", "C&ompatibility forms"),
         QT_TRANSLATE_NOOP("Tarnwell", "\"ﬁ\" = \"fi\", full-width = ASCII"),
         defaults.compatibility},
        {QT_TRANSLATE_NOOP("Tarnwell", "&Blanks and invisible characters"),
         QT_TRANSLATE_NOOP("Tarnwell", "trimmed, collapsed, dropped"), defaults.blanks},
        {QT_TRANSLATE_NOOP("Tarnwell", "&Accents and other marks"),
         QT_TRANSLATE_NOOP("Tarnwell", "\"José\" = \"Jose\""), defaults.accents},
        {QT_TRANSLATE_NOOP("Tarnwell", "&Punctuation and symbols"),
         QT_TRANSLATE_NOOP("Tarnwell", "\"o'brien\" = \"obrien\""), defaults.punctuation},
        {QT_TRANSLATE_NOOP("Tarnwell", "&Word order"),
         QT_TRANSLATE_NOOP("Tarnwell", "\"Smith, John\" = \"John Smith\" with punctuation"),
         defaults.wordOrder},
        {QT_TRANSLATE_NOOP("Tarnwell", "&Spelling slips"),
         QT_TRANSLATE_NOOP("Tarnwell",
                           "\"jonh\" = \"john\": a character added, left out, changed "
                           "or two swapped; two such slips from 12 characters on; never "
                           "under 5 characters, never in a number"),
         defaults.slips},
    };
    auto *boxes = new QGridLayout;
    for (int part = 0; part < 7; ++part) {
        m_boxes[part] =
            new QCheckBox(QCoreApplication::translate("Tarnwell", parts[part].text), this);
        m_boxes[part]->setToolTip(QCoreApplication::translate("Tarnwell", parts[part].example));
        m_boxes[part]->setChecked(parts[part].on);
        boxes->addWidget(m_boxes[part], part % 3, part / 3);
        connect(m_boxes[part], &QCheckBox::toggled, this, &NearDuplicatesDialog::optionsChanged);
    }
    layout->addLayout(boxes);

    m_view = new NearGroupsView(m_model, this);
    layout->addWidget(m_view, 1);

    // The summary of the groups shown; in its place, while they are being found, the
    // progress and the button that gives the search up.
    auto *state = new QHBoxLayout;
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("NearSummary"));
    m_summary->setWordWrap(true);
    state->addWidget(m_summary, 1);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setAccessibleName(
        QCoreApplication::translate("Tarnwell", "Finding near duplicates..."));
    state->addWidget(m_progress, 1);
    m_cancel = new QPushButton(QCoreApplication::translate("Tarnwell", "Canc&el"), this);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &NearDuplicatesDialog::cancelAsked);
    state->addWidget(m_cancel);
    layout->addLayout(state);

    // No default button: Enter never removes (the view takes it as Space), and elsewhere in
    // the dialog presses nothing.
    auto *buttons = new QDialogButtonBox(this);
    m_remove =
        buttons->addButton(QCoreApplication::translate(
                               "Tarnwell", "&Remove All but the Kept Item of Each Ticked Group"),
                           QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(QCoreApplication::translate("Tarnwell", "&Close"));
    for (QPushButton *button : {m_remove, close}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_remove, &QPushButton::clicked, this, &NearDuplicatesDialog::removeAsked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(&m_model, &NearGroupsModel::choiceChanged, this, &NearDuplicatesDialog::updateState);
    // The first groups open, so their members show at once; opening 100,000 would cost
    // the view a pause for rows no one reads before scrolling. A new search starts its
    // progress from nothing.
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        constexpr int kGroupsOpened = 200;
        for (int group = 0; group < std::min(kGroupsOpened, m_model.rowCount()); ++group)
            m_view->expand(m_model.index(group, 0));
        m_progress->setValue(0);
    });
    updateState();
    m_view->setFocus();
    resize(720, 520);
}

void NearDuplicatesDialog::showEvent(QShowEvent *event)
{
    // Never larger than the screen it opens on: a small screen, or a large scale, shows all
    // of it, buttons included.
    if (const QScreen *on = (parentWidget() != nullptr ? parentWidget() : this)->screen()) {
        const QSize room = on->availableSize() * 9 / 10;
        if (width() > room.width() || height() > room.height())
            resize(size().boundedTo(room).expandedTo(minimumSizeHint()));
    }
    QDialog::showEvent(event);
}

NearKeyOptions NearDuplicatesDialog::options() const
{
    NearKeyOptions options;
    options.foldCase = m_boxes[0]->isChecked();
    options.compatibility = m_boxes[1]->isChecked();
    options.blanks = m_boxes[2]->isChecked();
    options.accents = m_boxes[3]->isChecked();
    options.punctuation = m_boxes[4]->isChecked();
    options.wordOrder = m_boxes[5]->isChecked();
    options.slips = m_boxes[6]->isChecked();
    options.compared = m_compared->part();
    return options;
}

QString NearDuplicatesDialog::summary() const
{
    return m_summary->text();
}

void NearDuplicatesDialog::setProgress(double percent)
{
    m_progress->setValue(int(percent));
}

bool NearDuplicatesDialog::finding() const
{
    return m_model.showing() == NearGroupsModel::Showing::Finding;
}

void NearDuplicatesDialog::keyPressEvent(QKeyEvent *event)
{
    // Escape while groups are being found stops the search, as Cancel does: a press meant
    // for a long wait should not close the review too.
    if (finding() && event->matches(QKeySequence::Cancel)) {
        Q_EMIT cancelAsked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void NearDuplicatesDialog::done(int result)
{
    if (finding())
        Q_EMIT cancelAsked();
    QDialog::done(result);
}

void NearDuplicatesDialog::updateState()
{
    using Showing = NearGroupsModel::Showing;
    const Showing showing = m_model.showing();
    QString note, summary;
    switch (showing) {
    case Showing::Groups:
        if (m_model.groups().count() == 0) {
            summary = QCoreApplication::translate("Tarnwell", "No near duplicates found.");
        } else {
            // The verb agrees with the items' count: one message counts them.
            summary = QCoreApplication::translate("Tarnwell", "%1; %n item(s) would be removed.",
                                                  nullptr, int(m_model.removalCount()))
                          .arg(QCoreApplication::translate("Tarnwell", "%n group(s)", nullptr,
                                                           int(m_model.groups().count())));
        }
        // Said here too: the dialog covers the window's status line where it opens.
        if (const qsizetype several = m_model.groups().severalAddresses; several > 0)
            summary += u' ' + List::severalAddressesStatus(several);
        break;
    case Showing::Finding:
        note = QCoreApplication::translate("Tarnwell", "Finding near duplicates...");
        break;
    case Showing::Removing:
        note = QCoreApplication::translate("Tarnwell", "Removing near duplicates...");
        break;
    case Showing::Cancelled:
        summary = QCoreApplication::translate(
            "Tarnwell", "The search was cancelled: no groups shown. Change a box to search again.");
        break;
    case Showing::Failed:
        summary = QCoreApplication::translate(
            "Tarnwell", "The search failed: no groups shown. Change a box to search again.");
        break;
    case Showing::TooManySlips:
        note = QCoreApplication::translate("Tarnwell",
                                           "Too many spelling slips to review (more than %L1 "
                                           "pairs); narrow the list or untick Spelling slips.")
                   .arg(Slips::kMostPairs);
        break;
    }
    m_view->setPlaceholder(note);
    // How a slip differs from the kept item shows only where slips are grouped: from the
    // moment the box is ticked, before the groups come.
    m_view->setColumnHidden(2, !m_boxes[6]->isChecked());
    m_summary->setText(summary);
    m_summary->setVisible(!summary.isEmpty());
    const bool searching = showing == Showing::Finding;
    if (!searching && m_cancel->hasFocus())
        m_view->setFocus(); // the groups, or the note where they would be
    m_progress->setVisible(searching);
    m_cancel->setVisible(searching);
    m_remove->setEnabled(showing == Showing::Groups && m_model.removalCount() > 0);
}
