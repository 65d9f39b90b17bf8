#include "ItemList.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <csignal>
#include <cstring>

#include <sys/resource.h>

// Save List To Text File as the window runs it: the bytes written, overwriting, failures,
// line breaks inside items, and saves that overlap.
class TextSaveTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void save_data();
    void save();
    void overwrite_data();
    void overwrite();
    void saveCancelled();
    void failedSave_data();
    void failedSave();
    void roundTrip();
    void itemsWithLineBreaksRoundTrip_data();
    void itemsWithLineBreaksRoundTrip();
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

void TextSaveTest::save_data()
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

void TextSaveTest::save()
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

void TextSaveTest::overwrite_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("no") << false << QByteArray("old contents, longer than the new");
    QTest::newRow("yes") << true << QByteArray("new\r\n");
}

void TextSaveTest::overwrite()
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

void TextSaveTest::saveCancelled()
{
    m_window->form->items().append(u"a");
    click("PushButton20");
    QCOMPARE(m_window->fileDialogs.calls.size(), size_t(1));
    QVERIFY(m_window->prompts.shown.empty());
}

void TextSaveTest::failedSave_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("existing");
    QTest::newRow("missing folder") << "no such folder/list.txt" << false;
    QTest::newRow("a folder in the way") << "occupied" << true;
}

void TextSaveTest::failedSave()
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

void TextSaveTest::roundTrip()
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

void TextSaveTest::itemsWithLineBreaksRoundTrip_data()
{
    QTest::addColumn<bool>("agree");
    QTest::newRow("saved with blanks for the breaks") << true;
    QTest::newRow("not saved") << false;
}

void TextSaveTest::itemsWithLineBreaksRoundTrip()
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

void TextSaveTest::overlappingSavesToOneFile()
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

void TextSaveTest::shortWriteSaysWhy()
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

QTEST_MAIN(TextSaveTest)
#include "tst_textsave.moc"
