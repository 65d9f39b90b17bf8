#pragma once

// What the benchmark's passes share: timing a pass with the window's longest pause, memory
// figures, list files, and the window's menu.

#include "MenuEntries.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

class Form1;
class QAction;

// A list file written a megabyte at a time, and on disk before anything is timed: a job that
// loads a file still being written back takes twice as long here, which is the disk's time,
// not the program's.
class GeneratedListFile
{
public:
    explicit GeneratedListFile(const QString &path);
    void addLine(const QByteArray &text, const char *lineEnd);
    QString finish();

private:
    QFile m_file;
    QByteArray m_buffer;
};

long peakMemoryMb();

struct Timing
{
    double seconds = 0;
    qint64 longestGapMs = 0;
};

// Runs `pass` while a zero-interval timer notes every turn of the event loop, and goes on
// noting them for a moment after it, while the window catches up (a view lays out new rows
// later); the time is the pass's, the longest gap covers both.
Timing timePass(const std::function<void()> &pass);

void print(const char *what, qsizetype items, const Timing &timing, const QString &after = {});

// The undo of the command just run and its redo, each timed with its longest pause and
// printed under `what`; then an undo more, untimed, leaves the list as before the command.
void printUndoAndRedo(Form1 &form, const char *what, qsizetype items);

// Seconds a shell command takes over the file at `path` ($1), its output thrown away.
double timeShell(const QString &command, const QString &path);

// Seconds of the peer most figures stand beside: `tac FILE | awk '!s[$0]++' | tac`, the
// keep-last rule under "Match case", over the file at `path`.
double timePipeline(const QString &path);

// A figure of this process's memory from /proc, in kB: "VmHWM" (peak), "VmRSS" (now).
long memoryKb(const QByteArray &field);

double millisecondsOf(const std::function<void()> &work);

// Milliseconds to copy every item's text of the window's list into a new pool: the peer of the
// commands that rewrite or key every item.
double copyEveryTextMs(Form1 &form);

// Puts `texts` in the window's list as one step, and lets the view catch up.
void fillList(Form1 &form, const QStringList &texts);

// `texts` written to `path` a line each, in UTF-8; the path.
QString writtenLines(const QString &path, const QStringList &texts);
