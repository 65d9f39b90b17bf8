#include "ItemList.h"
#include "ListTestHost.h"
#include "TextFileFormat.h"
#include "TextFileImport.h"
#include "TextPool.h"

#include "WindowFixture.h"
#include <QBuffer>
#include <QRandomGenerator>

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Text files in and out: decoding and line rules, the load and save commands, and drops.
class TextFilesTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void droppedFolderLoadsItsFiles();
    void itemsWithLineBreaksRoundTrip_data();
    void itemsWithLineBreaksRoundTrip();
    void cleanup() { closeWindow(); }

    void decode_data();
    void decode();
    void lines_data();
    void lines();
    void chunkedReadingMatchesWholeFile_data();
    void chunkedReadingMatchesWholeFile();
    void fixDoubleSlashes_data();
    void fixDoubleSlashes();

    void loadOneFile();
    void loadSeveralFilesWithAMissingOne();
    void loadTheSameFileTwice();
    void largeFileJoinsAListInSlices();
    void loadCancelled();
    void tooManyFiles();
    void unreadableFileIsReportedAndTheLoadGoesOn();
    void dropFiles();

    void save_data();
    void save();
    void overwrite_data();
    void overwrite();
    void saveCancelled();
    void failedSave_data();
    void failedSave();
    void roundTrip();
    void onlyFilesAreRead_data();
    void onlyFilesAreRead();
    void overlappingSavesToOneFile();
    void shortWriteSaysWhy();

private:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folders->program.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void answerDialog(const QStringList &paths) { m_window->fileDialogs.answers.push_back(paths); }
};

void TextFilesTest::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain ASCII") << QByteArray("a\r\nb") << "a\r\nb";
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9") << QString::fromUtf8("café");
    QTest::newRow("UTF-8 byte-order mark dropped")
        << QByteArray("\xef\xbb\xbfitem") << QStringLiteral("item");
    QTest::newRow("UTF-16 LE") << QByteArray("\xff\xfe"
                                             "a\0\xe9\0",
                                             6)
                               << QString::fromUtf8("aé");
    QTest::newRow("UTF-16 BE") << QByteArray("\xfe\xff\0a\0\xe9", 6) << QString::fromUtf8("aé");
    QTest::newRow("Windows-1252 when not UTF-8")
        << QByteArray("caf\xe9 \x80 \x93q\x94") << QString::fromUtf8("café € “q”");
    QTest::newRow("undefined Windows-1252 bytes kept")
        << QByteArray("\x81\x8d\x8f\x90\x9d") << QStringLiteral("\u0081\u008d\u008f\u0090\u009d");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("UTF-8 mark, then the first item's own") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                                                                         "a")
                                                           << QStringLiteral("\uFEFFa");
    QTest::newRow("UTF-16 LE mark, then the first item's own") << QByteArray("\xff\xfe\xff\xfe"
                                                                             "a\0",
                                                                             6)
                                                               << QStringLiteral("\uFEFFa");
}

void TextFilesTest::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeListFile(bytes), text);
}

void TextFilesTest::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("LF only") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("CR only") << "a\rb\r" << QStringList{"a", "b"};
    QTest::newRow("mixed") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("last line without end") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("empty line inside") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("CR then CR LF") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("LF then CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("blanks kept") << "  a \r\n \r\n" << QStringList{"  a ", " "};
    QTest::newRow("one line end") << "\r\n" << QStringList{""};
    QTest::newRow("empty file") << "" << QStringList{};
}

void TextFilesTest::lines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QStringList split;
    for (QStringView line : splitLines(text))
        split.append(line.toString());
    QCOMPARE(split, lines);
}

