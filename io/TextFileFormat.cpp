#include "TextFileFormat.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "Failure.h"
#include "TextPool.h"
#include "TextPoolBuilder.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringDecoder>

#include <optional>

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

void decodeWindows1252Into(const char *data, qsizetype size, char16_t *out)
{
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out[i] = (byte >= 0x80 && byte <= 0x9F) ? kWindows1252High[byte - 0x80] : char16_t(byte);
    }
}

// True when the bytes end inside a UTF-8 sequence: a lead byte whose continuation bytes are
// missing. A decoder that reads in pieces waits for them and never calls that an error.
bool endsInsideUtf8Sequence(QByteArrayView bytes)
{
    qsizetype continuation = 0;
    for (qsizetype i = bytes.size() - 1; i >= 0 && continuation < 4; --i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if ((byte & 0xC0) == 0x80) {
            ++continuation;
            continue;
        }
        const qsizetype needed = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        return needed > continuation;
    }
    return false;
}

// Decodes UTF-8 that stays within Latin-1 straight to one byte a character, ASCII sixteen
// bytes at a time, and stops at the first byte it cannot take so: a longer sequence, one
// that is not UTF-8, or one the piece cuts (the general decoder takes it from there).
// Returns how many bytes it read; `written` says how many it wrote.
qsizetype utf8ToLatin1(const unsigned char *from, qsizetype size, char *out, qsizetype &written)
{
    qsizetype read = 0, write = 0;
    while (read < size) {
#ifdef __SSE2__
        while (read + 16 <= size) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + read));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + write), chunk);
            const int beyondAscii = _mm_movemask_epi8(chunk);
            if (beyondAscii != 0) {
                const int ascii = __builtin_ctz(unsigned(beyondAscii));
                read += ascii;
                write += ascii;
                break;
            }
            read += 16;
            write += 16;
        }
        if (read == size)
            break;
#endif
        const unsigned char lead = from[read];
        if (lead < 0x80) {
            out[write++] = char(lead);
            ++read;
        } else if ((lead == 0xC2 || lead == 0xC3) && read + 1 < size &&
                   (from[read + 1] & 0xC0) == 0x80) {
            out[write++] = char(((lead & 0x1F) << 6) | (from[read + 1] & 0x3F));
            read += 2;
        } else {
            break;
        }
    }
    written = write;
    return read;
}

enum class FileEncoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

