// The editor window: its controls, opening, tabs, the present's labels, the
// exclusive answer boxes, the key rules, OK and Cancel, clearing and the
// multi-row layout.
#include "frmInvDetails.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/mdlWedding.h"
#include "platform/keyascii.h"
#include "platform/msgbox.h"
#include "platform/scrollframe.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;

namespace {
const QString kAddCaption = QStringLiteral("הוספת פרטי הזמנה חדשה למערכת");
const QString kUpdateCaption = QStringLiteral("עידכון פרטי הזמנה נוכחית במערכת");
const QString kDesignCaption = QStringLiteral("עידכון\\הוספת פרטי הזמנה למערכת");

bool isDigit(int k) { return k >= '0' && k <= '9'; }

QComboBox* makeCombo(bool editable) {
  auto* c = new QComboBox;
  c->setEditable(editable);
  if (editable) {
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
  }
  return c;
}

// Hidden editors keep their place, so the labels stand still in the multi-row
// layout.
void keepPlaceWhenHidden(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}
}  // namespace

frmInvDetails::frmInvDetails() {
  setWindowFlag(Qt::Window);
  setLayoutDirection(Qt::RightToLeft);
  setWindowTitle(kDesignCaption);
  buildControls();
  connectHandlers();
}

frmInvDetails::~frmInvDetails() = default;

