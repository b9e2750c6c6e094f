// Updating: loading the picked invitation, rewriting it, the grid position
// afterwards, the held record's life, and the sent flag of several rows.
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>

#include "app/frmOptions.h"
#include "editor_fixture.h"
#include "platform/dao_faults.h"
#include "platform/ini.h"
#include "support/files.h"
#include "support/otherconnection.h"
#include "support/userlocale.h"

using namespace mdlWedding;
using namespace editortest;
using testsupport::prompts;

namespace {
QStringList save(frmInvDetails& w, int messages = 0) {
  prompts().clearShown();
  for (int i = 0; i < messages; ++i) prompts().answer(platform::vbOK);
  w.cmdOK->click();
  testsupport::processEvents();
  return prompts().messages();
}

// Deletes an invitation from the file behind the open windows' backs.
void deleteFromFile(const QString& family, const QString& first) {
  const QString sql = QStringLiteral("DELETE FROM PELMORA WHERE FAMILY_NAME = '%1' AND FIRST_NAME = '%2'");
  testsupport::OtherConnection other(DatabaseFile());
  QCOMPARE(other.exec(sql.arg(family, first)), SQLITE_OK);
  QCOMPARE(sqlite3_changes(other.db), 1);
}

QVector<Guest> numbered(int n) {
  QVector<Guest> out;
  for (int i = 1; i <= n; ++i) {
    Guest g{QStringLiteral("Fam%1").arg(i), QStringLiteral("First%1").arg(i), 1 + i % 4};
    g.sent = i % 2 == 0;
    g.remark = QStringLiteral("remark %1").arg(i);
    out << g;
  }
  return out;
}

// Opens the update of the guest in grid row `row` by a click on the row and
// the toolbar's update button (answered Yes).
frmInvDetails& updateByToolbar(frmPelmora& main, int row) {
  user::dragRows(main.MSFlexGrid1, row, row);
  prompts().answer(platform::vbYes);
  user::clickToolbar(main, 2);
  return frmInvDetails::Default();
}

// On the shown tables map: table `from` right-clicked, its renumbering chosen
// from the pop-up and `to` typed; the swap question answered Yes.
void swapTablesOnTheMap(int from, int to) {
  frmTableMap& map = frmTableMap::Default();
  map.show();
  QVERIFY(QTest::qWaitForWindowExposed(&map));
  QWidget* vp = map.lvwTable->CurrentView()->viewport();
  QTest::mousePress(vp, Qt::RightButton, {}, map.lvwTable->ItemRect(from).center());
  QMenu* menu = map.mnuPopTable;
  QVERIFY(menu->isVisible());
  prompts().answerInput(QString::number(to));
  prompts().answer(platform::vbYes);
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(map.popUpdateTableNum).center());
}

// Selects the count box's text with the keys and types a new count.
void typeCount(frmInvDetails& w, const QString& count) {
  user::clickTab(w, 1);
  QLineEdit* box = w.cmbInvNum->lineEdit();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End);
  QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
  QTest::keyClicks(box, count);
  QCOMPARE(w.cmbInvNum->currentText(), count);
}

// Types a new phone in the open editor and saves with Enter there.
QStringList savePhoneByKeys(frmInvDetails& w, const QString& phones, int messages = 0) {
  prompts().clearShown();
  for (int i = 0; i < messages; ++i) prompts().answer(platform::vbOK);
  user::clickTab(w, 1);
  w.txtPhones->setFocus();
  user::retype(w.txtPhones, phones);
  QTest::keyClick(w.txtPhones, Qt::Key_Return);
  return prompts().messages();
}
}  // namespace

// Opens the options by the main window's toolbar, shows the groups tab, lets
// `edit` work there and presses OK; the options close with no message.
void inOptions(frmPelmora& main, std::function<void(frmOptions*)> edit) {
  prompts().onModal([edit](QWidget* window) {
    auto* options = qobject_cast<frmOptions*>(window);
    QVERIFY(options);
    QTabBar* tabs = options->SSTab1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    edit(options);
    QTest::mouseClick(options->cmdOK, Qt::LeftButton);
  });
  prompts().clearShown();
  user::clickToolbar(main, 12);
  testsupport::processEvents();
  QVERIFY(!frmOptions::IsLoaded());
  QCOMPARE(prompts().messages(), QStringList{});
}

