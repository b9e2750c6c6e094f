#include "mdlWedding.h"

#include <QDir>
#include <QFileInfo>

#include "platform/filecopy.h"
#include "platform/shell.h"
#include "platform/vb.h"

namespace mdlWedding {

QString g_NewLine;
QString g_AppPath;
dao::Handle<dao::Database> g_DB;
dao::Handle<dao::Recordset> g_RS;
QString g_SQL;
quint8 g_InvMode = 0;
int g_ListItem = 0;
qint16 g_InvCount = 0;
qint16 g_ComingCount = 0;
qint16 g_NotComingCount = 0;
qint16 g_AwaitingCount = 0;
qint32 g_GiftSum = 0;
quint8 g_SelTable = 0;
quint8 g_SelTablePeople = 0;
bool g_FirstRun = false;
quint8 g_MaxChairs = 0;
quint8 g_MaxTables = 0;
QDateTime g_WeddingDate;
double g_DaysLeft = 0;
quint8 g_TableViewMode = 0;
bool g_PrintFrame = false;
bool g_LabelAddress = false;
qint32 g_PrintColor = 0;
QString g_NoteBackground;
qint32 g_PrintMode = 0;
bool g_MultiSel = false;
qint16 g_SelFirstRow = 0;
qint16 g_SelLastRow = 0;
QString g_GroupName;
QString g_SelFamilyName;
QString g_SelFirstName;
qint16 g_SavedPosition = 0;
QString g_SortField;
qint16 g_SavedRow = 0;
qint16 g_SavedTopRow = 0;
bool g_PortFree = false;
bool g_AutoDial = false;
QString g_DialNumber;
QVector<TableInfo> g_Tables;
int g_MsgResult = 0;
QString g_AllGuests;
QString g_Couple;
QString g_HisFamily;
QString g_HerFamily;
quint8 g_NumOfGroups = 0;
QVector<QString> g_UserGroups;
std::shared_ptr<platform::ReportConnection> g_ReportConn;
std::shared_ptr<platform::ReportRecordset> g_ReportRS;

QString ProgramFile(const QString& name) { return platform::FindFileIgnoringCase(g_AppPath, name); }
QString IniFile() { return ProgramFile(QStringLiteral("pelmora.ini")); }
QString DatabaseFile() { return ProgramFile(QStringLiteral("Wed.mdb")); }

QString DaysToWedding() {
  // Whole days by the calendar (no daylight-saving drift), plus the wedding's
  // time of day as a fraction.
  const QDate today = vb::Today().date();
  g_DaysLeft = today.daysTo(g_WeddingDate.date()) +
               g_WeddingDate.time().msecsSinceStartOfDay() / 86400000.0;
  if (g_DaysLeft < 0) g_DaysLeft = 0;
  return vb::Str(g_DaysLeft);
}

int GroupNumber(const QString& name) {
  if (g_NumOfGroups > 0) {
    for (int i = 0; i < g_NumOfGroups; ++i)
      if (g_UserGroups.value(i) == name) return i + 1;
    return 0;
  }
  // Tested in this order, so a name shared by two main groups gives the first.
  if (name == g_Couple) return 1;
  if (name == g_HerFamily) return 3;
  if (name == g_HisFamily) return 2;
  return 0;
}

bool FileExists(const QString& path) {
  if (vb::Trim(path).isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && info.isFile() && !info.isHidden();
}

bool ShowHelp(const QString& helpFile, QWidget* window, long contextId) {
  (void)window;
  (void)contextId;  // the desktop's handler opens the file at its default topic
  if (!FileExists(helpFile)) return false;
  return platform::OpenWithDesktop(QFileInfo(helpFile).absoluteFilePath());
}

void ResetState() {
  g_NewLine.clear();
  g_AppPath.clear();
  g_DB.SetNothing();
  g_RS.SetNothing();
  g_SQL.clear();
  g_InvMode = 0;
  g_ListItem = 0;
  g_InvCount = g_ComingCount = g_NotComingCount = g_AwaitingCount = 0;
  g_GiftSum = 0;
  g_SelTable = g_SelTablePeople = 0;
  g_FirstRun = false;
  g_MaxChairs = g_MaxTables = 0;
  g_WeddingDate = QDateTime();
  g_DaysLeft = 0;
  g_TableViewMode = 0;
  g_PrintFrame = g_LabelAddress = false;
  g_PrintColor = 0;
  g_NoteBackground.clear();
  g_PrintMode = 0;
  g_MultiSel = false;
  g_SelFirstRow = g_SelLastRow = 0;
  g_GroupName.clear();
  g_SelFamilyName.clear();
  g_SelFirstName.clear();
  g_SavedPosition = 0;
  g_SortField.clear();
  g_SavedRow = g_SavedTopRow = 0;
  g_PortFree = g_AutoDial = false;
  g_DialNumber.clear();
  g_Tables.clear();
  g_MsgResult = 0;
  g_AllGuests.clear();
  g_Couple.clear();
  g_HisFamily.clear();
  g_HerFamily.clear();
  g_NumOfGroups = 0;
  g_UserGroups.clear();
  g_ReportConn.reset();
  g_ReportRS.reset();
}

}  // namespace mdlWedding
