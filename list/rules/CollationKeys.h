#pragma once

#include "CaseRule.h"
#include "ItemText.h"

#include <QLocale>

#include <cstring>
#include <memory>
#include <vector>

struct UCollator;

// Collation sort keys of texts, end to end in one buffer: two texts compare as their keys do,
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

    // Room for `count` more keys of texts of `characters` characters in all.
    void reserve(qsizetype count, qsizetype characters);
    void append(ItemText text);
    qsizetype size() const { return qsizetype(m_begins.size()); }

    // The i-th text's key: NUL-terminated, with no NUL within.
    const char *key(qsizetype i) const { return m_bytes.get() + m_begins[size_t(i)]; }
    static int compare(const char *key, const char *other) { return std::strcmp(key, other); }

private:
    struct CollatorCloser
    {
        void operator()(UCollator *collator) const;
    };
    void growTo(size_t capacity);

    std::unique_ptr<UCollator, CollatorCloser> m_collator;
    Utf16Reader m_reader;
    std::unique_ptr<char[]> m_bytes; // left uninitialised: each key is written once
    size_t m_capacity = 0;
    size_t m_used = 0;
    std::vector<quint64> m_begins;
};
