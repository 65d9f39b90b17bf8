#include "RecoveryBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "GeneratedLists.h"
#include "ItemList.h"
#include "ListRecovery.h"
#include "ProcessFigures.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

enum class Keeping { Off, BackToBack, Paced };

struct Step
{
    const char *name;
    std::function<void(TestWindow &)> run;
};

std::vector<Step> sessionSteps(const QString &listPath)
{
    return {
        {"Load List From Text File",
         [listPath](TestWindow &window) {
             window.fileDialogs.answers.push_back({listPath});
             window.control<QPushButton>("PushButton3")->click();
         }},
        {"Invert Check Marks",
         [](TestWindow &window) {
             menuAction(*window.form, QStringLiteral("Invert Check Marks"))->trigger();
         }},
        {"Remove Items With",
         [](TestWindow &window) {
             window.prompts.typed.push_back(QStringLiteral("nils.kendal"));
             window.control<QPushButton>("PushButton17")->click();
         }},
        {"Add",
         [](TestWindow &window) {
             window.control<QLineEdit>("Text1")->setText(QStringLiteral("new item"));
             window.control<QPushButton>("PushButton2")->click();
         }},
        {"Sort A to Z",
         [](TestWindow &window) {
             menuAction(*window.form, QStringLiteral("Sort A to Z"))->trigger();
         }},
        {"Undo",
         [](TestWindow &window) { menuAction(*window.form, QStringLiteral("Undo"))->trigger(); }},
        {"Redo",
         [](TestWindow &window) { menuAction(*window.form, QStringLiteral("Redo"))->trigger(); }},
        {"Clear All Items",
         [](TestWindow &window) { window.control<QPushButton>("PushButton1")->click(); }},
    };
}

struct Keep
{
    double seconds = 0;    // until every finished step is on disk
    double cpuSeconds = 0; // of the process meanwhile: the writer's, the window waiting
};

Keep untilKept(Form1 &form)
{
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = processCpuSeconds();
    auto *recovery = form.findChild<ListRecovery *>();
    if (!QTest::qWaitFor([&] { return recovery->upToDate(); }, 600000))
        qFatal("the record was not written in ten minutes");
    return {double(clock.nsecsElapsed()) / 1e9, processCpuSeconds() - cpuBefore};
}

qint64 recordBytesIn(const QString &folder)
{
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.rec")}))
        bytes += file.size();
    return bytes;
}

// The list as a text file would hold it: UTF-8, a line break after each item.
qint64 utf8Bytes(const ItemList &items)
{
    qint64 bytes = 0;
    for (qsizetype i = 0; i < items.count(); ++i) {
        const ItemText text = items.text(i);
        if (text.isLatin1()) {
            const auto *begin = static_cast<const quint8 *>(text.data());
            bytes += text.size() +
                     std::count_if(begin, begin + text.size(), [](quint8 c) { return c >= 0x80; });
        } else {
            bytes += text.asUtf16().toUtf8().size();
        }
        bytes += 1;
    }
    return bytes;
}

} // namespace

