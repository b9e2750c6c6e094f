// Envelope labels and seating notes: the records built from the grid, two
// guests to a record, and what the layouts draw from them.
#include <QAction>
#include <QDir>
#include <QtTest>

#include "drawn_text.h"
#include "printing_fixture.h"

using namespace mdlWedding;
using testsupport::Invitation;
using testsupport::prompts;

namespace {

QVector<Invitation> fiveGuests() {
  return {printGuest("כהן", "דני", 1, "הרצל 1 חיפה"), printGuest("לוי", "רות", 2, "יפו 2 ירושלים"),
          printGuest("מזרחי", "אבי", {}, "אלנבי 3 תל אביב"), printGuest("פרץ", "נועה", 4, "הגפן 4 עכו"),
          printGuest("ביטון", "משה", 5, "הזית 5 צפת")};
}

QString field(int record, const QString& name) {
  return g_ReportRS->Records().value(record).value(name.toLower());
}

}  // namespace

class LabelsNotesTest : public QObject {
  Q_OBJECT
 private slots:
  void labelsTwoToARecord() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow(fiveGuests());
    g_PrintFrame = true;
    g_PrintColor = 0x0000FF;  // red
    g_LabelAddress = true;
    w.PrintLabels();
    QVERIFY(prompts().messages().isEmpty());

    // Five guests: three records, the fifth guest alone in the third.
    QCOMPARE(g_ReportRS->RecordCount(), 3);
    QCOMPARE(field(0, "InvName_1"), cell(1, 1) + " " + cell(1, 0));
    QCOMPARE(field(0, "Address_1"), cell(1, 8));
    QCOMPARE(field(0, "InvName_2"), cell(2, 1) + " " + cell(2, 0));
    QCOMPARE(field(1, "Address_2"), cell(4, 8));
    QCOMPARE(field(2, "InvName_1"), cell(5, 1) + " " + cell(5, 0));
    QCOMPARE(field(2, "InvName_2"), QString());
    QVERIFY(g_ReportConn && g_ReportConn->isOpen());

