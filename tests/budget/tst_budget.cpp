// The budget window: loading the one row of WED_BUDGET, adding it at the first
// update and editing it later, the refusals, the total, a store that fails and
// printing the window.
#include <QImage>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <sqlite3.h>

#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "budget/frmBudget.h"
#include "guestlist/frmPelmora.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/dao.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/vb.h"
#include "support/files.h"
#include "support/screens.h"
#include "support/testsupport.h"
#include "support/userlocale.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using platform::PrintRecorder;
using testsupport::prompts;

namespace {

const QString kNotNumeric = QStringLiteral("השדות חייבים להכיל ערך מיספרי בלבד.");
const QString kAmountTooLarge = QStringLiteral("אחד השדות גדול מהערך המקסימלי המותר");
const QString kTotalTooLarge = QStringLiteral("התקציב הכולל גדול מהערך המקסימלי המותר");
const QString kStoreQuestion = QStringLiteral("הסכומים שהוקלדו עדיין לא נשמרו.\r\nהאם לשמור אותם?");

// Every WED_BUDGET row: field name to amount as text.
QVector<QMap<QString, QString>> storedRows() {
  QVector<QMap<QString, QString>> rows;
  auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
  auto rs = db->OpenRecordset(QStringLiteral("select * from WED_BUDGET"));
  while (!rs->Eof()) {
    QMap<QString, QString> row;
    for (const char* name : kBudgetFields) {
      const QVariant v = rs->Fields(QString::fromLatin1(name)).Value();
      row[QString::fromLatin1(name)] = v.isNull() ? QStringLiteral("<null>") : v.value<vb::Currency>().toString();
    }
    rows.append(row);
    rs->MoveNext();
  }
  rs->Close();
  db->Close();
  return rows;
}

// The window opened as the user opens it: toolbar button 6 of the main window.
frmBudget& openBudget() {
  loadMainWindow();
  frmPelmora::Default().Toolbar1_ButtonClick(6);
  return frmBudget::Default();
}

void type(frmBudget& w, int box, const QString& text) { w.txtBudgetBranch[box]->setText(text); }
QString box(frmBudget& w, int i) { return w.txtBudgetBranch[i]->text(); }
void update(frmBudget& w) { QTest::mouseClick(w.cmdUpdate, Qt::LeftButton); }

// Types into a box as a user does: click into it, select all, type.
void typeKeys(frmBudget& w, int i, const QString& text) {
  QLineEdit* b = w.txtBudgetBranch[i];
  QTest::mouseClick(b, Qt::LeftButton);
  QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(b, text);
}

// The budget command of the main window, as the user opens the window again.
frmBudget& reopenBudget() {
  frmPelmora::Default().Toolbar1_ButtonClick(6);
  frmBudget& w = frmBudget::Default();
  w.activateWindow();
  [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&w);
  return w;
}

// The title bar's close box.
void closeWindow(QWidget& w) {
  w.close();
  testsupport::processEvents();
}

QPoint at(const QWidget* w) {
  return QPoint(qRound(vb::PixelsToTwipsX(w->x())), qRound(vb::PixelsToTwipsY(w->y())));
}

}  // namespace

class BudgetTest : public QObject {
  Q_OBJECT
 private slots:
  void windowLayout();
  void firstUpdateAddsTheRowLaterOnesEditIt();
  void refusedInputStoresNothing();
  void totalBeyondTheMoneyRange();
  void failedStoreKeepsWhatWasTyped();
  void noDatabase();
  void printing();
  void closingWithUnstoredAmountsAsks();
  void closingWithAnAmountBeyondTheMoneyRangeAsks();
  void thousandsSeparators();
  void amountsInTheUsersLocale();
  void openedAndStoredByKeyboard();
  void withinScaledScreens_data();
  void withinScaledScreens();
};

