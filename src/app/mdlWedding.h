#pragma once
// The shared module: program-wide variables through which the windows hand
// data to each other, and the entry procedure Main. Widths follow the VB types:
// Byte quint8, Integer qint16, Long qint32.
#include <QDateTime>
#include <QString>
#include <QVector>
#include <memory>

#include "platform/dao.h"

namespace platform {
class ReportConnection;
class ReportRecordset;
}  // namespace platform

namespace mdlWedding {

// Per-table totals of the last recount of the tables map.
struct TableInfo {
  quint8 Count = 0;  // people seated (sum of INV_NUM)
  QString Names;     // "FAMILY FIRST , " for each invitation seated there
};

extern QString g_NewLine;
extern QString g_AppPath;
extern dao::Handle<dao::Database> g_DB;
extern dao::Handle<dao::Recordset> g_RS;
extern QString g_SQL;
extern quint8 g_InvMode;
extern int g_ListItem;  // index of the tables-map item added last
extern qint16 g_InvCount;
extern qint16 g_ComingCount;
extern qint16 g_NotComingCount;
extern qint16 g_AwaitingCount;
extern qint32 g_GiftSum;
extern quint8 g_SelTable;
extern quint8 g_SelTablePeople;
extern bool g_FirstRun;
extern quint8 g_MaxChairs;
extern quint8 g_MaxTables;
extern QDateTime g_WeddingDate;
extern double g_DaysLeft;
extern quint8 g_TableViewMode;
extern bool g_PrintFrame;
extern bool g_LabelAddress;
extern qint32 g_PrintColor;
extern QString g_NoteBackground;
extern qint32 g_PrintMode;
extern bool g_MultiSel;
extern qint16 g_SelFirstRow;
extern qint16 g_SelLastRow;
extern QString g_GroupName;
extern QString g_SelFamilyName;
extern QString g_SelFirstName;
extern qint16 g_SavedPosition;
extern QString g_SortField;
extern qint16 g_SavedRow;
extern qint16 g_SavedTopRow;
extern bool g_PortFree;
extern bool g_AutoDial;
extern QString g_DialNumber;
extern QVector<TableInfo> g_Tables;  // 0 to g_MaxTables
extern int g_MsgResult;
extern QString g_AllGuests;
extern QString g_Couple;
extern QString g_HisFamily;
extern QString g_HerFamily;
extern quint8 g_NumOfGroups;
extern QVector<QString> g_UserGroups;  // 0 to g_NumOfGroups
extern std::shared_ptr<platform::ReportConnection> g_ReportConn;
extern std::shared_ptr<platform::ReportRecordset> g_ReportRS;

// The program's entry: program folder, wedding date, splash, main window.
// Returns False when start-up ended the program.
bool Main();
QString DaysToWedding();
// An invitation's group number (LIST_GROUP) for a group name: its place in
// the group list from 1; with no list loaded, the three main names (couple 1,
// groom's family 2, bride's family 3); 0 when no group has that name.
int GroupNumber(const QString& name);
// True when Trim(path) is not empty and names an ordinary, visible file.
bool FileExists(const QString& path);
bool ShowHelp(const QString& helpFile, QWidget* window, long contextId);

// A file of the program folder by its name, found whatever its letter case
// (as on the system the files come from); the name as given when none is there.
QString ProgramFile(const QString& name);
// The settings file and the database of the program folder.
QString IniFile();
QString DatabaseFile();

// Every variable back to its start value (a fresh program, for tests).
void ResetState();

}  // namespace mdlWedding
