#include "ComparedPart.h"

#include "DelimitedText.h"

#include <QStringList>

namespace {

// Where a word ends in a line that may hold an address: blanks and the punctuation that
// surrounds addresses in lists ("Name <a@b>", "a@b, c@d", "(a@b)", "'a@b'").
bool endsWord(QChar c)
{
    switch (c.unicode()) {
    case u',':
    case u';':
    case u'<':
    case u'>':
    case u'(':
    case u')':
    case u'[':
    case u']':
    case u'"':
    case u'\'':
        return true;
    default:
        return c.unicode() < 0x80 ? (c == u' ' || (c >= u'\t' && c <= u'\r')) : c.isSpace();
    }
}

bool looksLikeAddress(QStringView word)
{
    const qsizetype at = word.lastIndexOf(u'@');
    return at > 0 && at + 1 < word.size();
}

QString withDomainInSmallLetters(QStringView address)
{
    const qsizetype at = address.lastIndexOf(u'@');
    QString result = address.toString();
    for (qsizetype i = at + 1; i < result.size(); ++i) {
        const QChar c = result[i];
        if (c.unicode() >= 0x80) { // rare: the rest the long way
            result.replace(i, result.size() - i, result.sliced(i).toLower());
            break;
        }
        if (c >= u'A' && c <= u'Z')
            result[i] = QChar(c.unicode() + 0x20);
    }
    return result;
}

} // namespace

namespace {
// Calls `each` with every word of `text` that looks like an address, until it returns false.
template <typename Each> void forEachAddressWord(QStringView text, Each each)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size() || endsWord(text[i]);
        if (end && start >= 0) {
            const QStringView word = text.sliced(start, i - start);
            if (looksLikeAddress(word) && !each(word))
                return;
            start = -1;
        } else if (!end && start < 0) {
            start = i;
        }
    }
}
} // namespace

QStringList EmailAddresses(QStringView text)
{
    QStringList found;
    forEachAddressWord(text, [&](QStringView word) {
        // One address written twice ("ann@example.org <ann@example.org>") is one.
        if (!found.contains(word, Qt::CaseInsensitive))
            found.append(withDomainInSmallLetters(word));
        return true;
    });
    return found;
}

QString EmailAddress(QStringView text)
{
    // Most lines name one address or none: looked for without a list, and those without an
    // "@" passed at once.
    if (!text.contains(u'@'))
        return {};
    QStringView first;
    bool several = false;
    forEachAddressWord(text, [&](QStringView word) {
        if (first.isNull())
            first = word;
        else
            several = word.compare(first, Qt::CaseInsensitive) != 0;
        return !several;
    });
    return first.isNull() || several ? QString() : withDomainInSmallLetters(first);
}

bool NamesSeveralAddresses(QStringView text)
{
    return text.count(u'@') >= 2 && EmailAddresses(text).size() >= 2;
}

std::optional<QString> DelimitedColumn(QStringView text, QChar delimiter, int column)
{
    DelimitedReader reader(text, delimiter, false);
    QString field;
    bool endsRecord = false;
    for (int number = 1; reader.next(field, endsRecord); ++number) {
        if (number == column)
            return field;
    }
    return std::nullopt;
}

std::optional<QString> ComparedText(QStringView text, const ComparedPart &part)
{
    switch (part.kind) {
    case ComparedPart::Kind::EmailAddress: {
        QString address = EmailAddress(text);
        if (address.isEmpty())
            return std::nullopt;
        return address;
    }
    case ComparedPart::Kind::Column:
        return DelimitedColumn(text, part.delimiter, part.column);
    case ComparedPart::Kind::WholeItem:
        break;
    }
    return text.toString();
}
