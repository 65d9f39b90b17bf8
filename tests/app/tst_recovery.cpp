#include "ItemList.h"
#include "ListRecovery.h"
#include "RecoveryRecord.h"
#include "UndoHistory.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
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
        QCOMPARE(m_window->prompts.buttons.back(), (QStringList{"Restore", "Discard"}));
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

    // The program's process killed outright, with a write possibly under way.
    void survivesSigkill()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--keep-and-wait"), m_state->path()});
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("kept"));
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());
        m_window->form->keepForRecovery(m_state->path());
        m_window->form->offerRecovery();
        QCOMPARE(items(), (QStringList{"one", "two", "three"}));
        QCOMPARE(checksOf(form().items()), (std::vector<quint8>{0, 1, 0}));
    }

private:
    std::unique_ptr<QTemporaryDir> m_state;
};

// The child of survivesSigkill: keeps a list, says so, and waits to be killed.
static int keepAndWait(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestFolders folders;
    TestWindow window(folders.program.path());
    if (keepList(window, QString::fromLocal8Bit(argv[2]), {"one", "two", "three"}, {1}, false)) {
        std::puts("kept");
        std::fflush(stdout);
    }
    return app.exec();
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--keep-and-wait") == 0)
        return keepAndWait(argc, argv);
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
