// The benchmark: a large list through the real code paths of the window.
//
//   tarnwell_bench [--no-calc] [--no-jobs | --mailing-jobs-only] [LIST_FILE]
//   tarnwell_bench --search-only     (Find and Check Items With... on a list of many scripts)
//   tarnwell_bench --visible-calc-only (the spreadsheet commands against a visible Calc)
//   tarnwell_bench --near-only [N]   (Find Near Duplicates on N items, 1M)
//   tarnwell_bench --menu-only [N]   (the context menu's commands and Tidy on N items, 1M)
//   tarnwell_bench --tidy-only [N]   (Tidy on N items, 1M)
//   tarnwell_bench --mailing-list FILE COUNT    (writes the mailing-list-shaped list)
//   tarnwell_bench --many-scripts-list FILE COUNT (the same with Greek, Cyrillic and CJK names)
//   tarnwell_bench --scaling SMALL LARGE [PAIRS] (the Match-case job's time per line on both)
//   tarnwell_bench --real-list FILE COUNT [SLIPS_PER_BASE] (a list from the package index,
//                  each base's slips drawn from 3 of its own, or with 0 each slip new)
//   tarnwell_bench --near-real [N] [FILE]  (Find Near Duplicates on N lines of that list, 1M)
//   tarnwell_bench --dense-slips N [CAP_SECONDS] (slips on N items all slips of one another)
//
// Without an argument it writes a list of 1,000,000 e-mail-like items (about 30% duplicates,
// many of them in another letter case) to a temporary file. It times loading, duplicate
// removal under each option, both filters, the load command and saving, reports the longest
// gap between two turns of the event loop during each pass and the process's peak memory, and
// times the shell pipeline `tac FILE | awk '!s[$0]++' | tac` (the same keep-last rule under
// "Match case") on the same file for comparison. The whole job (load, clean, save, then
// undo and redo of the load) runs at 1M and 10M on that list, on one shaped like a merged
// mailing list (mostly duplicates, some upper-cased, some non-ASCII) and on the same shape
// with names of many scripts (Greek, Cyrillic, CJK beside Latin-1), against the pipeline
// and its Ignore-case form with toupper($0). Then, unless --no-calc, it imports a
// 10,000-row, 2-column block from a workbook and exports 100,000 items to a new one, against
// a headless LibreOffice Calc with a private profile.

#include "BenchTools.h"
#include "CalcApplication.h"
#include "CalcBlockBench.h"
#include "CalcTestTools.h"
#include "ComparedPartChooser.h"
#include "Fakes.h"
#include "ItemList.h"
#include "LibreOfficeLauncher.h"
#include "List.h"
#include "ListMenu.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsView.h"
#include "NearRealBench.h"
#include "RealShapedList.h"
#include "RecoveryBench.h"
#include "TextFileImport.h"
#include "UndoHistory.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringMatcher>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <ctime>
#include <unistd.h>

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

const char *const kFirstNames[] = {"anna", "ben",  "carla", "dmitri", "eva",  "farid", "greta",
                                   "hugo", "ines", "jonas", "kira",   "lars", "mona",  "nils"};
const char *const kSurnames[] = {"holloway", "ashby",  "brennan", "castell", "dorn",    "everett",
                                 "fairley",  "garrow", "hensley", "ivers",   "jarrett", "kendal"};
const char *const kDomains[] = {"example.com", "example.org", "example.net", "mail.example",
                                "post.example.com"};

QByteArray itemText(quint32 key)
{
    return QByteArray(kFirstNames[key % 14]) + '.' + kSurnames[(key / 14) % 12] +
           QByteArray::number(key / 168) + '@' + kDomains[key % 5];
}

QString writeGeneratedList(const QString &path, int count)
{
    GeneratedListFile file(path);
    QRandomGenerator random(12345);
    quint32 nextKey = 0;
    for (int i = 0; i < count; ++i) {
        QByteArray text;
        if (nextKey > 0 && random.bounded(100) < 30) {
            text = itemText(random.bounded(nextKey));
            if (random.bounded(2) == 0) // a letter-case variant
                for (char &c : text)
                    if (random.bounded(4) == 0)
                        c = char(toupper(c));
        } else {
            text = itemText(nextKey++);
        }
        file.addLine(text, "\r\n");
    }
    return file.finish();
}

// A list shaped like a merged mailing list: `count` lines (LF) of e-mail-like addresses drawn
// from count / 5 distinct ones, so about 80% are duplicates under "Ignore case"; one line in
// five upper-cased, and about a quarter of the addresses holding non-ASCII letters.
const char *const kAccentedNames[] = {"rené",  "jérôme", "françois", "zoë",    "côté",
                                      "chloé", "léon",   "anaïs",    "müller", "ângela"};

// The same shape with names of many scripts in front: Latin-1 accents, "ß", Greek,
// Cyrillic and CJK, so that one-byte and two-byte texts are mixed all through the list.
const char *const kManyScriptNames[] = {"rené",   "jérôme",  "straße", "müller", "ζωή",
                                        "αλέξης", "дмитрий", "ольга",  "王芳",   "佐藤"};

QString writeMailingList(const QString &path, int count,
                         const char *const (&names)[10] = kAccentedNames)
{
    GeneratedListFile file(path);
    QRandomGenerator random(20261207);
    const quint32 distinct = quint32(std::max(1, count / 5));
    for (int i = 0; i < count; ++i) {
        const quint32 key = random.bounded(distinct);
        QByteArray text = itemText(key);
        if (key % 4 == 0) // about a quarter: a non-ASCII name in front
            text.prepend(QByteArray(names[(key / 4) % 10]) + '.');
        if (random.bounded(5) == 0)
            text = QString::fromUtf8(text).toUpper().toUtf8();
        file.addLine(text, "\n");
    }
    return file.finish();
}

