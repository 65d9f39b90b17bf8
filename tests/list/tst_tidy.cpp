#include "ComparedPart.h"
#include "ItemList.h"
#include "ListTestHost.h"
#include "NearDuplicates.h"
#include "TextPool.h"
#include "Tidying.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

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
    void nearKeys_data();
    void nearKeys();
    void invisiblesShown_data();
    void invisiblesShown();
    void groupsLargestFirstInListOrder();
    void comparedParts_data();
    void comparedParts();
    void groupsByWhatIsCompared();
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

Q_DECLARE_METATYPE(NearKeyOptions)

namespace {
// The default boxes with one part switched.
NearKeyOptions with(bool NearKeyOptions::*part, bool on)
{
    NearKeyOptions options;
    options.*part = on;
    return options;
}
} // namespace

void TidyTest::nearKeys_data()
{
    QTest::addColumn<NearKeyOptions>("options");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("alike");

    const NearKeyOptions defaults;
    NearKeyOptions everything;
    everything.punctuation = everything.wordOrder = true;
    const NearKeyOptions nothing{false, false, false, false, false, false, false, {}};

    QTest::newRow("sharp s folds to ss") << defaults << "Straße"
                                         << "STRASSE" << true;
    QTest::newRow("capital sharp s") << defaults << "ẞ"
                                     << "ss" << true;
    QTest::newRow("sharp s, case kept") << with(&NearKeyOptions::foldCase, false) << "ß"
                                        << "SS" << false;
    QTest::newRow("dotless i is its own letter") << defaults << "ı"
                                                 << "i" << false;
    QTest::newRow("dotted capital I without its dot") << defaults << "İstanbul"
                                                      << "istanbul" << true;
    QTest::newRow("dotted capital I, accents kept") << with(&NearKeyOptions::accents, false) << "İ"
                                                    << "i" << false;
    QTest::newRow("final sigma") << defaults << "ΟΔΥΣΣΕΥΣ"
                                 << "οδυσσευς" << true;
    QTest::newRow("ligature") << with(&NearKeyOptions::foldCase, false) << "ﬁne"
                              << "fine" << true;
    QTest::newRow("ligature, no compatibility forms")
        << NearKeyOptions{false, false, true, true, false, false, false, {}} << "ﬁne"
        << "fine" << false;
    QTest::newRow("full-width") << defaults << "ＡＢＣ１"
                                << "abc1" << true;
    QTest::newRow("Kelvin sign") << defaults << "\u212A"
                                 << "k" << true;
    QTest::newRow("Kelvin sign is K even so")
        << NearKeyOptions{false, false, false, false, false, false, false, {}} << "\u212A"
        << "K" << true;
    QTest::newRow("Angstrom sign is A ring even so")
        << NearKeyOptions{false, false, false, false, false, false, false, {}} << "\u212B"
        << "\u00C5" << true;
    QTest::newRow("marks in either order") << nothing << "a\u0323\u0307"
                                           << "a\u0307\u0323" << true;
    QTest::newRow("composed or not") << nothing << "Jos\u00e9"
                                     << "Jose\u0301" << true;
    QTest::newRow("accents dropped") << defaults << "José Müller"
                                     << "JOSE MULLER" << true;
    QTest::newRow("accents kept") << with(&NearKeyOptions::accents, false) << "José"
                                  << "Jose" << false;
    QTest::newRow("umlaut is no digraph") << defaults << "Müller"
                                          << "Mueller" << false;
    QTest::newRow("blanks") << defaults << "  anna\t\u3000b "
                            << "anna b" << true;
    QTest::newRow("blanks kept") << with(&NearKeyOptions::blanks, false) << " anna"
                                 << "anna" << false;
    QTest::newRow("invisibles") << defaults
                                << QString(QChar(0xFEFF)) + "an\u200Bna\u00AD\u200E\u2066x\u2069" +
                                       QChar(0) + QChar(7)
                                << "annax" << true;
    QTest::newRow("no-break space") << defaults << "a\u00a0b"
                                    << "a b" << true;
    QTest::newRow("no-break space, blanks kept, no compatibility")
        << NearKeyOptions{true, false, false, true, false, false, false, {}} << "a\u00a0b"
        << "a b" << false;
    QTest::newRow("punctuation kept") << defaults << "o'brien"
                                      << "obrien" << false;
    QTest::newRow("punctuation") << with(&NearKeyOptions::punctuation, true) << "O'Brien!"
                                 << "obrien" << true;
    QTest::newRow("symbols") << with(&NearKeyOptions::punctuation, true) << "a+b=c €"
                             << "abc" << true;
    QTest::newRow("word order") << everything << "Smith, John"
                                << "john smith" << true;
    QTest::newRow("word order kept") << defaults << "Smith John"
                                     << "John Smith" << false;
    const QString lone = QString(QChar(0xDC00)) + QChar(0xD800); // low before high: two lone
    QTest::newRow("lone surrogates") << defaults << "a" + lone + "b"
                                     << "A" + lone + "B" << true;
    QTest::newRow("a lone surrogate is not dropped") << defaults << QString(QChar(0xD800)) + "x"
                                                     << "x" << false;
    QTest::newRow("a pair outside the first plane") << defaults << "\U0001D400"
                                                    << "a" << true;
}

void TidyTest::nearKeys()
{
    QFETCH(NearKeyOptions, options);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, alike);
    const QString keyA = NearKey(a, options);
    const QString keyB = NearKey(b, options);
    QVERIFY2((keyA == keyB) == alike, qPrintable(QStringLiteral("[%1] [%2]").arg(keyA, keyB)));
    // A key is its own key: normalising twice changes nothing.
    QCOMPARE(NearKey(keyA, options), keyA);
}

