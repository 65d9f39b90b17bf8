#pragma once

#include "ListChange.h"

#include <utility>
#include <vector>

// Keeps every change the list records, as the history would.
struct KeepingObserver : ListChangeObserver
{
    std::vector<ListChange> changes;
    void listChanged(ListChange &&change) override { changes.push_back(std::move(change)); }
};
