#include "JobBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "ItemList.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <sys/mman.h>

#include <algorithm>
#include <cstdio>

namespace {

// The same keep-last rule with letter case ignored.
double timeIgnoreCasePipeline(const QString &path)
{
    return timeShell(QStringLiteral("tac \"$1\" | awk '!s[toupper($0)]++' | tac"), path);
}

// Reads the file once, so that each job, like the pipeline, finds it in the page cache: the
// pipeline's own memory can push a 300 MB file out of it, and the next job would then time
// the disk. Returns its number of lines.
qsizetype warmPageCache(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QByteArray chunk(1 << 22, Qt::Uninitialized);
    qsizetype lines = 0;
    for (qint64 read; (read = file.read(chunk.data(), chunk.size())) > 0;)
        lines += std::count(chunk.constData(), chunk.constData() + read, '\n');
    return lines;
}

// Touches `bytes` of fresh memory and gives it back, so that a job started next finds that
// much warm. This machine is a virtual one whose host takes back memory the guest has left
// free for a few seconds; a page's first touch then waits for the host as well: a plain loop
// touching fresh pages runs at about 0.2 GB/s on such memory against 10 GB/s on warm memory.
// A desktop machine of its own has no such cost, and which share of a job's memory is warm
// otherwise depends on what ran before it.
void warmMemory(qsizetype bytes)
{
    if (bytes <= 0)
        return;
    void *block =
        mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        qFatal("cannot map %lld bytes", static_cast<long long>(bytes));
    madvise(block, size_t(bytes), MADV_HUGEPAGE); // as the list's own large blocks are
    auto *bytesOf = static_cast<volatile char *>(block);
    for (qsizetype at = 0; at < bytes; at += 4096)
        bytesOf[at] = 1;
    munmap(block, size_t(bytes));
}

// Runs the job in a child process, after warming `warmBytes` of memory; its line of figures.
QList<QByteArray> runJobProcess(const QString &listPath, bool matchCase, qsizetype warmBytes = 0)
{
    warmPageCache(listPath);
    warmMemory(warmBytes);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--job"), listPath,
                 matchCase ? QStringLiteral("match") : QStringLiteral("ignore")});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the job process failed");
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 11 || fields[0] != "JOB")
        qFatal("the job process said nothing useful");
    return fields;
}

// Reports a job against the pipeline's time on the same file.
void printJob(const QList<QByteArray> &fields, qsizetype items, bool matchCase, double pipeline)
{
    const double load = fields[1].toDouble(), save = fields[3].toDouble();
    const double hwmMb = fields[6].toDouble() / 1024.0;
    std::printf("  job, %-11s load+clean %6.3f s (gap %4s ms), save %6.3f s (gap %4s ms), "
                "total %6.3f s = %.3fx the pipeline; VmHWM %6.0f MB = %5.1f B/item; "
                "undo %.3f s (gap %s ms), redo %.3f s (gap %s ms)\n",
                matchCase ? "Match case" : "Ignore case", load, fields[2].constData(), save,
                fields[4].constData(), load + save, (load + save) / pipeline, hwmMb,
                hwmMb * 1024 * 1024 / double(items), fields[7].toDouble(), fields[8].constData(),
                fields[9].toDouble(), fields[10].constData());
    std::fflush(stdout);
}

} // namespace

