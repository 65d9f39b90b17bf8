// The list menu's commands that read and write files: lists of items to remove or to keep,
// and the items the last step removed.

#include "ListMenu.h"

#include "CommandHost.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "List.h"
#include "Services.h"
#include "TextFileImport.h"
#include "TextFileSave.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QCoreApplication>

namespace {
QStringList textFilters()
{
    return {QCoreApplication::translate("Tarnwell", "Text Files (*.txt)"),
            QCoreApplication::translate("Tarnwell", "All Files (*)")};
}

QString removedListedStatus(qsizetype removed, qsizetype files, bool listed)
{
    // "Listed" agrees with the items removed, not with the files: one message counts them.
    const QString count =
        QCoreApplication::translate("Tarnwell", "%n file(s)", nullptr, int(files));
    return (listed
                ? QCoreApplication::translate("Tarnwell", "%n item(s) removed (listed in %1)",
                                              nullptr, int(removed))
                : QCoreApplication::translate("Tarnwell", "%n item(s) removed (not listed in %1)",
                                              nullptr, int(removed)))
        .arg(count);
}
} // namespace

void ListMenu::removeItemsListed()
{
    removeByList(true);
}

void ListMenu::keepItemsListed()
{
    removeByList(false);
}

void ListMenu::removeItemsWhoseAddressIsListed()
{
    removeByList(true, true);
}

void ListMenu::keepItemsWhoseAddressIsListed()
{
    removeByList(false, true);
}

void ListMenu::removeByList(bool listed, bool byAddress)
{
    const QString name =
        listed
            ? (byAddress
                   ? QCoreApplication::translate("Tarnwell",
                                                 "Remove Items Whose Address Is Listed in File(s)")
                   : QCoreApplication::translate("Tarnwell", "Remove Items Listed in File(s)"))
            : (byAddress
                   ? QCoreApplication::translate(
                         "Tarnwell", "Keep Only Items Whose Address Is Listed in File(s)")
                   : QCoreApplication::translate("Tarnwell", "Keep Only Items Listed in File(s)"));
    Trap trap(m_host.errorReporter(), listed ? QStringLiteral("Form1.RemoveItemsListed")
                                             : QStringLiteral("Form1.KeepItemsListed"));
    QStringList paths;
    trap.line(100,
              [&] { paths = m_services.fileDialogs.getOpenFileNames(name, textFilters(), true); });
    if (paths.isEmpty())
        return;
    const UndoHistory::Command command(m_history, name);
    Hourglass hourglass(m_host);
    TextPool listedTexts;
    qsizetype filesRead = 0;
    for (const QString &path : paths) {
        trap.line(104, [&] {
            if (std::optional<TextPool> items = List::ReadTextFile(path, m_host)) {
                // The first file's lines as they are read: copying a million of them at once
                // would hold the window up.
                if (listedTexts.empty())
                    listedTexts = std::move(*items);
                else
                    listedTexts.append(*items);
                ++filesRead;
            }
        });
    }
    List::ListedRemoval removal;
    trap.line(106, [&] {
        const List::ListedBy by =
            byAddress ? List::ListedBy::EmailAddress : List::ListedBy::WholeItem;
        removal = listed ? List::RemoveItemsListed(m_items, listedTexts, m_host, by)
                         : List::RemoveItemsNotListed(m_items, listedTexts, m_host, by);
    });
    hourglass.off();
    trap.line(110, [&] {
        QString status = removedListedStatus(removal.removed, filesRead, listed);
        if (removal.passedOver > 0)
            status += QStringLiteral(". ") + List::severalAddressesStatus(removal.passedOver);
        m_host.setStatus(status);
    });
}

void ListMenu::saveRemovedItems()
{
    Trap trap(m_host.errorReporter(), QStringLiteral("Form1.SaveRemovedItems"));
    const TextPool removed = m_history.removedByLastStep();
    if (removed.empty())
        return;
    QString path;
    trap.line(100, [&] {
        path = m_services.fileDialogs.getSaveFileName(
            QCoreApplication::translate("Tarnwell", "Save Removed Items"), textFilters());
    });
    if (path.isEmpty())
        return;
    // The steps: the overwrite question, line breaks, open, write, commit, done.
    saveTextFile(trap, {101, 101, 101, 103, 104, 106, 108, 110}, m_host, m_services.prompts,
                 m_saves, path, [&] { return removed; });
}
