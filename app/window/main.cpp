#include "CommandLine.h"
#include "Form1.h"
#include "LibreOfficeLauncher.h"
#include "ListRecovery.h"
#include "QtServices.h"
#include "ReadableStyle.h"
#include "Translations.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Help, version and unknown options are answered before the window system is reached,
    // so they work without a display.
    if (answeredWithoutWindow(QStringList(argv, argv + argc))) {
        const QCoreApplication core(argc, argv);
        Translations::install(); // the help speaks the user's language too
        return answerCommandLine(parseCommandLine(QCoreApplication::arguments()));
    }

    QApplication app(argc, argv);
    Translations::install();
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
    if (commandLine.action != CommandLine::Action::Run)
        return answerCommandLine(commandLine);
    QApplication::setDesktopFileName(QStringLiteral("io.github.tarnwell.Tarnwell"));
    QApplication::setStyle(new ReadableStyle); // the application owns it

    QtPrompts prompts;
    QtFileDialogs fileDialogs;
    DesktopShell shell;
    SystemRandomDraw random;
    LibreOfficeLauncher calc;
    Form1 window(
        {prompts, fileDialogs, shell, random, calc, QCoreApplication::applicationDirPath()});
    window.keepForRecovery(ListRecovery::standardFolder());
    prompts.setParentWidget(&window);
    fileDialogs.setParentWidget(&window);

    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    // A list left by an end that was not a normal close is offered before anything else.
    QTimer::singleShot(0, &window, [&window, files = commandLine.files] {
        window.offerRecovery();
        if (!files.isEmpty())
            window.loadTextFiles(files);
    });
    return app.exec();
}
