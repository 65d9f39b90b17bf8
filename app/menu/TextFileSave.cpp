#include "TextFileSave.h"

#include "CommandHost.h"
#include "FilePaths.h"
#include "Hourglass.h"
#include "ListFileWriter.h"
#include "Prompts.h"
#include "SaveLedger.h"
#include "TextPool.h"
#include "Trap.h"

#include <QCoreApplication>

void saveTextFile(Trap &trap, const TextFileSaveSteps &steps, CommandHost &host, Prompts &prompts,
                  SaveLedger &saves, const QString &path, const std::function<TextPool()> &texts)
{
    bool overwrite = true;
    if (trap.test(steps.fileExists, [&] { return FileExists(path); })) {
        trap.line(steps.askOverwrite, [&] {
            overwrite =
                prompts.messageBox(QCoreApplication::translate(
                                       "Tarnwell", "Are you sure you wish to overwrite %1 ?")
                                       .arg(path),
                                   Prompts::Style::YesNo, host.appTitle()) == Prompts::Answer::Yes;
        });
    }
    if (trap.test(steps.overwriteRefused, [&] { return !overwrite; }))
        return;
    const Hourglass hourglass(host);
    // What is saved is the list as it stood now, whatever other commands do to it while this
    // one yields.
    const TextPool snapshot = texts();
    ListFileWriter writer(path);
    bool agreed = true;
    trap.line(steps.lineBreaks, [&] {
        agreed = agreeOnLineBreaks(snapshot, host, prompts, host.appTitle(), writer);
    });
    if (!agreed)
        return;
    const SaveLedger::Ticket ticket = saves.begin(path);
    // A newer save to the same file, started while this one yields, stops this one: its list
    // is the one the user wants in the file.
    bool saved = trap.line(steps.open, [&] { writer.open(); });
    if (saved) {
        saved = trap.line(steps.write, [&] {
            writer.writeAll(snapshot, host, [&] { return ticket.isNewest(); });
        });
    }
    saved = saved && ticket.isNewest();
    if (saved)
        saved = trap.line(steps.commit, [&] { writer.commit(); });
    if (saved)
        trap.line(steps.done,
                  [&] { host.notify(QCoreApplication::translate("Tarnwell", "Done.")); });
}
