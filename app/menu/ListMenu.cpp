#include "ListMenu.h"

#include "CommandHost.h"
#include "CommandQueue.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "List.h"
#include "ListCounts.h"
#include "ListSelection.h"
#include "Prompts.h"
#include "SaveLedger.h"
#include "Services.h"
#include "TextSearch.h"
#include "TidyMenu.h"
#include "Trap.h"
#include "UndoHistory.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QScopeGuard>
#include <QTableView>

#include <utility>

namespace {

QString checkedStatus(const ItemList &items)
{
    const auto &checks = items.checks();
    const auto checked = std::count(checks.begin(), checks.end(), quint8(1));
    return QCoreApplication::translate("Tarnwell", "%n item(s) checked.", nullptr, int(checked));
}
} // namespace

ListMenu::ListMenu(CommandHost &host, QTableView &view, ItemList &items, UndoHistory &history,
                   const Services &services, SaveLedger &saves,
                   std::function<void()> findNearDuplicates)
    : QObject(&host.hostWidget()), m_host(host), m_view(view), m_items(items), m_history(history),
      m_services(services), m_saves(saves), m_findNearDuplicates(std::move(findNearDuplicates)),
      m_menu(new QMenu(&view))
{
    m_undo = addCommand(QCoreApplication::translate("Tarnwell", "&Undo"), &ListMenu::undo,
                        {QKeySequence::Undo});
    m_redo = addCommand(QCoreApplication::translate("Tarnwell", "&Redo"), &ListMenu::redo,
                        {QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_menu->addSeparator();
    // Copying changes nothing: it runs at once.
    addCommand(QCoreApplication::translate("Tarnwell", "&Copy"), &ListMenu::copy,
               QKeySequence::keyBindings(QKeySequence::Copy), false, true);
    addCommand(QCoreApplication::translate("Tarnwell", "Copy C&hecked Items"),
               &ListMenu::copyChecked, {}, false);
    addCommand(QCoreApplication::translate("Tarnwell", "&Paste Items"), &ListMenu::paste,
               QKeySequence::keyBindings(QKeySequence::Paste), true, true);
    m_menu->addSeparator();
    // Find changes nothing: it runs at once, even while another command runs.
    addCommand(QCoreApplication::translate("Tarnwell", "&Find..."), &ListMenu::find,
               {QKeySequence::Find}, false);
    addCommand(QCoreApplication::translate("Tarnwell", "Find &Next"), &ListMenu::findNext,
               {QKeySequence::FindNext}, false);
    m_menu->addSeparator();
    addCommand(QCoreApplication::translate("Tarnwell", "Check &All Items"), &ListMenu::checkAll);
    addCommand(QCoreApplication::translate("Tarnwell", "Unchec&k All Items"),
               &ListMenu::uncheckAll);
    addCommand(QCoreApplication::translate("Tarnwell", "&Invert Check Marks"),
               &ListMenu::invertChecks);
    addCommand(QCoreApplication::translate("Tarnwell", "Check Items &With..."),
               &ListMenu::checkItemsWith);
    addCommand(QCoreApplication::translate("Tarnwell", "Check &Selected Items"),
               &ListMenu::checkSelected);
    addCommand(QCoreApplication::translate("Tarnwell", "Uncheck Selecte&d Items"),
               &ListMenu::uncheckSelected);
    m_menu->addSeparator();
    addCommand(QCoreApplication::translate("Tarnwell", "S&ort A to Z"), &ListMenu::sortAToZ);
    addCommand(QCoreApplication::translate("Tarnwell", "Sort &Z to A"), &ListMenu::sortZToA);
    addCommand(QCoreApplication::translate("Tarnwell", "Re&verse Order"), &ListMenu::reverseOrder);
    m_menu->addSeparator();
    new TidyMenu(host, items, history, *m_menu); // owned by the window
    addCommand(QCoreApplication::translate("Tarnwell", "Find N&ear Duplicates..."),
               &ListMenu::findNearDuplicates);
    m_menu->addSeparator();
    // In a submenu of their own: the menu's letters would not give every entry a mnemonic.
    QMenu *listed = m_menu->addMenu(QCoreApplication::translate("Tarnwell", "&Lists in Files"));
    addCommand(QCoreApplication::translate("Tarnwell", "&Remove Items Listed in File(s)..."),
               &ListMenu::removeItemsListed, {}, true, false, listed);
    addCommand(QCoreApplication::translate("Tarnwell", "&Keep Only Items Listed in File(s)..."),
               &ListMenu::keepItemsListed, {}, true, false, listed);
    addCommand(QCoreApplication::translate("Tarnwell",
                                           "Remove Items Whose &Address Is Listed in File(s)..."),
               &ListMenu::removeItemsWhoseAddressIsListed, {}, true, false, listed);
    addCommand(QCoreApplication::translate(
                   "Tarnwell", "Keep &Only Items Whose Address Is Listed in File(s)..."),
               &ListMenu::keepItemsWhoseAddressIsListed, {}, true, false, listed);
    m_saveRemoved = addCommand(QCoreApplication::translate("Tarnwell", "Save Re&moved Items..."),
                               &ListMenu::saveRemovedItems);
    new ListCounts(m_view, m_items, *m_menu); // owned by the menu, its first line

    // The undo and redo entries name their step ("Undo Clear All Items"), greyed when there
    // is none.
    QUndoStack &stack = m_history.stack();
    const auto updateUndoRedo = [this, &stack] {
        m_undo->setEnabled(stack.canUndo());
        m_undo->setText(
            stack.canUndo()
                ? QCoreApplication::translate("Tarnwell", "&Undo %1").arg(stack.undoText())
                : QCoreApplication::translate("Tarnwell", "&Undo"));
        m_redo->setEnabled(stack.canRedo());
        m_redo->setText(
            stack.canRedo()
                ? QCoreApplication::translate("Tarnwell", "&Redo %1").arg(stack.redoText())
                : QCoreApplication::translate("Tarnwell", "&Redo"));
        updateSaveRemoved();
    };
    connect(&stack, &QUndoStack::indexChanged, this, updateUndoRedo);
    updateUndoRedo();

    // Where the user was before a step that emptied the list, for undo to go back to.
    connect(m_view.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_lastCurrentRow = current.row();
            });

    m_view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &position) { popUp(m_view.viewport()->mapToGlobal(position)); });
    // Shift+F10 opens the menu from the keyboard as the Menu key does, at the current item.
    auto *openMenu = new QAction(this);
    openMenu->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    openMenu->setShortcutContext(Qt::WidgetShortcut);
    m_view.addAction(openMenu);
    connect(openMenu, &QAction::triggered, this, [this] {
        const QRect current = m_view.visualRect(m_view.currentIndex());
        popUp(m_view.viewport()->mapToGlobal(current.isValid() ? current.center() : QPoint(0, 0)));
    });
}