void BudgetTest::windowLayout() {
  testsupport::ProgramFolder folder;
  frmBudget& w = openBudget();
  QVERIFY(w.isVisible());
  QVERIFY(!w.isModal());
  QCOMPARE(w.windowTitle(), QStringLiteral("מאזן תקציבי"));
  QCOMPARE(w.size(), QSize(vb::TwipsToPixelsX(10350), vb::TwipsToPixelsY(9780)));
  QCOMPARE(w.txtBudgetBranch.size(), 30);
  QCOMPARE(at(w.txtBudgetBranch[0]), QPoint(5640, 960));
  QCOMPARE(at(w.txtBudgetBranch[14]), QPoint(5640, 960 + 480 * 14));
  QCOMPARE(at(w.txtBudgetBranch[15]), QPoint(480, 960));
  QCOMPARE(at(w.txtBudgetBranch[29]), QPoint(480, 960 + 480 * 14));
  QCOMPARE(at(w.lblBudgetBranch[3]), QPoint(8520, 960 + 480 * 3));
  QCOMPARE(w.lblBudgetBranch[3]->text(), QStringLiteral(" אביזרי אופנה"));
  QCOMPARE(w.lblBudgetBranch[11]->text(), QStringLiteral(" אולם / גן אירועים"));
  QCOMPARE(at(w.lblBudgetBranch[20]), QPoint(3360, 960 + 480 * 5));
  QCOMPARE(w.lblBudgetBranch[20]->text(), QStringLiteral(" עיצוב תאורה"));
  QCOMPARE(w.lblSumCaption->text(), QStringLiteral("ס\"כ הוצאות"));
  QCOMPARE(w.cmdUpdate->text(), QStringLiteral("עדכן הוצאות"));
  QCOMPARE(w.imgPrint->toolTip(), QStringLiteral("לחץ פעמיים להדפסת המאזן התקציבי"));
  // Box i is the i-th stop of the tab order.
  for (int i = 0; i < 29; ++i) {
    QWidget* next = w.txtBudgetBranch[i]->nextInFocusChain();
    while (next && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    QCOMPARE(next, static_cast<QWidget*>(w.txtBudgetBranch[i + 1]));
  }
  // Resizing moves nothing; at its designed size nothing scrolls.
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  for (const QScrollBar* bar : w.findChildren<QScrollBar*>()) QVERIFY(!bar->isVisible());
  const QPoint boxInWindow = w.txtBudgetBranch[15]->mapTo(&w, QPoint());
  w.resize(w.width() + 100, w.height() + 80);
  QCOMPARE(at(w.txtBudgetBranch[15]), QPoint(480, 960));
  QCOMPARE(w.txtBudgetBranch[15]->mapTo(&w, QPoint()), boxInWindow);
}

void BudgetTest::firstUpdateAddsTheRowLaterOnesEditIt() {
  testsupport::ProgramFolder folder;
  vb::SetTodayForTests(QDate(2024, 3, 15));
  frmBudget& w = openBudget();
  for (int i = 0; i < 30; ++i) QCOMPARE(box(w, i), QStringLiteral("0"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("0"));
  QCOMPARE(w.lblDate->text(), QStringLiteral("15/03/2024"));
  QVERIFY(w.m_bNew);
  QVERIFY(storedRows().isEmpty());

  type(w, 0, QStringLiteral("1500.5"));
  type(w, 5, QString());             // blank: stored as 0
  type(w, 6, QStringLiteral("   "));  // only spaces: 0 as well
  type(w, 7, QStringLiteral(" 12 "));
  type(w, 29, QStringLiteral("-200"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("0"));  // the total follows the stored amounts only
  update(w);
  QVERIFY(prompts().shown().isEmpty());
  auto rows = storedRows();
  QCOMPARE(rows.size(), 1);
  QCOMPARE(rows[0][QStringLiteral("B_DRESS")], QStringLiteral("1500.5"));
  QCOMPARE(rows[0][QStringLiteral("B_MAKEUP")], QStringLiteral("0"));
  QCOMPARE(rows[0][QStringLiteral("B_RINGS")], QStringLiteral("0"));
  QCOMPARE(rows[0][QStringLiteral("B_FLOWERS")], QStringLiteral("12"));
  QCOMPARE(rows[0][QStringLiteral("B_EXTRA")], QStringLiteral("-200"));
  QCOMPARE(rows[0][QStringLiteral("B_TIPS")], QStringLiteral("0"));
  QVERIFY(!rows[0].values().contains(QStringLiteral("<null>")));
  QCOMPARE(box(w, 0), QStringLiteral("1500.5"));
  QCOMPARE(box(w, 5), QStringLiteral("0"));
  QCOMPARE(box(w, 6), QStringLiteral("0"));
  QCOMPARE(box(w, 7), QStringLiteral("12"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("1312.5"));
  QVERIFY(!w.m_bNew);

  // Later updates edit the one row.
  type(w, 1, QStringLiteral("300"));
  type(w, 0, QStringLiteral("1500"));
  update(w);
  rows = storedRows();
  QCOMPARE(rows.size(), 1);
  QCOMPARE(rows[0][QStringLiteral("B_SUIT")], QStringLiteral("300"));
  QCOMPARE(rows[0][QStringLiteral("B_DRESS")], QStringLiteral("1500"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("1612"));

  // A window opened again shows the stored row; typed amounts the user chose
  // not to store are gone.
  type(w, 2, QStringLiteral("999"));
  prompts().answer(platform::vbNo);
  frmBudget::Unload();
  testsupport::processEvents();
  QVERIFY(!frmBudget::IsLoaded());
  frmPelmora::Default().Toolbar1_ButtonClick(6);
  frmBudget& again = frmBudget::Default();
  QCOMPARE(box(again, 1), QStringLiteral("300"));
  QCOMPARE(box(again, 2), QStringLiteral("0"));
  QCOMPARE(box(again, 29), QStringLiteral("-200"));
  QVERIFY(!again.m_bNew);
}

void BudgetTest::refusedInputStoresNothing() {
  testsupport::ProgramFolder folder;
  frmBudget& w = openBudget();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));

  type(w, 3, QStringLiteral("abc"));
  type(w, 20, QStringLiteral("xyz"));
  type(w, 0, QStringLiteral("100"));
  prompts().answer(platform::vbOK);
  update(w);
  QCOMPARE(prompts().messages(), QStringList{kNotNumeric});
  QCOMPARE(prompts().shown().first().style, int(platform::vbOKOnly));
  QVERIFY(w.txtBudgetBranch[3]->hasFocus());
  QVERIFY(storedRows().isEmpty());
  QVERIFY(w.m_bNew);

  // The largest whole amount is stored; one more, or half more, is refused.
  type(w, 3, QStringLiteral("922337203685477"));
  type(w, 20, QString());
  type(w, 0, QString());  // the total stays within range
  prompts().clearShown();
  update(w);
  QVERIFY(prompts().shown().isEmpty());
  QCOMPARE(storedRows().value(0).value(QStringLiteral("B_JEWEL")), QStringLiteral("922337203685477"));

  for (const QString& tooLarge : {QStringLiteral("922337203685478"), QStringLiteral("922337203685477.5"),
                                  QStringLiteral("1e300"), QStringLiteral("-922337203685478")}) {
    prompts().clearShown();
    type(w, 3, QStringLiteral("5"));
    type(w, 10, tooLarge);
    prompts().answer(platform::vbOK);
    update(w);
    QCOMPARE(prompts().messages(), QStringList{kAmountTooLarge});
    const auto rows = storedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][QStringLiteral("B_JEWEL")], QStringLiteral("922337203685477"));
    QCOMPARE(rows[0][QStringLiteral("B_RABBI")], QStringLiteral("0"));
  }
}

void BudgetTest::totalBeyondTheMoneyRange() {
  testsupport::ProgramFolder folder;
  frmBudget& w = openBudget();
  type(w, 4, QStringLiteral("500000000000000"));
  type(w, 25, QStringLiteral("500000000000000"));
  prompts().answer(platform::vbOK);
  update(w);
  QCOMPARE(prompts().messages(), QStringList{kTotalTooLarge});
  QCOMPARE(w.lblSum->text(), QStringLiteral("0"));
  const auto rows = storedRows();
  QCOMPARE(rows.size(), 1);
  QCOMPARE(rows[0][QStringLiteral("B_HAIR_DESIGN")], QStringLiteral("500000000000000"));
  QCOMPARE(rows[0][QStringLiteral("B_CAR")], QStringLiteral("500000000000000"));
  prompts().answer(platform::vbOK);
  QCOMPARE(w.SumOfBudget(), vb::Currency());  // again the message, again 0
  QCOMPARE(prompts().messages().size(), 2);
  prompts().clearShown();

  // Negative amounts are subtracted; the total reads each box's leading number.
  type(w, 25, QStringLiteral("-499999999999999.25"));
  type(w, 0, QStringLiteral("7 ש\"ח"));
  QCOMPARE(w.SumOfBudget().toString(), QStringLiteral("7.75"));
  QVERIFY(prompts().shown().isEmpty());
}

void BudgetTest::failedStoreKeepsWhatWasTyped() {
  testsupport::ProgramFolder folder;
  frmBudget& w = openBudget();
  type(w, 0, QStringLiteral("100"));
  update(w);
  QCOMPARE(storedRows().size(), 1);

  // Another program holds the database locked for writing.
  sqlite3* other = nullptr;
  QCOMPARE(sqlite3_open(QFile::encodeName(DatabaseFile()).constData(), &other), SQLITE_OK);
  QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  type(w, 0, QStringLiteral("250"));
  type(w, 8, QStringLiteral("40"));
  prompts().answer(platform::vbOK);
  update(w);
  QCOMPARE(prompts().shown().size(), 1);
  QCOMPARE(prompts().shown().first().style, int(platform::vbExclamation));
  QVERIFY(!prompts().shown().first().text.isEmpty());
  QCOMPARE(box(w, 0), QStringLiteral("250"));  // still there to store again
  QCOMPARE(box(w, 8), QStringLiteral("40"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("100"));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  QCOMPARE(storedRows()[0][QStringLiteral("B_DRESS")], QStringLiteral("100"));

  // Once the lock is gone the same amounts are stored, still in the one row.
  prompts().clearShown();
  update(w);
  QVERIFY(prompts().shown().isEmpty());
  const auto rows = storedRows();
  QCOMPARE(rows.size(), 1);
  QCOMPARE(rows[0][QStringLiteral("B_DRESS")], QStringLiteral("250"));
  QCOMPARE(rows[0][QStringLiteral("B_INV")], QStringLiteral("40"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("290"));
}

void BudgetTest::noDatabase() {
  testsupport::ProgramFolder folder;
  loadMainWindow();
  QVERIFY(QFile::remove(DatabaseFile()));
  // Reported when the window opens and at an update; nothing is created.
  prompts().answer(platform::vbOK);
  frmPelmora::Default().Toolbar1_ButtonClick(6);
  frmBudget& w = frmBudget::Default();
  QCOMPARE(prompts().shown().size(), 1);
  QCOMPARE(prompts().shown().first().style, int(platform::vbExclamation));
  type(w, 0, QStringLiteral("10"));
  prompts().answer(platform::vbOK);
  update(w);
  QCOMPARE(prompts().shown().size(), 2);
  QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
  QCOMPARE(box(w, 0), QStringLiteral("10"));
  QVERIFY(!QFile::exists(DatabaseFile()));
  prompts().answer(platform::vbNo);  // the typed amount is not stored
  QVERIFY(frmBudget::Unload());
}

void BudgetTest::printing() {
  testsupport::ProgramFolder folder;
  frmBudget& w = openBudget();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const auto& docs = PrintRecorder::instance().documents;

  prompts().cancelDialog();
  QTest::mouseDClick(w.imgPrint, Qt::LeftButton);
  QVERIFY(docs.isEmpty());
  QVERIFY(prompts().messages().isEmpty());

  prompts().answerDialog(QStringLiteral("printer"));
  prompts().answer(platform::vbOK);
  QTest::mouseDClick(w.imgPrint, Qt::LeftButton);
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("המאזן התקציבי הודפס")});
  QCOMPARE(docs.size(), 1);
  const QImage page = docs[0].pictures().value(0).picture.toImage();
  QCOMPARE(page.size(), w.size());
  const QPoint iconMiddle = w.imgPrint->geometry().center();
  QVERIFY(w.grab().toImage().pixelColor(iconMiddle) != page.pixelColor(iconMiddle));
  QVERIFY(w.imgPrint->isVisible());

  // The control-by-control printout: every control's name, each followed by its image.
  prompts().clearShown();
  prompts().answerDialog(QStringLiteral("printer"));
  prompts().answer(platform::vbOK);
  w.PrintBudget();
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("המאזן התקציבי הודפס")});
  QCOMPARE(docs.size(), 2);
  QStringList names;
  for (const auto& t : docs[1].texts()) names << t.text;
  QVERIFY(names.contains(QStringLiteral("txtBudgetBranch(0)")));
  QVERIFY(names.contains(QStringLiteral("txtBudgetBranch(29)")));
  QVERIFY(names.contains(QStringLiteral("lblSum")));
  QCOMPARE(docs[1].pictures().size(), names.size());
  // Titled as the window, as the image printout is.
  QCOMPARE(docs[1].name, w.windowTitle());
}

