#pragma once

#include <QString>

// The per-user settings store: text values addressed by application name, section and key.
// On this platform the application name is the settings file's name and the section its group
// (~/.config/Brennick.conf, [Tarnwell]).
class SettingsStore
{
public:
    explicit SettingsStore(QString applicationName, QString section);

    QString read(const QString &key, const QString &defaultValue) const;
    // Throws Failure when the value cannot be stored.
    void write(const QString &key, const QString &value);

private:
    QString m_applicationName;
    QString m_section;
};

// Reads a stored text as a Boolean: True or False in any letter case, or a number (0 is false,
// any other number true). Throws Failure ("Type mismatch") for anything else.
bool readStoredBoolean(const QString &text);
QString storedBooleanText(bool value);