double timePipeline(const QString &path)
{
    return timeShell(QStringLiteral("tac \"$1\" | awk '!s[$0]++' | tac"), path);
}

// The same keep-last rule with letter case ignored.
double timeIgnoreCasePipeline(const QString &path)
{
    return timeShell(QStringLiteral("tac \"$1\" | awk '!s[toupper($0)]++' | tac"), path);
}

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

// A workbook of `rows` rows: a text in column A, numbers in the other columns.
QString writeWorkbook(LibreOfficeLauncher &launcher, const QString &path, int rows, int columns = 2)
{
    using namespace css;
    std::unique_ptr<ExcelApplication> app = launcher.CreateObject();
    app->WorkbooksAdd();
    const uno::Reference<frame::XModel> model = static_cast<CalcApplication &>(*app).workbook();
    uno::Reference<table::XCellRange> sheet(firstSheet(model), uno::UNO_QUERY_THROW);
    uno::Sequence<uno::Sequence<uno::Any>> data(rows);
    for (int row = 0; row < rows; ++row) {
        uno::Sequence<uno::Any> cells(columns);
        cells.getArray()[0] <<= toOUString(QString::fromLatin1(itemText(quint32(row % 7000))));
        for (int column = 1; column < columns; ++column)
            cells.getArray()[column] <<= double(row) * 1.25 + column;
        data.getArray()[row] = cells;
    }
    uno::Reference<sheet::XCellRangeData>(
        sheet->getCellRangeByPosition(0, 0, columns - 1, rows - 1), uno::UNO_QUERY_THROW)
        ->setDataArray(data);
    return storeAndClose(model, path, "calc8");
}
// commands.
double copyEveryTextMs(Form1 &form)
{
    return millisecondsOf([&] {
        TextPool copied;
        copied.reserve(form.items().count(), form.items().texts().byteCount());
        for (qsizetype i = 0; i < form.items().count(); ++i)
            copied.append(form.items().text(i));
    });
}

