#include "ListFileWriter.h"

#include "Failure.h"

namespace {
constexpr qsizetype kFlushSize = 1 << 20;
}

ListFileWriter::ListFileWriter(const QString &path) : m_file(path) {}

void ListFileWriter::open()
{
    if (!m_file.open(QIODevice::WriteOnly))
        throw Failure(
            QStringLiteral("Cannot write %1: %2").arg(m_file.fileName(), m_file.errorString()));
    m_buffer.reserve(kFlushSize + 4096);
}

void ListFileWriter::writeItem(QStringView text)
{
    // Encode straight into the buffer: UTF-8 takes at most three bytes per UTF-16 unit.
    const qsizetype used = m_buffer.size();
    m_buffer.resize(used + text.size() * 3 + 2);
    char *end = m_encoder.appendToBuffer(m_buffer.data() + used, text);
    *end++ = '\r';
    *end++ = '\n';
    m_buffer.resize(end - m_buffer.constData());
    if (m_buffer.size() >= kFlushSize)
        flush();
}

void ListFileWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    if (m_file.write(m_buffer) != m_buffer.size())
        throw Failure(
            QStringLiteral("Cannot write %1: %2").arg(m_file.fileName(), m_file.errorString()));
    m_buffer.resize(0); // keeps the capacity for the next round
}

void ListFileWriter::commit()
{
    flush();
    if (!m_file.commit())
        throw Failure(
            QStringLiteral("Cannot save %1: %2").arg(m_file.fileName(), m_file.errorString()));
}