void frmInvDetails::buildControls() {
  auto label = [](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
  };
  auto multiLine = [] {
    auto* t = new QPlainTextEdit;
    t->setTabChangesFocus(true);
    // Paragraphs read right to left from the right edge, as in the single-line
    // boxes: the plain-text layout takes its alignment as it is, not mirrored
    // by the window's direction.
    QTextOption paragraphs = t->document()->defaultTextOption();
    paragraphs.setTextDirection(Qt::RightToLeft);
    paragraphs.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    t->document()->setDefaultTextOption(paragraphs);
    t->setFixedHeight(t->fontMetrics().lineSpacing() * 3 + 12);
    return t;
  };

  TabStrip1 = new QTabBar;
  TabStrip1->setObjectName("TabStrip1");
  TabStrip1->addTab(QStringLiteral("פרטי הזמנה"));
  TabStrip1->addTab(QStringLiteral("אישור הזמנה"));
  TabStrip1->addTab(QStringLiteral("פרטי מתנה"));
  TabStrip1->setDrawBase(false);

  // Tab 1: the invitation.
  framInvDetails = new QGroupBox(QStringLiteral("פרטי הזמנה"));
  txtFamilyName = new QLineEdit;
  txtFirstName = new QLineEdit;
  txtPhones = new QLineEdit;
  txtAddress = multiLine();
  cmbInvNum = makeCombo(true);
  cmbGroup = makeCombo(true);
  cmbGroup->lineEdit()->setReadOnly(true);  // picked from the list only
  txtRemark = multiLine();
  lblFamilyName = label(QStringLiteral("שם משפחה"), txtFamilyName);
  lblFirstName = label(QStringLiteral("שם פרטי"), txtFirstName);
  lblPhones = label(QStringLiteral("טלפונים"), txtPhones);
  lblAddress = label(QStringLiteral("כתובת"), txtAddress);
  lblInvNum = label(QStringLiteral("מס' מוזמנים"), cmbInvNum);
  lblGroup = label(QStringLiteral("קבוצה"), cmbGroup);
  lblRemark = label(QStringLiteral("הערות"), txtRemark);
  cmbInvNum->setFixedWidth(70);
  {
    auto* g = new QGridLayout(framInvDetails);
    int row = 0;
    auto add = [&](QLabel* l, QWidget* w, Qt::Alignment align = {}) {
      g->addWidget(l, row, 0, Qt::AlignTop | Qt::AlignLeading);
      g->addWidget(w, row, 1, align);
      ++row;
    };
    add(lblFamilyName, txtFamilyName);
    add(lblFirstName, txtFirstName);
    add(lblPhones, txtPhones);
    add(lblAddress, txtAddress);
    add(lblInvNum, cmbInvNum, Qt::AlignLeading);
    add(lblGroup, cmbGroup);
    add(lblRemark, txtRemark);
    g->setColumnStretch(1, 1);
    g->setColumnMinimumWidth(1, 260);
    g->setRowStretch(row, 1);
  }

  // Tab 2: the answer, the table and the sent flag.
  framInvConfirm = new QGroupBox(QStringLiteral("אישור הזמנה"));
  chkConfirmOk = new QCheckBox(QStringLiteral("אורח מגיע"));
  chkConfirmNotOk = new QCheckBox(QStringLiteral("אורח לא מגיע"));
  chkConfirmUnkown = new QCheckBox(QStringLiteral("אורח לא בטוח "));
  cmbTableNo = makeCombo(true);
  cmbTableNo->setFixedWidth(70);
  lblTableNo = label(QStringLiteral("מס' שולחן"), cmbTableNo);
  chkInvSent = new QCheckBox(QStringLiteral("הזמנה נשלחה לאורח"));
  {
    auto* g = new QGridLayout(framInvConfirm);
    g->addWidget(chkConfirmOk, 0, 0, 1, 2);
    g->addWidget(chkConfirmNotOk, 1, 0, 1, 2);
    g->addWidget(chkConfirmUnkown, 2, 0, 1, 2);
    g->addWidget(lblTableNo, 3, 0);
    g->addWidget(cmbTableNo, 3, 1, Qt::AlignLeading);
    g->addWidget(chkInvSent, 4, 0, 1, 2);
    g->setColumnStretch(1, 1);
    g->setRowStretch(5, 1);
  }

  // Tab 3: the present.
  framPresentDetails = new QGroupBox(QStringLiteral("פרטי מתנה"));
  optPresCheck = new QRadioButton(QStringLiteral("צ'ק"));
  optPresCashe = new QRadioButton(QStringLiteral("מזומן"));
  optPresDiff = new QRadioButton(QStringLiteral("אחר"));
  txtPresent = new QLineEdit;
  lblPresentDesc = label(QStringLiteral("סכום המתנה"), txtPresent);
  lblShekel = new QLabel(QStringLiteral("₪"));
  {
    auto* g = new QGridLayout(framPresentDetails);
    g->addWidget(optPresCheck, 0, 0, 1, 3);
    g->addWidget(optPresCashe, 1, 0, 1, 3);
    g->addWidget(optPresDiff, 2, 0, 1, 3);
    g->addWidget(lblPresentDesc, 3, 0);
    g->addWidget(txtPresent, 3, 1);
    g->addWidget(lblShekel, 3, 2);
    g->setColumnMinimumWidth(1, 180);
    g->setColumnStretch(3, 1);
    g->setRowStretch(4, 1);
  }

  cmdOK = new QPushButton(QStringLiteral("שמור"));
  cmdCancel = new QPushButton(QStringLiteral("בטל"));
  for (QPushButton* b : {cmdOK, cmdCancel}) b->setAutoDefault(false);

  const struct {
    QWidget* w;
    const char* name;
    const char* tip;
  } named[] = {
      {txtFamilyName, "txtFamilyName", "שם המשפחה של המוזמן"},
      {txtFirstName, "txtFirstName", "שמו הפרטי של המוזמן"},
      {txtPhones, "txtPhones", "מספרי טלפון של המוזמן לאישור ההזמנה"},
      {txtAddress, "txtAddress", "כתובת למשלוח הזמנה"},
      {cmbInvNum, "cmbInvNum", "מספר המוזמנים השייכים להזמנה זו"},
      {cmbGroup, "cmbGroup", "סיווג האורח על-פי קבוצת שייכות"},
      {txtRemark, "txtRemark", "הערות כלליות"},
      {chkConfirmOk, "chkConfirmOk", "אורח דיווח כי הוא מגיע"},
      {chkConfirmNotOk, "chkConfirmNotOk", "אורח דיווח כי הוא לא מגיע בטוח"},
      {chkConfirmUnkown, "chkConfirmUnkown", "אורח דיווח כי הוא לא בטוח אם יגיע"},
      {cmbTableNo, "cmbTableNo", ""},
      {chkInvSent, "chkInvSent", "השלחה נשלחה לאורח"},
      {optPresCheck, "optPresCheck", "מתנה כספית בצ'יק"},
      {optPresCashe, "optPresCashe", "מתנה כספית במזומן"},
      {optPresDiff, "optPresDiff", "מתנה לא כספית"},
      {txtPresent, "txtPresent", "הסכום הכספי של המתנה בשקלים"},
      {cmdOK, "cmdOK", ""},
      {cmdCancel, "cmdCancel", ""},
  };
  for (const auto& n : named) {
    n.w->setObjectName(QString::fromLatin1(n.name));
    if (*n.tip) n.w->setToolTip(QString::fromUtf8(n.tip));
  }
  framInvDetails->setObjectName("framInvDetails");
  framInvConfirm->setObjectName("framInvConfirm");
  framPresentDetails->setObjectName("framPresentDetails");
  lblPresentDesc->setObjectName("lblPresentDesc");
  lblPresentDesc->setToolTip(QStringLiteral("הסכום הכספי של המתנה בשקלים"));
  lblShekel->setObjectName("lblShekel");

  for (QWidget* w : fieldEditors()) keepPlaceWhenHidden(w);

  // The three frames share one place; the tab strip shows one at a time.
  auto* pages = new QWidget;
  auto* stack = new QGridLayout(pages);
  stack->setContentsMargins(0, 0, 0, 0);
  QSize most;
  for (QGroupBox* f : {framInvDetails, framInvConfirm, framPresentDetails}) {
    stack->addWidget(f, 0, 0);
    most = most.expandedTo(f->sizeHint());
  }
  pages->setMinimumSize(most);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);

  // The tab strip joins the window last, so it ends the Tab order and the
  // window opens with the focus on the first box. The controls sit on a page
  // that scrolls when a small or scaled screen cannot hold the window.
  auto* frame = new platform::ScrollFrame(this, QSize());
  auto* main = new QVBoxLayout(frame->page());
  main->addWidget(pages, 1);
  main->addLayout(buttons);
  main->insertWidget(0, TabStrip1);

  // Keyboard order.
  QWidget* order[] = {txtFamilyName, txtFirstName, txtPhones, txtAddress, cmbInvNum, cmbGroup,
                      txtRemark, chkConfirmOk, chkConfirmNotOk, chkConfirmUnkown, cmbTableNo,
                      chkInvSent, optPresCheck, optPresCashe, optPresDiff, txtPresent, cmdOK,
                      cmdCancel};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  TabStrip1->setFocusPolicy(Qt::TabFocus);
  const std::pair<QKeyCombination, int> tabKeys[] = {
      {Qt::CTRL | Qt::Key_Tab, 1},
      {Qt::CTRL | Qt::Key_PageDown, 1},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
      {Qt::CTRL | Qt::Key_PageUp, -1}};
  for (const auto& [keys, step] : tabKeys)
    connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this,
            [this, step = step] { platform::RunHandler([&] { switchTab(step); }); });

  // The key rules; an editable combo types through its line edit.
  for (QObject* o : {static_cast<QObject*>(txtFamilyName), static_cast<QObject*>(txtFirstName),
                     static_cast<QObject*>(txtPhones), static_cast<QObject*>(txtPresent),
                     static_cast<QObject*>(cmbGroup), static_cast<QObject*>(cmbGroup->lineEdit()),
                     static_cast<QObject*>(cmbInvNum), static_cast<QObject*>(cmbInvNum->lineEdit()),
                     static_cast<QObject*>(cmbTableNo), static_cast<QObject*>(cmbTableNo->lineEdit())})
    o->installEventFilter(this);

  frame->page()->adjustSize();
  resize(frame->page()->size());
}

