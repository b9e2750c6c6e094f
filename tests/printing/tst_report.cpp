// The report engine: the in-memory record set, the connection and paging.
#include <QtTest>

#include "platform/report.h"
#include "platform/vberror.h"
#include "support/files.h"
#include "support/errors.h"
#include "support/testsupport.h"

using namespace platform;
using testsupport::errorNumber;

namespace {

std::shared_ptr<ReportRecordset> numberedRows(int n) {
  auto rs = std::make_shared<ReportRecordset>();
  rs->AppendField(QStringLiteral("Name"), 10);
  rs->Open();
  for (int i = 1; i <= n; ++i) rs->AddNew({QStringLiteral("Name")}, {QString::number(i)});
  return rs;
}

QVector<ReportItem> itemsNamed(const QVector<QVector<ReportItem>>& pages, const QString& control) {
  QVector<ReportItem> out;
  for (const auto& p : pages)
    for (const auto& it : p)
      if (it.control == control) out.append(it);
  return out;
}

}  // namespace

class ReportEngineTest : public QObject {
  Q_OBJECT
 private slots:
  void recordSetKeepsWhatWasSaved() {
    ReportRecordset rs;
    rs.AppendField(QStringLiteral("A"), 3);
    rs.AppendField(QStringLiteral("B"), 5);
    QCOMPARE(errorNumber([&] { rs.AddNew(); }), 3704L);  // not open yet
    rs.Open();
    QCOMPARE(errorNumber([&] { rs.AppendField(QStringLiteral("C"), 1); }), 3219L);

    rs.AddNew();
    rs.SetField(QStringLiteral("a"), QStringLiteral("abc"));
    QCOMPARE(rs.RecordCount(), 0);  // pending until saved
    // Too long: refused, the field keeps its value.
    QVERIFY(errorNumber([&] { rs.SetField(QStringLiteral("A"), QStringLiteral("abcd")); }) != 0);
    QCOMPARE(rs.Field(QStringLiteral("A")), QStringLiteral("abc"));
    QCOMPARE(errorNumber([&] { rs.SetField(QStringLiteral("Z"), QStringLiteral("x")); }), 3265L);
    rs.AddNew();  // saves the pending one first
    rs.SetField(QStringLiteral("B"), QStringLiteral("xy"));
    rs.Update();
    rs.Update();  // nothing pending: nothing more
    QCOMPARE(rs.RecordCount(), 2);

    rs.MoveFirst();
    QCOMPARE(rs.Field(QStringLiteral("A")), QStringLiteral("abc"));
    QCOMPARE(rs.Field(QStringLiteral("B")), QString());
    rs.MoveNext();
    QCOMPARE(rs.Field(QStringLiteral("B")), QStringLiteral("xy"));
    rs.MoveNext();
    QVERIFY(rs.IsEOF());

    rs.Close();
    QCOMPARE(errorNumber([&] { rs.Close(); }), 3704L);
  }

  void connectionNeedsTheDatabase() {
    testsupport::ProgramFolder folder;
    ReportConnection conn;
    const QString cs = QStringLiteral("Driver=Microsoft Access Driver (*.mdb);DBQ=") + folder.file("Wed.mdb");
    QVERIFY(errorNumber([&] { conn.Open(cs); }) != 0);
    QVERIFY(!conn.isOpen());
    testsupport::writeFile(folder.file("Wed.mdb"), {});
    conn.Open(cs);
    QVERIFY(conn.isOpen());
    conn.Close();
    QCOMPARE(errorNumber([&] { conn.Close(); }), 3704L);
  }

