#include "DenseSlipsBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "ProcessFigures.h"
#include "ReviewAccess.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// Told of every change of a widget's pointer.
class CursorWatch : public QObject
{
public:
    std::function<void()> changed;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::CursorChange && changed)
            changed();
        return QObject::eventFilter(watched, event);
    }
};

QString denseText(int i)
{
    constexpr int kIdeographs = 16667;
    constexpr int kDifferent = kIdeographs * 12;
    const int different = i % kDifferent;
    QString text = QStringLiteral("abcdefghijkl");
    text[different / kIdeographs] = QChar(char16_t(0x4E00 + different % kIdeographs));
    // Past the different texts, forms of them in other letter case or with a blank: other
    // items, the same keys.
    switch ((i / kDifferent) % 6) {
    case 1:
        return text.toUpper();
    case 2:
        return text + u' ';
    case 3:
        return u' ' + text;
    case 4:
        return text.toUpper() + u' ';
    case 5:
        return u' ' + text.toUpper();
    default:
        return text;
    }
}

} // namespace

int runDenseSlips(int count, int capSeconds)
{
    TestFolders folders;
    TestWindow window(folders.program.path());
    Form1 &form = *window.form;
    form.show();
    {
        QStringList texts;
        texts.reserve(count);
        for (int i = 0; i < count; ++i)
            texts.append(denseText(i));
        fillList(form, texts);
    }
    malloc_trim(0);
    // Its text, and five bytes an item for where it ends and its check mark.
    const double listMb = double(form.items().texts().byteCount() + 5 * qint64(count)) / 1e6;
    menuAction(form, QStringLiteral("Find Near Duplicates"))->trigger();
    NearDuplicatesDialog &dialog = reviewDialog(form);
    const long beforeKb = memoryKb("VmRSS");
    std::printf("  %d items: the list %.1f MB; the process holds %.0f MB before the search\n",
                count, listMb, double(beforeKb) / 1024);
    std::fflush(stdout);

    // Ticks Spelling slips and, if the search still runs after `stopAfterMs`, presses Cancel;
    // the stop is honoured when the window's hourglass goes.
    const auto search = [&](qint64 stopAfterMs) {
        QElapsedTimer clock;
        qint64 askedAt = -1, honouredAt = -1;
        bool running = true;
        CursorWatch watch;
        watch.changed = [&] {
            // A window keeps Qt::WA_SetCursor when its pointer is unset: the shape tells.
            if (askedAt >= 0 && honouredAt < 0 && form.cursor().shape() != Qt::WaitCursor)
                honouredAt = clock.elapsed();
        };
        form.installEventFilter(&watch);
        QTimer stop;
        stop.setSingleShot(true);
        QObject::connect(&stop, &QTimer::timeout, [&] {
            if (!running)
                return;
            askedAt = clock.elapsed();
            dialog.cancelButton().click();
        });
        resetPeakMemory();
        double cpu = 0;
        qint64 ended = 0;
        const Timing timing = timePass([&] {
            cpu = processCpuSeconds();
            clock.start();
            stop.start(int(stopAfterMs));
            dialog.optionBox(6).setChecked(true);
            running = false;
            ended = clock.elapsed();
            cpu = processCpuSeconds() - cpu;
        });
        stop.stop();
        form.removeEventFilter(&watch);
        const long peakKb = memoryKb("VmHWM");
        using Showing = NearGroupsModel::Showing;
        const Showing showing = form.nearDuplicates().model().showing();
        const QByteArray after = QByteArray::number(double(ended) / 1e3, 'f', 1) + " s";
        QByteArray how;
        if (askedAt >= 0) {
            how = "Cancel pressed after " + QByteArray::number(double(askedAt) / 1e3, 'f', 1) +
                  " s, honoured " +
                  (honouredAt >= 0 ? QByteArray::number(honouredAt - askedAt) + " ms later"
                                   : QByteArray("never"));
            if (showing != Showing::Cancelled)
                how += " (yet the review shows no cancelled search)";
        } else if (showing == Showing::TooManySlips) {
            how = "refused as too many pairs after " + after;
        } else if (showing == Showing::Groups) {
            how = QByteArray::number(reviewGroups(form).count()) + " groups found in " + after;
        } else {
            how = "ended after " + after + " showing no groups (failed)";
        }
        const QStringList failures = window.prompts.errorReports();
        if (!failures.isEmpty())
            how += "; error report: " + failures.back().left(200).toUtf8();
        std::printf("    %s; cpu %.1f s; longest pause %lld ms; peak %.0f MB = %.0f MB over the "
                    "process before it (the list itself %.1f MB)\n",
                    how.constData(), cpu, static_cast<long long>(timing.longestGapMs),
                    double(peakKb) / 1024, double(peakKb - beforeKb) / 1024, listMb);
        std::fflush(stdout);
        return std::pair(askedAt >= 0, ended);
    };
    const auto [stopped, took] = search(qint64(capSeconds) * 1000);
    if (!stopped) {
        // It ended of itself: again, stopped a quarter, half and three quarters of the way,
        // for how soon a stop is honoured in each part of the search.
        for (const int quarters : {1, 2, 3}) {
            dialog.optionBox(6).setChecked(false);
            search(std::max<qint64>(took * quarters / 4, 50));
        }
    }
    dialog.close();
    return 0;
}

void benchDenseSlips(int count, int capSeconds)
{
    std::printf("Spelling slips on a dense list (\"abcdefghijkl\" with one of 16,667 ideographs "
                "in one place), %d items, stopped after %d s, address space at most %lld GB:\n",
                count, capSeconds, static_cast<long long>(kChildAddressSpace >> 30));
    const ChildRun child =
        runChild({QCoreApplication::applicationFilePath(), QStringLiteral("--dense-slips-child"),
                  QString::number(count), QString::number(capSeconds)},
                 kChildAddressSpace, false);
    std::printf("  the child process: %s, wall %.1f s, cpu %.1f s, peak of its last search "
                "%.0f MB\n",
                child.ending().constData(), child.wallSeconds, child.cpuSeconds,
                double(child.peakKb) / 1024);
    std::fflush(stdout);
}
