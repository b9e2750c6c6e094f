// Loading the guest list into the grid: the SQL text from the group, answer
// filters and sort, a counting pass and a filling pass, the counters in the
// status bar and the commands that need at least one invitation.
#include <QAction>
#include <QLabel>
#include <algorithm>
#include <limits>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "guestlist/guestgrid.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace {

// VB assigns Null to a number or a string with "Invalid use of Null".
QString nonNullText(const QVariant& v) {
  if (v.isNull() || !v.isValid()) platform::Raise(94, QStringLiteral("Invalid use of Null"));
  return v.toString();
}

QString textOrEmpty(const QVariant& v) { return (v.isNull() || !v.isValid()) ? QString() : v.toString(); }

void addChecked16(qint16& counter, const QVariant& add) {
  if (add.isNull() || !add.isValid()) platform::Raise(94, QStringLiteral("Invalid use of Null"));
  const qint64 sum = qint64(counter) + add.toLongLong();
  if (sum < -32768 || sum > 32767) platform::Raise(6, QStringLiteral("Overflow"));
  counter = qint16(sum);
}

// The presents total. Each addition is rounded on its own (halves to even); a
// present counts at most what the total can hold, so a stored present of any
// size, even one from an older or hand-edited file, never fails the load.
using GiftTotal = decltype(g_GiftSum);

constexpr GiftTotal kLeast = std::numeric_limits<GiftTotal>::min();
constexpr GiftTotal kMost = std::numeric_limits<GiftTotal>::max();

qint64 addPresent(qint64 sum, double present) {
  return qint64(vb::RoundHalfEven(double(sum) + std::clamp<double>(present, kLeast, kMost)));
}

GiftTotal totalOf(qint64 sum) { return GiftTotal(std::clamp<qint64>(sum, kLeast, kMost)); }

QString listSql(const QString& group, int groupNo, const QString& order, const QString& sortOrder,
                           bool hideNotComing, bool hideUnanswered) {
  QString sql = QStringLiteral("select * from PELMORA");
  const QString orderClause = order.isEmpty() ? QString() : " order by " + order + " " + sortOrder;
  if (hideNotComing && hideUnanswered) sql += QStringLiteral(" where (CONFIRM = 1)");
  else if (hideNotComing) sql += QStringLiteral(" where (CONFIRM <> 2)");
  else if (hideUnanswered) sql += QStringLiteral(" where (CONFIRM between 1 and 2)");
  if (group != g_AllGuests) {
    if (!sql.contains(QLatin1String("where")))
      sql += " where LIST_GROUP = '" + vb::Str(groupNo) + "'";
    else
      sql += " and (LIST_GROUP = '" + vb::Str(groupNo) + "')";
  }
  return sql + orderClause;
}

}  // namespace

