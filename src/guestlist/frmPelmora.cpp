// The main window's life: building its controls, the load that does the rest of
// start-up, resizing, the group combo and days label, and the close that ends
// the program.
#include "frmPelmora.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/frmOptions.h"
#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "budget/frmBudget.h"
#include "guestlist/mdlMouseWheel.h"
#include "platform/forms.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "platform/wholefile.h"
#include "resources/pictures.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace {
const QString kApp = QStringLiteral("Pelmora");

// Designed size of the window and places of its controls, in twips; the grid
// takes the rest of the client area.
constexpr int kDesignWidth = 13800;
constexpr int kDesignHeight = 8400;

QRect twips(int left, int top, int width, int height) {
  return QRect(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), vb::TwipsToPixelsX(width),
               vb::TwipsToPixelsY(height));
}
}  // namespace

frmPelmora::frmPelmora() {
  setWindowTitle(QStringLiteral("רשימת מוזמנים"));
  buildMenus();
  buildToolbar();
  buildControls();
  connectHandlers();
  resize(vb::TwipsToPixelsX(kDesignWidth), vb::TwipsToPixelsY(kDesignHeight));
  platform::CentreOnScreen(this);  // a first start; the load restores a stored placement
}

frmPelmora::~frmPelmora() = default;

void frmPelmora::buildMenus() {
  auto item = [this](QMenu* menu, const QString& caption, bool checkable = false) {
    QAction* a = menu->addAction(caption);
    a->setCheckable(checkable);
    return a;
  };
  mnuInv = menuBar()->addMenu(QStringLiteral("הזמנה"));
  mnuAdd = item(mnuInv, QStringLiteral("הוסף הזמנה חדשה לרשימה"));
  mnuUpdate = item(mnuInv, QStringLiteral("עדכן פרטי הזמנה ברשימה"));
  mnuInv->addSeparator();
  mnuRemove = item(mnuInv, QStringLiteral("הסר הזמנה מרשימה"));

  mnuView = menuBar()->addMenu(QStringLiteral("תצוגה"));
  mnuIgnoreCnfNotOk = item(mnuView, QStringLiteral("הסתר מוזמנים שלא מגיעים וודאית"), true);
  mnuIgnoreNotCnf = item(mnuView, QStringLiteral("הסתר מוזמנים שלא אישרו עדיין"), true);
  mnuView->addSeparator();
  mnuShowTablesMap = item(mnuView, QStringLiteral("הצג מפת שולחנות"), true);

  mnuTools = menuBar()->addMenu(QStringLiteral("כלים"));
  mnuDial = item(mnuTools, QStringLiteral("חייג מספר..."));
  mnuTools->addSeparator();
  mnuImportDB = item(mnuTools, QStringLiteral("יבוא מבנה נתונים..."));
  mnuExportDB = item(mnuTools, QStringLiteral("יצוא מבנה נתונים..."));
  mnuTools->addSeparator();
  mnuPrintEnvLables = item(mnuTools, QStringLiteral("הדפסת מדבקות..."));
  mnuPrintReport = item(mnuTools, QStringLiteral("הדפסת רשימה..."));
  mnuPrintSittingNotes = item(mnuTools, QStringLiteral("הדפסת פתקי הושבה..."));
  mnuTools->addSeparator();
  mnuSetting = item(mnuTools, QStringLiteral("הגדרות..."));

  mnuHelp = menuBar()->addMenu(QStringLiteral("עזרה"));
  mnuProgramHelp = item(mnuHelp, QStringLiteral("עזרה..."));
  mnuHelp->addSeparator();
  mnuAboutProgram = item(mnuHelp, QStringLiteral("על התוכנה..."));

  // The pop-up menu is not on the bar.
  mnuPopMenu = new QMenu(QStringLiteral("PupUpMenu"), this);
  popIgnoreCnfNotOk = item(mnuPopMenu, QStringLiteral("הסתר מוזמנים שלא מגיעים וודאית"), true);
  popIgnoreNotCnf = item(mnuPopMenu, QStringLiteral("הסתר מוזמנים שלא אישרו עדיין"), true);
  mnuPopMenu->addSeparator();
  popAdd = item(mnuPopMenu, QStringLiteral("הוסף הזמנה חדשה לרשימה"));
  popUpdate = item(mnuPopMenu, QStringLiteral("עדכן פרטי הזמנה ברשימה"));
  mnuPopMenu->addSeparator();
  popDelete = item(mnuPopMenu, QStringLiteral("הסר הזמנה מרשימה"));
  mnuPopMenu->addSeparator();
  popShowTablesMap = item(mnuPopMenu, QStringLiteral("הצג מפת שולחנות..."), true);
  mnuPopMenu->addSeparator();
  popOptions = item(mnuPopMenu, QStringLiteral("...הגדרות"));
  popHelp = item(mnuPopMenu, QStringLiteral("...עזרה"));
}

