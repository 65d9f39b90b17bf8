// The window's start-up: its skin, title, icon, hand pointer and stored case option.

#include "Form1.h"

#include "Failure.h"
#include "FilePaths.h"
#include "ItemList.h"
#include "OptionalFiles.h"
#include "SettingsStore.h"
#include "Trap.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QTableView>
#include <QUrl>

namespace {

constexpr char kHomePage[] = "https://www.tarnwell.example/";
constexpr int kListColumnTwips = 7000;

// Option buttons of one group cannot be cleared one by one; a stored pair of False values
// must still be able to clear both.
void setOptionValue(QRadioButton *option, bool value)
{
    if (value || !option->isChecked()) {
        option->setChecked(value);
        return;
    }
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

// A .cur file's hotspot sits in its first directory entry.
QPoint cursorHotspot(const QByteArray &bytes)
{
    if (bytes.size() < 22)
        return {0, 0};
    const auto word = [&](int offset) {
        return int(quint8(bytes[offset])) | (int(quint8(bytes[offset + 1])) << 8);
    };
    return {word(10), word(12)};
}

} // namespace

void Form1::Form_Load()
{
    Trap trap(m_reporter, QStringLiteral("Form1.Form_Load"));
    trap.line(100, [&] { ApplySkin(); });
    trap.line(102, [&] {
        setWindowTitle(QStringView(kProductName).toString());
        QIcon icon;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            icon.addFile(QStringLiteral(":/tarnwell/icon-%1.png").arg(size), QSize(size, size));
        setWindowIcon(icon);
        SetAppTitle();
    });
    QString handCursorPath;
    if (trap.test(104, [&] {
            handCursorPath = OptionalFiles::find(m_services.programFolder,
                                                 QStringLiteral("HAND-M.CUR"), FileExists);
            return !handCursorPath.isEmpty();
        }))
        trap.line(106, [&] { loadHandCursor(handCursorPath); });
    trap.line(108, [&] {
        if (m_services.random.oneToHundred() != 7)
            return;
        // The visit is the program's own idea: where no browser can show the page, nothing
        // the user asked for failed, so nothing is said.
        try {
            m_services.shell.openUrl(QUrl(QString::fromLatin1(kHomePage)));
        } catch (const Failure &) {
        }
    });
    trap.line(126, [&] { m_items->addColumn(QCoreApplication::translate("Tarnwell", "Items:")); });
    trap.line(128, [&] { ListView1->setColumnWidth(0, twipsToPixels(kListColumnTwips)); });
    trap.line(134, [&] {
        setOptionValue(Option1, readStoredBoolean(m_settings.read(QStringLiteral("Option1"),
                                                                  QStringLiteral("1"))));
    });
    trap.line(136, [&] {
        setOptionValue(Option2, readStoredBoolean(m_settings.read(QStringLiteral("Option2"),
                                                                  QStringLiteral("0"))));
    });
    trap.line(130, [&] { setBackground(Label1, Qt::white); });
    trap.line(132, [&] { Label1->clear(); });
}

void Form1::ApplySkin()
{
    // Only a file is a skin: not a folder of that name, nor a pipe that would never end.
    const QString skinPath =
        OptionalFiles::find(m_services.programFolder, QStringLiteral("x/o.cjs"),
                            [](const QString &path) { return QFileInfo(path).isFile(); });
    if (skinPath.isEmpty())
        return;
    const QColor buttonFace = palette().color(QPalette::Button);
    const QColor buttonText = palette().color(QPalette::ButtonText);
    setBackground(this, buttonFace, buttonText);
    for (QWidget *widget : {static_cast<QWidget *>(Option1), static_cast<QWidget *>(Option2),
                            static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame2),
                            static_cast<QWidget *>(Label1)})
        setBackground(widget, buttonFace, buttonText);

    QFile skin(skinPath);
    if (!skin.open(QIODevice::ReadOnly))
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot read the skin %1: %2")
                          .arg(skinPath, skin.errorString()));
    const QByteArray styleSheet = skin.readAll();
    if (skin.error() != QFileDevice::NoError)
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot read the skin %1: %2")
                          .arg(skinPath, skin.errorString()));
    setStyleSheet(QString::fromUtf8(styleSheet));
}

void Form1::SetAppTitle()
{
    // Cut before the last blank at least once, and again while longer than 40 characters;
    // a name without a blank stays whole.
    QString title = QStringView(kProductName).toString();
    do {
        const qsizetype lastBlank = title.lastIndexOf(u' ');
        if (lastBlank < 0)
            break;
        title.truncate(lastBlank);
    } while (title.size() > 40);
    m_appTitle = title;
}

void Form1::loadHandCursor(const QString &path)
{
    // Reading anything but a file (a pipe, a device) could wait for ever.
    if (!QFileInfo(path).isFile())
        throw Failure(QCoreApplication::translate("Tarnwell", "Not a file: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot read %1: %2")
                          .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QPixmap image;
    if (!image.loadFromData(bytes, "CUR") && !image.loadFromData(bytes))
        throw Failure(QCoreApplication::translate("Tarnwell", "Invalid picture: %1").arg(path),
                      481);
    const QPoint hotspot = cursorHotspot(bytes);
    m_handCursor = QCursor(image, hotspot.x(), hotspot.y());
}
