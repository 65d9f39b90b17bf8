#include "RecoveryRecord.h"

#include "BlockCompressor.h"

#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <algorithm>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char kMagic[8] = {'T', 'W', 'R', 'E', 'C', 'O', 'V', '\n'};
// 2: blocks packed with zstd, each head giving the size unpacked.
constexpr quint32 kFormat = 2;
constexpr quint32 kByteOrder = 0x01020304;
constexpr qsizetype kHeaderBytes = 8 + 4 + 4 + 8 + 8 + 8 + 4 + 4;
constexpr qsizetype kBlockHeadBytes = 4 + 4 + 8 + 8 + 8;
// About a megabyte a block: small enough that reading one holds the window up for no more
// than a few milliseconds, large enough that its checksum costs nothing.
constexpr qsizetype kBlockBytes = qsizetype(1) << 20;

enum BlockKind : quint32 { kTexts = 1, kMarks = 2, kEnd = 3 };

template <typename T> void put(QByteArray &out, T value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

template <typename T> T take(const char *&in)
{
    T value;
    std::memcpy(&value, in, sizeof value);
    in += sizeof value;
    return value;
}

quint32 crcOf(quint32 seed, const char *data, qsizetype size)
{
    uLong crc = seed;
    while (size > 0) {
        const auto piece = uInt(std::min<qsizetype>(size, qsizetype(1) << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef *>(data), piece);
        data += piece;
        size -= piece;
    }
    return quint32(crc);
}

void putLength(QByteArray &out, quint64 value)
{
    while (value >= 0x80) {
        out.append(char(quint8(value) | 0x80));
        value >>= 7;
    }
    out.append(char(value));
}

bool takeLength(const char *&in, const char *end, quint64 &value)
{
    value = 0;
    for (int shift = 0; in < end && shift < 64; shift += 7) {
        const auto byte = quint8(*in++);
        value |= quint64(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A file written with plain system calls, so that it can be made durable before it counts.
class DurableFile
{
public:
    explicit DurableFile(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                      0600))
    {
        if (m_fd < 0)
            m_error = errno;
    }
    ~DurableFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DurableFile(const DurableFile &) = delete;
    DurableFile &operator=(const DurableFile &) = delete;

    int error() const { return m_error; }
    bool write(const char *data, qsizetype size)
    {
        while (size > 0 && m_error == 0) {
            const ssize_t written = ::write(m_fd, data, size_t(size));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                m_error = written < 0 ? errno : ENOSPC;
                return false;
            }
            data += written;
            size -= written;
        }
        return m_error == 0;
    }
    bool finish()
    {
        if (m_error == 0 && ::fsync(m_fd) != 0)
            m_error = errno;
        if (::close(m_fd) != 0 && m_error == 0)
            m_error = errno;
        m_fd = -1;
        return m_error == 0;
    }

private:
    int m_fd;
    int m_error = 0;
};

// Blocks appended to a record, each packed and closed with a checksum of what is on disk.
class BlockWriter
{
public:
    BlockWriter(DurableFile &file, quint32 seed, const std::atomic<bool> &stop)
        : m_file(file), m_seed(seed), m_stop(stop)
    {
    }

    // False when stopped or failed.
    bool add(quint32 kind, quint64 items, const QByteArray &unpacked)
    {
        const QByteArray *packed = m_compressor.pack(unpacked.constData(), unpacked.size(), m_stop);
        if (packed == nullptr)
            return false;
        const QByteArray &payload = *packed;
        QByteArray head;
        put(head, kind);
        put(head, m_sequence++);
        put(head, items);
        put(head, quint64(payload.size()));
        put(head, quint64(unpacked.size()));
        quint32 crc = crcOf(m_seed, head.constData(), head.size());
        crc = crcOf(crc, payload.constData(), payload.size());
        QByteArray tail;
        put(tail, crc);
        return m_file.write(head.constData(), head.size()) &&
               m_file.write(payload.constData(), payload.size()) &&
               m_file.write(tail.constData(), tail.size());
    }

private:
    DurableFile &m_file;
    quint32 m_seed;
    const std::atomic<bool> &m_stop;
    quint32 m_sequence = 0;
    BlockCompressor m_compressor;
};

QByteArray headerOf(const KeptList &list)
{
    QByteArray header;
    header.append(kMagic, sizeof kMagic);
    put(header, kFormat);
    put(header, kByteOrder);
    put(header, quint64(list.texts.size()));
    put(header, quint64(list.texts.byteCount()));
    put(header, qint64(list.keptAtMs));
    put(header, quint32((list.ignoreCase ? 1 : 0) | (list.matchCase ? 2 : 0)));
    put(header, crcOf(0, header.constData(), header.size()));
    return header;
}

// Writes the blocks of texts and marks and the closing block; false when stopped or failed.
bool writeBlocks(BlockWriter &blocks, const KeptList &list, const std::atomic<bool> &stop)
{
    const TextPool &texts = list.texts;
    QByteArray payload;
    payload.reserve(kBlockBytes + 16);
    quint64 inBlock = 0;
    for (qsizetype item = 0; item < texts.size(); ++item) {
        const ItemText text = texts.at(item);
        const bool wide = !text.isLatin1();
        const qsizetype bytes = text.size() * (wide ? 2 : 1);
        putLength(payload, (quint64(bytes) << 1) | (wide ? 1 : 0));
        payload.append(static_cast<const char *>(text.data()), bytes);
        ++inBlock;
        // A window waiting for the list to be let go of hears within a few thousand items.
        if (inBlock % 4096 == 0 && stop.load(std::memory_order_relaxed))
            return false;
        if (payload.size() >= kBlockBytes) {
            if (!blocks.add(kTexts, inBlock, payload))
                return false;
            payload.clear();
            inBlock = 0;
        }
    }
    if (inBlock > 0 && !blocks.add(kTexts, inBlock, payload))
        return false;
    for (size_t first = 0; first < list.checks.size(); first += size_t(kBlockBytes)) {
        const size_t count = std::min(list.checks.size() - first, size_t(kBlockBytes));
        if (!blocks.add(
                kMarks, count,
                QByteArray::fromRawData(reinterpret_cast<const char *>(list.checks.data() + first),
                                        qsizetype(count))))
            return false;
    }
    QByteArray end;
    put(end, quint64(texts.size()));
    return blocks.add(kEnd, 0, end);
}

void syncFolderOf(const QString &path)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

} // namespace

qsizetype KeptList::checkedCount() const
{
    return qsizetype(checks.size()) - std::count(checks.begin(), checks.end(), quint8(0));
}

std::optional<QString> RecoveryRecord::write(const QString &path, KeptList &&list,
                                             const std::atomic<bool> &stop,
                                             const std::function<void()> &released)
{
    const QString beside = path + QStringLiteral(".tmp");
    const QByteArray besideName = QFile::encodeName(beside);
    int error = 0;
    {
        DurableFile file(beside);
        const QByteArray header = headerOf(list);
        quint32 seed;
        std::memcpy(&seed, header.constData() + header.size() - 4, 4);
        BlockWriter blocks(file, seed, stop);
        bool written = file.error() == 0 && file.write(header.constData(), header.size()) &&
                       writeBlocks(blocks, list, stop);
        // The marks are the writer's own copy, kept for the next list's (see RecordWriter).
        list.texts = TextPool();
        if (released)
            released();
        written = written && file.finish();
        error = file.error();
        if (!written && error == 0) { // stopped
            ::unlink(besideName.constData());
            return std::nullopt;
        }
    }
    if (error == 0 && ::rename(besideName.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(besideName.constData());
        return systemError(error);
    }
    // The new name is durable only once the folder is.
    syncFolderOf(path);
    return std::nullopt;
}

RecoveryRecord::Reading RecoveryRecord::read(const QString &path,
                                             const std::function<void()> &betweenBlocks)
{
    Reading reading;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        reading.reason = file.errorString();
        return reading;
    }
    reading.outcome = Outcome::Damaged;
    const QByteArray header = file.read(kHeaderBytes);
    if (header.size() < qsizetype(sizeof kMagic) ||
        std::memcmp(header.constData(), kMagic, sizeof kMagic) != 0)
        return reading;
    if (header.size() < kHeaderBytes)
        return reading;
    const char *in = header.constData() + sizeof kMagic;
    const auto format = take<quint32>(in);
    const auto byteOrder = take<quint32>(in);
    const auto itemCount = take<quint64>(in);
    const auto textBytes = take<quint64>(in);
    const auto keptAt = take<qint64>(in);
    const auto caseButtons = take<quint32>(in);
    const auto headerCrc = take<quint32>(in);
    if (headerCrc != crcOf(0, header.constData(), kHeaderBytes - 4))
        return reading;
    if (format != kFormat || byteOrder != kByteOrder) {
        reading.outcome = Outcome::OtherVersion;
        return reading;
    }
    if (itemCount > quint64(TextPool::kMaxBytes) || textBytes > quint64(TextPool::kMaxBytes))
        return reading;

    KeptList list;
    list.keptAtMs = keptAt;
    list.ignoreCase = (caseButtons & 1) != 0;
    list.matchCase = (caseButtons & 2) != 0;
    list.texts.reserve(qsizetype(itemCount), qsizetype(textBytes));
    list.checks.reserve(size_t(itemCount));
    QString wideText;
    BlockCompressor compressor;
    for (quint32 sequence = 0;; ++sequence) {
        const QByteArray head = file.read(kBlockHeadBytes);
        if (head.size() < kBlockHeadBytes)
            return reading;
        const char *at = head.constData();
        const auto kind = take<quint32>(at);
        const auto blockSequence = take<quint32>(at);
        const auto items = take<quint64>(at);
        const auto bytes = take<quint64>(at);
        const auto unpackedBytes = take<quint64>(at);
        if (blockSequence != sequence || bytes > quint64(file.size() - file.pos()) ||
            unpackedBytes > quint64(TextPool::kMaxBytes) * 2)
            return reading;
        const QByteArray packed = file.read(qint64(bytes));
        const QByteArray tail = file.read(4);
        if (packed.size() != qsizetype(bytes) || tail.size() != 4)
            return reading;
        quint32 crc = crcOf(headerCrc, head.constData(), head.size());
        crc = crcOf(crc, packed.constData(), packed.size());
        const char *tailAt = tail.constData();
        if (take<quint32>(tailAt) != crc)
            return reading;
        const std::optional<QByteArray> unpacked =
            compressor.unpack(packed, qsizetype(unpackedBytes));
        if (!unpacked)
            return reading;
        const QByteArray &payload = *unpacked;

        const char *from = payload.constData();
        const char *end = from + payload.size();
        if (kind == kEnd) {
            if (payload.size() != 8 || take<quint64>(from) != itemCount ||
                quint64(list.texts.size()) != itemCount || list.checks.size() != itemCount ||
                !file.atEnd())
                return reading;
            break;
        }
        if (kind == kTexts && list.checks.empty() &&
            items <= itemCount - quint64(list.texts.size())) {
            for (quint64 item = 0; item < items; ++item) {
                quint64 length = 0;
                if (!takeLength(from, end, length) || (length >> 1) > quint64(end - from))
                    return reading;
                const auto size = qsizetype(length >> 1);
                if ((length & 1) == 0) {
                    list.texts.append(ItemText::latin1(from, size));
                } else {
                    if (size % 2 != 0)
                        return reading;
                    // Copied out first: a UTF-16 text need not begin at an even byte here.
                    wideText.resize(size / 2);
                    std::memcpy(wideText.data(), from, size_t(size));
                    list.texts.append(ItemText(QStringView(wideText)));
                }
                from += size;
            }
            if (from != end)
                return reading;
        } else if (kind == kMarks && quint64(list.texts.size()) == itemCount &&
                   items == unpackedBytes && items <= itemCount - list.checks.size()) {
            list.checks.insert(list.checks.end(), reinterpret_cast<const quint8 *>(from),
                               reinterpret_cast<const quint8 *>(end));
        } else {
            return reading;
        }
        if (betweenBlocks)
            betweenBlocks();
    }
    reading.outcome = Outcome::Read;
    reading.list = std::move(list);
    return reading;
}
