#pragma once

#include <QLocale>
#include <QStringList>

// The program's texts in the user's language. English is the source; its own translation
// only gives the plural forms ("1 item", "2 items"). German and French are shipped.
namespace Translations {

// The languages shipped besides English, as language codes ("de", "fr").
QStringList shipped();

// Makes the program, and Qt's own dialogs, speak the language of `locale` where one is
// shipped, else English. After the application object is made; again to change language.
void install(const QLocale &locale = QLocale::system());

// How the language the program speaks writes numbers ("1,000,000"; "1.000.000").
QLocale numberLocale();

} // namespace Translations
