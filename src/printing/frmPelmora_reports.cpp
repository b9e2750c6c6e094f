// The main window's reports: envelope labels, seating notes and the guest
// list, each built from the grid as it is shown into an in-memory record set
// and opened in its layout's modeless preview; and the print design launchers.
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "printing/DataReports.h"
#include "printing/frmPrint.h"
#include "app/wedding_schema.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace printing {

QPixmap LoadPicture(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) platform::Raise(53, QStringLiteral("File not found"));
  QImageReader reader(fileName);
  const QImage image = reader.read();
  if (image.isNull()) platform::Raise(481, QStringLiteral("Invalid picture"));
  return QPixmap::fromImage(image);
}

QString DesignFolder() { return g_AppPath + QStringLiteral("design/"); }

}  // namespace printing

namespace {

// Step 1 and 2 of every report: a new connection and a new record set with
// the report's fields. Each statement on its own, errors kept in err.
void newReportData(ErrorState& err, const QVector<QPair<QString, int>>& fields) {
  err([] { g_ReportConn = std::make_shared<platform::ReportConnection>(); });
  err([] { g_ReportRS = std::make_shared<platform::ReportRecordset>(); });
  err([] {
    g_ReportConn->ConnectionString =
        QStringLiteral("Driver=Microsoft Access Driver (*.mdb);DBQ=") + DatabaseFile();
  });
  err([] { g_ReportConn->Open(g_ReportConn->ConnectionString, QString(), QString()); });
  for (const auto& field : fields) err([&] { g_ReportRS->AppendField(field.first, field.second); });
  err([] { g_ReportRS->Open(); });
}

// Two guests to a record, in the grid's order. `fill` sets guest k's fields
// (k is 1 or 2) from grid row r.
void fillTwoToARecord(ErrorState& err, platform::FlexGrid& grid,
                      const std::function<void(int r, int k)>& fill) {
  quint8 k = 2;
  const int rows = grid.Rows();
  for (qint16 r = 1; r <= rows - 1; ++r) {
    if (k == 2) {
      k = 0;
      err([] { g_ReportRS->AddNew(); });
    }
    ++k;
    fill(r, k);
    if (k == 2) err([] { g_ReportRS->Update(); });
  }
  if (k < 2) err([] { g_ReportRS->Update(); });
}

void reportLastError(const ErrorState& err) {
  if (err.failed()) platform::MsgBox(err.last().description, platform::vbExclamation);
}

}  // namespace

void frmPelmora::PrintLabels() {
  ErrorState err;
  newReportData(err, {{QStringLiteral("InvName_1"), 50},
                      {QStringLiteral("Address_1"), 100},
                      {QStringLiteral("InvName_2"), 50},
                      {QStringLiteral("Address_2"), 100}});
  DataReport2& report = DataReport2::Default();
  err([&] { report.SetCaption(platform::AppTitle() + QStringLiteral(" - Envelop Labels")); });

  auto& d = report.Layout.Detail;
  for (const char* shape : {"Shape1", "Shape2"}) {
    err([&] { d.Controls(QString::fromLatin1(shape)).Visible = g_PrintFrame; });
    err([&] { d.Controls(QString::fromLatin1(shape)).BorderColor = quint32(g_PrintColor); });
  }
  for (const char* box : {"txtEnvLabel_1", "txtEnvLabel_2", "txtAddress_1", "txtAddress_2"})
    err([&] { d.Controls(QString::fromLatin1(box)).ForeColor = quint32(g_PrintColor); });

  platform::FlexGrid& grid = *MSFlexGrid1;
  fillTwoToARecord(err, grid, [&](int r, int k) {
    QString family, first, address;
    err([&] { family = grid.TextMatrix(r, 0); });
    err([&] { first = grid.TextMatrix(r, 1); });
    err([&] { address = grid.TextMatrix(r, 8); });
    const QString n = QString::number(k);
    err([&] { g_ReportRS->SetField(QStringLiteral("InvName_") + n, first + QStringLiteral(" ") + family); });
    if (g_LabelAddress) err([&] { g_ReportRS->SetField(QStringLiteral("Address_") + n, address); });
  });

  err([&] { report.Layout.SetDataSource(g_ReportRS); });
  err([&] { report.Show(); });
  reportLastError(err);
}