class EditorUpdateTest : public QObject {
  Q_OBJECT
 private slots:
  void loadsThePickedInvitation() {
    testsupport::ProgramFolder folder;
    Guest full{"Levi", "Dan", 4, 7, 2};
    full.group = "5";
    full.phones = "03-5555555";
    full.remark = "vegan";
    full.address = "Herzl 1";
    full.present = "a lamp";
    full.presentType = 2;
    full.sent = true;
    Guest bare{"Cohen", "Avi", 2, {}, 0};
    bare.group = "2";
    loadMain({full, bare});

    frmInvDetails& w2 = openUpdate(2);
    QCOMPARE(w2.windowTitle(), QStringLiteral("עידכון פרטי הזמנה נוכחית במערכת"));
    QCOMPARE(w2.txtFamilyName->text(), QStringLiteral("Cohen"));
    QCOMPARE(w2.cmbTableNo->currentText(), QString());
    QCOMPARE(w2.txtAddress->toPlainText(), QString());
    QCOMPARE(w2.txtPresent->text(), QString());
    QVERIFY(w2.optPresCheck->isChecked());
    QCOMPARE(w2.cmbGroup->currentText(), kHis);  // no group list: 2 is the groom's family
    QVERIFY(!w2.chkConfirmOk->isChecked() && !w2.chkConfirmNotOk->isChecked() && !w2.chkConfirmUnkown->isChecked());
    w2.cmdCancel->click();
    testsupport::processEvents();

    g_NumOfGroups = 5;
    g_UserGroups = {kCouple, kHis, kHer, QStringLiteral("חברים"), QStringLiteral("עבודה"), QString()};
    prompts().clearShown();
    frmInvDetails& w = openUpdate(1);
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Levi"));
    QCOMPARE(w.txtFirstName->text(), QStringLiteral("Dan"));
    QCOMPARE(w.txtPhones->text(), QStringLiteral("03-5555555"));
    QCOMPARE(w.txtAddress->toPlainText(), QStringLiteral("Herzl 1"));
    QCOMPARE(w.cmbInvNum->currentText(), QStringLiteral("4"));
    QCOMPARE(w.cmbGroup->currentText(), QStringLiteral("עבודה"));
    QCOMPARE(w.txtRemark->toPlainText(), QStringLiteral("vegan"));
    QVERIFY(w.chkInvSent->isChecked());
    QVERIFY(w.chkConfirmNotOk->isChecked() && !w.chkConfirmOk->isChecked() && !w.chkConfirmUnkown->isChecked());
    QCOMPARE(w.cmbTableNo->currentText(), QStringLiteral("7"));
    QVERIFY(w.optPresDiff->isChecked());
    QCOMPARE(w.lblPresentDesc->text(), QStringLiteral("תאור המתנה"));
    QVERIFY(w.lblShekel->isHidden());
    QCOMPARE(messages(), QStringList{QStringLiteral("האם לעדכן את ההזמנה לLevi Dan?")});
    QVERIFY(g_DB->IsOpen());  // held for the save
  }

  void rewritesTheRecordAndRestoresTheGrid() {
    testsupport::ProgramFolder folder;
    QVector<Guest> guests = numbered(60);
    guests[14].table = 3;
    frmPelmora& main = loadMain(guests);
    main.resize(900, 400);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.MSFlexGrid1->SetRow(15);
    main.MSFlexGrid1->SetTopRow(10);
    QCOMPARE(main.MSFlexGrid1->TopRow(), 10);

    frmInvDetails& w = openUpdate(15);
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Fam15"));
    QCOMPARE(w.cmbTableNo->currentText(), QStringLiteral("3"));
    main.MSFlexGrid1->SetTopRow(1);  // the user scrolls meanwhile
    w.txtRemark->setPlainText("new remark");
    w.cmbTableNo->setEditText("0");  // 0 on update: no table
    w.cmbInvNum->setEditText("6");
    QCOMPARE(save(w), QStringList{});  // same names: not a duplicate of itself
    QVERIFY(!frmInvDetails::IsLoaded());
    const QVariantMap r = rowOf("Fam15", "First15");
    QCOMPARE(r["REMARK"].toString(), QStringLiteral("new remark"));
    QVERIFY(!r["TABLE_NO"].isValid());
    QCOMPARE(r["INV_NUM"].toInt(), 6);
    QCOMPARE(rows().size(), 60);
    QCOMPARE(main.MSFlexGrid1->TopRow(), 10);
    QCOMPARE(main.MSFlexGrid1->Row(), 15);
    QCOMPARE(main.MSFlexGrid1->TextMatrix(15, 4), QStringLiteral("new remark"));
    QVERIFY(!g_DB->IsOpen());
  }

