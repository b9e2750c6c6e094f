// Adding an invitation: the checks in their order, the seating rules, the
// duplicate test and what lands in Wed.mdb.
#include <QFile>

#include "editor_fixture.h"

using namespace mdlWedding;
using namespace editortest;
using testsupport::prompts;

namespace {
// One save by OK; the messages it showed.
QStringList save(frmInvDetails& w, int messages = 0) {
  prompts().clearShown();
  for (int i = 0; i < messages; ++i) prompts().answer(platform::vbOK);
  w.cmdOK->click();
  testsupport::processEvents();
  return prompts().messages();
}
}  // namespace

class EditorAddTest : public QObject {
  Q_OBJECT
 private slots:
  void fieldChecks() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    const QString twenty(20, QChar(u'א'));

    fillNames(w, "   ", "Dan");
    QCOMPARE(save(w, 1), QStringList{"השדות שם משפחה\\פרטי אינם יכולים להיות ריקים."});
    fillNames(w, twenty + "א", "Dan");
    QCOMPARE(save(w, 1), QStringList{"השדות שם משפחה\\פרטי מוגבלים לגודל של 20 תווים."});
    fillNames(w, "Levi", " " + twenty + "א ");
    QCOMPARE(save(w, 1), QStringList{"השדות שם משפחה\\פרטי מוגבלים לגודל של 20 תווים."});

    fillNames(w, "Levi", "Dan");
    for (const char* count : {"0", ""}) {
      w.cmbInvNum->setEditText(count);
      QCOMPARE(save(w, 1), QStringList{"השדה מס' מוזמנים חייב להכיל מספר הגדול מאפס."});
    }
    // Above what the field holds: refused before the write, not a write error.
    w.cmbInvNum->setEditText("256");
    QCOMPARE(save(w, 1), QStringList{"השדה מס' מוזמנים מוגבל ל-255."});
    QCOMPARE(prompts().shown().last().title, QStringLiteral("Pelmora"));
    w.cmbInvNum->setEditText("3");

    w.txtRemark->setPlainText(QString(41, 'r'));
    QCOMPARE(save(w, 1), QStringList{"השדה הערות מוגבל לגודל של 40 תווים."});
    w.txtRemark->setPlainText(QString(40, 'r'));
    w.txtPhones->setText(QString(31, '1'));
    QCOMPARE(save(w, 1), QStringList{"השדה טלפונים מוגבל לגודל של 30 תווים."});
    w.txtPhones->setText(QString(30, '1'));
    w.txtAddress->setPlainText(QString(51, 'a'));
    QCOMPARE(save(w, 1), QStringList{"השדה כתובת מוגבל לגודל של 50 תווים."});
    w.txtAddress->setPlainText(QString(50, 'a'));
    w.txtPresent->setText(QString(21, '1'));
    QCOMPARE(save(w, 1), QStringList{"השדה מתנה מוגבל לגודל של 20 תווים."});
    w.txtPresent->setText("flowers");
    QCOMPARE(save(w, 1), QStringList{"השדה מתנה חייב להיות מספרי."});
    w.optPresCashe->setChecked(true);
    QCOMPARE(save(w, 1), QStringList{"השדה מתנה חייב להיות מספרי."});
    QVERIFY(rows().isEmpty());

