// The guest-list report: the ten grid columns, declined invitations in grey
// and struck through, page numbers and a summary of the list counters.
#include <QPainter>

#include "app/mdlWedding.h"
#include "printing/DataReports.h"
#include "platform/vberror.h"

using platform::ReportControl;
using platform::ReportFont;

namespace {
const QString kArial = QStringLiteral("Arial");
constexpr quint32 kLightGrey = 0xE0E0E0;
constexpr quint32 kGrey = 0x808080;

struct Column {
  const char* heading;
  const char* headingText;
  double headingLeft, headingWidth;
  const char* box;
  const char* field;
  const char* bBox;
  double boxLeft, boxWidth, bBoxWidth;
};

// Grid columns 0 to 9.
const Column kColumns[] = {
    {"lblFamilyName", "שם משפחה", 9638, 1125, "txtFamilyName", "FamilyName", "Text2", 9638, 1125, 1125},
    {"lblFirstName", "שם פרטי", 7937, 1710, "txtFirstName", "FirstName", "Text1", 7937, 1695, 1695},
    {"lblPhones", "טלפונים", 6237, 1695, "txtPhones", "Phones", "Text3", 6237, 1695, 1695},
    {"lblInvNum", "כמות", 5669, 570, "txtInvNum", "InvNum", "Text4", 5670, 555, 555},
    {"lblRemark", "הערות", 3969, 1700, "txtRemark", "Remark", "Text5", 3969, 1695, 1695},
    {"lblConfirm", "אישור", 3402, 570, "txtConfirm", "Confirm", "Text6", 3402, 570, 570},
    {"lblTableNo", "שולחן", 2835, 570, "txtTableNo", "TableNo", "Text7", 2835, 570, 570},
    {"lblInv", "הזמנה", 2268, 570, "txtInvStatus", "InvStatus", "Text8", 2268, 570, 570},
    {"Label2", "כתובת", 1134, 1140, "txtAddress", "Address", "txtBAddress", 1134, 1140, 1140},
    {"lblPres", "מתנה", 0, 1125, "txtPresent", "Present", "txtBPresent", 0, 1140, 1125},
};
}  // namespace

