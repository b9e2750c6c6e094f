// Saving: the checks, the add, the update of the held invitation, the update
// of the sent flag of several grid rows, and the refresh that follows.
#include <QCheckBox>
#include <QLineEdit>
#include <QStringList>
#include <QTabBar>
#include <limits>

#include "app/mdlWedding.h"
#include "frmInvDetails.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;
using platform::ErrorState;
using platform::MsgBox;

namespace {
const QString kSelectAll = QStringLiteral("select * from PELMORA");
const QString kDuplicate = QStringLiteral("קיימת כבר הזמנה זהה ברשימה.");
const QString kEmptyList = QStringLiteral("רשימת המוזמנים ריקה.");
const QString kUpdateFailed = QStringLiteral("ארעה שגיאה בנסיון העדכון.");
const QString kAddFailed = QStringLiteral("ארעה שגיאה בנסיון הכנסת נתוני ההזמנה החדשים.");
const QString kNotFoundRows = QStringLiteral("ההזמנות הבאות לא נמצאו ולא עודכנו:");

// What the editor's controls say, read once per save.
struct Entry {
  QString family, first, phones, address, remark, present, group, tableText;
  double invNum = 0;
  double table = 0;  // numeric value of the table box
  bool sent = false;
  bool notComing = false;
  int confirm = 0;      // ConfirmCode
  int presentType = 0;  // PresentType
  // A money present read once in the user's locale; nothing when the text is
  // not a number there.
  std::optional<double> amount;
};

constexpr qint32 kMostPresents = std::numeric_limits<decltype(g_GiftSum)>::max();

// Not below 0, and what the list load adds for it (rounded) within the total.
bool PresentFitsTheTotal(double amount) { return amount >= 0 && vb::RoundHalfEven(amount) <= kMostPresents; }

// The first check that refuses the entry, or "" when all pass. `own` is the
// count already seated at the table by the invitation being updated.
QString FirstRefusal(const Entry& e, double own) {
  if (e.family.isEmpty() || e.first.isEmpty()) return QStringLiteral("השדות שם משפחה\\פרטי אינם יכולים להיות ריקים.");
  if (e.family.size() > 20 || e.first.size() > 20)
    return QStringLiteral("השדות שם משפחה\\פרטי מוגבלים לגודל של 20 תווים.");
  if (e.invNum <= 0) return QStringLiteral("השדה מס' מוזמנים חייב להכיל מספר הגדול מאפס.");
  // The count is stored in a byte: refused here rather than by the write.
  if (e.invNum > 255) return QStringLiteral("השדה מס' מוזמנים מוגבל ל-255.");
  if (e.remark.size() > 40) return QStringLiteral("השדה הערות מוגבל לגודל של 40 תווים.");
  if (e.phones.size() > 30) return QStringLiteral("השדה טלפונים מוגבל לגודל של 30 תווים.");
  if (e.address.size() > 50) return QStringLiteral("השדה כתובת מוגבל לגודל של 50 תווים.");
  if (e.present.size() > 20) return QStringLiteral("השדה מתנה מוגבל לגודל של 20 תווים.");
  if (!e.present.isEmpty() && e.presentType != 2 && !e.amount) return QStringLiteral("השדה מתנה חייב להיות מספרי.");
  // A money present must fit the presents total that every list load sums.
  if (!e.present.isEmpty() && e.presentType != 2 && !PresentFitsTheTotal(*e.amount))
    return QStringLiteral("השדה מתנה חייב להכיל סכום בין 0 ל-") + vb::Str(qint64(kMostPresents)) + '.';
  if (e.table > 0) {
    if (e.table > g_MaxTables) return QStringLiteral("מספר השולחן אינו קיים במערכת.");
    if (e.notComing) return QStringLiteral("הושבת אורח שלא מגיע לשולחן אינה אפשרית");
    const int t = static_cast<int>(vb::RoundHalfEven(e.table));
    const int seated = frmTableMap::Default().PeopleAtTable(t);
    if (seated + e.invNum - own > g_MaxChairs) return OverLimitMessage();
  }
  return QString();
}

QVariant PresentValue(const Entry& e) {
  if (e.present.isEmpty()) return QVariant();
  if (e.presentType == 2) return e.present;
  return vb::Str(*e.amount);
}

// Writes the fields of the current record (between AddNew/Edit and Update) in
// the order of the add or of the update; an update all but those in `kept`.
// Stops at the first failing field.
void WriteFields(const Entry& e, bool add, ErrorState& err, const QStringList& kept = {}) {
  const QVariant null;
  QVariant table;
  if (!e.tableText.isEmpty() && !(!add && e.tableText == QLatin1String("0"))) table = e.table;
  const int group = GroupNumber(e.group);
  struct F {
    const char* name;
    QVariant value;
  };
  QVector<F> fields;
  if (add) {
    fields = {{"FAMILY_NAME", e.family}, {"FIRST_NAME", e.first},    {"REMARK", e.remark},
              {"PHONES", e.phones},      {"ADDRESS", e.address},     {"INV_NUM", e.invNum},
              {"LIST_GROUP", vb::Str(group)}, {"INV_STATUS", e.sent}, {"TABLE_NO", table}};
  } else {
    fields = {{"FAMILY_NAME", e.family}, {"FIRST_NAME", e.first},         {"PHONES", e.phones},
              {"ADDRESS", e.address},    {"INV_NUM", e.invNum},           {"LIST_GROUP", vb::Str(group)},
              {"REMARK", e.remark},      {"INV_STATUS", e.sent},          {"TABLE_NO", table}};
  }
  fields.append({"CONFIRM", e.confirm});
  if (e.notComing) fields.append({"TABLE_NO", null});
  fields.append({"PRESENT_TYPE", e.presentType});
  fields.append({"PRESENT", PresentValue(e)});
  for (const F& f : fields) {
    if (err.failed()) return;
    const QString name = QString::fromLatin1(f.name);
    if (add || !kept.contains(name)) err([&] { g_RS->Fields(name).SetValue(f.value); });
  }
}

// Ends an AddNew/Edit: writes when every field was taken, else drops the
// pending record so nothing of it is stored.
void FinishWrite(ErrorState& err) {
  if (!err.failed()) {
    err([&] { g_RS->Update(); });
    if (!err.failed()) return;
  }
  ErrorState ignored;
  ignored([&] { g_RS->CancelUpdate(); });
}

void OpenGuestTable(ErrorState& err) {
  err([&] { g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile()); });
  if (err.failed()) return;
  g_SQL = kSelectAll;
  err([&] { g_RS = g_DB->OpenRecordset(g_SQL); });
}

