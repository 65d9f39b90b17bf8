#include "TextPool.h"
#include "Tidying.h"

#include <QRandomGenerator>
#include <QTest>

using TidyFunction = bool (*)(QStringView, QString &);
Q_DECLARE_METATYPE(TidyFunction)
Q_DECLARE_METATYPE(const Tidy::Rule *)

namespace {
QString units(std::initializer_list<char16_t> list)
{
    QString text;
    for (const char16_t unit : list)
        text.append(QChar(unit));
    return text;
}

QString fromUcs4(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}
} // namespace

class TidyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tidiesOneText_data();
    void tidiesOneText();
    void blankItems_data();
    void blankItems();
    void latin1TextsARuleCannotChangeStayAsTheyAre_data();
    void latin1TextsARuleCannotChangeStayAsTheyAre();
};

void TidyTest::tidiesOneText_data()
{
    QTest::addColumn<TidyFunction>("tidy");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // the text itself when nothing changes

    const TidyFunction trim = Tidy::trimBlanks;
    const TidyFunction collapse = Tidy::collapseInnerBlanks;
    const TidyFunction invisible = Tidy::removeInvisibleCharacters;
    const TidyFunction lower = Tidy::lowerCase;
    const TidyFunction upper = Tidy::upperCase;

    // Every White_Space character goes at either end; what is not white space stays.
    const QString everyBlank =
        units({0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0x85, 0xA0, 0x1680, 0x2000, 0x2005, 0x200A,
               0x2028, 0x2029, 0x202F, 0x205F, 0x3000});
    QTest::newRow("trim: every blank") << trim << everyBlank + "a b" + everyBlank << "a b";
    QTest::newRow("trim: nothing to do") << trim << "a  b"
                                         << "a  b";
    QTest::newRow("trim: only blanks") << trim << everyBlank << "";
    QTest::newRow("trim: invisibles at either end")
        << trim << units({0xFEFF, 0x20, 0x200B}) + "a b" + units({0x200B, 0x2060, 0xA0}) << "a b";
    QTest::newRow("trim: invisibles inside stay") << trim << "a" + units({0x200B}) + "b"
                                                  << "a" + units({0x200B}) + "b";
    const QString englandFlag = fromUcs4(0x1F3F4) + fromUcs4(0xE0067) + fromUcs4(0xE0062) +
                                fromUcs4(0xE0065) + fromUcs4(0xE006E) + fromUcs4(0xE0067) +
                                fromUcs4(0xE007F);
    QTest::newRow("trim: a flag's tag characters stay") << trim << englandFlag << englandFlag;
    QTest::newRow("trim: empty") << trim << ""
                                 << "";

    QTest::newRow("collapse: runs inside") << collapse << "a" + everyBlank + "b\t c"
                                           << "a b c";
    QTest::newRow("collapse: ends left to trim") << collapse << "  a\t\tb  "
                                                 << "  a b  ";
    QTest::newRow("collapse: one tab becomes a blank") << collapse << "a\tb"
                                                       << "a b";
    QTest::newRow("collapse: nothing to do") << collapse << " a b c "
                                             << " a b c ";
    QTest::newRow("collapse: only blanks") << collapse << "   "
                                           << "   ";

    // Each invisible character, alone between letters.
    const char32_t invisibles[] = {0x200B, 0x200C, 0x200D, 0x2060, 0xFEFF,  0x00AD, 0x200E,
                                   0x200F, 0x202A, 0x202B, 0x202C, 0x202D,  0x202E, 0x2066,
                                   0x2067, 0x2068, 0x2069, 0x061C, 0x0000,  0x0001, 0x000A,
                                   0x000D, 0x007F, 0x0085, 0x009F, 0xE0001, 0x1D173};
    for (const char32_t c : invisibles) {
        QTest::newRow(
            qPrintable(QStringLiteral("invisible: U+%1").arg(quint32(c), 4, 16, QChar(u'0'))))
            << invisible << "a" + fromUcs4(c) + "b"
            << "ab";
    }
    QTest::newRow("invisible: no-break space becomes a blank")
        << invisible << units({0xA0}) + "a" + units({0xA0}) << " a ";
    QTest::newRow("invisible: tab stays") << invisible << "a\tb"
                                          << "a\tb";
    QTest::newRow("invisible: lone surrogates stay")
        << invisible << units({0xD800}) + "a" + units({0xDC00})
        << units({0xD800}) + "a" + units({0xDC00});
    QTest::newRow("invisible: a pair stays") << invisible << fromUcs4(0x1F600) << fromUcs4(0x1F600);
    QTest::newRow("invisible: accents stay") << invisible << "José"
                                             << "José";
    QTest::newRow("invisible: all of them") << invisible << units({0xFEFF, 0x200B, 0x00AD}) << "";

    QTest::newRow("upper: sharp s") << upper << "straße"
                                    << "STRASSE";
    QTest::newRow("upper: ascii") << upper << "anna@Example.com"
                                  << "ANNA@EXAMPLE.COM";
    QTest::newRow("upper: nothing to do") << upper << "ANNA 1"
                                          << "ANNA 1";
    QTest::newRow("upper: dotless i") << upper << "ı"
                                      << "I";
    QTest::newRow("upper: final sigma") << upper << "ὀδυσσεύς"
                                        << "ὈΔΥΣΣΕΎΣ";
    QTest::newRow("upper: ligature") << upper << "ﬁne"
                                     << "FINE";
    QTest::newRow("upper: lone surrogate at the end")
        << upper << "ŉ" + units({0xD800}) << "ʼN" + units({0xD800});
    QTest::newRow("upper: lone surrogates inside")
        << upper << units({0xDC00}) + "é" + units({0xD800}) + "ß" + units({0xDC00}) + "x"
        << units({0xDC00}) + "É" + units({0xD800}) + "SS" + units({0xDC00}) + "X";
    QTest::newRow("upper: lone surrogates and nothing to do")
        << upper << "É" + units({0xD800}) + "Ö"
        << "É" + units({0xD800}) + "Ö";
    QTest::newRow("lower: lone surrogate inside") << lower << "Ä" + units({0xDFFF}) + "Ö"
                                                  << "ä" + units({0xDFFF}) + "ö";
    QTest::newRow("lower: lone surrogate and nothing to do")
        << lower << "ä" + units({0xDFFF}) << "ä" + units({0xDFFF});
    QTest::newRow("lower: capital sharp s") << lower << "ẞ"
                                            << "ß";
    QTest::newRow("lower: dotted capital I") << lower << "İ"
                                             << "i̇";
    QTest::newRow("lower: ascii") << lower << "Anna@EXAMPLE.com"
                                  << "anna@example.com";
    QTest::newRow("lower: Kelvin sign") << lower << "\u212A"
                                        << "k";
    QTest::newRow("lower: nothing to do") << lower << "é 1"
                                          << "é 1";
}