void TidyTest::invisiblesShown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no-break space") << "a\u00a0b"
                                    << "a·b";
    QTest::newRow("blanks at the ends") << "  a b "
                                        << "␣␣a b␣";
    QTest::newRow("zero-width space") << "a\u200bb"
                                      << "a⟨ZWSP⟩b";
    QTest::newRow("byte-order mark and soft hyphen") << QString(QChar(0xFEFF)) + "a\u00ad"
                                                     << "⟨BOM⟩a⟨SHY⟩";
    QTest::newRow("tab and line break") << "a\tb\nc"
                                        << "a⟨TAB⟩b⟨U+000A⟩c";
    QTest::newRow("em space") << "a\u2003b"
                              << "a⟨U+2003⟩b";
    QTest::newRow("lone surrogate") << "a" + QString(QChar(0xDC00)) << "a⟨U+DC00⟩";
    QTest::newRow("plain") << "José"
                           << "José";
}

void TidyTest::invisiblesShown()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(ShowInvisibles(text), shown);
}

void TidyTest::groupsLargestFirstInListOrder()
{
    ItemList list;
    fill(list, {"b", "Anna", "x", "B ", "anna", "ÄNNA", "y", "b\u200b", "z", "X"});
    RecordingHost host;
    const NearGroups groups = *List::FindNearDuplicates(list, NearKeyOptions(), host);
    QCOMPARE(groups.count(), 3);
    const auto membersOf = [&](qsizetype group) {
        QList<quint32> members;
        for (qsizetype k = 0; k < groups.size(group); ++k)
            members.append(groups.member(group, k));
        return members;
    };
    // Two groups of three: the one whose first item comes first leads.
    QCOMPARE(membersOf(0), (QList<quint32>{0, 3, 7}));
    QCOMPARE(membersOf(1), (QList<quint32>{1, 4, 5}));
    QCOMPARE(membersOf(2), (QList<quint32>{2, 9}));

    ItemList clean;
    fill(clean, {"a", "b"});
    QCOMPARE(List::FindNearDuplicates(clean, NearKeyOptions(), host)->count(), 0);
}

Q_DECLARE_METATYPE(ComparedPart)

void TidyTest::comparedParts_data()
{
    QTest::addColumn<ComparedPart>("part");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("compared"); // "<none>": not compared at all

    const ComparedPart address{ComparedPart::Kind::EmailAddress, u',', 1};
    QTest::newRow("address in angle brackets, domain in small letters")
        << address << "Robert Smith <BOB@Example.ORG>"
        << "BOB@example.org";
    QTest::newRow("two addresses, one in brackets: not compared")
        << address << "x@y.org on behalf of <bob@example.org>"
        << "<none>";
    QTest::newRow("the one address-like word") << address << "Smith,John,bob@example.org,2021"
                                               << "bob@example.org";
    QTest::newRow("in parentheses") << address << "Bob (bob@example.org)"
                                    << "bob@example.org";
    QTest::newRow("two addresses: not compared") << address << "a@x.org b@y.org"
                                                 << "<none>";
    QTest::newRow("no address") << address << "Bob Smith"
                                << "<none>";
    QTest::newRow("an at sign alone") << address << "me @ home"
                                      << "<none>";

    const ComparedPart third{ComparedPart::Kind::Column, u',', 3};
    QTest::newRow("third column") << third << "Smith,J.,bob@example.org,2024"
                                  << "bob@example.org";
    QTest::newRow("quoted, the delimiter and a quote inside") << third << "a,b,\"x, \"\"y\"\"\",c"
                                                              << "x, \"y\"";
    QTest::newRow("an empty last column") << third << "a,b,"
                                          << "";
    QTest::newRow("too few columns") << third << "a,b"
                                     << "<none>";
    QTest::newRow("semicolons") << ComparedPart{ComparedPart::Kind::Column, u';', 2} << "a;b,c;d"
                                << "b,c";
    QTest::newRow("tabs") << ComparedPart{ComparedPart::Kind::Column, u'\t', 1} << "x y\tz"
                          << "x y";
}

void TidyTest::comparedParts()
{
    QFETCH(ComparedPart, part);
    QFETCH(QString, item);
    QFETCH(QString, compared);
    const std::optional<QString> found = ComparedText(item, part);
    QCOMPARE(found.value_or(QStringLiteral("<none>")), compared);
}

void TidyTest::groupsByWhatIsCompared()
{
    // One subscriber under three forms; one CSV row twice; items without the part alone.
    ItemList list;
    fill(list, {"Bob Smith <bob@example.org>", "bob@example.org", "Robert Smith <BOB@Example.ORG>",
                "Smith,John,ann@example.org,2021", "Smith,J.,ann@example.org,2024", "Bob Smith",
                "Bob Smith"});
    RecordingHost host;
    NearKeyOptions options;
    options.compared.kind = ComparedPart::Kind::EmailAddress;
    NearGroups groups = *List::FindNearDuplicates(list, options, host);
    QCOMPARE(groups.count(), 2);
    QCOMPARE(groups.size(0), 3);
    QCOMPARE(groups.size(1), 2);
    QCOMPARE(groups.member(1, 0), 3u);

    options.compared = ComparedPart{ComparedPart::Kind::Column, u',', 3};
    groups = *List::FindNearDuplicates(list, options, host);
    QCOMPARE(groups.count(), 1);
    QCOMPARE(groups.member(0, 0), 3u);
    QCOMPARE(groups.member(0, 1), 4u);
}

QTEST_GUILESS_MAIN(TidyTest)
#include "tst_tidy.moc"