bool frmPelmora::InitList(const QString& group, const QString& order) {
  ErrorState err;
  platform::FlexGrid& grid = *MSFlexGrid1;

  const int groupNo = GroupNumber(group);

  // The rows are read before the grid is touched: a file that another program
  // holds beyond the engine's wait is reported, and the list stays as it was.
  auto lockedOut = [&] { return err.failed() && dao::IsLockedError(err.last().number); };
  g_DB.SetNothing();
  g_RS.SetNothing();
  err([&] { g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile()); });
  if (!lockedOut()) err([&] { UpdateDatabase(); });  // ends the program when the file cannot be used
  g_SQL = listSql(group, groupNo, order, m_SortOrder, popIgnoreCnfNotOk->isChecked(),
                             popIgnoreNotCnf->isChecked());
  if (!lockedOut()) err([&] { g_RS = g_DB->OpenRecordset(g_SQL); });
  if (lockedOut()) {
    if (!g_DB.IsNothing()) g_DB->Close();
    platform::MsgBox(err.last().description, platform::vbExclamation | platform::vbOKOnly);
    return false;
  }

  lblList->setText("רשימה של " + g_GroupName);

  err([&] {
    grid.Clear();
    grid.SetRows(2);
    grid.SetRightToLeft(true);
    grid.SetCols(10);
    grid.SetRow(0);
    for (int c = 9; c >= 0; --c) {
      const guestgrid::Column& col = guestgrid::kColumns[c];
      grid.SetCol(c);
      grid.SetText(col.header);
      const QString stored = m_ColWidth[c];
      if (stored == QLatin1String("<no value>") || stored.isEmpty())
        grid.SetColWidth(c, col.defaultWidth);
      else
        err([&] { grid.SetColWidth(c, vb::CLng(stored)); });
      grid.SetCellAlignment(col.headerAlignment);
    }
  });

  g_InvCount = g_ComingCount = g_NotComingCount = g_AwaitingCount = 0;
  g_GiftSum = 0;

  bool empty = true;
  err([&] { empty = g_RS->Eof(); });
  QAction* const listCommands[] = {mnuUpdate, mnuRemove, mnuPrintEnvLables, mnuPrintReport,
                                   mnuPrintSittingNotes, popUpdate, popDelete};
  for (QAction* a : listCommands) a->setEnabled(!empty);
  for (int button : {2, 3, 7, 8, 9}) Toolbar1->SetEnabled(button, !empty);
  if (empty) Toolbar1->SetEnabled(5, false);
  Toolbar1->Refresh();

  qint16 r = 1;
  if (!empty) {
    // Counting pass.
    qint64 giftSum = 0;
    err([&] { g_RS->MoveFirst(); });
    bool more = false;
    err([&] { more = !g_RS->Eof(); });
    while (more) {
      err([&] { addChecked16(g_InvCount, 1); });
      err([&] {
        const QVariant confirm = g_RS->Fields("CONFIRM").Value();
        if (confirm.isNull() || !confirm.isValid()) return;
        switch (confirm.toInt()) {
          case 0: case 3: addChecked16(g_AwaitingCount, g_RS->Fields("INV_NUM").Value()); break;
          case 1: addChecked16(g_ComingCount, g_RS->Fields("INV_NUM").Value()); break;
          case 2: addChecked16(g_NotComingCount, g_RS->Fields("INV_NUM").Value()); break;
          default: break;
        }
      });
      err([&] {
        const QVariant type = g_RS->Fields("PRESENT_TYPE").Value();
        const QVariant present = g_RS->Fields("PRESENT").Value();
        if (type.isNull() || !type.isValid() || present.isNull() || !present.isValid()) return;
        if (type.toInt() != 0 && type.toInt() != 1) return;
        giftSum = addPresent(giftSum, vb::ValOrInfinity(present.toString()));
        g_GiftSum = totalOf(giftSum);
      });
      if (!err([&] { g_RS->MoveNext(); })) break;
      err([&] { more = !g_RS->Eof(); });
    }

    err([&] { grid.SetRows(g_InvCount + 1); });
    err([&] { g_RS->MoveFirst(); });

    // Filling pass.
    const QColor evenBack = vb::OleColor(0x80000018);
    const QColor declinedFore = vb::OleColor(0x80000003);
    more = false;
    err([&] { more = !g_RS->Eof(); });
    while (more) {
      QVariant values[10];
      QVariant confirm, presentType;
      err([&] {
        for (int c = 0; c < 10; ++c) values[c] = g_RS->Fields(guestgrid::kColumns[c].field).Value();
        confirm = g_RS->Fields("CONFIRM").Value();
        presentType = g_RS->Fields("PRESENT_TYPE").Value();
      });
      const bool even = CheckEvenNum(r);
      const bool declined = !confirm.isNull() && confirm.isValid() && confirm.toInt() == 2;
      err([&] { grid.SetRow(r); });
      for (int c = 9; c >= 0; --c) {
        err([&] {
          grid.SetCol(c);
          grid.SetCellAlignment(guestgrid::kColumns[c].cellAlignment);
          const QVariant& v = values[c];
          QString text;
          switch (c) {
            case 5: text = guestgrid::ConfirmText(v); break;
            case 6: case 8: text = textOrEmpty(v); break;
            case 7: text = (!v.isNull() && v.isValid() && v.toBool()) ? QStringLiteral("נשלחה") : QString(); break;
            case 9: {
              if (v.isNull() || !v.isValid()) break;
              const bool other = !presentType.isNull() && presentType.isValid() && presentType.toInt() == 2;
              const bool noType = presentType.isNull() || !presentType.isValid();
              // A money amount is stored in plain form and shown in the user's locale.
              text = (other || noType) ? v.toString() : QStringLiteral("₪") + vb::ShownNumber(v.toString());
              break;
            }
            default: text = nonNullText(v); break;
          }
          grid.SetText(text);
        });
        if (even) err([&] { grid.SetCellBackColor(evenBack); });
        if (declined) err([&] {
            grid.SetCellForeColor(declinedFore);
            grid.SetCellFontBold(true);
          });
      }
      ++r;
      if (!err([&] { g_RS->MoveNext(); })) break;
      err([&] { more = !g_RS->Eof(); });
    }

    err([&] {
      grid.SetRow(1);
      grid.SetCol(2);
      Toolbar1->SetEnabled(5, !vb::Trim(grid.Text()).isEmpty());
    });
  }

  bool countDiffers = true;
  err([&] { countDiffers = (r - 1) != g_RS->RecordCount(); });
  if (countDiffers) platform::MsgBox(QStringLiteral("שגיאה בהצגת הטבלה"), platform::vbOKOnly);

  err([&] { g_DB->Close(); });

  stb->SetPanelText(2, QStringLiteral("מתנות ") + QStringLiteral("₪") + vb::Str(qint64(g_GiftSum)));
  stb->SetPanelText(3, QStringLiteral("אישרו שלא מגיעים  ") + vb::Str(int(g_NotComingCount)));
  stb->SetPanelText(4, QStringLiteral("ממתינים לאישור  ") + vb::Str(int(g_AwaitingCount)));
  stb->SetPanelText(5, QStringLiteral("אישרו שמגיעים  ") + vb::Str(int(g_ComingCount)));
  stb->SetPanelText(6, QStringLiteral("מס' ההזמנות  ") + vb::Str(int(g_InvCount)));

  if (err.failed()) platform::MsgBox(err.last().description, platform::vbExclamation | platform::vbOKOnly);
  return true;
}

bool frmPelmora::CheckEvenNum(qint16 Num) const {
  return Num == 2 * qint64(vb::RoundHalfEven(Num / 2.0));
}

void frmPelmora::SelectLine(qint16 RowNum) {
  platform::FlexGrid& grid = *MSFlexGrid1;
  const int keptCol = grid.Col();
  if (m_SelRow > 0) {
    grid.SetRow(m_SelRow);
    for (int c = 0; c < grid.Cols(); ++c) {
      grid.SetCol(c);
      grid.SetCellBackColor(m_SelRowBackColor);
      grid.SetCellForeColor(QColor(Qt::black));
    }
  }
  grid.SetRow(RowNum);
  grid.SetCol(keptCol);
  m_SelRowBackColor = grid.CellBackColor();
  for (int c = 0; c < grid.Cols(); ++c) {
    grid.SetCol(c);
    grid.SetCellForeColor(vb::OleColor(0xFFFFFF));
    grid.SetCellBackColor(vb::OleColor(0x8000000D));
  }
  grid.SetCol(keptCol);
  m_SelRow = RowNum;
}