void frmInvDetails::connectHandlers() {
  auto on = [this](auto* sender, auto signal, void (frmInvDetails::*handler)()) {
    connect(sender, signal, this, [this, handler] { platform::RunHandler([&] { (this->*handler)(); }); });
  };
  on(cmdOK, &QPushButton::clicked, &frmInvDetails::cmdOK_Click);
  on(cmdCancel, &QPushButton::clicked, &frmInvDetails::cmdCancel_Click);
  on(TabStrip1, &QTabBar::currentChanged, &frmInvDetails::TabStrip1_Click);

  // An option button's click comes when it becomes selected, by the user or by
  // the program.
  auto onSelected = [this](QRadioButton* b, void (frmInvDetails::*handler)()) {
    connect(b, &QRadioButton::toggled, this, [this, handler](bool on) {
      if (on) platform::RunHandler([&] { (this->*handler)(); });
    });
  };
  onSelected(optPresCheck, &frmInvDetails::optPresCheck_Click);
  onSelected(optPresCashe, &frmInvDetails::optPresCashe_Click);
  onSelected(optPresDiff, &frmInvDetails::optPresDiff_Click);

  // A check box's click comes with every change of its value.
  on(chkConfirmOk, &QCheckBox::toggled, &frmInvDetails::chkConfirmOk_Click);
  on(chkConfirmNotOk, &QCheckBox::toggled, &frmInvDetails::chkConfirmNotOk_Click);
  on(chkConfirmUnkown, &QCheckBox::toggled, &frmInvDetails::chkConfirmUnkown_Click);
}

