// The benchmark: a large list through the real code paths of the window, each figure beside a
// peer measured in the same run. Here the options are read and each benchmark run; each one is
// in a file of its own, and bench/README.md says what every option measures.

#include "CalcBench.h"
#include "CalcBlockBench.h"
#include "CommandsBench.h"
#include "DenseSlipsBench.h"
#include "Fakes.h"
#include "GeneratedLists.h"
#include "JobBench.h"
#include "ListMenuBench.h"
#include "LongLineBench.h"
#include "NearDuplicatesBench.h"
#include "NearRealBench.h"
#include "RealShapedList.h"
#include "RecoveryBench.h"
#include "SearchBench.h"
#include "TidyBench.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The item count given after `option`, or a million.
int sizeAfter(const QStringList &options, const QString &option)
{
    const int given = options.value(options.indexOf(option) + 1).toInt();
    return given > 0 ? given : 1000000;
}

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
    "minutes). bench/README.md says what each option measures.\n";

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
            benchRecordSizes(folders.program.path(), size);
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
