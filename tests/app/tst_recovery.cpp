#include "ItemList.h"
#include "ListMenu.h"
#include "ListRecovery.h"
#include "MenuEntries.h"
#include "RecoveryRecord.h"
#include "UndoHistory.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

ListRecovery &recoveryOf(Form1 &form)
{
    return *form.findChild<ListRecovery *>();
}

std::vector<quint8> checksOf(const ItemList &items)
{
    return items.checks();
}

// The list's texts, order and marks, in a few bytes.
QByteArray fingerprint(const ItemList &items)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (qsizetype i = 0; i < items.count(); ++i) {
        hash.addData(items.text(i).toString().toUtf8());
        hash.addData(QByteArrayView(items.isChecked(i) ? "\1\n" : "\0\n", 2));
    }
    return hash.result().toHex();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files);
}

bool waitUntilKept(Form1 &form)
{
    return QTest::qWaitFor([&] { return recoveryOf(form).upToDate(); }, 60000);
}

// A window keeping its list in `folder`, the list filled, every step on disk.
bool keepList(TestWindow &window, const QString &folder, const QStringList &texts,
              const std::vector<qsizetype> &checked, bool matchCase)
{
    window.form->keepForRecovery(folder);
    window.control<QRadioButton>(matchCase ? "Option2" : "Option1")->click();
    window.form->items().appendAll(std::vector<QStringView>(texts.begin(), texts.end()));
    for (qsizetype position : checked)
        window.form->items().setChecked(position, true);
    return waitUntilKept(*window.form);
}

} // namespace