void TextFilesTest::chunkedReadingMatchesWholeFile_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QList<QByteArray>>("pieces");

    // Pieces a file is made of at random: line ends of every kind, multi-byte characters, a
    // surrogate pair, a stray byte that is not UTF-8, a byte-order mark inside the text.
    const QList<QByteArray> utf8 = {"a",
                                    "bc",
                                    "\r",
                                    "\n",
                                    "\r\n",
                                    "\xc3\xa9",
                                    "\xe2\x82\xac",
                                    "\xf0\x9f\x98\x80",
                                    "\xef\xbb\xbf",
                                    " ",
                                    ""};
    QTest::newRow("UTF-8") << QByteArray() << utf8;
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xef\xbb\xbf") << utf8;
    QTest::newRow("not UTF-8: Windows-1252") << QByteArray() << (utf8 + QList<QByteArray>{"\x93"});
    QTest::newRow("UTF-8 cut inside a character")
        << QByteArray() << QList<QByteArray>{"a", "\r\n", "\xe2\x82"};
    const QList<QByteArray> utf16 = {QByteArray("a\0", 2),
                                     QByteArray("\r\0", 2),
                                     QByteArray("\n\0", 2),
                                     QByteArray("\r\0\n\0", 4),
                                     QByteArray("\x3d\xd8\x00\xde", 4), // U+1F600
                                     QByteArray("\xff\xfe", 2)};
    QTest::newRow("UTF-16 LE") << QByteArray("\xff\xfe") << utf16;
    QTest::newRow("UTF-16 LE, odd length")
        << QByteArray("\xff\xfe") << (utf16 + QList<QByteArray>{"x"});
}

void TextFilesTest::chunkedReadingMatchesWholeFile()
{
    QFETCH(QByteArray, prefix);
    QFETCH(QList<QByteArray>, pieces);

    QRandomGenerator random(20261207);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = prefix;
        const int count = int(random.bounded(0, 40));
        for (int i = 0; i < count; ++i)
            bytes += pieces[random.bounded(int(pieces.size()))];
        if (round % 7 == 0 && !pieces.isEmpty())
            bytes += pieces.back(); // the last piece of the list closes the file now and then

        const QString whole = decodeListFile(bytes);
        const std::vector<QStringView> expected = splitLines(whole);
        // Chunk sizes that put chunk ends everywhere: inside characters, inside CR LF.
        for (const qsizetype chunk : {1, 2, 3, 5, 8, 4096}) {
            QBuffer buffer(&bytes);
            QVERIFY(buffer.open(QIODevice::ReadOnly));
            const TextPool pool = readListFile(
                buffer, bytes.size(), [] {}, chunk);
            QVERIFY2(pool.size() == qsizetype(expected.size()),
                     qPrintable(QStringLiteral("round %1, chunk %2: %3 items, not %4; bytes %5")
                                    .arg(round)
                                    .arg(chunk)
                                    .arg(pool.size())
                                    .arg(expected.size())
                                    .arg(QString::fromLatin1(bytes.toHex()))));
            for (qsizetype i = 0; i < pool.size(); ++i) {
                if (pool.at(i) != expected[size_t(i)])
                    QFAIL(qPrintable(
                        QStringLiteral("round %1, chunk %2, item %3: \"%4\" != \"%5\"")
                            .arg(round)
                            .arg(chunk)
                            .arg(i)
                            .arg(pool.at(i).toString(), expected[size_t(i)].toString())));
                // Kept in one byte a character exactly when every one fits.
                const QStringView text = expected[size_t(i)];
                QCOMPARE(pool.at(i).isLatin1(), std::all_of(text.begin(), text.end(), [](QChar c) {
                             return c.unicode() < 0x100;
                         }));
            }
        }
    }
}

