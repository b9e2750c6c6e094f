#pragma once
// Per-user settings by application, section and key (VB's GetSetting,
// SaveSetting, DeleteSetting), kept in a QSettings file under the user's
// configuration folder. Tests point the root somewhere of their own.
#include <QString>

namespace platform {

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

// Every change to the application's settings while the batch is open is stored
// by commit() in one replacement of the file; without commit() it is dropped.
// A batch opened while another is open joins it.
class SettingBatch {
 public:
  explicit SettingBatch(const QString& appName);
  ~SettingBatch();
  SettingBatch(const SettingBatch&) = delete;
  SettingBatch& operator=(const SettingBatch&) = delete;
  bool commit();  // false: nothing was stored

 private:
  bool owner_ = false;
};

}  // namespace platform
