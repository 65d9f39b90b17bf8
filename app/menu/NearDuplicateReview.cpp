#include "NearDuplicateReview.h"

#include "Form1.h"
#include "ItemList.h"
#include "List.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QCoreApplication>
#include <QPushButton>

NearDuplicateReview::NearDuplicateReview(Form1 &form, ItemList &items, UndoHistory &history)
    : QObject(&form), m_form(form), m_items(items), m_history(history),
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
        m_dialog = new NearDuplicatesDialog(*m_model, &m_form);
        m_dialog->setWindowModality(Qt::WindowModal);
        connect(m_dialog, &NearDuplicatesDialog::optionsChanged, this,
                [this] { ++m_optionChanges; });
        connect(
            m_dialog, &NearDuplicatesDialog::optionsChanged, this,
            m_form.commands().bind(QCoreApplication::translate("Tarnwell", "Find Near Duplicates"),
                                   [this] { group(); }));
        connect(m_dialog, &NearDuplicatesDialog::removeAsked, this,
                m_form.commands().bind(
                    QCoreApplication::translate("Tarnwell", "Remove Near Duplicates"),
                    [this] { removeChosen(); }));
    }
    m_model->forgetUntickedGroups(); // a new review starts with every group ticked
    group();
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void NearDuplicateReview::group()
{
    Trap trap(m_form.errorReporter(), QStringLiteral("Form1.FindNearDuplicates"));
    trap.line(100, [&] { m_form.setMousePointer(Form1::kPointerHourglass); });
    trap.line(102, [&] {
        const NearKeyOptions options = m_dialog.isNull() ? NearKeyOptions() : m_dialog->options();
        const quint64 optionChanges = m_optionChanges;
        std::optional<NearGroups> groups = List::FindNearDuplicates(
            m_items, options, m_form, [&] { return m_optionChanges != optionChanges; });
        if (!groups)
            return; // the grouping the user asked for since runs next
        // No yield since the groups were found: they number the list as it stands.
        m_model->setGroups(
            std::move(*groups), m_items.revision(), [this, options](quint32 position) {
                return NearGroupKey(Utf16Text(m_items.text(position)), options).value_or(QString());
            });
    });
    trap.line(104, [&] { m_form.setProgress(0); });
    trap.line(106, [&] { m_form.setMousePointer(Form1::kPointerDefault); });
}

void NearDuplicateReview::removeChosen()
{
    if (m_model->revision() != m_items.revision()) {
        group();
        m_form.setStatus(QCoreApplication::translate(
            "Tarnwell", "The list changed, so its near duplicates were found again."));
        return;
    }
    Trap trap(m_form.errorReporter(), QStringLiteral("Form1.RemoveNearDuplicates"));
    qsizetype removed = 0;
    {
        const UndoHistory::Command command(
            m_history, QCoreApplication::translate("Tarnwell", "Remove Near Duplicates"));
        trap.line(100, [&] { m_form.setMousePointer(Form1::kPointerHourglass); });
        trap.line(102, [&] {
            removed = List::RemoveItemsAt(m_items, m_model->positionsToRemove(),
                                          m_model->revision(), m_form);
        });
        trap.line(104, [&] { m_form.setProgress(0); });
        trap.line(106, [&] { m_form.setMousePointer(Form1::kPointerDefault); });
        trap.line(108, [&] {
            m_form.setStatus(QCoreApplication::translate(
                "Tarnwell", "%n near duplicate(s) removed.", nullptr, int(removed)));
        });
    }
    // What is left of the groups, if anything.
    group();
}
