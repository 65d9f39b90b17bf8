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

QStringList EmailAddresses(QStringView text)
{
    QStringList found;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size() || endsWord(text[i]);
        if (end && start >= 0) {
            const QStringView word = text.sliced(start, i - start);
            // One address written twice ("ann@example.org <ann@example.org>") is one.
            if (looksLikeAddress(word) && !found.contains(word, Qt::CaseInsensitive))
                found.append(withDomainInSmallLetters(word));
            start = -1;
        } else if (!end && start < 0) {
            start = i;
        }
    }
    return found;
}

QString EmailAddress(QStringView text)
{
    // Most lines name no one: those without an "@" are passed at once.
    if (!text.contains(u'@'))
        return {};
    QStringList addresses = EmailAddresses(text);
    return addresses.size() == 1 ? std::move(addresses.front()) : QString();
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