void frmInvDetails::Form_Load() {
  cmbInvNum->clear();
  for (int i = 1; i <= 8; ++i) cmbInvNum->addItem(vb::Str(i));
  cmbInvNum->setEditText(QStringLiteral("2"));

  cmbTableNo->clear();
  for (int i = 1; i <= g_MaxTables; ++i) cmbTableNo->addItem(vb::Str(i));
  cmbTableNo->setEditText(QString());

  fillGroupList();
  cmbGroup->setEditText(g_GroupName == g_AllGuests ? g_Couple : g_GroupName);

  optPresCheck->setChecked(true);
  applyMode();
  TabStrip1_Click();
}

// The three main groups by their names, then the user groups.
void frmInvDetails::fillGroupList() {
  cmbGroup->clear();
  cmbGroup->addItem(g_Couple);
  cmbGroup->addItem(g_HisFamily);
  cmbGroup->addItem(g_HerFamily);
  for (int i = 3; i < g_NumOfGroups; ++i) cmbGroup->addItem(g_UserGroups.value(i));
}

frmInvDetails::Shown frmInvDetails::shown() const {
  Shown s;
  s.family = txtFamilyName->text();
  s.first = txtFirstName->text();
  s.phones = txtPhones->text();
  s.address = txtAddress->toPlainText();
  s.remark = txtRemark->toPlainText();
  s.invNum = cmbInvNum->currentText();
  s.group = cmbGroup->currentText();
  s.table = cmbTableNo->currentText();
  s.present = txtPresent->text();
  s.sent = chkInvSent->isChecked();
  s.confirm = chkConfirmOk->isChecked() ? 1 : chkConfirmNotOk->isChecked() ? 2 : chkConfirmUnkown->isChecked() ? 3 : 0;
  s.presentType = optPresCheck->isChecked() ? 0 : optPresCashe->isChecked() ? 1 : 2;
  return s;
}

