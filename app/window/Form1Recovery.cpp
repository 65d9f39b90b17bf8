#include "Form1.h"

#include "ListRecovery.h"
#include "RecoveryOffer.h"
#include "Trap.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>

#include <utility>

void Form1::keepForRecovery(const QString &folder)
{
    m_recovery = new ListRecovery(
        *m_items, folder,
        {[this] { return m_commands.busy(); },
         [this] { return std::make_pair(Option1->isChecked(), Option2->isChecked()); },
         [this](const QString &text) {
             // Said beside what the last command reported, not in its place.
             const QString before = Label1->text();
             setStatus(before.isEmpty() ? text : before + QLatin1Char(' ') + text);
         }},
        this);
    m_commands.setStartNotice([this] { m_recovery->commandStarts(); });
    for (QRadioButton *option : {Option1, Option2})
        connect(option, &QRadioButton::toggled, m_recovery, &ListRecovery::listMayHaveChanged);
}

void Form1::offerRecovery()
{
    if (m_recovery == nullptr)
        return;
    m_commands.run(QCoreApplication::translate("Tarnwell", "Restore List"), [this] {
        Trap trap(m_reporter, QStringLiteral("Form1.offerRecovery"));
        trap.line(10, [&] {
            offerLeftLists(*m_recovery, *m_items, *m_history,
                           {m_services.prompts, m_appTitle, [this] { yieldToEventLoop(); },
                            [this](bool ignoreCase, bool matchCase) {
                                setCaseButtons(ignoreCase, matchCase);
                            }});
        });
    });
}

void Form1::setCaseButtons(bool ignoreCase, bool matchCase)
{
    // As the user left them, neither marked too: one at a time, unlike a click.
    const std::pair<QRadioButton *, bool> buttons[] = {{Option1, ignoreCase}, {Option2, matchCase}};
    for (const auto &[option, value] : buttons) {
        option->setAutoExclusive(false);
        option->setChecked(value);
        option->setAutoExclusive(true);
    }
    storeCaseOption();
}
