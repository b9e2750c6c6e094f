#include "frmTableMap.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/toolbar.h"
#include "platform/vb.h"
#include "resources/tableicons.h"
#include "seating/frmTable.h"

using namespace mdlWedding;
using platform::MsgBox;

namespace {

const QString kTableItemPrefix = QStringLiteral("שולחן של ");
const QString kSaveQuestion = QStringLiteral("?האם ברצונך לשמור מיקומי מפת השולחנות ביציאה");
const QString kSaveTitle = QStringLiteral("אזהרת שמירה");
const QString kEmptyTable = QStringLiteral(".שולחן ריק מאנשים");

// Toolbar buttons by index.
enum : int {
  btnSave = 1, btnLoad = 2, btnClear = 3, btnTable = 5, btnMap = 7, btnList = 8, btnPrint = 10
};

}  // namespace

QString OverLimitMessage() {
  return QStringLiteral("לא ניתן להושיב יותר מ- ") + QString::number(g_MaxChairs) + QStringLiteral(" איש בשולחן");
}

int TablePeopleFromText(const QString& text) {
  const int blank = text.lastIndexOf(QLatin1Char(' '));
  const QString tail = blank < 0 ? text : text.mid(blank + 1);
  return static_cast<int>(vb::Val(tail));
}

frmTableMap::frmTableMap() {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(QStringLiteral("מפת השולחנות של כול האורחים"));
  setLayoutDirection(Qt::RightToLeft);
  resize(640, 480);

  for (int i = 1; i <= 100; ++i) {
    imlIcons.Add(QStringLiteral("TableNo%1").arg(i), resources::TablePicture(i, resources::kLargeTablePicture));
    imlSmallIcons.Add(QStringLiteral("smlTableNo%1").arg(i),
                      resources::TablePicture(i, resources::kSmallTablePicture));
  }
  for (const QString& key : resources::MapToolbarKeys()) imlToolbarIcons.Add(key, resources::MapToolbarPicture(key));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  buildToolbar();
  layout->addWidget(Toolbar1);
  lvwTable = new platform::ListView(this);
  lvwTable->SetIcons(&imlIcons);
  lvwTable->SetSmallIcons(&imlSmallIcons);
  lvwTable->SetIconSize(QSize(resources::kLargeTablePicture, resources::kLargeTablePicture));
  layout->addWidget(lvwTable, 1);
  buildPopupMenu();
  // Lays the controls out now: the rebuild sizes the columns from the list's width.
  layout->activate();

  connect(lvwTable, &platform::ListView::Click, this, [this] { platform::RunHandler([this] { lvwTable_Click(); }); });
  // A key or a right click that moves the selection does what a click does,
  // so the chosen table and its commands always follow the selected item.
  connect(lvwTable, &platform::ListView::SelectionChanged, this,
          [this] { platform::RunHandler([this] { lvwTable_Click(); }); });
  connect(lvwTable, &platform::ListView::DblClick, this,
          [this] { platform::RunHandler([this] { lvwTable_DblClick(); }); });
  connect(lvwTable, &platform::ListView::MouseDown, this, [this](int b, int s, double x, double y) {
    platform::RunHandler([&] { lvwTable_MouseDown(b, s, x, y); });
  });
  connect(lvwTable, &platform::ListView::GotFocus, this,
          [this] { platform::RunHandler([this] { lvwTable_ClearSelection(); }); });
  connect(Toolbar1, &platform::Toolbar::ButtonClick, this,
          [this](int i) { platform::RunHandler([&] { Toolbar1_ButtonClick(i); }); });
}

frmTableMap::~frmTableMap() = default;

