// The group editor of the options window. Entries 0 to 2 of the list are the
// three main groups (the couple and the two families); the user's groups follow
// in the order they were added. An invitation's group is its position in this
// list, so the main groups can be neither removed nor edited here.
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>

#include "app/frmOptions.h"
#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "platform/dao.h"
#include "platform/filereplace.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "platform/wholefile.h"

using namespace mdlWedding;

namespace {
constexpr int kMainGroups = 3;
constexpr int kMaxGroups = 255;  // the count is stored in a byte
const QString kListGroup = QStringLiteral("LIST_GROUP");

// The group number an entry had when it was last stored; 0 for a new entry.
int storedNumber(const QListWidgetItem* item) { return item->data(frmOptions::kGroupNumberRole).toInt(); }

// Invitations whose stored group is `group`.
int invitationsIn(int group) {
  auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
  auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA where LIST_GROUP = '") + vb::Str(group) +
                              QStringLiteral("'"));
  int count = 0;
  for (; !rs->Eof(); rs->MoveNext()) ++count;
  rs->Close();
  db->Close();
  return count;
}

// The options written to pelmora.ini in one replacement; a failure is told.
bool storeOptions() {
  mdlFileINI::SettingsCommand command;
  const bool written = mdlFileINI::SaveOptions();
  return command.Commit() && written;
}

}  // namespace

void frmOptions::lstGroups_Click() { cmdDelGroup->setEnabled(lstGroups->currentRow() >= kMainGroups); }

void frmOptions::lstGroups_DblClick() {
  const int row = lstGroups->currentRow();
  if (row < kMainGroups) {
    CancelUpdate();
    platform::MsgBox(QStringLiteral("לא ניתן להסיר\\לעדכן שלושת הקבוצות הראשיות"));
    return;
  }
  m_GroupMode = UpdateMode;
  cmdCancelUpdate->show();
  cmdDelGroup->hide();
  cmdAddUpdateGroup->setText(QStringLiteral("עדכן קבוצה"));
  txtNewGroup->setText(lstGroups->item(row)->text());
}

bool frmOptions::groupExists(const QString& name, int exceptRow) const {
  for (int i = 0; i < lstGroups->count(); ++i)
    if (i != exceptRow && lstGroups->item(i)->text() == name) return true;
  return false;
}

void frmOptions::cmdAddUpdateGroup_Click() {
  const QString name = vb::Trim(txtNewGroup->text());
  if (name.isEmpty()) {
    platform::MsgBox(QStringLiteral("לא ניתן להגדיר קבוצה ריקה"));
    return;
  }
  if (m_GroupMode == UpdateMode) {
    const int row = lstGroups->currentRow();
    if (groupExists(name, row)) {
      platform::MsgBox(QStringLiteral("קבוצה דומה כבר קיימת במאגר"));
      return;
    }
    if (row >= 0) lstGroups->item(row)->setText(name);
    m_GroupMode = AddMode;
    CancelUpdate();
    return;
  }
  if (groupExists(name, -1)) {
    platform::MsgBox(QStringLiteral("קבוצה דומה כבר קיימת במאגר"));
    return;
  }
  if (lstGroups->count() >= kMaxGroups) {
    platform::MsgBox(QStringLiteral("לא ניתן להגדיר יותר מ-") + vb::Str(kMaxGroups) + QStringLiteral(" קבוצות"));
    return;
  }
  lstGroups->addItem(name);
  txtNewGroup->clear();
  setDirty();
}

void frmOptions::cmdCancelUpdate_Click() { CancelUpdate(); }

void frmOptions::CancelUpdate() {
  m_GroupMode = AddMode;
  txtNewGroup->clear();
  cmdAddUpdateGroup->setText(QStringLiteral("הוסף קבוצה"));
  setDirty();
  cmdCancelUpdate->hide();
  cmdDelGroup->show();
}

void frmOptions::cmdDelGroup_Click() {
  const int row = lstGroups->currentRow();
  // A group that holds invitations stays: they would be left without one.
  if (row >= kMainGroups) {
    const int group = storedNumber(lstGroups->item(row));
    int holding = 0;
    platform::ErrorState err;
    if (group > 0) err([&] { holding = invitationsIn(group); });
    if (err.failed()) {
      platform::MsgBox(err.last().description, platform::vbExclamation);
      return;
    }
    if (holding > 0) {
      platform::MsgBox(QStringLiteral("לא ניתן להסיר את הקבוצה, יש בה ") + vb::Str(holding) + QStringLiteral(" הזמנות"));
      return;
    }
  }
  // Never a main group, even if the button is pressed by program.
  if (row >= kMainGroups) delete lstGroups->takeItem(row);
  txtNewGroup->clear();
  // As after removing a list box's selected entry: nothing is selected, so
  // there is nothing to delete until the next choice.
  lstGroups->setCurrentRow(-1);
  lstGroups->clearSelection();
  cmdDelGroup->setEnabled(false);
  setDirty();
}

// The options and the group list written to pelmora.ini and, when removed
// groups moved others up, the invitations of the moved groups renumbered in
// one transaction: both are stored, or neither and the user is told.
bool frmOptions::storeOptionsAndGroups() {
  QMap<int, int> moved;  // stored group number -> its new number
  for (int i = 0; i < lstGroups->count(); ++i) {
    const int was = storedNumber(lstGroups->item(i));
    if (was > 0 && was != i + 1) moved.insert(was, i + 1);
  }
  if (moved.isEmpty()) return storeOptions();

  std::shared_ptr<dao::Database> db;
  platform::ErrorState err;
  err([&] {
    db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    db->BeginTrans();
    auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA"));
    for (; !rs->Eof(); rs->MoveNext()) {
      const int group = vb::Val(rs->Fields(kListGroup).Value().toString());
      if (!moved.contains(group)) continue;
      rs->Edit();
      rs->Fields(kListGroup).SetValue(vb::Str(moved.value(group)));
      rs->Update();
    }
    rs->Close();
  });
  auto dropDatabase = [&] {
    platform::ErrorState ignored;
    ignored([&] {
      if (db) db->Close();  // closing drops the open transaction
    });
  };
  if (err.failed()) {
    dropDatabase();
    platform::MsgBox(err.last().description, platform::vbExclamation);
    return false;
  }

  const QString ini = IniFile();
  platform::WholeFile oldSettings;
  platform::ReadWholeFile(ini, &oldSettings);
  if (!storeOptions()) {
    dropDatabase();
    return false;
  }
  err([&] {
    db->CommitTrans();
    db->Close();
  });
  if (!err.failed()) return true;
  // The invitations kept their numbers: so must the file.
  dropDatabase();
  QString reason;
  bool restored = true;
  if (oldSettings.exists) {
    restored = platform::ReplaceFile(ini, oldSettings.bytes, &reason);
  } else {
    QFile written(ini);
    restored = written.remove();
    reason = written.errorString();
  }
  platform::MsgBox(err.last().description, platform::vbExclamation);
  if (!restored) mdlFileINI::ReportSettingsNotRestored(ini, reason);
  return false;
}