void CloseDatabase() {
  ErrorState ignored;
  ignored([&] { g_DB->Close(); });
}

// Lets the views show the saved data; their own failures are theirs to report.
void RefreshViews() {
  ErrorState ignored;
  ignored([&] { frmPelmora::Default().InitList(g_GroupName, g_SortField); });
  ignored([&] { frmTableMap::Default().InitTableView(g_TableViewMode); });
}

template <class Shown>
Entry EntryOf(const Shown& s) {
  Entry e;
  e.family = vb::Trim(s.family);
  e.first = vb::Trim(s.first);
  e.phones = vb::Trim(s.phones);
  e.address = vb::Trim(s.address);
  e.remark = vb::Trim(s.remark);
  e.present = vb::Trim(s.present);
  e.group = vb::Trim(s.group);
  e.tableText = vb::Trim(s.table);
  e.invNum = vb::Val(s.invNum);
  e.table = vb::Val(s.table);
  e.sent = s.sent;
  e.confirm = s.confirm;
  e.notComing = s.confirm == 2;
  e.presentType = s.presentType;
  if (e.presentType != 2 && !e.present.isEmpty()) e.amount = vb::TypedNumber(e.present);
  return e;
}

// Text whose stored bytes could not be read as UTF-8 (another program wrote it
// in Windows-1255, or cut a letter): the editor shows it only approximately.
bool ShownApproximately(const QVariant& stored) {
  return stored.typeId() == QMetaType::QString && stored.toString().contains(QChar::ReplacementCharacter);
}

