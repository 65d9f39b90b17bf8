#include "CollationKeys.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <stdexcept>

void CollationKeys::CollatorCloser::operator()(UCollator *collator) const
{
    ucol_close(collator);
}

CollationKeys::CollationKeys(const QLocale &locale, CaseOption option)
{
    // ICU names locales with underscores ("zh_Hans_CN").
    const QByteArray name = locale.bcp47Name().replace('-', '_').toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    m_collator.reset(ucol_open(name.constData(), &status));
    if (U_FAILURE(status))
        throw std::runtime_error("no collation for " + name.toStdString() + ": " +
                                 u_errorName(status));
    // Composed and decomposed accents sort alike; secondary strength ignores case only.
    const auto set = [&](UColAttribute attribute, UColAttributeValue value) {
        ucol_setAttribute(m_collator.get(), attribute, value, &status);
    };
    set(UCOL_NORMALIZATION_MODE, UCOL_ON);
    set(UCOL_STRENGTH, option == CaseOption::MatchCase ? UCOL_DEFAULT_STRENGTH : UCOL_SECONDARY);
    set(UCOL_NUMERIC_COLLATION, UCOL_ON);
    set(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE);
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("collation settings refused: ") + u_errorName(status));
}

CollationKeys::~CollationKeys() = default;
CollationKeys::CollationKeys(CollationKeys &&) noexcept = default;
CollationKeys &CollationKeys::operator=(CollationKeys &&) noexcept = default;

void CollationKeys::startBlock(size_t atLeast)
{
    constexpr size_t kBlock = size_t(16) << 20;
    const size_t size = std::max(kBlock, atLeast);
    m_blocks.push_back(std::unique_ptr<char[]>(new char[size]));
    m_free = m_blocks.back().get();
    m_room = size;
}

bool CollationKeys::giveBackBlock()
{
    m_keys = {};
    m_free = nullptr;
    m_room = 0;
    if (m_blocks.empty())
        return false;
    m_blocks.pop_back();
    return true;
}

void CollationKeys::append(ItemText text)
{
    const QStringView characters = m_reader.read(text);
    static const UChar kNothing = 0; // ICU wants a string even when it is empty
    const UChar *source =
        characters.isEmpty() ? &kNothing : reinterpret_cast<const UChar *>(characters.utf16());
    const auto length = int32_t(characters.size());
    const auto write = [&] {
        return ucol_getSortKey(m_collator.get(), source, length,
                               reinterpret_cast<uint8_t *>(m_free),
                               int32_t(std::min<size_t>(m_room, INT32_MAX)));
    };
    int32_t size = write();
    if (size > 0 && size_t(size) > m_room) {
        startBlock(size_t(size));
        size = write();
    }
    if (size <= 0 || size_t(size) > m_room)
        throw std::runtime_error("no collation key for an item");
    m_keys.push_back(m_free);
    m_free += size;
    m_room -= size_t(size);
}
