#include "BenchTools.h"

#include "Form1.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "TextPool.h"
#include "UndoHistory.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <vector>

GeneratedListFile::GeneratedListFile(const QString &path) : m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
}

void GeneratedListFile::addLine(const QByteArray &text, const char *lineEnd)
{
    m_buffer += text;
    m_buffer += lineEnd;
    if (m_buffer.size() > (1 << 20)) {
        m_file.write(m_buffer);
        m_buffer.clear();
    }
}

QString GeneratedListFile::finish()
{
    m_file.write(m_buffer);
    m_file.flush();
    ::fsync(m_file.handle());
    return m_file.fileName();
}

long peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

Timing timePass(const std::function<void()> &pass)
{
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestGap = 0;
    QTimer turns;
    // With TARNWELL_BENCH_GAPS set, each gap over 100 ms is told with its times on the
    // monotonic clock, to find in a profile taken with `perf record -k CLOCK_MONOTONIC`.
    static const bool tellGaps = qEnvironmentVariableIsSet("TARNWELL_BENCH_GAPS");
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (tellGaps && now - lastTurn > 100) {
            timespec monotonic{};
            clock_gettime(CLOCK_MONOTONIC, &monotonic);
            const double end = double(monotonic.tv_sec) + double(monotonic.tv_nsec) / 1e9;
            std::fprintf(stderr, "gap %lld ms: %.6f to %.6f\n",
                         static_cast<long long>(now - lastTurn), end - double(now - lastTurn) / 1e3,
                         end);
        }
        longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
    });
    turns.start(0);
    clock.start();
    pass();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    QEventLoop afterwards;
    QTimer::singleShot(300, &afterwards, &QEventLoop::quit);
    afterwards.exec();
    const qint64 end = clock.elapsed();
    longestGap = std::max(longestGap, end - lastTurn);
    turns.stop();
    return {seconds, longestGap};
}

void print(const char *what, qsizetype items, const Timing &timing, const QString &after)
{
    std::printf("%-44s %8.3f s %10.2f M items/s  longest gap %4lld ms  %s\n", what, timing.seconds,
                double(items) / timing.seconds / 1e6, static_cast<long long>(timing.longestGapMs),
                qPrintable(after));
    std::fflush(stdout);
}

void printUndoAndRedo(Form1 &form, const char *what, qsizetype items)
{
    const Timing undo = timePass([&] { menuAction(form, QStringLiteral("Undo"))->trigger(); });
    print(QByteArray(QByteArray("  its undo: ") + what).constData(), items, undo);
    const Timing redo = timePass([&] { menuAction(form, QStringLiteral("Redo"))->trigger(); });
    print(QByteArray(QByteArray("  its redo: ") + what).constData(), items, redo);
    menuAction(form, QStringLiteral("Undo"))->trigger();
}

double timeShell(const QString &command, const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("bash"),
                {QStringLiteral("-c"), command, QStringLiteral("peer"), path});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        qFatal("the peer command failed: %s", qPrintable(command));
    return double(clock.nsecsElapsed()) / 1e9;
}

double timePipeline(const QString &path)
{
    return timeShell(QStringLiteral("tac \"$1\" | awk '!s[$0]++' | tac"), path);
}

long memoryKb(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').front().toLong();
    }
    return -1;
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

double copyEveryTextMs(Form1 &form)
{
    return millisecondsOf([&] {
        TextPool copied;
        copied.reserve(form.items().count(), form.items().texts().byteCount());
        for (qsizetype i = 0; i < form.items().count(); ++i)
            copied.append(form.items().text(i));
    });
}

void fillList(Form1 &form, const QStringList &texts)
{
    {
        const UndoHistory::Command fill(form.history(), QStringLiteral("Fill"));
        std::vector<QStringView> views(texts.begin(), texts.end());
        form.items().appendAll(views);
    }
    QCoreApplication::processEvents();
}

QString writtenLines(const QString &path, const QStringList &texts)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (const QString &text : texts)
        file.write(text.toUtf8() + '\n');
    return path;
}
