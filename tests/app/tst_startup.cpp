#include "CommandLine.h"
#include "Failure.h"
#include "Fakes.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "NearGroupsView.h"
#include "ReadableStyle.h"
#include "SettingsStore.h"
#include <QAbstractItemView>
#include <QAccessible>
#include <QScopeGuard>
#include <QStyle>
#include <cmath>
#include <map>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>

// Start-up, the case option and its store, and the window's design.
class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // As the program draws its window.
    void initTestCase() { QApplication::setStyle(new ReadableStyle); }
    void skinFoundWhereDebianKeepsIt_data();
    void skinFoundWhereDebianKeepsIt();
    void readableUnderLightAndDarkThemes_data();
    void readableUnderLightAndDarkThemes();
    void boundariesAndSelectionsReadUnderEveryPalette_data();
    void boundariesAndSelectionsReadUnderEveryPalette();
    void focusShowsUnderEveryPalette_data() { boundariesAndSelectionsReadUnderEveryPalette_data(); }
    void focusShowsUnderEveryPalette();
    void everyControlHasAnAccessibleName();
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
    void skinFile();
    void brokenSkinIsReportedAtLine100();
    void handPointerFile();
    void brokenHandPointerIsReportedAtLine106();
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

void StartupTest::skinFile()
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

void StartupTest::brokenSkinIsReportedAtLine100()
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

void StartupTest::handPointerFile()
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

void StartupTest::brokenHandPointerIsReportedAtLine106()
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

void StartupTest::everyControlHasAnAccessibleName()
{
    // Screen readers announce every control the keyboard reaches, and the status line and
    // progress bar too.
    TestFolders folders;
    TestWindow window(folders.program.path());
    window.form->show();
    QList<QWidget *> controls;
    for (QWidget *widget : window.form->findChildren<QWidget *>()) {
        if (widget->isVisible() && widget->focusPolicy() != Qt::NoFocus &&
            widget->objectName() != u"qt_scrollarea_viewport")
            controls.append(widget);
    }
    controls += {window.control<QWidget>("Label1"), window.control<QWidget>("ProgressBar1")};
    QVERIFY(controls.size() >= 15);
    for (QWidget *control : controls) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible != nullptr);
        QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
                 qPrintable(control->objectName() + u" " + control->metaObject()->className()));
    }
    window.form->setStatus(QStringLiteral("List cleared."));
    QCOMPARE(QAccessible::queryAccessibleInterface(window.control<QWidget>("Label1"))
                 ->text(QAccessible::Name),
             QStringLiteral("List cleared."));
    // The review's delimiter is named by its label, not by the delimiter it shows.
    window.form->listMenu().findNearDuplicates();
    auto *delimiter = window.form->nearDuplicates().dialog()->findChild<QComboBox *>();
    const auto labels =
        QAccessible::queryAccessibleInterface(delimiter)->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.constFirst().first->text(QAccessible::Name), QStringLiteral("Delimiter:"));
    // The window is a frame to a screen reader, as a main window is.
    QCOMPARE(QAccessible::queryAccessibleInterface(window.form.get())->role(), QAccessible::Window);
}

