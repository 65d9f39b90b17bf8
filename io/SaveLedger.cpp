#include "SaveLedger.h"

#include <QDir>
#include <QFileInfo>

namespace {
// One name per file, however the path was written.
QString fileKey(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}
} // namespace

SaveLedger::Ticket SaveLedger::begin(const QString &path)
{
    const QString file = fileKey(path);
    m_newest[file] = ++m_lastNumber;
    return Ticket(*this, file, m_lastNumber);
}

quint64 SaveLedger::newest(const QString &file) const
{
    const auto found = m_newest.find(file);
    return found == m_newest.end() ? 0 : found->second;
}

void SaveLedger::release(const QString &file, quint64 number)
{
    const auto found = m_newest.find(file);
    if (found != m_newest.end() && found->second == number)
        m_newest.erase(found);
}
