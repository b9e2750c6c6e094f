// The group editor of the options window. Entries 0 to 2 of the list are the
// three main groups (the couple and the two families); the user's groups follow
// in the order they were added. An invitation's group is its position in this
// list, so the main groups can be neither removed nor edited here.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/frmOptions.h"
#include "platform/msgbox.h"
#include "platform/vb.h"

namespace {
constexpr int kMainGroups = 3;
constexpr int kMaxGroups = 255;  // the count is stored in a byte
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
