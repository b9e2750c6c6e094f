#include "frmTable.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>

#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "platform/msgbox.h"
#include "platform/shapes.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "platform/windowprint.h"
#include "resources/windowpictures.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;
using platform::MsgBox;

namespace {

const QString kFree = QStringLiteral("פנוי");
const QString kTableNumCaption = QStringLiteral("שולחן מס'");

struct Pos {
  int left, top;
};

// Chair k of a table of n seats, clockwise from the top.
const QVector<QVector<Pos>> kChairLayout = {
    {},
    {{2400, 360}},
    {{2400, 360}, {4440, 960}},
    {{2400, 360}, {4440, 960}, {4680, 1800}},
    {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}},
    {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}, {2400, 3240}},
    {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}, {2400, 3240}, {480, 2640}},
    {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}, {2400, 3240}, {480, 2640}, {240, 1800}},
    {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}, {2400, 3240}, {480, 2640}, {240, 1800}, {480, 960}},
    {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}, {3480, 3360}, {1440, 3360}, {480, 2640}, {240, 1800},
     {480, 960}},
    {{3480, 240}, {4440, 960}, {4680, 1800}, {4440, 2640}, {3480, 3360}, {1440, 3360}, {480, 2640}, {240, 1800},
     {480, 960}, {1440, 240}},
    {{3480, 240}, {4440, 960}, {4680, 1800}, {4440, 2640}, {4320, 3480}, {2520, 3120}, {720, 3480}, {480, 2640},
     {240, 1800}, {480, 960}, {1440, 240}},
    {{2400, 360}, {4080, 600}, {4440, 1200}, {4800, 1800}, {4440, 2400}, {4080, 3000}, {2400, 3240}, {720, 3000},
     {360, 2400}, {120, 1800}, {360, 1200}, {720, 600}},
    {{2520, 360}, {4200, 360}, {4560, 960}, {4920, 1560}, {4920, 2160}, {4560, 2760}, {3360, 3360}, {1560, 3360},
     {480, 2760}, {120, 2160}, {120, 1560}, {480, 960}, {840, 360}},
    {{2520, 360}, {4200, 360}, {4560, 960}, {4920, 1560}, {4920, 2160}, {4560, 2760}, {4200, 3360}, {2520, 3360},
     {840, 3360}, {480, 2760}, {120, 2160}, {120, 1560}, {480, 960}, {840, 360}},
    {{3360, 240}, {4920, 360}, {4920, 960}, {4800, 1560}, {4800, 2160}, {4560, 2760}, {4200, 3360}, {2520, 3480},
     {840, 3360}, {480, 2760}, {240, 2160}, {240, 1560}, {120, 960}, {120, 360}, {1800, 240}},
};

int px(double twips) { return vb::TwipsToPixelsX(twips); }
int py(double twips) { return vb::TwipsToPixelsY(twips); }
QRect twipsRect(int left, int top, int width, int height) { return QRect(px(left), py(top), px(width), py(height)); }

QLabel* label(QWidget* parent, QRect at, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(at);
  l->setAlignment(align | Qt::AlignAbsolute);
  return l;
}

void setTextColour(QLabel* l, quint32 ole) {
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, vb::OleColor(ole));
  l->setPalette(pal);
}

}  // namespace

ChairBox::ChairBox(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);  // typed keys are refused by the window; this also keeps out paste and drop
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setFrameShape(QFrame::Box);
  setContextMenuPolicy(Qt::NoContextMenu);
  document()->setDocumentMargin(1);
  setViewportMargins(0, 0, 0, 0);
}

void ChairBox::SetText(const QString& text) {
  text_ = text;
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setPlainText(shown);
  QTextCursor c(document());
  c.select(QTextCursor::Document);
  QTextBlockFormat f;
  f.setAlignment(Qt::AlignHCenter);
  c.mergeBlockFormat(f);
}

void ChairBox::SetBackColor(const QColor& colour) {
  back_ = colour;
  QPalette pal = palette();
  pal.setColor(QPalette::Base, colour);
  pal.setColor(QPalette::Window, colour);
  setPalette(pal);
}

