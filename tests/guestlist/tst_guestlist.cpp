// Loading the guest list: the SQL text, the grid's cells and formats, the
// counters and the commands that need an invitation.
#include <QAction>
#include <QLabel>
#include <QtTest>
#include <cmath>

#include "guestlist_fixture.h"
#include "platform/msgbox.h"
#include "support/userlocale.h"

using namespace mdlWedding;
using testsupport::Invitation;
using testsupport::prompts;

namespace {
Invitation inv(const QString& family, const QString& first, int count = 2, int confirm = 0) {
  return guest(family, first, count, confirm);
}

// Contrast of two colours as the web's accessibility guidelines measure it.
double luminance(QRgb c) {
  auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double contrast(QRgb a, QRgb b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast between a drawn cell's darkest pixel (its text) and its
// background (the pixel it holds most).
double drawnContrast(platform::FlexGrid& g, int row, int col) {
  const QRect at = g.visualRect(g.model()->index(row, col)).adjusted(1, 1, -1, -1);
  const QImage img = g.viewport()->grab(at).toImage();
  QHash<QRgb, int> count;
  QRgb darkest = qRgb(255, 255, 255);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y) | 0xFF000000u;
      ++count[p];
      if (luminance(p) < luminance(darkest)) darkest = p;
    }
  QRgb back = darkest;
  for (auto it = count.cbegin(); it != count.cend(); ++it)
    if (it.value() > count.value(back)) back = it.key();
  return contrast(darkest, back);
}
}  // namespace

