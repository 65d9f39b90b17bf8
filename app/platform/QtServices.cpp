#include "QtServices.h"

#include "Failure.h"
#include "LineBreaks.h"
#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The messages carry Windows line ends (CR LF, bare CR); a label needs LF.
QString displayText(const QString &text)
{
    return LineBreaks::withBreaksAs(text, u'\n');
}
// A box as narrow as a short text ("Done.") cuts its own title off; keep it wide enough for
// the title and the title bar's buttons. A message box sizes itself from its layout, so the
// width goes in as a spacer across the layout's bottom row.
void keepTitleVisible(QMessageBox &box)
{
    const int width =
        box.fontMetrics().horizontalAdvance(box.windowTitle()) + WindowPlacement::titleBarRoom();
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

namespace {
// Beside `window` (right of it, else left, else the screen's bottom right corner), so that a
// box the user answers while working in another program covers neither.
QPoint besideWindow(const QWidget *window, const QSize &size)
{
    const QScreen *screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    const QRect free = screen->availableGeometry();
    if (window == nullptr)
        return free.bottomRight() - QPoint(size.width(), size.height());
    constexpr int kGap = 8;
    const QRect frame = window->frameGeometry();
    const int top = std::clamp(frame.top(), free.top(), free.bottom() - size.height());
    if (frame.right() + kGap + size.width() <= free.right())
        return {frame.right() + kGap, top};
    if (frame.left() - kGap - size.width() >= free.left())
        return {frame.left() - kGap - size.width(), top};
    return free.bottomRight() - QPoint(size.width(), size.height());
}
} // namespace

Prompts::Answer QtPrompts::messageBox(const QString &text, Style style, const QString &title)
{
    if (style == Style::OkCancel)
        return waitBesideTheWindow(text, title);
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(style == Style::ErrorReport ? QMessageBox::Warning : QMessageBox::NoIcon);
    switch (style) {
    case Style::YesNo:
    case Style::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(style == Style::YesNo ? QMessageBox::Yes : QMessageBox::No);
        break;
    case Style::ErrorReport:
        box.setStandardButtons(QMessageBox::Ok);
        box.setWindowModality(Qt::ApplicationModal);
        break;
    case Style::OkOnly:
    case Style::OkCancel: // not here: see waitBesideTheWindow()
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    // A box has no use for minimise and maximise. On Wayland the request reaches compositors
    // that draw the title bar; Qt's own title bar draws all three anyway (titleBarRoom counts
    // them).
    if (WindowPlacement::windowPlaceUnknown())
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    // Last: setting the icon or the buttons lays the box out anew.
    keepTitleVisible(box);
    const int pressed = box.exec();
    switch (style) {
    case Style::YesNo:
    case Style::YesNoDefaultNo:
        return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
    default:
        return Answer::Ok;
    }
}

Prompts::Answer QtPrompts::question(const QString &text, const QString &title,
                                    const QString &yesButton, const QString &noButton)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    QPushButton *yes = box.addButton(yesButton, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(noButton, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    keepTitleVisible(box);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

Prompts::Answer QtPrompts::waitForUser(const QString &text, const QString &title,
                                       const std::function<bool()> &gone)
{
    return waitBesideTheWindow(text, title, gone);
}

Prompts::Answer QtPrompts::waitBesideTheWindow(const QString &text, const QString &title,
                                               const std::function<bool()> &gone)
{
    // A small tool window that stays in front of the spreadsheet in which the user marks
    // cells, and leaves it the focus. It belongs to no window: a box of the main window would
    // raise that over the spreadsheet. Not modal either: a modal box takes the focus from the
    // window it blocks. Commands asked for meanwhile wait their turn.
    QDialog box(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint | Qt::WindowDoesNotAcceptFocus);
    box.setAttribute(Qt::WA_ShowWithoutActivating);
    box.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&box);
    auto *label = new QLabel(displayText(text), &box);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(buttons);
    box.adjustSize();
    box.move(besideWindow(m_parent, box.frameGeometry().size()));
    QEventLoop answered;
    QObject::connect(&box, &QDialog::finished, &answered, &QEventLoop::quit);
    // Asking may itself turn the event loop (a call into another program): never twice at
    // once.
    QTimer watch;
    bool asking = false;
    if (gone) {
        QObject::connect(&watch, &QTimer::timeout, &box, [&] {
            if (asking)
                return;
            asking = true;
            const bool ended = gone();
            asking = false;
            if (ended)
                box.reject();
        });
        watch.start(500);
    }
    box.show();
    answered.exec();
    return box.result() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}

QString QtPrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool accepted = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}

namespace {

// Qt's own open dialog refuses a typed name it cannot find, and with several names typed it
// quietly keeps only those it found. The program tells the user about a missing file itself
// ("File not found") and loads the rest, so every typed name goes through.
class OpenFileDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    QStringList chosenFiles() const { return m_typed.isEmpty() ? selectedFiles() : m_typed; }

    void accept() override
    {
        // While names are typed the dialog selects those it finds and rewrites the name box
        // to just them; what the user typed is what counts, unless they picked other files
        // since.
        const QStringList typed = pathsIn(m_typedText);
        const QStringList shown = nameBox() ? pathsIn(nameBox()->text()) : QStringList();
        const bool stillTyped = std::all_of(
            shown.begin(), shown.end(), [&](const QString &path) { return typed.contains(path); });
        const bool anyMissing = std::any_of(typed.begin(), typed.end(), [](const QString &path) {
            return !QFileInfo::exists(path);
        });
        if (stillTyped && anyMissing) {
            m_typed = typed;
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        if (QLineEdit *box = nameBox(); box != nullptr && !m_watchingNameBox) {
            connect(box, &QLineEdit::textEdited, this,
                    [this](const QString &text) { m_typedText = text; });
            m_watchingNameBox = true;
        }
        QFileDialog::showEvent(event);
    }

private:
    QLineEdit *nameBox() const { return findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); }

    // The names in a name box's text: one name, or several in double quotes; relative names
    // are in the dialog's folder.
    QStringList pathsIn(const QString &text) const
    {
        QStringList names;
        if (text.contains(u'"')) {
            const QStringList tokens = text.split(u'"');
            for (qsizetype i = 1; i < tokens.size(); i += 2)
                names.append(tokens[i]);
        } else {
            names.append(text);
        }
        QStringList paths;
        const QDir folder = directory();
        for (const QString &name : names) {
            if (!name.isEmpty())
                paths.append(folder.absoluteFilePath(name));
        }
        return paths;
    }

    QString m_typedText;
    bool m_watchingNameBox = false;
    QStringList m_typed;
};

} // namespace

QStringList QtFileDialogs::getOpenFileNames(const QString &title, const QStringList &filters,
                                            bool multiple)
{
    OpenFileDialog dialog(m_parent, title);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!m_lastFilter.isEmpty())
        dialog.selectNameFilter(m_lastFilter);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    m_lastFilter = dialog.selectedNameFilter();
    QStringList paths = dialog.chosenFiles();
    if (!multiple && paths.size() > 1)
        paths.resize(1);
    return paths;
}

QString QtFileDialogs::getSaveFileName(const QString &title, const QStringList &filters)
{
    // The program asks about an existing file itself.
    return QFileDialog::getSaveFileName(m_parent, title, QString(),
                                        filters.join(QStringLiteral(";;")), &m_lastFilter,
                                        QFileDialog::DontConfirmOverwrite);
}

void DesktopShell::openUrl(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        throw Failure(
            QCoreApplication::translate("Tarnwell", "Could not open %1").arg(url.toString()));
}

int SystemRandomDraw::oneToHundred()
{
    return int(QRandomGenerator::global()->bounded(1, 101));
}