void frmPelmora::PrintSittingNote() {
  ErrorState err;
  newReportData(err, {{QStringLiteral("NoteName_1"), 50},
                      {QStringLiteral("NoteTableNo_1"), 20},
                      {QStringLiteral("NoteName_2"), 50},
                      {QStringLiteral("NoteTableNo_2"), 20}});
  DataReport3& report = DataReport3::Default();
  err([&] { report.SetCaption(platform::AppTitle() + QStringLiteral(" - Sitting Note")); });

  auto& d = report.Layout.Detail;
  for (const char* frame : {"Shape1", "Shape2", "LineSpliter1", "LineSpliter2"}) {
    err([&] { d.Controls(QString::fromLatin1(frame)).Visible = g_PrintFrame; });
    err([&] { d.Controls(QString::fromLatin1(frame)).BorderColor = quint32(g_PrintColor); });
  }
  for (const char* box : {"txtNoteName_1", "txtNoteName_2", "txtNoteTableNo_1", "txtNoteTableNo_2"})
    err([&] { d.Controls(QString::fromLatin1(box)).ForeColor = quint32(g_PrintColor); });
  for (const char* img : {"BgImg_1", "BgImg_2"}) err([&] { d.Controls(QString::fromLatin1(img)).SizeMode = 1; });
  if (g_NoteBackground != printing::kNoBackground) {
    const QString file = printing::DesignFolder() + g_NoteBackground;
    // A picture that does not load leaves no picture behind from an earlier call.
    for (const char* img : {"BgImg_1", "BgImg_2"})
      err([&] {
        auto& c = d.Controls(QString::fromLatin1(img));
        c.Picture = QPixmap();
        c.Picture = printing::LoadPicture(file);
      });
    for (const char* img : {"BgImg_1", "BgImg_2"}) err([&] { d.Controls(QString::fromLatin1(img)).Visible = true; });
  } else {
    for (const char* img : {"BgImg_1", "BgImg_2"}) err([&] { d.Controls(QString::fromLatin1(img)).Visible = false; });
  }

  platform::FlexGrid& grid = *MSFlexGrid1;
  fillTwoToARecord(err, grid, [&](int r, int k) {
    QString family, first, table;
    err([&] { family = grid.TextMatrix(r, 0); });
    err([&] { first = grid.TextMatrix(r, 1); });
    err([&] { table = grid.TextMatrix(r, 6); });
    const QString n = QString::number(k);
    err([&] { g_ReportRS->SetField(QStringLiteral("NoteName_") + n, first + QStringLiteral(" ") + family); });
    err([&] { g_ReportRS->SetField(QStringLiteral("NoteTableNo_") + n, QStringLiteral("שולחן מס' ") + table); });
  });

  err([&] { report.Layout.SetDataSource(g_ReportRS); });
  err([&] { report.Show(); });
  reportLastError(err);
}

void frmPelmora::ShowListReport() {
  static const char* const kFields[] = {"FirstName", "FamilyName", "Phones", "InvNum",  "Remark",
                                        "Confirm",   "TableNo",    "InvStatus", "Present", "Address"};
  // The present cell carries "₪" before up to 20 digits: one more than the
  // stored amount, so the present fields hold 21.
  static const int kSizes[] = {20, 20, 30, 3, 40, 10, 3, 5, 21, 50};
  // Grid column c -> field.
  static const char* const kByColumn[] = {"FamilyName", "FirstName", "Phones",    "InvNum",  "Remark",
                                          "Confirm",    "TableNo",   "InvStatus", "Address", "Present"};
  ErrorState err;
  QVector<QPair<QString, int>> fields;
  for (int i = 0; i < 10; ++i) fields.append({QString::fromLatin1(kFields[i]), kSizes[i]});
  for (int i = 0; i < 10; ++i) fields.append({QStringLiteral("B") + QString::fromLatin1(kFields[i]), kSizes[i]});
  newReportData(err, fields);

  DataReport1& report = DataReport1::Default();
  err([&] { report.SetCaption(platform::AppTitle() + QStringLiteral(" - Report")); });
  auto& layout = report.Layout;
  err([&] { layout.Sections("rptHeader").Controls("lblDate").Caption = vb::DateText(vb::Today().date()); });
  err([&] { layout.Sections("rptHeader").Controls("lblReport").Caption = lblList->text(); });
  err([&] { layout.Sections("rptPageFooter").Controls("lblAppName").Caption = platform::AppTitle(); });
  err([&] { layout.Sections("rptPageFooter").Controls("lblPageNum").Caption = QStringLiteral("Page %p of %P"); });
  err([&] { layout.Sections("rptPageFooter").Controls("lblAppWeb").Caption = kMakerWebAddress; });
  auto& footer = layout.ReportFooter;
  err([&] { footer.Controls("lblTotalInvNum").Caption = QString::number(g_InvCount); });
  err([&] { footer.Controls("lblTotaCnfOkNum").Caption = QString::number(g_ComingCount); });
  err([&] { footer.Controls("lblTotaCnfUnkownNum").Caption = QString::number(g_AwaitingCount); });
  err([&] { footer.Controls("lblTotaCnfNotOkNum").Caption = QString::number(g_NotComingCount); });
  err([&] { footer.Controls("lblSumOfPresents").Caption = QStringLiteral("₪") + QString::number(g_GiftSum); });

  platform::FlexGrid& grid = *MSFlexGrid1;
  const int rows = grid.Rows();
  for (qint16 r = 1; r <= rows - 1; ++r) {
    QStringList texts;
    for (int c = 0; c < 10; ++c) {
      QString t;
      err([&] { t = grid.TextMatrix(r, c); });
      texts.append(t);
    }
    bool declined = false;
    err([&] { declined = grid.CellFontBoldAt(r, 9); });
    QStringList names;
    for (const char* f : kByColumn) names.append((declined ? QStringLiteral("B") : QString()) + QString::fromLatin1(f));
    err([&] { g_ReportRS->AddNew(names, texts); });
  }

  err([&] { layout.SetDataSource(g_ReportRS); });
  err([&] { report.Show(); });
  reportLastError(err);
}

void frmPelmora::ShowPrintLabels() {
  g_PrintMode = 1;
  frmPrint& window = frmPrint::Default();
  platform::ShowModal(&window);
}

void frmPelmora::ShowPrintNotes() {
  g_PrintMode = 2;
  frmPrint& window = frmPrint::Default();
  platform::ShowModal(&window);
}
