#include "ListFileWriter.h"

#include "LineBreaks.h"
#include "Prompts.h"

#include <QCoreApplication>

#include <utility>

#include "Failure.h"
#include "ListHost.h"
#include "TextPool.h"
#include "YieldPacing.h"

#include <fcntl.h>

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {
constexpr qsizetype kFlushSize = 1 << 20;
constexpr qint64 kWritebackSize = qint64(16) << 20;
} // namespace

ListFileWriter::ListFileWriter(const QString &path) : m_file(path) {}

void ListFileWriter::open()
{
    // Unbuffered: each write goes to the file at once, so a failing one tells its reason.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot write %1: %2")
                          .arg(m_file.fileName(), m_file.errorString()));
    m_buffer.reserve(kFlushSize + 4096);
}

namespace {
// Writes Latin-1 characters to `out` as UTF-8: ASCII as it stands, sixteen at a time, and
// each other character as two bytes. Returns the end of what it wrote.
char *latin1AsUtf8(const unsigned char *from, qsizetype count, char *out)
{
    qsizetype i = 0;
    while (i < count) {
#ifdef __SSE2__
        for (; i + 16 <= count; i += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i));
            if (_mm_movemask_epi8(chunk) != 0)
                break;
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), chunk);
            out += 16;
        }
#endif
        const qsizetype stop = std::min(count, i + 16);
        for (; i < stop; ++i) {
            const unsigned char c = from[i];
            if (c < 0x80) {
                *out++ = char(c);
            } else {
                *out++ = char(0xC0 | (c >> 6));
                *out++ = char(0x80 | (c & 0x3F));
            }
        }
    }
    return out;
}
} // namespace

void ListFileWriter::writeItem(ItemText text)
{
    if (m_breaksAsBlanks && LineBreaks::holdsBreak(text)) {
        const QString joined = LineBreaks::asBlanks(Utf16Text(text));
        const bool asBlanks = std::exchange(m_breaksAsBlanks, false);
        writeItem(joined);
        m_breaksAsBlanks = asBlanks;
        return;
    }
    if (m_firstItem) {
        m_firstItem = false;
        if (!text.isEmpty() && text.at(0) == 0xFEFF)
            m_buffer.append("\xEF\xBB\xBF");
    }
    // Encode straight into the buffer: UTF-8 takes at most three bytes per UTF-16 unit, and
    // two per Latin-1 character.
    const qsizetype used = m_buffer.size();
    m_buffer.resize(used + text.size() * 3 + 2);
    char *end = text.isLatin1() ? latin1AsUtf8(static_cast<const unsigned char *>(text.data()),
                                               text.size(), m_buffer.data() + used)
                                : m_encoder.appendToBuffer(m_buffer.data() + used, text.asUtf16());
    *end++ = '\r';
    *end++ = '\n';
    m_buffer.resize(end - m_buffer.constData());
    if (m_buffer.size() >= kFlushSize)
        flush();
}

bool ListFileWriter::writeAll(const TextPool &texts, ListHost &host,
                              const std::function<bool()> &keepGoing)
{
    YieldPacer pacer(host);
    for (qsizetype position = 0; position < texts.size(); ++position) {
        writeItem(texts.at(position));
        if (position % 4096 == 0 && pacer.due()) {
            host.yieldToEventLoop();
            if (!keepGoing())
                return false;
        }
    }
    return true;
}

void ListFileWriter::flush()
{
    // A write that stops short (a full disk, a size limit) says why only when it is tried
    // again with the rest.
    qsizetype done = 0;
    while (done < m_buffer.size()) {
        const qint64 written = m_file.write(m_buffer.constData() + done, m_buffer.size() - done);
        if (written <= 0)
            throw Failure(QCoreApplication::translate("Tarnwell", "Cannot write %1: %2")
                              .arg(m_file.fileName(), m_file.errorString()));
        done += written;
    }
    m_buffer.resize(0); // keeps the capacity for the next round
    // Start writing what is written so far to the disk now, in the background: the commit
    // waits for the disk, and would otherwise wait for the whole file at once.
    m_written += done;
    if (m_written - m_writebackStarted >= kWritebackSize) {
        ::sync_file_range(m_file.handle(), m_writebackStarted, m_written - m_writebackStarted,
                          SYNC_FILE_RANGE_WRITE);
        m_writebackStarted = m_written;
    }
}

void ListFileWriter::commit()
{
    flush();
    if (!m_file.commit())
        throw Failure(QCoreApplication::translate("Tarnwell", "Cannot save %1: %2")
                          .arg(m_file.fileName(), m_file.errorString()));
}

bool agreeOnLineBreaks(const TextPool &texts, ListHost &host, Prompts &prompts,
                       const QString &title, ListFileWriter &writer)
{
    const qsizetype withBreaks = LineBreaks::countItemsWithBreaks(texts, host);
    if (withBreaks == 0)
        return true;
    if (prompts.question(
            QCoreApplication::translate("Tarnwell",
                                        "%n item(s) hold(s) line breaks: read back from the file, "
                                        "each would be several items.\r\rSave with the line "
                                        "breaks as blanks?",
                                        nullptr, int(withBreaks)),
            title, QCoreApplication::translate("Tarnwell", "Save with Blanks"),
            QCoreApplication::translate("Tarnwell", "Don't Save")) != Prompts::Answer::Yes) {
        host.setStatus(QCoreApplication::translate("Tarnwell", "Not saved."));
        return false;
    }
    writer.setLineBreaksAsBlanks(true);
    return true;
}
