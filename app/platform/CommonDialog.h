#pragma once

#include <QString>
#include <QStringList>

class FileDialogs;

// The window's file dialog, used the way the load and save commands expect: they set the
// members, show it, and read FileName back. With several files chosen, FileName holds the
// folder and the names separated by NUL characters.
class CommonDialog
{
public:
    static constexpr int kAllowMultiSelect = 0x200;
    static constexpr int kMaxFileNameLength = 30000;
    // The error a dialog raises when the chosen names do not fit its name buffer.
    static constexpr int kBufferTooSmall = 20476;

    explicit CommonDialog(FileDialogs &dialogs) : m_dialogs(dialogs) {}

    QString FileName;
    int Flags = 0;
    QString DialogTitle;
    QString Filter; // "Description|pattern|Description|pattern|"

    // Both leave FileName empty on Cancel and throw Failure kBufferTooSmall when the result
    // does not fit the name buffer.
    void ShowOpen();
    void ShowSave();

    // "Text Files (*.txt)|*.txt|" -> {"Text Files (*.txt)"}, as Qt's dialogs take them.
    static QStringList qtFilters(const QString &filter);

private:
    void setResult(const QStringList &paths);

    FileDialogs &m_dialogs;
};
