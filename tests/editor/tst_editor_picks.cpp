// What the user picked is what the save changes: the invitations of a
// multi-row update whatever the list does meanwhile, presents the total can
// hold, and an Add that finds the editor already adding.
#include <QApplication>

#include "editor_fixture.h"

using namespace mdlWedding;
using namespace editortest;
using testsupport::prompts;

namespace {
const QString kPresentRange = QStringLiteral("השדה מתנה חייב להכיל סכום בין 0 ל-2147483647.");

// OK clicked; the messages the save showed (each answered OK).
QStringList clickOK(frmInvDetails& w, int messages = 0) {
  prompts().clearShown();
  for (int i = 0; i < messages; ++i) prompts().answer(platform::vbOK);
  QTest::mouseClick(w.cmdOK, Qt::LeftButton);
  testsupport::processEvents();
  return prompts().messages();
}

// Add from the toolbar, the two names typed.
frmInvDetails& addByToolbar(frmPelmora& main, const char* family, const char* first) {
  user::clickToolbar(main, 1);
  frmInvDetails& w = frmInvDetails::Default();
  QTest::keyClicks(w.txtFamilyName, family);
  QTest::keyClicks(w.txtFirstName, first);
  return w;
}

// The stored rows, with the sent flag of the named invitations set.
QVector<QVariantMap> withSent(QVector<QVariantMap> stored, const QStringList& families) {
  for (QVariantMap& r : stored)
    if (families.contains(r["FAMILY_NAME"].toString())) r["INV_STATUS"] = true;
  return stored;
}
}  // namespace

class EditorPicksTest : public QObject {
  Q_OBJECT
 private slots:
  void multiRowUpdateWritesThePickedInvitations() {
    testsupport::ProgramFolder folder;
    frmPelmora& main = user::showMain(loadMain({{"כהן", "משה"}, {"בן-דוד", "רון"}, {"Smith", "John"},
                                                {"אוחיון", "דנה", 2, {}, 2}, {"לוי", "נועה"}}));
    platform::FlexGrid* g = main.MSFlexGrid1;
    const QVector<QVariantMap> before = rows();

    // Pick בן-דוד and Smith, then sort the list by family name while the
    // editor is open: other invitations now stand in rows 2 and 3.
    user::dragRows(g, 2, 3);
    prompts().answer(platform::vbYes);
    user::clickToolbar(main, 2);
    frmInvDetails& w = frmInvDetails::Default();
    QVERIFY(w.isVisible() && w.txtFamilyName->isHidden());
    user::doubleClickHeader(g, 0);
    QCOMPARE(g->TextMatrix(2, 0), QStringLiteral("אוחיון"));
    user::clickTab(w, 2);
    user::clickBox(w.chkInvSent);
    QVERIFY(w.chkInvSent->isChecked());
    QCOMPARE(clickOK(w), QStringList{});
    QVERIFY(!frmInvDetails::IsLoaded());
    const QVector<QVariantMap> afterSort = rows();
    QCOMPARE(afterSort, withSent(before, {"בן-דוד", "Smith"}));

    // Pick rows 1 and 2, then, the editor still open, בן-דוד and כהן (rows 3
    // and 4 of the sorted list) instead; then hide the guests not coming:
    // אוחיון leaves the list and the rows move up.
    user::dragRows(g, 1, 2);
    prompts().answer(platform::vbYes);
    main.mnuUpdate->trigger();
    frmInvDetails& again = frmInvDetails::Default();
    QCOMPARE(g->TextMatrix(3, 0), QStringLiteral("בן-דוד"));
    user::dragRows(g, 3, 4);
    prompts().answer(platform::vbYes);
    main.mnuUpdate->trigger();
    QCOMPARE(&frmInvDetails::Default(), &again);
    main.mnuIgnoreCnfNotOk->trigger();
    QCOMPARE(g->TextMatrix(4, 0), QStringLiteral("לוי"));
    user::clickTab(again, 2);
    user::clickBox(again.chkInvSent);
    QCOMPARE(clickOK(again), QStringList{});
    QCOMPARE(rows(), withSent(afterSort, {"כהן"}));
  }

