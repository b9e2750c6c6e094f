// The seat view of one table: chair boxes per person, their places for every
// table size, colours by answer, counts that do not match the guest table, the
// read-only boxes, opening from the tables map and printing the window.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QtTest>

#include "app/mdlWedding.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/shapes.h"
#include "platform/vb.h"
#include "seating/frmTable.h"
#include "seating/frmTableMap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using platform::PrintRecorder;
using testsupport::prompts;

namespace {

const QString kFree = QStringLiteral("פנוי");
const QString kPlaceError = QStringLiteral("ארעה שגיאה ביצירת השולחן");
const QColor kComing = vb::OleColor(0xC0E0FF);
const QColor kUnanswered = vb::OleColor(0xC0C0FF);

testsupport::Invitation seated(const QString& family, const QString& first, int count, int confirm,
                               const QVariant& table) {
  testsupport::Invitation i = guest(family, first, count, confirm);
  i.tableNo = table;
  return i;
}

QString twoLines(const QString& family, const QString& first) { return family + QStringLiteral("\r\n") + first; }

// The place of a box in twips (exact: every measure is a whole number of pixels).
QPoint at(const QWidget* w) {
  return QPoint(qRound(vb::PixelsToTwipsX(w->x())), qRound(vb::PixelsToTwipsY(w->y())));
}
int widthTwips(const QWidget* w) { return qRound(vb::PixelsToTwipsX(w->width())); }

// The seat view loaded directly, as ViewTable hands it a table and a count.
frmTable& openView(int table, int people) {
  g_SelTable = static_cast<quint8>(table);
  g_SelTablePeople = static_cast<quint8>(people);
  g_NewLine = QStringLiteral("\r\n");  // as the program start sets it
  frmTable::Unload();
  testsupport::processEvents();
  return frmTable::Default();
}

int beeps() {
  int n = 0;
  for (const auto& p : prompts().shown())
    if (p.kind == platform::Prompt::BeepSound) ++n;
  return n;
}

}  // namespace

class SeatViewTest : public QObject {
  Q_OBJECT
 private slots:
  void windowLayout();
  void openedFromTheMapPerPersonAndAnswer();
  void fifteenSeatsAndEveryTableSize();
  void countsThatDoNotMatchTheGuestTable();
  void emptyOrMissingGuestTable();
  void typingChangesNothing();
  void printing();
};

void SeatViewTest::windowLayout() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::addInvitation(seated(QStringLiteral("כהן"), QStringLiteral("דוד"), 1, 1, 3));
  frmTable& view = openView(3, 1);
  QCOMPARE(view.windowTitle(), QStringLiteral("סידור הושבה בשולחן"));
  QVERIFY(view.windowFlags().testFlag(Qt::Tool));
  QCOMPARE(view.minimumSize(), view.maximumSize());
  QCOMPARE(view.size(), QSize(vb::TwipsToPixelsX(6615), vb::TwipsToPixelsY(4800)));
  QCOMPARE(view.Shape2->geometry(), QRect(vb::TwipsToPixelsX(2160), vb::TwipsToPixelsY(1200),
                                          vb::TwipsToPixelsX(2175), vb::TwipsToPixelsY(1695)));
  QCOMPARE(view.Shape2->kind(), platform::Shape::Circle);
  QCOMPARE(view.Shape2->FillColor(), vb::OleColor(0xFFC0C0));
  QCOMPARE(view.Shape1->FillColor(), kComing);
  QCOMPARE(view.Shape3->FillColor(), kUnanswered);
  QCOMPARE(at(view.imgPrint), QPoint(6000, 3840));
  QCOMPARE(view.imgPrint->toolTip(), QStringLiteral("לחץ פעמיים להדפסת סידור ההושבה לשולחן זה"));
  QCOMPARE(view.Label1->text(), QStringLiteral("אורח שאישר כי יגיע"));
  QCOMPARE(view.Label2->text(), QStringLiteral("אורח שלא ידוע אם יגיע"));
  QCOMPARE(view.lblFooterTitle->text(), QStringLiteral("Pelmora"));
  QVERIFY(view.lblTableNum->font().bold());
}

