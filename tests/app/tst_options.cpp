// The options window: the checks of Apply with their messages, what a good
// Apply stores and refreshes, the group editor, OK, Cancel and the close box.
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <QTabWidget>

#include "app/frmOptions.h"
#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/listview.h"
#include "platform/vb.h"
#include "seating/frmTableMap.h"
#include "platform/dao_faults.h"
#include "platform/filereplace.h"
#include "platform/ini.h"
#include "support/files.h"
#include "support/otherconnection.h"
#include "support/smalldisk.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using testsupport::prompts;

namespace {

const QString kCouple = QStringLiteral("דני ודנה");
const QString kHis = QStringLiteral("משפחת כהן");
const QString kHer = QStringLiteral("משפחת לוי");
const QString kFriends = QStringLiteral("חברים");

const QString kFieldsMsg = QStringLiteral("כל השדות חייבים להיות מלאים");
const QString kNumberMsg = QStringLiteral("הערך אינו מספר חוקי");
const QString kTablesMsg = QStringLiteral("לא ניתן להגדיר יותר מ-100 שולחנות");
const QString kChairsMsg = QStringLiteral("לא ניתן להגדיר יותר מ-15 כסאות לשולחן");
const QString kAtLeastMsg = QStringLiteral("חובה להזין לפחות שולחן אחד וכיסא אחד");
const QString kSeatedChairsMsg = QStringLiteral("לא ניתן לבטל כסאות לשולחן שמושבים בהם אורחים");
const QString kSeatedTablesMsg = QStringLiteral("לא ניתן לבטל שולחנות שמושבים בהם מוזמנים");
const QString kEmptyGroupMsg = QStringLiteral("לא ניתן להגדיר קבוצה ריקה");
const QString kDuplicateMsg = QStringLiteral("קבוצה דומה כבר קיימת במאגר");
const QString kMainGroupMsg = QStringLiteral("לא ניתן להסיר\\לעדכן שלושת הקבוצות הראשיות");
const QString kTooManyGroupsMsg = QStringLiteral("לא ניתן להגדיר יותר מ-255 קבוצות");
const QString kNotStoredMsg = QStringLiteral("!ההגדרות לא נשמרו");

QString option(const QString& key) {
  return mdlFileINI::ReadINI(IniFile(), QStringLiteral("Options"), key, QStringLiteral("<none>"));
}
QString group(int i) {
  return mdlFileINI::ReadINI(IniFile(), QStringLiteral("UserGroups"), QStringLiteral("Group-%1").arg(i),
                             QStringLiteral("<none>"));
}
QByteArray iniBytes() { return testsupport::readFile(IniFile()); }

// The state after start-up: the options in pelmora.ini, Wed.mdb in place, the
// main window and the (hidden) tables map loaded.
void startProgram(quint8 tables = 20, quint8 chairs = 10) {
  g_Couple = kCouple;
  g_HisFamily = kHis;
  g_HerFamily = kHer;
  g_MaxTables = tables;
  g_MaxChairs = chairs;
  g_WeddingDate = QDateTime(QDate(2031, 6, 12), QTime(0, 0));
  g_NumOfGroups = 4;
  g_UserGroups = {kCouple, kHis, kHer, kFriends, QString()};
  mdlFileINI::SaveOptions();
  if (!QFile::exists(DatabaseFile())) testsupport::makeWeddingDb();
  frmPelmora::Default();
  prompts().clearShown();
}

// An invitation as the editor stores it, seated at `table` (0: not seated).
void seat(const QString& family, int people, int table) {
  testsupport::Invitation inv;
  inv.familyName = family;
  inv.firstName = QStringLiteral("ומשפחתו");
  inv.invNum = people;
  inv.tableNo = table;
  inv.phones = QStringLiteral("03-5551234");
  inv.remark = QStringLiteral("אין");
  testsupport::addInvitation(inv);
}

// A fresh options window, as the options command opens it.
frmOptions& openOptions() {
  frmOptions::Unload();
  testsupport::processEvents();
  return frmOptions::Default();
}

// Sets the two limits and presses Apply; the messages it showed.
QStringList applyLimits(frmOptions& w, const QString& tables, const QString& chairs, int answers) {
  w.txtMaxTable->setText(tables);
  w.txtMaxChairs->setText(chairs);
  for (int i = 0; i < answers; ++i) prompts().answer(platform::vbOK);
  prompts().clearShown();
  w.cmdApply->click();
  return prompts().messages();
}

}  // namespace

class OptionsWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void loadShowsTheOptions();
  void applyChecksNamesAndLimitsInOrder();
  void applyStoresAndRefreshes();
  void seatedPeopleLimitTablesAndChairs();
  void groupEditor();
  void groupsTabTakesTheNames();
  void okCancelAndClose();
  void settingsThatCannotBeWrittenStayInTheWindow();
  void oneApplyIsOneWrite();
  void renamedMainGroupKeepsItsGuests();
  void removingAGroupKeepsEveryGuestInItsGroup();
  void renumberingWaitsForAFileAnotherProgramHolds();
  void settingsThatCannotBePutBackAreTold();
  void keyboardFromTheFirstKey();
};

