#include "ListChange.h"

TextPool ListChange::removedTexts() const
{
    switch (kind) {
    case Kind::Removed:
        return TextPool::unpacked(removedItems());
    case Kind::Cleared:
        return texts;
    case Kind::Rewritten:
        break;
    default:
        return {};
    }
    if (!keptSome())
        return {};
    // The items of the old set whose positions are not among those kept.
    TextPool gone;
    gone.reserve(removedCount(), 0);
    size_t kept = 0;
    for (qsizetype position = 0; position < texts.size(); ++position) {
        if (kept < order.size() && order[kept] == quint32(position))
            ++kept;
        else
            gone.append(texts.at(position));
    }
    return gone;
}
