#pragma once
// The main window: the guest list. One class whose members are defined in the
// folder of the subsystem that owns them: start-up checks of the database in
// src/app, the list, its commands and the grid here, report handling in
// src/printing.
#include <QMainWindow>
#include <QString>

#include "platform/commondialog.h"
#include "platform/flexgrid.h"
#include "platform/forms.h"
#include "platform/statusbar.h"
#include "platform/toolbar.h"

namespace platform {
class ErrorState;
}

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;

class frmPelmora : public QMainWindow, public platform::Form<frmPelmora> {
  Q_OBJECT
 public:
  frmPelmora();
  ~frmPelmora() override;

  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

  // Guest list loading.
  // False when the file was held by another program: the list stayed as it was.
  bool InitList(const QString& group, const QString& order = QString());
  bool CheckEvenNum(qint16 Num) const;
  void SelectLine(qint16 RowNum);

  // Lifecycle.
  void ResizeForm();
  void InitEvent();
  void ChangeMode(quint8 mode);
  void tmrDelay_Timer();
  void stb_PanelDblClick(int panel);

  // Database schema (src/app).
  void CreateNewDatabase();
  void UpdateDatabase();

  // Export and import of the data files (src/app).
  bool ExportFile(QString& file_name);
  void mnuExportDB_Click();
  void mnuImportDB_Click();

  // Commands.
  void AddNewInv();
  void UpdateInv();
  void ShowHideTablesMap();
  void DialNum();
  void RemoveRecord();
  void MouseWheel(qint32 fwKeys, qint32 zDelta, qint32 xPos, qint32 yPos);

  // Reports (src/printing).
  void PrintLabels();
  void PrintSittingNote();

  // Menu, pop-up and toolbar handlers.
  void Toolbar1_ButtonClick(int index);
  void mnuIgnoreCnfNotOk_Click();
  void popIgnoreCnfNotOk_Click();
  void mnuIgnoreNotCnf_Click();
  void popIgnoreNotCnf_Click();
  void cmbUserGroups_Click();
  void cmbUserGroups_KeyPress(int& KeyAscii);

  // Grid events.
  void MSFlexGrid1_Click();
  void MSFlexGrid1_DblClick();
  void MSFlexGrid1_MouseDown(int Button, int Shift, int X, int Y);

  // Controls.
  QMenu* mnuInv = nullptr;
  QAction* mnuAdd = nullptr;
  QAction* mnuUpdate = nullptr;
  QAction* mnuRemove = nullptr;
  QMenu* mnuView = nullptr;
  QAction* mnuIgnoreCnfNotOk = nullptr;
  QAction* mnuIgnoreNotCnf = nullptr;
  QAction* mnuShowTablesMap = nullptr;
  QMenu* mnuTools = nullptr;
  QAction* mnuDial = nullptr;
  QAction* mnuImportDB = nullptr;
  QAction* mnuExportDB = nullptr;
  QAction* mnuPrintEnvLables = nullptr;
  QAction* mnuPrintReport = nullptr;
  QAction* mnuPrintSittingNotes = nullptr;
  QAction* mnuSetting = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuProgramHelp = nullptr;
  QAction* mnuAboutProgram = nullptr;
  QMenu* mnuPopMenu = nullptr;
  QAction* popIgnoreCnfNotOk = nullptr;
  QAction* popIgnoreNotCnf = nullptr;
  QAction* popAdd = nullptr;
  QAction* popUpdate = nullptr;
  QAction* popDelete = nullptr;
  QAction* popShowTablesMap = nullptr;
  QAction* popOptions = nullptr;
  QAction* popHelp = nullptr;

  platform::Toolbar* Toolbar1 = nullptr;
  platform::StatusBar* stb = nullptr;
  platform::FlexGrid* MSFlexGrid1 = nullptr;
  QComboBox* cmbUserGroups = nullptr;
  QLabel* LblSelUserGroups = nullptr;
  QLabel* lblList = nullptr;
  QLabel* lblWeddingCount = nullptr;
  QTimer* tmrDelay = nullptr;
  platform::CommonDialog CommonDialog1{this};

  // Window values other procedures share.
  QString m_ColWidth[10];
  QString m_SortOrder;
  quint8 m_ClickedCol = 0;
  qint16 m_SelRow = 0;
  QColor m_SelRowBackColor;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ControlPos {
    qint32 Left = 0, Top = 0, Width = 0, Height = 0;
  };
  void buildMenus();
  void buildToolbar();
  void buildControls();
  void connectHandlers();
  ControlPos GetCtlOrigPos(QWidget* control);
  void ShowOptions();
  void ShowAbout();
  void ShowBudget();  // frmPelmora_budget.cpp
  void ShowProgramHelp();
  void ShowPrintLabels();
  void ShowPrintNotes();
  void ShowListReport();
  // The schema's critical message, then the program ends (status 1).
  [[noreturn]] void endWithCriticalFailure(const QString& what);  // frmPelmora_schema.cpp
  [[noreturn]] void endUnlessLocked(const platform::ErrorState& err);

  double m_OrigWidth = 0, m_OrigHeight = 0;  // twips
  int m_EndCode = 0;  // exit code when the window's close ends the program
  // The next UpdateDatabase reads the whole file through: at start and after
  // an import, not on every load of the list.
  bool m_CheckDatabase = true;
};
