#include "RealShapedList.h"

#include "BenchTools.h"
#include "NearDuplicates.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

#include <optional>
#include <tuple>
#include <utility>

namespace {

// Where the address of "Name <local@domain>" stands; none found when `open` is -1.
struct AddressBounds
{
    qsizetype open = -1, at = -1, close = -1;
};

AddressBounds addressBoundsOf(const QString &text)
{
    AddressBounds bounds;
    const qsizetype close = text.lastIndexOf(u'>');
    if (close < 0)
        return bounds;
    const qsizetype open = text.lastIndexOf(u'<', close);
    const qsizetype at = text.lastIndexOf(u'@', close);
    if (open < 0 || at < open + 2 || at > close - 2)
        return bounds;
    return {open, at, close};
}

// The index's texts in its own order, each different one once (`bases`), and which of them
// each occurrence is: per package its name, its people and its description's first line.
struct IndexTexts
{
    QStringList bases;
    std::vector<quint32> occurrences;
};

IndexTexts readPackageIndex()
{
    QProcess apt;
    apt.start(QStringLiteral("apt-cache"), {QStringLiteral("dumpavail")});
    if (!apt.waitForFinished(-1) || apt.exitCode() != 0)
        qFatal("apt-cache dumpavail failed");
    const QByteArray index = apt.readAllStandardOutput();

    IndexTexts texts;
    QHash<QString, quint32> numbers;
    const auto add = [&](const QString &text) {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return;
        auto found = numbers.constFind(trimmed);
        if (found == numbers.constEnd()) {
            found = numbers.insert(trimmed, quint32(texts.bases.size()));
            texts.bases.append(trimmed);
        }
        texts.occurrences.push_back(*found);
    };

    QString package, maintainer, uploaders, description;
    QString *continued = nullptr; // the field a continuation line belongs to, if kept whole
    const auto endParagraph = [&] {
        if (!package.isEmpty()) {
            add(package);
            for (const QString &person : splitPeople(maintainer) + splitPeople(uploaders))
                add(person);
            add(description);
        }
        package.clear();
        maintainer.clear();
        uploaders.clear();
        description.clear();
        continued = nullptr;
    };
    for (const QByteArray &rawLine : index.split('\n')) {
        if (rawLine.isEmpty()) {
            endParagraph();
            continue;
        }
        const QString line = QString::fromUtf8(rawLine);
        if (line.front() == u' ' || line.front() == u'\t') {
            if (continued != nullptr)
                *continued += u' ' + line.trimmed();
            continue; // a description's long text: only its first line is an item
        }
        const qsizetype colon = line.indexOf(u':');
        const QStringView name = QStringView(line).first(std::max<qsizetype>(colon, 0));
        const QString value = line.mid(colon + 1).trimmed();
        continued = nullptr;
        if (name == u"Package") {
            package = value;
        } else if (name == u"Maintainer") {
            maintainer = value;
            continued = &maintainer;
        } else if (name == u"Uploaders") {
            uploaders = value;
            continued = &uploaders;
        } else if (name == u"Description") {
            description = value;
        }
    }
    endParagraph();
    return texts;
}

QChar randomLetter(QRandomGenerator &random, bool upper)
{
    const QChar letter(char16_t(u'a' + random.bounded(26)));
    return upper ? letter.toUpper() : letter;
}

// `text` with one slip of the keyboard among the letters of [from, to): a letter added, left
// out or changed, or two neighbouring letters swapped; empty when that part has too few.
QString slipped(const QString &text, qsizetype from, qsizetype to, QRandomGenerator &random)
{
    std::vector<qsizetype> letters;
    for (qsizetype at = from; at < to; ++at) {
        if (text[at].isLetter())
            letters.push_back(at);
    }
    if (letters.size() < 2)
        return {};
    QString result = text;
    const qsizetype at = letters[random.bounded(quint32(letters.size()))];
    switch (random.bounded(4)) {
    case 0: // added, before or after a letter
        result.insert(at + random.bounded(2), randomLetter(random, text[at].isUpper()));
        break;
    case 1:
        result.remove(at, 1);
        break;
    case 2: {
        QChar other;
        do
            other = randomLetter(random, text[at].isUpper());
        while (other.toCaseFolded() == text[at].toCaseFolded());
        result[at] = other;
        break;
    }
    default: {
        std::vector<qsizetype> pairs;
        for (size_t k = 0; k + 1 < letters.size(); ++k) {
            if (letters[k + 1] == letters[k] + 1 &&
                text[letters[k]].toCaseFolded() != text[letters[k] + 1].toCaseFolded())
                pairs.push_back(letters[k]);
        }
        if (pairs.empty())
            return {};
        const qsizetype first = pairs[random.bounded(quint32(pairs.size()))];
        std::swap(result[first], result[first + 1]);
        break;
    }
    }
    return result;
}

QString caseChanged(const QString &text, QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0:
        return text.toUpper();
    case 1:
        return text.toLower();
    case 2: { // each word capitalised
        QString result = text.toLower();
        for (qsizetype at = 0; at < result.size(); ++at) {
            if (result[at].isLetter() && (at == 0 || !result[at - 1].isLetter()))
                result[at] = result[at].toUpper();
        }
        return result;
    }
    default: { // one letter
        QString result = text;
        const qsizetype at = random.bounded(quint32(std::max<qsizetype>(result.size(), 1)));
        if (at < result.size())
            result[at] = result[at].isUpper() ? result[at].toLower() : result[at].toUpper();
        return result;
    }
    }
}