void BudgetTest::closingWithUnstoredAmountsAsks() {
  testsupport::ProgramFolder folder;
  frmBudget* w = &openBudget();
  QVERIFY(QTest::qWaitForWindowExposed(w));
  closeWindow(*w);  // nothing typed: no question
  QVERIFY(!frmBudget::IsLoaded());
  QVERIFY(prompts().shown().isEmpty());

  // Cancel keeps the window open with what was typed.
  w = &reopenBudget();
  typeKeys(*w, 7, QStringLiteral("3000"));
  prompts().answer(platform::vbCancel);
  closeWindow(*w);
  QVERIFY(frmBudget::IsLoaded());
  QVERIFY(w->isVisible());
  QCOMPARE(box(*w, 7), QStringLiteral("3000"));
  QCOMPARE(prompts().messages(), QStringList{kStoreQuestion});
  QCOMPARE(prompts().shown().last().style, int(platform::vbYesNoCancel | platform::vbQuestion));
  QCOMPARE(prompts().shown().last().title, QStringLiteral("Pelmora"));
  QVERIFY(storedRows().isEmpty());

  // No closes without storing.
  prompts().answer(platform::vbNo);
  closeWindow(*w);
  QVERIFY(!frmBudget::IsLoaded());
  QVERIFY(storedRows().isEmpty());

  // Yes stores through the update and closes.
  w = &reopenBudget();
  typeKeys(*w, 7, QStringLiteral("3000"));
  prompts().clearShown();
  prompts().answer(platform::vbYes);
  closeWindow(*w);
  QVERIFY(!frmBudget::IsLoaded());
  QCOMPARE(prompts().messages(), QStringList{kStoreQuestion});
  QCOMPARE(storedRows().value(0).value(QStringLiteral("B_FLOWERS")), QStringLiteral("3000"));

  // The stored amount, written another way, is no change: no question.
  w = &reopenBudget();
  typeKeys(*w, 7, QStringLiteral(" 3000.00 "));
  prompts().clearShown();
  closeWindow(*w);
  QVERIFY(!frmBudget::IsLoaded());
  QVERIFY(prompts().shown().isEmpty());

  // Yes with a refused amount: the update's message, the window stays on that box.
  w = &reopenBudget();
  struct Refused {
    int box;
    QString text, message;
  };
  for (const Refused& r : {Refused{3, QStringLiteral("abc"), kNotNumeric},
                           Refused{12, QStringLiteral("922337203685478"), kAmountTooLarge}}) {
    typeKeys(*w, 3, QStringLiteral("5"));
    typeKeys(*w, r.box, r.text);
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbOK);
    closeWindow(*w);
    QVERIFY(frmBudget::IsLoaded());
    QCOMPARE(prompts().messages(), (QStringList{kStoreQuestion, r.message}));
    QVERIFY(w->txtBudgetBranch[r.box]->hasFocus());
    QCOMPARE(storedRows().value(0).value(QStringLiteral("B_JEWEL")), QStringLiteral("0"));
  }

  // Closing the program asks too; Cancel keeps the program and the amounts.
  prompts().clearShown();
  prompts().answer(platform::vbCancel);
  closeWindow(frmPelmora::Default());
  QVERIFY(!platform::ProgramHasEnded());
  QVERIFY(frmPelmora::IsLoaded());
  QVERIFY(frmBudget::IsLoaded());
  QCOMPARE(prompts().messages(), QStringList{kStoreQuestion});
  QCOMPARE(box(*w, 12), QStringLiteral("922337203685478"));
}

