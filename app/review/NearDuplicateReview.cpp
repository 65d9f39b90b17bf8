#include "NearDuplicateReview.h"

#include "CommandHost.h"
#include "CommandQueue.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "List.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "ProgressEchoHost.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QCoreApplication>
#include <QPushButton>

using Showing = NearGroupsModel::Showing;

NearDuplicateReview::NearDuplicateReview(CommandHost &host, ItemList &items, UndoHistory &history)
    : QObject(&host.hostWidget()), m_host(host), m_items(items), m_history(history),
      m_model(new NearGroupsModel(items, this))
{
}

NearDuplicatesDialog *NearDuplicateReview::dialog() const
{
    return m_dialog.data();
}

void NearDuplicateReview::open()
{
    if (m_dialog.isNull()) {
        m_dialog = new NearDuplicatesDialog(*m_model, &m_host.hostWidget());
        m_dialog->setWindowModality(Qt::WindowModal);
        // The groups shown go at once, not in the grouping's turn: until the new ones are
        // found, there is nothing to remove. Of several groupings asked for meanwhile, only
        // the last runs, and not even that one when a removal's grouping got there first.
        connect(m_dialog, &NearDuplicatesDialog::optionsChanged, this, [this] {
            const quint64 change = ++m_optionChanges;
            m_cancelled = false;
            m_model->showNone(Showing::Finding);
            m_host.commands().run(QCoreApplication::translate("Tarnwell", "Find Near Duplicates"),
                                  [this, change] {
                                      if (change == m_optionChanges && change != m_groupedAt)
                                          group();
                                  });
        });
        connect(m_dialog, &NearDuplicatesDialog::cancelAsked, this, [this] {
            m_cancelled = true;
            m_model->showNone(Showing::Cancelled);
        });
        connect(m_dialog, &NearDuplicatesDialog::removeAsked, this, [this] {
            const quint64 generation = m_model->generation();
            m_host.commands().run(QCoreApplication::translate("Tarnwell", "Remove Near Duplicates"),
                                  [this, generation] { removeChosen(generation); });
        });
    }
    m_model->forgetUntickedGroups(); // a new review starts with every group ticked
    m_cancelled = false;
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    group();
}

void NearDuplicateReview::group(const QString &statusFirst)
{
    if (m_cancelled)
        return; // cancelled before its turn came
    m_model->showNone(Showing::Finding);
    Trap trap(m_host.errorReporter(), QStringLiteral("Form1.FindNearDuplicates"));
    Hourglass hourglass(m_host);
    const bool found = trap.line(102, [&] {
        const NearKeyOptions options = m_dialog.isNull() ? NearKeyOptions() : m_dialog->options();
        const quint64 optionChanges = m_optionChanges;
        const auto superseded = [&] { return m_cancelled || m_optionChanges != optionChanges; };
        ProgressEchoHost host(m_host, [this](double percent) {
            if (!m_dialog.isNull())
                m_dialog->setProgress(percent);
        });
        std::optional<NearGroups> groups =
            List::FindNearDuplicates(m_items, options, host, superseded);
        if (!groups || superseded())
            return; // cancelled, or the grouping the user asked for since runs next
        m_groupedAt = optionChanges;
        const qsizetype severalAddresses = groups->severalAddresses;
        // No yield since the groups were found: they number the list as it stands.
        m_model->setGroups(
            std::move(*groups), m_items.revision(), [this, options](quint32 position) {
                return NearGroupKey(Utf16Text(m_items.text(position)), options).value_or(QString());
            });
        if (severalAddresses > 0) {
            const QString note = List::severalAddressesStatus(severalAddresses);
            m_host.setStatus(statusFirst.isEmpty() ? note : statusFirst + u' ' + note);
        }
    });
    if (!found)
        m_model->showNone(Showing::Failed); // reported; the groups shown are none
    trap.line(104, [&] { m_host.setProgress(0); });
}

void NearDuplicateReview::removeChosen(quint64 generation)
{
    // Other groups, or none, have taken the place of those the user pressed Remove on.
    if (generation != m_model->generation()) {
        m_host.setStatus(QCoreApplication::translate(
            "Tarnwell", "The near-duplicate groups changed before their removal's turn; "
                        "nothing was removed."));
        return;
    }
    if (m_model->revision() != m_items.revision()) {
        group();
        m_host.setStatus(QCoreApplication::translate(
            "Tarnwell", "The list changed, so its near duplicates were found again."));
        return;
    }
    Trap trap(m_host.errorReporter(), QStringLiteral("Form1.RemoveNearDuplicates"));
    qsizetype removed = 0;
    QString status;
    {
        const UndoHistory::Command command(
            m_history, QCoreApplication::translate("Tarnwell", "Remove Near Duplicates"));
        Hourglass hourglass(m_host);
        trap.line(102, [&] {
            std::vector<qsizetype> positions = m_model->positionsToRemove();
            const quint64 revision = m_model->revision();
            // The groups would name other items as the removal goes.
            m_model->showNone(Showing::Removing);
            removed = List::RemoveItemsAt(m_items, std::move(positions), revision, m_host);
        });
        trap.line(104, [&] { m_host.setProgress(0); });
        hourglass.off();
        trap.line(108, [&] {
            status = QCoreApplication::translate("Tarnwell", "%n near duplicate(s) removed.",
                                                 nullptr, int(removed));
            m_host.setStatus(status);
        });
    }
    // What is left of the groups, if anything, for a review still open: one closed during
    // the removal finds its groups when it opens again.
    if (!m_dialog.isNull() && m_dialog->isVisible())
        group(status);
}
