// The guest grid's mouse: selecting whole rows, sorting by a header
// double-click, the pop-up menu, deleting an invitation and the wheel.
#include <QAction>
#include <QCursor>
#include <QMenu>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "guestlist/guestgrid.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace {
QString sqlLiteral(const QString& text) {
  QString quoted = text;
  quoted.replace('\'', QStringLiteral("''"));
  return '\'' + quoted + '\'';
}
}  // namespace

void frmPelmora::MSFlexGrid1_Click() {
  platform::FlexGrid& grid = *MSFlexGrid1;
  m_ClickedCol = quint8(grid.Col());
  const int r = grid.Row();
  const int s = grid.RowSel();
  grid.SetCol(2);
  Toolbar1->SetEnabled(5, !vb::Trim(grid.Text()).isEmpty());
  grid.SetCol(0);
  m_SelRow = qint16(r);
  grid.SetRow(r);
  grid.SetColSel(9);
  grid.SetRowSel(s);
}

void frmPelmora::MSFlexGrid1_DblClick() {
  platform::FlexGrid& grid = *MSFlexGrid1;
  if (grid.MouseRow() != 0) {
    if (grid.Row() > 0) UpdateInv();
    return;
  }
  const QString field = g_SortField, order = m_SortOrder;
  g_SortField = guestgrid::kColumns[qMin<int>(m_ClickedCol, 9)].field;
  m_SortOrder = m_SortOrder == QLatin1String("ASC") ? QStringLiteral("DESC") : QStringLiteral("ASC");
  if (InitList(g_GroupName, g_SortField)) return;
  // Not sorted: the next double-click starts from the order shown.
  g_SortField = field;
  m_SortOrder = order;
}

void frmPelmora::MSFlexGrid1_MouseDown(int Button, int Shift, int X, int Y) {
  (void)Shift;
  (void)X;
  (void)Y;
  if (Button == 2) mnuPopMenu->popup(QCursor::pos());
}

void frmPelmora::RemoveRecord() {
  platform::FlexGrid& grid = *MSFlexGrid1;
  ErrorState err;
  if (grid.RowSel() != grid.Row()) {
    platform::MsgBox(QStringLiteral("לא ניתן למחוק קבוצה של מוזמנים, בחר הזמנה אחת בלבד למחיקה."), platform::vbOKOnly);
    return;
  }
  err([&] {
    grid.SetCol(0);
    g_SelFamilyName = grid.Text();
    grid.SetCol(1);
    g_SelFirstName = grid.Text();
  });
  const int answer = platform::MsgBox("האם למחוק את ההזמנה ל" + g_SelFamilyName + " " + g_SelFirstName + "?",
                                      platform::vbYesNo | platform::vbDefaultButton1);
  if (answer == platform::vbNo) return;

  g_SavedTopRow = qint16(grid.TopRow());
  g_SavedRow = qint16(grid.Row());
  g_DB.SetNothing();
  g_RS.SetNothing();
  err([&] { g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile()); });
  g_SQL = "select * from PELMORA where FAMILY_NAME = " + sqlLiteral(g_SelFamilyName) +
          " and FIRST_NAME = " + sqlLiteral(g_SelFirstName) + ";";
  err([&] { g_RS = g_DB->OpenRecordset(g_SQL); });
  bool none = true;
  err([&] { none = g_RS->Eof(); });
  if (none) {
    platform::MsgBox(QStringLiteral("רשימת המוזמנים ריקה."), platform::vbOKOnly);
    err([&] { g_DB->Close(); });
    return;
  }
  err([&] {
    g_RS->MoveFirst();
    g_RS->Delete();
  });
  err([&] { g_DB->Close(); });
  if (err.failed()) {
    platform::MsgBox(QStringLiteral("ארעה שגיאה בנסיון המחיקה."), platform::vbOKOnly);
    return;
  }
  InitList(g_GroupName, g_SortField);
  frmTableMap::Default().InitTableView(g_TableViewMode);
  grid.setFocus();
  // A saved place beyond the shortened list is not applied.
  if (g_SavedTopRow < grid.Rows()) err([&] { grid.SetTopRow(g_SavedTopRow); });
  if (g_SavedRow < grid.Rows()) err([&] { grid.SetRow(g_SavedRow); });
}

void frmPelmora::MouseWheel(qint32 fwKeys, qint32 zDelta, qint32 xPos, qint32 yPos) {
  (void)fwKeys;
  (void)xPos;
  (void)yPos;
  platform::FlexGrid& grid = *MSFlexGrid1;
  const int top = grid.TopRow();
  if (top < grid.Rows() - 1 && zDelta < 0) grid.SetTopRow(top + 1);
  else if (top > 1 && zDelta > 0) grid.SetTopRow(top - 1);
}
