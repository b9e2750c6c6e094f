#pragma once
// The settings file pelmora.ini: reading and writing keys, the Options and
// UserGroups sections, and the one-time move of old per-user settings.
#include <QString>

#include "platform/wholefile.h"

namespace mdlFileINI {

// At most 255 characters; Default when the file, section or key is missing or
// on any error.
QString ReadINI(const QString& FileName, const QString& Section, const QString& KeyName,
                const QString& Default);
bool WriteINI(const QString& FileName, const QString& Section, const QString& KeyName,
              const QString& Value);
void DeleteINISection(const QString& FileName, const QString& Section);

// Section Options from the program-wide options, section UserGroups rewritten,
// in one replacement of the file. False when it was not stored (the file then
// is as it was).
bool SaveOptions();

// Entries 0 to 2 of a loaded group list are always the three main names, so
// invitations of the main groups keep their numbers 1 to 3 after a renaming.
void KeepMainGroupNames();

// One command's writes to pelmora.ini, stored as one replacement of the file
// by Commit. A failure is told to the user once; the file stays as it was.
class SettingsCommand {
 public:
  SettingsCommand();
  bool Commit();  // false: nothing was stored, and the user has been told

 private:
  QString file_;
  platform::FileBatch batch_;
};

// The message for settings that could not be stored in `file`.
void ReportSettingsNotStored(const QString& file, const QString& reason);
// The message for settings that were stored while the guest list was not, and
// could not be put back: the two may now disagree.
void ReportSettingsNotRestored(const QString& file, const QString& reason);
// First run: what section Options lacks is filled from the old registry
// settings (or the default names); those are deleted once the file holds them.
void MigrateOldSettings();

// "Wedding Date" of section Options into g_WeddingDate (today when missing).
void ReadWeddingDate();
// The names, the limits and the guest groups into the program-wide variables,
// as the start reads them; empty names make a first run (MigrateOldSettings).
void ReadOptions();

}  // namespace mdlFileINI
