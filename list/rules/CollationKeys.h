#pragma once

#include "CaseOption.h"
#include "ItemText.h"

#include <QLocale>

#include <cstring>
#include <memory>
#include <vector>

struct UCollator;

// Collation sort keys of texts, end to end in large blocks: two texts compare as their keys do,
// byte by byte. Made by ICU directly, with the settings the list's sorting uses (natural order
// of numbers, letter case ignored or matched): a key object of its own for each of ten
// million items cost two allocations each, and reading them back for each comparison went
// through two pointers.
//
// One set of keys is used by one thread at a time.
class CollationKeys
{
public:
    CollationKeys(const QLocale &locale, CaseOption option);
    ~CollationKeys();
    CollationKeys(CollationKeys &&) noexcept;
    CollationKeys &operator=(CollationKeys &&) noexcept;

    // Room for `count` more keys.
    void reserve(qsizetype count) { m_keys.reserve(m_keys.size() + size_t(count)); }
    void append(ItemText text);
    qsizetype size() const { return qsizetype(m_keys.size()); }

    // The i-th text's key: NUL-terminated, with no NUL within.
    const char *key(qsizetype i) const { return m_keys[size_t(i)]; }
    // Gives back the memory of one block of keys; false once none is left. For letting go of
    // millions of keys a part at a time: no key is read after the first call.
    bool giveBackBlock();
    static int compare(const char *key, const char *other) { return std::strcmp(key, other); }

private:
    struct CollatorCloser
    {
        void operator()(UCollator *collator) const;
    };
    void startBlock(size_t atLeast);

    std::unique_ptr<UCollator, CollatorCloser> m_collator;
    Utf16Reader m_reader;
    // Blocks that never move once made: growing one buffer would copy every key made so far
    // into fresh memory in one go. Left uninitialised, as each key is written once.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    size_t m_room = 0;
    std::vector<const char *> m_keys;
};