frmTable::frmTable() {
  setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint);
  setLayoutDirection(Qt::RightToLeft);
  setWindowTitle(QStringLiteral("סידור הושבה בשולחן"));
  setFixedSize(px(6615), py(4800));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, vb::OleColor(0x80000009));  // caption text
  setPalette(pal);

  Shape2 = new platform::Shape(this, platform::Shape::Circle, 2160, 1200, 2175, 1695);
  Shape2->SetFillColor(vb::OleColor(0xFFC0C0));

  lblTableNum = label(this, twipsRect(2760, 1800, 975, 495), Qt::AlignHCenter | Qt::AlignVCenter);
  QFont tableFont(QStringLiteral("MS Sans Serif"));
  tableFont.setPointSizeF(9.75);
  tableFont.setBold(true);
  lblTableNum->setFont(tableFont);
  lblTableNum->setWordWrap(true);
  lblTableNum->setText(kTableNumCaption);

  ChairBox* first = new ChairBox(this);
  first->setGeometry(twipsRect(2520, 360, kChairWidth, kChairHeight));
  first->SetBackColor(vb::OleColor(kComingColour));
  first->SetText(kFree);
  txtChair.append(first);
  first->installEventFilter(this);

  // The legend: each text ends just before its colour box.
  Label1 = label(this, twipsRect(480, 3960, 1815, 255));
  Label1->setContentsMargins(0, 0, px(2295 - 2160 + 60), 0);
  setTextColour(Label1, 0x404040);
  Label1->setText(QStringLiteral("אורח שאישר כי יגיע"));
  Shape1 = new platform::Shape(this, platform::Shape::Rectangle, 2160, 4000, 255, 135);
  Shape1->SetFillColor(vb::OleColor(kComingColour));
  Label2 = label(this, twipsRect(240, 4200, 2055, 255));
  Label2->setContentsMargins(0, 0, px(2295 - 2160 + 60), 0);
  setTextColour(Label2, 0x404040);
  Label2->setText(QStringLiteral("אורח שלא ידוע אם יגיע"));
  Shape3 = new platform::Shape(this, platform::Shape::Rectangle, 2160, 4230, 255, 135);
  Shape3->SetFillColor(vb::OleColor(kUnansweredColour));

  imgLogo = new QLabel(this);
  imgLogo->setGeometry(twipsRect(4080, 3960, 1800, 405));
  imgLogo->setScaledContents(true);
  imgLogo->setPixmap(resources::WindowLogo(imgLogo->size()));

  // Over the logo's clear lower part.
  lblNumOfPpl = label(this, twipsRect(3120, 4200, 2775, 255));

  imgPrint = new QLabel(this);
  imgPrint->setGeometry(twipsRect(6000, 3840, 480, 480));
  imgPrint->setAlignment(Qt::AlignCenter);
  imgPrint->setPixmap(resources::PrintIcon());
  imgPrint->setToolTip(QStringLiteral("לחץ פעמיים להדפסת סידור ההושבה לשולחן זה"));
  imgPrint->setCursor(Qt::PointingHandCursor);
  imgPrint->installEventFilter(this);

  Line1 = new platform::LineControl(this, 0, 4560, 6600, 4560);
  lblFooterTitle = label(this, twipsRect(120, 4560, 2655, 255), Qt::AlignLeft | Qt::AlignVCenter);
  lblFooterTitle->setText(platform::AppTitle());
  lblFooterWeb = label(this, twipsRect(3840, 4560, 2655, 255));
  lblFooterWeb->setText(kMakerWebAddress);
  for (QLabel* l : {lblFooterTitle, lblFooterWeb}) setTextColour(l, 0x808080);
}

ChairBox* frmTable::newChair() {
  ChairBox* model = txtChair.first();
  auto* box = new ChairBox(this);
  box->setGeometry(model->geometry());
  box->SetBackColor(model->BackColor());
  box->hide();
  box->installEventFilter(this);
  txtChair.append(box);
  return box;
}

