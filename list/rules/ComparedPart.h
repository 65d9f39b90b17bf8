#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// What of an item a comparison looks at: the whole item, the e-mail address in it, or one
// column of it read as a delimited line. Items are kept and removed whole; only what is
// compared changes.
struct ComparedPart
{
    enum class Kind { WholeItem, EmailAddress, Column };
    Kind kind = Kind::WholeItem;
    QChar delimiter = u','; // for Column: comma, semicolon or tab
    int column = 1;         // for Column, from 1

    bool operator==(const ComparedPart &other) const
    {
        return kind == other.kind && delimiter == other.delimiter && column == other.column;
    }
};

// The e-mail addresses in `text`, each once, in the order they stand, their domains in small
// letters (domains are compared without letter case): the words that look like an address,
// bracketed ("Bob Smith <bob@example.org>") or bare ("bob@example.org, ann@example.org").
QStringList EmailAddresses(QStringView text);
// The one e-mail address in `text`; empty when there is none, or several: which of two people
// a line means is not known, so such a line is never taken for either.
QString EmailAddress(QStringView text);
// True when `text` names two or more addresses.
bool NamesSeveralAddresses(QStringView text);

// Field `column` (from 1) of `text` read as a line delimited by `delimiter`, a field in double
// quotes when it holds the delimiter, a quote inside doubled; none when the line has fewer.
std::optional<QString> DelimitedColumn(QStringView text, QChar delimiter, int column);

// What `part` compares of `text`; none when the item has nothing to compare (no address, too
// few columns).
std::optional<QString> ComparedText(QStringView text, const ComparedPart &part);