void SeatViewTest::openedFromTheMapPerPersonAndAnswer() {
  testsupport::ProgramFolder folder;
  // Table 7, in the order the guest table keeps them: an unanswered guest first,
  // then a guest of answer 2 (keeps the colour chair 0 has), a family of three
  // who are coming, one not sure, one with no guests and others elsewhere.
  loadMainWindow({seated(QStringLiteral("לוי"), QStringLiteral("שרה"), 1, 0, 7),
                  seated(QStringLiteral("גל"), QStringLiteral("נוי"), 2, 1, 3),
                  seated(QStringLiteral("בר"), QStringLiteral("עוז"), 1, 2, 7),
                  seated(QStringLiteral("כהן"), QStringLiteral("דוד"), 3, 1, 7),
                  seated(QStringLiteral("אבן"), QStringLiteral("רון"), 0, 1, 7),
                  seated(QStringLiteral("רז"), QStringLiteral("טל"), 1, 3, 7),
                  seated(QStringLiteral("שם"), QStringLiteral("אין"), 2, 1, QVariant())});
  frmTableMap& map = frmTableMap::Default();
  map.lvwTable->SetSelectedItem(7);
  map.lvwTable_Click();
  map.ViewTable();
  QVERIFY(frmTable::IsLoaded());
  frmTable& view = frmTable::Default();
  QVERIFY(view.isVisible());
  QVERIFY(!view.isModal());
  QCOMPARE(g_SelTablePeople, quint8(6));

  QCOMPARE(view.txtChair.size(), 6);
  const QStringList texts = {twoLines("לוי", "שרה"), twoLines("בר", "עוז"), twoLines("כהן", "דוד"),
                             twoLines("כהן", "דוד"), twoLines("כהן", "דוד"), twoLines("רז", "טל")};
  const QList<QColor> colours = {kUnanswered, kUnanswered, kComing, kComing, kComing, kUnanswered};
  const QList<QPoint> places = {{2400, 360}, {4440, 960}, {4680, 1800}, {4440, 2640}, {2400, 3240}, {480, 2640}};
  for (int k = 0; k < 6; ++k) {
    const ChairBox* box = view.txtChair[k];
    QCOMPARE(box->Text(), texts[k]);
    QCOMPARE(box->toPlainText(), QString(texts[k]).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(box->BackColor(), colours[k]);
    QCOMPARE(at(box), places[k]);
    QCOMPARE(widthTwips(box), 1575);
    QVERIFY(box->isVisible());
  }
  QCOMPARE(view.lblTableNum->text(), QStringLiteral("שולחן מס' 7"));
  QCOMPARE(view.lblNumOfPpl->text(), QStringLiteral("שולחן של 6 מוזמנים"));
  QVERIFY(prompts().shown().isEmpty());
  QVERIFY(!g_DB->IsOpen());

  // Choosing another table replaces the view with a fresh one.
  QPointer<frmTable> old(&view);
  map.lvwTable->SetSelectedItem(3);
  map.lvwTable_Click();
  map.ViewTable();
  testsupport::processEvents();
  QVERIFY(old.isNull());
  frmTable& next = frmTable::Default();
  QCOMPARE(next.txtChair.size(), 2);
  QCOMPARE(next.txtChair[0]->Text(), twoLines("גל", "נוי"));
  QCOMPARE(next.txtChair[0]->BackColor(), kComing);
  QCOMPARE(next.lblTableNum->text(), QStringLiteral("שולחן מס' 3"));
}

void SeatViewTest::fifteenSeatsAndEveryTableSize() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::addInvitations({seated(QStringLiteral("כהן"), QStringLiteral("דוד"), 15, 1, 9)});
  frmTable& view = openView(9, 15);
  QCOMPARE(view.txtChair.size(), 15);
  QCOMPARE(widthTwips(view.txtChair[0]), 1455);
  QCOMPARE(widthTwips(view.txtChair[14]), 1455);
  for (int k = 1; k < 14; ++k) QCOMPARE(widthTwips(view.txtChair[k]), 1575);
  QCOMPARE(at(view.txtChair[0]), QPoint(3360, 240));
  QCOMPARE(at(view.txtChair[14]), QPoint(1800, 240));
  QCOMPARE(at(view.txtChair[7]), QPoint(2520, 3480));
  QCOMPARE(view.txtChair[0]->BackColor(), kComing);  // the first guest is coming: chair 0 keeps its colour
  QVERIFY(prompts().shown().isEmpty());

  // Every size: the chairs stay inside the window, and only 15 narrows any.
  for (int n = 1; n <= 14; ++n) {
    frmTable& v = openView(9, n);
    QVERIFY(prompts().shown().isEmpty());
    for (int k = 0; k < n; ++k) {
      QVERIFY(v.rect().contains(v.txtChair[k]->geometry()));
      QCOMPARE(widthTwips(v.txtChair[k]), 1575);
    }
    QVERIFY2(at(v.txtChair[0]).y() <= 360, "chair 0 is at the top");
  }
  frmTable& twelve = openView(9, 12);
  QCOMPARE(at(twelve.txtChair[9]), QPoint(120, 1800));
  QCOMPARE(at(twelve.txtChair[11]), QPoint(720, 600));
  // The surplus people beyond a count of 12 stay at chair 0's design place.
  QCOMPARE(at(twelve.txtChair[12]), QPoint(2520, 360));
}