void frmPelmora::buildToolbar() {
  using platform::Toolbar;
  Toolbar1 = new Toolbar(this);
  Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1->setMovable(false);
  addToolBar(Qt::TopToolBarArea, Toolbar1);
  struct B {
    const char* caption;
    const char* icon;
    Toolbar::Style style;
  };
  const B buttons[] = {
      {"הוסף", "Add", Toolbar::tbrDefault},        {"עדכן", "Update", Toolbar::tbrDefault},
      {"הסר", "Remove", Toolbar::tbrDefault},      {"", nullptr, Toolbar::tbrSeparator},
      {"חייג", "Dial", Toolbar::tbrDefault},       {"תקציב", "Budget", Toolbar::tbrDefault},
      {"מדבקות", "Labels", Toolbar::tbrDefault},   {"רשימות", "List", Toolbar::tbrDefault},
      {"פתקים", "Notes", Toolbar::tbrDefault},     {"שולחנות", "Tables", Toolbar::tbrCheck},
      {"", nullptr, Toolbar::tbrSeparator},        {"הגדרות", "Options", Toolbar::tbrDefault},
      {"על התוכנה", "About", Toolbar::tbrDefault}, {"עזרה", "Help", Toolbar::tbrDefault},
  };
  for (const B& b : buttons)
    Toolbar1->AddButton(QString::fromUtf8(b.caption),
                        b.icon ? resources::ToolbarIcon(QString::fromLatin1(b.icon)) : QIcon(), b.style);
}

void frmPelmora::buildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  stb = new platform::StatusBar(this);
  setStatusBar(stb);
  for (int i = 0; i < 7; ++i) stb->AddPanel();
  stb->SetPanelPicture(7, resources::OptionsPanelPicture());
  stb->SetPanelToolTip(7, QStringLiteral("לחץ פעמיים לעדכון פרטי משתמש"));

  lblWeddingCount = new QLabel(central);
  lblWeddingCount->setObjectName(QStringLiteral("lblWeddingCount"));
  QFont countFont = lblWeddingCount->font();
  countFont.setBold(true);
  lblWeddingCount->setFont(countFont);
  lblWeddingCount->setStyleSheet(QStringLiteral("color: #000080;"));
  lblWeddingCount->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);

  LblSelUserGroups = new QLabel(QStringLiteral(":קבוצת מוזמנים להצגה"), central);
  LblSelUserGroups->setObjectName(QStringLiteral("LblSelUserGroups"));
  LblSelUserGroups->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);

  cmbUserGroups = new QComboBox(central);
  cmbUserGroups->setObjectName(QStringLiteral("cmbUserGroups"));
  cmbUserGroups->setEditable(false);  // picked from the list only
  cmbUserGroups->setToolTip(QStringLiteral("סיווג האורח על-פי קבוצת שייכות"));
  cmbUserGroups->installEventFilter(this);

  lblList = new QLabel(central);
  lblList->setObjectName(QStringLiteral("lblList"));
  QFont titleFont = lblList->font();
  titleFont.setPointSize(titleFont.pointSize() + 3);
  titleFont.setBold(true);
  lblList->setFont(titleFont);
  lblList->setAlignment(Qt::AlignCenter);

  MSFlexGrid1 = new platform::FlexGrid(central);
  MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));

  tmrDelay = new QTimer(this);
  tmrDelay->setInterval(250);
}

