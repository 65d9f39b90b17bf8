#include "Fakes.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "NearGroupsView.h"
#include "ReadableStyle.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
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
#include <QStyle>
#include <QTableView>

#include <cmath>

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
// About GTK's own Adwaita:dark colours: white on a deep blue selection.
QPalette adwaitaDarkPalette()
{
    return paletteOf({"#eeeeec", "#353535", "#4b4b4b", "#404040", "#1b1b1b", "#2b2b2b", "#eeeeec",
                      "#ffffff", "#eeeeec", "#2d2d2d", "#353535", "#000000", "#15539e", "#ffffff",
                      "#3584e4", "#1b6acb", "#303030"});
}
// What Qt 6.4's GTK platform theme gives under GTK_THEME=Adwaita:dark, active and inactive
// alike: near-white text on a mid blue selection, 3.2:1 as it comes.
QPalette gtkThemeAdwaitaDarkPalette()
{
    return paletteOf({"#f0f0f0", "#323232", "#4b4b4b", "#2a2a2a", "#212121", "#262626", "#f0f0f0",
                      "#4b4b4b", "#f0f0f0", "#242424", "#323232", "#191919", "#308cc6", "#f0f0f0",
                      "#308cc6", "#ff00ff", "#2b2b2b"});
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
// The palette under test, the application's own again once the test is through.
class AppliedPalette
{
public:
    explicit AppliedPalette(const QPalette &palette) : m_before(QApplication::palette())
    {
        QApplication::setPalette(palette);
    }
    ~AppliedPalette() { QApplication::setPalette(m_before); }
    AppliedPalette(const AppliedPalette &) = delete;
    AppliedPalette &operator=(const AppliedPalette &) = delete;

private:
    QPalette m_before;
};
} // namespace

// The window's design: texts, boundaries, selections and the focus read under light, dark and
// high-contrast palettes, and every control has an accessible name.
class ReadableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // As the program draws its window.
    void initTestCase() { QApplication::setStyle(new ReadableStyle); }
    void init() { m_folders = std::make_unique<TestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void readableUnderLightAndDarkThemes_data();
    void readableUnderLightAndDarkThemes();
    void boundariesAndSelectionsReadUnderEveryPalette_data();
    void boundariesAndSelectionsReadUnderEveryPalette();
    void focusShowsUnderEveryPalette_data() { boundariesAndSelectionsReadUnderEveryPalette_data(); }
    void focusShowsUnderEveryPalette();
    void everyControlHasAnAccessibleName();

private:
    std::unique_ptr<TestFolders> m_folders;
};

void ReadableTest::everyControlHasAnAccessibleName()
{
    // Screen readers announce every control the keyboard reaches, and the status line and
    // progress bar too.
    TestWindow window(m_folders->program.path());
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

void ReadableTest::readableUnderLightAndDarkThemes_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("skin");
    QTest::newRow("light") << false << false;
    QTest::newRow("dark") << true << false;
    QTest::newRow("dark, with a skin") << true << true;
}

void ReadableTest::readableUnderLightAndDarkThemes()
{
    // Every text of the window against what it is painted on: at least 4.5:1, under the
    // desktop's light palette and a dark one, whichever backgrounds the window fixes.
    QFETCH(bool, dark);
    QFETCH(bool, skin);
    const AppliedPalette applied(dark ? darkPalette() : QApplication::style()->standardPalette());
    const TestFolders &folders = *m_folders;
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

void ReadableTest::boundariesAndSelectionsReadUnderEveryPalette_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette();
    QTest::newRow("darker (qt6ct)") << darkerPalette();
    QTest::newRow("Adwaita dark") << adwaitaDarkPalette();
    QTest::newRow("Adwaita dark (Qt 6.4's GTK theme)") << gtkThemeAdwaitaDarkPalette();
    QTest::newRow("high contrast") << highContrastPalette();
}

void ReadableTest::boundariesAndSelectionsReadUnderEveryPalette()
{
    // What is drawn, not just the palette: every control's edge 3:1 against what surrounds
    // it, and selected text 4.5:1, in the window, the near-duplicate review and the menu.
    QFETCH(QPalette, palette);
    const AppliedPalette applied(palette);
    TestWindow window(m_folders->program.path());
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

void ReadableTest::focusShowsUnderEveryPalette()
{
    QFETCH(QPalette, palette);
    const AppliedPalette applied(palette);
    TestWindow window(m_folders->program.path());
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

QTEST_MAIN(ReadableTest)
#include "tst_readable.moc"
