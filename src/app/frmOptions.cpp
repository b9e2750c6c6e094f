#include "frmOptions.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/mdlWedding.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;

frmOptions::frmOptions() {
  setWindowTitle(QStringLiteral("הגדרות"));
  setLayoutDirection(Qt::RightToLeft);
  setModal(true);
  buildControls();
  connectHandlers();
}

frmOptions::~frmOptions() = default;

void frmOptions::buildControls() {
  SSTab1 = new QTabWidget(this);
  SSTab1->setObjectName("SSTab1");

  // Tab 0: the names and the date.
  auto* userTab = new QWidget;
  auto* userGrid = new QGridLayout(userTab);
  lblCouple = new QLabel(QStringLiteral("בני הזוג"));
  txtCouple = new QLineEdit;
  lblHisFamily = new QLabel(QStringLiteral("משפ' החתן"));
  txtHisFamily = new QLineEdit;
  lblHerFamily = new QLabel(QStringLiteral("משפ' הכלה"));
  txtHerFamily = new QLineEdit;
  lblWeddingDate = new QLabel(QStringLiteral("תאריך החתונה"));
  DTPickWedding = new QDateEdit;
  // The date reads day/month/year from the left as it is written; set before
  // the format, which a right-to-left date edit would show reversed.
  DTPickWedding->setLayoutDirection(Qt::LeftToRight);
  DTPickWedding->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  DTPickWedding->setCalendarPopup(true);
  DTPickWedding->setMinimumDate(QDate(1601, 1, 1));
  userGrid->addWidget(lblCouple, 0, 0);
  userGrid->addWidget(txtCouple, 0, 1);
  userGrid->addWidget(lblHisFamily, 1, 0);
  userGrid->addWidget(txtHisFamily, 1, 1);
  userGrid->addWidget(lblHerFamily, 2, 0);
  userGrid->addWidget(txtHerFamily, 2, 1);
  userGrid->addWidget(lblWeddingDate, 3, 0);
  // The picker itself runs left to right; it stands by its label all the same.
  userGrid->addWidget(DTPickWedding, 3, 1, Qt::AlignRight);
  userGrid->setColumnStretch(1, 1);
  userGrid->setRowStretch(4, 1);
  SSTab1->addTab(userTab, QStringLiteral("פרטי משתמש"));

  // Tab 1: the group editor. Delete and "cancel update" share one place.
  auto* groupsTab = new QWidget;
  auto* groupsGrid = new QGridLayout(groupsTab);
  lstGroups = new QListWidget;
  lstGroups->setSelectionMode(QAbstractItemView::SingleSelection);
  txtNewGroup = new QLineEdit;
  cmdAddUpdateGroup = new QPushButton(QStringLiteral("הוסף קבוצה"));
  cmdDelGroup = new QPushButton(QStringLiteral("הסר קבוצה"));
  cmdCancelUpdate = new QPushButton(QStringLiteral("בטל עדכון"));
  cmdCancelUpdate->hide();
  groupsGrid->addWidget(lstGroups, 0, 0, 4, 1);
  groupsGrid->addWidget(txtNewGroup, 0, 1);
  groupsGrid->addWidget(cmdAddUpdateGroup, 1, 1);
  groupsGrid->addWidget(cmdDelGroup, 2, 1);
  groupsGrid->addWidget(cmdCancelUpdate, 2, 1);
  groupsGrid->setRowStretch(3, 1);
  groupsGrid->setColumnStretch(0, 3);
  groupsGrid->setColumnStretch(1, 2);
  SSTab1->addTab(groupsTab, QStringLiteral("הגדרת קבוצות"));

  // Tab 2: the limits.
  auto* generalTab = new QWidget;
  auto* generalGrid = new QGridLayout(generalTab);
  lblMaxTable = new QLabel(QStringLiteral(":כמות מקסימלית של שולחנות"));
  txtMaxTable = new QLineEdit;
  lblMaxChairs = new QLabel(QStringLiteral(":כמות מקסימלית של  כסאות בשולחן"));
  txtMaxChairs = new QLineEdit;
  for (QLineEdit* box : {txtMaxTable, txtMaxChairs}) box->setMaximumWidth(80);
  generalGrid->addWidget(lblMaxTable, 0, 0);
  generalGrid->addWidget(txtMaxTable, 0, 1, Qt::AlignLeading);
  generalGrid->addWidget(lblMaxChairs, 1, 0);
  generalGrid->addWidget(txtMaxChairs, 1, 1, Qt::AlignLeading);
  generalGrid->setColumnStretch(2, 1);
  generalGrid->setRowStretch(2, 1);
  SSTab1->addTab(generalTab, QStringLiteral("הגדרות כלליות"));

  cmdOK = new QPushButton(QStringLiteral("OK"));
  cmdCancel = new QPushButton(QStringLiteral("Cancel"));
  cmdApply = new QPushButton(QStringLiteral("Apply"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {cmdOK, cmdCancel, cmdApply}) buttons->addWidget(b);

  // Enter in a text box must not press a button by itself.
  for (QPushButton* b : {cmdAddUpdateGroup, cmdDelGroup, cmdCancelUpdate, cmdOK, cmdCancel, cmdApply})
    b->setAutoDefault(false);

  auto* main = new QVBoxLayout(this);
  main->addWidget(SSTab1);
  main->addLayout(buttons);
  resize(460, 300);
}

void frmOptions::connectHandlers() {
  auto on = [this](auto* sender, auto signal, void (frmOptions::*handler)()) {
    connect(sender, signal, this, [this, handler] { platform::RunHandler([&] { (this->*handler)(); }); });
  };
  on(cmdOK, &QPushButton::clicked, &frmOptions::cmdOK_Click);
  on(cmdCancel, &QPushButton::clicked, &frmOptions::cmdCancel_Click);
  on(cmdApply, &QPushButton::clicked, &frmOptions::cmdApply_Click);
  on(cmdAddUpdateGroup, &QPushButton::clicked, &frmOptions::cmdAddUpdateGroup_Click);
  on(cmdDelGroup, &QPushButton::clicked, &frmOptions::cmdDelGroup_Click);
  on(cmdCancelUpdate, &QPushButton::clicked, &frmOptions::cmdCancelUpdate_Click);
  // A new selection, by mouse, keyboard or program, is the list's click.
  on(lstGroups, &QListWidget::currentRowChanged, &frmOptions::lstGroups_Click);
  on(lstGroups, &QListWidget::itemDoubleClicked, &frmOptions::lstGroups_DblClick);
  on(txtCouple, &QLineEdit::textChanged, &frmOptions::txtCouple_Change);
  on(txtHisFamily, &QLineEdit::textChanged, &frmOptions::txtHisFamily_Change);
  on(txtHerFamily, &QLineEdit::textChanged, &frmOptions::txtHerFamily_Change);
  on(txtMaxTable, &QLineEdit::textChanged, &frmOptions::txtMaxTable_Change);
  on(txtMaxChairs, &QLineEdit::textChanged, &frmOptions::txtMaxChairs_Change);
  on(DTPickWedding, &QDateEdit::dateChanged, &frmOptions::DTPickWedding_Change);
  connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
    const int previous = m_CurrentTab;
    m_CurrentTab = tab;
    platform::RunHandler([&] { SSTab1_Click(previous); });
  });
}