// An amount no money can hold is typed and not stored: closing asks too.
void BudgetTest::closingWithAnAmountBeyondTheMoneyRangeAsks() {
  testsupport::ProgramFolder folder;
  frmBudget* w = &openBudget();
  QVERIFY(QTest::qWaitForWindowExposed(w));
  for (const QString& huge : {QStringLiteral("99999999999999999999"), QStringLiteral("-1E+30")}) {
    w = &reopenBudget();
    typeKeys(*w, 4, huge);
    prompts().clearShown();
    prompts().answer(platform::vbNo);
    closeWindow(*w);
    QVERIFY(!frmBudget::IsLoaded());
    QCOMPARE(prompts().messages(), QStringList{kStoreQuestion});
    QVERIFY(storedRows().isEmpty());
  }
}

// "1,000" and "12,500.50" are numbers in the user's locale: they pass the
// check and are stored, limited and totalled by their full value.
void BudgetTest::thousandsSeparators() {
  testsupport::ProgramFolder folder;
  testsupport::UserLocale locale(QStringLiteral("he_IL"));
  frmBudget& w = openBudget();
  typeKeys(w, 0, QStringLiteral("1,000"));
  typeKeys(w, 1, QStringLiteral("12,500.50"));
  typeKeys(w, 2, QStringLiteral("-1,234,567"));
  update(w);
  QVERIFY2(prompts().shown().isEmpty(), qPrintable(prompts().messages().join('|')));
  const auto rows = storedRows();
  QCOMPARE(rows.size(), 1);
  QCOMPARE(rows[0][QStringLiteral("B_DRESS")], QStringLiteral("1000"));
  QCOMPARE(rows[0][QStringLiteral("B_SUIT")], QStringLiteral("12500.5"));
  QCOMPARE(rows[0][QStringLiteral("B_SHOES")], QStringLiteral("-1234567"));
  QCOMPARE(w.lblSum->text(), QStringLiteral("-1221066.5"));
  // The total of typed amounts counts their full value too.
  type(w, 3, QStringLiteral("2,000"));
  QCOMPARE(w.SumOfBudget().toString(), QStringLiteral("-1219066.5"));

  // A separator that groups no digits is no number; the limit sees the full value.
  for (const QString& no : {QStringLiteral("1,00"), QStringLiteral("1,,000"), QStringLiteral(",100"),
                            QStringLiteral("1000,"), QStringLiteral("1.000,5")}) {
    prompts().clearShown();
    type(w, 3, no);
    prompts().answer(platform::vbOK);
    update(w);
    QVERIFY2(prompts().messages() == QStringList{kNotNumeric}, qPrintable(no));
  }
  prompts().clearShown();
  type(w, 3, QStringLiteral("922,337,203,685,478"));
  prompts().answer(platform::vbOK);
  update(w);
  QCOMPARE(prompts().messages(), QStringList{kAmountTooLarge});
  QCOMPARE(storedRows()[0][QStringLiteral("B_JEWEL")], QStringLiteral("0"));
}

