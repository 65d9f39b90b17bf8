#pragma once

#include <QByteArray>

#include <atomic>
#include <memory>
#include <optional>

// Packs the blocks of a recovery record with zstd at its fastest usual level: e-mail
// addresses and names take a third to a half of their size or less, so the record being
// written and the one it replaces fit together in about the list's own size. Each block is a
// frame of its own, read without the others; the compressor's state is reused from block to
// block, as building it costs more than a small block's packing.
class BlockCompressor
{
public:
    BlockCompressor();
    ~BlockCompressor();
    BlockCompressor(const BlockCompressor &) = delete;
    BlockCompressor &operator=(const BlockCompressor &) = delete;

    // The block packed, valid until the next call; nothing when `stop` was set meanwhile,
    // which is looked at every few dozen kilobytes so that a stop is heard within a fraction
    // of a millisecond's work. Throws std::bad_alloc when out of memory.
    const QByteArray *pack(const char *data, qsizetype size, const std::atomic<bool> &stop);
    // The block unpacked, when `packed` unpacks to exactly `size` bytes; else nothing.
    std::optional<QByteArray> unpack(const QByteArray &packed, qsizetype size);

private:
    struct Contexts;
    std::unique_ptr<Contexts> m_contexts;
    QByteArray m_packed;
};