void OptionsWindowTest::loadShowsTheOptions() {
  testsupport::ProgramFolder folder;
  startProgram(42, 12);
  frmOptions& w = openOptions();
  QCOMPARE(w.SSTab1->currentIndex(), 0);
  QCOMPARE(w.txtCouple->text(), kCouple);
  QCOMPARE(w.txtHisFamily->text(), kHis);
  QCOMPARE(w.txtHerFamily->text(), kHer);
  QCOMPARE(w.txtMaxTable->text(), QStringLiteral("42"));
  QCOMPARE(w.txtMaxChairs->text(), QStringLiteral("12"));
  QCOMPARE(w.DTPickWedding->date(), QDate(2031, 6, 12));
  QCOMPARE(w.DTPickWedding->text(), QStringLiteral("12/06/2031"));
  QCOMPARE(w.lstGroups->count(), 4);
  QCOMPARE(w.lstGroups->item(3)->text(), kFriends);
  QCOMPARE(w.m_GroupMode, quint8(1));
  QVERIFY(!w.cmdApply->isEnabled());
  QVERIFY(!w.cmdDelGroup->isEnabled());
  QVERIFY(!w.cmdDelGroup->isHidden());
  QVERIFY(w.cmdCancelUpdate->isHidden());

  // Every edit makes the window dirty.
  w.txtHerFamily->setText(kHer + "ה");
  QVERIFY(w.cmdApply->isEnabled());
  w.cmdApply->setEnabled(false);
  w.DTPickWedding->setDate(QDate(2031, 7, 1));
  QVERIFY(w.cmdApply->isEnabled());
  w.cmdApply->setEnabled(false);
  w.txtNewGroup->setText(QStringLiteral("שכנים"));
  QVERIFY(!w.cmdApply->isEnabled());

  // No groups stored yet: only the three main groups.
  g_NumOfGroups = 0;
  g_UserGroups = {QString()};
  frmOptions& fresh = openOptions();
  QCOMPARE(fresh.lstGroups->count(), 3);
  QCOMPARE(fresh.lstGroups->item(0)->text(), kCouple);
  QCOMPARE(fresh.lstGroups->item(2)->text(), kHer);
}

void OptionsWindowTest::applyChecksNamesAndLimitsInOrder() {
  testsupport::ProgramFolder folder;
  startProgram();
  const QByteArray before = iniBytes();
  QVERIFY(!before.isEmpty());

  struct Case {
    QString tables, chairs, message;
  };
  const Case refused[] = {
      {"101", "15", kTablesMsg},   {"100", "16", kChairsMsg},  {"101", "16", kTablesMsg},
      {"0", "15", kAtLeastMsg},    {"10", "0", kAtLeastMsg},   {"-3", "5", kAtLeastMsg},
      {"0.5", "5", kAtLeastMsg},   {"", "15", kNumberMsg},     {"10", "", kNumberMsg},
      {"abc", "15", kNumberMsg},   {"10", "7x", kNumberMsg},   {"100.5", "15", kTablesMsg},
  };
  for (const Case& c : refused) {
    frmOptions& w = openOptions();
    QCOMPARE(applyLimits(w, c.tables, c.chairs, 1), QStringList{c.message});
    const platform::Prompt& shown = prompts().shown().constLast();
    QCOMPARE(shown.style, int(platform::vbOKOnly));
    QCOMPARE(shown.title, QStringLiteral("Pelmora"));
    // The window keeps the edits and stays dirty; nothing was stored.
    QCOMPARE(w.txtMaxTable->text(), c.tables);
    QVERIFY(w.cmdApply->isEnabled());
    QCOMPARE(g_MaxTables, quint8(20));
    QCOMPARE(g_MaxChairs, quint8(10));
    QCOMPARE(iniBytes(), before);
  }

  // The names come first, even with bad numbers; blanks alone are empty.
  frmOptions& w = openOptions();
  w.txtHisFamily->setText("   ");
  w.txtCouple->setText(QStringLiteral("אחר"));
  QCOMPARE(applyLimits(w, "abc", "99", 1), QStringList{kFieldsMsg});
  QCOMPARE(g_Couple, kCouple);
  QCOMPARE(iniBytes(), before);

  // The limits themselves are accepted; halves go to the even neighbour.
  frmOptions& ok = openOptions();
  QVERIFY(applyLimits(ok, "100", "15", 0).isEmpty());
  QCOMPARE(g_MaxTables, quint8(100));
  QCOMPARE(g_MaxChairs, quint8(15));
  QCOMPARE(option("Max Tables"), QStringLiteral("100"));
  QCOMPARE(option("Max Chairs"), QStringLiteral("15"));
  QVERIFY(!ok.cmdApply->isEnabled());

  QVERIFY(applyLimits(ok, "2.5", "3.5", 0).isEmpty());
  QCOMPARE(g_MaxTables, quint8(2));
  QCOMPARE(g_MaxChairs, quint8(4));
  QCOMPARE(option("Max Tables"), QStringLiteral("2"));
  QCOMPARE(option("Max Chairs"), QStringLiteral("4"));
  QVERIFY(applyLimits(ok, " 1 ", "1", 0).isEmpty());
  QCOMPARE(g_MaxTables, quint8(1));
}

