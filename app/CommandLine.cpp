#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

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
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Fail;
        result.output = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                            .arg(program, parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
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

bool asksForHelpOrVersion(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--")
            return false;
        if (argument == u"-h" || argument == u"--help" || argument == u"--help-all" ||
            argument == u"-v" || argument == u"--version")
            return true;
    }
    return false;
}

int answerCommandLine(const CommandLine &commandLine)
{
    const bool failed = commandLine.action == CommandLine::Action::Fail;
    std::fputs(qPrintable(commandLine.output), failed ? stderr : stdout);
    return failed ? 1 : 0;
}