class GuestListTest : public QObject {
  Q_OBJECT
 private slots:
  void emptyListDisablesCommands() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    QCOMPARE(w.MSFlexGrid1->Rows(), 2);
    for (int c = 0; c < 10; ++c) QCOMPARE(cell(1, c), QString());
    QCOMPARE(cell(0, 0), QStringLiteral("שם משפחה"));
    QCOMPARE(cell(0, 9), QStringLiteral("מתנה"));
    for (QAction* a : {w.mnuUpdate, w.mnuRemove, w.mnuPrintEnvLables, w.mnuPrintReport, w.mnuPrintSittingNotes,
                       w.popUpdate, w.popDelete})
      QVERIFY(!a->isEnabled());
    for (int b : {2, 3, 5, 7, 8, 9}) QVERIFY2(!w.Toolbar1->IsEnabled(b), qPrintable(QString::number(b)));
    QVERIFY(w.Toolbar1->IsEnabled(1));
    QCOMPARE(w.stb->PanelText(2), QStringLiteral("מתנות ₪0"));
    QCOMPARE(w.stb->PanelText(3), QStringLiteral("אישרו שלא מגיעים  0"));
    QCOMPARE(w.stb->PanelText(4), QStringLiteral("ממתינים לאישור  0"));
    QCOMPARE(w.stb->PanelText(5), QStringLiteral("אישרו שמגיעים  0"));
    QCOMPARE(w.stb->PanelText(6), QStringLiteral("מס' ההזמנות  0"));
    QCOMPARE(w.lblList->text(), QStringLiteral("רשימה של כל האורחים"));
    QVERIFY(prompts().messages().isEmpty());
  }

  void sqlTexts() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    w.InitList(g_GroupName, g_SortField);
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA"));

    g_NumOfGroups = 5;
    g_UserGroups = {g_Couple, g_HisFamily, g_HerFamily, "חברים", "עבודה", ""};
    w.popIgnoreCnfNotOk->setChecked(true);
    w.popIgnoreNotCnf->setChecked(true);
    w.m_SortOrder = "DESC";
    g_GroupName = "עבודה";
    w.InitList(g_GroupName, "TABLE_NO");
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where (CONFIRM = 1) and (LIST_GROUP = '5') order by TABLE_NO DESC"));

    w.popIgnoreCnfNotOk->setChecked(false);
    w.popIgnoreNotCnf->setChecked(false);
    w.m_SortOrder = "ASC";
    g_GroupName = g_HerFamily;
    w.InitList(g_GroupName, "FAMILY_NAME");
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where LIST_GROUP = '3' order by FAMILY_NAME ASC"));

    w.popIgnoreNotCnf->setChecked(true);
    w.InitList(g_GroupName, "");
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where (CONFIRM between 1 and 2) and (LIST_GROUP = '3')"));

    w.popIgnoreNotCnf->setChecked(false);
    w.popIgnoreCnfNotOk->setChecked(true);
    g_GroupName = g_AllGuests;
    w.InitList(g_GroupName, "");
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where (CONFIRM <> 2)"));

    // Without a group list the three names give 1, 2 and 3; an equal couple and
    // bride's family name selects 1.
    g_NumOfGroups = 0;
    g_HerFamily = g_Couple;
    w.popIgnoreCnfNotOk->setChecked(false);
    g_GroupName = g_Couple;
    w.InitList(g_GroupName, "");
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where LIST_GROUP = '1'"));
    g_GroupName = "אין כזו";
    w.InitList(g_GroupName, "");
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where LIST_GROUP = '0'"));
    QCOMPARE(w.MSFlexGrid1->Rows(), 2);
    QVERIFY(prompts().messages().isEmpty());
  }

  void cellsFormatsAndCounters() {
    testsupport::ProgramFolder folder;
    Invitation a = inv("כהן", "דני", 3, 1);
    a.tableNo = 4;
    a.phones = " 03-5551234 ";
    a.invStatus = true;
    a.address = QStringLiteral("הרצל 1");
    a.presentType = 0;
    a.present = QStringLiteral("1500");
    Invitation declinedEven = inv("לוי", "רותי", 2, 2);
    declinedEven.presentType = 2;
    declinedEven.present = QStringLiteral("סט כוסות");
    Invitation declinedOdd = inv("מזרחי", "אבי", 1, 2);
    declinedOdd.tableNo = 0;
    Invitation half1 = inv("אלון", "גל", 4, 3);
    half1.presentType = 1;
    half1.present = QStringLiteral("0.5");
    Invitation half2 = inv("אלון", "טל", 5, 0);
    half2.presentType = 0;
    half2.present = QStringLiteral("0.5");
    Invitation oldRow = inv("ישן", "שורה", 2, 1);
    oldRow.address = QVariant();
    oldRow.presentType = QVariant();
    oldRow.present = QStringLiteral("200");
    frmPelmora& w = loadMainWindow({a, declinedEven, declinedOdd, half1, half2, oldRow});
    platform::FlexGrid& g = *w.MSFlexGrid1;
    QCOMPARE(g.Rows(), 7);
    QCOMPARE(cell(1, 0), QStringLiteral("כהן"));
    QCOMPARE(cell(1, 2), QStringLiteral(" 03-5551234 "));
    QCOMPARE(cell(1, 3), QStringLiteral("3"));
    QCOMPARE(cell(1, 5), QStringLiteral("מגיע"));
    QCOMPARE(cell(1, 6), QStringLiteral("4"));
    QCOMPARE(cell(1, 7), QStringLiteral("נשלחה"));
    QCOMPARE(cell(1, 8), QStringLiteral("הרצל 1"));
    QCOMPARE(cell(1, 9), QStringLiteral("₪1500"));
    QCOMPARE(cell(2, 5), QStringLiteral("לא"));
    QCOMPARE(cell(2, 6), QString());
    QCOMPARE(cell(2, 9), QStringLiteral("סט כוסות"));
    QCOMPARE(cell(3, 6), QStringLiteral("0"));
    QCOMPARE(cell(4, 5), QStringLiteral("??"));
    QCOMPARE(cell(6, 9), QStringLiteral("200"));  // no present type: no shekel sign
    QCOMPARE(g.CellAlignmentAt(1, 3), 4);
    QCOMPARE(g.CellAlignmentAt(1, 0), 7);

    // Declined on an even row: tooltip back colour, grey text, bold.
    for (int c = 0; c < 10; ++c) {
      QCOMPARE(g.CellBackColorAt(2, c), vb::OleColor(0x80000018));
      QCOMPARE(g.CellForeColorAt(2, c), vb::OleColor(0x80000003));
      QVERIFY(g.CellFontBoldAt(2, c));
      // ... and on an odd row: the default back colour.
      QVERIFY(!g.CellBackColorAt(3, c).isValid());
      QCOMPARE(g.CellForeColorAt(3, c), vb::OleColor(0x80000003));
      QVERIFY(g.CellFontBoldAt(3, c));
      QVERIFY(!g.CellFontBoldAt(1, c));
      QVERIFY(!g.CellBackColorAt(1, c).isValid());
      QCOMPARE(g.CellBackColorAt(4, c), vb::OleColor(0x80000018));
    }

    QCOMPARE(int(g_InvCount), 6);
    QCOMPARE(int(g_ComingCount), 5);
    QCOMPARE(int(g_NotComingCount), 3);
    QCOMPARE(int(g_AwaitingCount), 9);
    QCOMPARE(int(g_GiftSum), 1500);  // 1500 + 0.5 -> 1500, twice; the type-less row adds nothing
    QCOMPARE(w.stb->PanelText(2), QStringLiteral("מתנות ₪1500"));
    QCOMPARE(w.stb->PanelText(6), QStringLiteral("מס' ההזמנות  6"));
    QVERIFY(w.Toolbar1->IsEnabled(5));  // row 1 has a phone
    QCOMPARE(g.Row(), 1);
    QCOMPARE(g.Col(), 2);
    QVERIFY(w.mnuUpdate->isEnabled());
    QVERIFY(prompts().messages().isEmpty());
  }

  // Declined rows are grey and bold, and still read clearly: on the white of
  // odd rows and on the tooltip colour of even rows.
  void declinedRowsReadClearly() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({inv("כהן", "דני", 3, 1), inv("לוי", "רותי", 2, 2), inv("מזרחי", "אבי", 1, 2)});
    w.resize(900, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    platform::FlexGrid& g = *w.MSFlexGrid1;
    g.SetRow(1);  // the current row is highlighted; leave the declined ones plain
    const QRgb fore = vb::OleColor(0x80000003).rgb();
    QVERIFY(qGray(fore) < 160);  // grey, not black, not the disabled grey
    QVERIFY(fore != qRgb(0, 0, 0));
    for (QRgb back : {qRgb(255, 255, 255), vb::OleColor(0x80000018).rgb()})
      QVERIFY2(contrast(fore, back) >= 4.5, qPrintable(QString::number(contrast(fore, back))));
    for (int row : {2, 3})
      for (int col : {0, 1})
        QVERIFY2(drawnContrast(g, row, col) >= 4.5, qPrintable(QString::number(drawnContrast(g, row, col))));
  }

  void halvesRoundOnTheirOwn() {
    testsupport::ProgramFolder folder;
    Invitation a = inv("א", "א");
    a.present = QStringLiteral("0.5");
    Invitation b = inv("ב", "ב");
    b.present = QStringLiteral("0.5");
    Invitation c = inv("ג", "ג");
    c.present = QStringLiteral("500 שקל ועוד");
    loadMainWindow({a, b, c});
    QCOMPARE(int(g_GiftSum), 500);
    QCOMPARE(cell(1, 9), QStringLiteral("₪0.5"));
    QCOMPARE(cell(3, 9), QStringLiteral("₪500 שקל ועוד"));
  }

  // A money present reads in the user's locale: under de_DE "12.5" would be 125.
  void presentsShownInTheUsersLocale() {
    testsupport::ProgramFolder folder;
    testsupport::UserLocale german(QStringLiteral("de_DE"));
    Invitation a = inv("א", "א");
    a.present = QStringLiteral("12.5");
    loadMainWindow({a});
    QCOMPARE(cell(1, 9), QStringLiteral("₪12,5"));
  }

  void storedPresentsOfAnySizeNeverFailTheLoad() {
    testsupport::ProgramFolder folder;
    // What an older file may hold: presents past the total's range either way.
    QVector<Invitation> rows;
    for (const char* present : {"1E+19", "3000000000", "500", "-1e30", "1e400"}) {
      Invitation i = inv(QString::fromLatin1(present), "x");
      i.present = QString::fromLatin1(present);
      i.presentType = 1;
      rows << i;
    }
    frmPelmora& w = loadMainWindow(rows);  // an unscripted message fails the test
    QCOMPARE(w.MSFlexGrid1->Rows(), 6);
    QCOMPARE(cell(3, 9), QStringLiteral("₪500"));
    // The total stops at the most it can hold.
    QCOMPARE(w.stb->PanelText(2), QStringLiteral("מתנות ₪2147483647"));
    w.mnuIgnoreNotCnf->trigger();  // another load: still no message
    w.mnuIgnoreNotCnf->trigger();
    QCOMPARE(w.stb->PanelText(6), QStringLiteral("מס' ההזמנות  5"));
    QVERIFY(prompts().messages().isEmpty());
  }

  void blankPhoneDisablesDial() {
    testsupport::ProgramFolder folder;
    Invitation a = inv("כהן", "דני");
    a.phones = "   ";
    frmPelmora& w = loadMainWindow({a});
    QVERIFY(!w.Toolbar1->IsEnabled(5));
    QVERIFY(w.Toolbar1->IsEnabled(2));
  }

  void nullNamesAreReportedOnce() {
    testsupport::ProgramFolder folder;
    Invitation a = inv("כהן", "דני");
    loadMainWindow({a});
    // A row with a Null count, as a damaged file may hold.
    auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    auto rs = db->OpenRecordset("select * from PELMORA");
    rs->Edit();
    rs->Fields("INV_NUM").SetValue(QVariant());
    rs->Update();
    db->Close();
    prompts().answer(platform::vbOK);
    frmPelmora::Default().InitList(g_GroupName, g_SortField);
    QCOMPARE(prompts().messages().size(), 1);
    QCOMPARE(prompts().shown().first().style, int(platform::vbExclamation));
    QCOMPARE(int(g_InvCount), 1);
    QCOMPARE(int(g_AwaitingCount), 0);
    QCOMPARE(cell(1, 3), QString());
    QCOMPARE(cell(1, 0), QStringLiteral("כהן"));
  }

  void checkEvenNum() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    for (int n : {0, 2, -4}) QVERIFY(w.CheckEvenNum(qint16(n)));
    for (int n : {1, 3, -3}) QVERIFY(!w.CheckEvenNum(qint16(n)));
  }
};

PELMORA_TEST(GuestListTest)
#include "tst_guestlist.moc"
