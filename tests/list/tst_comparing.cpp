#include "CaseRule.h"
#include "CollationKeys.h"
#include "LineBreaks.h"
#include "ListTestHost.h"
#include "TextPool.h"
#include "TextSearch.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(CaseOption)

// How texts compare: the case rule, the search in either form, collation keys, and line
// breaks.
class ComparingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ignoringCaseAgreesWithFullUpperCase();
    void searchFindsTheSameInEitherForm();
    void collationKeysOrderAsQtsCollationDoes();
    void itemsWithLineBreaks_data();
    void itemsWithLineBreaks();
};

void ComparingTest::ignoringCaseAgreesWithFullUpperCase()
{
    // Random texts of units whose upper case is one unit, several, or leaves their script
    // (ß, ŉ, ΐ, ﬁ, ı, ſ, µ, ÿ, final sigma, Cyrillic, titlecase ǅ, NUL, a lone surrogate),
    // between ASCII runs so that units fall in every place of a four-unit word: two texts are
    // equal ignoring case exactly when their full upper-case forms are, and then hash alike.
    const QStringList pieces = {"a",
                                "A",
                                "ab",
                                "AB",
                                "é",
                                "É",
                                "ß",
                                "SS",
                                "ss",
                                "ŉ",
                                "ʼN",
                                "ΐ",
                                "Ϊ́",
                                "ﬁ",
                                "FI",
                                "ı",
                                "I",
                                "i",
                                "ſ",
                                "s",
                                "µ",
                                "Μ",
                                "μ",
                                "ÿ",
                                "Ÿ",
                                "ς",
                                "σ",
                                "Σ",
                                "д",
                                "Д",
                                "ǅ",
                                "Ǆ",
                                "ǆ",
                                "ö",
                                "Ö",
                                "ő",
                                "Ő",
                                "ĳ",
                                "Ĳ",
                                "à",
                                "À",
                                "þ",
                                "Þ",
                                "÷",
                                "×",
                                "ª",
                                "\u00a0",
                                QString(QChar(0)),
                                QString(QChar(0xD800)),
                                "xyzw",
                                "XYZW"};
    QRandomGenerator random(20261208);
    const auto randomText = [&] {
        QString text;
        for (int k = int(random.bounded(0, 6)); k > 0; --k)
            text += pieces[random.bounded(int(pieces.size()))];
        return text;
    };
    const std::uint64_t seed = randomHashSeed();
    int equalPairs = 0;
    for (int round = 0; round < 200000; ++round) {
        const QString a = randomText();
        // Often the same text in another case, else any other text.
        QString b = random.bounded(2) == 0   ? randomText()
                    : random.bounded(2) == 0 ? a.toUpper()
                                             : a.toLower();
        const bool equal = a.toUpper() == b.toUpper();
        equalPairs += equal ? 1 : 0;
        QVERIFY2(textsEqual(a, b, CaseOption::IgnoreCase) == equal,
                 qPrintable(QStringLiteral("[%1] [%2]").arg(a, b)));
        if (equal)
            QVERIFY2(comparisonHash(a, CaseOption::IgnoreCase, seed) ==
                         comparisonHash(b, CaseOption::IgnoreCase, seed),
                     qPrintable(QStringLiteral("[%1] [%2]").arg(a, b)));
        // The same as the list keeps them (one byte a character where all fit): the same
        // answers, and the same hashes as their UTF-16 forms, under either option.
        TextPool kept;
        kept.append(a);
        kept.append(b);
        QVERIFY2(textsEqual(kept.at(0), kept.at(1), CaseOption::IgnoreCase) == equal,
                 qPrintable(QStringLiteral("kept [%1] [%2]").arg(a, b)));
        QCOMPARE(textsEqual(kept.at(0), kept.at(1), CaseOption::MatchCase), a == b);
        QCOMPARE(textsEqual(kept.at(0), b, CaseOption::MatchCase), a == b);
        for (const CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase})
            QVERIFY2(comparisonHash(kept.at(0), option, seed) ==
                         comparisonHash(QStringView(a), option, seed),
                     qPrintable(QStringLiteral("kept [%1]").arg(a)));
    }
    QVERIFY(equalPairs > 50000);

    // Each unit below U+0500 in every place of a block of eight, beside ASCII letters.
    for (char16_t unit = 0; unit < 0x500; ++unit) {
        for (int place = 0; place < 8; ++place) {
            QString a = QStringLiteral("abcdefghijk");
            a[place] = QChar(unit);
            const QString b = a.toUpper();
            QVERIFY2(textsEqual(a, b, CaseOption::IgnoreCase), qPrintable(a));
            TextPool kept;
            kept.append(a);
            kept.append(b);
            QVERIFY2(textsEqual(kept.at(0), kept.at(1), CaseOption::IgnoreCase), qPrintable(a));
            QVERIFY2(comparisonHash(a, CaseOption::IgnoreCase, seed) ==
                         comparisonHash(b, CaseOption::IgnoreCase, seed),
                     qPrintable(QString::number(unit, 16)));
        }
    }
}

