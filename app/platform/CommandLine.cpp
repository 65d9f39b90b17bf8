#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

QString tarnwellVersion()
{
    return QStringLiteral(TARNWELL_VERSION);
}

namespace {
// The options the window system reads itself, as "--help-all" promises to show them.
constexpr char kWindowSystemOptions[] = R"(
Options of the window system (Qt):
  -platform <name[:options]>   The platform plugin: xcb (X11), wayland, offscreen, ...
  -platformpluginpath <path>   Where the platform plugins are.
  -platformtheme <theme>       The platform theme: gtk3, ...
  -plugin <plugin>             Another plugin to load; may be given several times.
  -qwindowgeometry <geometry>  The main window's geometry, as X11 writes it: 100x100+50+50.
  -qwindowicon <icon>          The windows' icon.
  -qwindowtitle <title>        The first window's title.
  -reverse                     Lays the window out right to left.
  -session <session>           Restores the program from an earlier session.
  -style <style>               The widget style: Fusion, ...
  -stylesheet <path>           A style sheet for the whole program.
  -widgetcount                 Says at the end how many widgets were made.
  -display <display>           The X11 display, instead of $DISPLAY.
  -name <name>                 The instance name (ICCCM 4.1.2.1).
  -nograb, -dograb             Whether the mouse may be grabbed (X11).
  -visual <id>                 The X11 visual to use.
)";
} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QCoreApplication::setApplicationVersion(tarnwellVersion());

    QCommandLineParser parser;
    // As the window system reads its own: "-platform" is one option, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QCoreApplication::translate(
        "Tarnwell", "Keeps one list of text items and removes its duplicates."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QCoreApplication::translate("Tarnwell", "files"),
        QCoreApplication::translate("Tarnwell", "Text files to load, one item per line."),
        QCoreApplication::translate("Tarnwell", "[files...]"));

    CommandLine result;
    const QString program =
        arguments.isEmpty() ? QStringLiteral("tarnwell") : QFileInfo(arguments.front()).fileName();
    const QCommandLineOption helpAll(QStringLiteral("help-all"));
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Fail;
        result.unknownOptions = parser.unknownOptionNames();
        result.output = QCoreApplication::translate(
                            "Tarnwell", "%1: %2\nTry '%1 --help' for more information.\n")
                            .arg(program, parser.errorText());
        return result;
    }
    if (parser.isSet(help) || parser.isSet(helpAll)) {
        result.action = CommandLine::Action::ShowHelp;
        result.output = parser.helpText();
        if (parser.isSet(helpAll))
            result.output += QString::fromLatin1(kWindowSystemOptions);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.output = QStringLiteral("Tarnwell %1\n").arg(tarnwellVersion());
        return result;
    }
    for (const QString &file : parser.positionalArguments())
        result.files.append(QFileInfo(file).absoluteFilePath());
    return result;
}

bool answeredWithoutWindow(const QStringList &arguments)
{
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.action != CommandLine::Action::Fail)
        return commandLine.action != CommandLine::Action::Run;
    // The window system takes its own options out of the arguments (-platform, -style, ...):
    // an option only it knows is no mistake.
    static const QStringList windowSystemOptions = {"platform",
                                                    "platformpluginpath",
                                                    "platformtheme",
                                                    "plugin",
                                                    "qwindowgeometry",
                                                    "qwindowtitle",
                                                    "qwindowicon",
                                                    "reverse",
                                                    "session",
                                                    "display",
                                                    "geometry",
                                                    "style",
                                                    "stylesheet",
                                                    "widgetcount",
                                                    "name",
                                                    "title",
                                                    "visual",
                                                    "ncols",
                                                    "cmap",
                                                    "nograb",
                                                    "dograb",
                                                    "sync",
                                                    "fn",
                                                    "font",
                                                    "bg",
                                                    "background",
                                                    "fg",
                                                    "foreground",
                                                    "btn",
                                                    "button",
                                                    "im",
                                                    "inputstyle",
                                                    "qmljsdebugger"};
    return std::any_of(commandLine.unknownOptions.begin(), commandLine.unknownOptions.end(),
                       [](const QString &option) { return !windowSystemOptions.contains(option); });
}

int answerCommandLine(const CommandLine &commandLine)
{
    const bool failed = commandLine.action == CommandLine::Action::Fail;
    std::fputs(qPrintable(commandLine.output), failed ? stderr : stdout);
    return failed ? 1 : 0;
}