void frmTableMap::buildToolbar() {
  using platform::Toolbar;
  Toolbar1 = new Toolbar(this);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Toolbar1->setIconSize(QSize(resources::kMapToolbarPicture, resources::kMapToolbarPicture));
  auto icon = [this](const char* key) { return QIcon(imlToolbarIcons.Picture(QString::fromLatin1(key))); };
  Toolbar1->AddButton(QStringLiteral("שמור"), icon("Save"));
  Toolbar1->AddButton(QStringLiteral("טען"), icon("Load"));
  Toolbar1->AddButton(QStringLiteral("אפס"), icon("Clear"));
  Toolbar1->AddButton(QString(), QIcon(), Toolbar::tbrSeparator);
  Toolbar1->AddButton(QStringLiteral("שולחן"), icon("View Table"));
  Toolbar1->AddButton(QString(), QIcon(), Toolbar::tbrSeparator);
  Toolbar1->AddButton(QStringLiteral("מפה"), icon("View Map"), Toolbar::tbrCheck);
  Toolbar1->AddButton(QStringLiteral("רשימה"), icon("View List"), Toolbar::tbrCheck);
  Toolbar1->AddButton(QString(), QIcon(), Toolbar::tbrSeparator);
  Toolbar1->AddButton(QStringLiteral("הדפס"), icon("Print"));
}

void frmTableMap::buildPopupMenu() {
  mnuPopTable = new QMenu(QStringLiteral("PopUpTable"), this);
  auto item = [this](const QString& caption, void (frmTableMap::*handler)()) {
    QAction* a = mnuPopTable->addAction(caption);
    connect(a, &QAction::triggered, this, [this, handler] { platform::RunHandler([&] { (this->*handler)(); }); });
    return a;
  };
  popTableSitView = item(QStringLiteral("...סידור הושבה בשולחן"), &frmTableMap::popTableSitView_Click);
  pop1 = mnuPopTable->addSeparator();
  popUpdateTableNum = item(QStringLiteral("...שינוי מספר שולחן"), &frmTableMap::popUpdateTableNum_Click);
  popSaveMap = item(QStringLiteral("שמור מפת שולחנות"), &frmTableMap::popSaveMap_Click);
  popSetDefaultMap = item(QStringLiteral("אפס סידור שולחנות"), &frmTableMap::popSetDefaultMap_Click);
  popPrintMap = item(QStringLiteral("...הדפס מפת שולחנות"), &frmTableMap::popPrintMap_Click);
  pop2 = mnuPopTable->addSeparator();
  popTableMap = item(QStringLiteral("מפת שולחנות"), &frmTableMap::popTableMap_Click);
  popDetailed = item(QStringLiteral("רשימה מפורטת"), &frmTableMap::popDetailed_Click);
  popTableMap->setCheckable(true);
  popDetailed->setCheckable(true);
}

template <class Body>
void frmTableMap::InRecountChain(Body body) {
  if (m_RecountDepth++ == 0) m_OverLimitPending = false;
  try {
    body();
  } catch (...) {
    if (--m_RecountDepth == 0) m_OverLimitPending = false;
    throw;
  }
  if (--m_RecountDepth == 0 && m_OverLimitPending) {
    m_OverLimitPending = false;
    ShowOverLimitOnce();
  }
}

void frmTableMap::ShowOverLimitOnce() {
  if (m_OverLimitShown) return;
  m_OverLimitShown = true;
  MsgBox(OverLimitMessage());
  // Posted after the box closed, so that its own event loop does not end the
  // user action; the next turn of the event loop starts a new one.
  QTimer::singleShot(0, this, [this] { m_OverLimitShown = false; });
}

void frmTableMap::Form_Load() {
  UnloadFlag = false;
  InRecountChain([this] {
    InitTableSetting();
    InitTableView(g_TableViewMode);
  });
  Toolbar1->SetToolTip(btnSave, QStringLiteral("שמור מפת שולחנות"));
  Toolbar1->SetToolTip(btnLoad, QStringLiteral("טען רקע של מפת גן ארועים"));
  Toolbar1->SetToolTip(btnClear, QStringLiteral("אפס מפת שולחנות לבררת מחדל"));
  Toolbar1->SetToolTip(btnTable, QStringLiteral("הצג סידורי הושבה בשולחן"));
  Toolbar1->SetToolTip(btnMap, QStringLiteral("הצג מפה של שולחנות"));
  Toolbar1->SetToolTip(btnList, QStringLiteral("הצג פירוט של שולחנות"));
  Toolbar1->SetToolTip(btnPrint, QStringLiteral("הדפס מפת שולחנות"));
}