class TestRecovery : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<QTemporaryDir>();
        openWindow();
    }
    void cleanup() { closeWindow(); }

    void restoresTheListAfterAnAbnormalEnd_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<std::vector<qsizetype>>("checked");
        QTest::addColumn<bool>("matchCase");
        QTest::newRow("plain items") << QStringList{"anna@example.org", "bo@example.org"}
                                     << std::vector<qsizetype>{} << false;
        QTest::newRow("checked, match case")
            << QStringList{"a", "A", "b", "c"} << std::vector<qsizetype>{1, 3} << true;
        QTest::newRow("scripts beyond Latin-1, empty items, line breaks")
            << QStringList{"Αλέξανδρος", "", "müller", "two\r\nlines", "Zoë"}
            << std::vector<qsizetype>{0} << false;
    }
    void restoresTheListAfterAnAbnormalEnd()
    {
        QFETCH(QStringList, texts);
        QFETCH(std::vector<qsizetype>, checked);
        QFETCH(bool, matchCase);
        const QString folder = m_state->path();
        std::vector<quint8> checks;
        {
            TestWindow ended(m_folders->program.path());
            QVERIFY(keepList(ended, folder, texts, checked, matchCase));
            checks = checksOf(ended.form->items());
        } // gone without a normal close
        m_window->form->keepForRecovery(folder);
        m_window->form->offerRecovery();
        QCOMPARE(m_window->prompts.buttons.back(), (QStringList{"&Restore", "&Discard"}));
        QVERIFY2(m_window->prompts.texts().back().startsWith(
                     "Tarnwell did not close normally. Restore the list from "),
                 qPrintable(m_window->prompts.texts().back()));
        QVERIFY(m_window->prompts.texts().back().endsWith(
            QStringLiteral("(%1 items, %2 checked)?").arg(texts.size()).arg(checked.size())));
        QCOMPARE(items(), texts);
        QCOMPARE(checksOf(form().items()), checks);
        QCOMPARE(m_window->control<QRadioButton>("Option2")->isChecked(), matchCase);
        // Restored as one step; the left record goes once this window's own holds the list.
        QCOMPARE(form().history().stack().undoText(), QStringLiteral("Restore List"));
        QVERIFY(waitUntilKept(form()));
        QCOMPARE(filesIn(folder).filter(QRegularExpression("\\.rec$")).size(), 1);
        QVERIFY(form().history().undo());
        QCOMPARE(form().items().count(), 0);
    }

    void discardAndNormalCloseLeaveNothing()
    {
        const QString folder = m_state->path();
        {
            TestWindow ended(m_folders->program.path());
            QVERIFY(keepList(ended, folder, {"x", "y"}, {}, false));
        }
        TestWindow closed(m_folders->program.path());
        QVERIFY(keepList(closed, folder, {"z"}, {}, false));
        m_window->prompts.answers.push_back(Prompts::Answer::No);
        m_window->form->keepForRecovery(folder);
        m_window->form->offerRecovery();
        QCOMPARE(items(), QStringList());
        closed.form->close();
        QCOMPARE(filesIn(folder).size(), 1); // the lock of the window that offered
        m_window->form->close();
        QCOMPARE(filesIn(folder), QStringList());
    }

    // A record cut short or changed anywhere is never read as a list.
    void damagedRecordIsNeverRead_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::newRow("cut short at every byte") << true;
        QTest::newRow("a byte changed anywhere") << false;
    }
    void damagedRecordIsNeverRead()
    {
        QFETCH(bool, cut);
        KeptList list;
        for (const QString &text : {QStringLiteral("a@b"), QStringLiteral("Ωμέγα"), QString()})
            list.texts.append(ItemText(QStringView(text)));
        list.checks = {0, 1, 0};
        const QString path = m_state->filePath("list-1-1.rec");
        QVERIFY(!RecoveryRecord::write(path, KeptList(list), std::atomic<bool>(false)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        file.close();
        QCOMPARE(RecoveryRecord::read(path).outcome, RecoveryRecord::Outcome::Read);
        for (qsizetype at = 0; at < whole.size(); ++at) {
            QByteArray damaged = cut ? whole.left(at) : whole;
            if (!cut)
                damaged[at] = char(damaged[at] ^ 0x20);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(damaged);
            file.close();
            QVERIFY2(RecoveryRecord::read(path).outcome == RecoveryRecord::Outcome::Damaged,
                     qPrintable(QString::number(at)));
        }
        // Offered, it is told of plainly, and nothing comes into the list.
        m_window->form->keepForRecovery(m_state->path());
        m_window->form->offerRecovery();
        QCOMPARE(m_window->prompts.texts(),
                 QStringList{"Tarnwell did not close normally, but the list it kept then is "
                             "damaged and cannot be restored."});
        QCOMPARE(items(), QStringList());
    }

    // A record the first version wrote (blocks not packed): refused plainly, not misread.
    void recordOfAnotherVersionIsRefused()
    {
        const QString path = m_state->filePath("list-1-1.rec");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex(
            "54575245434f560a01000000040302010100000000000000010000000000000000b232f29a010000"
            "01000000c3d88e45010000000000000001000000000000000200000000000000026189d8ea1c0200"
            "000001000000010000000000000001000000000000000032f367f403000000020000000000000000"
            "00000008000000000000000100000000000000f5437070"));
        file.close();
        QCOMPARE(RecoveryRecord::read(path).outcome, RecoveryRecord::Outcome::OtherVersion);
        m_window->form->keepForRecovery(m_state->path());
        m_window->form->offerRecovery();
        QCOMPARE(m_window->prompts.texts(),
                 QStringList{"Tarnwell did not close normally, but the list it kept then was "
                             "written by another version of Tarnwell and cannot be read by this "
                             "one. It is left in " +
                             path + ".unread."});
        QCOMPARE(items(), QStringList());
        QVERIFY(QFile::exists(path + ".unread"));
    }

    void unwritableFolderIsToldOnce_data()
    {
        QTest::addColumn<QString>("under");
        QTest::newRow("a folder that cannot be made") << "file/tarnwell";
        QTest::newRow("a file in the folder's place") << "file";
    }
    void unwritableFolderIsToldOnce()
    {
        QFETCH(QString, under);
        QFile file(m_state->filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        m_window->form->keepForRecovery(m_state->filePath(under));
        click("PushButton22");
        QVERIFY(waitUntilKept(form()));
        QVERIFY2(status().endsWith(" The list cannot be kept for recovery: Not a directory"),
                 qPrintable(status()));
        form().setStatus(QString());
        m_window->control<QLineEdit>("Text1")->setText("added");
        click("PushButton2");
        QVERIFY(waitUntilKept(form()));
        QCOMPARE(status(), QStringLiteral("Unique item, added."));
        QVERIFY(m_window->prompts.shown.empty());
        QVERIFY(form().items().count() > 0);
    }

    // The program's process killed outright at random moments of its work: the list restored
    // is one that whole steps left, and no older than the last step finished a second before.
    void killedAtRandomMoments_data()
    {
        QTest::addColumn<int>("killAfterMs");
        for (const int ms : {300, 900, 1700, 2600})
            QTest::addRow("after %d ms", ms) << ms;
    }
    void killedAtRandomMoments()
    {
        QFETCH(int, killAfterMs);
        QProcess child;
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--random-steps"), m_state->path(), QString::number(killAfterMs)});
        QVERIFY(child.waitForStarted());
        QTest::qWait(killAfterMs);
        const qint64 killedAt = QDateTime::currentMSecsSinceEpoch();
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());
        std::vector<std::pair<qint64, QByteArray>> steps{{0, fingerprint(ItemList())}};
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (const QList<QByteArray> fields = line.split(' '); fields.size() == 2)
                steps.emplace_back(fields[0].toLongLong(), fields[1]);
        }
        m_window->form->keepForRecovery(m_state->path());
        m_window->form->offerRecovery();
        const QByteArray restored = fingerprint(form().items());
        size_t settled = 0;
        while (settled + 1 < steps.size() && steps[settled + 1].first <= killedAt - 1000)
            ++settled;
        const auto found = std::find_if(steps.begin() + qsizetype(settled), steps.end(),
                                        [&](const auto &step) { return step.second == restored; });
        QVERIFY2(found != steps.end(), qPrintable(QStringLiteral("%1 steps, restored %2 items")
                                                      .arg(steps.size())
                                                      .arg(form().items().count())));
    }

