#pragma once

// What the near-duplicate benchmarks measure of a pass of the window or of a child process
// beside the time: CPU time and peak memory.

#include "BenchTools.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The address space a child process of the benchmark gets at most.
constexpr qint64 kChildAddressSpace = qint64(8) << 30;

// The peak resident memory (VmHWM) starts again from what is resident now, so that each pass
// has its own.
void resetPeakMemory();

// User and system time of every thread of this process so far.
double processCpuSeconds();

struct PassFigures
{
    Timing timing;
    double cpuSeconds = 0;
    long beforeKb = 0, peakKb = 0;
};

// A pass of the window as timePass times it, with the CPU time of its own work (not that of
// the idle turns timed after it) and its own peak memory.
PassFigures measurePass(const std::function<void()> &pass);

void printPass(const char *what, const PassFigures &figures, const QString &after);

struct ChildRun
{
    double wallSeconds = 0, cpuSeconds = 0;
    long peakKb = 0;
    int exitCode = -1;
    int signal = 0;
    QByteArray output;

    QByteArray ending() const
    {
        if (signal != 0)
            return "killed by signal " + QByteArray::number(signal);
        return "exit status " + QByteArray::number(exitCode);
    }
};

// Runs `arguments` (a program and its own) in a child process, its address space bounded by
// `addressSpace` bytes when not 0, its output kept when `keepOutput` (else it goes to ours);
// its CPU time and peak memory as the kernel accounts them, which holds even when it fails.
ChildRun runChild(const QStringList &arguments, qint64 addressSpace, bool keepOutput);
