// Update mode's loading: the invitation picked in the guest grid is found,
// copied into the controls and left open for the save to rewrite.
#include "app/mdlWedding.h"
#include "frmInvDetails.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace {
// A Null where the control needs a value fails as VB's assignment does.
QString TextOf(const QVariant& v) {
  if (!v.isValid()) platform::Raise(94, QStringLiteral("Invalid use of Null"));
  return v.toString();
}

QString TextOrEmpty(const QVariant& v) { return v.isValid() ? v.toString() : QString(); }

QVariant FieldValue(const char* name) { return g_RS->Fields(QString::fromLatin1(name)).Value(); }
}  // namespace

QVariantMap frmInvDetails::StoredValues() {
  QVariantMap stored;
  dao::Fields& fields = g_RS->Fields();
  for (int i = 0; i < fields.Count(); ++i) {
    ErrorState unreadable;  // unreadable reads as Null
    unreadable([&] { stored.insert(fields[i].Name(), fields[i].Value()); });
  }
  return stored;
}

void frmInvDetails::ReadStoredInto(Shown& s, ErrorState& err) {
  err([&] { s.family = TextOf(FieldValue("FAMILY_NAME")); });
  err([&] { s.first = TextOf(FieldValue("FIRST_NAME")); });
  err([&] { s.phones = TextOf(FieldValue("PHONES")); });
  err([&] { s.address = TextOrEmpty(FieldValue("ADDRESS")); });
  err([&] { s.invNum = TextOf(FieldValue("INV_NUM")); });
  err([&] {
    const QVariant v = FieldValue("LIST_GROUP");
    if (g_NumOfGroups > 0) {
      const int n = vb::CInt(v);
      if (n < 1 || n > g_NumOfGroups) platform::Raise(9, QStringLiteral("Subscript out of range"));
      s.group = g_UserGroups.value(n - 1);
    } else if (v.isValid()) {
      const double n = vb::CDbl(v);
      if (n == 1) s.group = g_Couple;
      else if (n == 3) s.group = g_HerFamily;
      else if (n == 2) s.group = g_HisFamily;
    }
  });
  err([&] { s.remark = TextOf(FieldValue("REMARK")); });
  err([&] {
    const QVariant v = FieldValue("INV_STATUS");
    s.sent = v.isValid() && v.toBool();
  });
  err([&] {
    const QVariant v = FieldValue("CONFIRM");
    const int code = v.isValid() ? v.toInt() : -1;
    if (code >= 0 && code <= 3) s.confirm = code;  // any other value changes nothing
  });
  err([&] { s.table = TextOrEmpty(FieldValue("TABLE_NO")); });
  err([&] { s.present = TextOrEmpty(FieldValue("PRESENT")); });
  err([&] {
    const QVariant v = FieldValue("PRESENT_TYPE");
    const int kind = v.isValid() ? v.toInt() : 0;
    s.presentType = kind == 1 || kind == 2 ? kind : 0;
  });
  // A money amount is stored in plain form and shown in the user's locale.
  if (s.presentType != 2) s.present = vb::ShownNumber(s.present);
}

void frmInvDetails::HoldGuestTable() {
  g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
  m_HeldDB = g_DB.get();
  g_SQL = QStringLiteral("select * from PELMORA");
  g_RS = g_DB->OpenRecordset(g_SQL);
  m_HeldRS = g_RS.get();
}

void frmInvDetails::UpdateRecord() {
  auto rememberGrid = [] {
    ErrorState ignored;
    ignored([] {
      platform::FlexGrid& grid = *frmPelmora::Default().MSFlexGrid1;
      g_SavedTopRow = static_cast<qint16>(grid.TopRow());
      g_SavedRow = static_cast<qint16>(grid.Row());
    });
  };
  if (g_MultiSel) {
    bool hide = true;
    InitMultiSelection(hide);
    m_Picked.clear();
    ErrorState ignored;
    ignored([&] {
      const platform::FlexGrid& grid = *frmPelmora::Default().MSFlexGrid1;
      for (int row = g_SelFirstRow; row <= g_SelLastRow; ++row)
        m_Picked.append({grid.TextMatrix(row, 0), grid.TextMatrix(row, 1)});
    });
    rememberGrid();
    return;
  }

  ErrorState err;
  err([&] { HoldGuestTable(); });
  bool empty = false;
  if (!err.failed()) err([&] { empty = g_RS->Eof(); });
  if (empty) {
    platform::MsgBox(QStringLiteral("רשימת המוזמנים ריקה."));
    ReleaseHeldRecord();
    return;
  }

  err([&] { SeekInvitation(g_SelFamilyName, g_SelFirstName); });

  // Every field that can be copied is copied; a missing invitation fails each.
  Shown loaded = shown();
  ReadStoredInto(loaded, err);
  showValues(loaded);

  if (err.failed()) {
    platform::MsgBox(QStringLiteral("ארעה שגיאה בנסיון העדכון."));
    return;  // the database stays open; Cancel or closing the window releases it
  }
  m_Loaded = shown();
  {
    ErrorState unreadable;
    unreadable([&] { m_StoredAtOpen = StoredValues(); });
  }
  rememberGrid();
}