void frmOptions::Form_Load() {
  txtCouple->setText(g_Couple);
  txtHisFamily->setText(g_HisFamily);
  txtHerFamily->setText(g_HerFamily);

  lstGroups->clear();
  lstGroups->addItems({g_Couple, g_HisFamily, g_HerFamily});
  for (int i = 3; i < g_NumOfGroups && i < g_UserGroups.size(); ++i) lstGroups->addItem(g_UserGroups[i]);
  for (int i = 0; i < lstGroups->count(); ++i) lstGroups->item(i)->setData(kGroupNumberRole, i + 1);

  txtNewGroup->clear();
  txtMaxTable->setText(vb::Str(static_cast<int>(g_MaxTables)));
  txtMaxChairs->setText(vb::Str(static_cast<int>(g_MaxChairs)));

  cmdDelGroup->setEnabled(false);
  m_GroupMode = AddMode;

  DTPickWedding->setDate(g_WeddingDate.isValid() ? g_WeddingDate.date() : vb::Today().date());
  SSTab1->setCurrentIndex(0);
  // The window opens ready for typing: the focus in the first box.
  txtCouple->setFocus(Qt::OtherFocusReason);

  // Filling the boxes went through their change handlers.
  cmdApply->setEnabled(false);
}

void frmOptions::cmdOK_Click() {
  // Options that could not be written stay in the window, so nothing typed is lost.
  if (cmdApply->isEnabled() && apply() == ApplyResult::NotStored) return;
  Unload();
}

void frmOptions::cmdCancel_Click() { Unload(); }

void frmOptions::closeEvent(QCloseEvent* event) { handleCloseEvent(event); }

// Escape closes the window as its close box does.
void frmOptions::reject() { close(); }

void frmOptions::SSTab1_Click(int PreviousTab) {
  (void)PreviousTab;
  if (SSTab1->currentIndex() != 1) return;
  const QString names[3] = {txtCouple->text(), txtHisFamily->text(), txtHerFamily->text()};
  for (int i = 0; i < 3 && i < lstGroups->count(); ++i) lstGroups->item(i)->setText(names[i]);
  lstGroups->update();
}

void frmOptions::setDirty() const { cmdApply->setEnabled(true); }

void frmOptions::txtCouple_Change() { setDirty(); }
void frmOptions::txtHisFamily_Change() { setDirty(); }
void frmOptions::txtHerFamily_Change() { setDirty(); }
void frmOptions::txtMaxTable_Change() { setDirty(); }
void frmOptions::txtMaxChairs_Change() { setDirty(); }
void frmOptions::DTPickWedding_Change() { setDirty(); }
