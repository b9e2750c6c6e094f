#pragma once
// The tables map: one list item per table with the people seated at it, as a
// map over the garden picture or as a detailed list. Loaded at start-up, hidden
// until shown; closing it only hides it until the program ends.
#include <QString>
#include <QWidget>

#include "platform/commondialog.h"
#include "platform/forms.h"
#include "platform/listview.h"

namespace platform {
class Toolbar;
}  // namespace platform
class QMenu;
class QAction;

// The people seated at a table, read from its item text ("שולחן של " and the
// count): the whole number that ends the text, so a count of 100 or more
// reads right. 0 for a text that ends in no number.
int TablePeopleFromText(const QString& text);

// The refusal of a table with more people than chairs per table.
QString OverLimitMessage();

class frmTableMap : public QWidget, public platform::Form<frmTableMap> {
  Q_OBJECT
 public:
  frmTableMap();
  ~frmTableMap() override;
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  // True lets the window really unload (program end); while False, closing it
  // only hides it.
  bool UnloadFlag = false;

  void InitTableSetting();
  void InitTableView(quint8 ViewMode);
  void ChangeTableViewMode(quint8 ViewMode);
  void ViewTable();
  // The map reset and the garden picture (frmTableMap_positions.cpp).
  void SetDefTableMap();
  void LoadGardenMap();
  // Moving the guests of one table to another number (frmTableMap_renumber.cpp).
  void UpdateTableNum();
  void ChangeTableNum(quint8 SrcTableNum, quint8 DestTableNum);
  // The people at table `table` (1 to the number of items) as its item shows.
  int PeopleAtTable(int table) const;

  // Handlers.
  void lvwTable_Click();
  void lvwTable_DblClick();
  void lvwTable_MouseDown(int Button, int Shift, double X, double Y);
  void lvwTable_ClearSelection();
  void Toolbar1_ButtonClick(int index);
  void popTableSitView_Click();
  void popUpdateTableNum_Click();
  void popSaveMap_Click();
  void popSetDefaultMap_Click();
  void popPrintMap_Click();
  void popTableMap_Click();
  void popDetailed_Click();

  // Item i (from 1) is table i; its text is "שולחן של " and the people seated.
  platform::ListView* lvwTable = nullptr;
  platform::Toolbar* Toolbar1 = nullptr;
  platform::ImageList imlIcons;         // "TableNo1".."TableNo100"
  platform::ImageList imlSmallIcons;    // "smlTableNo1".."smlTableNo100"
  platform::ImageList imlToolbarIcons;  // "Clear", "Load", "Save", ...

  QMenu* mnuPopTable = nullptr;
  QAction* popTableSitView = nullptr;
  QAction* pop1 = nullptr;
  QAction* popUpdateTableNum = nullptr;
  QAction* popSaveMap = nullptr;
  QAction* popSetDefaultMap = nullptr;
  QAction* popPrintMap = nullptr;
  QAction* pop2 = nullptr;
  QAction* popTableMap = nullptr;
  QAction* popDetailed = nullptr;

  // Full path of the garden picture; empty for none.
  QString m_GardenMapPath;

  // The printer dialog of the map, the seat view and the budget.
  platform::CommonDialog cdlPrinter{this};

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildToolbar();
  void buildPopupMenu();
  void UpdateSelection(bool repaintToolbar);
  void AskToSavePositions();
  // The map on one page (frmTableMap_print.cpp).
  void PrintTablesMap();

  // The load, a rebuild, a view switch and a recount call each other; the
  // over-limit message waits for the outermost of them to end and is shown at
  // most once until control is back in the event loop, so that one user action
  // (the program start included) shows it once.
  template <class Body>
  void InRecountChain(Body body);
  void ShowOverLimitOnce();
  int m_RecountDepth = 0;
  bool m_OverLimitPending = false;
  bool m_OverLimitShown = false;

  // Table positions on the map, kept in section TablesMap of pelmora.ini
  // (frmTableMap_positions.cpp).
  void LoadTablesMap();
  bool IsTablesMapChanged();
  void SaveTablesMap();
};