void frmPelmora::connectHandlers() {
  // A menu item's check mark is the handlers' business: undo Qt's own toggle.
  auto on = [this](QAction* action, void (frmPelmora::*handler)()) {
    connect(action, &QAction::triggered, this, [this, action, handler] {
      if (action->isCheckable()) action->setChecked(!action->isChecked());
      platform::RunHandler([&] { (this->*handler)(); });
    });
  };
  on(mnuAdd, &frmPelmora::AddNewInv);
  on(popAdd, &frmPelmora::AddNewInv);
  on(mnuUpdate, &frmPelmora::UpdateInv);
  on(popUpdate, &frmPelmora::UpdateInv);
  on(mnuRemove, &frmPelmora::RemoveRecord);
  on(popDelete, &frmPelmora::RemoveRecord);
  on(mnuShowTablesMap, &frmPelmora::ShowHideTablesMap);
  on(popShowTablesMap, &frmPelmora::ShowHideTablesMap);
  on(mnuSetting, &frmPelmora::ShowOptions);
  on(popOptions, &frmPelmora::ShowOptions);
  on(mnuProgramHelp, &frmPelmora::ShowProgramHelp);
  on(popHelp, &frmPelmora::ShowProgramHelp);
  on(mnuDial, &frmPelmora::DialNum);
  on(mnuExportDB, &frmPelmora::mnuExportDB_Click);
  on(mnuImportDB, &frmPelmora::mnuImportDB_Click);
  on(mnuAboutProgram, &frmPelmora::ShowAbout);
  on(mnuPrintEnvLables, &frmPelmora::ShowPrintLabels);
  on(mnuPrintReport, &frmPelmora::ShowListReport);
  on(mnuPrintSittingNotes, &frmPelmora::ShowPrintNotes);
  on(mnuIgnoreCnfNotOk, &frmPelmora::mnuIgnoreCnfNotOk_Click);
  on(popIgnoreCnfNotOk, &frmPelmora::popIgnoreCnfNotOk_Click);
  on(mnuIgnoreNotCnf, &frmPelmora::mnuIgnoreNotCnf_Click);
  on(popIgnoreNotCnf, &frmPelmora::popIgnoreNotCnf_Click);

  connect(Toolbar1, &platform::Toolbar::ButtonClick, this,
          [this](int index) { platform::RunHandler([&] { Toolbar1_ButtonClick(index); }); });
  connect(stb, &platform::StatusBar::PanelDblClick, this,
          [this](int panel) { platform::RunHandler([&] { stb_PanelDblClick(panel); }); });
  connect(cmbUserGroups, qOverload<int>(&QComboBox::activated), this,
          [this](int) { platform::RunHandler([&] { cmbUserGroups_Click(); }); });
  connect(tmrDelay, &QTimer::timeout, this, [this] { platform::RunHandler([&] { tmrDelay_Timer(); }); });
  connect(MSFlexGrid1, &platform::FlexGrid::Click, this,
          [this] { platform::RunHandler([&] { MSFlexGrid1_Click(); }); });
  connect(MSFlexGrid1, &platform::FlexGrid::DblClick, this,
          [this] { platform::RunHandler([&] { MSFlexGrid1_DblClick(); }); });
  connect(MSFlexGrid1, &platform::FlexGrid::MouseDown, this, [this](int b, int s, int x, int y) {
    platform::RunHandler([&] { MSFlexGrid1_MouseDown(b, s, x, y); });
  });
}

