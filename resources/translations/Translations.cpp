#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

namespace Translations {
namespace {
QLocale &spoken()
{
    static QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}
} // namespace

QStringList shipped()
{
    return {QStringLiteral("de"), QStringLiteral("fr")};
}

QLocale numberLocale()
{
    return spoken();
}

void install(const QLocale &locale)
{
    // Kept for as long as the program runs; replaced when the language changes.
    static std::vector<std::unique_ptr<QTranslator>> installed;
    for (const auto &translator : installed)
        QCoreApplication::removeTranslator(translator.get());
    installed.clear();
    const auto add = [](std::unique_ptr<QTranslator> translator) {
        QCoreApplication::installTranslator(translator.get());
        installed.push_back(std::move(translator));
    };
    spoken() = QLocale(QLocale::English, QLocale::UnitedStates);
    // English first: the translator installed last is asked first, so a shipped language
    // wins, and English gives what it lacks.
    auto english = std::make_unique<QTranslator>();
    if (english->load(QStringLiteral(":/i18n/tarnwell_en.qm")))
        add(std::move(english));
    if (!shipped().contains(QLocale::languageToCode(locale.language())))
        return;
    auto own = std::make_unique<QTranslator>();
    if (!own->load(QStringLiteral(":/i18n/tarnwell_%1.qm")
                       .arg(QLocale::languageToCode(locale.language()))))
        return;
    add(std::move(own));
    spoken() = locale;
    // Qt's own buttons and file dialog ("Close", "Cancel"), where Debian's translations of
    // them are installed (qt6-translations-l10n).
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        add(std::move(qt));
}

} // namespace Translations
