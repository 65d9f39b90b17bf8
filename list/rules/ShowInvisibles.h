#pragma once

#include <QString>
#include <QStringView>

// The text as the review shows it: a no-break space as "·", blanks at either end as "␣",
// and every other invisible or unusual blank by name ("⟨ZWSP⟩", "⟨U+2003⟩").
QString ShowInvisibles(QStringView text);
