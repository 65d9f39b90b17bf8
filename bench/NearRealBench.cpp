#include "NearRealBench.h"

#include "BenchTools.h"
#include "ComparedPartChooser.h"
#include "Fakes.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "NearDuplicateReview.h"
#include "NearDuplicates.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "RealShapedList.h"
#include "SpellingSlips.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QTemporaryFile>
#include <QTimer>

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr qint64 kChildAddressSpace = qint64(8) << 30;

// The peak resident memory (VmHWM) starts again from what is resident now, so that each pass
// has its own.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double secondsOf(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

// User and system time of every thread of this process so far.
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

struct PassFigures
{
    Timing timing;
    double cpuSeconds = 0;
    long beforeKb = 0, peakKb = 0;
};

// A pass of the window as timePass times it, with the CPU time of its own work (not that of
// the idle turns timed after it) and its own peak memory.
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

// A plain Python grouping beside a pass of the review, each figure as a ratio to it.
void printPeer(const char *what, const ChildRun &peer, const PassFigures &review)
{
    if (peer.exitCode != 0) {
        std::printf("  peer: %s failed (%s) after %.1f s at %.0f MB\n", what,
                    peer.ending().constData(), peer.wallSeconds, double(peer.peakKb) / 1024);
    } else {
        std::printf("  peer: %s wall %.3f s, cpu %.3f s, peak %.0f MB, %s groups; the review "
                    "%.3fx its wall time, %.3fx its CPU time\n",
                    what, peer.wallSeconds, peer.cpuSeconds, double(peer.peakKb) / 1024,
                    peer.output.constData(), review.timing.seconds / peer.wallSeconds,
                    review.cpuSeconds / peer.cpuSeconds);
    }
    std::fflush(stdout);
}

ChildRun runPythonPeer(const QStringList &flags, const QString &path)
{
    return runChild(QStringList{QStringLiteral("python3"),
                                QStringLiteral(TARNWELL_BENCH_DIR "/slips_reference.py")} +
                        flags + QStringList{path},
                    kChildAddressSpace, true);
}

// Whether the review judges an address's slips side by side of its "@" (a local part under 5
// characters never slips) rather than as one text: the Python peer has to follow the same.
bool addressSlipsJudgedByParts()
{
    ItemList list;
    list.append(u"Ann <abc@debian.org>");
    list.append(u"Bob <abd@debian.org>");
    RecordingHost host;
    NearKeyOptions options;
    options.slips = true;
    options.compared.kind = ComparedPart::Kind::EmailAddress;
    const std::optional<NearGroups> groups = List::FindNearDuplicates(list, options, host);
    return groups && groups->count() == 0;
}

NearDuplicatesDialog &reviewDialog(Form1 &form)
{
    return *form.nearDuplicates().dialog();
}

const NearGroups &reviewGroups(Form1 &form)
{
    return form.nearDuplicates().model().groups();
}

bool refusedAsTooMany(Form1 &form)
{
    return form.nearDuplicates().model().showing() ==
           NearGroupsModel::Showing::TooManySlips;
}

// What the review says it found: its summary, or why it shows no groups.
QString reviewOutcome(Form1 &form)
{
    using Showing = NearGroupsModel::Showing;
    switch (form.nearDuplicates().model().showing()) {
    case Showing::TooManySlips:
        return QStringLiteral("REFUSED: more than %1 possible slip pairs").arg(Slips::kMostPairs);
    case Showing::Cancelled:
        return QStringLiteral("cancelled");
    case Showing::Failed:
        return QStringLiteral("FAILED");
    default:
        return reviewDialog(form).summary();
    }
}