void benchRecovery(const QString &folder, const QString &listPath, int rounds)
{
    const std::vector<Step> steps = sessionSteps(listPath);
    // The best of the rounds for each command and way of keeping, modes taking turns so
    // that none always finds the machine as another left it.
    std::map<std::pair<Keeping, size_t>, Timing> best;
    double keptAfterLoad = 0;
    qint64 recordBytes = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const Keeping keeping : {Keeping::Off, Keeping::BackToBack, Keeping::Paced}) {
            QTemporaryDir state(folder + QStringLiteral("/state-XXXXXX"));
            TestWindow window(folder);
            window.form->show();
            if (keeping != Keeping::Off)
                window.form->keepForRecovery(state.path());
            for (size_t index = 0; index < steps.size(); ++index) {
                const Timing timing = timePass([&] { steps[index].run(window); });
                Timing &kept = best[{keeping, index}];
                if (round == 0 || timing.seconds < kept.seconds)
                    kept.seconds = timing.seconds;
                kept.longestGapMs = std::max(kept.longestGapMs, timing.longestGapMs);
                if (keeping == Keeping::Paced) {
                    const Keep keep = untilKept(*window.form);
                    if (index == 0) {
                        keptAfterLoad = std::max(keptAfterLoad, keep.seconds);
                        recordBytes = recordBytesIn(state.path());
                    }
                }
            }
        }
    }
    std::printf("Kept for recovery, %s (%lld bytes), best of %d:\n",
                qPrintable(QFileInfo(listPath).fileName()),
                static_cast<long long>(QFileInfo(listPath).size()), rounds);
    std::printf("  %-26s %16s %24s %24s\n", "command", "off s (pause)", "back to back (ratio)",
                "paced (ratio)");
    for (size_t index = 0; index < steps.size(); ++index) {
        const Timing off = best[{Keeping::Off, index}];
        const Timing on = best[{Keeping::BackToBack, index}];
        const Timing paced = best[{Keeping::Paced, index}];
        std::printf("  %-26s %7.3f (%4lld ms) %7.3f (%4lld ms) %5.2fx %7.3f (%4lld ms) %5.2fx\n",
                    steps[index].name, off.seconds, static_cast<long long>(off.longestGapMs),
                    on.seconds, static_cast<long long>(on.longestGapMs), on.seconds / off.seconds,
                    paced.seconds, static_cast<long long>(paced.longestGapMs),
                    paced.seconds / off.seconds);
    }
    std::printf("  the load's record on disk %.3f s after the load and 300 ms of the window "
                "catching up, %lld bytes "
                "(the list file: %lld)\n",
                keptAfterLoad, static_cast<long long>(recordBytes),
                static_cast<long long>(QFileInfo(listPath).size()));
}

namespace {

// `count` lines of 30 printable ASCII characters drawn at random: text that packs no better
// than the 6.6 bits a character it holds, the worst case of the record's size.
void writeRandomText(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QRandomGenerator random(44);
    QByteArray lines;
    for (int line = 0; line < count; ++line) {
        for (int i = 0; i < 30; ++i)
            lines.append(char(33 + random.bounded(94)));
        lines.append('\n');
        if (lines.size() > (1 << 20)) {
            file.write(lines);
            lines.clear();
        }
    }
    file.write(lines);
}

} // namespace

void benchRecordSizes(const QString &folder, int count)
{
    std::printf("The record after a load of %d lines of each shape, beside the list left "
                "(duplicates removed) in UTF-8:\n",
                count);
    std::printf("  %-22s %14s %14s %12s %14s %10s %8s\n", "list", "list UTF-8 B", "record B",
                "record/list", "old+new/list", "on disk s", "CPU s");
    const QString path = folder + QStringLiteral("/record-sizes.txt");
    const std::pair<const char *, std::function<void()>> shapes[] = {
        {"the benchmark's own", [&] { writeGeneratedList(path, count); }},
        {"merged mailing list", [&] { writeMailingList(path, count); }},
        {"many scripts", [&] { writeMailingList(path, count, kManyScriptNames); }},
        {"random characters", [&] { writeRandomText(path, count); }},
    };
    for (const auto &[name, write] : shapes) {
        write();
        QTemporaryDir state(folder + QStringLiteral("/state-XXXXXX"));
        TestWindow window(folder);
        window.form->show();
        window.form->keepForRecovery(state.path());
        sessionSteps(path).front().run(window);
        const Keep keep = untilKept(*window.form);
        const qint64 record = recordBytesIn(state.path());
        const qint64 list = utf8Bytes(window.form->items());
        std::printf("  %-22s %14lld %14lld %12.3f %14.3f %10.3f %8.3f\n", name,
                    static_cast<long long>(list), static_cast<long long>(record),
                    double(record) / double(list), 2.0 * double(record) / double(list),
                    keep.seconds, keep.cpuSeconds);
        std::fflush(stdout);
        QFile::remove(path);
    }
}