void frmPelmora::Form_Load() {
  ErrorState err;
  g_NewLine = QStringLiteral("\r\n");
  g_FirstRun = false;

  // The designed places of the controls, taken before anything moves them.
  err([&] {
    ensurePolished();
    if (layout()) layout()->activate();
    const QSize client = centralWidget()->size();
    const int gridTop = vb::TwipsToPixelsY(960);
    LblSelUserGroups->setGeometry(client.width() - vb::TwipsToPixelsX(2520), vb::TwipsToPixelsY(120),
                                  vb::TwipsToPixelsX(2400), vb::TwipsToPixelsY(330));
    cmbUserGroups->setGeometry(client.width() - vb::TwipsToPixelsX(5280), vb::TwipsToPixelsY(100),
                               vb::TwipsToPixelsX(2640), vb::TwipsToPixelsY(360));
    lblWeddingCount->setGeometry(twips(120, 120, 4200, 330));
    lblList->setGeometry(vb::TwipsToPixelsX(120), vb::TwipsToPixelsY(520), client.width() - vb::TwipsToPixelsX(240),
                         vb::TwipsToPixelsY(400));
    MSFlexGrid1->setGeometry(vb::TwipsToPixelsX(120), gridTop, client.width() - vb::TwipsToPixelsX(240),
                             client.height() - gridTop - vb::TwipsToPixelsY(120));
  });
  err([&] {
    m_OrigWidth = vb::PixelsToTwipsX(width());
    m_OrigHeight = vb::PixelsToTwipsY(height());
  });
  for (QWidget* control : {static_cast<QWidget*>(MSFlexGrid1), static_cast<QWidget*>(cmbUserGroups),
                           static_cast<QWidget*>(LblSelUserGroups), static_cast<QWidget*>(lblList),
                           static_cast<QWidget*>(lblWeddingCount)}) {
    err([&] {
      const QRect g = control->geometry();
      control->setProperty("Tag", QStringLiteral("%1 %2 %3 %4 ")
                                      .arg(qRound(vb::PixelsToTwipsX(g.x())))
                                      .arg(qRound(vb::PixelsToTwipsY(g.y())))
                                      .arg(qRound(vb::PixelsToTwipsX(g.width())))
                                      .arg(qRound(vb::PixelsToTwipsY(g.height()))));
    });
  }

  // Placement of the last run.
  err([&] { move(vb::TwipsToPixelsX(vb::CDbl(platform::GetSetting(kApp, "Settings", "MainLeft", vb::Str(vb::PixelsToTwipsX(x()))))), y()); });
  err([&] { move(x(), vb::TwipsToPixelsY(vb::CDbl(platform::GetSetting(kApp, "Settings", "MainTop", vb::Str(vb::PixelsToTwipsY(y())))))); });
  err([&] { resize(vb::TwipsToPixelsX(vb::CDbl(platform::GetSetting(kApp, "Settings", "MainWidth", vb::Str(vb::PixelsToTwipsX(width()))))), height()); });
  err([&] { resize(width(), vb::TwipsToPixelsY(vb::CDbl(platform::GetSetting(kApp, "Settings", "MainHeight", vb::Str(vb::PixelsToTwipsY(height())))))); });
  err([&] { platform::KeepOnScreen(this); });
  // The state goes last, so that a maximised window keeps its normal placement
  // for when it is restored.
  err([&] {
    const int state = vb::CInt(platform::GetSetting(kApp, "Settings", "Window", vb::Str((windowState() & Qt::WindowMaximized) ? 2 : 0)));
    if (state == 2) setWindowState(Qt::WindowMaximized);
    else if (state == 1) setWindowState(Qt::WindowMinimized);
    else setWindowState(Qt::WindowNoState);
  });
  for (int i = 0; i < 10; ++i)
    err([&] { m_ColWidth[i] = platform::GetSetting(kApp, "TableSettings", "ColWidth-" + vb::Str(i), "<no value>"); });

  g_AllGuests = QStringLiteral("כל האורחים");
  err([] { mdlFileINI::ReadOptions(); });
  g_PortFree = true;
  g_AutoDial = false;

  if (!FileExists(DatabaseFile())) CreateNewDatabase();  // ends the program when it fails

  err([&] { ChangeMode(1); });
  err([&] { stb->SetPanelText(1, vb::DateText(vb::Today().date())); });
  err([&] { InitEvent(); });
  err([&] {
    const int widths[7] = {800, 1400, 2200, 1900, 1900, 1600, 400};
    const int aligns[7] = {platform::StatusBar::sbrCenter, platform::StatusBar::sbrRight,
                           platform::StatusBar::sbrRight,  platform::StatusBar::sbrRight,
                           platform::StatusBar::sbrRight,  platform::StatusBar::sbrRight,
                           platform::StatusBar::sbrCenter};
    for (int i = 0; i < 7; ++i) {
      stb->SetPanelWidth(i + 1, widths[i]);
      stb->SetPanelAlignment(i + 1, aligns[i]);
    }
  });
  err([&] {
    const char* tips[14] = {"הוספת פרטי הזמנה חדשה למערכת", "עידכון פרטי הזמנה נוכחית במערכת",
                            "הסרת הזמנה נוכחית ממערכת", "", "חיוג אוטומטי למספר הטלפון",
                            "ניהול תקציב הוצאות", "הפקת מדבקות למעטפות", "הדפסת רשימת מוזמנים",
                            "הפקת פתקי הושבה", "הדפסת מפת שולחנות", "", "הגדרות מערכת", "אודות התוכנה",
                            "עזרה מכוונת"};
    for (int i = 0; i < 14; ++i)
      if (*tips[i]) Toolbar1->SetToolTip(i + 1, QString::fromUtf8(tips[i]));
  });
  g_SortField.clear();
  m_SortOrder.clear();
  g_GroupName = g_AllGuests;
  InitList(g_GroupName, g_SortField);
  frmTableMap::Default().InitTableSetting();
  frmTableMap::Default().ChangeTableViewMode(1);
  mdlMouseWheel::HookMouseWheel(MSFlexGrid1);
  tmrDelay->start();
}

