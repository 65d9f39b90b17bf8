#pragma once

#include "CaseOption.h"
#include "ItemList.h"
#include "ListHost.h"

#include <optional>
#include <utility>

// One pass over the list as it stood when the pass began: whether a command run while the
// pass yielded has changed it since (or switched the case option, for a pass that compares
// under it), which makes what the pass found about it wrong.
class ListPass
{
public:
    explicit ListPass(const ItemList &listView) : m_list(listView), m_revision(listView.revision())
    {
    }
    // Watches the case option too.
    ListPass(const ItemList &listView, const ListHost &host)
        : m_list(listView), m_revision(listView.revision()), m_host(&host),
          m_option(host.caseOption())
    {
    }

    quint64 revision() const { return m_revision; }
    // The case option the pass compares under (watched ones only).
    CaseOption caseOption() const { return m_option; }
    bool listChanged() const
    {
        return m_list.revision() != m_revision ||
               (m_host != nullptr && m_host->caseOption() != m_option);
    }

private:
    const ItemList &m_list;
    quint64 m_revision;
    const ListHost *m_host = nullptr;
    CaseOption m_option = CaseOption::CompareNothing;
};

namespace List {

namespace Detail {
template <typename MakePass, typename Pass>
auto passUntilUnchanged(ItemList &listView, qsizetype &position, const MakePass &makePass,
                        Pass &&pass)
{
    for (;;) {
        position = listView.finishChange(position);
        const ListPass watched = makePass();
        if (auto result = pass(std::as_const(watched)))
            return std::move(*result);
    }
}
} // namespace Detail

// Runs `pass(const ListPass &)` over the list as it stands, a change under way finished
// first, until one pass gets through over a list that did not change meanwhile: the pass
// returns what it found, or nothing when it saw the list changed and must start again.
template <typename Pass> auto passOverUnchangedList(ItemList &listView, Pass &&pass)
{
    qsizetype none = -1;
    return Detail::passUntilUnchanged(
        listView, none, [&] { return ListPass(listView); }, std::forward<Pass>(pass));
}

// The same for a pass that compares under the case option: switching it starts it again.
template <typename Pass>
auto passOverUnchangedList(ItemList &listView, const ListHost &host, Pass &&pass)
{
    qsizetype none = -1;
    return Detail::passUntilUnchanged(
        listView, none, [&] { return ListPass(listView, host); }, std::forward<Pass>(pass));
}

// The same for a pass that starts from `position` (numbering the list as it stands): before
// each pass it numbers the list as the finished change left it (ItemList::finishChange).
template <typename Pass>
auto passOverUnchangedListFrom(ItemList &listView, qsizetype &position, Pass &&pass)
{
    return Detail::passUntilUnchanged(
        listView, position, [&] { return ListPass(listView); }, std::forward<Pass>(pass));
}

} // namespace List