  void presentsOutsideWhatTheTotalHoldsAreRefused() {
    testsupport::ProgramFolder folder;
    Guest levi{"Levi", "Dan"};
    levi.present = "100";
    levi.presentType = 1;
    frmPelmora& main = user::showMain(loadMain({levi}));
    const QVector<QVariantMap> before = rows();

    frmInvDetails& w = addByToolbar(main, "Cohen", "Avi");
    user::clickTab(w, 3);
    user::clickBox(w.optPresCashe);
    QVERIFY(w.optPresCashe->isChecked());
    for (const char* present : {"3000000000", "1e19", "1e400", "-5", "2147483647.5", "-0.01"}) {
      user::retype(w.txtPresent, present);
      QCOMPARE(clickOK(w, 1), QStringList{kPresentRange});
      QCOMPARE(w.txtPresent->text(), QString::fromLatin1(present));  // kept for correcting
    }
    user::clickBox(w.optPresCheck);
    user::retype(w.txtPresent, "-1");
    QCOMPARE(clickOK(w, 1), QStringList{kPresentRange});
    QCOMPARE(rows(), before);

    // The edges are accepted, and the list loads without a message.
    user::retype(w.txtPresent, "0");
    QTest::keyClick(w.txtPresent, Qt::Key_Return);
    QCOMPARE(rowOf("Cohen", "Avi")["PRESENT"].toString(), QStringLiteral("0"));
    QTest::keyClicks(w.txtFamilyName, "Mizrahi");
    QTest::keyClicks(w.txtFirstName, "Gal");
    user::clickBox(w.optPresCashe);
    QTest::keyClicks(w.txtPresent, "2000000000");
    QCOMPARE(clickOK(w), QStringList{});
    QCOMPARE(rowOf("Mizrahi", "Gal")["PRESENT"].toString(), QStringLiteral("2000000000"));
    QCOMPARE(main.stb->PanelText(2), QStringLiteral("מתנות ₪2000000100"));

    // An update is held to the same bounds; the stored present stays.
    user::dragRows(main.MSFlexGrid1, 1, 1);
    QCOMPARE(main.MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("Levi"));
    prompts().answer(platform::vbYes);
    user::clickToolbar(main, 2);
    frmInvDetails& u = frmInvDetails::Default();
    user::clickTab(u, 3);
    user::retype(u.txtPresent, "-100");
    QCOMPARE(clickOK(u, 1), QStringList{kPresentRange});
    user::retype(u.txtPresent, "1e10");
    QCOMPARE(clickOK(u, 1), QStringList{kPresentRange});
    QTest::mouseClick(u.cmdCancel, Qt::LeftButton);
    testsupport::processEvents();
    QCOMPARE(rowOf("Levi", "Dan")["PRESENT"].toString(), QStringLiteral("100"));
    QCOMPARE(rows().size(), 3);
  }

  void addWhileAddingKeepsWhatWasTyped() {
    testsupport::ProgramFolder folder;
    frmPelmora& main = user::showMain(loadMain());
    frmInvDetails& w = addByToolbar(main, "Levi", "Dan");
    user::clickTab(w, 2);
    user::clickBox(w.chkConfirmOk);

    // Add again, from the toolbar and from the menu: the same window comes to
    // the front with everything typed.
    main.activateWindow();
    user::clickToolbar(main, 1);
    main.mnuAdd->trigger();
    testsupport::processEvents();
    QCOMPARE(&frmInvDetails::Default(), &w);
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(w.windowTitle(), QStringLiteral("הוספת פרטי הזמנה חדשה למערכת"));
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Levi"));
    QCOMPARE(w.txtFirstName->text(), QStringLiteral("Dan"));
    QVERIFY(w.chkConfirmOk->isChecked());
    QCOMPARE(clickOK(w), QStringList{});
    QCOMPARE(rows().size(), 1);
    QCOMPARE(rowOf("Levi", "Dan")["CONFIRM"].toInt(), 1);
  }
};

PELMORA_TEST(EditorPicksTest)
#include "tst_editor_picks.moc"
