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
    m_buffer += text.toUtf8();
    m_buffer += "\r\n";
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
    m_buffer.clear();
}

void ListFileWriter::commit()
{
    flush();
    if (!m_file.commit())
        throw Failure(
            QStringLiteral("Cannot save %1: %2").arg(m_file.fileName(), m_file.errorString()));
}