// How the review's slip groups compare with what was planted: a false group holds lines of
// two bases that are not alike under the compared rule itself (other keys); a missed slip is
// a planted one not grouped with a line of its base's key that is no slip (its base as it
// is, or in another letter case or with blanks): two lines of one slip, grouped as equal,
// have not been caught.
void judgeSlipGroups(const NearGroups &groups, const RealShapedList &list, bool addresses)
{
    NearKeyOptions options;
    if (addresses)
        options.compared.kind = ComparedPart::Kind::EmailAddress;
    QHash<QString, qint32> classIds;
    std::vector<qint32> baseClass;
    baseClass.reserve(size_t(list.bases.size()));
    for (const QString &base : list.bases) {
        const std::optional<QString> key = NearGroupKey(base, options);
        if (!key) {
            baseClass.push_back(-1); // no address: never grouped
            continue;
        }
        auto found = classIds.constFind(*key);
        if (found == classIds.constEnd())
            found = classIds.insert(*key, qint32(classIds.size()));
        baseClass.push_back(*found);
    }
    // A slip in a name leaves the address as it was.
    const auto relevant = [&](PlantedChange made) {
        return addresses ? made == PlantedChange::SlipInLocal || made == PlantedChange::SlipInDomain
                         : isSlip(made);
    };
    const qsizetype lines = list.lines.size();
    std::vector<qint32> lineClass(static_cast<size_t>(lines)),
        groupOf(static_cast<size_t>(lines), -1);
    std::vector<qint32> heldLinesOfClass(size_t(classIds.size()), 0);
    for (qsizetype i = 0; i < lines; ++i) {
        lineClass[size_t(i)] = baseClass[list.baseOf[size_t(i)]];
        if (lineClass[size_t(i)] >= 0 && !relevant(list.made[size_t(i)]))
            ++heldLinesOfClass[size_t(lineClass[size_t(i)])];
    }

    const auto bucketOf = [&](qsizetype line) {
        const PlantedChange made = list.made[size_t(line)];
        const QString &base = list.bases[qsizetype(list.baseOf[size_t(line)])];
        QString where = made == PlantedChange::SlipInName    ? QStringLiteral("in a name")
                        : made == PlantedChange::SlipInLocal ? QStringLiteral("before the @")
                        : made == PlantedChange::SlipInDomain
                            ? QStringLiteral("in the domain")
                            : QStringLiteral("in a package name or description");
        const QString baseKey = NearGroupKey(base, options).value_or(QString());
        if (addresses) {
            where += baseKey.indexOf(u'@') < 5 ? QStringLiteral(", local part under 5 characters")
                                               : QStringLiteral(", local part of 5 or more");
        }
        // Whether the rule itself takes it for a slip of its base: when it does, a miss is the
        // grouping's (a group never chains, so two slips of one base can go apart).
        const QString key = NearGroupKey(list.lines[line], options).value_or(QString());
        if (!Slips::areSlips(key, baseKey,
                             addresses ? Slips::SlipRule::AddressParts
                                       : Slips::SlipRule::WholeText))
            where += QStringLiteral(", no slip by the rule");
        return where;
    };

    qsizetype falseGroups = 0, planted = 0, missed = 0, alone = 0, takenByOthers = 0;
    QMap<QString, std::pair<qsizetype, qsizetype>> byBucket;    // planted, missed
    std::vector<std::pair<qsizetype, qsizetype>> falseBySpread; // distinct bases, group
    std::vector<qint32> classes;
    for (qsizetype g = 0; g < groups.count(); ++g) {
        classes.clear();
        for (qsizetype k = 0; k < groups.size(g); ++k) {
            const quint32 line = groups.member(g, k);
            groupOf[line] = qint32(g);
            classes.push_back(lineClass[line]);
        }
        std::sort(classes.begin(), classes.end());
        const qsizetype spread = std::unique(classes.begin(), classes.end()) - classes.begin();
        if (spread > 1) {
            ++falseGroups;
            falseBySpread.emplace_back(spread, g);
        }
    }
    // For each group, the classes of its lines that are no slips, in order.
    std::vector<std::vector<qint32>> heldClassesOfGroup(size_t(groups.count()));
    for (qsizetype g = 0; g < groups.count(); ++g) {
        std::vector<qint32> &of = heldClassesOfGroup[size_t(g)];
        for (qsizetype k = 0; k < groups.size(g); ++k) {
            const quint32 line = groups.member(g, k);
            if (!relevant(list.made[line]))
                of.push_back(lineClass[line]);
        }
        std::sort(of.begin(), of.end());
    }
    for (qsizetype i = 0; i < lines; ++i) {
        const qint32 own = lineClass[size_t(i)];
        if (!relevant(list.made[size_t(i)]) || own < 0)
            continue;
        if (heldLinesOfClass[size_t(own)] == 0) {
            ++alone;
            continue;
        }
        ++planted;
        bool caught = false, elsewhere = false;
        if (const qint32 g = groupOf[size_t(i)]; g >= 0) {
            const std::vector<qint32> &of = heldClassesOfGroup[size_t(g)];
            caught = std::binary_search(of.begin(), of.end(), own);
            elsewhere = !of.empty();
        }
        auto &counts = byBucket[bucketOf(i)];
        ++counts.first;
        if (!caught) {
            ++missed;
            ++counts.second;
            takenByOthers += elsewhere ? 1 : 0;
        }
    }
    std::printf("  false groups: %lld of %lld (lines of bases with different keys); missed slips: "
                "%lld of %lld planted, %lld of them in another base's group (%lld more whose "
                "base is only slips in the list)\n",
                static_cast<long long>(falseGroups), static_cast<long long>(groups.count()),
                static_cast<long long>(missed), static_cast<long long>(planted),
                static_cast<long long>(takenByOthers), static_cast<long long>(alone));
    for (auto bucket = byBucket.cbegin(); bucket != byBucket.cend(); ++bucket)
        std::printf("    slips %-66s %7lld missed of %7lld\n", qPrintable(bucket.key()),
                    static_cast<long long>(bucket->second), static_cast<long long>(bucket->first));
    // The false groups that join the most different bases, a few of their bases each.
    std::sort(falseBySpread.begin(), falseBySpread.end(),
              [](const auto &a, const auto &b) { return a.first > b.first; });
    for (size_t e = 0; e < std::min<size_t>(falseBySpread.size(), 3); ++e) {
        const qsizetype g = falseBySpread[e].second;
        QStringList shown;
        QSet<qint32> seen;
        for (qsizetype k = 0; k < groups.size(g) && shown.size() < 4; ++k) {
            const quint32 line = groups.member(g, k);
            if (!seen.contains(lineClass[line])) {
                seen.insert(lineClass[line]);
                shown.append(list.bases[qsizetype(list.baseOf[line])]);
            }
        }
        std::printf("    false group of %lld lines, %lld different keys: %s\n",
                    static_cast<long long>(groups.size(g)),
                    static_cast<long long>(falseBySpread[e].first),
                    qPrintable(shown.join(QStringLiteral(" | "))));
    }
    std::fflush(stdout);
}

