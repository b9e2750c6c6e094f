#pragma once
// Per-user settings by application, section and key (VB's GetSetting,
// SaveSetting, DeleteSetting), kept in a QSettings file under the user's
// configuration folder. Tests point the root somewhere of their own.
#include <QString>

namespace platform {

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);
// Without a key the whole section goes; a missing section or key is no error.
void DeleteSetting(const QString& appName, const QString& section, const QString& key = QString());
bool SettingSectionExists(const QString& appName, const QString& section);

// The folder that holds the settings files; empty restores the user's own.
void SetSettingsRoot(const QString& folder);

}  // namespace platform
