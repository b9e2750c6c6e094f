#pragma once
// The settings file pelmora.ini: reading and writing keys, the Options and
// UserGroups sections, and the one-time move of old per-user settings.
#include <QString>

namespace mdlFileINI {

// At most 255 characters; Default when the file, section or key is missing or
// on any error.
QString ReadINI(const QString& FileName, const QString& Section, const QString& KeyName,
                const QString& Default);
bool WriteINI(const QString& FileName, const QString& Section, const QString& KeyName,
              const QString& Value);
void DeleteINISection(const QString& FileName, const QString& Section);

// Section Options from the program-wide options, section UserGroups rewritten.
void SaveOptions();
// First run: the old registry settings into the file (or the default names).
void MigrateOldSettings();

}  // namespace mdlFileINI
