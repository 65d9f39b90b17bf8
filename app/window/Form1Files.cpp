// The window's commands that read and write files: text files and spreadsheets.

#include "Form1.h"

#include "EscapeWatch.h"
#include "ExcelExport.h"
#include "ExcelImport.h"
#include "Failure.h"
#include "FilePaths.h"
#include "Hourglass.h"
#include "ItemList.h"
#include "List.h"
#include "TextFileImport.h"
#include "TextFileSave.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {
constexpr int kTextDialogFlags = 2621953;
constexpr int kExcelDialogFlags = 2621441;
// The dialog's filter: names and patterns, each after a "|".
constexpr char kTextFilter[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
// Calc opens its own format and text tables as well: they follow the Excel filter.
constexpr char kExcelFilter[] =
    QT_TRANSLATE_NOOP("Tarnwell", "Excel Files (*.xl*)|*.xl*|"
                                  "Spreadsheets (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)|*.ods;"
                                  "*.fods;*.xlsx;*.xlsm;*.xls;*.csv|All Files (*.*)|*.*|");
} // namespace

// ---- text files -----------------------------------------------------------------------------

void Form1::PushButton3_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton3_Click"));
    trap.line(100, [&] { m_commonDialog.FileName.clear(); });
    trap.line(102, [&] { m_commonDialog.Flags = kTextDialogFlags; });
    trap.line(104, [&] {
        m_commonDialog.DialogTitle = QCoreApplication::translate(
            "Tarnwell", "Load List(s) - Hold Ctrl to select multiple list files");
    });
    trap.line(
        106, [&] { m_commonDialog.Filter = QCoreApplication::translate("Tarnwell", kTextFilter); });
    if (auto failure = trap.attempt(108, [&] { m_commonDialog.ShowOpen(); })) {
        if (failure->number() == CommonDialog::kBufferTooSmall) {
            msgBox(QCoreApplication::translate("Tarnwell",
                                               "You've selected too many files to add.\r\r"
                                               "Please load them in smaller groups."));
            return;
        }
        trap.report(*failure);
    }
    if (trap.test(110, [&] { return m_commonDialog.FileName.isEmpty(); }))
        return;
    QStringList pathParts;
    trap.line(112, [&] { pathParts = m_commonDialog.FileName.split(QChar::Null); });
    importTextFiles(trap, pathParts);
}

void Form1::loadTextFiles(const QStringList &paths)
{
    m_commands.run(QCoreApplication::translate("Tarnwell", "Load List From Text File"),
                   [this, paths] { loadTextFilesNow(paths); });
}

namespace {
// A folder stands for the plain files in it, in name order; its folders are left alone.
QStringList filesIn(const QStringList &paths, QStringList &emptyFolders)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files.append(path);
            continue;
        }
        const QFileInfoList inside =
            QDir(path).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        if (inside.isEmpty())
            emptyFolders.append(path);
        for (const QFileInfo &file : inside)
            files.append(file.absoluteFilePath());
    }
    return files;
}
} // namespace

void Form1::loadTextFilesNow(const QStringList &named)
{
    QStringList emptyFolders;
    const QStringList paths = filesIn(named, emptyFolders);
    for (const QString &folder : emptyFolders)
        msgBox(QCoreApplication::translate("Tarnwell", "%1\r\rThis folder holds no files to load.")
                   .arg(folder));
    if (paths.isEmpty())
        return;
    // As the open dialog returns them: one full path, or the folder and the names.
    QStringList pathParts;
    const QString folder = QFileInfo(paths.front()).absolutePath();
    const bool oneFolder = std::all_of(paths.begin(), paths.end(), [&](const QString &path) {
        return QFileInfo(path).absolutePath() == folder;
    });
    if (paths.size() == 1) {
        pathParts = paths;
    } else {
        // Files from several folders keep their full paths.
        pathParts.append(oneFolder ? folder : QString());
        for (const QString &path : paths)
            pathParts.append(oneFolder ? QFileInfo(path).fileName() : path);
    }
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton3_Click"));
    importTextFiles(trap, pathParts);
}