void OptionsWindowTest::applyStoresAndRefreshes() {
  testsupport::ProgramFolder folder;
  startProgram();
  frmOptions& w = openOptions();
  w.txtCouple->setText(QStringLiteral("  רון ורונית "));
  w.txtMaxTable->setText("30");
  w.DTPickWedding->setDate(QDate(2032, 1, 5));
  w.txtNewGroup->setText(QStringLiteral(" עבודה "));
  w.cmdAddUpdateGroup->click();
  w.cmdApply->click();
  QVERIFY(prompts().messages().isEmpty());

  QCOMPARE(g_Couple, QStringLiteral("רון ורונית"));
  QCOMPARE(g_MaxTables, quint8(30));
  QCOMPARE(g_WeddingDate.date(), QDate(2032, 1, 5));
  QCOMPARE(g_NumOfGroups, quint8(5));
  QCOMPARE(g_UserGroups.value(4), QStringLiteral("עבודה"));
  // The main groups carry the names just applied, although the groups tab was
  // never shown: the couple's invitations stay in group 1.
  QCOMPARE(g_UserGroups.value(0), QStringLiteral("רון ורונית"));
  QCOMPARE(group(0), QStringLiteral("רון ורונית"));

  QCOMPARE(option("Couple"), QStringLiteral("רון ורונית"));
  QCOMPARE(option("NumOfGroups"), QStringLiteral("5"));
  QCOMPARE(option("Max Tables"), QStringLiteral("30"));
  QCOMPARE(vb::ParseDate(option("Wedding Date"))->date(), QDate(2032, 1, 5));
  QCOMPARE(group(3), kFriends);
  QCOMPARE(group(4), QStringLiteral("עבודה"));
  QCOMPARE(group(5), QStringLiteral("<none>"));

  // The main window's group combo and the tables map follow.
  QComboBox* combo = frmPelmora::Default().cmbUserGroups;
  QCOMPARE(combo->itemText(1), QStringLiteral("רון ורונית"));
  QCOMPARE(combo->itemText(combo->count() - 1), QStringLiteral("עבודה"));
  QCOMPARE(frmTableMap::Default().lvwTable->ItemCount(), 30);
  QVERIFY(!w.cmdApply->isEnabled());

  // A failing refresh stops nothing: all is stored, then one exclamation box.
  g_DB.SetNothing();
  g_RS.SetNothing();
  testsupport::writeFile(DatabaseFile(), QByteArray(4096, 'x'));
  w.txtMaxChairs->setText("9");
  prompts().answer(platform::vbOK);
  prompts().clearShown();
  w.cmdApply->click();
  QCOMPARE(prompts().shown().size(), 1);
  QCOMPARE(prompts().shown().constFirst().style, int(platform::vbExclamation));
  QVERIFY(!prompts().shown().constFirst().text.isEmpty());
  QCOMPARE(g_MaxChairs, quint8(9));
  QCOMPARE(option("Max Chairs"), QStringLiteral("9"));
  QVERIFY(!w.cmdApply->isEnabled());
}

void OptionsWindowTest::seatedPeopleLimitTablesAndChairs() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  seat(QStringLiteral("כהן"), 4, 3);
  seat(QStringLiteral("לוי"), 3, 3);
  seat(QStringLiteral("פרץ"), 2, 18);
  seat(QStringLiteral("מזרחי"), 5, 0);  // not seated
  startProgram(20, 10);
  QCOMPARE(frmTableMap::Default().PeopleAtTable(3), 7);
  const QByteArray before = iniBytes();

  struct Case {
    QString tables, chairs, message;
  };
  const Case refused[] = {
      {"20", "6", kSeatedChairsMsg},   // table 3 has 7
      {"20", "6.9", kSeatedChairsMsg},
      {"17", "1", kSeatedChairsMsg},   // chairs come first, table 18 is removed too
      {"17", "10", kSeatedTablesMsg},  // table 18 has 2
      {"2", "10", kSeatedTablesMsg},
      {"16.5", "10", kSeatedTablesMsg},  // 16 kept
  };
  for (const Case& c : refused) {
    frmOptions& w = openOptions();
    QCOMPARE(applyLimits(w, c.tables, c.chairs, 1), QStringList{c.message});
    QCOMPARE(g_MaxTables, quint8(20));
    QCOMPARE(g_MaxChairs, quint8(10));
    QCOMPARE(iniBytes(), before);
  }

  frmOptions& w = openOptions();
  // 17.5 keeps 18 tables (half to even): nobody sits above table 18.
  QVERIFY(applyLimits(w, "17.5", "7", 0).isEmpty());
  QCOMPARE(g_MaxTables, quint8(18));
  QCOMPARE(g_MaxChairs, quint8(7));
  QCOMPARE(frmTableMap::Default().lvwTable->ItemCount(), 18);
  QCOMPARE(frmTableMap::Default().PeopleAtTable(18), 2);
  // Raising is always allowed; the new tables are empty.
  QVERIFY(applyLimits(w, "40", "7", 0).isEmpty());
  QCOMPARE(g_MaxTables, quint8(40));
  QCOMPARE(frmTableMap::Default().lvwTable->ItemCount(), 40);
  QCOMPARE(frmTableMap::Default().PeopleAtTable(3), 7);
  QCOMPARE(frmTableMap::Default().PeopleAtTable(40), 0);
  QCOMPARE(option("Max Tables"), QStringLiteral("40"));
  // Lowering over empty tables only is allowed.
  QVERIFY(applyLimits(w, "18", "7", 0).isEmpty());
  QCOMPARE(g_MaxTables, quint8(18));
  QCOMPARE(applyLimits(w, "17", "7", 1), QStringList{kSeatedTablesMsg});
  QCOMPARE(g_MaxTables, quint8(18));
}

