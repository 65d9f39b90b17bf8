#include "CsvOptions.h"

#include "LineBreaks.h"

#include <QStringDecoder>
#include <QStringList>

#include <array>
#include <map>

namespace {

constexpr int kUtf8 = 76;
constexpr int kUtf16 = 65535;
constexpr int kWindows1252 = 1;
constexpr qsizetype kLinesJudged = 200;

// The text's lines, a quoted field's line breaks kept inside its line, the last line left
// out when the head cuts it short.
QStringList recordsOf(const QString &text, bool cutShort)
{
    QStringList records;
    QString record;
    bool quoted = false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c == u'"')
            quoted = !quoted;
        if (!quoted && LineBreaks::isBreak(c.unicode())) {
            k += LineBreaks::breakLength(text, k) - 1;
            if (!record.isEmpty())
                records.append(record);
            record.clear();
            if (records.size() >= kLinesJudged)
                return records;
            continue;
        }
        record += c;
    }
    if (!record.isEmpty() && !cutShort)
        records.append(record);
    return records;
}

// The head without a UTF-8 character its end cuts short: that is no sign of another encoding.
QByteArrayView wholeCharacters(const QByteArray &head)
{
    qsizetype start = head.size();
    while (start > 0 && head.size() - start < 3 && (uchar(head[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0)
        return head;
    const uchar lead = uchar(head[start - 1]);
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > head.size() - (start - 1) ? QByteArrayView(head).first(start - 1)
                                              : QByteArrayView(head);
}

qsizetype fieldsOf(const QString &record, QChar separator)
{
    qsizetype fields = 1;
    bool quoted = false;
    for (const QChar c : record) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == separator)
            ++fields;
    }
    return fields;
}

} // namespace

CsvFormat detectCsvFormat(const QByteArray &head)
{
    CsvFormat format;
    QString text;
    if (head.startsWith("\xef\xbb\xbf")) {
        format.encoding = kUtf8;
        text = QString::fromUtf8(head.mid(3));
    } else if (head.startsWith("\xff\xfe") || head.startsWith("\xfe\xff")) {
        format.encoding = kUtf16;
        text = QStringDecoder(QStringDecoder::Utf16).decode(head);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(wholeCharacters(head));
        if (utf8.hasError()) {
            format.encoding = kWindows1252;
            text = QStringDecoder(QStringDecoder::Latin1).decode(head);
        }
    }
    // The separator whose field count repeats on the most lines wins; on equal terms, the one
    // giving more fields, then tab before semicolon before comma (a comma is often a decimal
    // point's stand-in where the semicolon separates).
    const QStringList records = recordsOf(text, head.size() >= kCsvHeadBytes);
    const std::array<QChar, 3> candidates = {u'\t', u';', u','};
    qsizetype bestLines = 0;
    qsizetype bestFields = 1;
    for (const QChar separator : candidates) {
        std::map<qsizetype, qsizetype> linesWithFields;
        for (const QString &record : records)
            ++linesWithFields[fieldsOf(record, separator)];
        for (const auto &[fields, lines] : linesWithFields) {
            if (fields < 2)
                continue;
            if (lines > bestLines || (lines == bestLines && fields > bestFields)) {
                bestLines = lines;
                bestFields = fields;
                format.separator = separator.unicode();
            }
        }
    }
    return format;
}

QString calcCsvFilterOptions(const CsvFormat &format)
{
    // Separator, text delimiter ("), encoding, first line.
    return QStringLiteral("%1,34,%2,1,,0").arg(int(format.separator)).arg(format.encoding);
}