QString withBlanks(const QString &text, QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0:
        return u' ' + text;
    case 1:
        return text + u' ';
    case 2: {
        std::vector<qsizetype> blanks;
        for (qsizetype at = 0; at < text.size(); ++at) {
            if (text[at] == u' ')
                blanks.push_back(at);
        }
        if (blanks.empty())
            return text + u' ';
        QString result = text;
        result.insert(blanks[random.bounded(quint32(blanks.size()))], u' ');
        return result;
    }
    default:
        return u' ' + text + u' ';
    }
}

// The keys the review groups by with its default boxes, of whole items and of addresses.
struct Keys
{
    NearKeyOptions whole, address;
    Keys() { address.compared.kind = ComparedPart::Kind::EmailAddress; }
    QString wholeKey(const QString &text) const { return NearKey(text, whole); }
    QString addressKey(const QString &text) const
    {
        return NearGroupKey(text, address).value_or(QString());
    }
};

} // namespace

QStringList splitPeople(QStringView field)
{
    QStringList people;
    bool quoted = false, bracketed = false;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= field.size(); ++at) {
        const QChar c = at < field.size() ? field[at] : QChar(u',');
        if (c == u'"' && !bracketed) {
            quoted = !quoted;
        } else if (c == u'<' && !quoted) {
            bracketed = true;
        } else if (c == u'>' && !quoted) {
            bracketed = false;
        } else if (c == u',' && ((!quoted && !bracketed) || at == field.size())) {
            const QStringView person = field.sliced(start, at - start).trimmed();
            if (!person.isEmpty())
                people.append(person.toString());
            start = at + 1;
        }
    }
    return people;
}

