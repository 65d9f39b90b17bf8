#pragma once

#include "ItemList.h"

#include <QStringList>

// The list's texts in order, and a list filled with texts, for tests that compare them.
inline QStringList itemTexts(const ItemList &items)
{
    QStringList texts;
    for (qsizetype i = 0; i < items.count(); ++i)
        texts.append(items.text(i).toString());
    return texts;
}

inline void fill(ItemList &items, const QStringList &texts)
{
    for (const QString &text : texts)
        items.append(text);
}
