#include "ItemList.h"
#include "WindowFixture.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Load List From Text File as the window runs it: the dialog, several files, folders,
// drops, and what is not a file.
class TextLoadTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void loadOneFile();
    void loadSeveralFilesWithAMissingOne();
    void loadTheSameFileTwice();
    void loadCancelled();
    void tooManyFiles();
    void unreadableFileIsReportedAndTheLoadGoesOn();
    void dropFiles();
    void droppedFolderLoadsItsFiles();
    void onlyFilesAreRead_data();
    void onlyFilesAreRead();

private:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folders->program.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void answerDialog(const QStringList &paths) { m_window->fileDialogs.answers.push_back(paths); }
};

void TextLoadTest::loadOneFile()
{
    const QString path = writeFile(QStringLiteral("one.txt"), "a\r\nb\r\na\r\n");
    m_window->form->items().append(u"before");
    answerDialog({path});
    click("PushButton3");

    QCOMPARE(m_window->fileDialogs.calls.size(), size_t(1));
    const auto &call = m_window->fileDialogs.calls[0];
    QCOMPARE(call.title, QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"));
    QCOMPARE(call.filters, (QStringList{"Text Files (*.txt)", "All Files (*)"}));
    QVERIFY(call.multiple);
    QVERIFY(!call.save);
    QCOMPARE(items(), (QStringList{"before", "b", "a"}));
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
    QCOMPARE(m_window->form->mousePointer(), 0);
    QVERIFY(m_window->prompts.shown.empty());
}

void TextLoadTest::loadSeveralFilesWithAMissingOne()
{
    const QString first = writeFile(QStringLiteral("first.txt"), "x\ny\n");
    const QString second = writeFile(QStringLiteral("second.txt"), "z\r\nX");
    const QString missing = m_folders->program.filePath(QStringLiteral("missing.txt"));
    answerDialog({second, missing, first});
    click("PushButton3");

    QCOMPARE(m_window->prompts.texts(), QStringList{"File not found"});
    QCOMPARE(m_window->prompts.shown[0].style, Prompts::Style::OkOnly);
    // In the dialog's order, one duplicate removal at the end ("Ignore case": X goes).
    QCOMPARE(items(), (QStringList{"z", "x", "y"}));
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
}

void TextLoadTest::loadTheSameFileTwice()
{
    const QString path = writeFile(QStringLiteral("ab.txt"), "a\r\nb");
    answerDialog({path});
    click("PushButton3");
    QCOMPARE(status(), QStringLiteral("List loaded. No duplicates found."));
    answerDialog({path});
    click("PushButton3");
    QCOMPARE(items(), (QStringList{"a", "b"}));
    QCOMPARE(status(), QStringLiteral("List loaded. 2 duplicates found, 2 duplicates removed"));
}

void TextLoadTest::loadCancelled()
{
    m_window->form->setStatus(QStringLiteral("before"));
    click("PushButton3");
    QCOMPARE(m_window->fileDialogs.calls.size(), size_t(1));
    QCOMPARE(status(), QStringLiteral("before"));
    QVERIFY(items().isEmpty());
    QVERIFY(m_window->prompts.shown.empty());
}

void TextLoadTest::tooManyFiles()
{
    // 400 names of 80 characters do not fit into 30,000 characters with their folder.
    QStringList paths;
    for (int i = 0; i < 400; ++i)
        paths.append(
            m_folders->program.filePath(QStringLiteral("%1.txt").arg(i, 76, 10, QChar(u'0'))));
    m_window->form->items().append(u"kept");
    m_window->form->setStatus(QStringLiteral("before"));
    answerDialog(paths);
    click("PushButton3");
    QCOMPARE(m_window->prompts.texts(),
             QStringList{"You've selected too many files to add.\r\rPlease load them in "
                         "smaller groups."});
    QCOMPARE(m_window->prompts.shown[0].style, Prompts::Style::OkOnly);
    QCOMPARE(items(), QStringList{"kept"});
    QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void TextLoadTest::unreadableFileIsReportedAndTheLoadGoesOn()
{
    // A folder exists but cannot be read as a list.
    const QString folder = m_folders->program.filePath(QStringLiteral("folder.txt"));
    QVERIFY(QDir().mkpath(folder));
    const QString good = writeFile(QStringLiteral("good.txt"), "g");
    answerDialog({folder});
    click("PushButton3");
    QCOMPARE(m_window->prompts.errorReports().size(), 1);
    QVERIFY(m_window->prompts.errorReports()[0].contains(
        QStringLiteral("Form1.PushButton3_Click at line 120")));
    QCOMPARE(status(), QStringLiteral("List loaded. No duplicates found."));
    QCOMPARE(m_window->form->mousePointer(), 0);

    answerDialog({folder, good});
    click("PushButton3");
    QCOMPARE(m_window->prompts.errorReports().size(), 2);
    QVERIFY(m_window->prompts.errorReports()[1].contains(QStringLiteral("at line 134")));
    QCOMPARE(items(), QStringList{"g"});
}

void TextLoadTest::dropFiles()
{
    const QString first = writeFile(QStringLiteral("d1.txt"), "one\ntwo\n");
    const QString second = writeFile(QStringLiteral("d2.txt"), "two\nthree\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(100, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window->form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window->form.get(), &drop);
    QTRY_COMPARE(items(), (QStringList{"one", "two", "three"}));
    QCOMPARE(status(), QStringLiteral("List loaded. 1 duplicates found, 1 duplicates removed"));
    QVERIFY(m_window->fileDialogs.calls.empty());
}

void TextLoadTest::droppedFolderLoadsItsFiles()
{
    // A folder dropped on the window stands for its plain files in name order, not what is in
    // its folders; an empty one is named in a notice, never an error report.
    QDir top(m_folders->program.path());
    QVERIFY(top.mkpath(QStringLiteral("lists/deeper")) && top.mkpath(QStringLiteral("empty")));
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(top.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("lists/b.txt"), "bee\r\n");
    write(QStringLiteral("lists/A.txt"), "ant\r\n");
    write(QStringLiteral("lists/deeper/c.txt"), "cat\r\n");
    m_window->form->loadTextFiles(
        {top.filePath(QStringLiteral("lists")), top.filePath(QStringLiteral("empty"))});
    QCOMPARE(itemTexts(m_window->form->items()), (QStringList{"ant", "bee"}));
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    QCOMPARE(m_window->prompts.texts(), QStringList{top.filePath(QStringLiteral("empty")) +
                                                    u"\r\rThis folder holds no files to load."});
}

void TextLoadTest::onlyFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("named");
    QTest::newRow("named pipe with no writer") << "fifo"
                                               << "a named pipe";
    QTest::newRow("socket") << "socket"
                            << "a socket";
    QTest::newRow("endless device") << "device"
                                    << "a device";
}

void TextLoadTest::onlyFilesAreRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, named);

    QString path = kind;
    if (kind == u"fifo") {
        path = m_folders->program.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    if (kind == u"device") {
        path = m_folders->program.filePath(QStringLiteral("zeros"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    }
    int socketFd = -1;
    if (kind == u"socket") {
        path = m_folders->program.filePath(QStringLiteral("sock"));
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(size_t(name.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    }
    const QString good = writeFile(QStringLiteral("good.txt"), "g");
    answerDialog({path, good});
    click("PushButton3"); // must come back: nothing waits on the pipe or reads the device
    if (socketFd >= 0)
        ::close(socketFd);

    QCOMPARE(items(), QStringList{"g"});
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    const QStringList shown = m_window->prompts.texts();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(path) && shown[0].contains(named), qPrintable(shown[0]));
}

QTEST_MAIN(TextLoadTest)
#include "tst_textload.moc"
