#include "CaseRule.h"

#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kHighBits = 0xFF80FF80FF80FF80ull; // any unit >= 0x80
constexpr std::uint64_t kLanes = 0x0001000100010001ull;

inline std::uint64_t finalMix(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// Upper-cases the ASCII letters of four UTF-16 units at once; every unit is below 0x80.
inline std::uint64_t asciiUpperWord(std::uint64_t word)
{
    const std::uint64_t atLeastA = word + 0x1F * kLanes; // bit 7 set where unit >= 'a'
    const std::uint64_t pastZ = word + 0x05 * kLanes;    // bit 7 set where unit > 'z'
    const std::uint64_t lower = atLeastA & ~pastZ & (0x80 * kLanes);
    return word - (lower >> 2);
}

// The upper case of every UTF-16 unit below kFoldedUnits whose full upper-case mapping is
// one unit: Latin, Greek and Cyrillic, where most lists' non-ASCII letters are. 0 where the
// mapping is longer ("ß" -> "SS") and the general path decides.
constexpr char16_t kFoldedUnits = 0x500;

const char16_t *upperTable()
{
    static const auto table = [] {
        std::array<char16_t, kFoldedUnits> upper{};
        for (char16_t unit = 0; unit < kFoldedUnits; ++unit) {
            const QString mapped = QString(QChar(unit)).toUpper();
            upper[unit] = mapped.size() == 1 ? mapped.front().unicode() : char16_t(0);
        }
        return upper;
    }();
    return table.data();
}

// Folds the four units of `word` (one at least not ASCII) to their upper case through the
// table; false when one of them is not in it.
inline bool tableUpperWord(std::uint64_t &word)
{
    const char16_t *upper = upperTable();
    std::uint64_t folded = 0;
    for (int lane = 0; lane < 4; ++lane) {
        const auto unit = char16_t(word >> (16 * lane));
        if (unit >= kFoldedUnits || (unit != 0 && upper[unit] == 0))
            return false;
        folded |= std::uint64_t(upper[unit]) << (16 * lane);
    }
    word = folded;
    return true;
}

#ifdef __SSE2__
// Upper-cases eight units at once when each is ASCII or a Latin-1 letter whose upper case is
// 0x20 below it (à to þ, but not ÷): most texts in most lists. False, and the units left as
// they were, when one is anything else (µ, ß and ÿ change script or length).
inline bool latinUpperBlock(__m128i &units)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i beyondLatin1 = _mm_and_si128(units, _mm_set1_epi16(short(0xFF00)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyondLatin1, zero)) != 0xFFFF)
        return false;
    // Every unit is below 0x100 now, so signed comparisons order them rightly.
    const auto equals = [&](short unit) { return _mm_cmpeq_epi16(units, _mm_set1_epi16(unit)); };
    const auto between = [&](short low, short high) {
        return _mm_and_si128(_mm_cmpgt_epi16(units, _mm_set1_epi16(short(low - 1))),
                             _mm_cmplt_epi16(units, _mm_set1_epi16(short(high + 1))));
    };
    const __m128i otherMappings =
        _mm_or_si128(_mm_or_si128(equals(0xB5), equals(0xDF)), equals(0xFF));
    if (_mm_movemask_epi8(otherMappings) != 0)
        return false;
    const __m128i lower =
        _mm_or_si128(between(u'a', u'z'), _mm_andnot_si128(equals(0xF7), between(0xE0, 0xFE)));
    units = _mm_sub_epi16(units, _mm_and_si128(lower, _mm_set1_epi16(0x20)));
    return true;
}
#endif

// Folds eight units (two words) to their upper case, as tableUpperWord does word by word;
// false when one of them is not in the table.
inline bool upperBlock(std::uint64_t &low, std::uint64_t &high)
{
#ifdef __SSE2__
    __m128i units = _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
    if (latinUpperBlock(units)) {
        low = std::uint64_t(_mm_cvtsi128_si64(units));
        high = std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(units, units)));
        return true;
    }
#endif
    for (std::uint64_t *word : {&low, &high}) {
        if (!(*word & kHighBits))
            *word = asciiUpperWord(*word);
        else if (!tableUpperWord(*word))
            return false;
    }
    return true;
}