void TextFilesTest::fixDoubleSlashes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pairs become one") << "dir//sub//a.txt"
                                      << "/"
                                      << "dir/sub/a.txt";
    QTest::newRow("three become two") << "a///b"
                                      << "/"
                                      << "a//b";
    QTest::newRow("four become two") << "a////b"
                                     << "/"
                                     << "a//b";
    QTest::newRow("leading run becomes two") << "////srv//share/x"
                                             << "/"
                                             << "//srv/share/x";
    QTest::newRow("one leading becomes two") << "/home//u/a.txt"
                                             << "/"
                                             << "//home/u/a.txt";
    QTest::newRow("nothing to do") << "a/b"
                                   << "/"
                                   << "a/b";
    QTest::newRow("drive path, backslashes") << "C:\\\\lists\\\\a.txt"
                                             << "\\"
                                             << "C:\\lists\\a.txt";
    QTest::newRow("network path, backslashes") << "\\\\server\\share\\\\a.txt"
                                               << "\\"
                                               << "\\\\server\\share\\a.txt";
    QTest::newRow("one leading backslash") << "\\a.txt"
                                           << "\\"
                                           << "\\\\a.txt";
}

void TextFilesTest::fixDoubleSlashes()
{
    QFETCH(QString, path);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(FixDoubleSlashes(path, separator.front()), expected);
}

void TextFilesTest::loadOneFile()
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

void TextFilesTest::loadSeveralFilesWithAMissingOne()
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

void TextFilesTest::loadTheSameFileTwice()
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

void TextFilesTest::largeFileJoinsAListInSlices()
{
    // A list with items takes a large file's items in insertions of a quarter of a million
    // rows, yielding before each; the items arrive whole and in order, and each insertion can be
    // taken back.
    constexpr int kLines = 600000;
    QByteArray bytes;
    for (int i = 0; i < kLines; ++i)
        bytes += QByteArray::number(i) + '\n';
    const QString path = writeFile(QStringLiteral("large.txt"), bytes);
    ItemList list;
    list.append(u"before");
    struct Keeper : ListChangeObserver
    {
        std::vector<ListChange> changes;
        void listChanged(ListChange &&change) override { changes.push_back(std::move(change)); }
    } keeper;
    list.setObserver(&keeper);
    RecordingHost host;
    QList<qsizetype> countsAtYields;
    host.onYield = [&] { countsAtYields.append(list.count()); };
    List::TextFileToListview(list, path, host);

    QCOMPARE(list.count(), kLines + 1);
    for (const qsizetype position : {qsizetype(1), qsizetype(1) << 18, (qsizetype(1) << 18) + 1,
                                     qsizetype(2) << 18, qsizetype(kLines)})
        QCOMPARE(list.text(position).toString(), QString::number(position - 1));
    QVERIFY2(countsAtYields.contains((qsizetype(1) << 18) + 1) &&
                 countsAtYields.contains((qsizetype(2) << 18) + 1),
             "the view was never given a turn between insertions");
    QCOMPARE(keeper.changes.size(), size_t(3));
    list.setObserver(nullptr);
    for (auto change = keeper.changes.rbegin(); change != keeper.changes.rend(); ++change)
        list.undo(*change);
    QCOMPARE(itemTexts(list), QStringList{"before"});
}

void TextFilesTest::loadCancelled()
{
    m_window->form->setStatus(QStringLiteral("before"));
    click("PushButton3");
    QCOMPARE(m_window->fileDialogs.calls.size(), size_t(1));
    QCOMPARE(status(), QStringLiteral("before"));
    QVERIFY(items().isEmpty());
    QVERIFY(m_window->prompts.shown.empty());
}

void TextFilesTest::tooManyFiles()
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

void TextFilesTest::unreadableFileIsReportedAndTheLoadGoesOn()
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

void TextFilesTest::dropFiles()
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

void TextFilesTest::save_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("a b c") << QStringList{"a", "b", "c"} << QByteArray("a\r\nb\r\nc\r\n");
    QTest::newRow("empty item and blanks")
        << QStringList{"", " x ", "  "} << QByteArray("\r\n x \r\n  \r\n");
    QTest::newRow("UTF-8 without byte-order mark")
        << QStringList{QString::fromUtf8("café"), QString::fromUtf8("€")}
        << QByteArray("caf\xc3\xa9\r\n\xe2\x82\xac\r\n");
    QTest::newRow("empty list") << QStringList{} << QByteArray();
    QTest::newRow("first item begins with a byte-order mark")
        << QStringList{QStringLiteral("\uFEFFa"), QStringLiteral("b")}
        << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                      "a\r\nb\r\n");
}

