#include "ComparedPart.h"
#include "ItemList.h"
#include "ListTestHost.h"
#include "NearDuplicates.h"
#include "NearKey.h"
#include "ShowInvisibles.h"

#include <QTest>

Q_DECLARE_METATYPE(NearKeyOptions)
Q_DECLARE_METATYPE(ComparedPart)

namespace {
// The default boxes with one part switched.
NearKeyOptions with(bool NearKeyOptions::*part, bool on)
{
    NearKeyOptions options;
    options.*part = on;
    return options;
}
} // namespace

// Near duplicates: the keys items are grouped by under each box, what of an item is
// compared, the invisibles as the review shows them, and the groups in their order.
class NearDuplicatesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nearKeys_data();
    void nearKeys();
    void invisiblesShown_data();
    void invisiblesShown();
    void groupsLargestFirstInListOrder();
    void comparedParts_data();
    void comparedParts();
    void groupsByWhatIsCompared();
};

void NearDuplicatesTest::nearKeys_data()
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

void NearDuplicatesTest::nearKeys()
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

void NearDuplicatesTest::invisiblesShown_data()
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

void NearDuplicatesTest::invisiblesShown()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(ShowInvisibles(text), shown);
}

void NearDuplicatesTest::groupsLargestFirstInListOrder()
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

void NearDuplicatesTest::comparedParts_data()
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

void NearDuplicatesTest::comparedParts()
{
    QFETCH(ComparedPart, part);
    QFETCH(QString, item);
    QFETCH(QString, compared);
    const std::optional<QString> found = ComparedText(item, part);
    QCOMPARE(found.value_or(QStringLiteral("<none>")), compared);
}

void NearDuplicatesTest::groupsByWhatIsCompared()
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

QTEST_GUILESS_MAIN(NearDuplicatesTest)
#include "tst_nearduplicates.moc"
