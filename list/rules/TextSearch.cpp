#include "TextSearch.h"

#include "Tidying.h"

#include <QChar>

#include <array>

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

// Each Latin-1 character as it stands, and case folded as the matcher folds it (µ folds to
// Greek mu, beyond Latin-1).
const char16_t *latin1Characters(bool folded)
{
    static const auto tables = [] {
        std::array<std::array<char16_t, 256>, 2> both{};
        for (int c = 0; c < 256; ++c) {
            both[0][size_t(c)] = char16_t(c);
            both[1][size_t(c)] = QChar::toCaseFolded(char16_t(c));
        }
        return both;
    }();
    return tables[folded ? 1 : 0].data();
}
} // namespace

TextSearch::TextSearch(const QString &text, CaseOption option)
    : m_text(text.normalized(QString::NormalizationForm_C)),
      m_matcher(m_text, option == CaseOption::IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
{
    const bool fold = option == CaseOption::IgnoreCase;
    m_latin1Compared = latin1Characters(fold);
    m_latin1MayHold = true;
    for (const QChar c : m_text) {
        const char16_t compared = fold ? QChar::toCaseFolded(c.unicode()) : c.unicode();
        m_compared.push_back(compared);
        // A Latin-1 item compares as Latin-1 characters, and µ as mu when folded.
        if (compared > 0xFF && !(fold && compared == m_latin1Compared[0xB5]))
            m_latin1MayHold = false;
    }
}

bool TextSearch::foundInLatin1(ItemText item) const
{
    if (!m_latin1MayHold)
        return false;
    const auto *chars = static_cast<const unsigned char *>(item.data());
    const qsizetype size = item.size();
    const qsizetype length = qsizetype(m_compared.size());
    if (length == 0)
        return true;
    const char16_t first = m_compared[0];
    for (qsizetype at = 0; at + length <= size; ++at) {
        if (m_latin1Compared[chars[at]] != first)
            continue;
        qsizetype k = 1;
        while (k < length && m_latin1Compared[chars[at + k]] == m_compared[size_t(k)])
            ++k;
        if (k == length)
            return true; // no combining marks in Latin-1: nothing can follow as part of it
    }
    return false;
}

bool TextSearch::foundIn(ItemText text) const
{
    if (text.isLatin1()) // below U+0300 throughout, so composed already
        return foundInLatin1(text);
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