void TidyTest::tidiesOneText()
{
    QFETCH(TidyFunction, tidy);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QString out = QStringLiteral("untouched");
    const bool changed = tidy(text, out);
    QCOMPARE(changed, expected != text);
    QCOMPARE(changed ? out : text, expected);
    if (!changed)
        QCOMPARE(out, QStringLiteral("untouched"));
}

void TidyTest::blankItems_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blanks and tabs") << " \t " << true;
    QTest::newRow("ideographic space") << "\u3000" << true;
    QTest::newRow("zero-width space") << "\u200B" << true;
    QTest::newRow("invisibles and blanks") << "\uFEFF \u200D\u00AD\u3000" << true;
    QTest::newRow("a tag character") << fromUcs4(0xE0001) << true;
    QTest::newRow("an emoji") << "\u200B" + fromUcs4(0x1F600) << false;
    QTest::newRow("a lone surrogate") << units({0xD800}) << false;
    QTest::newRow("a letter") << " a " << false;
}

void TidyTest::latin1TextsARuleCannotChangeStayAsTheyAre_data()
{
    QTest::addColumn<const Tidy::Rule *>("rule");
    QTest::newRow("Trim Blanks") << &Tidy::trimBlanksRule();
    QTest::newRow("Collapse Inner Blanks") << &Tidy::collapseInnerBlanksRule();
    QTest::newRow("Remove Invisible Characters") << &Tidy::removeInvisibleCharactersRule();
    QTest::newRow("Lower Case") << &Tidy::lowerCaseRule();
    QTest::newRow("Upper Case") << &Tidy::upperCaseRule();
}

void TidyTest::latin1TextsARuleCannotChangeStayAsTheyAre()
{
    // Random Latin-1 texts, with every character that is blank, invisible or changes case:
    // whenever a rule says at a glance that it cannot change one, the rule itself leaves it
    // as it is; and the glance lets most texts through unread.
    QFETCH(const Tidy::Rule *, rule);
    QByteArray alphabet = "aZ9.@";
    for (int c = 0; c < 256; ++c) {
        if (Tidy::isWhiteSpace(char32_t(c)) || Tidy::isInvisible(char32_t(c)) ||
            QChar(char16_t(c)).toUpper() != QChar(char16_t(c)) ||
            QChar(char16_t(c)).toLower() != QChar(char16_t(c)) || c == 0xDF)
            alphabet += char(c);
    }
    QRandomGenerator random(20261208);
    int passedOver = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray text;
        const bool plain = round % 2 == 0; // half of them mostly plain, as lists are
        for (int k = int(random.bounded(0, 8)); k > 0; --k)
            text += plain && random.bounded(8) != 0
                        ? "abc"[random.bounded(3)]
                        : alphabet[random.bounded(int(alphabet.size()))];
        const auto *chars = reinterpret_cast<const unsigned char *>(text.constData());
        if (rule->mayChangeLatin1(chars, text.size()))
            continue;
        ++passedOver;
        QString out;
        QVERIFY2(!rule->tidy(QString::fromLatin1(text), out),
                 qPrintable(QString::fromLatin1(text.toHex(' '))));
    }
    QVERIFY(passedOver > 2000);
}

void TidyTest::blankItems()
{
    QFETCH(QString, text);
    QFETCH(bool, blank);
    QCOMPARE(Tidy::isBlank(QStringView(text)), blank);
    TextPool kept; // as the list keeps it: one byte a character where that fits
    kept.append(text);
    QCOMPARE(Tidy::isBlank(kept.at(0)), blank);
}

QTEST_GUILESS_MAIN(TidyTest)
#include "tst_tidy.moc"