// Amounts are read, shown and totalled in the user's locale and stored in one
// form whatever it is; storing what the window shows changes nothing.
void BudgetTest::amountsInTheUsersLocale() {
  struct Typed {
    const char* locale;
    QString thousand, fraction, shownFraction, shownTotal, notNumber, tooLarge;
  };
  for (const Typed& t : {Typed{"de_DE", "1.500", "12,50", "12,5", "1512,5", "12.5", "922.337.203.685.477,5"},
                         Typed{"he_IL", "1,500", "12.50", "12.5", "1512.5", "12,5", "922,337,203,685,477.5"}}) {
    testsupport::ProgramFolder folder;
    testsupport::UserLocale locale(QString::fromLatin1(t.locale));
    frmBudget& w = openBudget();
    typeKeys(w, 0, t.thousand);
    typeKeys(w, 1, t.fraction);
    update(w);
    QVERIFY2(prompts().shown().isEmpty(), qPrintable(prompts().messages().join('|')));
    QCOMPARE(storedRows()[0][QStringLiteral("B_DRESS")], QStringLiteral("1500"));
    QCOMPARE(storedRows()[0][QStringLiteral("B_SUIT")], QStringLiteral("12.5"));
    QCOMPARE(box(w, 0), QStringLiteral("1500"));
    QCOMPARE(box(w, 1), t.shownFraction);
    QCOMPARE(w.lblSum->text(), t.shownTotal);

    const QByteArray file = testsupport::readFile(DatabaseFile());
    update(w);
    QVERIFY(prompts().shown().isEmpty());
    QCOMPARE(testsupport::readFile(DatabaseFile()), file);
    closeWindow(w);  // nothing unstored: no question
    QVERIFY(!frmBudget::IsLoaded());
    QCOMPARE(box(reopenBudget(), 1), t.shownFraction);

    for (const QString& refused : {t.notNumber, t.tooLarge}) {
      prompts().clearShown();
      typeKeys(frmBudget::Default(), 2, refused);
      prompts().answer(platform::vbOK);
      update(frmBudget::Default());
      QCOMPARE(prompts().messages(), QStringList{refused == t.notNumber ? kNotNumeric : kAmountTooLarge});
      QCOMPARE(testsupport::readFile(DatabaseFile()), file);
    }
  }
}

