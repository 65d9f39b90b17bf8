#include "TextFileFormat.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Windows-1252 0x80..0x9F; the undefined bytes keep their C1 value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool startsWith(const QByteArray &bytes, std::initializer_list<unsigned char> prefix)
{
    if (bytes.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char byte : prefix) {
        if (static_cast<unsigned char>(bytes[i++]) != byte)
            return false;
    }
    return true;
}

QString decodeStrict(QStringConverter::Encoding encoding, QByteArrayView bytes, bool &ok)
{
    // The file's own byte-order mark is gone by now; one that follows it is the first
    // item's text.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    ok = !decoder.hasError();
    return text;
}

} // namespace

QString decodeWindows1252(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out[i] = (byte >= 0x80 && byte <= 0x9F) ? kWindows1252High[byte - 0x80] : char16_t(byte);
    }
    return text;
}

QString decodeListFile(const QByteArray &bytes)
{
    bool ok = false;
    if (startsWith(bytes, {0xFF, 0xFE}))
        return decodeStrict(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2), ok);
    if (startsWith(bytes, {0xFE, 0xFF}))
        return decodeStrict(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2), ok);

    const qsizetype bomSize = startsWith(bytes, {0xEF, 0xBB, 0xBF}) ? 3 : 0;
    const QByteArrayView body = QByteArrayView(bytes).sliced(bomSize);
    QString text = decodeStrict(QStringConverter::Utf8, body, ok);
    if (ok)
        return text;
    return decodeWindows1252(body.data(), body.size());
}

bool LineSplitter::next(QStringView &line)
{
    const qsizetype size = m_text.size();
    if (m_position >= size)
        return false;
    const char16_t *chars = m_text.utf16();
    qsizetype end = m_position;
    while (end < size && chars[end] != u'\r' && chars[end] != u'\n')
        ++end;
    line = m_text.sliced(m_position, end - m_position);
    if (end < size && chars[end] == u'\r' && end + 1 < size && chars[end + 1] == u'\n')
        ++end;
    m_position = end + 1;
    return true;
}

std::vector<QStringView> splitLines(QStringView text)
{
    std::vector<QStringView> lines;
    LineSplitter splitter(text);
    QStringView line;
    while (splitter.next(line))
        lines.push_back(line);
    return lines;
}

QString FixDoubleSlashes(const QString &path, QChar separator)
{
    const QString pair(2, separator);
    if (!path.startsWith(separator))
        return QString(path).replace(pair, QString(separator));
    qsizetype restStart = 0;
    while (restStart < path.size() && path[restStart] == separator)
        ++restStart;
    return pair + path.mid(restStart).replace(pair, QString(separator));
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).lastModified().isValid();
}