// An update's entry: what the editor shows, except a field the user left alone
// that another program changed since the editor read it (its stored value then
// and now differ), or whose text the editor could show only approximately:
// that one keeps what is stored and is named in `kept`, not to be written.
template <class Shown>
Entry MergedEntry(const Shown& typed, const Shown& loaded, const Shown& now, const QVariantMap& storedThen,
                  const QVariantMap& storedNow, QStringList& kept) {
  Shown merged = typed;
  auto keep = [&](auto Shown::*value, const char* field) {
    const QString name = QString::fromLatin1(field);
    if (typed.*value != loaded.*value) return false;
    if (storedThen.value(name) == storedNow.value(name) && !ShownApproximately(storedNow.value(name))) return false;
    merged.*value = now.*value;
    return true;
  };
  auto keepField = [&](auto Shown::*value, const char* field) {
    if (keep(value, field)) kept << QString::fromLatin1(field);
  };
  keepField(&Shown::family, "FAMILY_NAME");
  keepField(&Shown::first, "FIRST_NAME");
  keepField(&Shown::phones, "PHONES");
  keepField(&Shown::address, "ADDRESS");
  keepField(&Shown::invNum, "INV_NUM");
  keepField(&Shown::group, "LIST_GROUP");
  keepField(&Shown::remark, "REMARK");
  keepField(&Shown::sent, "INV_STATUS");
  keepField(&Shown::confirm, "CONFIRM");
  keepField(&Shown::presentType, "PRESENT_TYPE");
  // An answer of not coming clears the table; the amount's form follows the kind.
  if (keep(&Shown::table, "TABLE_NO") && typed.confirm == loaded.confirm) kept << QStringLiteral("TABLE_NO");
  if (keep(&Shown::present, "PRESENT") && typed.presentType == loaded.presentType) kept << QStringLiteral("PRESENT");
  return EntryOf(merged);
}
}  // namespace

bool frmInvDetails::SeekInvitation(const QString& family, const QString& first, long skipPosition) {
  while (!g_RS->Eof()) {
    if (g_RS->Fields("FAMILY_NAME").Value().toString() == family &&
        g_RS->Fields("FIRST_NAME").Value().toString() == first && g_RS->AbsolutePosition() != skipPosition)
      return true;
    g_RS->MoveNext();
  }
  return false;
}

bool frmInvDetails::SaveInv() {
  if (g_InvMode == 1) return AddRecord();
  if (g_InvMode == 2) return g_MultiSel ? UpdateMulti() : UpdateSingle();
  return false;
}

bool frmInvDetails::AddRecord() {
  const Entry e = EntryOf(shown());
  ErrorState err;
  QString refusal;
  err([&] { refusal = FirstRefusal(e, 0); });
  if (!err.failed() && !refusal.isEmpty()) {
    MsgBox(refusal);
    return false;
  }

  if (!err.failed()) OpenGuestTable(err);
  bool duplicate = false;
  if (!err.failed()) err([&] { duplicate = SeekInvitation(e.family, e.first); });
  if (duplicate) {
    MsgBox(kDuplicate);
    CloseDatabase();
    return false;
  }
  if (!err.failed()) {
    err([&] { g_RS->AddNew(); });
    WriteFields(e, true, err);
    FinishWrite(err);
  }
  CloseDatabase();

  if (err.failed()) {
    MsgBox(kAddFailed + g_NewLine + err.last().description, platform::vbOKOnly,
           QStringLiteral("Err# ") + vb::Str(static_cast<qint64>(err.last().number)));
    return false;
  }
  ClearInv();
  RefreshViews();
  TabStrip1->setCurrentIndex(0);  // the box that takes the focus is on the first tab
  txtFamilyName->setFocus();
  return true;
}

