#include "printing/frmPrint.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "printing/DataReports.h"
#include "printing/mdlDrvScan.h"

using namespace mdlWedding;
using mdlFileINI::ReadINI;
using mdlFileINI::WriteINI;

namespace {

const QString kPrint = QStringLiteral("Print");

QRect twips(double left, double top, double width, double height) {
  return QRect(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), vb::TwipsToPixelsX(width),
               vb::TwipsToPixelsY(height));
}

// A value that does not convert gives the key's default.
bool readBool(const QString& key, const QString& def) {
  const QString text = ReadINI(IniFile(), kPrint, key, def);
  try {
    return vb::CBool(text);
  } catch (const platform::VbError&) {
    return vb::CBool(def);
  }
}

qint32 readColour(const QString& key) {
  const QString text = ReadINI(IniFile(), kPrint, key, QStringLiteral("0"));
  try {
    return vb::CLng(text);
  } catch (const platform::VbError&) {
    return 0;
  }
}

// Right-aligned means at the right edge; the window's direction does not mirror it.
QLabel* label(QWidget* parent, const QString& text, QRect at, Qt::Alignment align = Qt::AlignRight) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(at);
  l->setAlignment(align | Qt::AlignAbsolute | Qt::AlignVCenter);
  return l;
}

QFont boldSans() {
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSizeF(8.25);
  f.setBold(true);
  return f;
}

void setForeColour(QLabel* l, const QColor& c) {
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, c);
  l->setPalette(p);
}

}  // namespace

namespace printing {

PreviewShape::PreviewShape(QWidget* parent, bool rounded, Qt::PenStyle style)
    : QWidget(parent), BorderColor(Qt::black), Rounded(rounded), Style(style) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PreviewShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, Rounded);
  p.setPen(QPen(BorderColor, 1, Style));
  p.setBrush(FillColor.isValid() ? QBrush(FillColor) : QBrush(Qt::NoBrush));
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (Rounded)
    p.drawRoundedRect(r, 8, 8);
  else
    p.drawRect(r);
}

PreviewLine::PreviewLine(QWidget* parent) : QWidget(parent), BorderColor(Qt::black) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PreviewLine::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(BorderColor, 1, Qt::DotLine));
  p.drawLine(0, 0, width(), 0);
}

}  // namespace printing