QAction *ListMenu::addCommand(const QString &text, void (ListMenu::*command)(),
                              const QList<QKeySequence> &shortcuts, bool waitsItsTurn,
                              bool onTheList, QMenu *menu)
{
    auto *action = new QAction(text, this);
    action->setShortcuts(shortcuts);
    action->setShortcutContext(onTheList ? Qt::WidgetShortcut : Qt::WindowShortcut);
    if (waitsItsTurn) {
        // Named in the status line as the menu shows it, without its mnemonic and dots.
        connect(
            action, &QAction::triggered, this,
            m_host.commands().bind(action->iconText(), [this, command] { (this->*command)(); }));
    } else {
        connect(action, &QAction::triggered, this, command);
    }
    if (onTheList)
        m_view.addAction(action);
    else
        m_host.hostWidget().addAction(action); // the shortcuts work anywhere in the window
    (menu != nullptr ? menu : m_menu)->addAction(action);
    return action;
}

void ListMenu::popUp(const QPoint &at)
{
    m_menu->popup(WindowPlacement::popupPosition(m_view, at, m_menu->sizeHint()));
}

void ListMenu::updateSaveRemoved()
{
    m_saveRemoved->setEnabled(m_history.removedCountOfLastStep() > 0);
}

QString ListMenu::askText(const QString &prompt, const QString &defaultText)
{
    return m_services.prompts.inputBox(prompt, m_host.appTitle(), defaultText);
}

void ListMenu::findNearDuplicates()
{
    m_findNearDuplicates();
}

// ---- undo and redo --------------------------------------------------------------------------

void ListMenu::undo()
{
    replay(true);
}

void ListMenu::redo()
{
    replay(false);
}

void ListMenu::replay(bool back)
{
    Trap trap(m_host.errorReporter(),
              back ? QStringLiteral("Form1.Undo") : QStringLiteral("Form1.Redo"));
    QUndoStack &stack = m_history.stack();
    if (back ? !stack.canUndo() : !stack.canRedo())
        return;
    const QString name = back ? stack.undoText() : stack.redoText();
    const int currentRow =
        m_view.currentIndex().isValid() ? m_view.currentIndex().row() : m_lastCurrentRow;
    // Taking back or making again a removal from a long list goes on a slice at a time, the
    // window taking its turns between them.
    Hourglass hourglass(m_host, false); // shown from the first slice on
    const auto betweenSlices = [&] {
        hourglass.on();
        m_host.yieldToEventLoop();
    };
    if (!trap.line(100,
                   [&] { back ? m_history.undo(betweenSlices) : m_history.redo(betweenSlices); }))
        return;
    if (m_items.changeUnderWay() || hourglass.shown()) {
        trap.line(102, [&] {
            while (m_items.changeUnderWay()) {
                betweenSlices();
                m_items.continueChange();
            }
        });
        hourglass.off();
    }
    trap.line(104, [&] {
        m_host.setStatus((back ? QCoreApplication::translate("Tarnwell", "Undone: %1")
                               : QCoreApplication::translate("Tarnwell", "Redone: %1"))
                             .arg(name));
    });
    // The user goes on where they were: the current item stays, or the row it stood in.
    if (!m_view.currentIndex().isValid() && currentRow >= 0 && m_items.count() > 0)
        ListSelection::selectOnly(m_view,
                                  int(std::min<qsizetype>(currentRow, m_items.count() - 1)));
}

