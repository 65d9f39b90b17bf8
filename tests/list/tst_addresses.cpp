#include "ComparedPart.h"
#include "ItemList.h"
#include "List.h"
#include "ListTestHost.h"
#include "NearDuplicates.h"
#include "TextPool.h"

#include <QTest>

namespace {
// Two people on one line, in brackets and bare; one address written twice; one alone.
const QStringList kSubscribers = {
    "Ann Lee <ann@example.org>, Bob Roe <bob@example.org>",
    "Ann Lee <ANN@Example.org>",
    "bob@example.org",
    "carl@example.org; dora@example.org",
    "ann@example.org <ann@example.org>",
    "no address",
};
} // namespace

class AddressesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsPassOverSeveralAddresses_data();
    void listsPassOverSeveralAddresses();
    void reviewPassesOverSeveralAddresses();
    void addressFoundAfterNormalising_data();
    void addressFoundAfterNormalising();
};

void AddressesTest::listsPassOverSeveralAddresses_data()
{
    QTest::addColumn<bool>("keepOnly");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("Ann unsubscribes: Bob stays on his line with her")
        << false << "ann@example.org"
        << QStringList{kSubscribers[0], kSubscribers[2], kSubscribers[3], kSubscribers[5]};
    QTest::newRow("Bob unsubscribes: his line with Ann stays too")
        << false << "bob@example.org"
        << QStringList{kSubscribers[0], kSubscribers[1], kSubscribers[3], kSubscribers[4],
                       kSubscribers[5]};
    QTest::newRow("a listed line naming two: both unsubscribe")
        << false << "Bob <bob@example.org>, carl@example.org"
        << QStringList{kSubscribers[0], kSubscribers[1], kSubscribers[3], kSubscribers[4],
                       kSubscribers[5]};
    QTest::newRow("keep only Ann: the lines naming two are kept, not guessed at")
        << true << "ann@example.org"
        << QStringList{kSubscribers[0], kSubscribers[1], kSubscribers[3], kSubscribers[4]};
}

void AddressesTest::listsPassOverSeveralAddresses()
{
    QFETCH(bool, keepOnly);
    QFETCH(QString, listed);
    QFETCH(QStringList, kept);
    ItemList list;
    fill(list, kSubscribers);
    RecordingHost host;
    TextPool listedTexts;
    listedTexts.append(listed);
    const List::ListedRemoval removal =
        keepOnly ? List::RemoveItemsNotListed(list, listedTexts, host, List::ListedBy::EmailAddress)
                 : List::RemoveItemsListed(list, listedTexts, host, List::ListedBy::EmailAddress);
    list.settle();
    QCOMPARE(itemTexts(list), kept);
    QCOMPARE(removal.removed, kSubscribers.size() - kept.size());
    QCOMPARE(removal.passedOver, 2);
    QCOMPARE(List::severalAddressesStatus(removal.passedOver),
             QStringLiteral("2 items name more than one address and were left as they are."));
}

void AddressesTest::reviewPassesOverSeveralAddresses()
{
    ItemList list;
    fill(list, kSubscribers);
    RecordingHost host;
    NearKeyOptions options;
    options.compared.kind = ComparedPart::Kind::EmailAddress;
    const NearGroups groups = *List::FindNearDuplicates(list, options, host);
    // Ann's two lines of her own, and never the line she shares with Bob.
    QCOMPARE(groups.count(), 1);
    QCOMPARE(groups.size(0), 2);
    QCOMPARE(groups.member(0, 0), 1u);
    QCOMPARE(groups.member(0, 1), 4u);
    QCOMPARE(groups.severalAddresses, 2);

    options.compared.kind = ComparedPart::Kind::WholeItem;
    QCOMPARE(List::FindNearDuplicates(list, options, host)->severalAddresses, 0);
}

void AddressesTest::addressFoundAfterNormalising_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("compatibility");
    QTest::addColumn<bool>("punctuation");
    QTest::addColumn<QString>("key"); // "<none>": not grouped

    const QString fullWidth = QStringLiteral(u"Ａｎｎ ＜ａｎｎ＠ｅｘａｍｐｌｅ．ｏｒｇ＞");
    QTest::newRow("full width, compatibility forms ticked")
        << fullWidth << true << false << "ann@example.org";
    QTest::newRow("full width, not ticked") << fullWidth << false << false << "<none>";
    QTest::newRow("a zero-width space inside")
        << QStringLiteral(u"Ann <ann\u200B@example.org>") << true << false << "ann@example.org";
    QTest::newRow("punctuation dropped on each side of the @")
        << "Ann <a.n-n@ex-ample.org>" << true << true << "ann@exampleorg";
    QTest::newRow("two in full width")
        << QStringLiteral(u"ａ＠ｘ．ｏｒｇ ｂ＠ｘ．ｏｒｇ") << true << false << "<none>";
}

void AddressesTest::addressFoundAfterNormalising()
{
    QFETCH(QString, item);
    QFETCH(bool, compatibility);
    QFETCH(bool, punctuation);
    QFETCH(QString, key);
    NearKeyOptions options;
    options.compared.kind = ComparedPart::Kind::EmailAddress;
    options.compatibility = compatibility;
    options.punctuation = punctuation;
    QCOMPARE(NearGroupKey(item, options).value_or(QStringLiteral("<none>")), key);
}

QTEST_GUILESS_MAIN(AddressesTest)
#include "tst_addresses.moc"