// The toolbar is in the main window's Tab order, so its budget button opens
// by Enter; Enter on the focused update button stores.
void BudgetTest::openedAndStoredByKeyboard() {
  testsupport::ProgramFolder folder;
  frmPelmora& main = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דני"))});
  main.resize(900, 500);
  main.show();
  QVERIFY(QTest::qWaitForWindowActive(&main));
  auto focused = [] { return QApplication::focusWidget(); };
  platform::FlexGrid* grid = main.MSFlexGrid1;
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 1)).center());
  QWidget* budgetButton = main.Toolbar1->widgetForAction(main.Toolbar1->Button(6));
  for (int i = 0; i < 40 && focused() != budgetButton; ++i) QTest::keyClick(focused(), Qt::Key_Tab);
  QCOMPARE(focused(), budgetButton);
  QTest::keyClick(focused(), Qt::Key_Return);
  QVERIFY(frmBudget::IsLoaded());
  frmBudget& w = frmBudget::Default();
  QVERIFY(QTest::qWaitForWindowActive(&w));

  QTest::mouseClick(w.txtBudgetBranch[0], Qt::LeftButton);  // set-up
  QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(focused(), QStringLiteral("1500"));
  for (int i = 0; i < 40 && focused() != w.cmdUpdate; ++i) QTest::keyClick(focused(), Qt::Key_Tab);
  QCOMPARE(focused(), w.cmdUpdate);
  QTest::keyClick(focused(), Qt::Key_Return);
  QVERIFY(prompts().shown().isEmpty());
  const auto rows = storedRows();
  QCOMPARE(rows.size(), 1);
  QCOMPARE(rows[0][QStringLiteral("B_DRESS")], QStringLiteral("1500"));
}