    // A name of exactly 20 characters after trimming, and the other kind of
    // present stored as its text.
    fillNames(w, " " + twenty + " ", "Dan");
    w.optPresDiff->setChecked(true);
    w.txtPresent->setText("  flowers ");
    QCOMPARE(save(w), QStringList{});
    QVERIFY(!frmInvDetails::IsLoaded());
    const QVariantMap r = rowOf(twenty, "Dan");
    QCOMPARE(r["INV_NUM"].toInt(), 3);
    QCOMPARE(r["REMARK"].toString(), QString(40, 'r'));
    QCOMPARE(r["PHONES"].toString(), QString(30, '1'));
    QCOMPARE(r["ADDRESS"].toString(), QString(50, 'a'));
    QCOMPARE(r["PRESENT"].toString(), QStringLiteral("flowers"));
    QCOMPARE(r["PRESENT_TYPE"].toInt(), 2);
    QCOMPARE(r["LIST_GROUP"].toString(), QStringLiteral("1"));
    QCOMPARE(r["CONFIRM"].toInt(), 0);
    QVERIFY(!r["TABLE_NO"].isValid());
    QCOMPARE(r["INV_STATUS"].toBool(), false);
    QVERIFY(!r["CHECK"].isValid());
  }

  void storedValues() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();

    // Empty present: Null whatever the kind; table "0" stores 0 on add.
    fillNames(w, "Levi", "Dan");
    w.cmbTableNo->setEditText("0");
    w.optPresDiff->setChecked(true);
    w.chkInvSent->setChecked(true);
    w.cmbGroup->setEditText(kHer);
    QCOMPARE(save(w), QStringList{});
    QVariantMap r = rowOf("Levi", "Dan");
    QVERIFY(!r["PRESENT"].isValid());
    QCOMPARE(r["PRESENT_TYPE"].toInt(), 2);
    QVERIFY(r["TABLE_NO"].isValid());
    QCOMPARE(r["TABLE_NO"].toInt(), 0);
    QCOMPARE(r["INV_STATUS"].toBool(), true);
    QCOMPARE(r["LIST_GROUP"].toString(), QStringLiteral("3"));

    // Money is stored as the number it reads; cash is kind 1; an unknown
    // group stores 0.
    frmInvDetails& w2 = openAdd();
    fillNames(w2, "Levi", "Noa");
    w2.optPresCashe->setChecked(true);
    w2.txtPresent->setText(" 1500.50 ");
    w2.cmbGroup->setEditText("no such group");
    w2.chkConfirmUnkown->setChecked(true);
    QCOMPARE(save(w2), QStringList{});
    r = rowOf("Levi", "Noa");
    QCOMPARE(r["PRESENT"].toString(), QStringLiteral("1500.5"));
    QCOMPARE(r["PRESENT_TYPE"].toInt(), 1);
    QCOMPARE(r["LIST_GROUP"].toString(), QStringLiteral("0"));
    QCOMPARE(r["CONFIRM"].toInt(), 3);
  }

  // A cheque or cash amount written with the locale's thousands separator is a
  // number: stored as its full value, and the list's money total counts it.
  void presentWithThousandsSeparator() {
    testsupport::ProgramFolder folder;
    frmPelmora& main = loadMain();
    frmInvDetails& w = openAdd();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClicks(w.txtFamilyName, "Levi");
    QTest::keyClicks(w.txtFirstName, "Dan");
    user::clickTab(w, 3);
    user::clickBox(w.optPresCashe);
    QTest::keyClicks(w.txtPresent, "12,500");
    prompts().clearShown();
    QTest::keyClick(w.txtPresent, Qt::Key_Return);
    QCOMPARE(messages(), QStringList{});
    QCOMPARE(rowOf("Levi", "Dan")["PRESENT"].toString(), QStringLiteral("12500"));
    QVERIFY(main.stb->PanelText(2).endsWith(QStringLiteral("₪12500")));

    // A comma that groups no digits is still refused.
    user::clickTab(w, 1);
    fillNames(w, "Levi", "Noa");
    user::clickTab(w, 3);
    w.txtPresent->setText("1,00");
    QCOMPARE(save(w, 1), QStringList{QStringLiteral("השדה מתנה חייב להיות מספרי.")});
    QVERIFY(rowOf("Levi", "Noa").isEmpty());
  }

  void tablesAndGuestsNotComing() {
    testsupport::ProgramFolder folder;
    loadMain({}, 20, 15);
    frmInvDetails& w = openAdd();
    QCOMPARE(w.cmbTableNo->count(), 20);

    fillNames(w, "Levi", "Dan");
    w.cmbTableNo->setEditText("21");
    QCOMPARE(save(w, 1), QStringList{"מספר השולחן אינו קיים במערכת."});
    w.cmbTableNo->setEditText("20");
    w.chkConfirmNotOk->setChecked(true);
    QCOMPARE(save(w, 1), QStringList{"הושבת אורח שלא מגיע לשולחן אינה אפשרית"});
    QVERIFY(rows().isEmpty());
    w.chkConfirmOk->setChecked(true);
    QCOMPARE(save(w), QStringList{});
    QCOMPARE(rowOf("Levi", "Dan")["TABLE_NO"].toInt(), 20);
    QCOMPARE(rowOf("Levi", "Dan")["CONFIRM"].toInt(), 1);
    // The map recounted after the add.
    QCOMPARE(frmTableMap::Default().PeopleAtTable(20), 2);

    // Not coming without a table (or with 0) is accepted and stored unseated.
    frmInvDetails& w2 = openAdd();
    fillNames(w2, "Cohen", "Avi");
    w2.chkConfirmNotOk->setChecked(true);
    w2.cmbTableNo->setEditText("0");
    QCOMPARE(save(w2), QStringList{});
    const QVariantMap r = rowOf("Cohen", "Avi");
    QCOMPARE(r["CONFIRM"].toInt(), 2);
    QVERIFY(!r["TABLE_NO"].isValid());
  }

  void capacityOfATable() {
    testsupport::ProgramFolder folder;
    loadMain({{"A", "1", 5, 4}, {"B", "1", 4, 4}, {"C", "1", 3, 4}}, 100, 15);
    QCOMPARE(frmTableMap::Default().lvwTable->ItemText(4), QStringLiteral("שולחן של 12"));
    frmInvDetails& w = openAdd();
    fillNames(w, "Levi", "Dan");
    w.cmbTableNo->setEditText("4");
    w.cmbInvNum->setEditText("4");
    QCOMPARE(save(w, 1), QStringList{"לא ניתן להושיב יותר מ- 15 איש בשולחן"});
    w.cmbInvNum->setEditText("3");
    QCOMPARE(save(w), QStringList{});
    QCOMPARE(rowOf("Levi", "Dan")["TABLE_NO"].toInt(), 4);
    QCOMPARE(frmTableMap::Default().lvwTable->ItemText(4), QStringLiteral("שולחן של 15"));
  }

  void duplicates() {
    testsupport::ProgramFolder folder;
    loadMain({{"Levi", "Dan", 2, {}}});
    frmInvDetails& w = openAdd();
    fillNames(w, " Levi ", "Dan");
    QCOMPARE(save(w, 1), QStringList{"קיימת כבר הזמנה זהה ברשימה."});
    QCOMPARE(rows().size(), 1);
    QVERIFY(!g_DB->IsOpen());  // the add closed the database

    fillNames(w, "Levi", "Noa");  // same family, other first name
    QCOMPARE(save(w), QStringList{});
    frmInvDetails& w2 = openAdd();
    fillNames(w2, "levi", "dan");  // letter case differs
    QCOMPARE(save(w2), QStringList{});
    QCOMPARE(rows().size(), 3);
  }

  void writeFailureIsReportedWithItsNumber() {
    testsupport::ProgramFolder folder;
    loadMain();
    frmInvDetails& w = openAdd();
    QVERIFY(QFile::remove(DatabaseFile()));
    fillNames(w, "Levi", "Dan");
    QCOMPARE(save(w, 1).size(), 1);
    const platform::Prompt p = prompts().shown().last();
    QVERIFY(p.text.startsWith(QStringLiteral("ארעה שגיאה בנסיון הכנסת נתוני ההזמנה החדשים.") + "\r\n"));
    QVERIFY(p.text.size() > QStringLiteral("ארעה שגיאה בנסיון הכנסת נתוני ההזמנה החדשים.\r\n").size());
    QCOMPARE(p.title, QStringLiteral("Err# 3024"));
    QVERIFY(frmInvDetails::IsLoaded());
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Levi"));
  }
};

PELMORA_TEST(EditorAddTest)
#include "tst_editor_add.moc"
