// Reading the options and the guest groups from pelmora.ini into the
// program-wide variables: at start-up and again after an import brings in
// another wedding's file.
#include "mdlFileINI.h"
#include "mdlWedding.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;

namespace mdlFileINI {

void ReadWeddingDate() {
  g_WeddingDate = vb::CDateOrToday(ReadINI(IniFile(), "Options", "Wedding Date", vb::DateText(vb::Today())));
}

void ReadOptions() {
  // Each value on its own: one that does not convert keeps the variable as it was.
  platform::ErrorState err;
  const QString ini = IniFile();
  err([&] { g_Couple = ReadINI(ini, "Options", "Couple", ""); });
  err([&] { g_HisFamily = ReadINI(ini, "Options", "His Family", ""); });
  err([&] { g_HerFamily = ReadINI(ini, "Options", "Her Family", ""); });
  err([&] { g_MaxTables = vb::CByte(ReadINI(ini, "Options", "Max Tables", "100")); });
  err([&] { g_MaxChairs = vb::CByte(ReadINI(ini, "Options", "Max Chairs", "15")); });
  if (g_Couple.isEmpty() || g_HisFamily.isEmpty() || g_HerFamily.isEmpty()) err([] { MigrateOldSettings(); });
  err([&] { g_NumOfGroups = vb::CByte(ReadINI(ini, "Options", "NumOfGroups", "0")); });
  err([&] {
    g_UserGroups = QVector<QString>(g_NumOfGroups + 1);
    for (int i = 0; i < g_NumOfGroups; ++i) g_UserGroups[i] = ReadINI(ini, "UserGroups", "Group-" + vb::Str(i), "");
    KeepMainGroupNames();
  });
}

}  // namespace mdlFileINI
