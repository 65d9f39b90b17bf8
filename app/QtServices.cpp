#include "QtServices.h"

#include "Failure.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRandomGenerator>

namespace {
// The messages carry Windows line ends (CR LF, bare CR); a label needs LF.
QString displayText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}
} // namespace

Prompts::Answer QtPrompts::messageBox(const QString &text, Style style, const QString &title)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    switch (style) {
    case Style::YesNo:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    case Style::OkCancel:
        // Stays in front of the spreadsheet window in which the user is marking cells.
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setWindowModality(Qt::NonModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    case Style::ErrorReport:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        box.setWindowModality(Qt::ApplicationModal);
        break;
    case Style::OkOnly:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.exec();
    return Answer::Ok;
}

QString QtPrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool accepted = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}

QStringList QtFileDialogs::getOpenFileNames(const QString &title, const QStringList &filters,
                                            bool multiple)
{
    const QString filter = filters.join(QStringLiteral(";;"));
    if (multiple)
        return QFileDialog::getOpenFileNames(m_parent, title, QString(), filter, &m_lastFilter);
    const QString path =
        QFileDialog::getOpenFileName(m_parent, title, QString(), filter, &m_lastFilter);
    return path.isEmpty() ? QStringList() : QStringList{path};
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
        throw Failure(QStringLiteral("Could not open %1").arg(url.toString()));
}

int SystemRandomDraw::oneToHundred()
{
    return int(QRandomGenerator::global()->bounded(1, 101));
}
