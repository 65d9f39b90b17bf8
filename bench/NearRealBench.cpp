#include "NearRealBench.h"

#include "BenchTools.h"
#include "ComparedPartChooser.h"
#include "Fakes.h"
#include "ItemList.h"
#include "ListTestHost.h"
#include "NearDuplicates.h"
#include "NearDuplicatesDialog.h"
#include "ProcessFigures.h"
#include "RealShapedList.h"
#include "ReviewAccess.h"
#include "SlipGroupJudge.h"

#include <QAction>
#include <QCheckBox>
#include <QMap>
#include <QSet>

#include <malloc.h>

#include <algorithm>
#include <cstdio>

namespace {

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
