#include "SettingsStore.h"

#include "Failure.h"

#include <QCoreApplication>
#include <QSettings>

SettingsStore::SettingsStore(QString applicationName, QString section)
    : m_applicationName(std::move(applicationName)), m_section(std::move(section))
{
}

QString SettingsStore::read(const QString &key, const QString &defaultValue) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_applicationName);
    settings.beginGroup(m_section);
    const QVariant value = settings.value(key);
    // A value QSettings parsed as a list (it held a comma) is still one stored text.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::write(const QString &key, const QString &value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_applicationName);
    settings.beginGroup(m_section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Failure(
            QCoreApplication::translate("Tarnwell", "Could not write the settings file %1")
                .arg(settings.fileName()));
}

bool readStoredBoolean(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = trimmed.toDouble(&isNumber);
    if (!isNumber)
        throw Failure(QCoreApplication::translate("Tarnwell", "Type mismatch"), 13);
    return number != 0.0;
}

QString storedBooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
