#include "CommandLine.h"
#include "Failure.h"
#include "Fakes.h"
#include "ItemList.h"
#include "ReadableStyle.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// Start-up, the case option and its store, the window's layout and tab order, the home page
// draw and the command line.
class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // As the program draws its window.
    void initTestCase() { QApplication::setStyle(new ReadableStyle); }
    void init() { m_folders = std::make_unique<TestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void firstStart();
    void layout_data();
    void layout();
    void tabOrder();
    void storedOption_data();
    void storedOption();
    void unreadableStoredOption_data();
    void unreadableStoredOption();
    void clickingAnOptionStoresBoth_data();
    void clickingAnOptionStoresBoth();
    void readStoredBoolean_data();
    void readStoredBoolean();
    void commandLine_data();
    void commandLine();
    void homePageDraw_data();
    void homePageDraw();

private:
    std::unique_ptr<TestFolders> m_folders;
};

void StartupTest::firstStart()
{
    TestWindow window(m_folders->program.path());
    Form1 &form = *window.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Tarnwell"));
    QCOMPARE(form.appTitle(), QStringLiteral("Tarnwell"));
    const QList<QSize> sizes = form.windowIcon().availableSizes();
    for (int size : {32, 48, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    QVERIFY(window.control<QRadioButton>("Option1")->isChecked());
    QVERIFY(!window.control<QRadioButton>("Option2")->isChecked());
    QCOMPARE(window.control<QLabel>("Label1")->text(), QString());
    QCOMPARE(window.control<QLabel>("Label1")->palette().color(QPalette::Window),
             QColor(Qt::white));
    QCOMPARE(form.items().headerCount(), 1);
    QCOMPARE(form.items().headerText(0), QStringLiteral("Items:"));
    QCOMPARE(window.control<QTableView>("ListView1")->columnWidth(0), 467);
    QVERIFY(window.prompts.shown.empty());
    QVERIFY(window.shell.opened.isEmpty());
    QVERIFY(!QFile::exists(m_folders->settingsFile())); // nothing written until a click
    QCOMPARE(form.mousePointer(), 0);
}

void StartupTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");

    QTest::newRow("ListView1") << "ListView1"
                               << "" << QRect(120, 120, 7800, 2295);
    QTest::newRow("Frame2") << "Frame2"
                            << "Duplicate Options" << QRect(120, 2460, 7800, 1035);
    QTest::newRow("Option2") << "Option2"
                             << "Match case" << QRect(240, 650, 1545, 255);
    QTest::newRow("Option1") << "Option1"
                             << "Ignore case" << QRect(240, 300, 2175, 255);
    QTest::newRow("Frame1") << "Frame1"
                            << "Enter New Item" << QRect(120, 5100, 7800, 855);
    QTest::newRow("Text1") << "Text1"
                           << "" << QRect(240, 300, 3600, 375);
    QTest::newRow("PushButton2") << "PushButton2"
                                 << "Add" << QRect(3960, 300, 3600, 405);
    QTest::newRow("ProgressBar1") << "ProgressBar1"
                                  << "" << QRect(120, 7460, 7800, 405);
    QTest::newRow("PushButton3") << "PushButton3"
                                 << "Load List From Text File" << QRect(120, 3610, 3840, 405);
    QTest::newRow("PushButton20") << "PushButton20"
                                  << "Save List To Text File" << QRect(4080, 3610, 3840, 405);
    QTest::newRow("PushButton1") << "PushButton1"
                                 << "Clear All Items" << QRect(4080, 6440, 3840, 405);
    QTest::newRow("PushButton17") << "PushButton17"
                                  << "Remove Items With..." << QRect(120, 6950, 3840, 405);
    QTest::newRow("PushButton16") << "PushButton16"
                                  << "Remove Items Without..." << QRect(4080, 6950, 3840, 405);
    QTest::newRow("PushButton18") << "PushButton18"
                                  << "Load List From Excel File" << QRect(120, 4120, 3840, 405);
    QTest::newRow("PushButton19") << "PushButton19"
                                  << "Remove Selected Item" << QRect(120, 6440, 3840, 405);
    QTest::newRow("PushButton15") << "PushButton15"
                                  << "Save List To Excel File" << QRect(4080, 4120, 3840, 405);
    QTest::newRow("PushButton22") << "PushButton22"
                                  << "Load Sample/Example List" << QRect(120, 4630, 7815, 405);
    QTest::newRow("Label1") << "Label1"
                            << "" << QRect(120, 6080, 7800, 255);
}

void StartupTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    TestWindow window(m_folders->program.path());
    QCOMPARE(window.form->size(), QSize(536, 531));
    QCOMPARE(window.form->minimumSize(), window.form->maximumSize()); // not resizable
    auto *widget = window.form->findChild<QWidget *>(name);
    QVERIFY(widget);
    const QRect expected((twips.left() + 7) / 15, (twips.top() + 7) / 15, (twips.width() + 7) / 15,
                         (twips.height() + 7) / 15);
    QCOMPARE(widget->geometry(), expected);

    QString shownCaption;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        shownCaption = button->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        shownCaption = frame->title();
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        shownCaption = edit->text();
    else if (auto *label = qobject_cast<QLabel *>(widget))
        shownCaption = label->text();
    QCOMPARE(shownCaption, caption);

    // Only the list has a tool tip.
    if (name == u"ListView1")
        QCOMPARE(widget->toolTip(), QStringLiteral("Double-click item to remove it. Move | line "
                                                   "to right and out of window to reveal full "
                                                   "names."));
    else
        QCOMPARE(widget->toolTip(), QString());

    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->font().family(), QStringLiteral("Arial"));
        QCOMPARE(button->font().pointSizeF(), 11.25);
        QCOMPARE(button->font().weight(), QFont::Bold);
    }
}