// The whole job as a user does it, in a process of its own so that its peak memory is the
// job's: "Load List From Text File" (load and duplicate removal), then "Save List To Text
// File". Prints one line for the parent to read.
int runJob(const QString &listPath, bool matchCase, const QString &keepSaved)
{
    TestFolders folders;
    TestWindow window(folders.program.path());
    Form1 &form = *window.form;
    form.show();
    window.control<QRadioButton>(matchCase ? "Option2" : "Option1")->setChecked(true);
    window.fileDialogs.answers.push_back({listPath});
    const Timing load = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    const qsizetype left = form.items().count();
    const QString saved = folders.program.filePath(QStringLiteral("out.txt"));
    window.fileDialogs.answers.push_back({saved});
    const Timing save = timePass([&] { window.control<QPushButton>("PushButton20")->click(); });
    if (!keepSaved.isEmpty())
        QFile::rename(saved, keepSaved);
    const long peakKb = memoryKb("VmHWM"); // the job's, before undo puts the duplicates back
    const Timing undo = timePass([&] { menuAction(form, QStringLiteral("Undo"))->trigger(); });
    const Timing redo = timePass([&] { menuAction(form, QStringLiteral("Redo"))->trigger(); });
    if (form.items().count() != left)
        qFatal("undo and redo of the load left %lld items, not %lld",
               static_cast<long long>(form.items().count()), static_cast<long long>(left));
    std::printf("JOB %.3f %lld %.3f %lld %lld %ld %.3f %lld %.3f %lld\n", load.seconds,
                static_cast<long long>(load.longestGapMs), save.seconds,
                static_cast<long long>(save.longestGapMs), static_cast<long long>(left), peakKb,
                undo.seconds, static_cast<long long>(undo.longestGapMs), redo.seconds,
                static_cast<long long>(redo.longestGapMs));
    return 0;
}

// The Match-case job on a small and a large list of the same shape, in turn, `pairs` times:
// the time per line of each and the large list's against the small one's in the same pair.
// Each job runs once with its memory as the machine leaves it and once with twice the file's
// size warmed first (see warmMemory).
void benchScaling(const QString &small, const QString &large, int pairs)
{
    const qsizetype smallLines = warmPageCache(small), largeLines = warmPageCache(large);
    std::printf("Match-case job, %lld lines against %lld, %d pairs:\n",
                static_cast<long long>(largeLines), static_cast<long long>(smallLines), pairs);
    for (const bool warm : {false, true}) {
        for (int pair = 0; pair < pairs; ++pair) {
            double perLine[2] = {};
            QByteArray gaps[2], peaks[2];
            int which = 0;
            for (const auto &[path, lines] :
                 {std::pair(small, smallLines), std::pair(large, largeLines)}) {
                const qsizetype warmBytes = warm ? 2 * QFileInfo(path).size() : 0;
                const QList<QByteArray> fields = runJobProcess(path, true, warmBytes);
                perLine[which] =
                    (fields[1].toDouble() + fields[3].toDouble()) / double(lines) * 1e9;
                gaps[which] = fields[2] + "/" + fields[4];
                peaks[which] =
                    QByteArray::number(fields[6].toDouble() * 1024 / double(lines), 'f', 1);
                ++which;
            }
            std::printf("  %-5s memory: %6.1f ns/line (gaps %s ms, %s B/line), then %6.1f ns/line "
                        "(gaps %s ms, %s B/line): %.2fx\n",
                        warm ? "warm" : "as is", perLine[0], gaps[0].constData(),
                        peaks[0].constData(), perLine[1], gaps[1].constData(), peaks[1].constData(),
                        perLine[1] / perLine[0]);
            std::fflush(stdout);
        }
    }
}

// Both jobs on the list at `path` against the pipelines, each in processes of their own.
void benchJobs(const QString &path, int size, const char *shape)
{
    // The jobs first: the pipeline's gigabytes of memory leave the machine slow to hand out
    // memory for a while after it. One job runs unreported before them: on this virtual
    // machine the first process in a while to take a gigabyte gets it slowly (twice the
    // job's time), whichever job that is.
    runJobProcess(path, true);
    const QList<QByteArray> matchJob = runJobProcess(path, true);
    const QList<QByteArray> ignoreJob = runJobProcess(path, false);
    const double pipeline = timePipeline(path);
    const double ignoreCasePipeline = timeIgnoreCasePipeline(path);
    std::printf("%d items, %s (%.0f MB): tac FILE | awk '!s[$0]++' | tac %.3f s; "
                "with toupper($0) %.3f s\n",
                size, shape, double(QFile(path).size()) / 1e6, pipeline, ignoreCasePipeline);
    printJob(matchJob, size, true, pipeline);
    printJob(ignoreJob, size, false, ignoreCasePipeline);
}