void OptionsWindowTest::groupEditor() {
  testsupport::ProgramFolder folder;
  startProgram();
  frmOptions& w = openOptions();
  auto add = [&](const QString& name, int answers = 0) {
    w.txtNewGroup->setText(name);
    for (int i = 0; i < answers; ++i) prompts().answer(platform::vbOK);
    prompts().clearShown();
    w.cmdAddUpdateGroup->click();
    return prompts().messages();
  };

  QCOMPARE(add("   ", 1), QStringList{kEmptyGroupMsg});
  QCOMPARE(add(" " + kFriends + "  ", 1), QStringList{kDuplicateMsg});
  QCOMPARE(add(" " + kHis, 1), QStringList{kDuplicateMsg});
  QCOMPARE(w.lstGroups->count(), 4);
  QVERIFY(!w.cmdApply->isEnabled());
  QVERIFY(add("Friends").isEmpty());
  QVERIFY(add("friends").isEmpty());  // case matters
  QVERIFY(add(QStringLiteral("שכנים")).isEmpty());
  QCOMPARE(w.lstGroups->count(), 7);
  QCOMPARE(w.lstGroups->item(6)->text(), QStringLiteral("שכנים"));
  QVERIFY(w.txtNewGroup->text().isEmpty());
  QVERIFY(w.cmdApply->isEnabled());

  // Delete only for the user's groups.
  for (int row : {0, 1, 2}) {
    w.lstGroups->setCurrentRow(row);
    QVERIFY(!w.cmdDelGroup->isEnabled());
  }
  w.lstGroups->setCurrentRow(4);
  QVERIFY(w.cmdDelGroup->isEnabled());

  // A main group never enters update mode.
  w.lstGroups->setCurrentRow(1);
  prompts().answer(platform::vbOK);
  prompts().clearShown();
  w.lstGroups_DblClick();
  QCOMPARE(prompts().messages(), QStringList{kMainGroupMsg});
  QCOMPARE(w.m_GroupMode, quint8(1));
  QVERIFY(w.cmdCancelUpdate->isHidden());
  QVERIFY(!w.cmdDelGroup->isEnabled());

  // Update mode: the entry's text to edit, Delete replaced by "cancel update".
  w.lstGroups->setCurrentRow(4);
  w.lstGroups_DblClick();
  QCOMPARE(w.m_GroupMode, quint8(2));
  QCOMPARE(w.cmdAddUpdateGroup->text(), QStringLiteral("עדכן קבוצה"));
  QCOMPARE(w.txtNewGroup->text(), QStringLiteral("Friends"));
  QVERIFY(w.cmdDelGroup->isHidden());
  QVERIFY(!w.cmdCancelUpdate->isHidden());
  // Unchanged (but for blanks) is no duplicate of itself; another entry's name is.
  QCOMPARE(add(" Friends ").size(), 0);
  QCOMPARE(w.m_GroupMode, quint8(1));
  QCOMPARE(w.cmdAddUpdateGroup->text(), QStringLiteral("הוסף קבוצה"));
  QCOMPARE(w.lstGroups->item(4)->text(), QStringLiteral("Friends"));
  w.lstGroups_DblClick();
  QCOMPARE(add(kFriends, 1), QStringList{kDuplicateMsg});
  QCOMPARE(w.m_GroupMode, quint8(2));
  QVERIFY(add(QStringLiteral(" חברי ילדות ")).isEmpty());
  QCOMPARE(w.lstGroups->item(4)->text(), QStringLiteral("חברי ילדות"));
  QCOMPARE(w.lstGroups->count(), 7);
  QVERIFY(!w.cmdDelGroup->isHidden());
  QVERIFY(w.cmdCancelUpdate->isHidden());

  // "Cancel update" returns to add mode without touching the list.
  w.lstGroups->setCurrentRow(5);
  w.lstGroups_DblClick();
  w.cmdApply->setEnabled(false);
  w.cmdCancelUpdate->click();
  QCOMPARE(w.m_GroupMode, quint8(1));
  QVERIFY(w.txtNewGroup->text().isEmpty());
  QCOMPARE(w.lstGroups->item(5)->text(), QStringLiteral("friends"));
  QVERIFY(w.cmdApply->isEnabled());

  // Delete: the entries after it move up, nothing stays selected.
  w.lstGroups->setCurrentRow(4);
  w.cmdApply->setEnabled(false);
  w.cmdDelGroup->click();
  QCOMPARE(w.lstGroups->count(), 6);
  QCOMPARE(w.lstGroups->item(4)->text(), QStringLiteral("friends"));
  QCOMPARE(w.lstGroups->item(5)->text(), QStringLiteral("שכנים"));
  QVERIFY(!w.cmdDelGroup->isEnabled());
  QVERIFY(w.cmdApply->isEnabled());

  w.cmdApply->click();
  QCOMPARE(g_NumOfGroups, quint8(6));
  QCOMPARE(option("NumOfGroups"), QStringLiteral("6"));
  QCOMPARE(group(3), kFriends);
  QCOMPARE(group(4), QStringLiteral("friends"));
  QCOMPARE(group(5), QStringLiteral("שכנים"));
  QCOMPARE(group(6), QStringLiteral("<none>"));

  // The count is a byte: the 256th entry is refused.
  while (w.lstGroups->count() < 255) QVERIFY(add(QStringLiteral("קבוצה %1").arg(w.lstGroups->count())).isEmpty());
  QCOMPARE(add(QStringLiteral("עוד אחת"), 1), QStringList{kTooManyGroupsMsg});
  QCOMPARE(w.lstGroups->count(), 255);
  w.cmdApply->click();
  QCOMPARE(g_NumOfGroups, quint8(255));
  QCOMPARE(group(254), QStringLiteral("קבוצה 254"));
}