namespace {
// WCAG's contrast ratio of two colours, 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
               0.0722 * channel(colour.blueF());
    };
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// What the widget paints behind its window-text: its own background, or the nearest
// ancestor's that fills one.
QColor backgroundBehind(const QWidget *widget)
{
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(QPalette::Window);
    }
    return widget->palette().color(QPalette::Window);
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}
// Colours as a palette file lists them: QPalette's roles in their order, Window Text first.
QPalette paletteOf(const QStringList &colours)
{
    QPalette palette;
    for (int role = 0; role < colours.size(); ++role)
        palette.setColor(QPalette::ColorRole(role), QColor(colours[role]));
    return palette;
}
// qt6ct's "darker" scheme under Fusion, a dark window and lighter lists.
QPalette darkerPalette()
{
    return paletteOf({"#ffffff", "#424245", "#979797", "#5e5c5b", "#302f2e", "#4a4947", "#ffffff",
                      "#ffffff", "#ffffff", "#3d3d3d", "#222020", "#e7e4e0", "#12608a", "#f9f9f9",
                      "#0986d3", "#a70b06", "#5c5b5a"});
}
// About GTK's Adwaita:dark, as Qt's GTK theme takes it over.
QPalette adwaitaDarkPalette()
{
    return paletteOf({"#eeeeec", "#353535", "#4b4b4b", "#404040", "#1b1b1b", "#2b2b2b", "#eeeeec",
                      "#ffffff", "#eeeeec", "#2d2d2d", "#353535", "#000000", "#15539e", "#ffffff",
                      "#3584e4", "#1b6acb", "#303030"});
}
QPalette highContrastPalette()
{
    QPalette contrast;
    for (const auto role :
         {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button})
        contrast.setColor(role, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        contrast.setColor(role, Qt::white);
    contrast.setColor(QPalette::Highlight, QColor(0x1a, 0xeb, 0xff));
    contrast.setColor(QPalette::HighlightedText, Qt::black);
    return contrast;
}

// The strongest contrast of any pixel inside `rect` (device-independent, as the widget
// measures) against `around`.
double strongestEdge(const QImage &image, const QRect &rect, const QColor &around)
{
    const double scale = image.devicePixelRatio();
    const QRect pixels =
        QRect(QPoint(int(rect.left() * scale), int(rect.top() * scale)),
              QPoint(int((rect.right() + 1) * scale) - 1, int((rect.bottom() + 1) * scale) - 1))
            .intersected(image.rect());
    double strongest = 1.0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            strongest = std::max(strongest, contrast(image.pixelColor(x, y), around));
    }
    return strongest;
}

// Every text under `root` (and its own) against what it is painted on: at least 4.5:1.
void checkTexts(QWidget &root, int &checked)
{
    QList<QWidget *> widgets = root.findChildren<QWidget *>();
    widgets.prepend(&root);
    for (QWidget *widget : widgets) {
        if (!widget->isVisible() || !widget->isEnabled()) // a greyed control reads as greyed
            continue;
        const QPalette &palette = widget->palette();
        QColor text, background;
        if (qobject_cast<QPushButton *>(widget) || qobject_cast<QHeaderView *>(widget)) {
            text = palette.color(QPalette::ButtonText);
            background = palette.color(QPalette::Button);
        } else if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QAbstractItemView *>(widget)) {
            text = palette.color(QPalette::Text);
            background = palette.color(QPalette::Base);
        } else if (qobject_cast<QLabel *>(widget) || qobject_cast<QGroupBox *>(widget) ||
                   qobject_cast<QAbstractButton *>(widget) || qobject_cast<QMenu *>(widget)) {
            text = palette.color(QPalette::WindowText);
            background = backgroundBehind(widget);
        } else {
            continue;
        }
        ++checked;
        const double ratio = contrast(text, background);
        QVERIFY2(ratio >= 4.5,
                 qPrintable(QStringLiteral("%1 %2: %3 on %4 is %5:1")
                                .arg(QString::fromLatin1(widget->metaObject()->className()),
                                     widget->objectName(), text.name(), background.name())
                                .arg(ratio, 0, 'f', 2)));
    }
}
} // namespace

void StartupTest::readableUnderLightAndDarkThemes_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("skin");
    QTest::newRow("light") << false << false;
    QTest::newRow("dark") << true << false;
    QTest::newRow("dark, with a skin") << true << true;
}

void StartupTest::readableUnderLightAndDarkThemes()
{
    // Every text of the window against what it is painted on: at least 4.5:1, under the
    // desktop's light palette and a dark one, whichever backgrounds the window fixes.
    QFETCH(bool, dark);
    QFETCH(bool, skin);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    TestFolders folders;
    if (skin) {
        QVERIFY(QDir(folders.program.path()).mkpath(QStringLiteral("x")));
        QFile sheet(folders.program.filePath(QStringLiteral("x/o.cjs")));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
    }
    TestWindow window(folders.program.path());
    window.form->setStatus(QStringLiteral("List loaded. "));
    window.form->show();
    int checked = 0;
    checkTexts(*window.form, checked);
    QVERIFY(checked >= 18);
}