void frmTableMap::closeEvent(QCloseEvent* event) { handleCloseEvent(event); }

void frmTableMap::AskToSavePositions() {
  g_MsgResult = MsgBox(kSaveQuestion, platform::vbOKCancel, kSaveTitle);
  if (g_MsgResult == platform::vbOK) SaveTablesMap();
}

void frmTableMap::Form_Unload(int& Cancel) {
  const bool changed = IsTablesMapChanged();
  if (g_TableViewMode == 1 && changed) AskToSavePositions();
  if (!UnloadFlag) {
    Cancel = 1;
    hide();
    // The main window clears its show-map marks. Its request to close this
    // window again arrives while this unload runs and is ignored by the forms
    // layer. A main window that is gone is not brought back for this.
    if (frmPelmora::IsLoaded()) frmPelmora::Default().ShowHideTablesMap();
  }
}

// Rebuild: one item per table, in the list's own arrangement, then the map.
void frmTableMap::InitTableSetting() {
  InRecountChain([this] {
    lvwTable->SetView(platform::ListView::lvwIcon);
    lvwTable->ClearItems();
    lvwTable->ClearColumnHeaders();
    const double quarter = lvwTable->WidthTwips() / 4;
    lvwTable->AddColumnHeader(QStringLiteral("מספר השולחן"), quarter);
    lvwTable->AddColumnHeader(QStringLiteral("רשימת האנשים"), lvwTable->WidthTwips() - quarter);
    lvwTable->SetRedraw(false);
    for (int i = 1; i <= g_MaxTables; ++i)
      g_ListItem = lvwTable->AddItem(QString::number(i), QStringLiteral("TableNo%1").arg(i),
                                     QStringLiteral("smlTableNo%1").arg(i));
    lvwTable->SetRedraw(true);
    UpdateSelection(true);
    ChangeTableViewMode(1);
  });
}

// Recount: the people and names at every table, from every seated invitation
// whatever the guest list shows. Database errors go to the caller; the items
// then keep their previous texts.
void frmTableMap::InitTableView(quint8 ViewMode) {
  InRecountChain([&] {
    const int tables = g_MaxTables;
    g_Tables = QVector<TableInfo>(tables + 1);
    QVector<int> totals(tables + 1, 0);

    g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    g_SQL = QStringLiteral("select * from PELMORA where TABLE_NO > 0");
    g_RS = g_DB->OpenRecordset(g_SQL);
    while (!g_RS->Eof()) {
      const int t = g_RS->Fields(QStringLiteral("TABLE_NO")).Value().toInt();
      // A table beyond the current number of tables (data from elsewhere) has no item.
      if (t >= 1 && t <= tables) {
        // An invitation without a number of guests seats nobody.
        totals[t] += g_RS->Fields(QStringLiteral("INV_NUM")).Value().toInt();
        g_Tables[t].Names += g_RS->Fields(QStringLiteral("FAMILY_NAME")).Value().toString() + QLatin1Char(' ') +
                             g_RS->Fields(QStringLiteral("FIRST_NAME")).Value().toString() + QStringLiteral(" , ");
      }
      g_RS->MoveNext();
    }
    g_RS->Close();
    g_DB->Close();

    bool overLimit = false;
    lvwTable->SetRedraw(false);
    const int items = std::min(tables, lvwTable->ItemCount());
    for (int t = 1; t <= items; ++t) {
      // The count is a byte: a total beyond 255 stays at 255 rather than wrap.
      g_Tables[t].Count = static_cast<quint8>(std::min(totals[t], 255));
      lvwTable->SetItemText(t, kTableItemPrefix + QString::number(g_Tables[t].Count));
      if (ViewMode == 2) lvwTable->SetSubItem(t, 1, g_Tables[t].Names);
      if (g_Tables[t].Count > g_MaxChairs) overLimit = true;
    }
    lvwTable->SetRedraw(true);
    lvwTable->Refresh();
    UpdateSelection(false);
    LoadTablesMap();
    if (overLimit) m_OverLimitPending = true;
  });
}