void OptionsWindowTest::groupsTabTakesTheNames() {
  testsupport::ProgramFolder folder;
  startProgram();
  frmOptions& w = openOptions();
  w.txtCouple->setText(QStringLiteral(" יוסי ומיכל "));
  w.txtHerFamily->setText(QStringLiteral("משפחת אברהם"));
  w.SSTab1->setCurrentIndex(2);
  QCOMPARE(w.lstGroups->item(0)->text(), kCouple);
  w.SSTab1->setCurrentIndex(1);
  QCOMPARE(w.lstGroups->item(0)->text(), QStringLiteral(" יוסי ומיכל "));
  QCOMPARE(w.lstGroups->item(1)->text(), kHis);
  QCOMPARE(w.lstGroups->item(2)->text(), QStringLiteral("משפחת אברהם"));
  QCOMPARE(w.lstGroups->item(3)->text(), kFriends);
  // A name equal to the new main names is now a duplicate.
  w.txtNewGroup->setText(QStringLiteral("משפחת אברהם"));
  prompts().answer(platform::vbOK);
  w.cmdAddUpdateGroup->click();
  QCOMPARE(prompts().messages(), QStringList{kDuplicateMsg});
  w.cmdApply->click();
  QCOMPARE(g_Couple, QStringLiteral("יוסי ומיכל"));
  QCOMPARE(g_UserGroups.value(2), QStringLiteral("משפחת אברהם"));
  QCOMPARE(group(2), QStringLiteral("משפחת אברהם"));
}

void OptionsWindowTest::okCancelAndClose() {
  testsupport::ProgramFolder folder;
  startProgram();

  // OK without a change stores nothing: not even pelmora.ini comes back.
  QVERIFY(QFile::remove(IniFile()));
  g_MaxTables = 25;  // not what the map holds: a refresh would rebuild it
  frmOptions& w = openOptions();
  w.cmdOK->click();
  testsupport::processEvents();
  QVERIFY(!frmOptions::IsLoaded());
  QVERIFY(!QFile::exists(IniFile()));
  QCOMPARE(frmTableMap::Default().lvwTable->ItemCount(), 20);
  g_MaxTables = 20;
  mdlFileINI::SaveOptions();
  const QByteArray before = iniBytes();

  // OK with a refused Apply shows the refusal and closes all the same.
  frmOptions& refused = openOptions();
  refused.txtMaxChairs->setText("16");
  prompts().answer(platform::vbOK);
  refused.cmdOK->click();
  testsupport::processEvents();
  QCOMPARE(prompts().messages(), QStringList{kChairsMsg});
  QVERIFY(!frmOptions::IsLoaded());
  QCOMPARE(g_MaxChairs, quint8(10));
  QCOMPARE(iniBytes(), before);

  // Cancel and the close box drop the edits.
  for (int how = 0; how < 2; ++how) {
    frmOptions& edited = openOptions();
    edited.txtMaxChairs->setText("12");
    edited.txtCouple->setText(QStringLiteral("אחרים"));
    if (how == 0)
      edited.cmdCancel->click();
    else
      edited.close();
    testsupport::processEvents();
    QVERIFY(!frmOptions::IsLoaded());
    QCOMPARE(g_Couple, kCouple);
    QCOMPARE(iniBytes(), before);
  }

  // Shown modally as the options command does; OK applies the edit and closes.
  prompts().onModal([](QWidget* window) {
    auto* options = qobject_cast<frmOptions*>(window);
    QVERIFY(options);
    options->txtMaxChairs->setText("12");
    QTest::mouseClick(options->cmdOK, Qt::LeftButton);
  });
  platform::ShowModal(&frmOptions::Default(), &frmPelmora::Default());
  testsupport::processEvents();
  QVERIFY(!frmOptions::IsLoaded());
  QCOMPARE(g_MaxChairs, quint8(12));
  QCOMPARE(option("Max Chairs"), QStringLiteral("12"));
}