// The context menu's commands on 1,000,000 items: undo of a large duplicate removal, the
// history's memory, check marks in bulk, the suppression list and find. Each figure stands
// beside a peer from the same run: the duplicate removal it undoes, or a plain pass over the
// items.
void benchListMenu(const QString &folder, int kItems = 1000000)
{
    std::printf("context menu, %d items:\n", kItems);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    QStringList texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i)
        texts.append(QString::fromLatin1(itemText(quint32(i % (kItems / 2)))));
    fillList(form, texts);
    const double plainPass = millisecondsOf([&] {
        qsizetype characters = 0;
        for (qsizetype i = 0; i < form.items().count(); ++i)
            characters += form.items().text(i).size();
        if (characters == 0)
            std::puts("");
    });

    const double removal = millisecondsOf(
        [&] { window.control<QPushButton>("PushButton22")->click(); }); // sample + removal
    const qsizetype left = form.items().count();
    const double undo =
        millisecondsOf([&] { menuAction(form, QStringLiteral("Undo"))->trigger(); });
    std::printf("  duplicate removal of %lld items %8.1f ms; its undo %8.1f ms (%lld items back)\n",
                static_cast<long long>(kItems + 7 - left), removal, undo,
                static_cast<long long>(form.items().count()));
    menuAction(form, QStringLiteral("Redo"))->trigger();
    menuAction(form, QStringLiteral("Undo"))->trigger();

    // The history's memory: 20 steps of every kind, then what letting go of them gives back.
    // Filters that each take about one item in 170, so the list stays near its size.
    const QStringList filters = {"nils.kendal", "mona.jarrett", "kira.ivers", "lars.hensley"};
    for (int step = 0; step < 20; ++step) {
        switch (step % 5) {
        case 0:
            menuAction(form, QStringLiteral("Invert Check Marks"))->trigger();
            break;
        case 1:
            window.prompts.typed.push_back(filters[(step / 5) % filters.size()]);
            window.control<QPushButton>("PushButton17")->click();
            break;
        case 2:
            window.control<QLineEdit>("Text1")->setText(QStringLiteral("new %1").arg(step));
            window.control<QPushButton>("PushButton2")->click();
            break;
        case 3:
            window.control<QPushButton>("PushButton22")->click();
            break;
        default:
            menuAction(form, QStringLiteral("Check All Items"))->trigger();
            break;
        }
    }
    malloc_trim(0);
    const long withHistory = memoryKb("VmRSS");
    const qsizetype listSize = form.items().count();
    form.history().stack().clear();
    malloc_trim(0);
    const long without = memoryKb("VmRSS");
    std::printf("  history of the last 20 steps: %.1f MB (the list itself: %lld items)\n",
                double(withHistory - without) / 1024.0, static_cast<long long>(listSize));
    // The rest starts again from the whole list, as one step.
    form.items().clear();
    {
        const UndoHistory::Command fill(form.history(), QStringLiteral("Fill"));
        std::vector<QStringView> views(texts.begin(), texts.end());
        form.items().appendAll(views);
    }

    for (const char *command : {"Check All Items", "Uncheck All Items", "Invert Check Marks"}) {
        const Timing took =
            timePass([&] { menuAction(form, QString::fromLatin1(command))->trigger(); });
        print(command, kItems, took,
              QStringLiteral("(a plain pass over the items: %1 ms)").arg(plainPass, 0, 'f', 1));
        printUndoAndRedo(form, command, kItems);
        menuAction(form, QStringLiteral("Redo"))->trigger(); // the marks as they were set
    }
    window.prompts.typed.push_back(QStringLiteral("anna"));
    const Timing checkWith =
        timePass([&] { menuAction(form, QStringLiteral("Check Items With"))->trigger(); });
    print("Check Items With \"anna\"", kItems, checkWith);
    printUndoAndRedo(form, "Check Items With \"anna\"", kItems);

    const QString needle = form.items().text(form.items().count() - 1).toString();
    form.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))
        ->setCurrentIndex(form.items().index(0, 0));
    window.prompts.typed.push_back(needle);
    const Timing findLast =
        timePass([&] { menuAction(form, QStringLiteral("Find..."))->trigger(); });
    print("Find, the last item", kItems, findLast);
    window.prompts.typed.push_back(QStringLiteral("no such text"));
    const Timing findNone =
        timePass([&] { menuAction(form, QStringLiteral("Find..."))->trigger(); });
    print("Find, a text nowhere", kItems, findNone);

    // A suppression file of 1,000,000 lines: every other distinct item, and as many that
    // are not in the list.
    const QString suppression = folder + QStringLiteral("/unsubscribed.txt");
    {
        QFile file(suppression);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(suppression));
        QByteArray buffer;
        for (int i = 0; i < kItems; ++i)
            buffer +=
                (i % 2 == 0 ? itemText(quint32(i / 2 * 2)) : "gone" + QByteArray::number(i)) + "\n";
        file.write(buffer);
    }
    window.fileDialogs.answers.push_back({suppression});
    const Timing suppress =
        timePass([&] { menuAction(form, QStringLiteral("Remove Items Listed"))->trigger(); });
    const QByteArray lines = QByteArray::number(kItems) + " lines";
    print(QByteArray("Remove Items Listed in File(s), " + lines).constData(), kItems, suppress,
          window.control<QWidget>("Label1")->property("text").toString());
    printUndoAndRedo(form, "Remove Items Listed in File(s)", kItems);
    window.fileDialogs.answers.push_back({suppression});
    const Timing keep =
        timePass([&] { menuAction(form, QStringLiteral("Keep Only Items Listed"))->trigger(); });
    print(QByteArray("Keep Only Items Listed in File(s), " + lines).constData(), kItems, keep,
          window.control<QWidget>("Label1")->property("text").toString());
    printUndoAndRedo(form, "Keep Only Items Listed in File(s)", kItems);

    // The clipboard and the selection, each beside its peer: copying all items beside a plain
    // pass over them, pasting them into an empty list beside loading the same lines from a
    // file, removing every selected item beside Clear All Items.
    auto *view = form.findChild<QAbstractItemView *>(QStringLiteral("ListView1"));
    view->selectAll();
    const Timing copy = timePass([&] { menuAction(form, QStringLiteral("Copy"))->trigger(); });
    print("Copy, every item selected", form.items().count(), copy,
          QStringLiteral("(a plain pass over the items: %1 ms)").arg(plainPass, 0, 'f', 1));
    const QString copied = QGuiApplication::clipboard()->text();
    const QString copiedFile = folder + QStringLiteral("/copied.txt");
    {
        QFile file(copiedFile);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(copiedFile));
        file.write(copied.toUtf8());
    }
    const Timing removeSelected =
        timePass([&] { window.control<QPushButton>("PushButton19")->click(); });
    print("Remove Selected Item, every item selected", kItems, removeSelected);
    printUndoAndRedo(form, "Remove Selected Item", kItems);

    // Sorting the million items beside GNU sort of the same lines (the copied file) in the
    // same locale, natural order as its -V.
    const Timing sorted =
        timePass([&] { menuAction(form, QStringLiteral("Sort A to Z"))->trigger(); });
    print("Sort A to Z", form.items().count(), sorted,
          QStringLiteral("(sort -V in the same locale: %1 s)")
              .arg(timeShell(QStringLiteral("sort -V \"$1\""), copiedFile), 0, 'f', 3));
    printUndoAndRedo(form, "Sort A to Z", kItems);
    menuAction(form, QStringLiteral("Redo"))->trigger(); // sorted, for Reverse Order
    const Timing reversed =
        timePass([&] { menuAction(form, QStringLiteral("Reverse Order"))->trigger(); });
    print("Reverse Order", form.items().count(), reversed,
          QStringLiteral("(tac: %1 s)")
              .arg(timeShell(QStringLiteral("tac \"$1\""), copiedFile), 0, 'f', 3));
    printUndoAndRedo(form, "Reverse Order", kItems);
    menuAction(form, QStringLiteral("Redo"))->trigger();
    menuAction(form, QStringLiteral("Undo"))->trigger();
    menuAction(form, QStringLiteral("Undo"))->trigger();
    const Timing clearAll = timePass([&] { window.control<QPushButton>("PushButton1")->click(); });
    print("  its peer: Clear All Items", kItems, clearAll);
    const Timing paste =
        timePass([&] { menuAction(form, QStringLiteral("Paste Items"))->trigger(); });
    print(QByteArray("Paste Items, " + lines + " into an empty list").constData(),
          form.items().count(), paste,
          QStringLiteral("%1 MB").arg(double(copied.size()) * 2 / 1e6, 0, 'f', 1));
    window.control<QPushButton>("PushButton1")->click();
    window.fileDialogs.answers.push_back({copiedFile});
    const Timing load = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("  its peer: Load List From Text File, the same lines", form.items().count(), load);
}

