#include "NearKey.h"

#include "CaseRule.h"
#include "Tidying.h"

#include <QChar>
#include <QStringList>

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

bool isPunctuationOrSymbol(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
    case QChar::Symbol_Math:
    case QChar::Symbol_Currency:
    case QChar::Symbol_Modifier:
    case QChar::Symbol_Other:
        return true;
    default:
        return false;
    }
}

// The code points whose full case folding is not their simple one, which Qt does not offer
// (its folding keeps "ß" and "ẞ"): those whose upper or lower case is longer ("ß" -> "SS",
// "ﬁ" -> "FI", "İ" -> "i̇"), folded as the lower case of their upper case, and those that
// fold simply onto one of them ("ẞ" -> "ß" -> "ss"). Worked out once, from Qt's own tables.
const std::unordered_map<char32_t, QString> &fullFoldings()
{
    static const auto foldings = [] {
        const auto simplyFolded = [](const QString &text) {
            QString folded;
            Tidy::forEachCodePoint(text, [&](char32_t c, QStringView) {
                const char32_t f = QChar::toCaseFolded(c);
                folded += QString::fromUcs4(&f, 1);
            });
            return folded;
        };
        std::unordered_map<char32_t, QString> map;
        for (char32_t c = 0x80; c < 0x20000; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const QString text = QString::fromUcs4(&c, 1);
            const QString upper = text.toUpper();
            const QString lower = text.toLower();
            if (upper.size() > text.size())
                map.emplace(c, simplyFolded(upper.toLower()));
            else if (lower.size() > text.size())
                map.emplace(c, simplyFolded(lower));
        }
        std::unordered_map<char32_t, QString> onto;
        for (char32_t c = 0x80; c < 0x20000; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const char32_t f = QChar::toCaseFolded(c);
            if (f != c && map.count(c) == 0) {
                if (const auto found = map.find(f); found != map.end())
                    onto.emplace(c, found->second);
            }
        }
        map.insert(onto.begin(), onto.end());
        return map;
    }();
    return foldings;
}

// Full case folding ("MÜLLER" = "müller", "ß" = "ẞ" = "ss", "ﬁ" = "fi").
QString fullCaseFolded(const QString &text)
{
    const auto &foldings = fullFoldings();
    QString folded;
    folded.reserve(text.size());
    Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
        if (c < 0x80) {
            folded.append(QChar(c >= u'A' && c <= u'Z' ? c + 0x20 : c));
        } else if (const auto found = foldings.find(c); found != foldings.end()) {
            folded.append(found->second);
        } else if (units.size() == 1 && units[0].isSurrogate()) {
            folded.append(units); // a lone surrogate stays as it is
        } else {
            const char32_t f = QChar::toCaseFolded(c);
            folded.append(QString::fromUcs4(&f, 1));
        }
    });
    return folded;
}

// The words of `text` (split at white space), sorted and joined by one blank; or, unless
// `sorted`, its white space trimmed and each run made one blank.
QString tidyWords(const QString &text, bool sorted)
{
    if (!sorted) {
        QString collapsed;
        collapsed.reserve(text.size());
        bool blankPending = false;
        Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
            if (Tidy::isWhiteSpace(c)) {
                blankPending = !collapsed.isEmpty();
                return;
            }
            if (blankPending)
                collapsed.append(u' ');
            blankPending = false;
            collapsed.append(units);
        });
        return collapsed;
    }
    QStringList words;
    QString word;
    Tidy::forEachCodePoint(text, [&](char32_t c, QStringView units) {
        if (Tidy::isWhiteSpace(c)) {
            if (!word.isEmpty())
                words.append(std::exchange(word, QString()));
        } else {
            word.append(units);
        }
    });
    if (!word.isEmpty())
        words.append(word);
    std::sort(words.begin(), words.end());
    return words.join(u' ');
}

// What each ASCII character is to the key: blanks, invisibles and punctuation as the
// Unicode rules below say of them, worked out once.
struct AsciiClasses
{
    bool blank[128];
    bool invisible[128];
    bool punctuation[128];

    AsciiClasses()
    {
        for (char16_t unit = 0; unit < 128; ++unit) {
            blank[unit] = Tidy::isWhiteSpace(unit);
            invisible[unit] = !blank[unit] && Tidy::isInvisible(unit);
            const bool letterOrDigit = (unit >= u'a' && unit <= u'z') ||
                                       (unit >= u'A' && unit <= u'Z') ||
                                       (unit >= u'0' && unit <= u'9');
            punctuation[unit] = !letterOrDigit && unit > 0x20 && unit < 0x7F;
        }
    }
};

// The words of `text` (split at blanks) sorted and joined by one blank, into `out`.
void sortedWords(std::u16string_view text, std::u16string &out)
{
    std::vector<std::u16string_view> words;
    for (size_t at = 0; at < text.size();) {
        while (at < text.size() && text[at] == u' ')
            ++at;
        const size_t start = at;
        while (at < text.size() && text[at] != u' ')
            ++at;
        if (at > start)
            words.push_back(text.substr(start, at - start));
    }
    std::sort(words.begin(), words.end());
    out.clear();
    for (const std::u16string_view word : words) {
        if (!out.empty())
            out += u' ';
        out += word;
    }
}