frmPrint::frmPrint() : QDialog(nullptr) {
  setLayoutDirection(Qt::RightToLeft);
  setModal(true);
  setFixedSize(vb::TwipsToPixelsX(5130), vb::TwipsToPixelsY(2250));

  // Envelope labels.
  framLabelPrint = new QFrame(this);
  framLabelPrint->setFrameShape(QFrame::StyledPanel);
  framLabelPrint->setGeometry(twips(120, 0, 4935, 2175));
  chkLabelFrame = new QCheckBox(QStringLiteral("מסגרת למדבקה"), framLabelPrint);
  chkLabelFrame->setGeometry(twips(2640, 720, 2055, 255));
  chkLabelAddress = new QCheckBox(QStringLiteral("כתובת למשלוח הזמנה"), framLabelPrint);
  chkLabelAddress->setGeometry(twips(2520, 1080, 2175, 255));
  shpLabelFrame = new printing::PreviewShape(framLabelPrint, true, Qt::SolidLine);
  shpLabelFrame->setGeometry(twips(120, 480, 2295, 855));
  lblLabelName = label(framLabelPrint, QStringLiteral("לפלוני"), twips(1200, 645, 975, 255));
  lblLabelName->setFont(boldSans());
  lblLabelAddress = label(framLabelPrint, QStringLiteral("כתובת למשלוח הזמנה"), twips(480, 960, 1695, 255));
  cmdPrintLabel = new QPushButton(QStringLiteral("...הדפס מדבקות"), framLabelPrint);
  cmdPrintLabel->setGeometry(twips(120, 1680, 1695, 375));

  // Seating notes.
  framSittingNotePrint = new QFrame(this);
  framSittingNotePrint->setFrameShape(QFrame::StyledPanel);
  framSittingNotePrint->setGeometry(twips(120, 0, 4935, 2175));
  chkNoteFrame = new QCheckBox(QStringLiteral("מסגרת חיתוך"), framSittingNotePrint);
  chkNoteFrame->setGeometry(twips(2640, 720, 2055, 255));
  lstStyles = new QListWidget(framSittingNotePrint);
  lstStyles->setGeometry(twips(2760, 1080, 1935, 645));
  lstStyles->setSortingEnabled(false);
  lstStyles->installEventFilter(this);
  imgBG = new QLabel(framSittingNotePrint);
  imgBG->setGeometry(twips(360, 780, 1455, 555));
  shpNoteFrame = new printing::PreviewShape(framSittingNotePrint, false, Qt::DotLine);
  shpNoteFrame->setGeometry(twips(360, 240, 1455, 1095));
  LineNoteFrame = new printing::PreviewLine(framSittingNotePrint);
  LineNoteFrame->setGeometry(twips(360, 780, 1800 - 360, 15));
  lblNoteName = label(framSittingNotePrint, QStringLiteral("פלוני"), twips(480, 885, 975, 255));
  lblNoteName->setFont(boldSans());
  lblNoteTable = label(framSittingNotePrint, QStringLiteral("מס' שולחן"), twips(360, 1035, 1095, 255),
                       Qt::AlignHCenter);
  for (QLabel* l : {lblNoteName, lblNoteTable}) l->setAttribute(Qt::WA_TranslucentBackground);
  cmdPrintNote = new QPushButton(QStringLiteral("...הדפס פתקים"), framSittingNotePrint);
  cmdPrintNote->setGeometry(twips(120, 1680, 1695, 375));

  // Colour, in both modes.
  Frame1 = new QFrame(this);
  Frame1->setFrameShape(QFrame::NoFrame);
  Frame1->setGeometry(twips(2880, 240, 1935, 495));
  Label1 = label(Frame1, QStringLiteral("צבע"), twips(120, 120, 615, 255));
  shpColor = new printing::PreviewShape(Frame1, false, Qt::SolidLine);
  shpColor->setGeometry(twips(840, 120, 855, 255));
  cmdColor = new QPushButton(QStringLiteral("..."), Frame1);
  cmdColor->setGeometry(twips(1680, 120, 255, 255));

  auto on = [this](auto* sender, auto signal, void (frmPrint::*handler)()) {
    connect(sender, signal, this, [this, handler] { platform::RunHandler([&] { (this->*handler)(); }); });
  };
  // A box set by the program runs its click handling, as a user's click does.
  on(chkLabelFrame, &QCheckBox::toggled, &frmPrint::chkLabelFrame_Click);
  on(chkLabelAddress, &QCheckBox::toggled, &frmPrint::chkLabelAddress_Click);
  on(chkNoteFrame, &QCheckBox::toggled, &frmPrint::chkNoteFrame_Click);
  connect(lstStyles, &QListWidget::currentRowChanged, this, [this] {
    if (!filling_) platform::RunHandler([&] { lstStyles_Click(); });
  });
  on(cmdColor, &QPushButton::clicked, &frmPrint::cmdColor_Click);
  on(cmdPrintLabel, &QPushButton::clicked, &frmPrint::cmdPrintLabel_Click);
  on(cmdPrintNote, &QPushButton::clicked, &frmPrint::cmdPrintNote_Click);
}

void frmPrint::Form_Load() {
  if (g_PrintMode == 1) {
    g_PrintFrame = readBool(QStringLiteral("Label Frame"), QStringLiteral("False"));
    g_PrintColor = readColour(QStringLiteral("Label Color"));
    g_LabelAddress = readBool(QStringLiteral("Label Address"), QStringLiteral("True"));
    setWindowTitle(QStringLiteral("עיצוב מדבקות"));
    framLabelPrint->setVisible(true);
    framSittingNotePrint->setVisible(false);
  } else if (g_PrintMode == 2) {
    g_PrintFrame = readBool(QStringLiteral("Note Frame"), QStringLiteral("False"));
    g_PrintColor = readColour(QStringLiteral("Note Color"));
    g_NoteBackground = ReadINI(IniFile(), kPrint, QStringLiteral("Note Background"), printing::kNoBackground);
    setWindowTitle(QStringLiteral("עיצוב פתקי הושבה"));
    framSittingNotePrint->setVisible(true);
    framLabelPrint->setVisible(false);
    FillStyles();
    lstStyles_Click();
  }
  imgBG->setScaledContents(true);
  applyColour();
  chkLabelFrame->setChecked(g_PrintFrame);
  chkNoteFrame->setChecked(g_PrintFrame);
  chkLabelAddress->setChecked(g_LabelAddress);
  chkLabelFrame_Click();
  chkNoteFrame_Click();
  chkLabelAddress_Click();
}