  void duplicateKeepsTheRecordOpen() {
    testsupport::ProgramFolder folder;
    loadMain({{"Levi", "Dan", 2, {}}, {"Levi", "Noa", 3, {}}});
    frmInvDetails& w = openUpdate(1);
    w.txtFirstName->setText("Noa");
    QCOMPARE(save(w, 1), QStringList{"קיימת כבר הזמנה זהה ברשימה."});
    QVERIFY(frmInvDetails::IsLoaded());
    QVERIFY(g_DB->IsOpen());
    w.txtFirstName->setText("Tal");
    QCOMPARE(save(w), QStringList{});
    const QVector<QVariantMap> all = rows();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0]["FIRST_NAME"].toString(), QStringLiteral("Tal"));
    QCOMPARE(all[0]["INV_NUM"].toInt(), 2);
    QCOMPARE(all[1]["FIRST_NAME"].toString(), QStringLiteral("Noa"));
    QCOMPARE(all[1]["INV_NUM"].toInt(), 3);
  }

  void capacityCountsTheDifference() {
    testsupport::ProgramFolder folder;
    loadMain({{"A", "1", 5, 4}, {"B", "1", 4, 4}, {"C", "1", 3, 4}, {"D", "1", 4, 2}}, 100, 15);
    frmInvDetails& w = openUpdate(3);
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("C"));
    w.cmbInvNum->setEditText("7");  // 12 + 7 - 3 = 16
    QCOMPARE(save(w, 1), QStringList{"לא ניתן להושיב יותר מ- 15 איש בשולחן"});
    w.cmbInvNum->setEditText("6");  // 12 + 6 - 3 = 15
    QCOMPARE(save(w), QStringList{});
    QCOMPARE(rowOf("C", "1")["INV_NUM"].toInt(), 6);
    QCOMPARE(frmTableMap::Default().PeopleAtTable(4), 15);

    // Moving another table's invitation here counts all of it.
    frmInvDetails& w2 = openUpdate(4);
    QCOMPARE(w2.txtFamilyName->text(), QStringLiteral("D"));
    w2.cmbInvNum->setEditText("1");
    w2.cmbTableNo->setEditText("4");
    QCOMPARE(save(w2, 1), QStringList{"לא ניתן להושיב יותר מ- 15 איש בשולחן"});
    QCOMPARE(rowOf("D", "1")["TABLE_NO"].toInt(), 2);
  }

  void saveByEnterThenTheWindowAdds() {
    testsupport::ProgramFolder folder;
    loadMain({{"Levi", "Dan", 2, {}}, {"Cohen", "Avi", 2, {}}});
    frmInvDetails& w = openUpdate(1);
    w.txtPhones->setText("050");
    QTest::keyClick(w.txtPhones, Qt::Key_Return);
    QVERIFY(frmInvDetails::IsLoaded());
    QCOMPARE(rowOf("Levi", "Dan")["PHONES"].toString(), QStringLiteral("050"));
    QVERIFY(!g_DB->IsOpen());
    QCOMPARE(w.txtFamilyName->text(), QString());
    // The record is released: the window now adds.
    QCOMPARE(g_InvMode, quint8(1));
    QCOMPARE(w.windowTitle(), QStringLiteral("הוספת פרטי הזמנה חדשה למערכת"));
    fillNames(w, "Mizrahi", "Gil");
    QTest::keyClick(w.txtFirstName, Qt::Key_Return);
    const QVector<QVariantMap> all = rows();
    QCOMPARE(all.size(), 3);
    QCOMPARE(all[0]["FAMILY_NAME"].toString(), QStringLiteral("Levi"));
    QCOMPARE(all[0]["PHONES"].toString(), QStringLiteral("050"));
    QCOMPARE(all[2]["FAMILY_NAME"].toString(), QStringLiteral("Mizrahi"));
    QCOMPARE(messages().filter(QStringLiteral("שגיאה")), QStringList{});
  }

  void vanishedInvitationIsNeverWritten() {
    testsupport::ProgramFolder folder;
    loadMain({{"Levi", "Dan", 2, {}}, {"Cohen", "Avi", 2, {}}});
    deleteFromFile("Levi", "Dan");  // the grid still shows it
    frmInvDetails& w = openUpdate(1, 1);
    QCOMPARE(messages().last(), QStringLiteral("ארעה שגיאה בנסיון העדכון."));
    fillNames(w, "Levi", "Dan");
    const QStringList shown = save(w, 1);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0], QStringLiteral("ארעה שגיאה בנסיון העדכון.\r\nNo current record."));
    QVERIFY(frmInvDetails::IsLoaded());
    const QVector<QVariantMap> all = rows();
    QCOMPARE(all.size(), 1);
    QCOMPARE(all[0]["FAMILY_NAME"].toString(), QStringLiteral("Cohen"));
    w.cmdCancel->click();
    testsupport::processEvents();
    QVERIFY(!frmInvDetails::IsLoaded());
    QVERIFY(!g_DB->IsOpen());

    // Loaded, then deleted behind the editor's back: the save writes nothing.
    frmInvDetails& loaded = openUpdate(2);  // the grid still shows Levi in row 1
    QCOMPARE(loaded.txtFamilyName->text(), QStringLiteral("Cohen"));
    deleteFromFile("Cohen", "Avi");
    loaded.txtPhones->setText("050");
    QCOMPARE(save(loaded, 1), QStringList{QStringLiteral("ארעה שגיאה בנסיון העדכון.\r\nRecord is deleted.")});
    QVERIFY(rows().isEmpty());
  }

  void aSaveLandsOnlyOnTheInvitationItRead() {
    testsupport::ProgramFolder folder;
    loadMain({{"Levi", "Dan", 2, {}}, {"Cohen", "Avi", 2, 4}});
    frmInvDetails& w = openUpdate(2);
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Cohen"));

    // Another program deletes Cohen and adds a guest, who gets the freed rowid.
    testsupport::OtherConnection other(DatabaseFile());
    QCOMPARE(other.exec("DELETE FROM PELMORA WHERE FAMILY_NAME = 'Cohen'"), SQLITE_OK);
    QCOMPARE(other.exec("INSERT INTO PELMORA (FIRST_NAME, FAMILY_NAME, INV_NUM, CONFIRM, LIST_GROUP, TABLE_NO) "
                        "VALUES ('Rina', 'Mizrahi', 4, 3, '2', 6)"),
             SQLITE_OK);
    QCOMPARE(other.text("SELECT rowid FROM PELMORA WHERE FAMILY_NAME = 'Mizrahi'"), QStringLiteral("2"));
    const QVector<QVariantMap> before = rows();

    user::retype(w.txtPhones, QStringLiteral("050-1234567"));
    QCOMPARE(save(w, 1), QStringList{"ארעה שגיאה בנסיון העדכון.\r\nRecord is deleted."});
    QVERIFY(frmInvDetails::IsLoaded());
    QCOMPARE(w.txtPhones->text(), QStringLiteral("050-1234567"));
    QCOMPARE(rows(), before);
    QCOMPARE(other.text("PRAGMA integrity_check"), QStringLiteral("ok"));
  }

  void closeBoxReleasesTheHeldRecord() {
    testsupport::ProgramFolder folder;
    loadMain({{"Levi", "Dan", 2, {}}});
    frmInvDetails& w = openUpdate(1);
    QVERIFY(g_DB->IsOpen());
    const auto held = g_DB.get();
    w.close();
    testsupport::processEvents();
    QVERIFY(!frmInvDetails::IsLoaded());
    QVERIFY(!held->IsOpen());
  }

  void reopenInAnotherMode() {
    testsupport::ProgramFolder folder;
    frmPelmora& main = loadMain(numbered(5));
    frmInvDetails& w = openUpdate(2);
    const auto held = g_DB.get();
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Fam2"));

    main.AddNewInv();  // the open editor comes forward in add mode
    QCOMPARE(&frmInvDetails::Default(), &w);
    QVERIFY(!held->IsOpen());
    QCOMPARE(w.windowTitle(), QStringLiteral("הוספת פרטי הזמנה חדשה למערכת"));
    QCOMPARE(w.txtFamilyName->text(), QString());

    openMultiUpdate(3, 4);
    QVERIFY(w.txtFamilyName->isHidden());
    openUpdate(5);
    QVERIFY(!w.txtFamilyName->isHidden());
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("Fam5"));
    w.txtRemark->setPlainText("changed");
    QCOMPARE(save(w), QStringList{});
    QCOMPARE(rowOf("Fam5", "First5")["REMARK"].toString(), QStringLiteral("changed"));
  }

  // The editor left open on כהן at table 3 while the map swaps tables 3 and
  // 5: a save that changes only the phone keeps him at 5, and the seating
  // check counts the table he sits at now.
  void aSaveKeepsWhatAnotherWindowChanged() {
    testsupport::ProgramFolder folder;
    frmPelmora& main = user::showMain(
        loadMain({{"כהן", "משה", 2, 3}, {"לוי", "דן", 3, 5}, {"מזרחי", "גל", 2, 5}}, 10, 5));
    frmInvDetails& w = updateByToolbar(main, 1);
    QCOMPARE(w.txtFamilyName->text(), QStringLiteral("כהן"));
    QCOMPARE(w.cmbTableNo->currentText(), QStringLiteral("3"));
    swapTablesOnTheMap(3, 5);
    QCOMPARE(rowOf("כהן", "משה")["TABLE_NO"].toInt(), 5);

    QCOMPARE(savePhoneByKeys(w, "050-1234567"), QStringList{});
    QVariantMap cohen = rowOf("כהן", "משה");
    QCOMPARE(cohen["PHONES"].toString(), QStringLiteral("050-1234567"));
    QCOMPARE(cohen["TABLE_NO"].toInt(), 5);
    QCOMPARE(cohen["INV_NUM"].toInt(), 2);
    QCOMPARE(rowOf("לוי", "דן")["TABLE_NO"].toInt(), 3);
    QCOMPARE(frmTableMap::Default().PeopleAtTable(3), 5);
    QCOMPARE(frmTableMap::Default().PeopleAtTable(5), 2);
    w.close();
    testsupport::processEvents();

    // Open on כהן at 5, the map swaps back: he sits at 3, alone. Four is
    // room enough there; six is not, whatever the editor read at 5.
    frmInvDetails& again = updateByToolbar(main, 1);
    QCOMPARE(again.cmbTableNo->currentText(), QStringLiteral("5"));
    swapTablesOnTheMap(5, 3);
    typeCount(again, "6");
    QCOMPARE(savePhoneByKeys(again, "03-7654321", 1), QStringList{"לא ניתן להושיב יותר מ- 5 איש בשולחן"});
    QCOMPARE(rowOf("כהן", "משה")["INV_NUM"].toInt(), 2);
    typeCount(again, "4");
    QCOMPARE(savePhoneByKeys(again, "03-7654321"), QStringList{});
    cohen = rowOf("כהן", "משה");
    QCOMPARE(cohen["TABLE_NO"].toInt(), 3);
    QCOMPARE(cohen["INV_NUM"].toInt(), 4);
    QCOMPARE(cohen["PHONES"].toString(), QStringLiteral("03-7654321"));
    QCOMPARE(frmTableMap::Default().PeopleAtTable(3), 4);
    QCOMPARE(frmTableMap::Default().PeopleAtTable(5), 5);
  }

  // The group of the guest in the open editor is renamed in the options
  // window: the editor's list follows, and a save of the phone alone keeps
  // the guest in his group.
  void aRenamedGroupKeepsTheOpenEditorsGuest() {
    testsupport::ProgramFolder folder;
    const QString ini = IniFile();
    const QStringList groups = {kCouple, kHis, kHer, QStringLiteral("חברים"), QStringLiteral("עבודה")};
    mdlFileINI::WriteINI(ini, "Options", "NumOfGroups", QString::number(groups.size()));
    for (int i = 0; i < groups.size(); ++i) mdlFileINI::WriteINI(ini, "UserGroups", "Group-" + vb::Str(i), groups[i]);
    Guest worker{"שמש", "גל"};
    worker.group = "5";
    frmPelmora& main = user::showMain(loadMain({worker}));
    frmInvDetails& w = updateByToolbar(main, 1);
    QCOMPARE(w.cmbGroup->currentText(), QStringLiteral("עבודה"));

    inOptions(main, [](frmOptions* options) {
      QListWidget* list = options->lstGroups;
      const QPoint at = list->visualItemRect(list->item(4)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      QCOMPARE(options->txtNewGroup->text(), QStringLiteral("עבודה"));
      QTest::keyClick(options->txtNewGroup, Qt::Key_A, Qt::ControlModifier);
      user::typeText(options->txtNewGroup, QStringLiteral("משרד"));
      QTest::mouseClick(options->cmdAddUpdateGroup, Qt::LeftButton);
    });
    QCOMPARE(g_UserGroups.value(4), QStringLiteral("משרד"));
    QCOMPARE(w.cmbGroup->currentText(), QStringLiteral("משרד"));
    QCOMPARE(w.cmbGroup->findText(QStringLiteral("עבודה")), -1);

    QCOMPARE(savePhoneByKeys(w, "050-7777777"), QStringList{});
    const QVariantMap r = rowOf("שמש", "גל");
    QCOMPARE(r["PHONES"].toString(), QStringLiteral("050-7777777"));
    QCOMPARE(r["LIST_GROUP"].toString(), QStringLiteral("5"));

    // In one OK the empty group before it goes and it is renamed again: the
    // guest moves up with the group, and the open editor follows.
    frmInvDetails& again = updateByToolbar(main, 1);
    QCOMPARE(again.cmbGroup->currentText(), QStringLiteral("משרד"));
    inOptions(main, [](frmOptions* options) {
      QListWidget* list = options->lstGroups;
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
      QTest::mouseClick(options->cmdDelGroup, Qt::LeftButton);
      const QPoint at = list->visualItemRect(list->item(3)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      QCOMPARE(options->txtNewGroup->text(), QStringLiteral("משרד"));
      QTest::keyClick(options->txtNewGroup, Qt::Key_End);
      user::typeText(options->txtNewGroup, QStringLiteral(" ראשי"));
      QTest::mouseClick(options->cmdAddUpdateGroup, Qt::LeftButton);
    });
    QCOMPARE(g_UserGroups.value(3), QStringLiteral("משרד ראשי"));
    QCOMPARE(rowOf("שמש", "גל")["LIST_GROUP"].toString(), QStringLiteral("4"));
    QCOMPARE(again.cmbGroup->currentText(), QStringLiteral("משרד ראשי"));
    QCOMPARE(savePhoneByKeys(again, "050-8888888"), QStringList{});
    QCOMPARE(rowOf("שמש", "גל")["LIST_GROUP"].toString(), QStringLiteral("4"));
  }

  void multiRowUpdateSetsOnlyTheSentFlag() {
    testsupport::ProgramFolder folder;
    loadMain(numbered(7));
    const QVector<QVariantMap> before = rows();
    frmInvDetails& w = openMultiUpdate(5, 3);  // dragged upwards
    QCOMPARE(g_SelFirstRow, qint16(3));
    QCOMPARE(g_SelLastRow, qint16(5));
    QVERIFY(w.txtFamilyName->isHidden() && w.cmbTableNo->isHidden() && w.optPresCheck->isHidden());
    QVERIFY(!w.chkInvSent->isHidden());
    QVERIFY(!w.chkInvSent->isChecked());
    QVERIFY(!w.lblFamilyName->isHidden());
    w.chkInvSent->setChecked(true);
    QCOMPARE(save(w), QStringList{});
    QCOMPARE(g_SelFirstRow, qint16(6));
    const QVector<QVariantMap> after = rows();
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i) {
      QVariantMap expected = before[i];
      if (i >= 2 && i <= 4) expected["INV_STATUS"] = true;
      QCOMPARE(after[i], expected);
    }
    QVERIFY(!g_DB->IsOpen());
  }

  void multiRowUpdateNamesRowsItCouldNotFind() {
    testsupport::ProgramFolder folder;
    loadMain(numbered(5));
    frmInvDetails& w = openMultiUpdate(2, 5);
    deleteFromFile("Fam3", "First3");
    w.chkInvSent->setChecked(true);
    QCOMPARE(save(w, 1), QStringList{"ההזמנות הבאות לא נמצאו ולא עודכנו:\r\nFam3 First3"});
    QVERIFY(!frmInvDetails::IsLoaded());  // the rows found were updated
    QCOMPARE(rows().size(), 4);
    QCOMPARE(rowOf("Fam1", "First1")["INV_STATUS"].toBool(), false);  // not selected
    QCOMPARE(rowOf("Fam2", "First2")["INV_STATUS"].toBool(), true);
    QCOMPARE(rowOf("Fam4", "First4")["INV_STATUS"].toBool(), true);
    QCOMPARE(rowOf("Fam5", "First5")["INV_STATUS"].toBool(), true);  // after the missing row
  }

  void multiRowUpdateOfAnEmptyTable() {
    testsupport::ProgramFolder folder;
    loadMain(numbered(3));
    frmInvDetails& w = openMultiUpdate(1, 2);
    for (int i = 1; i <= 3; ++i) deleteFromFile(QStringLiteral("Fam%1").arg(i), QStringLiteral("First%1").arg(i));
    QCOMPARE(save(w, 1), QStringList{"רשימת המוזמנים ריקה."});
    QVERIFY(frmInvDetails::IsLoaded());
    QVERIFY(!g_DB->IsOpen());
  }

  // Text another program wrote in another encoding (a spreadsheet's
  // Windows-1255 through the sqlite3 shell, Hebrew cut inside a letter) stays
  // byte for byte while its row is updated, swapped and flagged sent.
  void textInAnotherEncodingIsKeptByteForByte() {
    testsupport::ProgramFolder folder;
    frmPelmora& main = user::showMain(loadMain({{"כהן", "משה", 2, 3}, {"לוי", "דן", 3, 5}, {"מזרחי", "גל", 2, {}}}, 10));
    testsupport::OtherConnection other(DatabaseFile());
    // The address ends in a blank, as a spreadsheet's cell can.
    const QByteArrayList foreign = {*platform::cp1255::encode(QStringLiteral("רחוב הרצל 5 ")),
                                    QStringLiteral("אורחים").toUtf8().left(5)};
    QCOMPARE(other.execWithText("UPDATE PELMORA SET ADDRESS = ? WHERE FAMILY_NAME = 'כהן'", foreign[0]), SQLITE_OK);
    QCOMPARE(other.execWithText("UPDATE PELMORA SET REMARK = ? WHERE FAMILY_NAME = 'כהן'", foreign[1]), SQLITE_OK);
    auto stored = [&] {
      return QByteArrayList{other.bytes("SELECT ADDRESS FROM PELMORA WHERE FAMILY_NAME = 'כהן'"),
                            other.bytes("SELECT REMARK FROM PELMORA WHERE FAMILY_NAME = 'כהן'")};
    };

    frmInvDetails& w = updateByToolbar(main, 1);
    QCOMPARE(savePhoneByKeys(w, "050-1234567"), QStringList{});
    QCOMPARE(rowOf("כהן", "משה")["PHONES"].toString(), QStringLiteral("050-1234567"));
    QCOMPARE(stored(), foreign);

    prompts().clearShown();
    swapTablesOnTheMap(3, 5);
    QCOMPARE(prompts().messages(), QStringList{"שולחן היעד אינו ריק, האם להחליף שולחנות?"});
    QCOMPARE(rowOf("כהן", "משה")["TABLE_NO"].toInt(), 5);
    QCOMPARE(rowOf("לוי", "דן")["TABLE_NO"].toInt(), 3);
    QCOMPARE(stored(), foreign);

    // The disk fills at the third row: the two written before stay written.
    frmInvDetails& multi = openMultiUpdate(1, 3);
    multi.chkInvSent->setChecked(true);
    dao::faults::FailRowWritesAfter(2);
    QCOMPARE(save(multi, 1), QStringList{"ארעה שגיאה בנסיון העדכון.\r\nNot enough space on disk."});
    QVERIFY(rowOf("כהן", "משה")["INV_STATUS"].toBool());
    QVERIFY(rowOf("לוי", "דן")["INV_STATUS"].toBool());
    QVERIFY(!rowOf("מזרחי", "גל")["INV_STATUS"].toBool());
    QCOMPARE(stored(), foreign);
  }

  // A money present is read in the user's locale and stored in one plain form
  // whatever the locale; the editor shows it again as the same number there,
  // and saving that unchanged leaves Wed.mdb as it was.
  void presentsReadInTheUsersLocale() {
    struct Typed {
      const char* locale;
      QString thousand, fraction, tooLarge, notNumber;
    };
    for (const Typed& t : {Typed{"de_DE", "1.500", "12,5", "3.000.000.000", "12.5"},
                           Typed{"he_IL", "1,500", "12.5", "3,000,000,000", "12,5"}}) {
      testsupport::ProgramFolder folder;
      testsupport::UserLocale locale(QString::fromLatin1(t.locale));
      loadMain({{"כהן", "משה", 2, {}}});
      auto savePresent = [](const QString* typed, int messages) {
        frmInvDetails& w = openUpdate(1);
        user::clickTab(w, 3);
        if (typed) user::retype(w.txtPresent, *typed);
        prompts().clearShown();
        for (int i = 0; i < messages; ++i) prompts().answer(platform::vbOK);
        QTest::keyClick(w.txtPresent, Qt::Key_Return);
        return prompts().messages();
      };
      QCOMPARE(savePresent(&t.tooLarge, 1), QStringList{"השדה מתנה חייב להכיל סכום בין 0 ל-2147483647."});
      QCOMPARE(savePresent(&t.notNumber, 1), QStringList{"השדה מתנה חייב להיות מספרי."});
      QVERIFY(rowOf("כהן", "משה")["PRESENT"].isNull());
      QCOMPARE(savePresent(&t.thousand, 0), QStringList{});
      QCOMPARE(rowOf("כהן", "משה")["PRESENT"].toString(), QStringLiteral("1500"));
      QCOMPARE(openUpdate(1).txtPresent->text(), QStringLiteral("1500"));
      QCOMPARE(savePresent(&t.fraction, 0), QStringList{});
      QCOMPARE(rowOf("כהן", "משה")["PRESENT"].toString(), QStringLiteral("12.5"));
      QCOMPARE(openUpdate(1).txtPresent->text(), t.fraction);
      const QByteArray file = testsupport::readFile(DatabaseFile());
      QCOMPARE(savePresent(nullptr, 0), QStringList{});
      QCOMPARE(testsupport::readFile(DatabaseFile()), file);
    }
  }

  // An invitation of an older Wed.mdb that the program upgraded: its Null
  // present kind shows as a cheque, and a present saved so is a cheque.
  void anUpgradedInvitationStoresTheKindItShows() {
    testsupport::ProgramFolder folder;
    testsupport::makeOlderWeddingDb({"ADDRESS", "PRESENT_TYPE", "PRESENT"}, true);
    prompts().answer(platform::vbOK);
    frmPelmora& main = loadMainOverFile();
    QCOMPARE(messages(), QStringList{"תהליך שידרוג מבנה הנתונים הסתיים בהצלחה."});
    QVERIFY(rowOf("כהן", "דני")["PRESENT_TYPE"].isNull());
    frmInvDetails& w = openUpdate(1);
    QVERIFY(w.optPresCheck->isChecked());
    user::clickTab(w, 3);
    user::retype(w.txtPresent, "500");
    prompts().clearShown();
    QTest::keyClick(w.txtPresent, Qt::Key_Return);
    QCOMPARE(messages(), QStringList{});
    const QVariantMap r = rowOf("כהן", "דני");
    QCOMPARE(r["PRESENT_TYPE"], QVariant(0));
    QCOMPARE(r["PRESENT"].toString(), QStringLiteral("500"));
    QCOMPARE(main.MSFlexGrid1->TextMatrix(1, 9), QStringLiteral("₪500"));
    QCOMPARE(main.stb->PanelText(2), QStringLiteral("מתנות ₪500"));
  }
};

PELMORA_TEST(EditorUpdateTest)
#include "tst_editor_update.moc"