// The upper case of one unit through the table, or 0 when it is not in it.
inline char16_t tableUpper(char16_t unit)
{
    return unit < kFoldedUnits ? upperTable()[unit] : char16_t(0);
}

} // namespace

CaseOption caseOptionFromButtons(bool ignoreCaseSelected, bool matchCaseSelected)
{
    if (ignoreCaseSelected)
        return CaseOption::IgnoreCase;
    if (matchCaseSelected)
        return CaseOption::MatchCase;
    return CaseOption::CompareNothing;
}

bool isAscii(QStringView text)
{
    const char16_t *p = text.utf16();
    return std::all_of(p, p + text.size(), [](char16_t c) { return c < 0x80; });
}

namespace {

// Upper-cased from a copy it keeps: Qt upper-cases a string it may change in place in
// another way, which turns a lone surrogate at the end into U+FFFD where the copying way
// keeps it, so the same text would have two upper-case forms.
QString upperCaseForm(QStringView text)
{
    const QString copy = text.toString();
    return copy.toUpper();
}

bool upperCaseFormsEqual(QStringView a, QStringView b)
{
    return upperCaseForm(a) == upperCaseForm(b);
}

// True when every unit of `text` has a one-unit upper case in the table: its upper-case
// form is then as long as it is.
bool foldsUnitByUnit(QStringView text)
{
    const char16_t *p = text.utf16();
    return std::all_of(p, p + text.size(),
                       [](char16_t c) { return c < 0x80 || tableUpper(c) != 0; });
}

// Full case mapping can change lengths ("ß" -> "SS") and map non-ASCII letters onto ASCII
// ones ("ı" -> "I"). The units with a one-unit upper case (ASCII, and most Latin, Greek and
// Cyrillic letters) are compared through a table; any other unit leaves the decision to the
// upper-case forms.
bool equalIgnoringCase(QStringView a, QStringView b)
{
    // Upper-casing a UTF-16 unit gives at most three and a surrogate pair at least one, so
    // texts this far apart in length cannot be equal: no need to look at a huge one.
    if (a.size() > 6 * b.size() || b.size() > 6 * a.size())
        return false;
    if (a.size() != b.size())
        return !(foldsUnitByUnit(a) && foldsUnitByUnit(b)) && upperCaseFormsEqual(a, b);
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    qsizetype i = 0;
#ifdef __SSE2__
    // Eight units at a time while they are equal, or equal once ASCII and Latin-1 letters are
    // upper-cased; anything else is left to the word-by-word loop below, from that block on.
    for (; i + 8 <= a.size(); i += 8) {
        __m128i unitsA = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pa + i));
        __m128i unitsB = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pb + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(unitsA, unitsB)) == 0xFFFF)
            continue;
        if (!latinUpperBlock(unitsA) || !latinUpperBlock(unitsB) ||
            _mm_movemask_epi8(_mm_cmpeq_epi16(unitsA, unitsB)) != 0xFFFF)
            break;
    }
#endif
    // Four units at a time, folding case as the hash does, until a word differs even so or
    // holds a unit the table leaves out: from there the units one by one decide.
    for (; i + 4 <= a.size(); i += 4) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa == wb)
            continue;
        if (!((wa | wb) & kHighBits)) {
            if (asciiUpperWord(wa) != asciiUpperWord(wb))
                break;
        } else if (!tableUpperWord(wa) || !tableUpperWord(wb) || wa != wb) {
            break;
        }
    }
    for (; i < a.size(); ++i) {
        const char16_t ca = pa[i];
        const char16_t cb = pb[i];
        if (ca == cb)
            continue;
        const char16_t ua = ca < 0x80 ? asciiUpper(ca) : tableUpper(ca);
        const char16_t ub = cb < 0x80 ? asciiUpper(cb) : tableUpper(cb);
        if (ua == 0 || ub == 0)
            return upperCaseFormsEqual(a, b);
        if (ua != ub) {
            // Unequal here; equal only if a unit further on changes length when upper-cased.
            const QStringView restA = a.sliced(i), restB = b.sliced(i);
            return !(foldsUnitByUnit(restA) && foldsUnitByUnit(restB)) && upperCaseFormsEqual(a, b);
        }
    }
    return true;
}

} // namespace

