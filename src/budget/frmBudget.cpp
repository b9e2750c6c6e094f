#include "frmBudget.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "platform/msgbox.h"
#include "platform/scrollframe.h"
#include "platform/shapes.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "platform/windowprint.h"
#include "resources/windowpictures.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;
using platform::MsgBox;

namespace {

const char* const kHeadings[frmBudget::kBranches] = {
    "שמלת כלה", "חליפת חתן", "נעלי כלה", "אביזרי אופנה", "עיצוב שיער", "איפור", "טבעות", "פרחים",
    "הזמנות", "רבנות", "רב", "אולם / גן אירועים", "קייטרינג", "שירותי בר", "מפיק לחתונה",
    "מסיבת אירוסין", "שבת חתן", "צילום סטילס", "צילום ווידאו", "שירותי מוזיקה", "עיצוב תאורה",
    "עיצוב חופה", "עיצוב שולחנות", "קבלת פנים", "שי מזכרת", "קישוט רכב", "שמירה ואבטחה",
    "גימיקים", "טיפים", "שונות"};

const QString kShekel = QStringLiteral("₪");
const QString kNotNumeric = QStringLiteral("השדות חייבים להכיל ערך מיספרי בלבד.");
const QString kAmountTooLarge = QStringLiteral("אחד השדות גדול מהערך המקסימלי המותר");
const QString kTotalTooLarge = QStringLiteral("התקציב הכולל גדול מהערך המקסימלי המותר");
const QString kStoreQuestion = QStringLiteral("הסכומים שהוקלדו עדיין לא נשמרו.\r\nהאם לשמור אותם?");

int px(double twips) { return vb::TwipsToPixelsX(twips); }
int py(double twips) { return vb::TwipsToPixelsY(twips); }
QRect twipsRect(int left, int top, int width, int height) { return QRect(px(left), py(top), px(width), py(height)); }

int rowTop(int row) { return 960 + 480 * row; }

QLabel* label(QWidget* parent, const QString& name, QRect at, Qt::Alignment align) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(at);
  l->setAlignment(align | Qt::AlignAbsolute);
  return l;
}

void setBackground(QWidget* w, const QColor& colour) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, colour);
  w->setPalette(pal);
}

QFont makeFont(const QString& family, double points, bool bold) {
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

bool isBlank(const QString& text) { return vb::Trim(text).isEmpty(); }

// A box's amount as the user means it, read once in the user's locale: a
// blank box is 0; beyond the limit either way it is too large (a negative one
// below the money range could not be stored either).
struct BoxReading {
  enum Kind { Amount, NotNumber, TooLarge } kind = Amount;
  vb::Currency amount;
};

BoxReading readBox(const QString& text) {
  if (isBlank(text)) return {};
  try {
    const std::optional<vb::Currency> amount = vb::Currency::fromTyped(text);
    if (!amount) return {BoxReading::NotNumber, {}};
    const qint64 limit = static_cast<qint64>(frmBudget::kMaxAmount) * vb::Currency::kScale;
    if (amount->raw() > limit || amount->raw() < -limit) return {BoxReading::TooLarge, {}};
    return {BoxReading::Amount, *amount};
  } catch (const platform::VbError&) {  // beyond the money range
    return {BoxReading::TooLarge, {}};
  }
}

// A box's amount for the total: the whole text when it is a number in the
// user's locale, else its leading number. Beyond the money range: Overflow.
vb::Currency boxAmount(const QString& text) {
  if (const std::optional<vb::Currency> amount = vb::Currency::fromTyped(text)) return *amount;
  return vb::Currency::fromDouble(vb::Val(text));
}

// An amount as the window shows it: the plain form in the user's locale.
QString shownAmount(const vb::Currency& amount) { return vb::ShownNumber(amount.toString()); }

// What a box would store, as the stored amount is shown; a text that stores
// no amount (no number, or one too large) stands for itself.
QString storedForm(const QString& text) {
  const BoxReading r = readBox(text);
  return r.kind == BoxReading::Amount ? r.amount.toString() : text;
}

}  // namespace

frmBudget::frmBudget() {
  setLayoutDirection(Qt::RightToLeft);
  setWindowTitle(QStringLiteral("מאזן תקציבי"));
  setWindowIcon(QIcon(resources::BudgetWindowIcon()));
  // The controls sit on a page of the designed client area, which scrolls
  // when a small or scaled screen cannot hold the whole window.
  const QSize designed(px(10350), py(9780));
  frame_ = new platform::ScrollFrame(this, designed);
  resize(designed);
  setBackground(this, vb::OleColor(0x8000000E));  // highlighted text
  buildControls(frame_->page());
}

frmBudget::~frmBudget() = default;

