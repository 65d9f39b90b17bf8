// Text files at the level of the io library: how a list file's bytes become items, and the
// paths the file commands are given.

#include "FilePaths.h"
#include "ItemList.h"
#include "ListFileReference.h"
#include "ListTestHost.h"
#include "TextFileFormat.h"
#include "TextFileImport.h"
#include "TextPool.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class TextFilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void lines_data();
    void lines();
    void chunkedReadingMatchesWholeFile_data();
    void chunkedReadingMatchesWholeFile();
    void fixDoubleSlashes_data();
    void fixDoubleSlashes();
    void largeFileJoinsAListInSlices();

private:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    static QStringList poolTexts(const TextPool &pool)
    {
        QStringList texts;
        for (qsizetype i = 0; i < pool.size(); ++i)
            texts.append(pool.at(i).toString());
        return texts;
    }

    QTemporaryDir m_folder;
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
    QCOMPARE(ListFileReference::decodeListFile(bytes), text);
    // The program's reader gives that text's lines.
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QStringList expected;
    for (QStringView line : ListFileReference::splitLines(text))
        expected.append(line.toString());
    QCOMPARE(poolTexts(readListFile(buffer, bytes.size(), [] {})), expected);
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
    // Lines beyond Latin-1 are kept in two bytes a character, and split on their own path.
    QTest::newRow("CR LF, beyond Latin-1") << "\u20AC\r\nb\r\n" << QStringList{"\u20AC", "b"};
    QTest::newRow("CR only, beyond Latin-1") << "\u20AC\r\rb\r" << QStringList{"\u20AC", "", "b"};
    QTest::newRow("mixed, beyond Latin-1")
        << "a\r\n\u20AC\nc\rd\n\r" << QStringList{"a", "\u20AC", "c", "d", ""};
}

void TextFilesTest::lines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    // The reference the chunked reading is held against splits so,
    QStringList split;
    for (QStringView line : ListFileReference::splitLines(text))
        split.append(line.toString());
    QCOMPARE(split, lines);
    // and so does the load command's own path: the file as written, read as it is loaded.
    const QString path = writeFile(QStringLiteral("lines.txt"), text.toUtf8());
    ItemList list;
    RecordingHost host;
    List::TextFileToListview(list, path, host);
    QCOMPARE(itemTexts(list), lines);
    QVERIFY(host.notices.isEmpty());
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

        const QString whole = ListFileReference::decodeListFile(bytes);
        const std::vector<QStringView> expected = ListFileReference::splitLines(whole);
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

QTEST_GUILESS_MAIN(TextFilesTest)
#include "tst_textfiles.moc"