void SeatViewTest::countsThatDoNotMatchTheGuestTable() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::addInvitations({seated(QStringLiteral("כהן"), QStringLiteral("דוד"), 2, 1, 4),
                               seated(QStringLiteral("לוי"), QStringLiteral("שרה"), 1, 0, 5)});

  // A stale count above the people found: the missing chairs are reported, the others placed.
  prompts().answer(platform::vbOK);
  frmTable& more = openView(4, 4);
  QCOMPARE(prompts().messages(), QStringList{kPlaceError});
  QCOMPARE(more.txtChair.size(), 2);
  QCOMPARE(at(more.txtChair[0]), QPoint(2400, 360));
  QCOMPARE(at(more.txtChair[1]), QPoint(4440, 960));
  QCOMPARE(more.lblNumOfPpl->text(), QStringLiteral("שולחן של 4 מוזמנים"));  // the count handed over

  // Below: the surplus boxes stay stacked at chair 0's design place, silently.
  prompts().clearShown();
  frmTable& fewer = openView(4, 1);
  QVERIFY(prompts().shown().isEmpty());
  QCOMPARE(at(fewer.txtChair[0]), QPoint(2400, 360));
  QCOMPARE(at(fewer.txtChair[1]), QPoint(2520, 360));
  QVERIFY(fewer.txtChair[1]->isVisibleTo(&fewer));

  // Nobody at the table: chair 0 stays free and the others are missing.
  prompts().answer(platform::vbOK);
  frmTable& nobody = openView(6, 2);
  QCOMPARE(prompts().messages(), QStringList{kPlaceError});
  QCOMPARE(nobody.txtChair.size(), 1);
  QCOMPARE(nobody.txtChair[0]->Text(), kFree);
  QCOMPARE(at(nobody.txtChair[0]), QPoint(2400, 360));

  // More than fifteen seats: refused, nothing placed.
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  frmTable& many = openView(4, 16);
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("מספר המושבים לשולחן גבוה מהמותר")});
  QCOMPARE(at(many.txtChair[0]), QPoint(2520, 360));
  QCOMPARE(at(many.txtChair[1]), QPoint(2520, 360));
}