void frmPrint::applyColour() {
  const QColor c = vb::OleColor(quint32(g_PrintColor));
  shpColor->FillColor = c;
  for (QLabel* l : {lblLabelName, lblLabelAddress, lblNoteName, lblNoteTable}) setForeColour(l, c);
  shpLabelFrame->BorderColor = c;
  shpNoteFrame->BorderColor = c;
  LineNoteFrame->BorderColor = c;
  for (QWidget* w : {static_cast<QWidget*>(shpColor), static_cast<QWidget*>(shpLabelFrame),
                     static_cast<QWidget*>(shpNoteFrame), static_cast<QWidget*>(LineNoteFrame)})
    w->update();
}

void frmPrint::chkLabelFrame_Click() {
  const bool on = chkLabelFrame->isChecked();
  shpLabelFrame->setVisible(on);
  g_PrintFrame = on;
}

void frmPrint::chkNoteFrame_Click() {
  const bool on = chkNoteFrame->isChecked();
  shpNoteFrame->setVisible(on);
  LineNoteFrame->setVisible(on);
  g_PrintFrame = on;
}

void frmPrint::chkLabelAddress_Click() {
  const bool on = chkLabelAddress->isChecked();
  lblLabelAddress->setVisible(on);
  g_LabelAddress = on;
}

void frmPrint::lstStyles_Click() {
  QListWidgetItem* item = lstStyles->currentItem();
  g_NoteBackground = item ? item->text() : QString();
  if (g_NoteBackground != printing::kNoBackground) {
    // A picture that does not load leaves the preview without one.
    QPixmap picture;
    try {
      picture = printing::LoadPicture(printing::DesignFolder() + g_NoteBackground);
    } catch (const platform::VbError&) {
    }
    imgBG->setPixmap(picture);
    imgBG->setVisible(true);
  } else {
    imgBG->setVisible(false);
  }
}

void frmPrint::lstStyles_KeyPress(int& KeyAscii) { KeyAscii = 0; }

bool frmPrint::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstStyles && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
      int keyAscii = text.at(0).unicode();
      lstStyles_KeyPress(keyAscii);
      return keyAscii == 0;  // typing never moves the selection
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmPrint::FillStyles() {
  filling_ = true;
  lstStyles->clear();
  lstStyles->addItem(printing::kNoBackground);
  const qint16 n = mdlDrvScan::FindFiles(printing::DesignFolder() + QStringLiteral("*.gif"));
  bool found = false;
  for (int i = 1; i <= n; ++i) {
    const QString name = mdlDrvScan::g_FoundFiles.value(i);
    if (name == g_NoteBackground) found = true;
    lstStyles->addItem(name);
  }
  if (vb::Trim(g_NoteBackground).isEmpty() || !found) g_NoteBackground = printing::kNoBackground;
  filling_ = false;
  const auto matches = lstStyles->findItems(g_NoteBackground, Qt::MatchExactly | Qt::MatchCaseSensitive);
  QListWidgetItem* chosen = matches.isEmpty() ? lstStyles->item(0) : matches.first();
  if (lstStyles->currentItem() == chosen)
    lstStyles_Click();
  else
    lstStyles->setCurrentItem(chosen);  // runs lstStyles_Click
}

void frmPrint::cmdColor_Click() {
  // A cancel keeps the colour chosen before.
  CommonDialog1.CancelError = true;
  bool chosen = true;
  try {
    CommonDialog1.ShowColor();
  } catch (const platform::VbError&) {
    chosen = false;
  }
  CommonDialog1.Flags = 2;
  if (!chosen) return;
  g_PrintColor = qint32(vb::ToOleColor(CommonDialog1.Color));
  applyColour();
}

void frmPrint::cmdPrintLabel_Click() {
  mdlFileINI::SettingsCommand command;  // the design is printed even when it could not be kept
  WriteINI(IniFile(), kPrint, QStringLiteral("Label Address"), vb::Str(g_LabelAddress));
  WriteINI(IniFile(), kPrint, QStringLiteral("Label Frame"), vb::Str(g_PrintFrame));
  WriteINI(IniFile(), kPrint, QStringLiteral("Label Color"), vb::Str(qint64(g_PrintColor)));
  command.Commit();
  frmPrint::Unload();
  frmPelmora::Default().PrintLabels();
}

void frmPrint::cmdPrintNote_Click() {
  mdlFileINI::SettingsCommand command;
  WriteINI(IniFile(), kPrint, QStringLiteral("Note Frame"), vb::Str(g_PrintFrame));
  WriteINI(IniFile(), kPrint, QStringLiteral("Note Color"), vb::Str(qint64(g_PrintColor)));
  WriteINI(IniFile(), kPrint, QStringLiteral("Note Background"), g_NoteBackground);
  command.Commit();
  frmPrint::Unload();
  frmPelmora::Default().PrintSittingNote();
}
