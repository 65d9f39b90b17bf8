#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>

// Starts the real program in an Xvfb server, finds its window, closes it the way a window
// manager does (WM_DELETE_WINDOW) and checks that the program ends by itself with status 0.
class RealWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startsShowsAndEndsWhenClosed();

private:
    QString findWindow(QProcess &program);
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
    int number = 77;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
        ++number;
    m_display = QStringLiteral(":%1").arg(number);
    m_xvfb.start(QStringLiteral("Xvfb"), {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                                          QStringLiteral("1024x768x24"),
                                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY(m_xvfb.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)),
                             10000);
}

void RealWindowTest::cleanupTestCase()
{
    m_xvfb.terminate();
    m_xvfb.waitForFinished(5000);
}

QString RealWindowTest::findWindow(QProcess &program)
{
    QProcess search;
    search.setProcessEnvironment(program.processEnvironment());
    for (int attempt = 0; attempt < 100 && program.state() == QProcess::Running; ++attempt) {
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"), QStringLiteral("^Tarnwell$")});
        search.waitForFinished(5000);
        const QString found = QString::fromLatin1(search.readAllStandardOutput()).trimmed();
        if (!found.isEmpty())
            return found.split(u'\n').constFirst();
        QTest::qWait(200);
    }
    return {};
}

void RealWindowTest::startsShowsAndEndsWhenClosed()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path() + u"/config");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(TARNWELL_BINARY), {});
    QVERIFY(program.waitForStarted(10000));

    const QString window = findWindow(program);
    QVERIFY2(!window.isEmpty(), "no window titled Tarnwell appeared");

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

    QVERIFY2(program.waitForFinished(15000), "the program did not end after its window closed");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(RealWindowTest)
#include "tst_realwindow.moc"