void StartupTest::boundariesAndSelectionsReadUnderEveryPalette_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette();
    QTest::newRow("darker (qt6ct)") << darkerPalette();
    QTest::newRow("Adwaita dark") << adwaitaDarkPalette();
    QTest::newRow("high contrast") << highContrastPalette();
}

void StartupTest::boundariesAndSelectionsReadUnderEveryPalette()
{
    // What is drawn, not just the palette: every control's edge 3:1 against what surrounds
    // it, and selected text 4.5:1, in the window, the near-duplicate review and the menu.
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    TestFolders folders;
    TestWindow window(folders.program.path());
    Form1 &form = *window.form;
    fill(form.items(), {"", "Anna", "anna", "x"}); // an empty item shows its box alone
    form.show();
    auto *list = window.control<QTableView>("ListView1");
    list->selectRow(3);
    for (QAction *entry : form.listMenu().menu().actions()) {
        if (QString(entry->text()).remove(u'&') == u"Find Near Duplicates...")
            entry->trigger();
    }
    NearDuplicatesDialog *dialog = form.nearDuplicates().dialog();
    QVERIFY(dialog != nullptr);
    QMenu &menu = form.listMenu().menu();
    menu.popup(form.mapToGlobal(QPoint(10, 10)));
    QAction *command = nullptr; // the first entry that is a command, not greyed
    for (QAction *entry : menu.actions()) {
        if (command == nullptr && entry->isEnabled() && !entry->isSeparator())
            command = entry;
    }
    menu.setActiveAction(command);

    int texts = 0;
    for (QWidget *root : {static_cast<QWidget *>(&form), static_cast<QWidget *>(dialog),
                          static_cast<QWidget *>(&menu)})
        checkTexts(*root, texts);
    QVERIFY(texts >= 30);

    // The edges of check boxes, option buttons, buttons, entry boxes and lists.
    int edges = 0;
    for (QWidget *root : {static_cast<QWidget *>(&form), static_cast<QWidget *>(dialog)}) {
        for (QWidget *widget : root->findChildren<QWidget *>()) {
            if (!widget->isVisible() || !widget->isEnabled())
                continue;
            QRect edge;
            if (auto *box = qobject_cast<QAbstractButton *>(widget);
                box && (qobject_cast<QCheckBox *>(box) || qobject_cast<QRadioButton *>(box))) {
                QStyleOptionButton option;
                option.initFrom(box);
                edge = box->style()->subElementRect(qobject_cast<QCheckBox *>(box)
                                                        ? QStyle::SE_CheckBoxIndicator
                                                        : QStyle::SE_RadioButtonIndicator,
                                                    &option, box);
            } else if (qobject_cast<QPushButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
                       qobject_cast<QAbstractItemView *>(widget) ||
                       qobject_cast<QProgressBar *>(widget)) {
                edge = widget->rect();
            } else {
                continue;
            }
            ++edges;
            const double ratio = strongestEdge(widget->grab().toImage(), edge,
                                               backgroundBehind(widget->parentWidget()));
            QVERIFY2(ratio >= 3.0,
                     qPrintable(QStringLiteral("%1 %2: edge %3:1")
                                    .arg(QString::fromLatin1(widget->metaObject()->className()),
                                         widget->objectName())
                                    .arg(ratio, 0, 'f', 2)));
        }
    }
    QVERIFY(edges >= 20);

    // A check box in a list: the empty item's, and an unchosen Keep box of the review.
    const auto cellEdge = [](QAbstractItemView &view, const QModelIndex &index) {
        return strongestEdge(view.viewport()->grab().toImage(), view.visualRect(index),
                             view.palette().color(QPalette::Base));
    };
    QVERIFY(cellEdge(*list, form.items().index(0, 0)) >= 3.0);
    form.items().setData(form.items().index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    QVERIFY(cellEdge(*list, form.items().index(1, 0)) >= 3.0);
    NearGroupsModel &groups = form.nearDuplicates().model();
    const QModelIndex unchosen = groups.index(0, 1, groups.index(0, 0));
    QCOMPARE(unchosen.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(unchosen.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Keep"));
    QVERIFY(cellEdge(dialog->view(), unchosen) >= 3.0);

    // Selected text on its highlight: a row of the list, the menu's active entry.
    const auto selectedText = [](const QImage &image, const QRect &rect) {
        // The highlight shows near the far end of the row, where no text reaches (the very
        // end may be the current item's focus frame).
        return strongestEdge(image, rect, image.pixelColor(rect.right() - 4, rect.center().y()));
    };
    const QRect row = list->visualRect(form.items().index(3, 0));
    QVERIFY(selectedText(list->viewport()->grab().toImage(), row) >= 4.5);
    const QRect entry = menu.actionGeometry(command);
    QVERIFY(selectedText(menu.grab().toImage(), entry) >= 4.5);
    menu.close();

    dialog->close();
}

void StartupTest::focusShowsUnderEveryPalette()
{
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    TestFolders folders;
    TestWindow window(folders.program.path());
    Form1 &form = *window.form;
    fill(form.items(), {"Anna", "anna", "x"});
    form.show();
    form.listMenu().findNearDuplicates();
    NearDuplicatesDialog *dialog = form.nearDuplicates().dialog();
    QVERIFY(dialog != nullptr);

    // Every control the keyboard moves the focus to shows it: the pixels that change, taken
    // together as long as half the control's outline at least, change 3:1.
    for (QRadioButton *column : dialog->findChildren<QRadioButton *>()) {
        if (column->text() == u"Colum&n")
            column->setChecked(true); // the delimiter and the column number take the focus too
    }
    int focusable = 0;
    // The review first: it keeps the window from the focus while it is open.
    for (QWidget *root : {static_cast<QWidget *>(dialog), static_cast<QWidget *>(&form)}) {
        if (root == &form)
            dialog->close();
        root->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(root));
        root->setAttribute(Qt::WA_KeyboardFocusChange);
        for (QWidget *control : root->findChildren<QWidget *>()) {
            if (!control->isVisible() || !control->isEnabled() ||
                !(control->focusPolicy() & Qt::TabFocus) || control->focusProxy() != nullptr ||
                qobject_cast<QAbstractSpinBox *>(control->parentWidget()) != nullptr ||
                qobject_cast<QComboBox *>(control->parentWidget()) != nullptr)
                continue;
            // Of a group of options the keyboard reaches the chosen one; arrows choose another.
            if (auto *option = qobject_cast<QRadioButton *>(control);
                option && !option->isChecked())
                continue;
            ++focusable;
            control->clearFocus();
            const QImage unfocused = control->grab().toImage();
            control->setFocus(Qt::TabFocusReason);
            QVERIFY2(control->hasFocus(), control->metaObject()->className());
            const QImage focused = control->grab().toImage();
            int changed = 0;
            for (int y = 0; y < focused.height(); ++y) {
                for (int x = 0; x < focused.width(); ++x)
                    changed +=
                        contrast(unfocused.pixelColor(x, y), focused.pixelColor(x, y)) >= 3.0;
            }
            QVERIFY2(changed >= control->width() + control->height(),
                     qPrintable(QStringLiteral("%1 %2: %3 pixels")
                                    .arg(QString::fromLatin1(control->metaObject()->className()),
                                         control->objectName())
                                    .arg(changed)));
        }
    }
    QVERIFY(focusable >= 20);
}

void StartupTest::skinFoundWhereDebianKeepsIt_data()
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

void StartupTest::skinFoundWhereDebianKeepsIt()
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

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
