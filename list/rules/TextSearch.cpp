#include "TextSearch.h"

#include "Tidying.h"

#include <QChar>

namespace {
// Below U+0300 there are no combining marks, and every text is already composed: most items
// of most lists are searched as they stand, with no copy.
constexpr char16_t kFirstCombiningMark = 0x0300;

bool mayNeedComposing(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= kFirstCombiningMark)
            return true;
    }
    return false;
}

// True where the character at `i` is a combining mark, which belongs to the letter before it.
bool startsWithMark(QStringView text, qsizetype i)
{
    return i < text.size() && text[i].unicode() >= kFirstCombiningMark &&
           QChar::isMark(Tidy::codePointAt(text, i).value);
}
} // namespace

TextSearch::TextSearch(const QString &text, CaseOption option)
    : m_text(text.normalized(QString::NormalizationForm_C)),
      m_matcher(m_text, option == CaseOption::IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
{
}

bool TextSearch::foundIn(ItemText text) const
{
    if (text.isLatin1()) // below U+0300 throughout, so composed already
        return foundInComposed(Utf16Text(text));
    const QStringView item = text.asUtf16();
    if (!mayNeedComposing(item))
        return foundInComposed(item);
    const QString composed = item.toString().normalized(QString::NormalizationForm_C);
    return foundInComposed(composed);
}

bool TextSearch::foundInComposed(QStringView item) const
{
    for (qsizetype from = 0;;) {
        const qsizetype at = m_matcher.indexIn(item, from);
        if (at < 0)
            return false;
        if (!startsWithMark(item, at + m_text.size()))
            return true;
        from = at + 1;
    }
}
