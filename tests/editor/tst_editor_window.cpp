// The editor window: its opening, tabs, labels of the present, exclusive
// answer boxes, key rules, clearing and the multi-row layout.
#include "editor_fixture.h"
#include "support/drawntext.h"
#include "support/screens.h"

using namespace mdlWedding;
using namespace editortest;
using platform::Prompt;
using testsupport::prompts;

namespace {
int beeps() {
  int n = 0;
  for (const Prompt& p : prompts().shown()) n += p.kind == Prompt::BeepSound ? 1 : 0;
  return n;
}
}  // namespace

class EditorWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void opensForAddWithDefaults() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QCOMPARE(w.windowTitle(), QStringLiteral("הוספת פרטי הזמנה חדשה למערכת"));
    QCOMPARE(w.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(w.cmbInvNum->currentText(), QStringLiteral("2"));
    QCOMPARE(w.cmbInvNum->count(), 8);
    QCOMPARE(w.cmbTableNo->currentText(), QString());
    QCOMPARE(w.cmbTableNo->count(), 100);
    QCOMPARE(w.cmbTableNo->itemText(99), QStringLiteral("100"));
    QCOMPARE(w.cmbGroup->currentText(), kCouple);  // the list shows all guests
    QCOMPARE(w.cmbGroup->count(), 3);
    QCOMPARE(w.cmbGroup->itemText(1), kHis);
    QVERIFY(!w.chkConfirmOk->isChecked() && !w.chkConfirmNotOk->isChecked() && !w.chkConfirmUnkown->isChecked());
    QVERIFY(!w.chkInvSent->isChecked());
    QVERIFY(w.optPresCheck->isChecked());
    QCOMPARE(w.lblPresentDesc->text(), QStringLiteral("סכום המתנה"));
    QCOMPARE(w.TabStrip1->currentIndex(), 0);
    QVERIFY(w.framInvDetails->isVisible() && !w.framInvConfirm->isVisible() && !w.framPresentDetails->isVisible());
    QCOMPARE(w.cmdOK->text(), QStringLiteral("שמור"));
    QCOMPARE(w.cmdCancel->text(), QStringLiteral("בטל"));
    QCOMPARE(w.txtFamilyName->toolTip(), QStringLiteral("שם המשפחה של המוזמן"));
    QVERIFY(prompts().messages().isEmpty());
  }

  void groupBoxFollowsTheListFilterAndUserGroups() {
    testsupport::ProgramFolder folder;
    loadMain();
    g_NumOfGroups = 5;
    g_UserGroups = {kCouple, kHis, kHer, QStringLiteral("חברים"), QStringLiteral("עבודה"), QString()};
    g_GroupName = QStringLiteral("עבודה");
    frmInvDetails& w = openAdd();
    QCOMPARE(w.cmbGroup->currentText(), QStringLiteral("עבודה"));
    QCOMPARE(w.cmbGroup->count(), 5);
    QCOMPARE(w.cmbGroup->itemText(3), QStringLiteral("חברים"));
    QCOMPARE(w.cmbGroup->itemText(4), QStringLiteral("עבודה"));
  }

  void tabsShowOneFrameAndKeyboardOrder() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    w.TabStrip1->setCurrentIndex(1);
    QVERIFY(!w.framInvDetails->isVisible() && w.framInvConfirm->isVisible() && !w.framPresentDetails->isVisible());
    w.TabStrip1->setCurrentIndex(2);
    QVERIFY(!w.framInvDetails->isVisible() && !w.framInvConfirm->isVisible() && w.framPresentDetails->isVisible());
    w.TabStrip1->setCurrentIndex(0);
    QVERIFY(w.framInvDetails->isVisible() && !w.framInvConfirm->isVisible());

    // Tab order as designed, read along the focus chain.
    const QList<QWidget*> order = {w.txtFamilyName, w.txtFirstName, w.txtPhones, w.txtAddress, w.cmbInvNum,
                                   w.cmbGroup, w.txtRemark, w.chkConfirmOk, w.chkConfirmNotOk,
                                   w.chkConfirmUnkown, w.cmbTableNo, w.chkInvSent, w.optPresCheck,
                                   w.optPresCashe, w.optPresDiff, w.txtPresent, w.cmdOK, w.cmdCancel};
    auto listed = [&](QWidget* x) -> QWidget* {
      for (QWidget* o : order)
        if (x == o || x->focusProxy() == o || x->parentWidget() == o) return o;
      return nullptr;
    };
    for (int i = 0; i + 1 < order.size(); ++i) {
      QWidget* next = order[i]->nextInFocusChain();
      while (next != &w && (!listed(next) || listed(next) == order[i])) next = next->nextInFocusChain();
      QVERIFY2(listed(next) == order[i + 1], qPrintable(order[i]->objectName()));
    }
  }

  // Without a mouse: Ctrl+Tab and Ctrl+PageDown (Shift or PageUp for back)
  // switch tabs and bring the focus to the tab's first control, the tab strip
  // is a stop of the Tab order, and Enter presses the focused button.
  void keyboardReachesEveryTab() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto focused = [] { return QApplication::focusWidget(); };
    auto key = [&](int k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focused(), Qt::Key(k), m); };
    QCOMPARE(focused(), w.txtFamilyName);
    QTest::keyClicks(w.txtFamilyName, QStringLiteral("Levi"));
    key(Qt::Key_Tab);
    QTest::keyClicks(focused(), QStringLiteral("Dan"));

    key(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.TabStrip1->currentIndex(), 1);
    QVERIFY(w.framInvConfirm->isVisible() && !w.framInvDetails->isVisible());
    QCOMPARE(focused(), w.chkConfirmOk);
    key(Qt::Key_Space);
    QVERIFY(w.chkConfirmOk->isChecked());
    for (int i = 0; i < 4; ++i) key(Qt::Key_Tab);  // past the other answers and the table
    QCOMPARE(focused(), w.chkInvSent);
    key(Qt::Key_Space);

    key(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(w.TabStrip1->currentIndex(), 2);
    QCOMPARE(focused(), w.optPresCheck);
    key(Qt::Key_Tab, Qt::ControlModifier);  // round to the first tab
    QCOMPARE(w.TabStrip1->currentIndex(), 0);
    QCOMPARE(focused(), w.txtFamilyName);
    key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);  // back round to the last
    QCOMPARE(w.TabStrip1->currentIndex(), 2);
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.TabStrip1->currentIndex(), 1);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(w.TabStrip1->currentIndex(), 0);

    // From the last button Tab goes on to the tab strip, where the arrows
    // follow the screen: right to left, Left is the next tab.
    w.cmdCancel->setFocus(Qt::TabFocusReason);  // set-up: the end of the order
    key(Qt::Key_Tab);
    QCOMPARE(focused(), w.TabStrip1);
    key(Qt::Key_Left);
    QCOMPARE(w.TabStrip1->currentIndex(), 1);
    QVERIFY(w.framInvConfirm->isVisible());
    QCOMPARE(focused(), w.TabStrip1);
    key(Qt::Key_Right);
    QCOMPARE(w.TabStrip1->currentIndex(), 0);

    // Enter on the focused OK saves what the keys set and closes.
    w.cmdOK->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    testsupport::processEvents();
    QVERIFY(messages().isEmpty());
    QVERIFY(!frmInvDetails::IsLoaded());
    const QVariantMap r = rowOf("Levi", "Dan");
    QCOMPARE(r["CONFIRM"].toInt(), 1);
    QCOMPARE(r["INV_STATUS"].toBool(), true);

    // Enter on the focused cancel button closes without saving.
    frmInvDetails& again = openAdd();
    QVERIFY(QTest::qWaitForWindowActive(&again));
    QTest::keyClicks(again.txtFamilyName, QStringLiteral("Cohen"));
    again.cmdCancel->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Enter);
    testsupport::processEvents();
    QVERIFY(!frmInvDetails::IsLoaded());
    QCOMPARE(rows().size(), 1);
  }

  void answerBoxesStayExclusive() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    w.chkConfirmNotOk->setChecked(true);
    w.chkConfirmOk->setChecked(true);  // by program, as loading does
    QVERIFY(w.chkConfirmOk->isChecked());
    QVERIFY(!w.chkConfirmNotOk->isChecked() && !w.chkConfirmUnkown->isChecked());
    w.chkConfirmUnkown->click();  // by the user
    QVERIFY(w.chkConfirmUnkown->isChecked() && !w.chkConfirmOk->isChecked() && !w.chkConfirmNotOk->isChecked());
    w.chkConfirmUnkown->click();  // unchecking leaves all three clear
    QVERIFY(!w.chkConfirmOk->isChecked() && !w.chkConfirmNotOk->isChecked() && !w.chkConfirmUnkown->isChecked());
  }

  void presentLabelsFollowTheKind() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    w.TabStrip1->setCurrentIndex(2);
    w.optPresDiff->setChecked(true);
    QCOMPARE(w.lblPresentDesc->text(), QStringLiteral("תאור המתנה"));
    QCOMPARE(w.lblPresentDesc->toolTip(), QStringLiteral("תאור קצר של המתנה"));
    QVERIFY(!w.lblShekel->isVisible());
    w.optPresCashe->click();
    QCOMPARE(w.lblPresentDesc->text(), QStringLiteral("סכום המתנה"));
    QCOMPARE(w.lblPresentDesc->toolTip(), QStringLiteral("הסכום הכספי של המתנה בשקלים"));
    QVERIFY(w.lblShekel->isVisible());
    w.optPresDiff->setChecked(true);
    w.ClearInv();  // clearing selects cheque again
    QVERIFY(w.optPresCheck->isChecked() && !w.optPresDiff->isChecked());
    QCOMPARE(w.lblPresentDesc->text(), QStringLiteral("סכום המתנה"));
  }

  void keyRules() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();

    // Count: digits only; Backspace is swallowed too.
    w.cmbInvNum->setEditText(QString());
    QTest::keyClicks(w.cmbInvNum, "1a2");
    QCOMPARE(w.cmbInvNum->currentText(), QStringLiteral("12"));
    QCOMPARE(beeps(), 1);
    QTest::keyClick(w.cmbInvNum, Qt::Key_Backspace);
    QCOMPARE(w.cmbInvNum->currentText(), QStringLiteral("12"));
    QCOMPARE(beeps(), 2);

    // Table: digits and Backspace.
    QTest::keyClicks(w.cmbTableNo, "4x5");
    QCOMPARE(w.cmbTableNo->currentText(), QStringLiteral("45"));
    QCOMPARE(beeps(), 3);
    QTest::keyClick(w.cmbTableNo, Qt::Key_Backspace);
    QCOMPARE(w.cmbTableNo->currentText(), QStringLiteral("4"));
    QCOMPARE(beeps(), 3);

    // Group: nothing can be typed.
    const QString group = w.cmbGroup->currentText();
    QTest::keyClicks(w.cmbGroup, "z");
    QTest::keyClick(w.cmbGroup, Qt::Key_Backspace);
    QCOMPARE(w.cmbGroup->currentText(), group);
    QCOMPARE(beeps(), 5);

    // Names and the multi-line boxes take every key; Enter in a multi-line box
    // is a new line, not a save.
    QTest::keyClicks(w.txtFamilyName, "Levi");
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Levi"));
    QTest::keyClicks(w.txtRemark, "a");
    QTest::keyClick(w.txtRemark, Qt::Key_Return);
    QTest::keyClicks(w.txtRemark, "b");
    QCOMPARE(w.txtRemark->toPlainText(), QStringLiteral("a\nb"));
    QCOMPARE(beeps(), 5);
    QVERIFY(prompts().messages().isEmpty());
    QVERIFY(rows().isEmpty());
  }

  void enterInNameBoxSavesAndWindowStays() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QTest::keyClicks(w.txtFamilyName, "Levi");
    prompts().answer(platform::vbOK);
    QTest::keyClick(w.txtFamilyName, Qt::Key_Return);  // first name empty: refused
    QCOMPARE(messages(), QStringList{QStringLiteral("השדות שם משפחה\\פרטי אינם יכולים להיות ריקים.")});
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Levi"));  // every value kept
    QTest::keyClicks(w.txtFirstName, "Dan");
    QTest::keyClick(w.txtFirstName, Qt::Key_Enter);  // the keypad's Enter
    QCOMPARE(rows().size(), 1);
    QVERIFY(frmInvDetails::IsLoaded());
    QVERIFY(w.isVisible());
    QCOMPARE(w.txtFamilyName->text(), QString());  // cleared for the next one
    // Enter in the table box saves too, then is swallowed with a beep.
    fillNames(w, "Levi", "Noa");
    QTest::keyClick(w.cmbTableNo, Qt::Key_Return);
    QCOMPARE(rows().size(), 2);
    QCOMPARE(messages().size(), 1);
  }

  // A save by Enter from another tab puts the focus in the family-name box and
  // shows its tab with it, so the next name is typed where it can be seen.
  void saveByEnterShowsTheFirstTabWithTheFocus() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClicks(w.txtFamilyName, "Levi");
    QTest::keyClicks(w.txtFirstName, "Dan");
    user::clickTab(w, 3);
    QVERIFY(w.txtPresent->isVisible());
    w.txtPresent->setFocus();
    QTest::keyClicks(w.txtPresent, "500");
    QTest::keyClick(w.txtPresent, Qt::Key_Return);
    QCOMPARE(rows().size(), 1);
    QVERIFY(messages().isEmpty());
    QCOMPARE(w.TabStrip1->currentIndex(), 0);
    QVERIFY(w.txtFamilyName->isVisible());
    QVERIFY(!w.framPresentDetails->isVisible());
    QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.txtFamilyName));
    QTest::keyClicks(w.focusWidget(), "Cohen");
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Cohen"));
  }

  // Hebrew typed in the multi-line address and remark boxes starts at their
  // right edge, as in every single-line box of the window.
  void multiLineBoxesReadRightToLeft() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (QPlainTextEdit* box : {w.txtAddress, w.txtRemark}) {
      box->setFocus();
      user::typeText(box, QStringLiteral("רחוב הרצל"));
      QCOMPARE(box->toPlainText(), QStringLiteral("רחוב הרצל"));
      box->setReadOnly(true);  // no blinking cursor in the picture
      QWidget* view = box->viewport();
      const QRect ink = testsupport::InkBounds(view->grab().toImage());
      box->setReadOnly(false);
      QVERIFY(!ink.isNull());
      QVERIFY2(ink.left() > view->width() / 2 && view->width() - ink.right() < 16,
               qPrintable(QStringLiteral("ink %1..%2 of %3").arg(ink.left()).arg(ink.right()).arg(view->width())));
    }
  }

  void okClosesOnlyOnSuccessCancelClosesWithoutSaving() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails* w = &openAdd();
    prompts().answer(platform::vbOK);
    w->cmdOK->click();
    QVERIFY(frmInvDetails::IsLoaded());  // refused: stays
    fillNames(*w, "Levi", "Dan");
    w->cmdOK->click();
    testsupport::processEvents();
    QVERIFY(!frmInvDetails::IsLoaded());
    QCOMPARE(rows().size(), 1);

    w = &openAdd();
    fillNames(*w, "Cohen", "Dan");
    w->cmdCancel->click();
    testsupport::processEvents();
    QVERIFY(!frmInvDetails::IsLoaded());
    QCOMPARE(rows().size(), 1);
  }

  void clearAndMultiRowLayout() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    fillNames(w, "Levi", "Dan");
    w.txtAddress->setPlainText("Street 1");
    w.cmbInvNum->setEditText("5");
    w.cmbTableNo->setEditText("3");
    w.chkConfirmOk->setChecked(true);
    w.chkInvSent->setChecked(true);
    w.txtPresent->setText("100");
    w.cmbGroup->setEditText(kHer);
    w.ClearInv();
    QCOMPARE(w.txtFamilyName->text(), QString());
    QCOMPARE(w.txtAddress->toPlainText(), QString());
    QCOMPARE(w.cmbInvNum->currentText(), QStringLiteral("2"));
    QCOMPARE(w.cmbTableNo->currentText(), QString());
    QVERIFY(!w.chkConfirmOk->isChecked() && !w.chkInvSent->isChecked());
    QCOMPARE(w.txtPresent->text(), QString());
    QCOMPARE(w.cmbGroup->currentText(), kHer);  // the group stays

    const QList<QWidget*> editors = {w.txtFamilyName, w.txtFirstName, w.txtPhones, w.txtAddress, w.cmbInvNum,
                                     w.cmbGroup, w.txtRemark, w.chkConfirmOk, w.chkConfirmNotOk,
                                     w.chkConfirmUnkown, w.cmbTableNo, w.txtPresent, w.optPresCheck,
                                     w.optPresCashe, w.optPresDiff};
    bool mode = true;
    w.InitMultiSelection(mode);
    QCOMPARE(mode, false);
    for (QWidget* e : editors) QVERIFY2(e->isHidden(), qPrintable(e->objectName()));
    QVERIFY(!w.chkInvSent->isHidden());
    QVERIFY(!w.lblFamilyName->isHidden());
    g_MultiSel = true;
    w.ClearInv();  // shows them again
    for (QWidget* e : editors) QVERIFY2(!e->isHidden(), qPrintable(e->objectName()));
  }

  void withinAScaledScreen_data() { testsupport::addScreenRows({{1280, 720, 200}}); }

  // Smaller than the editor: it opens on the screen, and Tab brings every box
  // of the first tab and the buttons into view.
  void withinAScaledScreen() {
    QFETCH(testsupport::TestScreen, screen);
    PELMORA_ON_SCREEN(screen);
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    PELMORA_TRY_FRAME_ON_SCREEN(&w, screen);
    for (QWidget* stop : std::initializer_list<QWidget*>{w.txtFamilyName, w.txtFirstName, w.txtPhones, w.txtAddress,
                                                         w.cmbInvNum, w.cmbGroup, w.txtRemark, w.cmdOK}) {
      stop->setFocus(Qt::TabFocusReason);
      QTRY_VERIFY2(testsupport::wholeInWindow(stop), qPrintable(stop->objectName()));
    }
  }
};

PELMORA_TEST(EditorWindowTest)
#include "tst_editor_window.moc"