void ComparingTest::searchFindsTheSameInEitherForm()
{
    // Random Latin-1 items and texts to find (with letters whose case folding leaves Latin-1
    // or comes into it: µ and mu, ÿ and Ÿ, K and the Kelvin sign, s and long s): an item kept
    // in one byte a character gives the answer its UTF-16 form gives, either case option.
    const QString letters = QStringLiteral("aAsSkKß\u00b5\u00ff\u00e9\u00c9 .");
    const QString others = QStringLiteral("\u039c\u03bc\u0178\u212a\u017f\u0301");
    QRandomGenerator random(20261208);
    const auto randomText = [&](const QString &from, int longest) {
        QString text;
        for (int k = int(random.bounded(0, longest)); k > 0; --k)
            text += from[random.bounded(int(from.size()))];
        return text;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString item = randomText(letters, 9);
        const QString needle = randomText(random.bounded(4) == 0 ? letters + others : letters, 3);
        TextPool kept;
        kept.append(item);
        QVERIFY(kept.at(0).isLatin1());
        for (const CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase}) {
            const TextSearch search(needle, option);
            const bool expected = search.foundIn(QStringView(item));
            found += expected ? 1 : 0;
            QVERIFY2(search.foundIn(kept.at(0)) == expected,
                     qPrintable(QStringLiteral("[%1] in [%2]").arg(needle, item)));
        }
    }
    QVERIFY(found > 5000);
}

void ComparingTest::collationKeysOrderAsQtsCollationDoes()
{
    // Random texts of letters in both cases, accents composed and not, digits, blanks, other
    // scripts and an emoji, kept in either form: their keys order them as Qt's collation
    // does, numbers as numbers, case ignored or matched, in languages that sort differently.
    const QString letters =
        QStringLiteral("aAzZ\u00e4\u00c4\u00e5\u00f6\u00df\u00e9e\u0301iI\u0131 -.019");
    const QString others = QStringLiteral("\u0130\u03a9\u4e2d\u3042\u0416\U0001F600");
    QRandomGenerator random(20261209);
    const auto randomText = [&] {
        const QString from = random.bounded(3) == 0 ? letters + others : letters;
        QString text;
        for (int k = int(random.bounded(0, 8)); k > 0; --k)
            text += from.mid(random.bounded(int(from.size())), 1);
        return text;
    };
    for (const char *name : {"en_US", "de_DE", "sv_SE", "tr_TR", "ja_JP"}) {
        for (const CaseOption option : {CaseOption::IgnoreCase, CaseOption::MatchCase}) {
            QCollator collator{QLocale(QString::fromLatin1(name))};
            collator.setNumericMode(true);
            collator.setCaseSensitivity(option == CaseOption::MatchCase ? Qt::CaseSensitive
                                                                        : Qt::CaseInsensitive);
            TextPool texts;
            QStringList strings;
            for (int i = 0; i < 600; ++i) {
                strings.append(randomText());
                texts.append(strings.last());
            }
            CollationKeys keys(QLocale(QString::fromLatin1(name)), option);
            for (qsizetype i = 0; i < texts.size(); ++i)
                keys.append(texts.at(i));
            const auto sign = [](int value) { return (value > 0) - (value < 0); };
            for (qsizetype i = 0; i + 1 < texts.size(); ++i) {
                const int expected =
                    sign(collator.sortKey(strings[i]).compare(collator.sortKey(strings[i + 1])));
                QVERIFY2(sign(CollationKeys::compare(keys.key(i), keys.key(i + 1))) == expected,
                         qPrintable(QStringLiteral("%1: [%2] [%3]")
                                        .arg(QLatin1String(name), strings[i], strings[i + 1])));
            }
        }
    }
}

void ComparingTest::itemsWithLineBreaks_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("withBreaks");

    QTest::newRow("none") << QStringList{"alice", "", "bob carol"} << 0;
    // Characters whose bytes are those of CR and LF, but are no break.
    QTest::newRow("look-alike bytes")
        << QStringList{QString(QChar(0x0A0D)), QString(QChar(0x0D0A)) + u"x", "\u0a0a\u0d0d"} << 0;
    QTest::newRow("a break after look-alike bytes")
        << QStringList{QString(QChar(0x0A0A)) + u"\u0d0d", "x\ny"} << 1;
    QTest::newRow("LF, CR and CR LF") << QStringList{"a\nb", "c", "d\r", "\r\ne"} << 3;
    QTest::newRow("far into the list")
        << (QStringList(3000, QString(500, u'x')) + QStringList{"last\nline"}) << 1;
}

void ComparingTest::itemsWithLineBreaks()
{
    QFETCH(QStringList, texts);
    QFETCH(int, withBreaks);
    TextPool pool;
    for (const QString &text : texts)
        pool.append(text);
    RecordingHost host;
    QCOMPARE(LineBreaks::countItemsWithBreaks(pool, host), qsizetype(withBreaks));
}

QTEST_GUILESS_MAIN(ComparingTest)
#include "tst_comparing.moc"