// Checking a box or selecting a kind runs its click rules, as a user's click.
void frmInvDetails::showValues(const Shown& s) {
  txtFamilyName->setText(s.family);
  txtFirstName->setText(s.first);
  txtPhones->setText(s.phones);
  txtAddress->setPlainText(s.address);
  cmbInvNum->setEditText(s.invNum);
  cmbGroup->setEditText(s.group);
  txtRemark->setPlainText(s.remark);
  chkInvSent->setChecked(s.sent);
  chkConfirmOk->setChecked(s.confirm == 1);
  chkConfirmNotOk->setChecked(s.confirm == 2);
  chkConfirmUnkown->setChecked(s.confirm == 3);
  cmbTableNo->setEditText(s.table);
  txtPresent->setText(s.present);
  if (s.presentType == 2) optPresDiff->setChecked(true);
  else if (s.presentType == 1) optPresCashe->setChecked(true);
  else optPresCheck->setChecked(true);
}

void frmInvDetails::RefreshGroupList(const QMap<int, int>& renumbered) {
  const QString text = cmbGroup->currentText();
  QStringList before;
  for (int i = 0; i < cmbGroup->count(); ++i) before << cmbGroup->itemText(i);
  fillGroupList();
  QString now = text;
  const int at = before.indexOf(text);
  if (at >= 0 && renumbered.contains(at + 1)) {
    // The group shown, under its name at its new place.
    now = cmbGroup->itemText(renumbered.value(at + 1) - 1);
  } else if (at >= 0 && cmbGroup->findText(text) < 0 && cmbGroup->count() == before.size()) {
    // A list as long as before with the shown name gone at its place: renamed.
    now = cmbGroup->itemText(at);
  }
  cmbGroup->setEditText(now);
  // A group the user left as loaded stays unchanged for the save.
  if (m_Loaded && m_Loaded->group == text) m_Loaded->group = now;
}

// The mode-dependent part of the opening.
void frmInvDetails::applyMode() {
  m_Mode = g_InvMode;
  m_Loaded.reset();
  if (g_InvMode == 1) {
    setWindowTitle(kAddCaption);
  } else if (g_InvMode == 2) {
    setWindowTitle(kUpdateCaption);
    UpdateRecord();
  }
}

void frmInvDetails::Reopen() {
  if (m_Mode == 1 && g_InvMode == 1) return;
  ReleaseHeldRecord();
  ClearInv();
  showEditors(true);
  applyMode();
}

void frmInvDetails::ReleaseHeldRecord() {
  if (m_HeldDB) {
    platform::ErrorState err;
    err([&] { m_HeldDB->Close(); });
  }
  m_HeldRS.reset();
  m_HeldDB.reset();
}

void frmInvDetails::TabStrip1_Click() {
  switch (TabStrip1->currentIndex() + 1) {
    case 1:
      framInvConfirm->hide();
      framPresentDetails->hide();
      framInvDetails->show();
      break;
    case 2:
      framInvDetails->hide();
      framPresentDetails->hide();
      framInvConfirm->show();
      break;
    case 3:
      framInvDetails->hide();
      framInvConfirm->hide();
      framPresentDetails->show();
      break;
    default:
      break;
  }
}

