#pragma once

// A list file's rules written out plainly, for the tests to hold the program's chunked reader
// against: the whole file decoded at once, then split into lines.

#include "LineBreaks.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <initializer_list>
#include <vector>

namespace ListFileReference {

// Windows-1252, with the five bytes it leaves undefined mapped to the C1 controls of the same
// value: no byte is lost or replaced.
inline QString decodeWindows1252(const char *data, qsizetype size)
{
    // 0x80..0x9F; the undefined bytes keep their C1 value.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        text[i] = QChar(byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : char16_t(byte));
    }
    return text;
}

inline bool startsWith(const QByteArray &bytes, std::initializer_list<unsigned char> prefix)
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

inline QString decodeStrict(QStringConverter::Encoding encoding, QByteArrayView bytes, bool &ok)
{
    // The file's own byte-order mark is gone by now; one that follows it is the first
    // item's text.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    ok = !decoder.hasError();
    return text;
}

// The bytes of a list file as text: a UTF-8 byte-order mark is dropped; a UTF-16 one (LE or
// BE) selects UTF-16; otherwise valid UTF-8 is read as UTF-8 and anything else as
// Windows-1252, so every byte of a legacy file arrives as a character.
inline QString decodeListFile(const QByteArray &bytes)
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

// Splits text into lines by the program's line-break rule (LineBreaks::breakLength: CR LF, CR
// and LF each end a line). A line end at the very end adds no empty line; empty lines inside
// stay; nothing is trimmed.
class LineSplitter
{
public:
    explicit LineSplitter(QStringView text) : m_text(text) {}
    // The next line, or false when the text is used up.
    bool next(QStringView &line)
    {
        const qsizetype size = m_text.size();
        if (m_position >= size)
            return false;
        qsizetype end = m_position;
        while (end < size && LineBreaks::breakLength(m_text, end) == 0)
            ++end;
        line = m_text.sliced(m_position, end - m_position);
        m_position = end < size ? end + LineBreaks::breakLength(m_text, end) : end;
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_position = 0;
};

inline std::vector<QStringView> splitLines(QStringView text)
{
    std::vector<QStringView> lines;
    LineSplitter splitter(text);
    QStringView line;
    while (splitter.next(line))
        lines.push_back(line);
    return lines;
}

} // namespace ListFileReference
