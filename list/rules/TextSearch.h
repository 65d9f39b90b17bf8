#pragma once

#include "CaseOption.h"
#include "ItemText.h"

#include <QString>
#include <QStringMatcher>
#include <QStringView>

#include <string>

// Looks for a text inside items as the user reads them: letter case ignored or matched as the
// case option says, and accents alike however they are encoded ("ü" one character, or "u"
// and a combining mark). A match never ends part way through a letter: "u" is not found in
// "ü" either way it is encoded.
class TextSearch
{
public:
    TextSearch(const QString &text, CaseOption option);

    bool foundIn(ItemText item) const;

private:
    bool foundInComposed(QStringView item) const;
    bool foundInLatin1(ItemText item) const;

    QString m_text; // composed (NFC)
    QStringMatcher m_matcher;
    // For Latin-1 items, read as they lie: each character as it is compared (case folded
    // when case is ignored, as the matcher folds it), the text looked for likewise, and
    // whether a Latin-1 item can hold it at all.
    const char16_t *m_latin1Compared = nullptr;
    std::u16string m_compared;
    bool m_latin1MayHold = false;
};
