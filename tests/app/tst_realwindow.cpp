#include "RecoveryRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Starts the real program in an Xvfb server, finds its window, closes it the way a window
// manager does (WM_DELETE_WINDOW) and checks that the program ends by itself with status 0.
// TARNWELL_UNDER_TEST names another build of the program to start (an installed one).
class RealWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startsShowsAndEndsWhenClosed();
    void fileNamedOnTheCommandLineIsLoaded();
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
    void listIsRestoredAfterAKill();

private:
    QStringList findWindows(QProcess &program, int atLeast);
    QString findWindow(QProcess &program) { return findWindows(program, 1).value(0); }
    void start(QProcess &program, const QStringList &arguments);
    void closeWindow(const QString &window);
    bool xdotool(QProcess &program, const QStringList &arguments);
    int windowWidth(QProcess &program, const QString &window);
    QProcess m_xvfb;
    QString m_display;
    QTemporaryDir m_home;
};

void RealWindowTest::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(),
             "Xvfb is not installed (scripts/install-deps installs it)");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is not installed (scripts/install-deps installs it)");
    // Xvfb picks a free display itself and names it on its output: other tests may start
    // servers of their own at the same time.
    m_xvfb.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp"), QStringLiteral("-noreset")});
    QVERIFY(m_xvfb.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(m_xvfb.canReadLine(), 10000);
    m_display = u':' + QString::fromLatin1(m_xvfb.readLine()).trimmed();
}

void RealWindowTest::cleanupTestCase()
{
    m_xvfb.terminate();
    m_xvfb.waitForFinished(5000);
}

QStringList RealWindowTest::findWindows(QProcess &program, int atLeast)
{
    QProcess search;
    search.setProcessEnvironment(program.processEnvironment());
    for (int attempt = 0; attempt < 100 && program.state() == QProcess::Running; ++attempt) {
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"), QStringLiteral("^Tarnwell$")});
        search.waitForFinished(5000);
        const QString found = QString::fromLatin1(search.readAllStandardOutput()).trimmed();
        const QStringList windows = found.isEmpty() ? QStringList() : found.split(u'\n');
        if (windows.size() >= atLeast)
            return windows;
        QTest::qWait(200);
    }
    return {};
}