void TextFilesTest::save()
{
    QFETCH(QStringList, items);
    QFETCH(QByteArray, bytes);

    fill(m_window->form->items(), items);
    const QString path = m_folders->program.filePath(QStringLiteral("out"));
    answerDialog({path});
    click("PushButton20");
    const auto &call = m_window->fileDialogs.calls.at(0);
    QCOMPARE(call.title, QStringLiteral("Save"));
    QCOMPARE(call.filters, (QStringList{"Text Files (*.txt)", "All Files (*)"}));
    QVERIFY(call.save);
    QCOMPARE(readFile(path), bytes); // no extension added
    QCOMPARE(m_window->prompts.texts(), QStringList{"Done."});
    QCOMPARE(m_window->form->mousePointer(), 0);
    QCOMPARE(itemTexts(m_window->form->items()), items);
}

void TextFilesTest::overwrite_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("no") << false << QByteArray("old contents, longer than the new");
    QTest::newRow("yes") << true << QByteArray("new\r\n");
}

void TextFilesTest::overwrite()
{
    QFETCH(bool, answerYes);
    QFETCH(QByteArray, contents);

    const QString path = writeFile(QStringLiteral("list.txt"), "old contents, longer than the new");
    m_window->form->items().append(u"new");
    answerDialog({path});
    m_window->prompts.answers.push_back(answerYes ? Prompts::Answer::Yes : Prompts::Answer::No);
    click("PushButton20");
    QCOMPARE(readFile(path), contents);
    QStringList expected = {u"Are you sure you wish to overwrite " + path + u" ?"};
    if (answerYes)
        expected.append(QStringLiteral("Done."));
    QCOMPARE(m_window->prompts.texts(), expected);
    QCOMPARE(m_window->prompts.shown[0].style, Prompts::Style::YesNo);
    QCOMPARE(m_window->form->mousePointer(), 0);
}

void TextFilesTest::saveCancelled()
{
    m_window->form->items().append(u"a");
    click("PushButton20");
    QCOMPARE(m_window->fileDialogs.calls.size(), size_t(1));
    QVERIFY(m_window->prompts.shown.empty());
}

void TextFilesTest::failedSave_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("existing");
    QTest::newRow("missing folder") << "no such folder/list.txt" << false;
    QTest::newRow("a folder in the way") << "occupied" << true;
}

void TextFilesTest::failedSave()
{
    QFETCH(QString, target);
    QFETCH(bool, existing);

    const QString path = m_folders->program.filePath(target);
    if (existing) {
        QVERIFY(QDir().mkpath(path));
        writeFile(target + QStringLiteral("/inside.txt"), "keep me");
    }
    m_window->form->items().append(u"a");
    answerDialog({path});
    click("PushButton20");
    const QStringList reports = m_window->prompts.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains(QStringLiteral("Form1.PushButton20_Click at line")),
             qPrintable(reports[0]));
    QVERIFY(!m_window->prompts.texts().contains(QStringLiteral("Done.")));
    QCOMPARE(m_window->form->mousePointer(), 0);
    if (existing) {
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(readFile(path + QStringLiteral("/inside.txt")), QByteArray("keep me"));
    } else {
        QVERIFY(!QFileInfo::exists(path));
    }
}

void TextFilesTest::roundTrip()
{
    const QStringList original = {"\uFEFFmarked", "Zoë", "  padded  ", "", "tab\there", "last"};
    fill(m_window->form->items(), original);
    const QString path = m_folders->program.filePath(QStringLiteral("round.txt"));
    answerDialog({path});
    click("PushButton20");

    TestWindow fresh(m_folders->program.path());
    fresh.fileDialogs.answers.push_back({path});
    fresh.control<QPushButton>("PushButton3")->click();
    QCOMPARE(itemTexts(fresh.form->items()), original);
}

void TextFilesTest::onlyFilesAreRead_data()
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

