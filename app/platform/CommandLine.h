#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. No option changes what the program does: files named on it
// (as a file manager's "Open With" passes them) are loaded once the window shows, as "Load
// List From Text File" loads them; --help and --version answer and end the program.
struct CommandLine
{
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    Action action = Action::Run;
    QStringList files; // absolute paths, in the order given
    QString output;    // the help or version text, or what was wrong
    QStringList unknownOptions;
};

// `arguments` as the program got them, its own name first, less the window system's own
// options (QApplication takes those out).
CommandLine parseCommandLine(const QStringList &arguments);

// True when the arguments, as the program got them, ask for help or the version, or hold an
// option that neither Tarnwell nor the window system knows: those are answered without
// reaching the window system, so they work without a display.
bool answeredWithoutWindow(const QStringList &arguments);

// Prints a help, version or error text where it belongs; returns the exit status.
int answerCommandLine(const CommandLine &commandLine);

QString tarnwellVersion();