frmPelmora::ControlPos frmPelmora::GetCtlOrigPos(QWidget* control) {
  ErrorState err;
  double number[5] = {0, 0, 0, 0, 0};
  const QString tag = control->property("Tag").toString();
  int p = 0;
  for (int i = 0; i < 5; ++i) {
    const int q = tag.indexOf(' ', p);
    if (q < 0) {
      number[i] = 0;
    } else {
      err([&] { number[i] = vb::CDbl(tag.mid(p, q - p)); });
      p = q + 1;
    }
  }
  if (err.failed()) platform::MsgBox(err.last().description, platform::vbExclamation);
  ControlPos pos;
  pos.Left = qint32(vb::RoundHalfEven(number[0]));
  pos.Top = qint32(vb::RoundHalfEven(number[1]));
  pos.Width = qint32(vb::RoundHalfEven(number[2]));
  pos.Height = qint32(vb::RoundHalfEven(number[3]));
  return pos;
}

void frmPelmora::ResizeForm() {
  if (windowState() & Qt::WindowMinimized) return;
  ErrorState err;
  const double dW = vb::PixelsToTwipsX(width()) - m_OrigWidth;
  const double dH = vb::PixelsToTwipsY(height()) - m_OrigHeight;
  auto setWidth = [&](QWidget* c, double twipsWidth) {
    if (twipsWidth < 0) platform::Raise(380, QStringLiteral("Invalid property value"));
    c->resize(vb::TwipsToPixelsX(twipsWidth), c->height());
  };
  auto setHeight = [&](QWidget* c, double twipsHeight) {
    if (twipsHeight < 0) platform::Raise(380, QStringLiteral("Invalid property value"));
    c->resize(c->width(), vb::TwipsToPixelsY(twipsHeight));
  };
  auto setLeft = [&](QWidget* c, double left) { c->move(vb::TwipsToPixelsX(left), c->y()); };
  err([&] { setWidth(MSFlexGrid1, GetCtlOrigPos(MSFlexGrid1).Width + dW); });
  if (!err.failed()) err([&] { setHeight(MSFlexGrid1, GetCtlOrigPos(MSFlexGrid1).Height + dH); });
  if (!err.failed()) err([&] { setLeft(LblSelUserGroups, GetCtlOrigPos(LblSelUserGroups).Left + dW); });
  if (!err.failed()) err([&] { setLeft(cmbUserGroups, GetCtlOrigPos(cmbUserGroups).Left + dW); });
  if (!err.failed()) err([&] { setWidth(lblList, GetCtlOrigPos(lblList).Width + dW); });
  if (err.failed()) platform::MsgBox(err.last().description, platform::vbExclamation);
}

