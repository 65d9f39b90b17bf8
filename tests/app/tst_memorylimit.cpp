#include "Fakes.h"
#include "Form1.h"
#include "ItemList.h"
#include "Translations.h"
#include "Trap.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <fstream>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
size_t addressSpaceNow()
{
    size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * size_t(::sysconf(_SC_PAGESIZE));
}

// Runs one case in this process as the window runs it, the memory cases under a limit on
// the process's memory; prints what the user was shown and whether the list is as it was.
int runCase(const QByteArray &name)
{
    TestFolders folders;
    TestWindow window(folders.program.path());
    ItemList &items = window.form->items();
    const bool ontoAList = name == "a file onto a list that cannot take it";
    TextPool pool;
    for (int k = 0; k < (ontoAList ? 1 << 20 : 100); ++k)
        pool.append(QStringLiteral("someone.%1@example.org").arg(k));
    items.appendPool(pool);
    pool = TextPool(); // the list's own
    const auto fingerprint = [&] {
        size_t hash = size_t(items.count());
        for (qsizetype k = 0; k < items.count(); ++k)
            hash = hash * 31 + qHash(items.text(k).toString());
        return hash;
    };
    const size_t before = fingerprint();

    if (name == "beyond the list's size, in German") {
        Translations::install(QLocale(QLocale::German, QLocale::Germany));
        // More characters than a list holds, in address space that is never touched.
        const size_t characters = size_t(4500) * 1000 * 1000;
        void *beyond = ::mmap(nullptr, characters * 2, PROT_READ,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (beyond == MAP_FAILED)
            return 2;
        Trap trap(window.form->errorReporter(), QStringLiteral("Form1.PushButton2_Click"));
        trap.line(100, [&] {
            items.appendAll({u"new", QStringView(static_cast<const char16_t *>(beyond),
                                                 qsizetype(characters))});
        });
    } else {
        QFile file(folders.program.filePath(QStringLiteral("list.txt")));
        QByteArray lines;
        for (int k = 1 << 22; k < (1 << 22) + (ontoAList ? 1 << 20 : 1 << 21); ++k)
            lines += "someone." + QByteArray::number(k) + "@example.org\r\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(lines) != lines.size())
            return 2;
        file.close();
        lines = QByteArray();
        // Room to read the file onto a list, not to join them; not even to read a larger one.
        rlimit limit = {};
        ::getrlimit(RLIMIT_AS, &limit);
        const rlim_t unlimited = limit.rlim_cur;
        limit.rlim_cur = addressSpaceNow() + (size_t(ontoAList ? 64 : 32) << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        window.fileDialogs.answers.push_back({file.fileName()});
        window.control<QPushButton>("PushButton3")->click();
        limit.rlim_cur = unlimited;
        ::setrlimit(RLIMIT_AS, &limit);
    }
    QTextStream out(stdout);
    for (const FakePrompts::Shown &shown : window.prompts.shown)
        out << QString(shown.text).replace(u'\r', u'|').replace(u'\n', u'|') << '\n';
    out << (fingerprint() == before && items.rowCount() == items.count() ? "as it was" : "changed")
        << '\n';
    return 0;
}
} // namespace

class MemoryLimitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failureLeavesTheListAsItWas_data();
    void failureLeavesTheListAsItWas();
};

void MemoryLimitTest::failureLeavesTheListAsItWas_data()
{
    QTest::addColumn<QString>("report");
    const QString inLoad =
        QStringLiteral("||in Quorlent2021/08/31.Form1.PushButton3_Click at line 120");
    QTest::newRow("a file larger than memory") << QStringLiteral("Out of memory") + inLoad;
    QTest::newRow("a file onto a list that cannot take it")
        << QStringLiteral("Out of memory") + inLoad;
    QTest::newRow("beyond the list's size, in German")
        << QStringLiteral("Die Liste hielte mehr als 4 GB Text (4.294.967.295 Zeichen "
                          "westeuropäischer Schriften oder halb so viele anderer) und damit mehr, "
                          "als sie fassen kann.||in Quorlent2021/08/31.Form1.PushButton2_Click in "
                          "Zeile 100");
}

void MemoryLimitTest::failureLeavesTheListAsItWas()
{
    // Out of memory, or beyond what a list holds: the report says so, the program goes on
    // and the list is as it was.
    QFETCH(QString, report);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARNWELL_MEMORY_CASE"),
                       QString::fromLatin1(QTest::currentDataTag()));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    // The reports, how the list stands, the end.
    const QStringList shown = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    QVERIFY(shown.size() >= 3);
    QVERIFY2(shown.front().startsWith(report), qPrintable(shown.front()));
    QCOMPARE(shown[shown.size() - 2], QStringLiteral("as it was"));
}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QByteArray name = qgetenv("TARNWELL_MEMORY_CASE");
    if (!name.isEmpty())
        return runCase(name);
    MemoryLimitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_memorylimit.moc"