// An entry of the list menu's submenu `submenu`.
QAction *submenuAction(Form1 &form, const QString &submenu, const QString &text)
{
    for (QAction *action : form.listMenu().menu().actions()) {
        if (action->menu() == nullptr || QString(action->text()).remove(u'&') != submenu)
            continue;
        for (QAction *entry : action->menu()->actions()) {
            if (QString(entry->text()).remove(u'&') == text)
                return entry;
        }
    }
    qFatal("no menu entry %s", qPrintable(text));
}

// The Tidy commands on 1,000,000 dirty items (blanks at either end, no-break and zero-width
// spaces, empty items, capitals), each taken back after, beside a copy of every item's text
// into a new list in the same run.
void benchTidy(const QString &folder, int kItems = 1000000)
{
    std::printf("Tidy, %d items:\n", kItems);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    QRandomGenerator random(7);
    QStringList texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
        QString text = QString::fromLatin1(itemText(quint32(i)));
        switch (random.bounded(33)) {
        case 0:
            text.prepend(u' ');
            break;
        case 1:
            text.append(u'\t');
            break;
        case 2:
            text.insert(4, QChar(0x00A0));
            break;
        case 3:
            text.insert(2, QChar(0x200B));
            break;
        case 4:
            text = text.toUpper();
            break;
        case 5:
            text = QStringLiteral("  ");
            break;
        default:
            break;
        }
        texts.append(text);
    }
    fillList(form, texts);
    const double copy = copyEveryTextMs(form);
    for (const char *command :
         {"Trim Blanks", "Collapse Inner Blanks", "Remove Invisible Characters",
          "Remove Empty Items", "Lower Case", "Upper Case"}) {
        const Timing timing = timePass([&] {
            submenuAction(form, QStringLiteral("Tidy"), QString::fromLatin1(command))->trigger();
        });
        const QString status = window.control<QLabel>("Label1")->text();
        print(command, kItems, timing,
              QStringLiteral("(a copy of every text: %1 s) %2")
                  .arg(copy / 1000.0, 0, 'f', 3)
                  .arg(status));
        printUndoAndRedo(form, command, kItems);
        if (form.items().count() != kItems)
            qFatal("undo of %s left %lld items", command,
                   static_cast<long long>(form.items().count()));
    }
}

// Find and Check Items With... on 1,000,000 names of many scripts, as real lists hold them: a
// quarter with Latin-1 accents, one in twenty Greek or Cyrillic, one in a hundred with an
// accent written as a letter and a combining mark. Beside each, its peer in the same run: a
// plain case-blind QStringMatcher pass over the same items, which neither reads accents alike
// nor leaves a letter's accent out of a match.
void benchSearch(const QString &folder)
{
    constexpr int kItems = 1000000;
    std::printf("Find and Check Items With..., %d items of many scripts:\n", kItems);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    const QString forms[] = {
        QStringLiteral("anna.berg%1@example.org"),
        QStringLiteral("J\u00FCrgen M\u00FCller%1 <jm@example.de>"),
        QStringLiteral("\u0391\u03BB\u03AD\u03BE\u03B1\u03BD\u03B4\u03C1\u03BF\u03C2%1"),
        QStringLiteral("Zoe\u0308 Mu\u0308ller%1")};
    QStringList texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
        const int shape = i % 100 == 0 ? 3 : i % 20 == 1 ? 2 : i % 4 == 2 ? 1 : 0;
        texts.append(forms[shape].arg(i));
    }
    fillList(form, texts);
    for (const QString &needle :
         {QStringLiteral("M\u00DCLLER42"), QStringLiteral("no such text")}) {
        const double plain = millisecondsOf([&] {
            const QStringMatcher matcher(needle, Qt::CaseInsensitive);
            qsizetype found = 0;
            for (qsizetype i = 0; i < form.items().count(); ++i)
                found += matcher.indexIn(Utf16Text(form.items().text(i))) >= 0 ? 1 : 0;
            if (found < 0)
                std::puts("");
        });
        window.prompts.typed.push_back(needle);
        const double checkWith = millisecondsOf(
            [&] { menuAction(form, QStringLiteral("Check Items With"))->trigger(); });
        window.prompts.typed.push_back(needle);
        const double find =
            millisecondsOf([&] { menuAction(form, QStringLiteral("Find..."))->trigger(); });
        std::printf("  \"%s\": Check Items With %8.1f ms, Find %8.1f ms; the plain pass %8.1f ms "
                    "(%.2fx, %.2fx)\n",
                    qPrintable(needle), checkWith, find, plain, checkWith / plain, find / plain);
    }
}

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

// Find Near Duplicates on `itemCount` items, a fifth of them a near duplicate of another (an
// accent dropped, capitals, a blank at an end, a zero-width space, a no-break space): the
// grouping with the default boxes and with every box, beside a copy of every text; then the
// review with its groups opened, paged through, and closed.
void benchNearDuplicates(const QString &folder, int itemCount = 1000000)
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

