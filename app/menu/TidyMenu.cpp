#include "TidyMenu.h"

#include "CommandHost.h"
#include "CommandQueue.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "List.h"
#include "Tidying.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {

// The window, but for the status line: duplicate removal's text is kept, to follow what the
// command did.
class StatusKeepingHost : public ListHost
{
public:
    explicit StatusKeepingHost(ListHost &window) : m_window(window) {}

    QString status;

    CaseOption caseOption() const override { return m_window.caseOption(); }
    void setStatus(const QString &text) override { status = text; }
    void setProgress(double percent) override { m_window.setProgress(percent); }
    void yieldToEventLoop() override { m_window.yieldToEventLoop(); }
    void notify(const QString &text) override { m_window.notify(text); }
    ErrorReporter &errorReporter() override { return m_window.errorReporter(); }
    qint64 yieldIntervalMs() const override { return m_window.yieldIntervalMs(); }

private:
    ListHost &m_window;
};

QString changedStatus(qsizetype count)
{
    return QCoreApplication::translate("Tarnwell", "%n item(s) changed.", nullptr, int(count));
}

} // namespace

TidyMenu::TidyMenu(CommandHost &host, ItemList &items, UndoHistory &history, QMenu &listMenu)
    : QObject(&host.hostWidget()), m_host(host), m_items(items), m_history(history)
{
    QMenu *tidy = listMenu.addMenu(QCoreApplication::translate("Tarnwell", "&Tidy"));
    addCommand(*tidy, QCoreApplication::translate("Tarnwell", "&Trim Blanks"),
               &TidyMenu::trimBlanks);
    addCommand(*tidy, QCoreApplication::translate("Tarnwell", "&Collapse Inner Blanks"),
               &TidyMenu::collapseInnerBlanks);
    addCommand(*tidy, QCoreApplication::translate("Tarnwell", "Remove &Invisible Characters"),
               &TidyMenu::removeInvisibleCharacters);
    addCommand(*tidy, QCoreApplication::translate("Tarnwell", "Remove &Empty Items"),
               &TidyMenu::removeEmptyItems);
    tidy->addSeparator();
    addCommand(*tidy, QCoreApplication::translate("Tarnwell", "&Lower Case"), &TidyMenu::lowerCase);
    addCommand(*tidy, QCoreApplication::translate("Tarnwell", "&Upper Case"), &TidyMenu::upperCase);
}

void TidyMenu::addCommand(QMenu &menu, const QString &text, void (TidyMenu::*command)())
{
    QAction *action = menu.addAction(text);
    // Named in the status line as the menu shows it, without its mnemonic.
    connect(action, &QAction::triggered, this,
            m_host.commands().bind(action->iconText(), [this, command] { (this->*command)(); }));
}

void TidyMenu::trimBlanks()
{
    rewrite(QStringLiteral("Form1.TrimBlanks"),
            QCoreApplication::translate("Tarnwell", "Trim Blanks"), Tidy::trimBlanksRule());
}

void TidyMenu::collapseInnerBlanks()
{
    rewrite(QStringLiteral("Form1.CollapseInnerBlanks"),
            QCoreApplication::translate("Tarnwell", "Collapse Inner Blanks"),
            Tidy::collapseInnerBlanksRule());
}

void TidyMenu::removeInvisibleCharacters()
{
    rewrite(QStringLiteral("Form1.RemoveInvisibleCharacters"),
            QCoreApplication::translate("Tarnwell", "Remove Invisible Characters"),
            Tidy::removeInvisibleCharactersRule());
}

void TidyMenu::lowerCase()
{
    rewrite(QStringLiteral("Form1.LowerCase"),
            QCoreApplication::translate("Tarnwell", "Lower Case"), Tidy::lowerCaseRule());
}

void TidyMenu::upperCase()
{
    rewrite(QStringLiteral("Form1.UpperCase"),
            QCoreApplication::translate("Tarnwell", "Upper Case"), Tidy::upperCaseRule());
}

void TidyMenu::removeEmptyItems()
{
    run(QStringLiteral("Form1.RemoveEmptyItems"),
        QCoreApplication::translate("Tarnwell", "Remove Empty Items"), [this] {
            const qsizetype removed = List::RemoveBlankItems(m_items, m_host);
            return QCoreApplication::translate("Tarnwell", "%n empty item(s) removed.", nullptr,
                                               int(removed));
        });
}

void TidyMenu::rewrite(const QString &location, const QString &name, const Tidy::Rule &rule)
{
    run(location, name, [&] { return changedStatus(List::RewriteItems(m_items, m_host, rule)); });
}

void TidyMenu::run(const QString &location, const QString &name,
                   const std::function<QString()> &change)
{
    Trap trap(m_host.errorReporter(), location);
    const UndoHistory::Command command(m_history, name);
    QString done;
    StatusKeepingHost host(m_host);
    Hourglass hourglass(m_host);
    trap.line(102, [&] { done = change(); });
    trap.line(104, [&] { List::RemoveDupesAll(m_items, host); });
    trap.line(106, [&] { m_host.setProgress(0); });
    hourglass.off();
    trap.line(110,
              [&] { m_host.setStatus(host.status.isEmpty() ? done : done + u' ' + host.status); });
}