// The flags that make the Python peer compare addresses by the review's rule.
QStringList addressFlags(bool parts)
{
    QStringList flags{QStringLiteral("--addresses")};
    if (parts)
        flags.append(QStringLiteral("--address-parts"));
    return flags;
}

// Spelling slips on the first `count` lines, in a window of their own and in the Python peer,
// on whole items or on addresses.
void slipsBesidePython(const QString &folder, const RealShapedList &list, int count, bool addresses,
                       bool parts)
{
    const QStringList first = list.lines.mid(0, count);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    fillList(form, first);
    menuAction(form, QStringLiteral("Find Near Duplicates"))->trigger();
    NearDuplicatesDialog &dialog = reviewDialog(form);
    if (addresses)
        dialog.comparedPart().choose(ComparedPart::Kind::EmailAddress);
    const QString path = writtenLines(folder + QStringLiteral("/real-first.txt"), first);
    const QByteArray label = "first " + QByteArray::number(count) + " lines, " +
                             (addresses ? "addresses" : "whole items") + ", slips";
    const PassFigures slips = measurePass([&] { dialog.optionBox(6).setChecked(true); });
    printPass(label.constData(), slips, reviewOutcome(form));
    const QStringList flags = addresses ? addressFlags(parts) : QStringList();
    printPeer(qPrintable(QStringLiteral("slips_reference.py ") + flags.join(u' ')),
              runPythonPeer(flags, path), slips);
    dialog.close();
}

} // namespace

