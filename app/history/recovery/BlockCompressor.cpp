#include "BlockCompressor.h"

#include <zstd.h>

#include <algorithm>
#include <new>

namespace {

// Level 1: about as fast as the disk takes the bytes on this kind of machine, and well
// over half of e-mail-like text saved; higher levels cost several times the CPU for a few
// percent more.
constexpr int kLevel = 1;
// How much is packed between two looks at the stop flag.
constexpr size_t kSlice = size_t(64) << 10;

} // namespace

struct BlockCompressor::Contexts
{
    std::unique_ptr<ZSTD_CCtx, size_t (*)(ZSTD_CCtx *)> packing{ZSTD_createCCtx(), ZSTD_freeCCtx};
    std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx *)> unpacking{ZSTD_createDCtx(), ZSTD_freeDCtx};
};

BlockCompressor::BlockCompressor() : m_contexts(std::make_unique<Contexts>())
{
    if (!m_contexts->packing || !m_contexts->unpacking ||
        ZSTD_isError(
            ZSTD_CCtx_setParameter(m_contexts->packing.get(), ZSTD_c_compressionLevel, kLevel)))
        throw std::bad_alloc();
}

BlockCompressor::~BlockCompressor() = default;

const QByteArray *BlockCompressor::pack(const char *data, qsizetype size,
                                        const std::atomic<bool> &stop)
{
    ZSTD_CCtx *packing = m_contexts->packing.get();
    m_packed.resize(qsizetype(ZSTD_compressBound(size_t(size))));
    ZSTD_outBuffer out{m_packed.data(), size_t(m_packed.size()), 0};
    ZSTD_inBuffer in{data, 0, 0};
    // The whole size told first, so the frame says it and a reader can check it.
    size_t result = ZSTD_CCtx_reset(packing, ZSTD_reset_session_only);
    if (!ZSTD_isError(result))
        result = ZSTD_CCtx_setPledgedSrcSize(packing, static_cast<unsigned long long>(size));
    while (!ZSTD_isError(result)) {
        if (stop.load(std::memory_order_relaxed))
            return nullptr;
        in.size = std::min(size_t(size), in.size + kSlice);
        const bool last = in.size == size_t(size);
        result = ZSTD_compressStream2(packing, &out, &in, last ? ZSTD_e_end : ZSTD_e_continue);
        if (last && result == 0)
            break;
    }
    // With room for the worst case, packing fails only for want of memory.
    if (ZSTD_isError(result))
        throw std::bad_alloc();
    m_packed.resize(qsizetype(out.pos));
    return &m_packed;
}

std::optional<QByteArray> BlockCompressor::unpack(const QByteArray &packed, qsizetype size)
{
    if (ZSTD_getFrameContentSize(packed.constData(), size_t(packed.size())) !=
        static_cast<unsigned long long>(size))
        return std::nullopt;
    QByteArray block(size, Qt::Uninitialized);
    const size_t unpacked =
        ZSTD_decompressDCtx(m_contexts->unpacking.get(), block.data(), size_t(block.size()),
                            packed.constData(), size_t(packed.size()));
    if (ZSTD_isError(unpacked) || unpacked != size_t(size))
        return std::nullopt;
    return block;
}