// One 20 MB line: load it, then repaint, add an item and re-test the window as a user would;
// each against the same action on a list of short items in the same run.
void benchLongLine(const QString &folder)
{
    const QString path = folder + QStringLiteral("/one-line.txt");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(QByteArray(20 * 1024 * 1024, 'x'));
    }
    const auto actions = [&](TestWindow &window, const char *label) {
        Form1 &form = *window.form;
        form.show();
        QElapsedTimer clock;
        clock.start();
        form.grab();
        const double repaint = double(clock.nsecsElapsed()) / 1e6;
        window.control<QLineEdit>("Text1")->setText(QStringLiteral("one more"));
        clock.restart();
        window.control<QPushButton>("PushButton2")->click();
        form.grab();
        const double add = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        form.hide();
        form.show();
        form.grab();
        const double restore = double(clock.nsecsElapsed()) / 1e6;
        std::printf("  %-30s repaint %7.2f ms  Add %7.2f ms  hide+show %7.2f ms\n", label, repaint,
                    add, restore);
        return repaint + add + restore;
    };

    TestWindow window(folder);
    window.fileDialogs.answers.push_back({path});
    Timing load = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("Load List From Text File, one 20 MB line", 1, load);
    const double peer = timePipeline(path);
    std::printf("  pipeline on that file %.3f s; load / pipeline: %.2fx\n", peer,
                load.seconds / peer);
    const double withLong = actions(window, "after the 20 MB line:");

    TestWindow shortItems(folder);
    shortItems.control<QPushButton>("PushButton22")->click();
    const double withShort = actions(shortItems, "after the sample list:");
    std::printf("  actions, 20 MB line / sample list: %.2fx\n", withLong / withShort);
}

// The real window with a real Calc behind it (a private profile) and fakes for the rest.
struct CalcWindow
{
    CalcWindow(const QString &folder, const QString &profile, bool headless)
        : launcher(options(folder + u'/' + profile, headless)),
          form(Services{prompts, dialogs, shell, random, launcher, folder})
    {
        form.show();
    }
    static LibreOfficeLauncher::Options options(const QString &profile, bool headless)
    {
        LibreOfficeLauncher::Options result;
        result.profileFolder = profile;
        result.headless = headless;
        return result;
    }

    LibreOfficeLauncher launcher;
    FakePrompts prompts;
    FakeFileDialogs dialogs;
    FakeShell shell;
    FakeRandom random;
    Form1 form;
};

// Spreadsheet import and export through the window's commands, against a headless Calc with
// a private profile.
void benchCalc(const QString &folder)
{
    CalcWindow calc(folder, QStringLiteral("calc-profile"), true);
    LibreOfficeLauncher &launcher = calc.launcher;
    FakePrompts &prompts = calc.prompts;
    FakeFileDialogs &dialogs = calc.dialogs;
    Form1 &form = calc.form;

    QElapsedTimer started;
    started.start();
    const QString book = writeWorkbook(launcher, folder + QStringLiteral("/block.ods"), 10000);
    std::printf("start headless Calc and write a 10,000-row workbook: %.3f s\n",
                double(started.nsecsElapsed()) / 1e9);

    // The user has the workbook open and has marked A1:B10000 in it.
    std::unique_ptr<ExcelApplication> users = launcher.CreateObject();
    users->WorkbooksOpen(book);
    static_cast<CalcApplication &>(*users).select(CellBlock{0, 1, 1, 10000, 2});
    dialogs.answers.push_back({book});
    Timing import =
        timePass([&] { form.findChild<QPushButton *>(QStringLiteral("PushButton18"))->click(); });
    print("Load List From Excel File, 10,000 x 2 block", 10000, import,
          QStringLiteral("%1 items").arg(form.items().count()));

    form.items().clear();
    ItemList &items = form.items();
    std::vector<QString> texts;
    for (int i = 0; i < 100000; ++i)
        texts.push_back(QString::fromLatin1(itemText(quint32(i))));
    items.appendAll(std::vector<QStringView>(texts.begin(), texts.end()));
    for (qsizetype i = 0; i < items.count(); ++i)
        items.setChecked(i, true);
    Timing save =
        timePass([&] { form.findChild<QPushButton *>(QStringLiteral("PushButton15"))->click(); });
    print("Save List To Excel File, 100,000 items", 100000, save);
    if (!prompts.errorReports().isEmpty())
        std::printf("error reports: %s\n", qPrintable(prompts.errorReports().join(u'|')));
    launcher.terminatePrivateOffice();
}