void benchNearReal(const QString &folder, int count, const QString &listFile)
{
    QString path = listFile;
    if (path.isEmpty()) {
        path = folder + QStringLiteral("/real-shaped.txt");
        writeRealShapedList(path, count);
    }
    const RealShapedList list = readRealShapedList(path, count);
    const qsizetype lines = list.lines.size();
    // The peers read just the lines the review holds.
    const QString peerPath =
        writtenLines(folder + QStringLiteral("/real-shaped-peer.txt"), list.lines);
    QMap<char, qsizetype> made;
    for (const PlantedChange change : list.made)
        ++made[char(change)];
    std::printf("Find Near Duplicates on a real-shaped list: %lld lines of %s (%lld different), "
                "from %lld bases; planted: %lld letter case, %lld blanks, slips %lld in names, "
                "%lld before the @, %lld in domains, %lld in package names or descriptions\n",
                static_cast<long long>(lines), qPrintable(path),
                static_cast<long long>(QSet<QString>(list.lines.begin(), list.lines.end()).size()),
                static_cast<long long>(list.bases.size()), static_cast<long long>(made['c']),
                static_cast<long long>(made['b']), static_cast<long long>(made['n']),
                static_cast<long long>(made['l']), static_cast<long long>(made['d']),
                static_cast<long long>(made['t']));
    const bool parts = addressSlipsJudgedByParts();
    std::printf("  address slips are judged %s\n",
                parts ? "on each side of the @ by its own length" : "on the whole address");

    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    fillList(form, list.lines);
    malloc_trim(0);
    std::printf("  the list: %.0f MB of text; the process holds %.0f MB with it\n",
                double(form.items().texts().byteCount()) / 1e6, double(memoryKb("VmRSS")) / 1024);

    const PassFigures opened =
        measurePass([&] { menuAction(form, QStringLiteral("Find Near Duplicates"))->trigger(); });
    NearDuplicatesDialog &dialog = reviewDialog(form);
    printPass("whole items, default boxes (review opened)", opened, reviewOutcome(form));
    printPeer("slips_reference.py --no-slips",
              runPythonPeer({QStringLiteral("--no-slips")}, peerPath), opened);
    // The boxes off at first ticked one after another, up to every box.
    const struct
    {
        int box;
        const char *label;
    } ticked[] = {{4, "whole items, + punctuation and symbols"},
                  {5, "whole items, + word order (every box but slips)"},
                  {6, "whole items, + spelling slips (every box)"}};
    for (const auto &step : ticked) {
        const PassFigures figures =
            measurePass([&] { dialog.optionBox(step.box).setChecked(true); });
        printPass(step.label, figures, reviewOutcome(form));
    }
    dialog.optionBox(6).setChecked(false);
    // Word order without punctuation: the one box not yet ticked alone.
    const PassFigures wordOrder = measurePass([&] { dialog.optionBox(4).setChecked(false); });
    printPass("whole items, default boxes + word order alone", wordOrder, reviewOutcome(form));
    dialog.optionBox(5).setChecked(false);
    const PassFigures slips = measurePass([&] { dialog.optionBox(6).setChecked(true); });
    printPass("whole items, default boxes + spelling slips", slips, reviewOutcome(form));
    if (!refusedAsTooMany(form))
        judgeSlipGroups(reviewGroups(form), list, false);
    dialog.optionBox(6).setChecked(false);

    const PassFigures byAddress =
        measurePass([&] { dialog.comparedPart().choose(ComparedPart::Kind::EmailAddress); });
    printPass("addresses, default boxes", byAddress, reviewOutcome(form));
    printPeer(
        "slips_reference.py --addresses --no-slips",
        runPythonPeer({QStringLiteral("--addresses"), QStringLiteral("--no-slips")}, peerPath),
        byAddress);
    const PassFigures addressSlips = measurePass([&] { dialog.optionBox(6).setChecked(true); });
    printPass("addresses, default boxes + spelling slips", addressSlips, reviewOutcome(form));
    if (!refusedAsTooMany(form))
        judgeSlipGroups(reviewGroups(form), list, true);
    dialog.close();

    // The Python grouping of slips takes hours and tens of gigabytes at a million lines of
    // whole items, a quarter of an hour and 4 GB of addresses: both on the first lines only.
    slipsBesidePython(folder, list, std::min(10000, int(lines)), false, parts);
    slipsBesidePython(folder, list, std::min(100000, int(lines)), true, parts);
}

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