// One pass over the file from `start` in `encoding`; false when the file turned out not to be
// UTF-8 (only when reading it as UTF-8).
bool readPass(QIODevice &file, qint64 start, qint64 sizeHint, FileEncoding encoding,
              TextPoolBuilder &builder, const std::function<void()> &betweenChunks,
              qsizetype chunkBytes)
{
    builder.clear();
    if (!file.seek(start))
        throw Failure(
            QCoreApplication::translate("Tarnwell", "Cannot read %1").arg(file.errorString()));
    const bool utf16 = encoding == FileEncoding::Utf16LE || encoding == FileEncoding::Utf16BE;
    const qint64 bodySize = std::max<qint64>(0, sizeHint - start);
    // Room for the file's texts in the widest form they may take, so that the buffer moves
    // at most once, with the first chunk's text in it: a line with one character beyond
    // Latin-1 takes two bytes for each of its characters, up to twice its UTF-8 (as many as
    // its UTF-16), and moving hundreds of megabytes read so far would hold the window up for a
    // second. Room not written is never touched, and costs no memory. It is taken with the
    // room for the items, once the first chunk tells how many to expect: from then on the
    // text's pages are faulted in ahead on another thread, and taking more memory from the
    // system meanwhile would wait for that thread, the window still.
    const qint64 widest = utf16 ? bodySize + 2 : 2 * bodySize + 2;

    std::optional<QStringDecoder> decoder;
    if (encoding != FileEncoding::Windows1252) {
        // The file's own byte-order mark is skipped already; one that follows is the first
        // item's text.
        decoder.emplace(encoding == FileEncoding::Utf8      ? QStringConverter::Utf8
                        : encoding == FileEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE,
                        QStringConverter::Flag::ConvertInitialBom);
    }
    QByteArray chunk(chunkBytes, Qt::Uninitialized);
    qint64 bodyRead = 0;
    bool reservedItems = false;
    QByteArray lastBytes; // the end of what was read, to see whether it stops mid-character
    bool decoderMidSequence = false; // the decoder holds the start of a character
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunkBytes);
        if (got < 0)
            throw Failure(
                QCoreApplication::translate("Tarnwell", "Cannot read: %1").arg(file.errorString()));
        if (got == 0)
            break;
        bodyRead += got;
        const QByteArrayView bytes(chunk.constData(), got);
        // Most files are UTF-8 within Latin-1: that goes straight into the list's bytes, and
        // the decoder takes what is left of the piece from the first character beyond.
        qsizetype taken = 0;
        if (encoding == FileEncoding::Utf8 && !decoderMidSequence && builder.takesLatin1()) {
            qsizetype written = 0;
            taken = utf8ToLatin1(reinterpret_cast<const unsigned char *>(bytes.data()), got,
                                 builder.latin1Space(got), written);
            builder.addedLatin1(written);
        }
        const QByteArrayView rest = bytes.sliced(taken);
        char16_t *out = builder.space(utf16 ? got / 2 + 2 : rest.size() + 2);
        qsizetype written = 0;
        if (rest.isEmpty()) {
        } else if (decoder) {
            written = reinterpret_cast<char16_t *>(
                          decoder->appendToBuffer(reinterpret_cast<QChar *>(out), rest)) -
                      out;
            if (encoding == FileEncoding::Utf8 && decoder->hasError())
                return false;
        } else {
            decodeWindows1252Into(rest.data(), rest.size(), out);
            written = rest.size();
        }
        const bool last = file.atEnd();
        if (encoding == FileEncoding::Utf8) {
            lastBytes.append(bytes.last(std::min<qsizetype>(got, 4)));
            lastBytes = lastBytes.right(4);
            // The decoder, when it had any of the piece, may hold the start of a character
            // the next piece ends: it must see that piece first.
            decoderMidSequence = !rest.isEmpty() && endsInsideUtf8Sequence(lastBytes);
            if (last && endsInsideUtf8Sequence(lastBytes))
                return false;
        }
        // An odd last byte is marked as a whole-file decoder marks it (unless it is all there is).
        if (last && utf16 && bodyRead % 2 != 0 && bodyRead > 1)
            out[written++] = u'\uFFFD';
        builder.added(written);
        if (!reservedItems && !last && bodySize > 0) {
            // The first chunk tells roughly how many items the whole file holds; its text,
            // moved into the room, is a few megabytes at most.
            reservedItems = true;
            const double perByte = double(builder.itemCount()) / double(bodyRead);
            builder.reserve(qsizetype(perByte * double(bodySize) * 1.02) + 16, widest);
        }
        betweenChunks();
    }
    return true;
}

} // namespace

TextPool readListFile(QIODevice &file, qint64 sizeHint, const std::function<void()> &betweenChunks,
                      qsizetype chunkBytes)
{
    const QByteArray head = file.peek(3);
    TextPoolBuilder builder;
    if (startsWith(head, {0xFF, 0xFE}))
        readPass(file, 2, sizeHint, FileEncoding::Utf16LE, builder, betweenChunks, chunkBytes);
    else if (startsWith(head, {0xFE, 0xFF}))
        readPass(file, 2, sizeHint, FileEncoding::Utf16BE, builder, betweenChunks, chunkBytes);
    else {
        const qint64 bomSize = startsWith(head, {0xEF, 0xBB, 0xBF}) ? 3 : 0;
        if (!readPass(file, bomSize, sizeHint, FileEncoding::Utf8, builder, betweenChunks,
                      chunkBytes))
            readPass(file, bomSize, sizeHint, FileEncoding::Windows1252, builder, betweenChunks,
                     chunkBytes);
    }
    return builder.finish();
}