// Both spreadsheet commands where users are: a visible Calc (in an Xvfb server of its own),
// cold (the office has to start first) and warm (it runs already).
void benchVisibleCalc(const QString &folder)
{
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!xvfb.waitForStarted(10000) || !xvfb.waitForReadyRead(10000)) {
        std::printf("visible Calc: no Xvfb server\n");
        return;
    }
    const QByteArray display = ":" + xvfb.readLine().trimmed();
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", display); // for the office this starts; the window stays offscreen

    CalcWindow calc(folder, QStringLiteral("visible-profile"), false);
    LibreOfficeLauncher &launcher = calc.launcher;
    FakePrompts &prompts = calc.prompts;
    FakeFileDialogs &dialogs = calc.dialogs;
    Form1 &form = calc.form;
    auto *save = form.findChild<QPushButton *>(QStringLiteral("PushButton15"));

    const auto fill = [&](int count) {
        form.items().clear();
        std::vector<QString> texts;
        for (int i = 0; i < count; ++i)
            texts.push_back(QString::fromLatin1(itemText(quint32(i))));
        form.items().appendAll(std::vector<QStringView>(texts.begin(), texts.end()));
        form.items().replaceChecks(std::vector<quint8>(size_t(count), 1));
    };
    fill(100000);
    const Timing cold = timePass([&] { save->click(); });
    print("visible Calc, cold: Save List To Excel File", 100000, cold);
    const Timing warm = timePass([&] { save->click(); });
    print("visible Calc, warm: Save List To Excel File", 100000, warm);
    // The peer: the same 100,000 items made a workbook by a headless office of its own,
    // started for the conversion as the export may start one.
    {
        const QString items = folder + QStringLiteral("/export-peer.txt");
        QFile file(items);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(items));
        file.write("Items:\n");
        for (int i = 0; i < 100000; ++i)
            file.write(itemText(quint32(i)) + '\n');
        file.close();
        const QString profile =
            QUrl::fromLocalFile(folder + QStringLiteral("/peer-profile")).toString();
        const double peer = timeShell(
            QStringLiteral("soffice --headless -env:UserInstallation=%1 --infilter=CSV:9,34,76 "
                           "--convert-to ods --outdir \"$(dirname \"$1\")\" \"$1\"")
                .arg(profile),
            items);
        std::printf("  peer: soffice --headless --convert-to ods of the same items %.3f s; "
                    "cold %.2fx, warm %.2fx of it\n",
                    peer, cold.seconds / peer, warm.seconds / peer);
    }
    fill(1000000);
    print("visible Calc, warm: Save List To Excel File", 1000000, timePass([&] { save->click(); }));

    // The user has a workbook open and a 100,000 x 5 block marked in it.
    const QString book = writeWorkbook(launcher, folder + QStringLiteral("/wide.ods"), 100000, 5);
    std::unique_ptr<ExcelApplication> users = launcher.CreateObject();
    users->WorkbooksOpen(book);
    users->setVisible(true);
    static_cast<CalcApplication &>(*users).select(CellBlock{0, 1, 1, 100000, 5});
    form.items().clear();
    dialogs.answers.push_back({book});
    const Timing import =
        timePass([&] { form.findChild<QPushButton *>(QStringLiteral("PushButton18"))->click(); });
    print("visible Calc, warm: Load List From Excel File, 100,000 x 5", 100000, import,
          QStringLiteral("%1 items").arg(form.items().count()));
    if (!prompts.errorReports().isEmpty())
        std::printf("error reports: %s\n", qPrintable(prompts.errorReports().join(u'|')));

    users.reset();
    launcher.terminatePrivateOffice();
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    if (savedDisplay.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", savedDisplay);
}

// The item count given after `option`, or a million.
int sizeAfter(const QStringList &options, const QString &option)
{
    const int given = options.value(options.indexOf(option) + 1).toInt();
    return given > 0 ? given : 1000000;
}

} // namespace

// Each command on its own over one list file, with the longest event-loop gap it leaves.
void benchCommands(const QString &folder, const QString &listPath)
{
    std::printf("list file: %s (%.1f MB)\n", qPrintable(listPath),
                double(QFile(listPath).size()) / 1e6);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    auto *ignoreCase = window.control<QRadioButton>("Option1");
    auto *matchCase = window.control<QRadioButton>("Option2");
    ItemList &items = form.items();

    // Loading alone, then duplicate removal alone, under each option.
    qsizetype count = 0;
    Timing load = timePass([&] { List::TextFileToListview(items, listPath, form); });
    count = items.count();
    print("load file into the list", count, load);

    matchCase->setChecked(true);
    Timing dedupeMatch = timePass([&] { List::RemoveDupesAll(items, form); });
    print("RemoveDupesAll, Match case", count, dedupeMatch,
          QStringLiteral("%1 items left").arg(items.count()));
    std::printf("  status: %s\n",
                qPrintable(window.control<QWidget>("Label1")->property("text").toString()));

    items.clear();
    List::TextFileToListview(items, listPath, form);
    ignoreCase->setChecked(true);
    Timing dedupeIgnore = timePass([&] { List::RemoveDupesAll(items, form); });
    print("RemoveDupesAll, Ignore case", count, dedupeIgnore,
          QStringLiteral("%1 items left").arg(items.count()));

    items.clear();
    List::TextFileToListview(items, listPath, form);
    Timing with = timePass([&] { List::RemoveItemsWith(items, QStringLiteral("7"), form); });
    print("RemoveItemsWith \"7\"", count, with, QStringLiteral("%1 items left").arg(items.count()));

    items.clear();
    List::TextFileToListview(items, listPath, form);
    Timing without;
    {
        const UndoHistory::Command step(form.history(), QStringLiteral("Remove Items Without"));
        without = timePass([&] { List::RemoveItemsWithout(items, QStringLiteral(".com"), form); });
    }
    print("RemoveItemsWithout \".com\"", count, without,
          QStringLiteral("%1 items left").arg(items.count()));
    // Undo, then Redo, of the step just taken, from the context menu.
    const auto undoAndRedo = [&](const QString &afterUndo) {
        const Timing undo = timePass([&] { menuAction(form, QStringLiteral("Undo"))->trigger(); });
        print("  its undo", count, undo,
              QStringLiteral("%1 items %2").arg(items.count()).arg(afterUndo));
        const Timing redo = timePass([&] { menuAction(form, QStringLiteral("Redo"))->trigger(); });
        print("  its redo", count, redo, QStringLiteral("%1 items left").arg(items.count()));
    };
    undoAndRedo(QStringLiteral("back"));
    const Timing clearAll = timePass([&] { window.control<QPushButton>("PushButton1")->click(); });
    print("Clear All Items", count, clearAll);

    // The commands as a user runs them.
    items.clear();
    matchCase->setChecked(true);
    window.fileDialogs.answers.push_back({listPath});
    Timing loadCommand = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("Load List From Text File (Match case)", count, loadCommand,
          QStringLiteral("%1 items left").arg(items.count()));
    undoAndRedo(QStringLiteral("left"));

    // The same onto a list that already holds an item.
    window.control<QPushButton>("PushButton1")->click();
    items.append(u"already there");
    window.fileDialogs.answers.push_back({listPath});
    const Timing loadOnto = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("Load List From Text File onto one item", count, loadOnto,
          QStringLiteral("%1 items left").arg(items.count()));
    undoAndRedo(QStringLiteral("left"));

    const QString savePath = QDir(folder).filePath(QStringLiteral("saved.txt"));
    window.fileDialogs.answers.push_back({savePath});
    const qsizetype saved = items.count();
    Timing save = timePass([&] { window.control<QPushButton>("PushButton20")->click(); });
    print("Save List To Text File", saved, save,
          QStringLiteral("%1 MB").arg(double(QFile(savePath).size()) / 1e6, 0, 'f', 1));

    const double pipeline = timePipeline(listPath);
    std::printf("%-44s %8.3f s %10.2f M items/s\n", "tac FILE | awk '!s[$0]++' | tac", pipeline,
                double(count) / pipeline / 1e6);
    std::printf("pipeline / RemoveDupesAll (Match case): %.1fx\n", pipeline / dedupeMatch.seconds);
    std::printf("pipeline / RemoveDupesAll (Ignore case): %.1fx\n",
                pipeline / dedupeIgnore.seconds);
    std::printf("pipeline / load file into the list: %.1fx\n", pipeline / load.seconds);
    std::printf("pipeline / Load List From Text File: %.1fx\n", pipeline / loadCommand.seconds);
    std::printf("peak memory: %ld MB\n", peakMemoryMb());
}