private:
    std::unique_ptr<QTemporaryDir> m_state;
};

// The child of killedAtRandomMoments: steps drawn at random, each told when it is through.
static int randomSteps(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestFolders folders;
    TestWindow window(folders.program.path());
    window.form->keepForRecovery(QString::fromLocal8Bit(argv[2]));
    QStringList lines;
    for (int i = 0; i < 60000; ++i)
        lines.append(QStringLiteral("item %1@example.org").arg(i * 7919 % 50000));
    const QString list = folders.program.filePath("list.txt");
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly) || file.write(lines.join('\n').toUtf8()) < 0)
        return 1;
    file.close();
    QRandomGenerator random(quint32(QByteArray(argv[3]).toInt()));
    for (int step = 0;; ++step) {
        switch (random.bounded(step == 0 ? 1 : 8)) {
        case 0:
            window.fileDialogs.answers.push_back({list});
            window.control<QPushButton>("PushButton3")->click();
            break;
        case 1:
            window.prompts.typed.push_back(QString::number(random.bounded(10)));
            window.control<QPushButton>("PushButton17")->click();
            break;
        case 2:
            window.control<QLineEdit>("Text1")->setText(QStringLiteral("added %1").arg(step));
            window.control<QPushButton>("PushButton2")->click();
            break;
        case 3:
            menuAction(*window.form, "Invert Check Marks")->trigger();
            break;
        case 4:
            menuAction(*window.form, "Sort A to Z")->trigger();
            break;
        case 5:
            menuAction(*window.form, "Undo")->trigger();
            break;
        case 6:
            menuAction(*window.form, "Redo")->trigger();
            break;
        default:
            if (window.form->items().count() > 0)
                window.form->items().setChecked(0, true);
            break;
        }
        std::printf("%lld %s\n", QDateTime::currentMSecsSinceEpoch(),
                    fingerprint(window.form->items()).constData());
        std::fflush(stdout);
        QTest::qWait(random.bounded(200));
    }
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--random-steps") == 0)
        return randomSteps(argc, argv);
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