void SeatViewTest::emptyOrMissingGuestTable() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  prompts().answer(platform::vbOK);
  frmTable& view = openView(2, 3);
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("רשימת המוזמנים ריקה.")});
  QCOMPARE(prompts().shown().first().title, QStringLiteral("Pelmora"));
  QCOMPARE(view.txtChair.size(), 1);
  QCOMPARE(view.txtChair[0]->Text(), kFree);
  QCOMPARE(at(view.txtChair[0]), QPoint(2520, 360));
  QCOMPARE(view.lblTableNum->text(), QStringLiteral("שולחן מס'"));
  QCOMPARE(view.lblNumOfPpl->text(), QString());
  QVERIFY(!g_DB->IsOpen());

  // No database at all: nobody seated, the chair of a one-seat table placed quietly.
  QFile::remove(DatabaseFile());
  prompts().clearShown();
  frmTable& none = openView(2, 1);
  QVERIFY(prompts().shown().isEmpty());
  QCOMPARE(none.txtChair[0]->Text(), kFree);
  QCOMPARE(at(none.txtChair[0]), QPoint(2400, 360));
  QCOMPARE(none.lblTableNum->text(), QStringLiteral("שולחן מס' 2"));
}

void SeatViewTest::typingChangesNothing() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::addInvitation(seated(QStringLiteral("כהן"), QStringLiteral("דוד"), 2, 1, 1));
  frmTable& view = openView(1, 2);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  ChairBox* box = view.txtChair[1];
  box->setFocus();
  QTest::keyClicks(box, QStringLiteral("a1"));
  QKeyEvent hebrew(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("א"));
  QApplication::sendEvent(box, &hebrew);
  QTest::keyClick(box, Qt::Key_Backspace);
  QTest::keyClick(box, Qt::Key_Return);
  QTest::keyClick(box, Qt::Key_Delete);
  QCOMPARE(box->Text(), twoLines("כהן", "דוד"));
  QCOMPARE(box->toPlainText(), QStringLiteral("כהן\nדוד"));
  QCOMPARE(beeps(), 5);  // each character and Enter and Backspace; Delete types no character
  QCOMPARE(testsupport::readInvitations().first().value(QStringLiteral("FAMILY_NAME")).toString(),
           QStringLiteral("כהן"));
}

void SeatViewTest::printing() {
  testsupport::ProgramFolder folder;
  loadMainWindow({seated(QStringLiteral("כהן"), QStringLiteral("דוד"), 2, 1, 5)});
  frmTable& view = openView(5, 2);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  const auto& docs = PrintRecorder::instance().documents;

  // A cancelled printer dialog: nothing printed, nothing said.
  prompts().cancelDialog();
  QTest::mouseDClick(view.imgPrint, Qt::LeftButton);
  QVERIFY(docs.isEmpty());
  QCOMPARE(prompts().messages(), QStringList());

  prompts().clearShown();
  prompts().answerDialog(QStringLiteral("printer"));
  prompts().answer(platform::vbOK);
  QTest::mouseDClick(view.imgPrint, Qt::LeftButton);
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("סידור ההושבה לשולחן הודפס")});
  QCOMPARE(docs.size(), 1);
  QCOMPARE(docs[0].pictures().size(), 1);
  QVERIFY(view.imgPrint->isVisible());

  // The page is the window without its print icon: where the icon's middle is
  // the window's own background shows.
  const QImage page = docs[0].pictures()[0].picture.toImage();
  QCOMPARE(page.size(), view.size());
  const QPoint iconMiddle = view.imgPrint->geometry().center();
  const QImage onScreen = view.grab().toImage();
  QVERIFY(onScreen.pixelColor(iconMiddle) != view.palette().color(QPalette::Window));
  QCOMPARE(page.pixelColor(iconMiddle), view.palette().color(QPalette::Window));
  // The chairs are on the page.
  const QPoint chairMiddle = view.txtChair[0]->geometry().center() + QPoint(0, 12);
  QCOMPARE(page.pixelColor(chairMiddle), onScreen.pixelColor(chairMiddle));
}

PELMORA_TEST(SeatViewTest)
#include "tst_seatview.moc"