void frmTableMap::ChangeTableViewMode(quint8 ViewMode) {
  InRecountChain([&] {
    const quint8 was = g_TableViewMode;
    g_TableViewMode = ViewMode;
    if (ViewMode == 1) {
      popTableMap->setChecked(true);
      popDetailed->setChecked(false);
      Toolbar1->SetPressed(btnMap, true);
      Toolbar1->SetPressed(btnList, false);
      if (FileExists(m_GardenMapPath)) lvwTable->SetPicture(QPixmap(m_GardenMapPath));
      lvwTable->SetView(platform::ListView::lvwIcon);
    } else if (ViewMode == 2) {
      if (was == 1 && IsTablesMapChanged()) AskToSavePositions();
      popDetailed->setChecked(true);
      popTableMap->setChecked(false);
      Toolbar1->SetPressed(btnMap, false);
      Toolbar1->SetPressed(btnList, true);
      lvwTable->RemovePicture();
      lvwTable->SetView(platform::ListView::lvwReport);
    }
    Toolbar1->Refresh();
    InitTableView(g_TableViewMode);
  });
}

int frmTableMap::PeopleAtTable(int table) const { return TablePeopleFromText(lvwTable->ItemText(table)); }

// The seat commands are offered only for a table with people.
void frmTableMap::UpdateSelection(bool repaintToolbar) {
  const int sel = lvwTable->SelectedItem();
  g_SelTable = static_cast<quint8>(sel);
  const int n = sel ? TablePeopleFromText(lvwTable->ItemText(sel)) : 0;
  popUpdateTableNum->setEnabled(n > 0);
  popTableSitView->setEnabled(n > 0);
  Toolbar1->SetEnabled(btnTable, n > 0);
  if (repaintToolbar) Toolbar1->Refresh();
}

void frmTableMap::ViewTable() {
  if (g_SelTable == 0 || g_SelTable > lvwTable->ItemCount()) return;
  // The number and the count of one and the same table.
  const int people = PeopleAtTable(g_SelTable);
  g_SelTablePeople = static_cast<quint8>(std::min(people, 255));
  if (people > g_MaxChairs) {
    MsgBox(OverLimitMessage());
  } else if (people == 0) {
    MsgBox(kEmptyTable);
  } else {
    // One seat view at a time, always built afresh for the table chosen last.
    frmTable::Unload();
    frmTable::Default().show();
  }
}

void frmTableMap::lvwTable_Click() { UpdateSelection(true); }

void frmTableMap::lvwTable_DblClick() { ViewTable(); }

void frmTableMap::lvwTable_MouseDown(int Button, int Shift, double X, double Y) {
  (void)Shift;
  if (Button != 2) return;
  const QPoint at(vb::TwipsToPixelsX(X), vb::TwipsToPixelsY(Y));
  mnuPopTable->popup(lvwTable->mapToGlobal(at));
}

void frmTableMap::lvwTable_ClearSelection() { g_SelTable = 0; }

void frmTableMap::Toolbar1_ButtonClick(int index) {
  if (g_TableViewMode == 1 || g_TableViewMode == 2) {
    Toolbar1->SetPressed(btnMap, g_TableViewMode == 1);
    Toolbar1->SetPressed(btnList, g_TableViewMode == 2);
  }
  Toolbar1->Refresh();
  switch (index) {
    case btnSave: SaveTablesMap(); break;
    case btnLoad: LoadGardenMap(); break;
    case btnClear: SetDefTableMap(); break;
    case btnTable: ViewTable(); break;
    case btnMap: ChangeTableViewMode(1); break;
    case btnList: ChangeTableViewMode(2); break;
    case btnPrint: PrintTablesMap(); break;
    default: break;
  }
}

void frmTableMap::popTableSitView_Click() { lvwTable_DblClick(); }
void frmTableMap::popUpdateTableNum_Click() { UpdateTableNum(); }
void frmTableMap::popSaveMap_Click() { SaveTablesMap(); }
void frmTableMap::popSetDefaultMap_Click() { SetDefTableMap(); }
void frmTableMap::popPrintMap_Click() { PrintTablesMap(); }
void frmTableMap::popTableMap_Click() { ChangeTableViewMode(1); }
void frmTableMap::popDetailed_Click() { ChangeTableViewMode(2); }
