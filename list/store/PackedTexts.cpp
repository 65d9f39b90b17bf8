#include "PackedTexts.h"

#include <QCoreApplication>

void PackedTexts::reserve(qsizetype texts, qsizetype bytes)
{
    m_ends.reserve(size_t(texts));
    m_bytes.reserve(size_t(bytes));
}

void PackedTexts::append(ItemText text)
{
    const bool wide = appendInItsForm(
        m_bytes, text,
        QT_TRANSLATE_NOOP("Tarnwell", "The texts kept for undo would take more than 4 GB."));
    m_wide.set(qsizetype(m_ends.size()), wide);
    m_ends.push_back(quint32(m_bytes.size()));
    m_characters += text.size();
    m_wideCount += wide ? 1 : 0;
}
