// Seating notes: fold-over cards, two to a row; name and table on the lower
// half, over the background picture.
#include "printing/DataReports.h"

using platform::ReportControl;
using platform::ReportFont;

DataReport3::DataReport3() {
  auto& r = Layout;
  r.ReportWidth = 8510;
  r.FixedSheet = true;  // made for A4 sheets
  r.LeftMargin = r.RightMargin = r.TopMargin = r.BottomMargin = 1440;
  r.DefaultFont = ReportFont(QStringLiteral("Arial"), 8.25);
  r.ReportHeader.Name = QStringLiteral("rptHeader");
  r.PageHeader.Name = QStringLiteral("rptPage");
  r.Detail.Name = QStringLiteral("rptDetails");
  r.Detail.Height = 4470;  // a card of 3975 and a gap of 495
  r.ReportFooter.Height = 105;

  auto& d = r.Detail;
  // The pictures first: frames, fold lines and texts are drawn over them.
  r.addImage(d, QStringLiteral("BgImg_1"), 0, 1950, 3960, 2025);
  r.addImage(d, QStringLiteral("BgImg_2"), 4536, 1950, 3960, 2025);
  auto frame = [&](const QString& name, double left, double width) {
    r.addShape(d, name, left, 0, width, 3975, ReportControl::Rectangle).BorderStyle = Qt::DotLine;
  };
  frame(QStringLiteral("Shape1"), 0, 3975);
  frame(QStringLiteral("Shape2"), 4535, 3960);
  r.addLine(d, QStringLiteral("LineSpliter1"), 0, 1950, 3975, 0).BorderStyle = Qt::DotLine;
  r.addLine(d, QStringLiteral("LineSpliter2"), 4536, 1950, 3960, 0).BorderStyle = Qt::DotLine;
  const QFont name = ReportFont(QStringLiteral("Arial"), 14.25, true);
  const QFont table = ReportFont(QStringLiteral("Arial"), 14.25, false, true);
  auto box = [&](const QString& control, double left, double top, double width, double height,
                 const QString& field, const QFont& font) -> ReportControl& {
    ReportControl& c = r.addTextBox(d, control, left, top, width, height, field);
    c.Font = font;
    c.Alignment = Qt::AlignHCenter;
    return c;
  };
  // A name is made smaller to fit, never cut.
  box(QStringLiteral("txtNoteName_1"), 350, 2400, 3250, 360, QStringLiteral("NoteName_1"), name).Fit =
      platform::TextFit::ShrinkWhole;
  box(QStringLiteral("txtNoteTableNo_1"), 350, 2835, 3250, 345, QStringLiteral("NoteTableNo_1"), table);
  box(QStringLiteral("txtNoteName_2"), 4917, 2400, 3255, 360, QStringLiteral("NoteName_2"), name).Fit =
      platform::TextFit::ShrinkWhole;
  box(QStringLiteral("txtNoteTableNo_2"), 4917, 2835, 3255, 345, QStringLiteral("NoteTableNo_2"), table);
  SetPreviewSize(10545, 7680);
}
