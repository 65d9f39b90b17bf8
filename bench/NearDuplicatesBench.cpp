#include "NearDuplicatesBench.h"

#include "BenchTools.h"
#include "ComparedPartChooser.h"
#include "Fakes.h"
#include "GeneratedLists.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsView.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTreeView>

#include <cstdio>
#include <utility>

namespace {

// Spelling slips on the first items of that list, in the review and in a plain Python
// grouping of the same rule (bench/slips_reference.py): too slow for the whole list.
void benchSlipsBesidePython(const QString &folder, const QStringList &texts)
{
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    fillList(form, texts);
    menuAction(form, QStringLiteral("Find Near Duplicates"))->trigger();
    NearDuplicatesDialog *dialog = form.nearDuplicates().dialog();
    const Timing slips = timePass([&] { dialog->optionBox(6).setChecked(true); });
    print("  the same on its first items", texts.size(), slips, dialog->summary());
    const QString path = writtenLines(folder + QStringLiteral("/slips.txt"), texts);
    QProcess python;
    QElapsedTimer clock;
    clock.start();
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(TARNWELL_BENCH_DIR "/slips_reference.py"), path});
    if (!python.waitForFinished(-1) || python.exitCode() != 0)
        qFatal("the Python grouping failed");
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    std::printf("  peer: the plain Python grouping %.3f s, %s groups; the review %.4fx of it\n",
                seconds, python.readAllStandardOutput().trimmed().constData(),
                slips.seconds / seconds);
    dialog->close();
}

} // namespace

// Find Near Duplicates on `itemCount` items, a fifth of them a near duplicate of another (an
// accent dropped, capitals, a blank at an end, a zero-width space, a no-break space): the
// grouping with the default boxes and with every box, beside a copy of every text; then the
// review with its groups opened, paged through, and closed.
void benchNearDuplicates(const QString &folder, int itemCount)
{
    std::printf("Find Near Duplicates, %d items:\n", itemCount);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    QRandomGenerator random(11);
    QStringList texts;
    texts.reserve(itemCount);
    for (int i = 0; i < itemCount; ++i) {
        const bool near = i % 5 == 4;
        QString text = QString::fromLatin1(itemText(quint32(near ? i - 1 - random.bounded(3) : i)));
        if (i % 7 == 0)
            text.replace(QLatin1Char('e'), QChar(0xE9));
        if (near) {
            switch (random.bounded(6)) {
            case 0:
                text = text.toUpper();
                break;
            case 1:
                text.append(u' ');
                break;
            case 2:
                text.insert(3, QChar(0x200B));
                break;
            case 3:
                text.replace(QChar(0xE9), QLatin1Char('e'));
                break;
            case 4:
                std::swap(text[1], text[2]); // a slip of the keyboard: "jonh" for "john"
                break;
            default:
                text.replace(QLatin1Char('.'), QChar(0xA0));
                break;
            }
        }
        texts.append(text);
    }
    fillList(form, texts);
    const double copy = copyEveryTextMs(form);
    const QString peer =
        QStringLiteral("(a copy of every text: %1 s)").arg(copy / 1000.0, 0, 'f', 3);
    const Timing opened =
        timePass([&] { menuAction(form, QStringLiteral("Find Near Duplicates"))->trigger(); });
    NearDuplicatesDialog *dialog = form.nearDuplicates().dialog();
    print("grouping, default boxes, and the review shown", itemCount, opened,
          peer + u' ' + dialog->summary());
    const Timing everyBox = timePass([&] {
        dialog->optionBox(4).setChecked(true);
        dialog->optionBox(5).setChecked(true);
    });
    print("grouping, every box", itemCount, everyBox, peer + u' ' + dialog->summary());
    dialog->optionBox(4).setChecked(false);
    dialog->optionBox(5).setChecked(false);
    const Timing slips = timePass([&] { dialog->optionBox(6).setChecked(true); });
    print("grouping, default boxes and spelling slips", itemCount, slips,
          peer + u' ' + dialog->summary());
    dialog->optionBox(6).setChecked(false);
    dialog->optionBox(4).setChecked(true);
    dialog->optionBox(5).setChecked(true);
    benchSlipsBesidePython(folder, texts.mid(0, 10000));
    QTreeView &view = dialog->view();
    const Timing paging = timePass([&] {
        QScrollBar *bar = view.verticalScrollBar();
        for (int step = 0; step <= 20; ++step) {
            bar->setValue(bar->maximum() / 20 * step);
            QCoreApplication::processEvents();
        }
        view.expandRecursively(view.model()->index(0, 0));
        QCoreApplication::processEvents();
    });
    print("the review paged through, end to end", view.model()->rowCount(), paging,
          QStringLiteral("(groups shown as rows)"));

    // What is compared: the address in each item, then its first comma-separated column,
    // with the default boxes; beside a plain Python reference that groups the same items by
    // address, lower-cased.
    dialog->optionBox(4).setChecked(false);
    dialog->optionBox(5).setChecked(false);
    const Timing byAddress =
        timePass([&] { dialog->comparedPart().choose(ComparedPart::Kind::EmailAddress); });
    print("grouping by e-mail address, default boxes", itemCount, byAddress, dialog->summary());
    const Timing byColumn =
        timePass([&] { dialog->comparedPart().choose(ComparedPart::Kind::Column); });
    print("grouping by column 1 (comma), default boxes", itemCount, byColumn, dialog->summary());
    const QString listPath = writtenLines(folder + QStringLiteral("/near-duplicates.txt"), texts);
    const double python = timeShell(
        QStringLiteral("python3 -c 'import re,sys,collections\n"
                       "g=collections.defaultdict(list)\n"
                       "for i,l in enumerate(open(sys.argv[1],encoding=\"utf-8\")):\n"
                       " m=re.search(r\"<([^<>\\s]+@[^<>\\s]+)>\",l) or "
                       "re.fullmatch(r\"[^@]*?([^\\s,;<>()]+@[^\\s,;<>()]+).*\",l.strip())\n"
                       " if not m: continue\n"
                       " k=m.group(1).casefold()\n"
                       " g[k].append(i)\n"
                       "print(sum(1 for v in g.values() if len(v)>1))' \"$1\""),
        listPath);
    std::printf("  peer: a plain Python grouping by address %.3f s; by address %.3fx of it\n",
                python, byAddress.seconds / python);
    dialog->close();
}
