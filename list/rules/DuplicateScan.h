#pragma once

#include "CaseRule.h"
#include "ItemBits.h"
#include "TextPool.h"
#include "ZeroedTable.h"

#include <cstdint>

// Finds every item that equals a later item, in time linear in the list's length: the scan
// walks from the last item to the first and keeps the comparison keys it has seen in a hash
// table, so an item is a duplicate exactly when an equal key was seen after it. Of each group
// of equal items only the last survives, as with comparing every pair.
//
// The scan works in slices (advance) so that its caller can yield between them. It reads the
// list's own texts (a copy would make any change to the list meanwhile copy them all): the
// pool must not change while the scan is under way, and a caller that sees the list changed
// starts a new scan.
class DuplicateScan
{
public:
    // The hash seed is drawn at random unless a test fixes it.
    DuplicateScan(const TextPool &texts, CaseOption option, std::uint64_t seed = randomHashSeed());

    bool done() const { return m_next < 0; }
    // Examines up to `budget` more items.
    void advance(qsizetype budget);

    // How far the scan has come, 0 to 100.
    double progress() const;

    // The duplicates found so far, a bit for each item: the scan's memory peaks beside a
    // table for every item, and a list of millions of positions would add to that peak.
    ItemBits takeDuplicates() { return std::move(m_duplicates); }

private:
    void examine(qsizetype position, size_t hash);

    const TextPool &m_texts;
    CaseOption m_option;
    std::uint64_t m_seed;
    qsizetype m_next; // the next position to examine, -1 when done
    // Six bytes, as the table is the largest thing the scan adds to the list's memory. A slot
    // says where a short item's characters are, not which item it is: comparing with it then
    // waits for one read from memory, not two (its bounds, then its characters).
    struct __attribute__((packed)) Slot
    {
        // Byte offset of a short Latin-1 item; position of any other.
        std::uint32_t where = 0;
        // kEmpty, kLong, kWide (a short UTF-16 item), or a short Latin-1 item's length + 1.
        std::uint8_t length = kEmpty;
        std::uint8_t hash = 0; // high bits of its hash, to skip most comparisons
    };
    static constexpr std::uint8_t kEmpty = 0, kWide = 254, kLong = 255;
    static constexpr qsizetype kShortestLong = kWide - 1;
    static_assert(sizeof(Slot) == 6);
    // The slot's item, if it may equal an item of `length` characters with `hash`.
    bool mayMatch(const Slot &slot, qsizetype length, std::uint8_t hash) const;
    ItemText textOf(const Slot &slot) const;
    ZeroedTable<Slot> m_slots;
    // The slot a hash starts at: its low 32 bits scaled to the table (the top ones are the
    // slot's short hash).
    size_t slotOf(size_t hash) const
    {
        return size_t(((unsigned __int128)std::uint32_t(hash) * m_capacity) >> 32);
    }
    size_t m_capacity = 0;
    ItemBits m_duplicates;
};
