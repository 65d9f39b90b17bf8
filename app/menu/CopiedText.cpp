#include "CopiedText.h"

#include "ListHost.h"
#include "YieldPacing.h"

#include <QStringEncoder>

namespace {
constexpr qsizetype kSlice = qsizetype(1) << 20;

// At least as many bytes as the UTF-8 of `text`: one unit a character, three for a surrogate.
qsizetype utf8Bound(QStringView text)
{
    qsizetype bytes = 0;
    for (const QChar unit : text)
        bytes += unit.unicode() < 0x80 ? 1 : unit.unicode() < 0x800 ? 2 : 3;
    return bytes;
}
} // namespace

std::unique_ptr<CopiedText> CopiedText::convertTakingTurns(QString text, ListHost &host,
                                                           double progressFrom)
{
    YieldPacer pacer(host);
    const auto eachSlice = [&](const auto &take) {
        for (qsizetype at = 0; at < text.size(); at += kSlice) {
            take(QStringView(text).sliced(at, std::min(kSlice, text.size() - at)));
            if (pacer.due()) {
                host.setProgress(progressFrom + (100 - progressFrom) * double(at) / text.size());
                host.yieldToEventLoop();
            }
        }
    };
    qsizetype room = 0;
    eachSlice([&](QStringView slice) { room += utf8Bound(slice); });
    // Room for all of it at once: growing hundreds of megabytes would copy them whole.
    QByteArray utf8;
    utf8.reserve(room);
    // The encoder keeps a character cut in two by a slice's end for the next slice.
    QStringEncoder encoder(QStringConverter::Utf8);
    eachSlice([&](QStringView slice) {
        const qsizetype written = utf8.size();
        utf8.resize(std::min(room, written + encoder.requiredSpace(slice.size())));
        char *const end = encoder.appendToBuffer(utf8.data() + written, slice);
        utf8.resize(end - utf8.constData());
    });
    return std::unique_ptr<CopiedText>(new CopiedText(std::move(text), std::move(utf8)));
}

CopiedText::CopiedText(QString text, QByteArray utf8)
    : m_text(std::move(text)), m_utf8(std::move(utf8))
{
}

QStringList CopiedText::formats() const
{
    return {QStringLiteral("text/plain")};
}

bool CopiedText::hasFormat(const QString &mimeType) const
{
    return mimeType == u"text/plain";
}

QVariant CopiedText::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (mimeType != u"text/plain" && mimeType != u"text/plain;charset=utf-8")
        return {};
    if (type.id() == QMetaType::QByteArray)
        return m_utf8;
    return m_text;
}