// ---- find -----------------------------------------------------------------------------------

void ListMenu::find()
{
    const QString text = askText(QCoreApplication::translate("Tarnwell", "Find: "), m_findText);
    if (text.isEmpty())
        return;
    m_findText = text;
    findNext();
}

void ListMenu::findNext()
{
    if (m_findText.isEmpty()) {
        find();
        return;
    }
    // A long search yields: asked for again meanwhile, the one under way goes on.
    if (m_finding)
        return;
    m_finding = true;
    const auto done = qScopeGuard([this] {
        m_finding = false;
        m_host.setProgress(0);
    });
    Trap(m_host.errorReporter(), QStringLiteral("Form1.FindNext")).line(100, [&] {
        const QModelIndex current = m_view.currentIndex();
        const qsizetype found = List::FindNext(m_items, TextSearch(m_findText, m_host.caseOption()),
                                               current.isValid() ? current.row() : -1, m_host);
        if (found < 0) {
            m_host.setStatus(
                QCoreApplication::translate("Tarnwell", "Not found: %1").arg(m_findText));
            return;
        }
        const QModelIndex index = m_items.index(int(found), 0);
        ListSelection::selectOnly(m_view, int(found));
        m_view.scrollTo(index);
    });
}

// ---- check marks ----------------------------------------------------------------------------

void ListMenu::setAllChecks(const QString &location, const QString &name,
                            const std::function<quint8(quint8)> &mark)
{
    Trap trap(m_host.errorReporter(), location);
    const UndoHistory::Command command(m_history, name);
    trap.line(100, [&] {
        std::vector<quint8> checks = m_items.checks();
        for (quint8 &check : checks)
            check = mark(check);
        m_items.replaceChecks(std::move(checks));
    });
    trap.line(102, [&] { m_host.setStatus(checkedStatus(m_items)); });
}

void ListMenu::checkAll()
{
    setAllChecks(QStringLiteral("Form1.CheckAllItems"),
                 QCoreApplication::translate("Tarnwell", "Check All Items"),
                 [](quint8) { return quint8(1); });
}

void ListMenu::uncheckAll()
{
    setAllChecks(QStringLiteral("Form1.UncheckAllItems"),
                 QCoreApplication::translate("Tarnwell", "Uncheck All Items"),
                 [](quint8) { return quint8(0); });
}

void ListMenu::invertChecks()
{
    setAllChecks(QStringLiteral("Form1.InvertCheckMarks"),
                 QCoreApplication::translate("Tarnwell", "Invert Check Marks"),
                 [](quint8 check) { return quint8(!check); });
}

void ListMenu::checkSelected()
{
    markSelected(QStringLiteral("Form1.CheckSelectedItems"),
                 QCoreApplication::translate("Tarnwell", "Check Selected Items"), 1);
}

void ListMenu::uncheckSelected()
{
    markSelected(QStringLiteral("Form1.UncheckSelectedItems"),
                 QCoreApplication::translate("Tarnwell", "Uncheck Selected Items"), 0);
}

void ListMenu::markSelected(const QString &location, const QString &name, quint8 mark)
{
    Trap trap(m_host.errorReporter(), location);
    const UndoHistory::Command command(m_history, name);
    trap.line(100, [&] {
        std::vector<quint8> checks = m_items.checks();
        for (const qsizetype row : ListSelection::selectedRows(m_view, m_items.count()))
            checks[size_t(row)] = mark;
        m_items.replaceChecks(std::move(checks));
    });
    trap.line(102, [&] { m_host.setStatus(checkedStatus(m_items)); });
}

void ListMenu::checkItemsWith()
{
    Trap trap(m_host.errorReporter(), QStringLiteral("Form1.CheckItemsWith"));
    if (m_items.count() == 0) {
        m_host.notify(QCoreApplication::translate("Tarnwell", "You forgot to load in List"));
        return;
    }
    QString searchText;
    trap.line(100, [&] {
        searchText = askText(QCoreApplication::translate("Tarnwell", "Enter string: "));
    });
    if (searchText.isEmpty())
        return;
    const UndoHistory::Command command(
        m_history,
        QCoreApplication::translate("Tarnwell", "Check Items With \"%1\"").arg(searchText));
    Hourglass hourglass(m_host);
    trap.line(104, [&] {
        // As Find finds: the case option, accents however encoded.
        const TextSearch search(searchText, m_host.caseOption());
        const std::vector<qsizetype> positions = List::FindPositions(
            m_items, m_host, [&](ItemText text) { return search.foundIn(text); });
        std::vector<quint8> checks = m_items.checks();
        for (const qsizetype position : positions)
            checks[size_t(position)] = 1;
        m_items.replaceChecks(std::move(checks));
    });
    trap.line(106, [&] { m_host.setProgress(0); });
    hourglass.off();
    trap.line(110, [&] { m_host.setStatus(checkedStatus(m_items)); });
}