    DataReport2& report = DataReport2::Default();
    QVERIFY(report.isVisible());
    QVERIFY(!report.isModal());
    QCOMPARE(report.Caption(), QStringLiteral("Pelmora - Envelop Labels"));
    const auto& layout = report.Layout;
    // The first guest is the right-hand label, below the sheet's free 750 twips.
    const auto names1 = drawn(layout, "txtEnvLabel_1");
    QCOMPARE(names1.size(), 3);
    QCOMPARE(names1[0].text, field(0, "InvName_1"));
    QCOMPARE(names1[0].rect, QRectF(6803, 750 + 330, 3800, 465));
    QCOMPARE(names1[2].rect.top(), 750.0 + 2 * 2160 + 330);
    QCOMPARE(names1[0].colour, QColor(255, 0, 0));
    QVERIFY(names1[0].font.bold());
    QCOMPARE(drawn(layout, "txtEnvLabel_2").size(), 2);
    // The empty left-hand label of the third record still has its frame.
    const auto frames = drawn(layout, "Shape2");
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames[2].rect, QRectF(0, 750 + 2 * 2160, 5565, 2160));
    QVERIFY(frames[2].rounded);
    QCOMPARE(frames[2].colour, QColor(255, 0, 0));

    // Again without address and frames: the same object, every setting anew.
    g_PrintFrame = false;
    g_LabelAddress = false;
    g_PrintColor = 0;
    w.PrintLabels();
    QCOMPARE(&DataReport2::Default(), &report);
    QCOMPARE(field(0, "Address_1"), QString());
    QCOMPARE(field(0, "InvName_1"), cell(1, 1) + " " + cell(1, 0));
    QVERIFY(drawn(layout, "Shape1").isEmpty());
    QVERIFY(drawn(layout, "txtAddress_1").isEmpty());
    QCOMPARE(drawn(layout, "txtEnvLabel_1")[0].rect, QRectF(6803, 750 + 330, 3800, 465));
    QCOMPARE(drawn(layout, "txtEnvLabel_1")[0].colour, QColor(0, 0, 0));

    // Closing the preview closes nothing.
    report.close();
    testsupport::processEvents();
    QVERIFY(!DataReport2::IsLoaded());
    QVERIFY(g_ReportRS && g_ReportRS->isOpen());
  }

  // An address that begins with a Latin word reads as in the grid: the Latin
  // word at the right of a right-to-left line.
  void mixedAddressReadsAsInTheGrid() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({printGuest("כהן", "דני", 1, QStringLiteral("Apt 5, רחוב הרצל 12"))});
    g_LabelAddress = true;
    w.PrintLabels();
    const auto item = drawn(DataReport2::Default().Layout, "txtAddress_1").value(0);
    const auto runs = textRunsOf(item);
    QVERIFY2(leftOfRun(runs, "Apt") > leftOfRun(runs, QStringLiteral("רחוב")), qPrintable(describe(item, runs)));
    const auto name = drawn(DataReport2::Default().Layout, "txtEnvLabel_1").value(0);
    QCOMPARE(name.text, QStringLiteral("דני כהן"));
  }

  void notesWithTablesAndBackground() {
    testsupport::ProgramFolder folder;
    QDir().mkdir(folder.file("design"));
    writeGif(folder.file("design/hearts.gif"));
    frmPelmora& w = loadMainWindow(fiveGuests());
    g_PrintFrame = true;
    g_PrintColor = 0xFF0000;  // blue
    g_NoteBackground = QStringLiteral("hearts.gif");
    w.PrintSittingNote();
    QVERIFY(prompts().messages().isEmpty());

    QCOMPARE(g_ReportRS->RecordCount(), 3);
    QCOMPARE(field(0, "NoteName_1"), cell(1, 1) + " " + cell(1, 0));
    QCOMPARE(field(0, "NoteTableNo_1"), "שולחן מס' " + cell(1, 6));
    QVERIFY(!cell(1, 6).isEmpty());
    // The guest with no table: nothing after the blank.
    int noTable = 0;
    for (int r = 1; r <= 5; ++r)
      if (cell(r, 6).isEmpty()) noTable = r;
    QVERIFY(noTable > 0);
    QCOMPARE(field((noTable - 1) / 2, noTable % 2 ? "NoteTableNo_1" : "NoteTableNo_2"), QStringLiteral("שולחן מס' "));
    QCOMPARE(field(2, "NoteName_1"), cell(5, 1) + " " + cell(5, 0));
    QCOMPARE(field(2, "NoteName_2"), QString());

    DataReport3& report = DataReport3::Default();
    QCOMPARE(report.Caption(), QStringLiteral("Pelmora - Sitting Note"));
    const auto& layout = report.Layout;
    // The fifth guest is the left-hand card of the third row; the empty
    // right-hand card keeps its frame, fold line and picture.
    const auto name1 = drawn(layout, "txtNoteName_1");
    QCOMPARE(name1.size(), 3);
    QCOMPARE(name1[2].rect, QRectF(1440 + 350, 1440 + 2 * 4470 + 2400, 3250, 360));
    QCOMPARE(name1[2].colour, QColor(0, 0, 255));
    QVERIFY(drawn(layout, "txtNoteTableNo_1")[0].font.italic());
    QCOMPARE(drawn(layout, "txtNoteName_2").size(), 2);
    QCOMPARE(drawn(layout, "Shape2").size(), 3);
    QCOMPARE(drawn(layout, "LineSpliter2").size(), 3);
    QCOMPARE(drawn(layout, "LineSpliter2")[2].pen, Qt::DotLine);
    for (const char* img : {"BgImg_1", "BgImg_2"}) {
      const auto pictures = drawn(layout, img);
      QCOMPARE(pictures.size(), 3);
      QCOMPARE(pictures[2].rect.size(), QSizeF(3960, 2025));
      QCOMPARE(pictures[2].sizeMode, 1);
    }
    QCOMPARE(drawn(layout, "BgImg_2")[0].rect.topLeft(), QPointF(1440 + 4536, 1440 + 1950));

    // No background: both pictures hidden.
    g_NoteBackground = printing::kNoBackground;
    g_PrintFrame = false;
    w.PrintSittingNote();
    QVERIFY(drawn(layout, "BgImg_1").isEmpty());
    QVERIFY(drawn(layout, "BgImg_2").isEmpty());
    QVERIFY(drawn(layout, "Shape1").isEmpty());
    QVERIFY(drawn(layout, "LineSpliter1").isEmpty());
    QVERIFY(prompts().messages().isEmpty());

    // A background whose file is gone: built anyway, the error told once, and
    // no picture of the earlier call is left over.
    g_NoteBackground = QStringLiteral("hearts.gif");
    w.PrintSittingNote();
    QVERIFY(!drawn(layout, "BgImg_1").isEmpty());
    QFile::remove(folder.file("design/hearts.gif"));
    prompts().answer(platform::vbOK);
    w.PrintSittingNote();
    QCOMPARE(prompts().messages(), QStringList{QStringLiteral("File not found")});
    QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
    QCOMPARE(prompts().shown().last().title, QStringLiteral("Pelmora"));
    QVERIFY(drawn(layout, "BgImg_1").isEmpty());
    QCOMPARE(drawn(layout, "txtNoteName_1").size(), 3);
    QVERIFY(report.isVisible());
  }

  void followsTheListAsShown() {
    testsupport::ProgramFolder folder;
    QVector<Invitation> rows = fiveGuests();
    rows[1].confirm = 2;  // not coming
    frmPelmora& w = loadMainWindow(rows);
    w.popIgnoreCnfNotOk->trigger();  // hide those not coming
    w.InitList(g_GroupName, QStringLiteral("FAMILY_NAME"));
    QCOMPARE(w.MSFlexGrid1->Rows(), 5);
    g_LabelAddress = true;
    w.PrintLabels();
    QCOMPARE(g_ReportRS->RecordCount(), 2);
    QStringList printed;
    for (int rec = 0; rec < 2; ++rec)
      for (const char* f : {"InvName_1", "InvName_2"}) printed << field(rec, f);
    QStringList shown;
    for (int r = 1; r <= 4; ++r) shown << cell(r, 1) + " " + cell(r, 0);
    QCOMPARE(printed, shown);
    QVERIFY(!printed.contains(QStringLiteral("רות לוי")));
    QStringList sorted = shown;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
      return a.section(' ', -1) < b.section(' ', -1);
    });
    QCOMPARE(shown, sorted);  // family names in order
  }

  void mainWindowClosesTheReportData() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow(fiveGuests());
    g_NoteBackground = printing::kNoBackground;
    w.PrintLabels();
    auto rs = g_ReportRS;
    auto conn = g_ReportConn;
    QVERIFY(rs->isOpen() && conn->isOpen());
    // A new report start replaces both.
    w.PrintSittingNote();
    QVERIFY(g_ReportRS != rs && g_ReportConn != conn);
    rs = g_ReportRS;
    int cancel = 0;
    prompts().answer(platform::vbNo);  // the tables map's question on closing
    try {
      w.Form_Unload(cancel);
    } catch (const platform::ProgramEnd&) {
    }
    QVERIFY(!g_ReportRS && !g_ReportConn);
    QVERIFY(rs.use_count() == 1);  // nothing else holds the record set
  }
};

PELMORA_TEST(LabelsNotesTest)
#include "tst_labels_notes.moc"