namespace {

// The upper case of each Latin-1 character that stays one Latin-1 character; 0 for those
// that do not (µ, ß and ÿ), where the general rule decides.
const unsigned char *latin1UpperTable()
{
    static const auto table = [] {
        std::array<unsigned char, 256> upper{};
        for (int unit = 0; unit < 256; ++unit) {
            const char16_t mapped =
                unit < 0x80 ? asciiUpper(char16_t(unit)) : tableUpper(char16_t(unit));
            upper[size_t(unit)] = mapped != 0 && mapped < 0x100 ? (unsigned char)(mapped) : 0;
        }
        upper[0] = 0; // NUL maps to itself, but 0 marks "not in the table": decided below
        return upper;
    }();
    return table.data();
}

// Two Latin-1 texts compared ignoring case: byte by byte through the table, eight at a
// time while they are equal as they stand.
bool equalIgnoringCaseLatin1(ItemText a, ItemText b)
{
    const auto *pa = static_cast<const unsigned char *>(a.data());
    const auto *pb = static_cast<const unsigned char *>(b.data());
    if (a.size() != b.size()) // only "ß" changes length when upper-cased
        return (std::memchr(pa, 0xDF, size_t(a.size())) != nullptr ||
                std::memchr(pb, 0xDF, size_t(b.size())) != nullptr) &&
               upperCaseFormsEqual(Utf16Text(a), Utf16Text(b));
    const unsigned char *upper = latin1UpperTable();
    qsizetype i = 0;
    for (; i + 8 <= a.size(); i += 8) {
        if (std::memcmp(pa + i, pb + i, 8) != 0)
            break;
    }
    for (; i < a.size(); ++i) {
        if (pa[i] == pb[i])
            continue;
        const unsigned char ua = upper[pa[i]], ub = upper[pb[i]];
        if (ua == 0 || ub == 0)
            return upperCaseFormsEqual(Utf16Text(a), Utf16Text(b));
        if (ua != ub)
            return false; // every character before mapped to one: the forms differ here
    }
    return true;
}

} // namespace

bool textsEqual(ItemText a, ItemText b, CaseOption option)
{
    switch (option) {
    case CaseOption::MatchCase:
        return a == b;
    case CaseOption::IgnoreCase:
        if (a.isLatin1() && b.isLatin1())
            return equalIgnoringCaseLatin1(a, b);
        return equalIgnoringCase(Utf16Text(a), Utf16Text(b));
    case CaseOption::CompareNothing:
        break;
    }
    return false;
}

namespace {

// Mixes eight units into the hash with one wide multiplication. The key comes from the
// seed, so no block can be prepared that wipes out what came before it.
inline std::uint64_t mixBlock(std::uint64_t h, std::uint64_t low, std::uint64_t high,
                              std::uint64_t key)
{
    const unsigned __int128 product = (unsigned __int128)(low ^ h) * (high ^ key);
    return std::uint64_t(product) ^ std::uint64_t(product >> 64);
}

// Eight units of a text from `chars` on as two words of UTF-16: all eight (a size known to
// the compiler, so the copy is one load; only without SSE2, which loads them into a vector),
// or the last `count` of a text and 0 after them.
#ifndef __SSE2__
inline void loadBlock(const char16_t *chars, std::uint64_t words[2])
{
    std::memcpy(words, chars, 16);
}
#endif
inline void loadTail(const char16_t *chars, qsizetype count, std::uint64_t words[2])
{
    words[0] = words[1] = 0;
    std::memcpy(words, chars, size_t(count) * sizeof(char16_t));
}
inline void widenBlock(std::uint64_t bytes, std::uint64_t words[2])
{
#ifdef __SSE2__
    const __m128i units =
        _mm_unpacklo_epi8(_mm_cvtsi64_si128(static_cast<long long>(bytes)), _mm_setzero_si128());
    words[0] = std::uint64_t(_mm_cvtsi128_si64(units));
    words[1] = std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(units, units)));
#else
    words[0] = words[1] = 0;
    for (int i = 0; i < 8; ++i)
        words[i / 4] |= std::uint64_t((bytes >> (8 * i)) & 0xFF) << (16 * (i % 4));
