// The main window's commands: toolbar dispatch, the answer filters, the group
// combo, showing the tables map, the options and the help file.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>

#include "app/frmAbout.h"
#include "app/frmOptions.h"
#include "app/mdlWedding.h"
#include "editor/frmInvDetails.h"
#include "guestlist/frmPelmora.h"
#include "platform/keyascii.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;

void frmPelmora::Toolbar1_ButtonClick(int index) {
  // Only ShowHideTablesMap changes button 10: undo the click's own toggling.
  Toolbar1->SetPressed(10, mnuShowTablesMap->isChecked());
  Toolbar1->Refresh();
  switch (index) {
    case 1: AddNewInv(); break;
    case 2: UpdateInv(); break;
    case 3: RemoveRecord(); break;
    case 5: DialNum(); break;
    case 6: ShowBudget(); break;
    case 7: ShowPrintLabels(); break;
    case 8: ShowListReport(); break;
    case 9: ShowPrintNotes(); break;
    case 10: ShowHideTablesMap(); break;
    case 12: ShowOptions(); break;
    case 13: ShowAbout(); break;
    case 14: ShowProgramHelp(); break;
    default: break;  // 4 and 11 are separators; the others come with their windows
  }
}

namespace {
void invert(QAction* a) { a->setChecked(!a->isChecked()); }
}  // namespace

void frmPelmora::mnuIgnoreCnfNotOk_Click() {
  invert(mnuIgnoreCnfNotOk);
  invert(popIgnoreCnfNotOk);
  InitList(g_GroupName, g_SortField);
  frmTableMap::Default().InitTableView(g_TableViewMode);
}

void frmPelmora::popIgnoreCnfNotOk_Click() { mnuIgnoreCnfNotOk_Click(); }

void frmPelmora::mnuIgnoreNotCnf_Click() {
  invert(mnuIgnoreNotCnf);
  invert(popIgnoreNotCnf);
  InitList(g_GroupName, g_SortField);
  frmTableMap::Default().InitTableView(g_TableViewMode);
}

void frmPelmora::popIgnoreNotCnf_Click() { mnuIgnoreNotCnf_Click(); }

void frmPelmora::cmbUserGroups_Click() {
  if (cmbUserGroups->currentText() == g_GroupName) return;
  g_GroupName = cmbUserGroups->currentText();
  InitList(g_GroupName, g_SortField);
  frmTableMap::Default().InitTableView(g_TableViewMode);
}

void frmPelmora::cmbUserGroups_KeyPress(int& KeyAscii) { KeyAscii = 0; }

bool frmPelmora::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cmbUserGroups && event->type() == QEvent::KeyPress) {
    // Keys that type nothing (arrows, Home/End, Alt+Down, F4, Tab) work the
    // list as usual; typed characters go to the handler, which discards them.
    int keyAscii = platform::KeyAscii(static_cast<QKeyEvent*>(event));
    if (keyAscii == 0) return false;
    cmbUserGroups_KeyPress(keyAscii);
    return keyAscii == 0;
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmPelmora::ShowHideTablesMap() {
  if (!mnuShowTablesMap->isChecked()) {
    frmTableMap::Default().show();
    mnuShowTablesMap->setChecked(true);
    popShowTablesMap->setChecked(true);
    Toolbar1->SetPressed(10, true);
  } else {
    // While the map's UnloadFlag is False this only hides it, and the map's
    // unload calls back here; a request during that unload does nothing.
    frmTableMap::Unload();
    mnuShowTablesMap->setChecked(false);
    popShowTablesMap->setChecked(false);
    Toolbar1->SetPressed(10, false);
  }
  Toolbar1->Refresh();
}

void frmPelmora::ShowOptions() {
  frmOptions& options = frmOptions::Default();
  platform::ShowModal(&options, this);
}

void frmPelmora::ShowAbout() {
  frmAbout& about = frmAbout::Default();
  platform::ShowModal(&about);
}

void frmPelmora::ShowProgramHelp() {
  platform::ErrorState err;
  err([&] { ShowHelp(QStringLiteral("pelmora.chm"), this, 0); });
  if (err.failed()) platform::MsgBox(err.last().description, platform::vbExclamation);
}

namespace {
// The editor is modeless: when it is already open it comes to the front in the
// mode just chosen.
void showEditor() {
  const bool wasOpen = frmInvDetails::IsLoaded();
  frmInvDetails& editor = frmInvDetails::Default();
  if (wasOpen) editor.Reopen();
  editor.show();
  editor.raise();
  editor.activateWindow();
}
}  // namespace

void frmPelmora::AddNewInv() {
  g_InvMode = 1;
  showEditor();
}

void frmPelmora::UpdateInv() {
  platform::ErrorState err;
  platform::FlexGrid& grid = *MSFlexGrid1;
  int r = 0, s = 0;
  err([&] {
    r = grid.Row();
    s = grid.RowSel();
  });
  if (s > r) {
    g_SelFirstRow = qint16(r);
    g_SelLastRow = qint16(s);
    g_MultiSel = true;
  } else if (s < r) {
    g_SelFirstRow = qint16(s);
    g_SelLastRow = qint16(r);
    g_MultiSel = true;
  } else {
    g_SelFirstRow = g_SelLastRow = qint16(r);
    g_MultiSel = false;
  }
  int answer = 0;
  if (!g_MultiSel) {
    err([&] {
      grid.SetCol(0);
      g_SelFamilyName = grid.Text();
      grid.SetCol(1);
      g_SelFirstName = grid.Text();
    });
    answer = platform::MsgBox("האם לעדכן את ההזמנה ל" + g_SelFamilyName + " " + g_SelFirstName + "?", platform::vbYesNo);
  } else {
    answer = platform::MsgBox(QStringLiteral("האם לעדכן את קבוצת המוזמנים?"), platform::vbYesNo);
  }
  if (answer == platform::vbNo) return;
  g_InvMode = 2;
  showEditor();
}
