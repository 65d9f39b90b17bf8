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

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QCoreApplication::setApplicationVersion(tarnwellVersion());

    QCommandLineParser parser;
    // As the window system reads its own: "-platform" is one option, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Keeps one list of text items and removes its duplicates."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Text files to load, one item per line."),
                                 QStringLiteral("[files...]"));

    CommandLine result;
    const QString program =
        arguments.isEmpty() ? QStringLiteral("tarnwell") : QFileInfo(arguments.front()).fileName();
    const QCommandLineOption helpAll(QStringLiteral("help-all"));
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Fail;
        result.unknownOptions = parser.unknownOptionNames();
        result.output = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                            .arg(program, parser.errorText());
        return result;
    }
    if (parser.isSet(help) || parser.isSet(helpAll)) {
        result.action = CommandLine::Action::ShowHelp;
        result.output = parser.helpText();
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
