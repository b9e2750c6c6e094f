#pragma once
// Per-user settings by application, section and key (VB's GetSetting,
// SaveSetting, DeleteSetting), kept in one INI file per application under the
// user's configuration folder, in the form QSettings gives such a file, and
// written through the one whole-file writer (wholefile.h): a link stays a link,
// the mode stays, and a file that cannot be read is never replaced. A
// FileBatch of SettingsFileName() makes several changes one replacement.
// Tests point the root somewhere of their own.
#include <QString>

namespace platform {

// A value is read whole: a comma in it is part of it, not a list.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// False when the change could not be stored; the file then stays as it was.
bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);
// Without a key the whole section goes; a missing section or key is no error.
bool DeleteSetting(const QString& appName, const QString& section, const QString& key = QString());
bool SettingSectionExists(const QString& appName, const QString& section);

// The folder that holds the settings files; empty restores the user's own.
void SetSettingsRoot(const QString& folder);
QString SettingsFileName(const QString& appName);

// Removes the temporary files that a write of the application's settings left
// behind when the program ended in the middle of it.
void RemoveSettingsLeftovers(const QString& appName);

}  // namespace platform