void StartupTest::tabOrder()
{
    TestWindow window(m_folders->program.path());
    const QStringList expected = {"ListView1",    "Option1",      "Option2",      "PushButton3",
                                  "PushButton20", "PushButton18", "PushButton15", "PushButton22",
                                  "Text1",        "PushButton2",  "PushButton19", "PushButton1",
                                  "PushButton17", "PushButton16", "ListView1"};
    QWidget *widget = window.control<QWidget>("ListView1");
    QStringList visited = {widget->objectName()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() & Qt::TabFocus ? false : true);
        visited.append(widget->objectName());
    }
    QCOMPARE(visited, expected);
    QCOMPARE(window.control<QWidget>("ProgressBar1")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.control<QWidget>("Label1")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.control<QWidget>("Frame1")->focusPolicy(), Qt::NoFocus);
}

void StartupTest::storedOption_data()
{
    QTest::addColumn<QString>("option1");
    QTest::addColumn<QString>("option2");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<bool>("matchCase");

    QTest::newRow("match case") << "False"
                                << "True" << false << true;
    QTest::newRow("ignore case") << "True"
                                 << "False" << true << false;
    QTest::newRow("both false: neither") << "False"
                                         << "False" << false << false;
    QTest::newRow("both true: match case wins") << "True"
                                                << "True" << false << true;
    QTest::newRow("numbers and letter case") << "0"
                                             << "tRUE" << false << true;
}

void StartupTest::storedOption()
{
    QFETCH(QString, option1);
    QFETCH(QString, option2);
    QFETCH(bool, ignoreCase);
    QFETCH(bool, matchCase);

    m_folders->store(QStringLiteral("Option1"), option1);
    m_folders->store(QStringLiteral("Option2"), option2);
    TestWindow window(m_folders->program.path());
    QCOMPARE(window.control<QRadioButton>("Option1")->isChecked(), ignoreCase);
    QCOMPARE(window.control<QRadioButton>("Option2")->isChecked(), matchCase);
    QVERIFY(window.prompts.shown.empty());
}

void StartupTest::unreadableStoredOption_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<bool>("matchCase");
    // Stored: Option1 False, Option2 True, then one of them spoilt.
    QTest::newRow("Option1 spoilt: Match case still restored") << "Option1" << 134 << false << true;
    QTest::newRow("Option2 spoilt: stays clear") << "Option2" << 136 << false << false;
}

void StartupTest::unreadableStoredOption()
{
    QFETCH(QString, key);
    QFETCH(int, line);
    QFETCH(bool, ignoreCase);
    QFETCH(bool, matchCase);

    m_folders->store(QStringLiteral("Option1"), QStringLiteral("False"));
    m_folders->store(QStringLiteral("Option2"), QStringLiteral("True"));
    m_folders->store(key, QStringLiteral("perhaps"));
    TestWindow window(m_folders->program.path());
    const QStringList reports = window.prompts.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains(QStringLiteral("Form1.Form_Load at line %1").arg(line)),
             qPrintable(reports[0]));
    // The other key still applies; the spoilt one leaves its button as it was.
    QCOMPARE(window.control<QRadioButton>("Option1")->isChecked(), ignoreCase);
    QCOMPARE(window.control<QRadioButton>("Option2")->isChecked(), matchCase);
    QCOMPARE(window.control<QLabel>("Label1")->text(), QString()); // start-up went on
}