// The key of a text that is all ASCII, into `key`: every step below, as it works on ASCII,
// in one pass over a buffer used again from item to item (a million items are a million
// keys: no allocation each).
void asciiKey(QStringView text, const NearKeyOptions &options, std::u16string &key,
              std::u16string &spare)
{
    static const AsciiClasses classes;
    key.clear();
    // Word order splits at any blank, so blanks are made one blank here even when the box
    // for blanks is off.
    const bool collapse = options.blanks || options.wordOrder;
    bool blankPending = false;
    for (const QChar c : text) {
        char16_t unit = c.unicode();
        const bool blank = classes.blank[unit];
        if (options.blanks && classes.invisible[unit])
            continue;
        if (options.punctuation && classes.punctuation[unit])
            continue;
        if (collapse) {
            if (blank) {
                blankPending = !key.empty();
                continue;
            }
            if (blankPending)
                key += u' ';
            blankPending = false;
        }
        if (options.foldCase && unit >= u'A' && unit <= u'Z')
            unit = char16_t(unit + 0x20);
        key += unit;
    }
    if (options.wordOrder) {
        sortedWords(key, spare);
        key.swap(spare);
    }
}

} // namespace

QString NearKey(QStringView text, const NearKeyOptions &options)
{
    if (isAscii(text)) {
        std::u16string key, spare;
        asciiKey(text, options, key, spare);
        return QString(reinterpret_cast<const QChar *>(key.data()), qsizetype(key.size()));
    }
    // Canonically equal texts are always alike (marks in either order, composed or not).
    const QString::NormalizationForm composed =
        options.compatibility ? QString::NormalizationForm_KC : QString::NormalizationForm_C;
    QString key = text.toString().normalized(composed);
    if (options.accents) {
        const QString decomposed = key.normalized(
            options.compatibility ? QString::NormalizationForm_KD : QString::NormalizationForm_D);
        key.clear();
        Tidy::forEachCodePoint(decomposed, [&](char32_t c, QStringView units) {
            if (!isMark(c))
                key.append(units);
        });
    }
    if (options.blanks || options.punctuation) {
        const QString before = std::exchange(key, QString());
        Tidy::forEachCodePoint(before, [&](char32_t c, QStringView units) {
            const bool blank = Tidy::isWhiteSpace(c);
            if (options.blanks && !blank && Tidy::isInvisible(c))
                return;
            if (options.punctuation && isPunctuationOrSymbol(c))
                return;
            key.append(units);
        });
    }
    if (options.foldCase)
        key = fullCaseFolded(key);
    // Folding may leave a text that composes otherwise.
    key = key.normalized(composed);
    if (options.blanks || options.wordOrder)
        key = tidyWords(key, options.wordOrder);
    return key;
}

namespace {
// What the compared part is looked for in: the item with the ticked normalisations that keep
// its shape applied first, so that a full-width "ａｎｎ＠ｅｘａｍｐｌｅ．ｏｒｇ" or an address
// with a zero-width space in it is found; punctuation, word order and case are left to the
// key, as dropping them would lose the marks that say where a part is.
QString comparedSource(QStringView item, const NearKeyOptions &options)
{
    if (isAscii(item))
        return item.toString();
    QString source = options.compatibility
                         ? item.toString().normalized(QString::NormalizationForm_KC)
                         : item.toString();
    if (options.blanks) {
        QString visible;
        visible.reserve(source.size());
        Tidy::forEachCodePoint(source, [&](char32_t c, QStringView units) {
            if (Tidy::isWhiteSpace(c) || !Tidy::isInvisible(c))
                visible.append(units);
        });
        source = std::move(visible);
    }
    return source;
}
} // namespace

std::optional<QString> NearGroupKey(QStringView item, const NearKeyOptions &options)
{
    if (options.compared.kind == ComparedPart::Kind::WholeItem)
        return NearKey(item, options);
    if (options.compared.kind == ComparedPart::Kind::EmailAddress) {
        const QString address = EmailAddress(comparedSource(item, options));
        if (address.isEmpty())
            return std::nullopt;
        // Each side of the "@" on its own, so that the "@" stays to tell them apart (a slip is
        // judged in each) whatever the boxes drop.
        const qsizetype at = address.lastIndexOf(u'@');
        return NearKey(QStringView(address).first(at), options) + u'@' +
               NearKey(QStringView(address).sliced(at + 1), options);
    }
    const std::optional<QString> part = ComparedText(item, options.compared);
    if (!part)
        return std::nullopt;
    return NearKey(*part, options);
}

bool NamesSeveralAddresses(QStringView item, const NearKeyOptions &options)
{
    return options.compared.kind == ComparedPart::Kind::EmailAddress &&
           NamesSeveralAddresses(comparedSource(item, options));
}

bool NearItemKey(QStringView item, const NearKeyOptions &options, std::u16string &key,
                 std::u16string &spare)
{
    if (options.compared.kind == ComparedPart::Kind::WholeItem && isAscii(item)) {
        asciiKey(item, options, key, spare);
        return true;
    }
    const std::optional<QString> found = NearGroupKey(item, options);
    if (!found)
        return false;
    key.assign(reinterpret_cast<const char16_t *>(found->utf16()), size_t(found->size()));
    return true;
}
