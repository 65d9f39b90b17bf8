#include "CommonDialog.h"
#include "QtServices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// The real dialogs, driven as a user would: typed names, filters, the notices' size.
class DialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filters_data();
    void filters();
    void typedNamesGoThrough_data();
    void typedNamesGoThrough();
    void noticeShowsItsTitle();
    void markCellsBoxStandsBesideTheWindow_data();
    void markCellsBoxStandsBesideTheWindow();
    void markCellsBoxGoesWithTheWorkbook();
    void questionNamesItsButtons();

private:
    // Runs `act` on the dialog once it is open.
    static void whenOpen(const std::function<void(QWidget *)> &act)
    {
        QTimer::singleShot(0, [act] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            act(QApplication::activeModalWidget());
        });
    }
};

void DialogsTest::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("text and every file") << "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"
                                         << QStringList{"Text Files (*.txt)", "All Files (*)"};
    QTest::newRow("every file without its pattern in the description")
        << "Everything|*.*|" << QStringList{"Everything (*)"};
    QTest::newRow("other patterns with a dot stay")
        << "Excel Files (*.xl*)|*.xl*|" << QStringList{"Excel Files (*.xl*)"};
}

void DialogsTest::filters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(CommonDialog::qtFilters(filter), expected);
}

void DialogsTest::typedNamesGoThrough_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("one found, one missing")
        << "\"a.txt\" \"missing.txt\"" << QStringList{"a.txt", "missing.txt"};
    QTest::newRow("two found") << "\"a.txt\" \"b\"" << QStringList{"a.txt", "b"};
    QTest::newRow("one missing") << "missing.txt" << QStringList{"missing.txt"};
}

void DialogsTest::typedNamesGoThrough()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);

    QTemporaryDir folder;
    for (const char *name : {"a.txt", "b"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QtFileDialogs dialogs;
    whenOpen([&](QWidget *open) {
        auto *dialog = qobject_cast<QFileDialog *>(open);
        QVERIFY(dialog);
        dialog->setDirectory(folder.path());
        auto *nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameBox);
        // As typed: the dialog selects the names it knows, as a user sees it do.
        nameBox->setFocus();
        nameBox->insert(typed);
        QTest::keyClick(nameBox, Qt::Key_Return);
    });
    const QStringList chosen =
        dialogs.getOpenFileNames(QStringLiteral("Load"), {QStringLiteral("All Files (*)")}, true);
    QStringList expectedPaths;
    for (const QString &name : expected)
        expectedPaths.append(folder.filePath(name));
    QCOMPARE(chosen, expectedPaths);
}

void DialogsTest::noticeShowsItsTitle()
{
    QWidget parent;
    parent.show();
    QtPrompts prompts;
    prompts.setParentWidget(&parent);
    const QString title = QStringLiteral("Tarnwell, with a somewhat longer title");
    int width = 0;
    int titleWidth = 0;
    whenOpen([&](QWidget *box) {
        width = box->width();
        titleWidth = box->fontMetrics().horizontalAdvance(title);
        qobject_cast<QMessageBox *>(box)->accept();
    });
    prompts.messageBox(QStringLiteral("Done."), Prompts::Style::OkOnly, title);
    // Room for the title and the title bar's icon and buttons.
    QVERIFY2(width >= titleWidth + 100,
             qPrintable(QStringLiteral("box %1 px, title %2 px").arg(width).arg(titleWidth)));
}

void DialogsTest::markCellsBoxStandsBesideTheWindow_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void DialogsTest::markCellsBoxStandsBesideTheWindow()
{
    // The box that waits while the user marks cells in the spreadsheet: a tool window of no
    // parent (showing it raises no window of ours over the spreadsheet), that takes no focus
    // and blocks nothing, beside the main window.
    QFETCH(bool, ok);
    QWidget window;
    window.setGeometry(40, 40, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QtPrompts prompts;
    prompts.setParentWidget(&window);
    struct Seen
    {
        bool shown = false, ownParent = true, tool = false, noFocus = false, noActivation = false;
        Qt::WindowModality modality = Qt::ApplicationModal;
        bool beside = false;
    } seen;
    QTimer::singleShot(0, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QDialog *>(top);
            if (box == nullptr || !box->isVisible())
                continue;
            seen = {true,
                    box->parentWidget() != nullptr,
                    box->windowType() == Qt::Tool,
                    box->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus),
                    box->testAttribute(Qt::WA_ShowWithoutActivating),
                    box->windowModality(),
                    box->frameGeometry().left() > window.frameGeometry().right()};
            box->findChild<QDialogButtonBox *>()
                ->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
        }
    });
    const Prompts::Answer answer = prompts.messageBox(
        QStringLiteral("Highlight a block of cells with mouse"), Prompts::Style::OkCancel, {});
    QVERIFY(seen.shown);
    QVERIFY(!seen.ownParent);
    QVERIFY(seen.tool);
    QVERIFY(seen.noFocus);
    QVERIFY(seen.noActivation);
    QCOMPARE(seen.modality, Qt::NonModal);
    QVERIFY(seen.beside);
    QCOMPARE(answer, ok ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
}

void DialogsTest::markCellsBoxGoesWithTheWorkbook()
{
    // Asked twice a second whether the workbook is still there, the box ends by itself once
    // it is not, as Cancel; no one clicks.
    QtPrompts prompts;
    QElapsedTimer clock;
    clock.start();
    int asked = 0;
    const Prompts::Answer answer =
        prompts.waitForUser(QStringLiteral("Highlight a block of cells with mouse"), {}, [&] {
            ++asked;
            return clock.elapsed() > 700;
        });
    QCOMPARE(answer, Prompts::Answer::Cancel);
    QVERIFY(asked >= 2);
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!top->isVisible());
}

void DialogsTest::questionNamesItsButtons()
{
    QtPrompts prompts;
    QStringList buttons;
    for (const bool save : {true, false}) {
        whenOpen([&](QWidget *box) {
            buttons.clear();
            for (QPushButton *button : box->findChildren<QPushButton *>())
                buttons.append(button->text());
            for (QPushButton *button : box->findChildren<QPushButton *>()) {
                if (button->text() == (save ? u"Save with Blanks" : u"Don't Save"))
                    button->click();
            }
        });
        const Prompts::Answer answer =
            prompts.question(QStringLiteral("Save?"), QStringLiteral("Tarnwell"),
                             QStringLiteral("Save with Blanks"), QStringLiteral("Don't Save"));
        QCOMPARE(answer, save ? Prompts::Answer::Yes : Prompts::Answer::No);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Don't Save", "Save with Blanks"}));
    }
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