namespace {
const char kUsage[] =
    "Usage: tarnwell_bench [--no-calc] [--no-jobs | --mailing-jobs-only] [LIST_FILE]\n"
    "       tarnwell_bench --search-only | --visible-calc-only | --calc-blocks-only [ROWS]\n"
    "       tarnwell_bench --near-only [N] | --menu-only [N] | --tidy-only [N]\n"
    "       tarnwell_bench --mailing-list FILE COUNT | --many-scripts-list FILE COUNT\n"
    "       tarnwell_bench --scaling SMALL LARGE [PAIRS]\n"
    "       tarnwell_bench --job LIST_FILE match|ignore [KEEP_SAVED_FILE_AS]\n"
    "       tarnwell_bench --real-list FILE COUNT [SLIPS_PER_BASE]\n"
    "       tarnwell_bench --near-real [N] [FILE]\n"
    "       tarnwell_bench --dense-slips N [CAP_SECONDS]\n"
    "       tarnwell_bench --recovery-only [N] [ROUNDS]\n"
    "Without an option: the whole job at 1M and 10M lines, each command alone, the context\n"
    "menu, Find, Tidy, Find Near Duplicates and the spreadsheet commands (about ten\n"
    "minutes). The README's benchmark paragraph says what each option measures.\n";

// The option that is none of the benchmark's, if any: a mistyped one would otherwise run the
// whole benchmark.
QString unknownOption(const QStringList &arguments)
{
    static const QStringList known = {
        "--no-calc",      "--no-jobs",           "--mailing-jobs-only",
        "--search-only",  "--visible-calc-only", "--calc-blocks-only",
        "--near-only",    "--menu-only",         "--tidy-only",
        "--mailing-list", "--many-scripts-list", "--scaling",
        "--job",          "--real-list",         "--near-real",
        "--dense-slips",  "--dense-slips-child", "--recovery-only"};
    for (const QString &argument : arguments.mid(1)) {
        if (argument.startsWith(u'-') && !known.contains(argument))
            return argument;
    }
    return {};
}
} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QStringList options = app.arguments();
    if (const QString unknown = unknownOption(options); !unknown.isEmpty()) {
        std::fprintf(stderr, "tarnwell_bench: unknown option %s\n%s", qPrintable(unknown), kUsage);
        return 2;
    }
    if (options.size() == 4 && options[1] == u"--mailing-list") {
        writeMailingList(options[2], options[3].toInt());
        return 0;
    }
    if (options.size() == 4 && options[1] == u"--many-scripts-list") {
        writeMailingList(options[2], options[3].toInt(), kManyScriptNames);
        return 0;
    }
    // --job LIST_FILE match|ignore [KEEP_SAVED_FILE_AS]
    if (options.size() >= 4 && options[1] == u"--job")
        return runJob(options[2], options[3] == u"match", options.value(4));
    if (options.size() >= 4 && options[1] == u"--scaling") {
        benchScaling(options[2], options[3], std::max(1, options.value(4).toInt()));
        return 0;
    }
    if (options.size() >= 4 && options[1] == u"--real-list") {
        std::printf("%lld bases\n", static_cast<long long>(writeRealShapedList(
                                        options[2], options[3].toInt(),
                                        options.value(4, QStringLiteral("3")).toInt())));
        return 0;
    }
    // --dense-slips-child N CAP_SECONDS: the measured part of --dense-slips
    if (options.size() == 4 && options[1] == u"--dense-slips-child")
        return runDenseSlips(options[2].toInt(), options[3].toInt());
    if (options.size() >= 3 && options[1] == u"--dense-slips") {
        benchDenseSlips(options[2].toInt(), options.size() > 3 ? options[3].toInt() : 120);
        return 0;
    }

    TestFolders folders;
    if (options.contains(QStringLiteral("--visible-calc-only"))) {
        benchVisibleCalc(folders.program.path());
        return 0;
    }
    if (options.contains(QStringLiteral("--calc-blocks-only"))) {
        // 650,000 rows of six columns, or the rows given after it.
        const int given =
            options.value(options.indexOf(QStringLiteral("--calc-blocks-only")) + 1).toInt();
        benchCalcBlocks(folders.program.path(), given > 0 ? given : 650000);
        return 0;
    }
    if (options.contains(QStringLiteral("--menu-only"))) {
        // The context menu's commands and Tidy at 1M items, or at the size given after it.
        const int items = sizeAfter(options, QStringLiteral("--menu-only"));
        benchListMenu(folders.program.path(), items);
        benchTidy(folders.program.path(), items);
        return 0;
    }
    if (options.contains(QStringLiteral("--tidy-only"))) {
        const int items = sizeAfter(options, QStringLiteral("--tidy-only"));
        benchTidy(folders.program.path(), items);
        return 0;
    }
    if (options.contains(QStringLiteral("--near-only"))) {
        const int items = sizeAfter(options, QStringLiteral("--near-only"));
        benchNearDuplicates(folders.program.path(), items);
        return 0;
    }
    if (options.contains(QStringLiteral("--near-real"))) {
        // [N] [FILE]: a list written by --real-list, or one written now.
        const qsizetype at = options.indexOf(QStringLiteral("--near-real"));
        bool counted = false;
        const int given = options.value(at + 1).toInt(&counted);
        const QString file = options.value(at + (counted ? 2 : 1));
        benchNearReal(folders.program.path(), counted && given > 0 ? given : 1000000,
                      file.startsWith(u'-') ? QString() : file);
        return 0;
    }
    if (options.contains(QStringLiteral("--recovery-only"))) {
        // [N] [ROUNDS]: a session's commands on N lines (1M and 10M unless given), with the
        // list kept for recovery and without.
        const qsizetype at = options.indexOf(QStringLiteral("--recovery-only"));
        const int given = options.value(at + 1).toInt();
        const int rounds = std::max(1, options.value(at + 2).toInt());
        for (const int size :
             given > 0 ? std::vector<int>{given} : std::vector<int>{1000000, 10000000}) {
            const QString path = writeGeneratedList(
                folders.program.filePath(QStringLiteral("recovery-%1.txt").arg(size)), size);
            benchRecovery(folders.program.path(), path, rounds);
            QFile::remove(path);
        }
        return 0;
    }
    if (options.contains(QStringLiteral("--search-only"))) {
        benchSearch(folders.program.path());
        return 0;
    }
    // The whole job at each size, in processes of their own, against the pipeline: on the
    // benchmark's own list, then on one shaped like a merged mailing list.
    for (const int size : {1000000, 10000000}) {
        if (options.contains(QStringLiteral("--no-jobs")) ||
            options.contains(QStringLiteral("--mailing-jobs-only")))
            break;
        const QString path = writeGeneratedList(
            folders.program.filePath(QStringLiteral("job-%1.txt").arg(size)), size);
        benchJobs(path, size, "the benchmark's list");
        if (size > 1000000)
            QFile::remove(path);
    }
    for (const int size : {1000000, 10000000}) {
        if (options.contains(QStringLiteral("--no-jobs")))
            break;
        const QString path = writeMailingList(
            folders.program.filePath(QStringLiteral("mailing-%1.txt").arg(size)), size);
        benchJobs(path, size, "a merged mailing list");
        QFile::remove(path);
    }
    // And on one of many scripts: a load that meets two-byte texts after a long run of
    // one-byte ones must not hold the window up.
    for (const int size : {1000000, 10000000}) {
        if (options.contains(QStringLiteral("--no-jobs")))
            break;
        const QString path =
            writeMailingList(folders.program.filePath(QStringLiteral("scripts-%1.txt").arg(size)),
                             size, kManyScriptNames);
        benchJobs(path, size, "a mailing list of many scripts");
        QFile::remove(path);
    }
    if (options.contains(QStringLiteral("--mailing-jobs-only")))
        return 0;

    const QStringList arguments =
        app.arguments().mid(1).filter(QRegularExpression(QStringLiteral("^[^-]")));
    if (!arguments.isEmpty()) {
        benchCommands(folders.program.path(), arguments.front());
    } else {
        for (const int size : {1000000, 10000000}) {
            const QString path = folders.program.filePath(QStringLiteral("job-%1.txt").arg(size));
            if (!QFile::exists(path))
                writeGeneratedList(path, size);
            benchCommands(folders.program.path(), path);
            if (size > 1000000)
                QFile::remove(path);
        }
    }

    benchLongLine(folders.program.path());
    benchListMenu(folders.program.path());
    benchSearch(folders.program.path());
    benchTidy(folders.program.path());
    benchNearDuplicates(folders.program.path());

    if (!app.arguments().contains(QStringLiteral("--no-calc"))) {
        benchCalc(folders.program.path());
        benchCalcBlocks(folders.program.path(), 650000);
        benchVisibleCalc(folders.program.path());
    }
    return 0;
}
