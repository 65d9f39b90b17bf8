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
// Qt's own texts in the help and in its errors, given here so that they are translated with
// ours: Debian ships Qt's translations in a package of their own, which may be missing.
[[maybe_unused]] constexpr const char *kParserTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Usage: %1"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "[options]"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Options:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Arguments:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help on commandline options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help including Qt specific options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays version information."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown option '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown options: %1."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
};

// The options the window system reads itself, as "--help-all" promises to show them.
QString windowSystemOptions()
{
    return QCoreApplication::translate(
        "Tarnwell",
        "\n"
        "Options of the window system (Qt):\n"
        "  -platform <name[:options]>   The platform plugin: xcb (X11), wayland, offscreen, ...\n"
        "  -platformpluginpath <path>   Where the platform plugins are.\n"
        "  -platformtheme <theme>       The platform theme: gtk3, ...\n"
        "  -plugin <plugin>             Another plugin to load; may be given several times.\n"
        "  -qwindowgeometry <geometry>  The main window's geometry, as X11 writes it: "
        "100x100+50+50.\n"
        "  -qwindowicon <icon>          The windows' icon.\n"
        "  -qwindowtitle <title>        The first window's title.\n"
        "  -reverse                     Lays the window out right to left.\n"
        "  -session <session>           Restores the program from an earlier session.\n"
        "  -style <style>               The widget style: Fusion, ...\n"
        "  -stylesheet <path>           A style sheet for the whole program.\n"
        "  -widgetcount                 Says at the end how many widgets were made.\n"
        "  -display <display>           The X11 display, instead of $DISPLAY.\n"
        "  -name <name>                 The instance name (ICCCM 4.1.2.1).\n"
        "  -nograb, -dograb             Whether the mouse may be grabbed (X11).\n"
        "  -visual <id>                 The X11 visual to use.\n");
}
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
            result.output += windowSystemOptions();
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