void Form1::importTextFiles(Trap &trap, const QStringList &pathParts)
{
    const UndoHistory::Command command(
        *m_history, QCoreApplication::translate("Tarnwell", "Load List From Text File"));
    Hourglass hourglass(*this);
    if (trap.test(116, [&] { return pathParts.size() == 1; })) {
        QString path;
        trap.line(118, [&] { path = pathParts.front(); });
        trap.line(120, [&] { List::TextFileToListview(*m_items, path, *this); });
    } else if (trap.test(122, [&] { return pathParts.size() > 1; })) {
        for (qsizetype k = 1; k < pathParts.size(); ++k) {
            QString path;
            trap.line(130, [&] {
                path = QFileInfo(pathParts[k]).isAbsolute() ? pathParts[k]
                                                            : pathParts[0] + u'/' + pathParts[k];
            });
            trap.line(132, [&] { path = FixDoubleSlashes(path); });
            trap.line(134, [&] { List::TextFileToListview(*m_items, path, *this); });
        }
    }
    hourglass.off();
    trap.line(140, [&] { List::RemoveDupesAll(*m_items, *this); });
}

void Form1::PushButton20_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton20_Click"));
    trap.line(106, [&] { m_commonDialog.FileName.clear(); });
    trap.line(108, [&] { m_commonDialog.Flags = kTextDialogFlags; });
    trap.line(
        110, [&] { m_commonDialog.DialogTitle = QCoreApplication::translate("Tarnwell", "Save"); });
    trap.line(
        112, [&] { m_commonDialog.Filter = QCoreApplication::translate("Tarnwell", kTextFilter); });
    trap.line(114, [&] { m_commonDialog.ShowSave(); });
    QString path;
    trap.line(116, [&] { path = m_commonDialog.FileName; });
    if (trap.test(118, [&] { return path.isEmpty(); }))
        return;
    // The steps: file exists, overwrite asked, refused, line breaks, open, write, commit, done.
    saveTextFile(trap, {120, 122, 126, 129, 130, 136, 140, 142}, *this, m_services.prompts,
                 m_textSaves, path, [this] { return m_items->texts(); });
}

// ---- spreadsheets ---------------------------------------------------------------------------

ExcelContext Form1::excelContext()
{
    // Starting the office can take half a minute: say so, and let the window be closed.
    m_services.excel.whileStarting = [this] {
        setMousePointer(kPointerHourglass);
        setStatus(QCoreApplication::translate("Tarnwell", "Starting LibreOffice Calc..."));
    };
    m_services.excel.stopWaiting = [this] { return m_closed; };
    return {m_services.excel,
            m_services.prompts,
            m_appTitle,
            [this](int pointer) { setMousePointer(pointer); },
            [this] {
                raise();
                activateWindow();
            },
            [this] { return std::make_unique<EscapeWatch>(this, Label1); }};
}

void Form1::PushButton18_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton18_Click"));
    trap.line(104, [&] { m_commonDialog.FileName.clear(); });
    trap.line(106, [&] { m_commonDialog.Flags = kExcelDialogFlags; });
    trap.line(108, [&] {
        m_commonDialog.DialogTitle = QCoreApplication::translate("Tarnwell", "Add File");
    });
    trap.line(110, [&] {
        m_commonDialog.Filter = QCoreApplication::translate("Tarnwell", kExcelFilter);
    });
    trap.line(112, [&] { m_commonDialog.ShowOpen(); });
    if (trap.test(114, [&] { return m_commonDialog.FileName.isEmpty(); }))
        return;
    QString path;
    trap.line(116, [&] { path = m_commonDialog.FileName; });
    ExcelContext context = excelContext();
    const UndoHistory::Command command(
        *m_history, QCoreApplication::translate("Tarnwell", "Load List From Excel File"));
    bool read = true; // false: the user gave up on the workbook, and the status says so
    trap.line(138, [&] { read = List::ExcelToListview(*m_items, path, *this, context); });
    if (read)
        trap.line(140, [&] { List::RemoveDupesAll(*m_items, *this); });
}

void Form1::PushButton15_Click()
{
    Trap trap(m_reporter, QStringLiteral("Form1.PushButton15_Click"));
    ExcelContext context = excelContext();
    List::ListviewToExcel(*m_items, *this, context, trap, [this] { return Label1->text(); });
}
