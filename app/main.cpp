#include "Form1.h"
#include "LibreOfficeCalc.h"
#include "QtServices.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));

    QtPrompts prompts;
    QtFileDialogs fileDialogs;
    DesktopShell shell;
    SystemRandomDraw random;
    LibreOfficeLauncher calc;
    Form1 window(
        {prompts, fileDialogs, shell, random, calc, QCoreApplication::applicationDirPath()});
    prompts.setParentWidget(&window);
    fileDialogs.setParentWidget(&window);

    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}
