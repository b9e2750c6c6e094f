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
// False when a value could not be written.
bool SaveOptions();
// First run: what section Options lacks is filled from the old registry
// settings (or the default names); those are deleted once the file holds them.
void MigrateOldSettings();

// "Wedding Date" of section Options into g_WeddingDate (today when missing).
void ReadWeddingDate();
// The names, the limits and the guest groups into the program-wide variables,
// as the start reads them; empty names make a first run (MigrateOldSettings).
void ReadOptions();

}  // namespace mdlFileINI
