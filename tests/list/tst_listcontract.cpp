#include "ItemList.h"
#include "List.h"
#include "ListTestHost.h"
#include "Sorting.h"
#include "TextSearch.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {
struct Item
{
    QString text;
    bool checked = false;
    bool operator==(const Item &other) const
    {
        return text == other.text && checked == other.checked;
    }
};
using Items = std::vector<Item>;

// The list as a plain vector: `all` holds the items of the change under way too, `moving` the
// ones it takes away (`removing`) or brings back. The list shows all but the lowest of them.
struct Model
{
    Items all;
    std::vector<qsizetype> moving;
    bool removing = false;

    qsizetype settledIndex(qsizetype k) const
    {
        const auto at = std::lower_bound(moving.begin(), moving.end(), k);
        return !removing ? k : at != moving.end() && *at == k ? -1 : k - (at - moving.begin());
    }
    Items settled() const
    {
        Items items;
        for (qsizetype k = 0; k < qsizetype(all.size()); ++k) {
            if (settledIndex(k) >= 0)
                items.push_back(all[size_t(k)]);
        }
        return items;
    }
    std::vector<qsizetype> shown(qsizetype rows) const
    {
        const qsizetype gone = qsizetype(all.size()) - rows;
        std::vector<qsizetype> items;
        for (qsizetype k = 0;
             gone >= 0 && gone <= qsizetype(moving.size()) && k < qsizetype(all.size()); ++k) {
            if (!std::binary_search(moving.begin(), moving.begin() + gone, k))
                items.push_back(k);
        }
        return items;
    }
};

struct KeepingObserver : ListChangeObserver
{
    std::vector<ListChange> changes;
    void listChanged(ListChange &&change) override { changes.push_back(std::move(change)); }
};
} // namespace

class ListContractTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCallMeetsTheListAsTheChangeUnderWayLeavesIt();
};