void BudgetTest::withinScaledScreens_data() {
  // The last one is narrower than the window too.
  testsupport::addScreenRows({{1366, 768, 125}, {1366, 768, 150}, {1920, 1080, 200}, {1366, 768, 200}});
}

// A screen smaller than the design: the window opens on it and its contents
// scroll, so Tab and the scroll bar reach every control.
void BudgetTest::withinScaledScreens() {
  QFETCH(testsupport::TestScreen, screen);
  PELMORA_ON_SCREEN(screen);
  testsupport::ProgramFolder folder;
  frmBudget& w = openBudget();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  PELMORA_TRY_FRAME_ON_SCREEN(&w, screen);

  auto focused = [] { return QApplication::focusWidget(); };
  QTest::mouseClick(w.txtBudgetBranch[0], Qt::LeftButton);
  for (int i = 1; i < frmBudget::kBranches; ++i) {
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget*>(w.txtBudgetBranch[i]));
    QVERIFY2(testsupport::wholeInWindow(focused()), qPrintable(focused()->objectName()));
  }
  QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(focused(), QStringLiteral("250"));
  QTest::keyClick(focused(), Qt::Key_Tab);
  QCOMPARE(focused(), static_cast<QWidget*>(w.cmdUpdate));
  QVERIFY(testsupport::wholeInWindow(w.cmdUpdate));
  QTest::keyClick(focused(), Qt::Key_Space);
  QCOMPARE(storedRows().value(0).value(QStringLiteral("B_EXTRA")), QStringLiteral("250"));

  // By mouse: the scroll bar brings the last row into view.
  QScrollBar* bar = nullptr;
  for (QScrollBar* b : w.findChildren<QScrollBar*>())
    if (b->orientation() == Qt::Vertical && b->isVisible()) bar = b;
  QVERIFY(bar);
  QVERIFY(testsupport::wholeInWindow(bar));
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  QVERIFY(testsupport::wholeInWindow(w.lblTitle));
  QVERIFY(!testsupport::wholeInWindow(w.lblFooterWeb));
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  for (QWidget* c : {static_cast<QWidget*>(w.lblSumCaption), static_cast<QWidget*>(w.lblSum),
                     static_cast<QWidget*>(w.cmdUpdate), static_cast<QWidget*>(w.imgPrint),
                     static_cast<QWidget*>(w.lblBudgetBranch[14]), static_cast<QWidget*>(w.lblFooterWeb)})
    QVERIFY2(testsupport::wholeInWindow(c), qPrintable(c->objectName()));
  QTest::mouseClick(w.txtBudgetBranch[14], Qt::LeftButton);
  QCOMPARE(focused(), static_cast<QWidget*>(w.txtBudgetBranch[14]));
}

PELMORA_TEST(BudgetTest)
#include "tst_budget.moc"
