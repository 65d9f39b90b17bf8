// Pasting from the clipboard of a real X server, whose owner may hang.

#include "ListMenu.h"
#include "WindowFixture.h"
#include "XvfbServer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <X11/Xlib.h>

class ClipboardTest : public QObject, private WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void anOwnerThatNeverAnswers();

private:
    void paste()
    {
        for (QAction *entry : form().listMenu().menu().actions()) {
            if (QString(entry->text()).remove(u'&') == u"Paste Items")
                entry->trigger();
        }
    }
};

void ClipboardTest::anOwnerThatNeverAnswers()
{
    // Another program takes the clipboard and then never reads its events.
    Display *hung = XOpenDisplay(nullptr);
    QVERIFY(hung != nullptr);
    const Window owner = XCreateSimpleWindow(hung, DefaultRootWindow(hung), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(hung, "CLIPBOARD", False);
    XSetSelectionOwner(hung, clipboard, owner, CurrentTime);
    XSync(hung, False);
    QCOMPARE(XGetSelectionOwner(hung, clipboard), owner);

    fill(form().items(), {"kept"});
    form().show();
    int turns = 0; // the window's, while the owner is asked
    QTimer ticking;
    connect(&ticking, &QTimer::timeout, [&] { ++turns; });
    ticking.start(20);
    paste();
    ticking.stop();
    QCOMPARE(status(), QStringLiteral("The program holding the clipboard did not answer."));
    QCOMPARE(items(), QStringList{"kept"});
    QVERIFY2(turns >= 20, qPrintable(QString::number(turns)));
    QVERIFY(m_window->prompts.shown.empty());

    // Once it is gone, no one holds the clipboard: nothing to paste, said at once.
    XCloseDisplay(hung);
    paste();
    QCOMPARE(status(), QStringLiteral("The clipboard holds no text to paste."));

    // Text the window put there itself pastes as ever.
    QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\n"));
    paste();
    QCOMPARE(items(), (QStringList{"kept", "one", "two"}));
}

int main(int argc, char *argv[])
{
    const XvfbServer xvfb("1024x768x24");
    if (!xvfb.isRunning())
        return 1;
    QApplication app(argc, argv);
    ClipboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_clipboard.moc"
