#include "Fakes.h"
#include "ReadableStyle.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <cmath>
#include <map>

// The skin and the hand pointer files: what they change, where a skin is found, and a
// broken one reported.
class SkinTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // As the program draws its window.
    void initTestCase() { QApplication::setStyle(new ReadableStyle); }
    void init() { m_folders = std::make_unique<TestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void skinFoundWhereDebianKeepsIt_data();
    void skinFoundWhereDebianKeepsIt();
    void skinFile();
    void brokenSkinIsReportedAtLine100();
    void handPointerFile();
    void brokenHandPointerIsReportedAtLine106();

private:
    std::unique_ptr<TestFolders> m_folders;
};

void SkinTest::skinFile()
{
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QVERIFY(buttonFace != QColor(Qt::white));
    {
        TestWindow plain(m_folders->program.path());
        QCOMPARE(plain.form->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(plain.form->styleSheet(), QString());
    }
    {
        // A folder of the skin's name is no skin, and no failure either.
        QVERIFY(QDir(m_folders->program.path()).mkpath(QStringLiteral("x/o.cjs")));
        TestWindow folderOnly(m_folders->program.path());
        QVERIFY(folderOnly.prompts.shown.empty());
        QCOMPARE(folderOnly.form->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(QDir(m_folders->program.path() + QStringLiteral("/x/o.cjs")).removeRecursively());
    }
    QDir(m_folders->program.path()).mkpath(QStringLiteral("x"));
    QFile skin(m_folders->program.path() + QStringLiteral("/x/o.cjs"));
    QVERIFY(skin.open(QIODevice::WriteOnly));
    skin.write("QPushButton { color: navy; }");
    skin.close();

    TestWindow skinned(m_folders->program.path());
    QVERIFY(skinned.prompts.shown.empty());
    QCOMPARE(skinned.form->styleSheet(), QStringLiteral("QPushButton { color: navy; }"));
    QCOMPARE(skinned.form->palette().color(QPalette::Window), buttonFace);
    QCOMPARE(skinned.control<QWidget>("Frame2")->palette().color(QPalette::Window), buttonFace);
    QCOMPARE(skinned.control<QWidget>("Option1")->palette().color(QPalette::Window), buttonFace);
    // The status line turns white again at the end of start-up.
    QCOMPARE(skinned.control<QWidget>("Label1")->palette().color(QPalette::Window),
             QColor(Qt::white));
}

void SkinTest::brokenSkinIsReportedAtLine100()
{
    // A skin file whose reading fails: memory that is not there to read.
    QVERIFY(QDir(m_folders->program.path()).mkpath(QStringLiteral("x")));
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"),
                        m_folders->program.path() + QStringLiteral("/x/o.cjs")));

    TestWindow window(m_folders->program.path());
    const QStringList reports = window.prompts.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports[0].contains(QStringLiteral("Form1.Form_Load at line 100")));
    QCOMPARE(window.form->windowTitle(), QStringLiteral("Tarnwell")); // start-up went on
}

void SkinTest::handPointerFile()
{
    {
        TestWindow noFile(m_folders->program.path());
        noFile.form->setMousePointer(99);
        QCOMPARE(noFile.form->cursor().shape(), Qt::PointingHandCursor);
    }
    // A 32x32 cursor drawn here, hotspot (5, 3).
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(5, 3, Qt::black);
    QByteArray ico;
    {
        QBuffer buffer(&ico);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "ICO"));
    }
    ico[2] = 2; // type: cursor
    ico[10] = 5;
    ico[12] = 3;
    QFile file(m_folders->program.path() + QStringLiteral("/HAND-M.CUR"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ico);
    file.close();

    TestWindow window(m_folders->program.path());
    QVERIFY2(window.prompts.shown.empty(), qPrintable(window.prompts.texts().join(u'|')));
    window.form->setMousePointer(99);
    QCOMPARE(window.form->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(window.form->cursor().hotSpot(), QPoint(5, 3));
}

void SkinTest::brokenHandPointerIsReportedAtLine106()
{
    QFile file(m_folders->program.path() + QStringLiteral("/HAND-M.CUR"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no picture");
    file.close();
    TestWindow window(m_folders->program.path());
    const QStringList reports = window.prompts.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports[0].contains(QStringLiteral("Form1.Form_Load at line 106")));
    window.form->setMousePointer(99);
    QCOMPARE(window.form->cursor().shape(), Qt::PointingHandCursor);
}

void SkinTest::skinFoundWhereDebianKeepsIt_data()
{
    QTest::addColumn<QStringList>("folders"); // where a skin is put: program, config, data
    QTest::addColumn<QString>("used");

    QTest::newRow("none") << QStringList{} << "";
    QTest::newRow("the program's folder") << QStringList{"program"} << "program";
    QTest::newRow("the user's configuration") << QStringList{"config"} << "config";
    QTest::newRow("the system's data") << QStringList{"data"} << "data";
    QTest::newRow("the program's folder first")
        << QStringList{"program", "config", "data"} << "program";
    QTest::newRow("then the user's") << QStringList{"config", "data"} << "config";
}

void SkinTest::skinFoundWhereDebianKeepsIt()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, used);
    TestFolders where;
    const std::map<QString, QString> roots = {
        {"program", where.program.path()},
        {"config", where.config.path() + QStringLiteral("/tarnwell")},
        {"data", where.data.path() + QStringLiteral("/tarnwell")}};
    for (const QString &folder : folders) {
        QVERIFY(QDir(roots.at(folder)).mkpath(QStringLiteral("x")));
        QFile skin(roots.at(folder) + QStringLiteral("/x/o.cjs"));
        QVERIFY(skin.open(QIODevice::WriteOnly));
        skin.write("QPushButton { border: 1px solid black; } /* " + folder.toLatin1() + " */");
    }
    TestWindow window(where.program.path());
    QVERIFY(window.prompts.shown.empty());
    QCOMPARE(window.form->styleSheet().section(QStringLiteral("/* "), 1).section(u' ', 0, 0), used);
}

QTEST_MAIN(SkinTest)
#include "tst_skin.moc"