qsizetype writeRealShapedList(const QString &path, int count, int slipsPerBase)
{
    const IndexTexts index = readPackageIndex();
    if (index.occurrences.empty())
        qFatal("the package index is empty");
    const Keys keys;
    std::vector<QString> wholeKeys, addressKeys;
    QSet<QString> anyWholeKey, anyAddressKey;
    for (const QString &base : index.bases) {
        wholeKeys.push_back(keys.wholeKey(base));
        addressKeys.push_back(keys.addressKey(base));
        anyWholeKey.insert(wholeKeys.back());
        if (!addressKeys.back().isEmpty())
            anyAddressKey.insert(addressKeys.back());
    }
    GeneratedListFile bases(path + QStringLiteral(".bases"));
    for (const QString &base : index.bases)
        bases.addLine(base.toUtf8(), "\n");
    bases.finish();

    // A slip that makes another key than its base's and than every other base's, so the line
    // belongs to its base alone; the text unchanged when none is found.
    const auto plantSlip = [&](quint32 base, QRandomGenerator &random) {
        const QString &text = index.bases[qsizetype(base)];
        const AddressBounds address = addressBoundsOf(text);
        for (int attempt = 0; attempt < 8; ++attempt) {
            PlantedChange where = PlantedChange::SlipInText;
            qsizetype from = 0, to = text.size();
            if (address.open >= 0) {
                switch (random.bounded(3)) {
                case 0:
                    where = PlantedChange::SlipInName;
                    to = address.open;
                    break;
                case 1:
                    where = PlantedChange::SlipInLocal;
                    from = address.open + 1;
                    to = address.at;
                    break;
                default:
                    where = PlantedChange::SlipInDomain;
                    from = address.at + 1;
                    to = address.close;
                    break;
                }
            }
            const QString candidate = slipped(text, from, to, random);
            if (candidate.isEmpty())
                continue;
            const QString wholeKey = keys.wholeKey(candidate);
            if (wholeKey == wholeKeys[base] || anyWholeKey.contains(wholeKey))
                continue;
            if (where == PlantedChange::SlipInLocal || where == PlantedChange::SlipInDomain) {
                const QString addressKey = keys.addressKey(candidate);
                if (addressKey.isEmpty() || addressKey == addressKeys[base] ||
                    anyAddressKey.contains(addressKey))
                    continue;
            }
            return std::pair(candidate, where);
        }
        return std::pair(text, PlantedChange::None);
    };
    // With `slipsPerBase`, each base's slips are drawn from that many of its own, made once.
    std::vector<std::vector<std::pair<QString, PlantedChange>>> slipsOfBase(
        slipsPerBase > 0 ? size_t(index.bases.size()) : 0);

    GeneratedListFile list(path);
    GeneratedListFile truth(path + QStringLiteral(".truth"));
    QRandomGenerator random(20251208);
    for (int i = 0; i < count; ++i) {
        const quint32 base = index.occurrences[size_t(i) % index.occurrences.size()];
        const QString &text = index.bases[qsizetype(base)];
        QString line = text;
        PlantedChange made = PlantedChange::None;
        const int roll = int(random.bounded(100));
        if (roll < 10 && slipsPerBase == 0) {
            std::tie(line, made) = plantSlip(base, random);
        } else if (roll < 10) {
            auto &own = slipsOfBase[base];
            if (own.empty()) {
                QRandomGenerator ownRandom(20251208u + base);
                for (int k = 0; k < slipsPerBase; ++k)
                    own.push_back(plantSlip(base, ownRandom));
            }
            std::tie(line, made) = own[random.bounded(quint32(own.size()))];
        } else if (roll < 16) {
            line = caseChanged(text, random);
            made = line == text ? PlantedChange::None : PlantedChange::LetterCase;
        } else if (roll < 22) {
            line = withBlanks(text, random);
            made = PlantedChange::Blanks;
        }
        list.addLine(line.toUtf8(), "\n");
        truth.addLine(QByteArray::number(base) + ' ' + char(made), "\n");
    }
    list.finish();
    truth.finish();
    return index.bases.size();
}

RealShapedList readRealShapedList(const QString &path, int count)
{
    const auto linesOf = [](const QString &file, int most) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file));
        QList<QByteArray> lines = in.readAll().split('\n');
        if (!lines.isEmpty() && lines.back().isEmpty())
            lines.pop_back();
        if (most > 0 && lines.size() > most)
            lines.resize(most);
        return lines;
    };
    RealShapedList list;
    for (const QByteArray &base : linesOf(path + QStringLiteral(".bases"), 0))
        list.bases.append(QString::fromUtf8(base));
    const QList<QByteArray> lines = linesOf(path, count);
    const QList<QByteArray> truth = linesOf(path + QStringLiteral(".truth"), count);
    if (truth.size() != lines.size())
        qFatal("%s and its truth differ in length", qPrintable(path));
    list.lines.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        list.lines.append(QString::fromUtf8(lines[i]));
        const qsizetype blank = truth[i].indexOf(' ');
        list.baseOf.push_back(truth[i].first(blank).toUInt());
        list.made.push_back(PlantedChange(truth[i].at(blank + 1)));
    }
    return list;
}