  void pagesNumberedAndFooterOnce() {
    ReportLayout r;
    r.TopMargin = r.BottomMargin = 1000;
    r.LeftMargin = 500;
    r.PaperSize = QSizeF(10000, 10000);
    r.PageHeader.Height = 500;
    r.Detail.Height = 1000;
    r.PageFooter.Height = 500;
    r.ReportFooter.Height = 2000;
    r.addLabel(r.PageFooter, QStringLiteral("lblPage"), 0, 100, 3000, 240, QStringLiteral("Page %p of %P"));
    r.addTextBox(r.Detail, QStringLiteral("txtName"), 100, 50, 2000, 240, QStringLiteral("Name"));
    r.addLabel(r.ReportFooter, QStringLiteral("lblEnd"), 0, 0, 2000, 240, QStringLiteral("end"));

    // Body 8000, header 500, footer 500: seven rows a page. 13 rows fill two
    // pages; the report footer (2000) does not fit after row 13 and opens page 3.
    r.SetDataSource(numberedRows(13));
    const auto pages = r.Pages();
    QCOMPARE(pages.size(), 3);
    const auto pageNums = itemsNamed(pages, QStringLiteral("lblPage"));
    QCOMPARE(pageNums.size(), 3);
    QCOMPARE(pageNums[1].text, QStringLiteral("Page 2 of 3"));
    QCOMPARE(pageNums[1].page, 2);
    QCOMPARE(pageNums[1].rect.top(), 10000.0 - 1000 - 500 + 100);

    const auto names = itemsNamed(pages, QStringLiteral("txtName"));
    QCOMPARE(names.size(), 13);
    QCOMPARE(names[7].text, QStringLiteral("8"));
    QCOMPARE(names[7].page, 2);
    QCOMPARE(names[7].rect.topLeft(), QPointF(600, 1000 + 500 + 50));
    const auto end = itemsNamed(pages, QStringLiteral("lblEnd"));
    QCOMPARE(end.size(), 1);
    QCOMPARE(end[0].page, 3);

    // Eleven rows: four on page 2 end at 5500, and the footer fits below them.
    r.SetDataSource(numberedRows(11));
    QCOMPARE(r.Pages().size(), 2);
    QCOMPARE(itemsNamed(r.Pages(), QStringLiteral("lblEnd"))[0].page, 2);
  }

  void copiesTheRecordsWhenBound() {
    ReportLayout r;
    r.Detail.Height = 300;
    r.addTextBox(r.Detail, QStringLiteral("txtName"), 0, 0, 1000, 240, QStringLiteral("Name"));
    auto rs = numberedRows(2);
    r.SetDataSource(rs);
    rs->Close();  // a later close does not change what is shown
    QCOMPARE(itemsNamed(r.Pages(), QStringLiteral("txtName")).size(), 2);
    QVERIFY(errorNumber([&] { r.SetDataSource(rs); }) != 0);  // a closed source is refused

    auto other = std::make_shared<ReportRecordset>();
    other->AppendField(QStringLiteral("Other"), 5);
    other->Open();
    QCOMPARE(errorNumber([&] { r.SetDataSource(other); }), 8526L);  // bound field missing
  }

  void drawsToPdfAndImage() {
    testsupport::ProgramFolder folder;
    ReportLayout r;
    r.Detail.Height = 600;
    ReportControl& t = r.addTextBox(r.Detail, QStringLiteral("txtName"), 0, 0, 4000, 400, QStringLiteral("Name"));
    t.Font = ReportFont(QStringLiteral("Arial"), 14, true);
    r.addShape(r.Detail, QStringLiteral("Shape1"), 0, 0, 5000, 600, ReportControl::RoundedRectangle);
    r.SetDataSource(numberedRows(3));
    QVERIFY(r.ExportPDF(folder.file("out.pdf")));
    QVERIFY(QFileInfo(folder.file("out.pdf")).size() > 500);
    QVERIFY(!r.ExportPDF(folder.file("no/such/folder/out.pdf")));

    const QImage page = r.pageImage(1, 96);
    // The frame's top edge of the first row, one inch in (96 px).
    bool dark = false;
    for (int y = 94; y <= 98; ++y) dark = dark || qGray(page.pixel(150, y)) < 128;
    QVERIFY(dark);
    QCOMPARE(qGray(page.pixel(150, 300)), 255);  // below the three rows: blank
  }
};

PELMORA_TEST(ReportEngineTest)
#include "tst_report.moc"
