#include "mdlFileINI.h"

#include "mdlWedding.h"
#include "platform/ini.h"
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

void SaveOptions() {
  const QString file = IniFile();
  WriteINI(file, "Options", "Couple", g_Couple);
  WriteINI(file, "Options", "His Family", g_HisFamily);
  WriteINI(file, "Options", "Her Family", g_HerFamily);
  WriteINI(file, "Options", "NumOfGroups", vb::Str(int(g_NumOfGroups)));
  WriteINI(file, "Options", "Max Tables", vb::Str(int(g_MaxTables)));
  WriteINI(file, "Options", "Max Chairs", vb::Str(int(g_MaxChairs)));
  WriteINI(file, "Options", "Wedding Date", vb::DateText(g_WeddingDate));
  DeleteINISection(file, "UserGroups");
  for (int i = 0; i < g_NumOfGroups; ++i)
    WriteINI(file, "UserGroups", "Group-" + vb::Str(i), g_UserGroups.value(i));
}

void MigrateOldSettings() {
  const QString app = QStringLiteral("Pelmora");
  platform::ErrorState err;
  g_FirstRun = true;
  err([&] { g_Couple = platform::GetSetting(app, "Options", "Couple", ""); });
  err([&] { g_HisFamily = platform::GetSetting(app, "Options", "His Family", ""); });
  err([&] { g_HerFamily = platform::GetSetting(app, "Options", "Her Family", ""); });
  err([&] { g_MaxTables = vb::CByte(platform::GetSetting(app, "Options", "Max Tables", "100")); });
  err([&] { g_MaxChairs = vb::CByte(platform::GetSetting(app, "Options", "Max Chairs", "15")); });
  err([&] { g_LabelAddress = vb::CBool(platform::GetSetting(app, "Print", "Label Address", "True")); });
  err([&] { g_PrintFrame = vb::CBool(platform::GetSetting(app, "Print", "Label Frame", "False")); });
  err([&] { g_PrintColor = vb::CLng(platform::GetSetting(app, "Print", "Label Color", "0")); });
  err([&] { platform::DeleteSetting(app, "Options"); });
  err([&] { platform::DeleteSetting(app, "Print"); });

  if (!g_Couple.isEmpty() && !g_HisFamily.isEmpty() && !g_HerFamily.isEmpty()) {
    err([&] { SaveOptions(); });
    const QString file = IniFile();
    err([&] { WriteINI(file, "Print", "Label Address", vb::Str(g_LabelAddress)); });
    err([&] { WriteINI(file, "Print", "Label Frame", vb::Str(g_PrintFrame)); });
    err([&] { WriteINI(file, "Print", "Label Color", vb::Str(qint64(g_PrintColor))); });
  } else {
    g_Couple = QStringLiteral("שמות בני הזוג");
    g_HisFamily = QStringLiteral("משפחת החתן");
    g_HerFamily = QStringLiteral("משפחת הכלה");
    err([&] { SaveOptions(); });
  }
}

}  // namespace mdlFileINI
