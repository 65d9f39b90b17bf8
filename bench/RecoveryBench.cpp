#include "RecoveryBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "ItemList.h"
#include "ListRecovery.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <map>
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

// Seconds until every finished step is on disk.
double secondsUntilKept(Form1 &form)
{
    QElapsedTimer clock;
    clock.start();
    auto *recovery = form.findChild<ListRecovery *>();
    if (!QTest::qWaitFor([&] { return recovery->upToDate(); }, 600000))
        qFatal("the record was not written in ten minutes");
    return double(clock.nsecsElapsed()) / 1e9;
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
                    const double seconds = secondsUntilKept(*window.form);
                    if (index == 0) {
                        keptAfterLoad = std::max(keptAfterLoad, seconds);
                        for (const QFileInfo &file :
                             QDir(state.path()).entryInfoList({QStringLiteral("*.rec")}))
                            recordBytes = file.size();
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
