#pragma once

#include "CaseRule.h"

#include <QString>
#include <QStringMatcher>
#include <QStringView>

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

    QString m_text; // composed (NFC)
    QStringMatcher m_matcher;
};