void frmBudget::buildControls(QWidget* page) {
  lblTitle = label(page, QStringLiteral("lblTitle"), twipsRect(480, 360, 9615, 375), Qt::AlignCenter);
  lblTitle->setFont(makeFont(QStringLiteral("MS Sans Serif"), 13.5, true));
  setBackground(lblTitle, vb::OleColor(0xE0E0E0));
  lblTitle->setText(QStringLiteral("מאזן תקציבי"));
  lblDate = label(page, QStringLiteral("lblDate"), twipsRect(600, 480, 1095, 255), Qt::AlignLeft | Qt::AlignVCenter);

  const QColor buttonFace = vb::OleColor(0x8000000F);
  for (int i = 0; i < kBranches; ++i) {
    const bool right = i < 15;
    const int top = rowTop(right ? i : i - 15);
    QLabel* heading = label(page, QStringLiteral("lblBudgetBranch(%1)").arg(i),
                            twipsRect(right ? 8520 : 3360, top, 1575, 375), Qt::AlignRight | Qt::AlignVCenter);
    setBackground(heading, buttonFace);
    heading->setText(QLatin1Char(' ') + QString::fromUtf8(kHeadings[i]));
    lblBudgetBranch.append(heading);

    auto* box = new QLineEdit(page);
    box->setObjectName(QStringLiteral("txtBudgetBranch(%1)").arg(i));
    box->setGeometry(twipsRect(right ? 5640 : 480, top, 2895, 375));
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    txtBudgetBranch.append(box);
    if (i > 0) setTabOrder(txtBudgetBranch[i - 1], box);

    QLabel* sign = label(page, QStringLiteral("lblShekel(%1)").arg(i), twipsRect(right ? 5400 : 240, top, 255, 255),
                         Qt::AlignCenter);
    sign->setFont(makeFont(QString(), 12, false));
    sign->setText(kShekel);
  }

  Shape1 = new platform::Shape(page, platform::Shape::Rectangle, 480, 8280, 9615, 855);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->SetFillColor(vb::OleColor(0xE0E0E0));
  Shape1->SetBorderColor(vb::OleColor(0xA0A0A0));
  lblSumCaption = label(page, QStringLiteral("lblSumCaption"), twipsRect(8640, 8520, 1335, 375),
                        Qt::AlignRight | Qt::AlignVCenter);
  lblSumCaption->setFont(makeFont(QStringLiteral("System"), 9.75, true));
  lblSumCaption->setText(QStringLiteral("ס\"כ הוצאות"));
  lblSum = label(page, QStringLiteral("lblSum"), twipsRect(5640, 8520, 2895, 375), Qt::AlignRight | Qt::AlignVCenter);
  lblSum->setFont(makeFont(QStringLiteral("System"), 9.75, true));
  setBackground(lblSum, vb::OleColor(0xC0C0C0));
  QLabel* sumSign = label(page, QStringLiteral("lblShekelSum"), twipsRect(5400, 8520, 255, 255), Qt::AlignCenter);
  sumSign->setFont(makeFont(QString(), 12, true));
  sumSign->setText(kShekel);

  cmdUpdate = new QPushButton(QStringLiteral("עדכן הוצאות"), page);
  cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
  cmdUpdate->setGeometry(twipsRect(720, 8520, 1455, 375));
  setTabOrder(txtBudgetBranch.last(), cmdUpdate);
  connect(cmdUpdate, &QPushButton::clicked, this, [this] { platform::RunHandler([this] { cmdUpdate_Click(); }); });

  imgPrint = new QLabel(page);
  imgPrint->setObjectName(QStringLiteral("imgPrint"));
  imgPrint->setGeometry(twipsRect(2400, 8520, 480, 480));
  imgPrint->setAlignment(Qt::AlignCenter);
  imgPrint->setPixmap(resources::PrintIcon());
  imgPrint->setToolTip(QStringLiteral("לחץ פעמיים להדפסת המאזן התקציבי"));
  imgPrint->setCursor(Qt::PointingHandCursor);
  imgPrint->installEventFilter(this);

  Line1 = new platform::LineControl(page, 0, 9480, 10320, 9480);
  Line1->setObjectName(QStringLiteral("Line1"));
  lblFooterTitle = label(page, QStringLiteral("lblFooterTitle"), twipsRect(120, 9480, 2655, 255),
                         Qt::AlignLeft | Qt::AlignVCenter);
  lblFooterTitle->setText(platform::AppTitle());
  lblFooterWeb = label(page, QStringLiteral("lblFooterWeb"), twipsRect(7560, 9480, 2655, 255),
                       Qt::AlignRight | Qt::AlignVCenter);
  lblFooterWeb->setText(kMakerWebAddress);
}