namespace {

// Picks a group in the main window's combo as a user does.
void pickGroup(const QString& name) {
  frmPelmora& main = frmPelmora::Default();
  const int index = main.cmbUserGroups->findText(name);
  QVERIFY(index >= 0);
  main.cmbUserGroups->setCurrentIndex(index);
  main.cmbUserGroups_Click();
  testsupport::processEvents();
}

// Replaces a box's text as a user does: select all, type.
void retype(QLineEdit* box, const QString& text) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  testsupport::typeText(box, text);
}

// The group each invitation is stored in, by family name.
QMap<QString, QString> storedGroups() {
  QMap<QString, QString> groups;
  for (const QVariantMap& row : testsupport::readInvitations())
    groups.insert(row.value(QStringLiteral("FAMILY_NAME")).toString(), row.value(QStringLiteral("LIST_GROUP")).toString());
  return groups;
}

void addToGroup(const QString& family, int group) {
  testsupport::Invitation inv;
  inv.familyName = family;
  inv.firstName = QStringLiteral("ומשפחתו");
  inv.listGroup = QString::number(group);
  inv.phones = inv.remark = inv.address = inv.present = QString("");
  testsupport::addInvitation(inv);
}

// A fifth group, GA, holding Y's invitation.
void startWithGroupGA() {
  startProgram();
  g_NumOfGroups = 5;
  g_UserGroups = {kCouple, kHis, kHer, kFriends, QStringLiteral("GA"), QString()};
  mdlFileINI::SaveOptions();
  addToGroup(QStringLiteral("Y"), 5);
}

}  // namespace

void OptionsWindowTest::settingsThatCannotBeWrittenStayInTheWindow() {
  testsupport::ProgramFolder folder;
  testsupport::SmallDisk disk(folder.path());
  PELMORA_REQUIRE_MOUNTED(disk);
  startProgram();
  const QByteArray before = iniBytes();
  QVERIFY(!before.isEmpty());
  disk.fill();

  frmOptions& w = openOptions();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  retype(w.txtCouple, QStringLiteral("רון ורונית"));
  retype(w.txtMaxTable, QStringLiteral("30"));
  prompts().answer(platform::vbOK);
  QTest::mouseClick(w.cmdOK, Qt::LeftButton);
  testsupport::processEvents();

  // Told once; the file as it was; the window open with what was typed.
  QCOMPARE(prompts().messages().size(), 1);
  QVERIFY(prompts().messages().first().startsWith(kNotStoredMsg));
  QCOMPARE(iniBytes(), before);
  QVERIFY(frmOptions::IsLoaded());
  QCOMPARE(w.txtCouple->text(), QStringLiteral("רון ורונית"));
  QVERIFY(w.cmdApply->isEnabled());
  QCOMPARE(g_Couple, kCouple);
  QCOMPARE(g_MaxTables, quint8(20));
  QCOMPARE(frmTableMap::Default().lvwTable->ItemCount(), 20);

  // Room again: the same OK stores everything and closes.
  disk.empty();
  prompts().clearShown();
  QTest::mouseClick(w.cmdOK, Qt::LeftButton);
  testsupport::processEvents();
  QVERIFY(prompts().messages().isEmpty());
  QVERIFY(!frmOptions::IsLoaded());
  QCOMPARE(option("Couple"), QStringLiteral("רון ורונית"));
  QCOMPARE(option("Max Tables"), QStringLiteral("30"));
  QCOMPARE(group(3), kFriends);
}