void RealWindowTest::start(QProcess &program, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path() + u"/config");
    // One start in a hundred opens the home page: a browser that does nothing takes it, so
    // that start is like any other here.
    environment.insert(QStringLiteral("DEFAULT_BROWSER"), QStringLiteral("/bin/true"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(qEnvironmentVariable("TARNWELL_UNDER_TEST", QStringLiteral(TARNWELL_BINARY)),
                  arguments);
    QVERIFY(program.waitForStarted(10000));
}

int RealWindowTest::windowWidth(QProcess &program, const QString &window)
{
    QProcess query;
    query.setProcessEnvironment(program.processEnvironment());
    query.start(QStringLiteral("xdotool"),
                {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    query.waitForFinished(5000);
    const QStringList lines = QString::fromLatin1(query.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines) {
        if (line.startsWith(u"WIDTH="))
            return line.mid(6).toInt();
    }
    return 0;
}

void RealWindowTest::closeWindow(const QString &window)
{
    Display *display = XOpenDisplay(m_display.toLatin1().constData());
    QVERIFY(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(window.toULong());
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
}

void RealWindowTest::startsShowsAndEndsWhenClosed()
{
    QProcess program;
    start(program, {});
    const QString window = findWindow(program);
    QVERIFY2(!window.isEmpty(), "no window titled Tarnwell appeared");
    // The class the menu entry's StartupWMClass names, so task bars tie the two together.
    Display *display = XOpenDisplay(m_display.toLatin1().constData());
    QVERIFY(display);
    XClassHint hint{};
    QVERIFY(XGetClassHint(display, Window(window.toULong()), &hint) != 0);
    const QString windowClass = QString::fromLatin1(hint.res_class);
    XFree(hint.res_name);
    XFree(hint.res_class);
    XCloseDisplay(display);
    QCOMPARE(windowClass, QStringLiteral("Tarnwell"));
    QElapsedTimer clock;
    clock.start();
    closeWindow(window);

    QVERIFY2(program.waitForFinished(15000), "the program did not end after its window closed");
    qInfo("ended %lld ms after its window was closed", clock.elapsed());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void RealWindowTest::fileNamedOnTheCommandLineIsLoaded()
{
    // A file that is not there: the load it starts tells so in a box of its own, after the
    // window has shown, as the load command does.
    QProcess program;
    start(program, {m_home.filePath(QStringLiteral("not-there.txt"))});
    const QStringList windows = findWindows(program, 2);
    QVERIFY2(windows.size() == 2, "no \"File not found\" box appeared beside the window");
    // As a user would: OK the box first (the window does not close while it is open), then
    // close the window.
    QString mainWindow;
    for (const QString &window : windows) {
        if (windowWidth(program, window) == 536)
            mainWindow = window;
    }
    QVERIFY2(!mainWindow.isEmpty(), "no window of the main window's size");
    for (const QString &window : windows) {
        if (window != mainWindow)
            closeWindow(window);
    }
    QTRY_COMPARE_WITH_TIMEOUT(findWindows(program, 1), QStringList{mainWindow}, 10000);
    closeWindow(mainWindow);
    QVERIFY2(program.waitForFinished(15000), "the program did not end after its windows closed");
    QCOMPARE(program.exitCode(), 0);
}

void RealWindowTest::answersWithoutADisplay_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");

    QTest::newRow("--help-all") << "--help-all" << 0 << "[files...]";
    QTest::newRow("--version") << "--version" << 0 << "Tarnwell ";
    QTest::newRow("an unknown option") << "--bogus" << 1 << "Unknown option 'bogus'";
}

void RealWindowTest::answersWithoutADisplay()
{
    QFETCH(QString, argument);
    QFETCH(int, exitCode);
    QFETCH(QString, says);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("TARNWELL_UNDER_TEST", QStringLiteral(TARNWELL_BINARY)),
                  {argument});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString output = QString::fromUtf8(exitCode == 0 ? program.readAllStandardOutput()
                                                           : program.readAllStandardError());
    QVERIFY2(output.contains(says), qPrintable(output));
}

bool RealWindowTest::xdotool(QProcess &program, const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessEnvironment(program.processEnvironment());
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(5000) && tool.exitCode() == 0;
}

void RealWindowTest::listIsRestoredAfterAKill()
{
    // A program killed after a load leaves its list; the next start offers it, and Restore
    // (the question's default button) brings it back, kept for recovery in turn by the new
    // window; a normal close then leaves nothing to offer.
    const QString listPath = m_home.filePath(QStringLiteral("kept.txt"));
    QFile listFile(listPath);
    QVERIFY(listFile.open(QIODevice::WriteOnly));
    listFile.write("apple\npear\napple\nfig\n");
    listFile.close();
    const QDir state(m_home.filePath(QStringLiteral(".local/state/tarnwell")));
    const QStringList records{QStringLiteral("*.rec")};

    QProcess killed;
    start(killed, {listPath});
    QVERIFY2(!findWindow(killed).isEmpty(), "no window titled Tarnwell appeared");
    QTRY_COMPARE_WITH_TIMEOUT(state.entryList(records, QDir::Files).size(), 1, 15000);
    const QString leftRecord = state.entryList(records, QDir::Files).constFirst();
    killed.kill();
    QVERIFY(killed.waitForFinished(5000));

    QProcess restarted;
    start(restarted, {});
    const QStringList windows = findWindows(restarted, 2);
    QVERIFY2(windows.size() == 2, "no question beside the window after the kill");
    QString question;
    for (const QString &window : windows) {
        if (windowWidth(restarted, window) != 536)
            question = window;
    }
    QVERIFY2(!question.isEmpty(), "no window but the main window's size");
    QVERIFY(
        xdotool(restarted, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), question}));
    QVERIFY(xdotool(restarted, {QStringLiteral("key"), QStringLiteral("Return")}));
    const auto restoredTexts = [&] {
        QStringList texts;
        for (const QString &name : state.entryList(records, QDir::Files)) {
            if (name == leftRecord)
                continue;
            const RecoveryRecord::Reading reading = RecoveryRecord::read(state.filePath(name));
            for (qsizetype k = 0; k < reading.list.texts.size(); ++k)
                texts.append(reading.list.texts.at(k).toString());
        }
        return texts;
    };
    QTRY_COMPARE_WITH_TIMEOUT(
        restoredTexts(),
        (QStringList{QStringLiteral("pear"), QStringLiteral("apple"), QStringLiteral("fig")}),
        15000);
    QTRY_COMPARE_WITH_TIMEOUT(state.entryList(records, QDir::Files).size(), 1, 15000);

    const QStringList left = findWindows(restarted, 1);
    QCOMPARE(left.size(), 1);
    closeWindow(left.constFirst());
    QVERIFY2(restarted.waitForFinished(15000), "the program did not end after its window closed");
    QCOMPARE(restarted.exitCode(), 0);
    QCOMPARE(state.entryList(records, QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(RealWindowTest)
#include "tst_realwindow.moc"
