// The guest-list report: one line per grid row, declined lines struck through,
// the title, the totals and the page numbers.
#include <QComboBox>
#include <QLabel>
#include <QtTest>

#include "app/mdlFileINI.h"
#include "drawn_text.h"
#include "printing_fixture.h"

using namespace mdlWedding;
using testsupport::Invitation;
using testsupport::prompts;

namespace {

Invitation withPresent(Invitation i, const QString& amount, int type) {
  i.present = amount;
  i.presentType = type;
  return i;
}

QString field(int record, const QString& name) {
  return g_ReportRS->Records().value(record).value(name.toLower());
}

void triggerReport(frmPelmora& w) {
  QVERIFY(w.mnuPrintReport->isEnabled());
  w.mnuPrintReport->trigger();
}

}  // namespace

class ListReportTest : public QObject {
  Q_OBJECT
 private slots:
  void linesAsTheGridShowsThem() {
    testsupport::ProgramFolder folder;
    QVector<Invitation> rows = {
        withPresent(printGuest("כהן", "דני", 3, "הרצל 1"), "1500", 1),
        withPresent(printGuest("לוי", "רות", 7, "יפו 2", 2), "300", 0),  // declined
        printGuest("מזרחי", "אבי", {}, QString(""), 0),
    };
    rows[0].phones = QStringLiteral("04-8123456");
    rows[0].remark = QStringLiteral("חברים מהצבא");
    rows[0].invStatus = true;
    frmPelmora& w = loadMainWindow(rows);
    triggerReport(w);
    QVERIFY(prompts().messages().isEmpty());

    QCOMPARE(g_ReportRS->Fields().size(), 20);
    QCOMPARE(g_ReportRS->Fields()[0].name, QStringLiteral("FirstName"));
    QCOMPARE(g_ReportRS->Fields()[10].name, QStringLiteral("BFirstName"));
    QCOMPARE(g_ReportRS->RecordCount(), 3);
    int declinedRow = 0, giftRow = 0;
    for (int r = 1; r <= 3; ++r) {
      if (w.MSFlexGrid1->CellFontBoldAt(r, 9)) declinedRow = r;
      if (cell(r, 0) == QStringLiteral("כהן")) giftRow = r;
    }
    QVERIFY(declinedRow > 0 && giftRow > 0);
    // Every column of the grid lands in its field; a declined row in the B twins.
    static const char* const byColumn[] = {"FamilyName", "FirstName", "Phones", "InvNum",  "Remark",
                                           "Confirm",    "TableNo",   "InvStatus", "Address", "Present"};
    for (int c = 0; c < 10; ++c) {
      QCOMPARE(field(giftRow - 1, byColumn[c]), cell(giftRow, c));
      QCOMPARE(field(giftRow - 1, QStringLiteral("B") + byColumn[c]), QString());
      QCOMPARE(field(declinedRow - 1, QStringLiteral("B") + byColumn[c]), cell(declinedRow, c));
      QCOMPARE(field(declinedRow - 1, byColumn[c]), QString());
    }
    QCOMPARE(field(giftRow - 1, "Present"), QStringLiteral("₪1500"));

    DataReport1& report = DataReport1::Default();
    QVERIFY(report.isVisible());
    QCOMPARE(report.Caption(), QStringLiteral("Pelmora - Report"));
    const auto& layout = report.Layout;
    // The declined line: grey, struck through, in the same place as the others.
    const auto struck = drawn(layout, "Text2");
    QCOMPARE(struck.size(), 1);
    QCOMPARE(struck[0].text, QStringLiteral("לוי"));
    QVERIFY(struck[0].font.strikeOut());
    QCOMPARE(struck[0].colour, QColor(0x80, 0x80, 0x80));
    const auto plain = drawn(layout, "txtFamilyName");
    QCOMPARE(plain.size(), 2);
    QVERIFY(!plain[0].font.strikeOut());
    QCOMPARE(plain[0].rect.left(), struck[0].rect.left());
    QCOMPARE(plain[0].rect.left(), 440.0 + 9638);
    // Rows follow one another 270 twips apart under the two headers.
    QCOMPARE(drawn(layout, "txtFirstName")[0].rect.top(), 1440.0 + 1140 + 810);
    QCOMPARE(drawn(layout, "txtTableNo")[0].alignment & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(drawn(layout, "lblFamilyName")[0].back, QColor(0xE0, 0xE0, 0xE0));

    QCOMPARE(drawn(layout, "lblReport")[0].text, w.lblList->text());
    QCOMPARE(drawn(layout, "lblDate")[0].text, vb::DateText(vb::Today().date()));
    QCOMPARE(drawn(layout, "lblPageNum")[0].text, QStringLiteral("Page 1 of 1"));
    QCOMPARE(drawn(layout, "lblTotalInvNum")[0].text, QStringLiteral("3"));
    QCOMPARE(drawn(layout, "lblTotaCnfOkNum")[0].text, QStringLiteral("2"));  // two people each
    QCOMPARE(drawn(layout, "lblTotaCnfUnkownNum")[0].text, QStringLiteral("2"));
    QCOMPARE(drawn(layout, "lblTotaCnfNotOkNum")[0].text, QStringLiteral("2"));
    QCOMPARE(drawn(layout, "lblSumOfPresents")[0].text, QStringLiteral("₪1800"));

    // Releasing the layout (closing its preview) closes the report data.
    auto rs = g_ReportRS;
    report.close();
    testsupport::processEvents();
    QVERIFY(!DataReport1::IsLoaded());
    QVERIFY(!g_ReportRS && !g_ReportConn);
    QVERIFY(!rs->isOpen());
  }

  void aGroupAndItsTotals() {
    testsupport::ProgramFolder folder;
    QVector<Invitation> rows;
    for (int i = 0; i < 4; ++i) {
      Invitation g = printGuest("משפחה", QString::number(i), i + 1);
      g.listGroup = i < 3 ? QStringLiteral("2") : QStringLiteral("1");
      rows << g;
    }
    frmPelmora& w = loadMainWindow(rows);
    w.cmbUserGroups->setCurrentText(g_HisFamily);
    w.cmbUserGroups_Click();
    QCOMPARE(w.MSFlexGrid1->Rows(), 4);
    w.Toolbar1_ButtonClick(8);
    QCOMPARE(g_ReportRS->RecordCount(), 3);
    const auto& layout = DataReport1::Default().Layout;
    QCOMPARE(drawn(layout, "lblReport")[0].text, "רשימה של " + g_HisFamily);
    QCOMPARE(drawn(layout, "lblTotalInvNum")[0].text, QStringLiteral("3"));
    QCOMPARE(drawn(layout, "lblTotaCnfOkNum")[0].text, QStringLiteral("6"));
  }

  // Texts the program fills in read as on the screen, a right-to-left
  // paragraph: a Latin group name or a Latin word at the start of an address
  // stands where the grid shows it. Fixed captions keep their order.
  void filledTextsReadRightToLeft() {
    testsupport::ProgramFolder folder;
    const QString address = QStringLiteral("Apt 5, רחוב הרצל 12");
    Invitation g = printGuest("כהן", "דני", 3, address);
    g.listGroup = QStringLiteral("4");
    testsupport::makeWeddingDb();
    testsupport::addInvitations({g});
    testsupport::writeOptions();
    const QString ini = IniFile();
    mdlFileINI::WriteINI(ini, "Options", "NumOfGroups", "4");
    const QStringList groups = {QStringLiteral("יוסי ומיכל"), QStringLiteral("משפחת החתן"),
                                QStringLiteral("משפחת הכלה"), QStringLiteral("Friends 2024")};
    for (int i = 0; i < groups.size(); ++i) mdlFileINI::WriteINI(ini, "UserGroups", "Group-" + vb::Str(i), groups[i]);
    g_WeddingDate = vb::Today();
    frmPelmora& w = frmPelmora::Default();
    w.cmbUserGroups->setCurrentText(QStringLiteral("Friends 2024"));
    w.cmbUserGroups_Click();
    QCOMPARE(w.lblList->text(), QStringLiteral("רשימה של Friends 2024"));
    QCOMPARE(cell(1, 8), address);
    triggerReport(w);
    const auto& layout = DataReport1::Default().Layout;

    const auto title = textRunsOf(drawn(layout, "lblReport")[0]);
    QVERIFY2(leftOfRun(title, "Friends") < leftOfRun(title, QStringLiteral("רשימה")),
             qPrintable(describe(drawn(layout, "lblReport")[0], title)));
    const auto shown = textRunsOf(drawn(layout, "txtAddress")[0]);
    QVERIFY2(leftOfRun(shown, "Apt") > leftOfRun(shown, QStringLiteral("רחוב")),
             qPrintable(describe(drawn(layout, "txtAddress")[0], shown)));
    // Written for a left-to-right box: the colon stays at the left end.
    const auto summary = textRunsOf(drawn(layout, "lblSummary")[0]);
    QVERIFY2(leftOfRun(summary, ":") < leftOfRun(summary, QStringLiteral("סיכום")),
             qPrintable(describe(drawn(layout, "lblSummary")[0], summary)));
  }

  void pageNumbersOnALongList() {
    testsupport::ProgramFolder folder;
    QVector<Invitation> rows;
    for (int i = 0; i < 90; ++i) rows << printGuest("משפחה", QString::number(i), i % 50 + 1);
    frmPelmora& w = loadMainWindow(rows);
    triggerReport(w);
    const auto& layout = DataReport1::Default().Layout;
    const auto pages = layout.Pages();
    QCOMPARE(pages.size(), 3);
    const auto numbers = drawn(layout, "lblPageNum");
    QCOMPARE(numbers.size(), 3);
    QCOMPARE(numbers[1].text, QStringLiteral("Page 2 of 3"));
    // Lines never run into the page footer; the summary is printed once, last.
    const double footerTop = 16838 - 1440 - 1380;
    for (const auto& it : drawn(layout, "txtFirstName")) QVERIFY(it.rect.bottom() <= footerTop);
    QCOMPARE(drawn(layout, "txtFirstName").size(), 90);
    QCOMPARE(drawn(layout, "lblSummary").size(), 1);
    QCOMPARE(drawn(layout, "lblSummary")[0].page, 3);
    QCOMPARE(drawn(layout, "lblReport").size(), 1);   // the report header on page 1 only
    QCOMPARE(drawn(layout, "lblFamilyName").size(), 3);  // column headings on every page
  }
};

PELMORA_TEST(ListReportTest)
#include "tst_listreport.moc"
