// Renumbering a table: everybody seated at one table moves to another number,
// or the two tables swap their guests when the target has guests too.
#include "app/mdlWedding.h"
#include "frmTableMap.h"
#include "guestlist/frmPelmora.h"
#include "platform/flexgrid.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;
using platform::ErrorState;
using platform::MsgBox;

namespace {

const QString kTableNo = QStringLiteral("TABLE_NO");

// Null (not seated) reads 0.
int TableOf(dao::Recordset& rs) { return rs.Fields(kTableNo).Value().toInt(); }

void SetTable(dao::Recordset& rs, int table) {
  rs.Edit();
  try {
    rs.Fields(kTableNo).SetValue(table);
    rs.Update();
  } catch (...) {
    ErrorState ignored;
    ignored([&] { rs.CancelUpdate(); });
    throw;
  }
}

}  // namespace

void frmTableMap::UpdateTableNum() {
  const int source = lvwTable->SelectedItem();
  // With no table selected there is nothing to move (table 0 is "not seated").
  if (source < 1) return;
  const QString answer = platform::InputBox(QStringLiteral("בבקשה החלף את מספר השולחן?"), QStringLiteral("עדכון"),
                                            QString::number(source));
  if (answer.isEmpty()) return;
  double number = vb::RoundHalfEven(vb::Val(answer));
  if (number < 0 || number > 255) number = 0;
  if (number >= 1 && number <= g_MaxTables) {
    ChangeTableNum(static_cast<quint8>(source), static_cast<quint8>(number));
  } else {
    MsgBox(QString::number(g_MaxTables) + QStringLiteral(" מספר השולחן צריך להיות מ 1 עד"));
  }
}

// Every seated invitation of Src gets Dest and every one of Dest gets Src, in
// one pass and one transaction: a write that fails leaves every record as it
// was, so the two tables never end up with their guests mixed, and the
// failure is shown.
void frmTableMap::ChangeTableNum(quint8 SrcTableNum, quint8 DestTableNum) {
  const int src = SrcTableNum, dest = DestTableNum;
  ErrorState ignored;
  ignored([&] {
    platform::FlexGrid& grid = *frmPelmora::Default().MSFlexGrid1;
    g_SavedTopRow = static_cast<qint16>(grid.TopRow());
    g_SavedRow = static_cast<qint16>(grid.Row());
  });

  ErrorState err;
  g_DB.SetNothing();
  g_RS.SetNothing();
  err([&] { g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile()); });
  g_SQL = QStringLiteral("select * from PELMORA");
  if (!err.failed()) err([&] { g_RS = g_DB->OpenRecordset(g_SQL); });

  if (!err.failed()) {
    bool destHasGuests = false;
    err([&] {
      if (g_RS->Bof() && g_RS->Eof()) return;  // no records
      g_RS->MoveFirst();
      for (; !g_RS->Eof(); g_RS->MoveNext())
        if (TableOf(*g_RS) == dest) {
          destHasGuests = true;
          break;
        }
    });
    if (destHasGuests &&
        MsgBox(QStringLiteral("שולחן היעד אינו ריק, האם להחליף שולחנות?"), platform::vbYesNo,
               QStringLiteral("עדכון שולחנות")) == platform::vbNo) {
      ErrorState closing;
      closing([&] { g_DB->Close(); });
      return;
    }
  }

  if (!err.failed()) {
    err([&] {
      g_DB->BeginTrans();
      if (!(g_RS->Bof() && g_RS->Eof())) {
        for (g_RS->MoveFirst(); !g_RS->Eof(); g_RS->MoveNext()) {
          const int t = TableOf(*g_RS);
          if (t == src)
            SetTable(*g_RS, dest);
          else if (t == dest)
            SetTable(*g_RS, src);
        }
      }
      g_DB->CommitTrans();
    });
    if (err.failed()) {
      ErrorState undo;
      undo([&] { g_DB->Rollback(); });
    }
  }
  {
    ErrorState closing;
    closing([&] { g_DB->Close(); });
  }
  if (err.failed()) MsgBox(err.last().description, platform::vbExclamation);

  ignored([&] { frmPelmora::Default().InitList(g_GroupName, g_SortField); });
  ignored([&] { InitTableView(g_TableViewMode); });
  ignored([&] {
    platform::FlexGrid& grid = *frmPelmora::Default().MSFlexGrid1;
    grid.setFocus();
    grid.SetTopRow(g_SavedTopRow);
    grid.SetRow(g_SavedRow);
  });
}
