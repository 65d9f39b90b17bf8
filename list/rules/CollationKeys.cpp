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

void CollationKeys::reserve(qsizetype count, qsizetype characters)
{
    m_begins.reserve(m_begins.size() + size_t(count));
    // A key of Latin text takes about two bytes a character and a few more.
    growTo(m_used + size_t(characters) * 2 + size_t(count) * 8);
}

void CollationKeys::growTo(size_t capacity)
{
    if (capacity <= m_capacity)
        return;
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (m_used > 0)
        std::memcpy(grown.get(), m_bytes.get(), m_used);
    m_bytes = std::move(grown);
    m_capacity = capacity;
}

void CollationKeys::append(ItemText text)
{
    const QStringView characters = m_reader.read(text);
    static const UChar kNothing = 0; // ICU wants a string even when it is empty
    const UChar *source =
        characters.isEmpty() ? &kNothing : reinterpret_cast<const UChar *>(characters.utf16());
    const auto length = int32_t(characters.size());
    const auto room = [&] { return int32_t(std::min<size_t>(m_capacity - m_used, INT32_MAX)); };
    int32_t size = ucol_getSortKey(m_collator.get(), source, length,
                                   reinterpret_cast<uint8_t *>(m_bytes.get() + m_used), room());
    if (size > room()) {
        growTo(std::max(m_capacity + m_capacity / 2, m_used + size_t(size)));
        size = ucol_getSortKey(m_collator.get(), source, length,
                               reinterpret_cast<uint8_t *>(m_bytes.get() + m_used), room());
    }
    if (size <= 0)
        throw std::runtime_error("no collation key for an item");
    m_begins.push_back(m_used);
    m_used += size_t(size);
}