#endif
}
#ifndef __SSE2__
inline void loadBlock(const unsigned char *chars, std::uint64_t words[2])
{
    std::uint64_t bytes;
    std::memcpy(&bytes, chars, 8);
    widenBlock(bytes, words);
}
#endif
// The last `count` units of the eight from `lastEight` on, as loadTail() gives them: a text of
// eight units or more ends with a whole block, read with one load and shifted down.
inline void loadLastBlock(const char16_t *lastEight, qsizetype count, std::uint64_t words[2])
{
    unsigned __int128 block;
    std::memcpy(&block, lastEight, 16);
    block >>= 16 * (8 - count);
    words[0] = std::uint64_t(block);
    words[1] = std::uint64_t(block >> 64);
}
inline void loadLastBlock(const unsigned char *lastEight, qsizetype count, std::uint64_t words[2])
{
    std::uint64_t bytes;
    std::memcpy(&bytes, lastEight, 8);
    widenBlock(bytes >> (8 * (8 - count)), words);
}

#ifdef __SSE2__
// Eight units from `chars` on in a vector register, as UTF-16.
inline __m128i loadUnits(const char16_t *chars)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(chars));
}
inline __m128i loadUnits(const unsigned char *chars)
{
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(chars)),
                             _mm_setzero_si128());
}
#endif
inline void loadTail(const unsigned char *chars, qsizetype count, std::uint64_t words[2])
{
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, chars, size_t(count));
    widenBlock(bytes, words);
}

// Hashes the characters as UTF-16 units, eight at a time, whichever form they are kept in;
// with `fold` every unit is hashed as its upper case (ASCII and Latin-1 at once, the rest
// through the table). Returns false (and no hash) when folding meets a unit that is not in
// the table.
template <typename Char>
bool hashUnits(const Char *chars, qsizetype size, bool fold, std::uint64_t seed,
               std::uint64_t &hash)
{
    const std::uint64_t key = (seed * kMultiplier) | 1;
    std::uint64_t h = seed ^ (std::uint64_t(size) * kMultiplier);
    qsizetype i = 0;
#ifdef __SSE2__
    // Whole blocks stay in a vector register from loading to mixing.
    for (; i + 8 <= size; i += 8) {
        __m128i units = loadUnits(chars + i);
        if (fold && !latinUpperBlock(units)) {
            std::uint64_t low = std::uint64_t(_mm_cvtsi128_si64(units));
            std::uint64_t high = std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(units, units)));
            if (!upperBlock(low, high))
                return false;
            h = mixBlock(h, low, high, key);
            continue;
        }
        h = mixBlock(h, std::uint64_t(_mm_cvtsi128_si64(units)),
                     std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(units, units))), key);
    }
#else
    for (; i + 8 <= size; i += 8) {
        std::uint64_t words[2];
        loadBlock(chars + i, words);
        if (fold && !upperBlock(words[0], words[1]))
            return false;
        h = mixBlock(h, words[0], words[1], key);
    }
#endif
    if (i < size) {
        std::uint64_t words[2];
        if (size >= 8)
            loadLastBlock(chars + size - 8, size - i, words);
        else
            loadTail(chars + i, size - i, words);
        if (fold && !upperBlock(words[0], words[1]))
            return false;
        h = mixBlock(h, words[0], words[1], key);
    }
    hash = finalMix(h);
    return true;
}

} // namespace

size_t comparisonHash(ItemText text, CaseOption option, std::uint64_t seed)
{
    std::uint64_t hash = 0;
    const bool fold = option == CaseOption::IgnoreCase;
    if (text.visit([&](const auto *chars, qsizetype size) {
            return hashUnits(chars, size, fold, seed, hash);
        }))
        return size_t(hash);
    // A unit the table leaves out: hash the full upper-case form, which is what folding
    // through the table gives for the units it holds.
    const QString upper = upperCaseForm(Utf16Text(text));
    hashUnits(reinterpret_cast<const char16_t *>(upper.utf16()), upper.size(), false, seed, hash);
    return size_t(hash);
}

std::uint64_t randomHashSeed()
{
    return QRandomGenerator::system()->generate64();
}
