#include "mdlFileINI.h"

#include <optional>

#include "mdlWedding.h"
#include "platform/ini.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;

namespace mdlFileINI {

QString ReadINI(const QString& FileName, const QString& Section, const QString& KeyName,
                const QString& Default) {
  try {
    return platform::GetPrivateProfileString(Section, KeyName, Default, FileName).left(255);
  } catch (...) {
    return Default;
  }
}

bool WriteINI(const QString& FileName, const QString& Section, const QString& KeyName,
              const QString& Value) {
  try {
    return platform::WritePrivateProfileString(Section, KeyName, Value, FileName);
  } catch (...) {
    return false;
  }
}

void DeleteINISection(const QString& FileName, const QString& Section) {
  try {
    platform::DeletePrivateProfileSection(Section, FileName);
  } catch (...) {
  }
}

bool SaveOptions() {
  const QString file = IniFile();
  platform::FileBatch batch(file);
  bool ok = true;
  ok &= WriteINI(file, "Options", "Couple", g_Couple);
  ok &= WriteINI(file, "Options", "His Family", g_HisFamily);
  ok &= WriteINI(file, "Options", "Her Family", g_HerFamily);
  ok &= WriteINI(file, "Options", "NumOfGroups", vb::Str(int(g_NumOfGroups)));
  ok &= WriteINI(file, "Options", "Max Tables", vb::Str(int(g_MaxTables)));
  ok &= WriteINI(file, "Options", "Max Chairs", vb::Str(int(g_MaxChairs)));
  ok &= WriteINI(file, "Options", "Wedding Date", vb::DateText(g_WeddingDate));
  DeleteINISection(file, "UserGroups");
  for (int i = 0; i < g_NumOfGroups; ++i)
    ok &= WriteINI(file, "UserGroups", "Group-" + vb::Str(i), g_UserGroups.value(i));
  return batch.commit() && ok;
}

void KeepMainGroupNames() {
  if (g_NumOfGroups == 0) return;  // no list: the names themselves give 1 to 3
  if (g_NumOfGroups < 3) g_NumOfGroups = 3;
  if (g_UserGroups.size() < g_NumOfGroups + 1) g_UserGroups.resize(g_NumOfGroups + 1);
  g_UserGroups[0] = g_Couple;
  g_UserGroups[1] = g_HisFamily;
  g_UserGroups[2] = g_HerFamily;
}

SettingsCommand::SettingsCommand() : file_(IniFile()), batch_(file_) {}

bool SettingsCommand::Commit() {
  QString reason;
  if (batch_.commit(&reason)) return true;
  ReportSettingsNotStored(file_, reason);
  return false;
}

namespace {
void reportFileProblem(const QString& what, const QString& file, const QString& reason) {
  QString text = what + g_NewLine + file;
  if (!reason.isEmpty()) text += g_NewLine + reason;
  platform::MsgBox(text, platform::vbExclamation);
}
}  // namespace

void ReportSettingsNotStored(const QString& file, const QString& reason) {
  reportFileProblem(QStringLiteral("!ההגדרות לא נשמרו"), file, reason);
}

void ReportSettingsNotRestored(const QString& file, const QString& reason) {
  reportFileProblem(QStringLiteral("!ההגדרות הקודמות לא שוחזרו") + g_NewLine +
                        QStringLiteral(".ייתכן שההגדרות ורשימת המוזמנים אינן תואמות זו לזו"),
                    file, reason);
}

namespace {

// A whole number of the file's section Options within [low, high], or none.
std::optional<int> storedNumber(const QString& key, int low, int high) {
  try {
    const int n = vb::CInt(ReadINI(IniFile(), "Options", key, ""));
    if (n >= low && n <= high) return n;
  } catch (const platform::VbError&) {
  }
  return std::nullopt;
}

}  // namespace

void MigrateOldSettings() {
  const QString app = QStringLiteral("Pelmora");
  const QString file = IniFile();
  platform::ErrorState err;
  g_FirstRun = true;
  QString couple, hisFamily, herFamily;
  quint8 maxTables = 100, maxChairs = 15;
  err([&] { couple = platform::GetSetting(app, "Options", "Couple", ""); });
  err([&] { hisFamily = platform::GetSetting(app, "Options", "His Family", ""); });
  err([&] { herFamily = platform::GetSetting(app, "Options", "Her Family", ""); });
  err([&] { maxTables = vb::CByte(platform::GetSetting(app, "Options", "Max Tables", "100")); });
  err([&] { maxChairs = vb::CByte(platform::GetSetting(app, "Options", "Max Chairs", "15")); });
  err([&] { g_LabelAddress = vb::CBool(platform::GetSetting(app, "Print", "Label Address", "True")); });
  err([&] { g_PrintFrame = vb::CBool(platform::GetSetting(app, "Print", "Label Frame", "False")); });
  err([&] { g_PrintColor = vb::CLng(platform::GetSetting(app, "Print", "Label Color", "0")); });
  const bool legacyNames = !couple.isEmpty() && !hisFamily.isEmpty() && !herFamily.isEmpty();
  if (!legacyNames) {
    couple = QStringLiteral("שמות בני הזוג");
    hisFamily = QStringLiteral("משפחת החתן");
    herFamily = QStringLiteral("משפחת הכלה");
  }

  // Only what the file lacks is filled: a name that is there, valid limits
  // and the stored groups stay as they are.
  if (g_Couple.isEmpty()) g_Couple = couple;
  if (g_HisFamily.isEmpty()) g_HisFamily = hisFamily;
  if (g_HerFamily.isEmpty()) g_HerFamily = herFamily;
  g_MaxTables = quint8(storedNumber("Max Tables", 1, 100).value_or(maxTables));
  g_MaxChairs = quint8(storedNumber("Max Chairs", 1, 15).value_or(maxChairs));
  g_NumOfGroups = quint8(storedNumber("NumOfGroups", 0, 255).value_or(0));
  g_UserGroups = QVector<QString>(g_NumOfGroups + 1);
  for (int i = 0; i < g_NumOfGroups; ++i)
    g_UserGroups[i] = ReadINI(file, "UserGroups", "Group-" + vb::Str(i), "");
  KeepMainGroupNames();

  platform::ErrorState writes;
  bool written = false;
  SettingsCommand command;
  writes([&] { written = SaveOptions(); });
  if (legacyNames) {
    writes([&] { written &= WriteINI(file, "Print", "Label Address", vb::Str(g_LabelAddress)); });
    writes([&] { written &= WriteINI(file, "Print", "Label Frame", vb::Str(g_PrintFrame)); });
    writes([&] { written &= WriteINI(file, "Print", "Label Color", vb::Str(qint64(g_PrintColor))); });
  }
  // The old settings go only once the file holds them.
  const bool stored = command.Commit();
  if (!written || writes.failed() || !stored) return;
  err([&] { platform::DeleteSetting(app, "Options"); });
  err([&] { platform::DeleteSetting(app, "Print"); });
}

}  // namespace mdlFileINI
