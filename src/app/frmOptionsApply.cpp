// Apply: checks the edited options, stores them, writes pelmora.ini and
// refreshes the main window and the tables map.
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <tuple>

#include "app/frmOptions.h"
#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "editor/frmInvDetails.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;

namespace {
constexpr int kMaxTables = 100;
constexpr int kMaxChairs = 15;

// People seated at table i as the tables map's list shows them; an error
// reading it is recorded and counts as nobody seated.
int peopleAt(platform::ErrorState& err, int table) {
  int people = 0;
  err([&] { people = frmTableMap::Default().PeopleAtTable(table); });
  return people;
}
}  // namespace

void frmOptions::cmdApply_Click() { apply(); }

frmOptions::ApplyResult frmOptions::apply() {
  using platform::MsgBox;
  platform::ErrorState err;

  if (vb::Trim(txtCouple->text()).isEmpty() || vb::Trim(txtHisFamily->text()).isEmpty() ||
      vb::Trim(txtHerFamily->text()).isEmpty()) {
    MsgBox(QStringLiteral("כל השדות חייבים להיות מלאים"));
    return ApplyResult::Refused;
  }

  if (!vb::IsNumeric(txtMaxTable->text()) || !vb::IsNumeric(txtMaxChairs->text())) {
    MsgBox(QStringLiteral("הערך אינו מספר חוקי"));
    return ApplyResult::Refused;
  }
  double tables = 0, chairs = 0;
  err([&] { tables = vb::CDbl(txtMaxTable->text()); });
  err([&] { chairs = vb::CDbl(txtMaxChairs->text()); });

  if (tables > kMaxTables) {
    MsgBox(QStringLiteral("לא ניתן להגדיר יותר מ-") + vb::Str(kMaxTables) + QStringLiteral(" שולחנות"));
    return ApplyResult::Refused;
  }
  if (chairs > kMaxChairs) {
    MsgBox(QStringLiteral("לא ניתן להגדיר יותר מ-") + vb::Str(kMaxChairs) + QStringLiteral(" כסאות לשולחן"));
    return ApplyResult::Refused;
  }
  if (chairs < 1 || tables < 1) {
    MsgBox(QStringLiteral("חובה להזין לפחות שולחן אחד וכיסא אחד"));
    return ApplyResult::Refused;
  }

  // Both values are now within 1..100 and 1..15.
  const auto newTables = static_cast<quint8>(vb::RoundHalfEven(tables));
  const auto newChairs = static_cast<quint8>(vb::RoundHalfEven(chairs));

  bool tooFewChairs = false;
  for (int i = 1; i <= g_MaxTables; ++i)
    if (chairs < peopleAt(err, i)) tooFewChairs = true;
  if (tooFewChairs) {
    MsgBox(QStringLiteral("לא ניתן לבטל כסאות לשולחן שמושבים בהם אורחים"));
    return ApplyResult::Refused;
  }

  bool removesSeated = false;
  for (int i = newTables + 1; i <= g_MaxTables; ++i)
    if (peopleAt(err, i) > 0) removesSeated = true;
  if (removesSeated) {
    MsgBox(QStringLiteral("לא ניתן לבטל שולחנות שמושבים בהם מוזמנים"));
    return ApplyResult::Refused;
  }

  // What is stored now, to go back to when the write fails.
  const auto before = std::make_tuple(g_Couple, g_HisFamily, g_HerFamily, g_NumOfGroups, g_UserGroups, g_MaxTables,
                                      g_MaxChairs, g_WeddingDate);

  g_Couple = vb::Trim(txtCouple->text());
  g_HisFamily = vb::Trim(txtHisFamily->text());
  g_HerFamily = vb::Trim(txtHerFamily->text());

  // The list never holds more than 255 entries (the add button refuses more).
  // Its first three entries are the main groups under the names just stored,
  // whether or not the groups tab was shown.
  const int count = qMin(lstGroups->count(), 255);
  for (int i = 0; i < 3 && i < count; ++i)
    lstGroups->item(i)->setText(i == 0 ? g_Couple : i == 1 ? g_HisFamily : g_HerFamily);
  g_NumOfGroups = static_cast<quint8>(count);
  g_UserGroups = QVector<QString>(count + 1);
  for (int i = 0; i < count; ++i) g_UserGroups[i] = lstGroups->item(i)->text();

  g_MaxTables = newTables;
  g_MaxChairs = newChairs;
  // The picker edits the day; a time of day the date carried stays.
  g_WeddingDate = QDateTime(DTPickWedding->date(), g_WeddingDate.isValid() ? g_WeddingDate.time() : QTime(0, 0));

  // Invitations follow their groups to their new places, in the same step as
  // the settings: both are stored or neither.
  if (!storeOptionsAndGroups()) {
    std::tie(g_Couple, g_HisFamily, g_HerFamily, g_NumOfGroups, g_UserGroups, g_MaxTables, g_MaxChairs,
             g_WeddingDate) = before;
    return ApplyResult::NotStored;
  }
  QMap<int, int> renumbered;  // stored group number -> its number now
  for (int i = 0; i < lstGroups->count(); ++i) {
    const int was = lstGroups->item(i)->data(kGroupNumberRole).toInt();
    if (was > 0) renumbered.insert(was, i + 1);
    lstGroups->item(i)->setData(kGroupNumberRole, i + 1);
  }

  err([] { frmPelmora::Default().InitEvent(); });
  err([&] { if (frmInvDetails* editor = frmInvDetails::Existing()) editor->RefreshGroupList(renumbered); });
  err([] { frmTableMap::Default().InitTableSetting(); });
  err([] { frmTableMap::Default().InitTableView(g_TableViewMode); });

  cmdApply->setEnabled(false);

  if (err.failed()) MsgBox(err.last().description, platform::vbExclamation);
  return ApplyResult::Stored;
}