void OptionsWindowTest::oneApplyIsOneWrite() {
  testsupport::ProgramFolder folder;
  startProgram();
  frmOptions& w = openOptions();
  w.txtCouple->setText(QStringLiteral("רון ורונית"));
  w.txtMaxChairs->setText("12");
  for (const QString& name : {QStringLiteral("עבודה"), QStringLiteral("שכנים")}) {
    w.txtNewGroup->setText(name);
    w.cmdAddUpdateGroup->click();
  }
  // A second replacement of the file would fail: one Apply writes it once,
  // with the options and the whole group list.
  platform::filefaults::FailReplacementsAfter(1);
  w.cmdApply->click();
  QVERIFY(prompts().messages().isEmpty());
  QCOMPARE(option("Couple"), QStringLiteral("רון ורונית"));
  QCOMPARE(option("Max Chairs"), QStringLiteral("12"));
  QCOMPARE(option("NumOfGroups"), QStringLiteral("6"));
  QCOMPARE(group(4), QStringLiteral("עבודה"));
  QCOMPARE(group(5), QStringLiteral("שכנים"));

  // A write that fails leaves the file whole and says so once.
  const QByteArray stored = iniBytes();
  platform::filefaults::FailReplacementsAfter(0);
  w.txtMaxChairs->setText("11");
  prompts().answer(platform::vbOK);
  w.cmdApply->click();
  QCOMPARE(prompts().messages().size(), 1);
  QVERIFY(prompts().messages().first().startsWith(kNotStoredMsg));
  QCOMPARE(iniBytes(), stored);
  QCOMPARE(g_MaxChairs, quint8(12));
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("pelmora")),
           QStringList{QStringLiteral("pelmora.ini")});
}

void OptionsWindowTest::renamedMainGroupKeepsItsGuests() {
  testsupport::ProgramFolder folder;
  startProgram();
  addToGroup(QStringLiteral("כהן"), 1);
  frmOptions& w = openOptions();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  // The couple renamed on the first tab; the groups tab is never opened.
  retype(w.txtCouple, QStringLiteral("רון ורונית"));
  QTest::mouseClick(w.cmdOK, Qt::LeftButton);
  testsupport::processEvents();
  QVERIFY(prompts().messages().isEmpty());
  QCOMPARE(g_UserGroups.value(0), QStringLiteral("רון ורונית"));
  QCOMPARE(group(0), QStringLiteral("רון ורונית"));

  // The new name picks the couple's invitations in the main window.
  frmPelmora& main = frmPelmora::Default();
  pickGroup(QStringLiteral("רון ורונית"));
  QCOMPARE(main.MSFlexGrid1->Rows(), 2);
  QCOMPARE(main.MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("כהן"));

  // A file whose main entries lag behind the names is set right when loaded.
  mdlFileINI::WriteINI(IniFile(), QStringLiteral("UserGroups"), QStringLiteral("Group-0"), QStringLiteral("ישן"));
  platform::Forms::DestroyAll();
  testsupport::processEvents();
  ResetState();
  frmPelmora::Default();
  QCOMPARE(g_UserGroups.value(0), QStringLiteral("רון ורונית"));
}

void OptionsWindowTest::removingAGroupKeepsEveryGuestInItsGroup() {
  testsupport::ProgramFolder folder;
  startProgram();
  g_NumOfGroups = 6;
  g_UserGroups = {kCouple, kHis, kHer, kFriends, QStringLiteral("GA"), QStringLiteral("GB"), QString()};
  mdlFileINI::SaveOptions();
  addToGroup(QStringLiteral("X"), 5);
  addToGroup(QStringLiteral("Y"), 6);
  addToGroup(QStringLiteral("Z"), 4);

  // A group that holds invitations is not removed.
  frmOptions& w = openOptions();
  w.lstGroups->setCurrentRow(4);
  prompts().answer(platform::vbOK);
  w.cmdDelGroup->click();
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("לא ניתן להסיר את הקבוצה, יש בה 1 הזמנות")});
  QCOMPARE(w.lstGroups->count(), 6);

  // Emptied, it goes, and GB's invitation moves up with GB.
  QCOMPARE(testsupport::OtherConnection(DatabaseFile()).exec("DELETE FROM PELMORA WHERE FAMILY_NAME = 'X'"), SQLITE_OK);
  prompts().clearShown();
  w.lstGroups->setCurrentRow(4);
  w.cmdDelGroup->click();
  QCOMPARE(w.lstGroups->count(), 5);

  // A settings write that fails changes neither the file nor the invitations.
  const QByteArray before = iniBytes();
  platform::filefaults::FailReplacementsAfter(0);
  prompts().answer(platform::vbOK);
  w.cmdApply->click();
  QCOMPARE(prompts().messages().size(), 1);
  QCOMPARE(iniBytes(), before);
  QCOMPARE(storedGroups().value(QStringLiteral("Y")), QStringLiteral("6"));
  platform::filefaults::Clear();

  prompts().clearShown();
  w.cmdApply->click();
  QVERIFY(prompts().messages().isEmpty());
  QCOMPARE(group(4), QStringLiteral("GB"));
  QCOMPARE(group(5), QStringLiteral("<none>"));
  const auto groups = storedGroups();
  QCOMPARE(groups.value(QStringLiteral("Y")), QStringLiteral("5"));
  QCOMPARE(groups.value(QStringLiteral("Z")), QStringLiteral("4"));

  // GB's invitation shows under GB.
  frmPelmora& main = frmPelmora::Default();
  pickGroup(QStringLiteral("GB"));
  QCOMPARE(main.MSFlexGrid1->Rows(), 2);
  QCOMPARE(main.MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("Y"));
}