// As a tabbed dialog: round the tabs, and the focus to the first control of
// the tab shown unless it was on the tab strip.
void frmInvDetails::switchTab(int step) {
  const int n = TabStrip1->count();
  TabStrip1->setCurrentIndex((TabStrip1->currentIndex() + step + n) % n);
  if (TabStrip1->hasFocus()) return;
  QWidget* frame = TabStrip1->currentIndex() == 0   ? framInvDetails
                   : TabStrip1->currentIndex() == 1 ? framInvConfirm
                                                    : framPresentDetails;
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
    if (frame->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  TabStrip1->setFocus(Qt::TabFocusReason);
}

void frmInvDetails::setPresentKind(bool money) {
  if (money) {
    lblPresentDesc->setText(QStringLiteral("סכום המתנה"));
    lblPresentDesc->setToolTip(QStringLiteral("הסכום הכספי של המתנה בשקלים"));
  } else {
    lblPresentDesc->setText(QStringLiteral("תאור המתנה"));
    lblPresentDesc->setToolTip(QStringLiteral("תאור קצר של המתנה"));
  }
  lblShekel->setVisible(money);
}

void frmInvDetails::optPresCheck_Click() { setPresentKind(true); }
void frmInvDetails::optPresCashe_Click() { setPresentKind(true); }
void frmInvDetails::optPresDiff_Click() { setPresentKind(false); }

void frmInvDetails::keepOneAnswer(QCheckBox* checked) {
  if (!checked->isChecked()) return;
  for (QCheckBox* other : {chkConfirmOk, chkConfirmNotOk, chkConfirmUnkown})
    if (other != checked) other->setChecked(false);
}

void frmInvDetails::chkConfirmOk_Click() { keepOneAnswer(chkConfirmOk); }
void frmInvDetails::chkConfirmNotOk_Click() { keepOneAnswer(chkConfirmNotOk); }
void frmInvDetails::chkConfirmUnkown_Click() { keepOneAnswer(chkConfirmUnkown); }

bool frmInvDetails::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int k = platform::KeyAscii(static_cast<QKeyEvent*>(event));
    bool handled = false;
    platform::RunHandler([&] { handled = filterKey(watched, k); });
    if (handled) return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool frmInvDetails::filterKey(QObject* control, int k) {
  if (k == 0) return false;
  auto is = [control](QComboBox* c) { return control == c || control == c->lineEdit(); };
  if (control == txtFamilyName || control == txtFirstName || control == txtPhones || control == txtPresent) {
    if (k != 13) return false;
    SaveInv();
    return true;
  }
  bool swallow = false;
  if (is(cmbGroup)) {
    swallow = true;
  } else if (is(cmbInvNum)) {
    swallow = !isDigit(k);
  } else if (is(cmbTableNo)) {
    swallow = !(k == 8 || isDigit(k));
  } else {
    return false;
  }
  if (k == 13) SaveInv();
  if (swallow) platform::Beep();
  return swallow;
}

void frmInvDetails::cmdOK_Click() {
  if (SaveInv()) Unload();
}

void frmInvDetails::cmdCancel_Click() {
  if (g_InvMode == 2) {
    platform::ErrorState err;
    err([&] { g_DB->Close(); });
  }
  Unload();
}

void frmInvDetails::closeEvent(QCloseEvent* event) { handleCloseEvent(event); }

// Whatever closes the window, a record an update still holds is released.
void frmInvDetails::Form_Unload(int& Cancel) {
  (void)Cancel;
  ReleaseHeldRecord();
}

QList<QWidget*> frmInvDetails::fieldEditors() const {
  return {txtFamilyName, txtFirstName,    txtPhones,        txtAddress, cmbInvNum,
          cmbGroup,      txtRemark,       chkConfirmOk,     chkConfirmNotOk, chkConfirmUnkown,
          cmbTableNo,    txtPresent,      optPresCheck,     optPresCashe,    optPresDiff};
}

void frmInvDetails::showEditors(bool visible) {
  for (QWidget* w : fieldEditors()) w->setVisible(visible);
}

void frmInvDetails::InitMultiSelection(bool& mode) {
  mode = !mode;
  showEditors(mode);
}

void frmInvDetails::ClearInv() {
  txtFamilyName->clear();
  txtFirstName->clear();
  txtPhones->clear();
  txtAddress->clear();
  txtRemark->clear();
  cmbInvNum->setEditText(QStringLiteral("2"));
  chkConfirmOk->setChecked(false);
  chkConfirmNotOk->setChecked(false);
  chkConfirmUnkown->setChecked(false);
  chkInvSent->setChecked(false);
  cmbTableNo->setEditText(QString());
  txtPresent->clear();
  optPresCheck->setChecked(true);  // the other two follow: one kind is selected
  if (g_MultiSel) {
    bool show = false;
    InitMultiSelection(show);
  }
}