ChairBox* frmTable::chair(int index) const {
  if (index < 0 || index >= txtChair.size())
    platform::Raise(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
  return txtChair[index];
}

void frmTable::Form_Load() {
  platform::ErrorState err;
  txtChair[0]->SetText(kFree);

  bool opened = err([] {
    g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    g_SQL = QStringLiteral("select * from PELMORA");
    g_RS = g_DB->OpenRecordset(g_SQL);
  });
  if (opened) {
    bool empty = false;
    err([&] { empty = g_RS->Bof() && g_RS->Eof(); });
    if (empty) {
      MsgBox(QStringLiteral("רשימת המוזמנים ריקה."));
      err([] { g_DB->Close(); });
      return;
    }
    err([] { g_RS->MoveFirst(); });
    bool more = true;
    while (more) {
      err([&] {
        if (g_RS->Eof()) {
          more = false;
          return;
        }
        const QVariant table = g_RS->Fields(QStringLiteral("TABLE_NO")).Value();
        if (!table.isNull() && table.isValid() && table.toInt() == g_SelTable) {
          const QString name = g_RS->Fields(QStringLiteral("FAMILY_NAME")).Value().toString() + g_NewLine +
                               g_RS->Fields(QStringLiteral("FIRST_NAME")).Value().toString();
          const int count = vb::CByte(g_RS->Fields(QStringLiteral("INV_NUM")).Value());
          const int confirm = vb::CByte(g_RS->Fields(QStringLiteral("CONFIRM")).Value());
          SeatInvitation(name, static_cast<quint8>(count), static_cast<quint8>(confirm));
        }
      });
      // A record that cannot be passed ends the walk rather than repeat it.
      if (more && !err([] { g_RS->MoveNext(); })) more = false;
    }
  }
  // A guest table that cannot be read seats nobody; the chairs asked for are
  // still placed, and the missing ones reported, as for a stale count.
  PlaceChairs(g_SelTablePeople);
  lblTableNum->setText(QStringLiteral("שולחן מס' ") + QString::number(g_SelTable));
  lblNumOfPpl->setText(QStringLiteral("שולחן של ") + QString::number(g_SelTablePeople) +
                       QStringLiteral(" מוזמנים"));
  err([] { g_DB->Close(); });
}

void frmTable::SeatInvitation(const QString& name, quint8 count, quint8 confirm) {
  platform::ErrorState err;
  for (int person = 0; person < count; ++person) {
    err([&] {
      if (vb::Trim(txtChair[0]->Text()) != kFree) newChair();
      ChairBox* box = txtChair.last();
      box->show();
      box->SetText(name);
      if (confirm == 1)
        box->SetBackColor(vb::OleColor(kComingColour));
      else if (confirm == 0 || confirm == 3)
        box->SetBackColor(vb::OleColor(kUnansweredColour));
    });
  }
  if (err.failed()) MsgBox(QStringLiteral("ארעה שגיאה בנסיון סידור השולחן"));
}

void frmTable::PlaceChairs(quint8 seats) {
  platform::ErrorState err;
  if (seats == 0) return;
  if (seats > 15) {
    MsgBox(QStringLiteral("מספר המושבים לשולחן גבוה מהמותר"));
    return;
  }
  if (seats == 15) {
    const int narrow = px(kChairWidth - 120);
    err([&] { chair(0)->resize(narrow, chair(0)->height()); });
    err([&] { chair(14)->resize(narrow, chair(14)->height()); });
  }
  const QVector<Pos>& row = kChairLayout[seats];
  for (int k = 0; k < seats; ++k) {
    err([&] {
      ChairBox* box = chair(k);
      box->move(px(row[k].left), py(row[k].top));
    });
  }
  if (err.failed()) MsgBox(QStringLiteral("ארעה שגיאה ביצירת השולחן"));
}

void frmTable::txtChair_KeyPress(int Index, int& KeyAscii) {
  (void)Index;
  KeyAscii = 0;
  platform::Beep();
}

bool frmTable::eventFilter(QObject* watched, QEvent* event) {
  if (watched == imgPrint && event->type() == QEvent::MouseButtonDblClick) {
    platform::RunHandler([this] { imgPrint_DblClick(); });
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    const int index = txtChair.indexOf(static_cast<ChairBox*>(watched));
    if (index >= 0) {
      auto* key = static_cast<QKeyEvent*>(event);
      // Arrows, Tab and the like move as usual.
      if (key->text().isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
      int keyAscii = key->text().at(0).unicode();
      platform::RunHandler([&] { txtChair_KeyPress(index, keyAscii); });
      return keyAscii == 0;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmTable::imgPrint_DblClick() {
  platform::PrintWindowImage(frmTableMap::Default().cdlPrinter, this, imgPrint,
                             QStringLiteral("סידור ההושבה לשולחן הודפס"));
}
