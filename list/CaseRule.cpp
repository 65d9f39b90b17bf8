#include "CaseRule.h"

#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>

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

inline std::uint64_t step(std::uint64_t h, std::uint64_t word)
{
    h = (h ^ word) * kMultiplier;
    return h ^ (h >> 29);
}

// Upper-cases the ASCII letters of four UTF-16 units at once; every unit is below 0x80.
inline std::uint64_t asciiUpperWord(std::uint64_t word)
{
    const std::uint64_t atLeastA = word + 0x1F * kLanes; // bit 7 set where unit >= 'a'
    const std::uint64_t pastZ = word + 0x05 * kLanes;    // bit 7 set where unit > 'z'
    const std::uint64_t lower = atLeastA & ~pastZ & (0x80 * kLanes);
    return word - (lower >> 2);
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

bool upperCaseFormsEqual(QStringView a, QStringView b)
{
    return a.toString().toUpper() == b.toString().toUpper();
}

// Full case mapping can change lengths ("ß" -> "SS") and map non-ASCII letters onto ASCII
// ones ("ı" -> "I"), so the ASCII shortcut only decides while both texts are ASCII.
bool equalIgnoringCase(QStringView a, QStringView b)
{
    // Upper-casing a UTF-16 unit gives at most three and a surrogate pair at least one, so
    // texts this far apart in length cannot be equal: no need to look at a huge one.
    if (a.size() > 6 * b.size() || b.size() > 6 * a.size())
        return false;
    if (a.size() != b.size())
        return !(isAscii(a) && isAscii(b)) && upperCaseFormsEqual(a, b);
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    // Four units at a time while both are ASCII, folding case as the hash does.
    qsizetype i = 0;
    for (; i + 4 <= a.size(); i += 4) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa == wb)
            continue;
        if ((wa | wb) & kHighBits)
            break; // the units one by one decide
        if (asciiUpperWord(wa) != asciiUpperWord(wb)) {
            const QStringView restA = a.sliced(i), restB = b.sliced(i);
            return !(isAscii(restA) && isAscii(restB)) && upperCaseFormsEqual(a, b);
        }
    }
    for (; i < a.size(); ++i) {
        const char16_t ca = pa[i];
        const char16_t cb = pb[i];
        if ((ca | cb) >= 0x80)
            return upperCaseFormsEqual(a, b);
        if (ca != cb && asciiUpper(ca) != asciiUpper(cb)) {
            const QStringView restA = a.sliced(i), restB = b.sliced(i);
            return !(isAscii(restA) && isAscii(restB)) && upperCaseFormsEqual(a, b);
        }
    }
    return true;
}

} // namespace

bool textsEqual(QStringView a, QStringView b, CaseOption option)
{
    switch (option) {
    case CaseOption::MatchCase:
        return a == b;
    case CaseOption::IgnoreCase:
        return equalIgnoringCase(a, b);
    case CaseOption::CompareNothing:
        break;
    }
    return false;
}

namespace {

// Hashes the code units, four at a time; with `foldAscii` the ASCII letters are hashed as
// capitals. Returns false (and no hash) when folding meets a unit that is not ASCII.
bool hashUnits(QStringView text, bool foldAscii, std::uint64_t seed, std::uint64_t &hash)
{
    const char16_t *chars = text.utf16();
    const qsizetype size = text.size();
    std::uint64_t h = seed ^ (std::uint64_t(size) * kMultiplier);
    qsizetype i = 0;
    for (; i + 4 <= size; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, chars + i, sizeof word);
        if (foldAscii) {
            if (word & kHighBits)
                return false;
            word = asciiUpperWord(word);
        }
        h = step(h, word);
    }
    if (i < size) {
        std::uint64_t word = 0;
        std::memcpy(&word, chars + i, size_t(size - i) * sizeof(char16_t));
        if (foldAscii) {
            if (word & kHighBits)
                return false;
            word = asciiUpperWord(word);
        }
        h = step(h, word);
    }
    hash = finalMix(h);
    return true;
}

} // namespace

size_t comparisonHash(QStringView text, CaseOption option, std::uint64_t seed)
{
    std::uint64_t hash = 0;
    if (hashUnits(text, option == CaseOption::IgnoreCase, seed, hash))
        return size_t(hash);
    // Not ASCII: hash the full upper-case form, which for ASCII text is the folded form.
    const QString upper = text.toString().toUpper();
    hashUnits(upper, false, seed, hash);
    return size_t(hash);
}

std::uint64_t randomHashSeed()
{
    return QRandomGenerator::system()->generate64();
}