bool frmBudget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == imgPrint && event->type() == QEvent::MouseButtonDblClick) {
    platform::RunHandler([this] { imgPrint_DblClick(); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmBudget::Form_Load() {
  // A database that cannot be opened or read is reported; the window stays
  // open with its boxes as far as they were filled.
  platform::ErrorState err;
  err([this] {
    m_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    LoadBudget();
  });
  if (err.failed()) MsgBox(err.last().description, platform::vbExclamation);
}

void frmBudget::Form_Unload(int& Cancel) {
  if (HasUnstoredAmounts()) {
    switch (MsgBox(kStoreQuestion, platform::vbYesNoCancel | platform::vbQuestion)) {
      case platform::vbYes:
        if (!StoreBudget()) Cancel = 1;
        break;
      case platform::vbNo:
        break;
      default:
        Cancel = 1;
    }
    if (Cancel) return;
  }
  platform::ErrorState err;
  err([this] { m_RS->Close(); });
  err([this] { m_DB->Close(); });
  m_RS.SetNothing();
  m_DB.SetNothing();
}

void frmBudget::LoadBudget() {
  g_SQL = QStringLiteral("select * from WED_BUDGET");
  // The new recordset replaces the old one; an edit pending there is dropped.
  if (!m_RS.IsNothing()) {
    platform::ErrorState ignored;
    ignored([this] { m_RS->CancelUpdate(); });
    ignored([this] { m_RS->Close(); });
    m_RS.SetNothing();
  }
  m_RS = m_DB->OpenRecordset(g_SQL);
  if (m_RS->Bof() && m_RS->Eof()) {
    for (QLineEdit* box : txtBudgetBranch) box->setText(QStringLiteral("0"));
    m_bNew = true;
  } else {
    for (int i = 0; i < kBranches; ++i) {
      const QVariant v = m_RS->Fields(QString::fromLatin1(kBudgetFields[i])).Value();
      txtBudgetBranch[i]->setText(v.canConvert<vb::Currency>() ? shownAmount(v.value<vb::Currency>()) : QString());
    }
    m_bNew = false;
  }
  m_Loaded.clear();
  for (QLineEdit* box : txtBudgetBranch) m_Loaded << storedForm(box->text());
  lblSum->setText(shownAmount(SumOfBudget()));
  lblDate->setText(vb::DateText(vb::Today().date()));
}

bool frmBudget::HasUnstoredAmounts() const {
  for (int i = 0; i < kBranches; ++i)
    if (storedForm(txtBudgetBranch[i]->text()) != m_Loaded.value(i, QStringLiteral("0"))) return true;
  return false;
}

vb::Currency frmBudget::SumOfBudget() {
  platform::ErrorState err;
  vb::Currency sum;
  for (QLineEdit* box : txtBudgetBranch) err([&] { sum = sum + boxAmount(box->text()); });
  if (!err.failed()) return sum;
  const platform::VbError& e = err.last();
  if (e.number == 6)
    MsgBox(kTotalTooLarge);
  else
    MsgBox(e.description, platform::vbOKOnly, QStringLiteral("Error ") + QString::number(e.number));
  return vb::Currency();
}

bool frmBudget::ValidateBudget() {
  for (QLineEdit* box : txtBudgetBranch) {
    if (readBox(box->text()).kind == BoxReading::NotNumber) {
      box->setFocus();
      return false;
    }
  }
  return true;
}

void frmBudget::cmdUpdate_Click() { StoreBudget(); }

bool frmBudget::StoreBudget() {
  if (!ValidateBudget()) {
    MsgBox(kNotNumeric);
    return false;
  }
  platform::ErrorState err;
  err([this] {
    if (m_bNew)
      m_RS->AddNew();
    else
      m_RS->Edit();
  });
  QVector<vb::Currency> amounts;
  for (QLineEdit* box : txtBudgetBranch) {
    const BoxReading r = readBox(box->text());
    if (r.kind == BoxReading::TooLarge) {
      err([this] { m_RS->CancelUpdate(); });
      MsgBox(kAmountTooLarge);
      box->setFocus();
      return false;
    }
    amounts << r.amount;
  }
  for (int i = 0; i < kBranches; ++i)
    err([&] { m_RS->Fields(QString::fromLatin1(kBudgetFields[i])).SetValue(QVariant::fromValue(amounts[i])); });
  if (!err.failed()) err([this] { m_RS->Update(); });
  if (err.failed()) {
    // Nothing was stored: say why and keep what was typed, so it can be stored again.
    const platform::VbError e = err.last();
    platform::ErrorState ignored;
    ignored([this] { m_RS->CancelUpdate(); });
    MsgBox(e.description, platform::vbExclamation);
    return false;
  }
  platform::ErrorState reload;
  reload([this] { LoadBudget(); });
  return true;
}

// Printed on the printer chosen in the tables map's dialog, as the seat view is.
void frmBudget::imgPrint_DblClick() {
  platform::PrintWindowImage(frmTableMap::Default().cdlPrinter, frame_->page(), imgPrint,
                             QStringLiteral("המאזן התקציבי הודפס"));
}

// Every control on its own, by name and image, instead of the window's image.
void frmBudget::PrintBudget() {
  platform::PrintWindowControls(frmTableMap::Default().cdlPrinter, frame_->page(),
                                QStringLiteral("המאזן התקציבי הודפס"));
}