void TextFilesTest::onlyFilesAreRead()
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

void TextFilesTest::droppedFolderLoadsItsFiles()
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

void TextFilesTest::itemsWithLineBreaksRoundTrip_data()
{
    QTest::addColumn<bool>("agree");
    QTest::newRow("saved with blanks for the breaks") << true;
    QTest::newRow("not saved") << false;
}

void TextFilesTest::itemsWithLineBreaksRoundTrip()
{
    // Items with line breaks (as cells of a spreadsheet bring them) would read back as more
    // items: the save asks first, and what it writes reads back as the same number of items.
    QFETCH(bool, agree);
    fill(m_window->form->items(), {"alice@x.com\nbob@x.com", "carol", "dave\r\nerin\rfay"});
    const QString path = m_folders->program.filePath(QStringLiteral("out.txt"));
    answerDialog({path});
    m_window->prompts.answers.push_back(agree ? Prompts::Answer::Yes : Prompts::Answer::No);
    click("PushButton20");
    const QStringList shown = m_window->prompts.texts();
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.front().startsWith(u"2 items hold line breaks"), qPrintable(shown.front()));
    QCOMPARE(m_window->prompts.buttons.front(), (QStringList{"Save with Blanks", "Don't Save"}));
    if (!agree) {
        QCOMPARE(shown.size(), 1);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(m_window->control<QLabel>("Label1")->text(), QStringLiteral("Not saved."));
        return;
    }
    QCOMPARE(readFile(path), QByteArray("alice@x.com bob@x.com\r\ncarol\r\ndave erin fay\r\n"));
    QCOMPARE(shown.last(), QStringLiteral("Done."));

    click("PushButton1"); // clear
    answerDialog({path});
    click("PushButton3");
    QCOMPARE(itemTexts(m_window->form->items()),
             (QStringList{"alice@x.com bob@x.com", "carol", "dave erin fay"}));
}

void TextFilesTest::overlappingSavesToOneFile()
{
    QStringList many;
    for (int i = 0; i < 20000; ++i)
        many.append(QStringLiteral("item %1").arg(i));
    fill(m_window->form->items(), many);
    m_window->form->setYieldInterval(0);
    const QString path = m_folders->program.filePath(QStringLiteral("new.txt"));
    answerDialog({path});
    answerDialog({path});

    // While the first save writes, an item is added and the list saved again to the same,
    // still missing, file: both wait for the first save, then run in turn.
    QTimer::singleShot(0, m_window->form.get(), [&] {
        m_window->control<QLineEdit>("Text1")->setText(QStringLiteral("added meanwhile"));
        click("PushButton2");
        click("PushButton20");
    });
    click("PushButton20");

    QByteArray expected;
    for (const QString &text : many + QStringList{"added meanwhile"})
        expected += text.toUtf8() + "\r\n";
    QCOMPARE(readFile(path), expected);
    QCOMPARE(
        m_window->prompts.texts(),
        (QStringList{"Done.", u"Are you sure you wish to overwrite " + path + u" ?", "Done."}));
    QVERIFY(m_window->prompts.errorReports().isEmpty());
    QCOMPARE(QDir(m_folders->program.path()).entryList({"new.txt*"}, QDir::Files),
             QStringList{"new.txt"}); // no temporary file left behind
}

void TextFilesTest::shortWriteSaysWhy()
{
    // A file size limit stops a write part way, as a full disk does.
    rlimit old = {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 256 * 1024;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);

    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many.append(QStringLiteral("address%1@example.com").arg(i));
    fill(m_window->form->items(), many);
    const QString path = m_folders->program.filePath(QStringLiteral("big.txt"));
    answerDialog({path});
    click("PushButton20");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    const QStringList reports = m_window->prompts.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
             qPrintable(reports[0]));
    QVERIFY(!m_window->prompts.texts().contains(QStringLiteral("Done.")));
    QVERIFY(!QFileInfo::exists(path));
}

QTEST_MAIN(TextFilesTest)
#include "tst_textfiles.moc"
