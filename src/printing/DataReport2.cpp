// Envelope labels: two labels to a row, fourteen to an A4 sheet.
#include "printing/DataReports.h"

using platform::ReportControl;
using platform::ReportFont;

DataReport2::DataReport2() {
  auto& r = Layout;
  r.ReportWidth = 11865;
  r.FixedSheet = true;  // made for A4 sheets
  r.LeftMargin = r.RightMargin = r.TopMargin = r.BottomMargin = 0;
  r.DefaultFont = ReportFont(QStringLiteral("Arial"), 8.25);
  r.PageHeader.Height = 750;  // no controls: the sheet's free top edge
  r.Detail.Name = QStringLiteral("rptDetails");
  r.Detail.Height = 2160;

  auto& d = r.Detail;
  r.addShape(d, QStringLiteral("Shape1"), 5669, 0, 5565, 2160, ReportControl::RoundedRectangle);
  r.addShape(d, QStringLiteral("Shape2"), 0, 0, 5565, 2160, ReportControl::RoundedRectangle);
  const QFont name = ReportFont(QStringLiteral("Arial"), 12, true);
  const QFont address = ReportFont(QStringLiteral("Arial"), 12);
  auto box = [&](const QString& control, double left, double top, double width, double height,
                 const QString& field, const QFont& font) -> ReportControl& {
    ReportControl& c = r.addTextBox(d, control, left, top, width, height, field);
    c.Font = font;
    c.Alignment = Qt::AlignRight;
    return c;
  };
  // A name is made smaller to fit, never cut.
  box(QStringLiteral("txtEnvLabel_1"), 6803, 330, 3800, 465, QStringLiteral("InvName_1"), name).Fit =
      platform::TextFit::ShrinkWhole;
  box(QStringLiteral("txtAddress_1"), 6803, 800, 3800, 1200, QStringLiteral("Address_1"), address);
  box(QStringLiteral("txtEnvLabel_2"), 1000, 330, 3795, 465, QStringLiteral("InvName_2"), name).Fit =
      platform::TextFit::ShrinkWhole;
  box(QStringLiteral("txtAddress_2"), 1000, 800, 3795, 1200, QStringLiteral("Address_2"), address);
  SetPreviewSize(12885, 9600);
}