void StartupTest::clickingAnOptionStoresBoth_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("option1");
    QTest::addColumn<QString>("option2");
    QTest::newRow("match case") << "Option2"
                                << "False"
                                << "True";
    QTest::newRow("ignore case again") << "Option1"
                                       << "True"
                                       << "False";
}

void StartupTest::clickingAnOptionStoresBoth()
{
    QFETCH(QString, clicked);
    QFETCH(QString, option1);
    QFETCH(QString, option2);

    {
        TestWindow window(m_folders->program.path());
        window.form->findChild<QRadioButton *>(clicked)->click();
        QCOMPARE(window.control<QLabel>("Label1")->text(), QString());
    }
    QCOMPARE(m_folders->stored(QStringLiteral("Option1")).toString(), option1);
    QCOMPARE(m_folders->stored(QStringLiteral("Option2")).toString(), option2);

    TestWindow restarted(m_folders->program.path());
    QCOMPARE(restarted.control<QRadioButton>("Option1")->isChecked(), option1 == u"True");
    QCOMPARE(restarted.control<QRadioButton>("Option2")->isChecked(), option2 == u"True");
}

void StartupTest::readStoredBoolean_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // 1 true, 0 false, -1 failure

    QTest::newRow("True") << "True" << 1;
    QTest::newRow("false in capitals") << "FALSE" << 0;
    QTest::newRow("default 1") << "1" << 1;
    QTest::newRow("default 0") << "0" << 0;
    QTest::newRow("minus one") << "-1" << 1;
    QTest::newRow("fraction") << "0.5" << 1;
    QTest::newRow("blanks around") << " True " << 1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("word") << "yes" << -1;
}

void StartupTest::readStoredBoolean()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    if (expected < 0) {
        QVERIFY_THROWS_EXCEPTION(Failure, ::readStoredBoolean(text));
        return;
    }
    QCOMPARE(::readStoredBoolean(text), expected == 1);
}

void StartupTest::homePageDraw_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<bool>("noBrowser");
    QTest::addColumn<int>("opened");
    QTest::newRow("1") << 1 << false << 0;
    QTest::newRow("7") << 7 << false << 1;
    QTest::newRow("100") << 100 << false << 0;
    QTest::newRow("7, no browser: nothing said") << 7 << true << 0;
}

void StartupTest::homePageDraw()
{
    QFETCH(int, draw);
    QFETCH(bool, noBrowser);
    QFETCH(int, opened);
    TestWindow window(m_folders->program.path(), draw, noBrowser);
    QCOMPARE(window.shell.opened.size(), opened);
    if (opened)
        QCOMPARE(window.shell.opened[0].scheme(), QStringLiteral("https"));
    QVERIFY(window.prompts.shown.empty());
}

void StartupTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("outputHas");

    using Action = CommandLine::Action;
    const QString here = QDir::currentPath();
    QTest::newRow("nothing") << QStringList{} << int(Action::Run) << QStringList{} << "";
    QTest::newRow("files from a file manager, relative made absolute")
        << QStringList{"/data/a.txt", "b.csv"} << int(Action::Run)
        << QStringList{"/data/a.txt", here + "/b.csv"} << "";
    QTest::newRow("a file whose name starts with a dash, after --")
        << QStringList{"--", "-odd.txt"} << int(Action::Run) << QStringList{here + "/-odd.txt"}
        << "";
    QTest::newRow("--version") << QStringList{"--version"} << int(Action::ShowVersion)
                               << QStringList{} << "Tarnwell " + tarnwellVersion();
    QTest::newRow("--help") << QStringList{"--help"} << int(Action::ShowHelp) << QStringList{}
                            << "[files...]";
    QTest::newRow("--help-all: the window system's options too")
        << QStringList{"--help-all"} << int(Action::ShowHelp) << QStringList{}
        << "-platform <name[:options]>";
    QTest::newRow("unknown option") << QStringList{"--frobnicate", "a.txt"} << int(Action::Fail)
                                    << QStringList{} << "Unknown option 'frobnicate'";
    // Left for the window system, which takes its own options out.
    QTest::newRow("the window system's option")
        << QStringList{"-platform", "xcb"} << int(Action::Fail) << QStringList{}
        << "Unknown option 'platform'";
}

void StartupTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, files);
    QFETCH(QString, outputHas);

    const CommandLine parsed = parseCommandLine(QStringList{"tarnwell"} + arguments);
    QCOMPARE(int(parsed.action), action);
    QCOMPARE(parsed.files, files);
    QVERIFY2(parsed.output.contains(outputHas), qPrintable(parsed.output));
    const bool answered =
        action != int(CommandLine::Action::Run) && !arguments.contains(QStringLiteral("-platform"));
    QCOMPARE(answeredWithoutWindow(QStringList{"tarnwell"} + arguments), answered);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
