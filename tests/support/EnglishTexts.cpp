#include "Translations.h"

#include <QCoreApplication>

namespace {
// The texts the tests compare are the English ones, plural forms included.
void speakEnglish()
{
    Translations::install(QLocale(QLocale::English, QLocale::UnitedStates));
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(speakEnglish)
