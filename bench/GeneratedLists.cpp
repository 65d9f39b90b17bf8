#include "GeneratedLists.h"

#include "BenchTools.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cctype>

namespace {

const char *const kFirstNames[] = {"anna", "ben",  "carla", "dmitri", "eva",  "farid", "greta",
                                   "hugo", "ines", "jonas", "kira",   "lars", "mona",  "nils"};
const char *const kSurnames[] = {"holloway", "ashby",  "brennan", "castell", "dorn",    "everett",
                                 "fairley",  "garrow", "hensley", "ivers",   "jarrett", "kendal"};
const char *const kDomains[] = {"example.com", "example.org", "example.net", "mail.example",
                                "post.example.com"};

} // namespace

QByteArray itemText(quint32 key)
{
    return QByteArray(kFirstNames[key % 14]) + '.' + kSurnames[(key / 14) % 12] +
           QByteArray::number(key / 168) + '@' + kDomains[key % 5];
}

QString writeGeneratedList(const QString &path, int count)
{
    GeneratedListFile file(path);
    QRandomGenerator random(12345);
    quint32 nextKey = 0;
    for (int i = 0; i < count; ++i) {
        QByteArray text;
        if (nextKey > 0 && random.bounded(100) < 30) {
            text = itemText(random.bounded(nextKey));
            if (random.bounded(2) == 0) // a letter-case variant
                for (char &c : text)
                    if (random.bounded(4) == 0)
                        c = char(toupper(c));
        } else {
            text = itemText(nextKey++);
        }
        file.addLine(text, "\r\n");
    }
    return file.finish();
}

// A list shaped like a merged mailing list: `count` lines (LF) of e-mail-like addresses drawn
// from count / 5 distinct ones, so about 80% are duplicates under "Ignore case"; one line in
// five upper-cased, and about a quarter of the addresses holding non-ASCII letters.
const char *const kAccentedNames[10] = {"rené",  "jérôme", "françois", "zoë",    "côté",
                                        "chloé", "léon",   "anaïs",    "müller", "ângela"};

// The same shape with names of many scripts in front: Latin-1 accents, "ß", Greek,
// Cyrillic and CJK, so that one-byte and two-byte texts are mixed all through the list.
const char *const kManyScriptNames[10] = {"rené",   "jérôme",  "straße", "müller", "ζωή",
                                          "αλέξης", "дмитрий", "ольга",  "王芳",   "佐藤"};

QString writeMailingList(const QString &path, int count, const char *const (&names)[10])
{
    GeneratedListFile file(path);
    QRandomGenerator random(20261207);
    const quint32 distinct = quint32(std::max(1, count / 5));
    for (int i = 0; i < count; ++i) {
        const quint32 key = random.bounded(distinct);
        QByteArray text = itemText(key);
        if (key % 4 == 0) // about a quarter: a non-ASCII name in front
            text.prepend(QByteArray(names[(key / 4) % 10]) + '.');
        if (random.bounded(5) == 0)
            text = QString::fromUtf8(text).toUpper().toUtf8();
        file.addLine(text, "\n");
    }
    return file.finish();
}