// Another program holds Wed.mdb's write lock while Apply renumbers the guests
// of a group that moved up: Apply waits for it, and when it never lets go
// shows the engine's message with nothing stored. The guest's address, which
// a spreadsheet import wrote in Windows-1255, keeps its bytes.
void OptionsWindowTest::renumberingWaitsForAFileAnotherProgramHolds() {
  testsupport::ProgramFolder folder;
  startWithGroupGA();
  testsupport::OtherConnection other(DatabaseFile());
  const QByteArray address = *platform::cp1255::encode(QStringLiteral("רחוב הרצל 5"));
  QCOMPARE(other.execWithText("UPDATE PELMORA SET ADDRESS = ? WHERE FAMILY_NAME = 'Y'", address), SQLITE_OK);
  frmOptions& w = openOptions();
  w.lstGroups->setCurrentRow(3);
  w.cmdDelGroup->click();

  const QByteArray iniBefore = iniBytes(), dbBefore = testsupport::readFile(DatabaseFile());
  QCOMPARE(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
  bool waited = false;
  dao::faults::OnBusyWait([&] { waited = true; });
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  w.cmdApply->click();
  QVERIFY(waited);
  QCOMPARE(prompts().shown().size(), 1);
  QVERIFY2(prompts().messages().first().startsWith(QStringLiteral("Could not update; currently locked.")),
           qPrintable(prompts().messages().first()));
  QCOMPARE(prompts().shown().first().style, int(platform::vbExclamation));
  QCOMPARE(iniBytes(), iniBefore);
  QCOMPARE(testsupport::readFile(DatabaseFile()), dbBefore);
  QVERIFY(w.cmdApply->isEnabled());

  // Let go while Apply waits: it goes through.
  waited = false;
  dao::faults::OnBusyWait([&] {
    waited = true;
    other.exec("ROLLBACK");
  });
  prompts().clearShown();
  w.cmdApply->click();
  QVERIFY(waited);
  QCOMPARE(prompts().messages(), QStringList{});
  QCOMPARE(group(3), QStringLiteral("GA"));
  QCOMPARE(storedGroups().value(QStringLiteral("Y")), QStringLiteral("4"));
  QCOMPARE(other.bytes("SELECT ADDRESS FROM PELMORA WHERE FAMILY_NAME = 'Y'"), address);
}

// The guest list could not take the new group numbers, and the settings file,
// already written, could not be put back: the user is told the two may disagree.
void OptionsWindowTest::settingsThatCannotBePutBackAreTold() {
  testsupport::ProgramFolder folder;
  startWithGroupGA();

  frmOptions& w = openOptions();
  w.lstGroups->setCurrentRow(3);
  w.cmdDelGroup->click();  // GA moves up to group 4
  // Another program reads the database, so the renumbering cannot be committed.
  testsupport::OtherConnection reader(DatabaseFile());
  QCOMPARE(reader.exec("BEGIN; SELECT count(*) FROM PELMORA;"), SQLITE_OK);
  platform::filefaults::FailReplacementsAfter(1);  // the settings are written, not put back
  prompts().answer(platform::vbOK);
  prompts().answer(platform::vbOK);
  w.cmdApply->click();
  const QStringList shown = prompts().messages();
  QCOMPARE(shown.size(), 2);
  QVERIFY2(shown[0].contains(QStringLiteral("locked")), qPrintable(shown[0]));
  QVERIFY(shown[1].startsWith(QStringLiteral("!ההגדרות הקודמות לא שוחזרו") + g_NewLine +
                              QStringLiteral(".ייתכן שההגדרות ורשימת המוזמנים אינן תואמות זו לזו") + g_NewLine +
                              IniFile()));
  QCOMPARE(storedGroups().value(QStringLiteral("Y")), QStringLiteral("5"));
}

// Opened from the main window, the first key goes to the first box; Enter on
// a focused button presses it.
void OptionsWindowTest::keyboardFromTheFirstKey() {
  testsupport::ProgramFolder folder;
  startProgram();
  frmPelmora& main = frmPelmora::Default();
  main.show();
  QVERIFY(QTest::qWaitForWindowActive(&main));
  bool ran = false;
  prompts().onModal([&](QWidget* shown) {
    QPointer<frmOptions> w = qobject_cast<frmOptions*>(shown);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(QApplication::focusWidget(), w->txtCouple);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    QCOMPARE(w->txtCouple->text(), kCouple + QStringLiteral("x"));
    w->cmdCancel->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w->cmdCancel, Qt::Key_Return);
    testsupport::processEvents();
    QVERIFY(!w || !w->isVisible());
    ran = true;
  });
  main.popOptions->trigger();
  QVERIFY(ran);
  QCOMPARE(option(QStringLiteral("Couple")), kCouple);  // Cancel applied nothing
}

PELMORA_TEST(OptionsWindowTest)
#include "tst_options.moc"