void ListContractTest::everyCallMeetsTheListAsTheChangeUnderWayLeavesIt()
{
    // Changes, whole-list procedures and undo, many while a removal or its undo is part way
    // through, slices between: each acts on the list as it stands once that change is through.
    QRandomGenerator random(20240611);
    ItemList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addColumn(QStringLiteral("Items:"));
    KeepingObserver history;
    list.setObserver(&history);
    RecordingHost host;
    host.intervalMs = 0;
    Model model;
    std::vector<Items> states{{}};
    size_t at = 0;
    const QString letters = QStringLiteral("abAB\u00e9\u0133");
    const auto settle = [&] { model = Model{model.settled(), {}, false}; };
    const auto keep = [&](const std::function<bool(qsizetype)> &kept) {
        Items items;
        for (qsizetype k = 0; k < qsizetype(model.all.size()); ++k) {
            if (kept(k))
                items.push_back(model.all[size_t(k)]);
        }
        model.all = items;
    };

    for (int step = 0; step < 4000; ++step) {
        const size_t recorded = history.changes.size();
        const std::vector<qsizetype> shown = model.shown(list.count());
        const qsizetype rows = list.count();
        const auto option = random.bounded(2) ? CaseOption::IgnoreCase : CaseOption::MatchCase;
        const auto equal = [&](const QString &a, const QString &b) {
            return option == CaseOption::IgnoreCase ? a.toUpper() == b.toUpper() : a == b;
        };
        host.option = option;
        QString text;
        for (int k = int(random.bounded(1, 3)); k > 0; --k)
            text += letters[random.bounded(int(letters.size()))];
        const int kind = int(random.bounded(11));
        if (kind <= 1) {
            list.append(text);
            settle();
            model.all.push_back({text});
        } else if (kind == 2 && rows > 0) { // rows as shown, some going already
            std::vector<qsizetype> picked, settledPicked;
            for (qsizetype row = 0; row < rows; ++row) {
                if (random.bounded(3) != 0)
                    continue;
                picked.push_back(row);
                if (model.settledIndex(shown[size_t(row)]) >= 0)
                    settledPicked.push_back(model.settledIndex(shown[size_t(row)]));
            }
            list.setItemsPerRemovalSlice(random.bounded(1, 3));
            list.startRemoval(picked);
            settle();
            model.moving = settledPicked;
            model.removing = true;
        } else if (kind == 3) {
            for (int slice = int(random.bounded(4)); slice > 0; --slice)
                list.continueChange();
        } else if (kind == 4 && rows > 0) {
            const qsizetype row = random.bounded(rows);
            const auto item = size_t(shown[size_t(row)]);
            const bool mark = random.bounded(2) == 0;
            const bool stays = model.settledIndex(qsizetype(item)) >= 0;
            QCOMPARE(list.setChecked(row, mark), stays);
            model.all[item].checked = stays ? mark : model.all[item].checked;
        } else if (kind == 5) {
            List::RemoveDupesAll(list, host);
            settle();
            keep([&](qsizetype k) {
                return std::none_of(model.all.begin() + k + 1, model.all.end(), [&](const Item &i) {
                    return equal(model.all[size_t(k)].text, i.text);
                });
            });
        } else if (kind == 6) {
            const bool with = random.bounded(2) == 0;
            const QString needle = text.left(1);
            with ? List::RemoveItemsWith(list, needle, host)
                 : List::RemoveItemsWithout(list, needle, host);
            settle();
            keep([&](qsizetype k) { return model.all[size_t(k)].text.contains(needle) != with; });
        } else if (kind == 7) {
            const bool upper = random.bounded(2) == 0;
            List::RewriteItems(list, host, upper ? Tidy::upperCaseRule() : Tidy::lowerCaseRule());
            settle();
            for (Item &item : model.all)
                item.text = upper ? item.text.toUpper() : item.text.toLower();
        } else if (kind == 8) { // as the window sorts: the order, then the texts in it
            const bool reverse = random.bounded(2) == 0;
            for (;;) {
                const std::vector<quint32> order = reverse ? List::ReversedOrder(list.count())
                                                           : List::SortOrder(list, false, host);
                TextPool texts = List::TextsInOrder(list, order, host);
                if (texts.size() == list.count() && order.size() == size_t(list.count())) {
                    QVERIFY(list.reorder(order, std::move(texts)));
                    break;
                }
            }
            settle();
            QCollator collator(List::collationLocale(QLocale()));
            collator.setNumericMode(true);
            collator.setCaseSensitivity(option == CaseOption::MatchCase ? Qt::CaseSensitive
                                                                        : Qt::CaseInsensitive);
            if (reverse)
                std::reverse(model.all.begin(), model.all.end());
            else
                std::stable_sort(model.all.begin(), model.all.end(), [&](auto &a, auto &b) {
                    return collator.compare(a.text, b.text) < 0;
                });
        } else if (kind == 9) { // Find Next from a row as shown, perhaps one going
            const qsizetype row = rows > 0 ? random.bounded(rows) : -1;
            qsizetype after = row < 0 ? -1 : shown[size_t(row)];
            while (after >= 0 && model.settledIndex(after) < 0)
                --after;
            after = after < 0 ? -1 : model.settledIndex(after);
            const qsizetype found =
                List::FindNext(list, TextSearch(text.left(1), option), row, host);
            settle();
            const auto cs =
                option == CaseOption::MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
            const auto count = qsizetype(model.all.size());
            qsizetype expected = -1;
            for (qsizetype k = 1; k <= count && expected < 0; ++k) {
                if (model.all[size_t((after + k) % count)].text.contains(text.left(1), cs))
                    expected = (after + k) % count;
            }
            QCOMPARE(found, expected);
        } else if (kind == 10 && !history.changes.empty()) { // undo or redo
            const bool back = at == history.changes.size() || (at > 0 && random.bounded(2) == 0);
            ListChange &change = history.changes[back ? --at : at];
            back ? list.undo(change) : list.redo(change);
            // Part way through putting back, or taking again, what a removal took?
            const bool underWay = list.changeUnderWay();
            model = Model{states[back || underWay ? at : at + 1], {}, !back};
            if (underWay)
                model.moving.assign(change.removedPositions().begin(),
                                    change.removedPositions().end());
            at += back ? 0 : 1;
        }

        if (history.changes.size() > recorded) { // what could be made again is gone
            QCOMPARE(history.changes.size(), recorded + 1);
            std::swap(history.changes[at], history.changes.back());
            history.changes.resize(++at);
            states.resize(at);
            states.push_back(model.settled());
        }
        QVERIFY2(model.settled() == states[at], "a change went unrecorded");
        if (!list.changeUnderWay())
            settle();
        const std::vector<qsizetype> nowShown = model.shown(list.count());
        QCOMPARE(qsizetype(nowShown.size()), list.count());
        for (qsizetype row = 0; row < list.count(); ++row) {
            const Item &item = model.all[size_t(nowShown[size_t(row)])];
            QCOMPARE(list.text(row).toString(), item.text);
            QCOMPARE(list.isChecked(row), item.checked);
        }
    }
}

QTEST_GUILESS_MAIN(ListContractTest)
#include "tst_listcontract.moc"
