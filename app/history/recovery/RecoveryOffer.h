#pragma once

#include <QString>

#include <functional>

class ItemList;
class ListRecovery;
class Prompts;
class UndoHistory;

// What offering a kept list needs of the window.
struct OfferWindow
{
    Prompts &prompts;
    QString title;
    std::function<void()> yield; // between blocks of a long record
    std::function<void(bool ignoreCase, bool matchCase)> setCaseButtons;
};

// Offers the lists that windows left when they ended without closing normally, one after
// another: Restore brings one back into `items` as one step of `history`, with its case
// buttons, and the rest wait for the next start; Discard deletes it. A record that does not
// check out is never read as a list: the user is told plainly, and it is set aside.
void offerLeftLists(ListRecovery &recovery, ItemList &items, UndoHistory &history,
                    const OfferWindow &window);
