#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QString>

#include <memory>

class ListHost;

// Copied items as the clipboard holds them: the text, and the same text in UTF-8, made
// beforehand a slice at a time. Other programs ask for UTF-8, and the system's clipboard asks
// for it in the window's thread: converting hundreds of megabytes only then would hold the
// window still while another program pastes.
class CopiedText : public QMimeData
{
    Q_OBJECT

public:
    // Converts `text` with turns for the window, the progress bar moving from `progressFrom`
    // to 100.
    static std::unique_ptr<CopiedText> convertTakingTurns(QString text, ListHost &host,
                                                          double progressFrom = 0);

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    CopiedText(QString text, QByteArray utf8);

    QString m_text;
    QByteArray m_utf8;
};