DataReport1::DataReport1() {
  auto& r = Layout;
  r.ReportWidth = 10770;
  r.LeftMargin = r.RightMargin = 440;
  r.TopMargin = r.BottomMargin = 1440;
  r.DefaultFont = ReportFont(kArial, 8.25);
  r.ReportHeader.Name = QStringLiteral("rptHeader");
  r.ReportHeader.Height = 1140;
  r.PageHeader.Name = QStringLiteral("rptPage");
  r.PageHeader.Height = 810;
  r.Detail.Name = QStringLiteral("rptDetails");
  r.Detail.Height = 270;
  r.PageFooter.Name = QStringLiteral("rptPageFooter");
  r.PageFooter.Height = 1380;
  r.ReportFooter.Name = QStringLiteral("rptReportFooter");
  r.ReportFooter.Height = 3774;

  ReportControl& title = r.addLabel(r.ReportHeader, QStringLiteral("lblReport"), 2268, 567, 6225, 570, QString());
  title.Font = ReportFont(kArial, 14.25, true);
  title.Alignment = Qt::AlignHCenter;
  r.addLabel(r.ReportHeader, QStringLiteral("lblDate"), 567, 0, 1140, 240, QString()).Font = ReportFont(kArial, 9.75);

  ReportControl& logo = r.addImage(r.PageHeader, QStringLiteral("imgMyLogo"), 8504, 0, 1995, 495);
  logo.Picture = printing::MyLogoPicture();
  logo.SizeMode = 1;

  const QFont text = ReportFont(kArial, 9.75);
  const QFont struck = ReportFont(kArial, 9.75, false, false, false, true);
  for (const Column& c : kColumns) {
    ReportControl& h = r.addLabel(r.PageHeader, QString::fromLatin1(c.heading), c.headingLeft, 567, c.headingWidth,
                                  240, QString::fromUtf8(c.headingText));
    h.Font = ReportFont(kArial, 9.75, true, false, true);
    h.Alignment = Qt::AlignRight;
    h.BackOpaque = true;
    h.BackColor = kLightGrey;

    const Qt::Alignment align = QByteArray(c.field) == "TableNo" ? Qt::AlignHCenter : Qt::AlignRight;
    ReportControl& plain = r.addTextBox(r.Detail, QString::fromLatin1(c.box), c.boxLeft, 0, c.boxWidth, 240,
                                        QString::fromLatin1(c.field));
    plain.Font = text;
    plain.Alignment = align;
    ReportControl& declined = r.addTextBox(r.Detail, QString::fromLatin1(c.bBox), c.boxLeft, 0, c.bBoxWidth, 240,
                                           QStringLiteral("B") + QString::fromLatin1(c.field));
    declined.Font = struck;
    declined.Alignment = align;
    declined.ForeColor = kGrey;
  }

  auto footer = [&](const QString& name, double left, double width, Qt::Alignment align) {
    ReportControl& l = r.addLabel(r.PageFooter, name, left, 1134, width, 240, QString());
    l.Font = text;
    l.Alignment = align;
  };
  footer(QStringLiteral("lblAppName"), 0, 2265, Qt::AlignLeft);
  footer(QStringLiteral("lblPageNum"), 4535, 1701, Qt::AlignHCenter);
  footer(QStringLiteral("lblAppWeb"), 7937, 2832, Qt::AlignRight);

  auto& f = r.ReportFooter;
  ReportControl& sum = r.addLabel(f, QStringLiteral("lblSummary"), 6236, 1017, 3975, 240, QStringLiteral(":סיכום כללי"));
  sum.Font = ReportFont(kArial, 11.25, true);
  sum.Alignment = Qt::AlignRight;
  sum.BackOpaque = true;
  sum.BackColor = kLightGrey;
  struct Total {
    double top;
    const char* caption;
    const char* value;
    bool bold;
  };
  const Total totals[] = {
      {1367, "מס' ההזמנות", "lblTotalInvNum", true},
      {1767, "מס' האנשים שאישרו הגעתם", "lblTotaCnfOkNum", true},
      {2167, "מס' האנשים שממתינים לאישורם", "lblTotaCnfUnkownNum", false},
      {2567, "מס' האנשים  שאישרו שאינם מגיעים", "lblTotaCnfNotOkNum", false},
      {2967, "סך כול המתנות הכספיות", "lblSumOfPresents", true},
  };
  int n = 0;
  for (const Total& t : totals) {
    ReportControl& caption = r.addLabel(f, QStringLiteral("lblTotalCaption%1").arg(++n), 7370, t.top, 2835, 240,
                                        QString::fromUtf8(t.caption));
    caption.Font = ReportFont(kArial, 9.75, t.bold);
    caption.Alignment = Qt::AlignRight;
    r.addLabel(f, QString::fromLatin1(t.value), 6236, t.top, 1140, 240, QString()).Font =
        ReportFont(kArial, 9.75, t.bold);
  }
  SetPreviewSize(12735, 8610);
}

void DataReport1::Form_Unload(int& Cancel) {
  (void)Cancel;
  DataReport_Terminate();
}

void DataReport1::DataReport_Terminate() {
  using namespace mdlWedding;
  platform::ErrorState err;
  err([] {
    if (g_ReportRS) g_ReportRS->Close();
  });
  g_ReportRS.reset();
  err([] {
    if (g_ReportConn) g_ReportConn->Close();
  });
  g_ReportConn.reset();
}

namespace printing {

QPixmap MyLogoPicture() {
  QPixmap pm(276, 54);
  pm.fill(Qt::white);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // Two rings, then the name.
  p.setPen(QPen(QColor(0xB0, 0x8D, 0x3C), 4));
  p.drawEllipse(QRectF(8, 11, 32, 32));
  p.drawEllipse(QRectF(26, 11, 32, 32));
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(30);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0x5A, 0x2D, 0x6E));
  p.drawText(QRect(70, 0, 200, 54), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Pelmora"));
  return pm;
}

}  // namespace printing
