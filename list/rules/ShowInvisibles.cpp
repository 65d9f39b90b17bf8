#include "ShowInvisibles.h"

#include "Tidying.h"

#include <QChar>

QString ShowInvisibles(QStringView text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    QString shown;
    shown.reserve(text.size());
    qsizetype position = 0;
    Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
        const qsizetype at = position;
        position += units.size();
        if (c == u' ') {
            shown.append(at < first || at >= last ? QChar(0x2423) : QChar(u' '));
            return;
        }
        if (c == 0xA0) {
            shown.append(QChar(0xB7));
            return;
        }
        const char *name = nullptr;
        switch (c) {
        case u'\t':
            name = "TAB";
            break;
        case 0x200B:
            name = "ZWSP";
            break;
        case 0x200C:
            name = "ZWNJ";
            break;
        case 0x200D:
            name = "ZWJ";
            break;
        case 0x2060:
            name = "WJ";
            break;
        case 0xFEFF:
            name = "BOM";
            break;
        case 0x00AD:
            name = "SHY";
            break;
        case 0x200E:
            name = "LRM";
            break;
        case 0x200F:
            name = "RLM";
            break;
        default:
            break;
        }
        if (name != nullptr) {
            shown += QChar(0x27E8) + QLatin1String(name) + QChar(0x27E9);
        } else if (Tidy::isWhiteSpace(c) || Tidy::isInvisible(c) ||
                   (units.size() == 1 && units[0].isSurrogate())) {
            shown += QChar(0x27E8) +
                     QStringLiteral("U+%1").arg(quint32(c), 4, 16, QChar(u'0')).toUpper() +
                     QChar(0x27E9);
        } else {
            shown += units;
        }
    });
    return shown;
}