bool frmInvDetails::UpdateSingle() {
  ErrorState err;
  // Without the held record (the picked invitation was not found) there is
  // nothing to rewrite: refused before any check. Otherwise the checks and
  // the write go by the invitation as it is now, which other windows may
  // have changed since it was loaded.
  QVariant storedTable, storedNum;
  if (!m_HeldRS || !m_Loaded) err.record(platform::VbError{3021, QStringLiteral("No current record.")});
  else err([&] {
    RereadHeldRecord();
    storedTable = g_RS->Fields("TABLE_NO").Value();
    storedNum = g_RS->Fields("INV_NUM").Value();
  });
  if (err.failed()) {
    MsgBox(kUpdateFailed + g_NewLine + err.last().description);
    return false;
  }
  Shown now = *m_Loaded;  // a stored value that cannot be shown is left as loaded
  ErrorState unreadable;
  ReadStoredInto(now, unreadable);
  QStringList kept;
  const Entry e = MergedEntry(shown(), *m_Loaded, now, m_StoredAtOpen, StoredValues(), kept);

  double own = 0;
  if (storedTable.isValid() && e.table > 0 && vb::CDbl(storedTable) == vb::RoundHalfEven(e.table))
    own = storedNum.isValid() ? vb::CDbl(storedNum) : 0;
  QString refusal;
  err([&] { refusal = FirstRefusal(e, own); });
  if (!err.failed() && !refusal.isEmpty()) {
    MsgBox(refusal);
    return false;
  }

  bool duplicate = false;
  if (!err.failed()) {
    err([&] { g_SavedPosition = static_cast<qint16>(g_RS->AbsolutePosition()); });
    if (!err.failed()) err([&] {
      g_RS->MoveFirst();
      duplicate = SeekInvitation(e.family, e.first, g_SavedPosition);
    });
    ErrorState back;
    back([&] { g_RS->SetAbsolutePosition(g_SavedPosition); });
    if (back.failed()) err.record(back.last());
  }
  if (duplicate) {
    MsgBox(kDuplicate);
    return false;
  }
  if (!err.failed()) {
    err([&] { g_RS->Edit(); });
    WriteFields(e, false, err, kept);
    FinishWrite(err);
  }
  return EndUpdate(err.failed() ? err.last().description : QString(), err.failed(), QString());
}

bool frmInvDetails::UpdateMulti() {
  ErrorState err;
  OpenGuestTable(err);
  bool empty = false;
  if (!err.failed()) err([&] { empty = g_RS->Eof(); });
  if (empty) {
    MsgBox(kEmptyList);
    CloseDatabase();
    return false;
  }

  const bool sent = chkInvSent->isChecked();
  QStringList missing;
  // The invitations picked when the editor opened, not what their grid rows
  // hold now.
  for (const Picked& picked : m_Picked) {
    if (err.failed()) break;
    g_SelFamilyName = picked.family;
    g_SelFirstName = picked.first;
    bool found = false;
    err([&] {
      g_RS->MoveFirst();
      found = SeekInvitation(g_SelFamilyName, g_SelFirstName);
    });
    // An invitation deleted since the editor opened is skipped and named
    // afterwards.
    if (found) {
      err([&] { g_RS->Edit(); });
      if (!err.failed()) err([&] { g_RS->Fields("INV_STATUS").SetValue(sent); });
      FinishWrite(err);
    } else if (!err.failed()) {
      missing << g_SelFamilyName + QLatin1Char(' ') + g_SelFirstName;
    }
    if (!err.failed()) ++g_SelFirstRow;
  }
  const QString notFound = missing.isEmpty() ? QString() : kNotFoundRows + g_NewLine + missing.join(g_NewLine);
  return EndUpdate(err.failed() ? err.last().description : QString(), err.failed(), notFound);
}

// The end of every update: on success the database is closed, the editor
// cleared, both views refreshed and the grid put back where it was.
bool frmInvDetails::EndUpdate(const QString& errorText, bool failed, const QString& notFound) {
  if (failed) {
    MsgBox(kUpdateFailed + g_NewLine + errorText);
    return false;  // the database stays open; Cancel closes it
  }
  CloseDatabase();
  m_HeldRS.reset();
  m_HeldDB.reset();
  ClearInv();
  RefreshViews();
  ErrorState ignored;
  ignored([&] {
    platform::FlexGrid& grid = *frmPelmora::Default().MSFlexGrid1;
    grid.setFocus();
    grid.SetTopRow(g_SavedTopRow);
    grid.SetRow(g_SavedRow);
  });
  // The record is released: a further save from this window adds.
  SwitchToAddMode();
  if (!notFound.isEmpty()) MsgBox(notFound);
  return true;
}

void frmInvDetails::RereadHeldRecord() {
  // The file is opened anew: an import may have put another Wed.mdb in place
  // of the one the editor opened, and a write there would be lost.
  {
    ErrorState ignored;
    if (m_HeldDB) ignored([&] { m_HeldDB->Close(); });
  }
  HoldGuestTable();
  if (!SeekInvitation(m_Loaded->family, m_Loaded->first))
    platform::Raise(3167, QStringLiteral("Record is deleted."));
}

void frmInvDetails::SwitchToAddMode() {
  m_Loaded.reset();
  g_InvMode = m_Mode = 1;
  setWindowTitle(QStringLiteral("הוספת פרטי הזמנה חדשה למערכת"));
}
