#include "ProcessFigures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryFile>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

double secondsOf(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

} // namespace

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

PassFigures measurePass(const std::function<void()> &pass)
{
    PassFigures figures;
    resetPeakMemory();
    figures.beforeKb = memoryKb("VmRSS");
    double cpu = 0;
    figures.timing = timePass([&] {
        cpu = processCpuSeconds();
        pass();
        cpu = processCpuSeconds() - cpu;
    });
    figures.cpuSeconds = cpu;
    figures.peakKb = memoryKb("VmHWM");
    return figures;
}

void printPass(const char *what, const PassFigures &figures, const QString &after)
{
    std::printf("%-48s wall %7.3f s  cpu %7.3f s  peak %6.0f MB (+%5.0f)  longest pause %5lld ms  "
                "%s\n",
                what, figures.timing.seconds, figures.cpuSeconds, double(figures.peakKb) / 1024,
                double(figures.peakKb - figures.beforeKb) / 1024,
                static_cast<long long>(figures.timing.longestGapMs), qPrintable(after));
    std::fflush(stdout);
}

ChildRun runChild(const QStringList &arguments, qint64 addressSpace, bool keepOutput)
{
    std::vector<QByteArray> encoded;
    for (const QString &argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QTemporaryFile output;
    if (keepOutput && !output.open())
        qFatal("cannot make a temporary file");
    std::fflush(stdout);
    std::fflush(stderr);
    QElapsedTimer clock;
    clock.start();
    const pid_t child = fork();
    if (child < 0)
        qFatal("cannot start %s", argv[0]);
    if (child == 0) {
        // Only calls safe between fork and exec.
        if (addressSpace > 0) {
            const rlimit limit{rlim_t(addressSpace), rlim_t(addressSpace)};
            setrlimit(RLIMIT_AS, &limit);
        }
        if (keepOutput)
            dup2(output.handle(), STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    ChildRun run;
    run.wallSeconds = double(clock.nsecsElapsed()) / 1e9;
    run.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
    run.peakKb = usage.ru_maxrss;
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    if (keepOutput) {
        output.seek(0);
        run.output = output.readAll().trimmed();
    }
    return run;
}