void frmPelmora::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Only once the designed places are known (the load writes the tags first).
  if (m_OrigWidth > 0) platform::RunHandler([&] { ResizeForm(); });
}

void frmPelmora::InitEvent() {
  cmbUserGroups->clear();
  cmbUserGroups->addItem(g_AllGuests);
  cmbUserGroups->addItem(g_Couple);
  cmbUserGroups->addItem(g_HisFamily);
  cmbUserGroups->addItem(g_HerFamily);
  cmbUserGroups->setCurrentIndex(0);
  for (int i = 3; i < g_NumOfGroups; ++i) cmbUserGroups->addItem(g_UserGroups.value(i));
  lblWeddingCount->setText("עוד " + DaysToWedding() + " ימים לחתונה...");
}

void frmPelmora::ChangeMode(quint8 mode) {
  g_InvMode = mode;
  if (mode == 1 || mode == 2) {
    const bool on = mode == 1;
    for (QAction* a : {mnuUpdate, mnuAdd, mnuRemove, popUpdate, popAdd, popDelete}) a->setEnabled(on);
    Toolbar1->SetEnabled(3, on);
  }
  Toolbar1->Refresh();
  g_InvMode = mode;
}

void frmPelmora::tmrDelay_Timer() {
  if (!g_FirstRun) return;
  g_FirstRun = false;
  frmOptions& options = frmOptions::Default();
  platform::ShowModal(&options);
}

void frmPelmora::stb_PanelDblClick(int panel) {
  if (!stb->PanelText(panel).isEmpty()) return;
  frmOptions& options = frmOptions::Default();
  platform::ShowModal(&options, this);
}

void frmPelmora::closeEvent(QCloseEvent* event) {
  // The budget asks about amounts typed but not stored; its Cancel keeps the
  // program running.
  if (frmBudget::IsLoaded() && !frmBudget::Unload()) {
    event->ignore();
    return;
  }
  handleCloseEvent(event);
}

void frmPelmora::Form_Unload(int& Cancel) {
  (void)Cancel;  // the main window never refuses to close
  ErrorState err;
  {
    // Placement and column widths in one write; a failure is told, not dropped.
    platform::FileBatch placement(platform::SettingsFileName(kApp));
    bool saved = true;
    auto save = [&](const QString& section, const QString& key, const QString& value) {
      err([&] { saved &= platform::SaveSetting(kApp, section, key, value); });
    };
    if (windowState() & Qt::WindowMinimized) {
      // Nothing of the window is kept.
    } else if (windowState() & Qt::WindowMaximized) {
      save("Settings", "Window", "2");
    } else {
      save("Settings", "Window", "0");
      save("Settings", "MainLeft", vb::Str(qRound(vb::PixelsToTwipsX(x()))));
      save("Settings", "MainTop", vb::Str(qRound(vb::PixelsToTwipsY(y()))));
      save("Settings", "MainWidth", vb::Str(qRound(vb::PixelsToTwipsX(width()))));
      save("Settings", "MainHeight", vb::Str(qRound(vb::PixelsToTwipsY(height()))));
    }
    for (int i = 0; i < 10; ++i) save("TableSettings", "ColWidth-" + vb::Str(i), vb::Str(MSFlexGrid1->ColWidth(i)));
    if (!placement.commit() || !saved)
      err([&] { mdlFileINI::ReportSettingsNotStored(platform::SettingsFileName(kApp), QString()); });
  }
  err([&] { mdlMouseWheel::UnhookMouseWheel(); });
  err([&] {
    g_ReportRS.reset();
    g_ReportConn.reset();
  });
  err([&] {
    if (frmTableMap::IsLoaded()) frmTableMap::Default().UnloadFlag = true;
  });
  tmrDelay->stop();
  const auto loaded = platform::Forms::loaded();
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
    platform::FormBase* form = *it;
    if (form == this) continue;  // its unload is in progress
    err([&] { platform::Forms::Unload(form); });
  }
  platform::EndProgram(m_EndCode);
}
