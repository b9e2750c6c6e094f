// The tables map: the recount of every table from Wed.mdb, the two views, the
// selection and its commands, and closing the window while the program runs.
#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/listview.h"
#include "platform/msgbox.h"
#include "platform/toolbar.h"
#include "platform/vberror.h"
#include "seating/frmTable.h"
#include "seating/frmTableMap.h"
#include "resources/tableicons.h"
#include "support/tablemap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using testsupport::addInvitation;
using testsupport::prompts;
using testsupport::showMap;

namespace {

const QString kPrefix = QStringLiteral("שולחן של ");
const QString kEmpty = QStringLiteral(".שולחן ריק מאנשים");
const QString kSaveQuestion = QStringLiteral("?האם ברצונך לשמור מיקומי מפת השולחנות ביציאה");

QString overLimit(int chairs) {
  return QStringLiteral("לא ניתן להושיב יותר מ- ") + QString::number(chairs) + QStringLiteral(" איש בשולחן");
}

QWidget* viewport(frmTableMap& map) { return map.lvwTable->CurrentView()->viewport(); }

void clickItem(frmTableMap& map, int item) {
  QTest::mouseClick(viewport(map), Qt::LeftButton, {}, map.lvwTable->ItemRect(item).center());
}

void doubleClickItem(frmTableMap& map, int item) {
  const QPoint at = map.lvwTable->ItemRect(item).center();
  QTest::mouseClick(viewport(map), Qt::LeftButton, {}, at);
  QTest::mouseDClick(viewport(map), Qt::LeftButton, {}, at);
}

// The pop-up opened at this point of the screen, whichever corner the
// platform puts there.
bool popupAt(frmTableMap& map, const QPoint& at) {
  const QRect menu = map.mnuPopTable->geometry();
  return (menu.topLeft() - at).manhattanLength() <= 2 || menu.contains(at) ||
         (menu.topRight() - at).manhattanLength() <= 2;
}

// Wed.mdb with כהן דוד, 3 guests, at `table`; the map of `tables` tables of 15
// chairs shown.
frmTableMap& showMapWithCohen(int table, int tables) {
  testsupport::makeWeddingDb();
  addInvitation(QStringLiteral("כהן"), QStringLiteral("דוד"), 3, table);
  g_MaxTables = tables;
  g_MaxChairs = 15;
  return showMap();
}

bool seatCommandsEnabled(frmTableMap& map) {
  const bool pop = map.popTableSitView->isEnabled();
  if (pop != map.popUpdateTableNum->isEnabled() || pop != map.Toolbar1->IsEnabled(5)) {
    qWarning("seat commands disagree");
    return !pop;  // neither answer is right
  }
  return pop;
}

}  // namespace

class TableMapTest : public QObject {
  Q_OBJECT
 private slots:
  void windowAndCommands();
  void emptyWeddingAndUnseatedInvitations();
  void countsAndNamesPerTable();
  void viewSwitchKeepsItemsAndSelection();
  void rebuildForFewerTables();
  void tablesOverTheLimit();
  void overLimitOncePerAction();
  void rowsTheMapCannotShow();
  void closingOnlyHides();
  void closingCallsBackTheMainWindow();
  void keysMoveTheChosenTable();
  void rightClickOpensThePopup();
  void keyboardReachesEveryCommand();
  void peopleFromItemText();
  void detailedListShowsPicturesWhole();
};

void TableMapTest::windowAndCommands() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 5;
  g_MaxChairs = 12;
  frmTableMap& map = frmTableMap::Default();
  QCOMPARE(map.windowTitle(), QStringLiteral("מפת השולחנות של כול האורחים"));
  QCOMPARE(map.layoutDirection(), Qt::RightToLeft);
  QVERIFY(!map.isVisible());  // loaded hidden
  QVERIFY(!map.UnloadFlag);

  const QStringList captions = {QStringLiteral("שמור"), QStringLiteral("טען"), QStringLiteral("אפס"), QString(),
                                QStringLiteral("שולחן"), QString(), QStringLiteral("מפה"), QStringLiteral("רשימה"),
                                QString(), QStringLiteral("הדפס")};
  const QStringList tips = {QStringLiteral("שמור מפת שולחנות"), QStringLiteral("טען רקע של מפת גן ארועים"),
                            QStringLiteral("אפס מפת שולחנות לבררת מחדל"), QString(),
                            QStringLiteral("הצג סידורי הושבה בשולחן"), QString(),
                            QStringLiteral("הצג מפה של שולחנות"), QStringLiteral("הצג פירוט של שולחנות"), QString(),
                            QStringLiteral("הדפס מפת שולחנות")};
  QCOMPARE(map.Toolbar1->Count(), 10);
  for (int i = 1; i <= 10; ++i) {
    QAction* b = map.Toolbar1->Button(i);
    QCOMPARE(b->isSeparator(), i == 4 || i == 6 || i == 9);
    if (b->isSeparator()) continue;
    QCOMPARE(b->text(), captions[i - 1]);
    QCOMPARE(b->toolTip(), tips[i - 1]);
    QCOMPARE(b->isCheckable(), i == 7 || i == 8);
    QVERIFY2(!b->icon().isNull(), qPrintable(captions[i - 1]));
  }

  QCOMPARE(map.mnuPopTable->title(), QStringLiteral("PopUpTable"));
  const QList<QAction*> items = map.mnuPopTable->actions();
  const QList<QAction*> expected = {map.popTableSitView, map.pop1, map.popUpdateTableNum, map.popSaveMap,
                                    map.popSetDefaultMap, map.popPrintMap, map.pop2, map.popTableMap,
                                    map.popDetailed};
  QCOMPARE(items, expected);
  QVERIFY(map.pop1->isSeparator() && map.pop2->isSeparator());
  QCOMPARE(map.popTableSitView->text(), QStringLiteral("...סידור הושבה בשולחן"));
  QCOMPARE(map.popUpdateTableNum->text(), QStringLiteral("...שינוי מספר שולחן"));
  QCOMPARE(map.popSaveMap->text(), QStringLiteral("שמור מפת שולחנות"));
  QCOMPARE(map.popSetDefaultMap->text(), QStringLiteral("אפס סידור שולחנות"));
  QCOMPARE(map.popPrintMap->text(), QStringLiteral("...הדפס מפת שולחנות"));
  QCOMPARE(map.popTableMap->text(), QStringLiteral("מפת שולחנות"));
  QCOMPARE(map.popDetailed->text(), QStringLiteral("רשימה מפורטת"));

  // Every picture the items name is there, in both sizes.
  QCOMPARE(map.imlIcons.Count(), 100);
  QCOMPARE(map.imlSmallIcons.Count(), 100);
  QVERIFY(map.imlIcons.Picture(QStringLiteral("TableNo100")).width() > map.imlSmallIcons.Picture(QStringLiteral("smlTableNo100")).width());
  for (int i = 1; i <= 5; ++i) {
    QCOMPARE(map.lvwTable->ItemIcon(i), QStringLiteral("TableNo%1").arg(i));
    QCOMPARE(map.lvwTable->ItemSmallIcon(i), QStringLiteral("smlTableNo%1").arg(i));
  }
  for (const char* key : {"Clear", "Load", "Save", "Print", "View List", "View Map", "View Table"})
    QVERIFY2(!map.imlToolbarIcons.Picture(QString::fromLatin1(key)).isNull(), key);
}

void TableMapTest::emptyWeddingAndUnseatedInvitations() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  // Not seated: no table, table 0.
  addInvitation(QStringLiteral("כהן"), QStringLiteral("דוד"), 4, QVariant());
  addInvitation(QStringLiteral("לוי"), QStringLiteral("שרה"), 2, 0);
  g_MaxTables = 8;
  g_MaxChairs = 12;
  frmTableMap& map = showMap();
  QCOMPARE(map.lvwTable->ItemCount(), 8);
  for (int t = 1; t <= 8; ++t) {
    QCOMPARE(map.lvwTable->ItemText(t), kPrefix + QStringLiteral("0"));
    QCOMPARE(g_Tables[t].Count, quint8(0));
    QVERIFY(g_Tables[t].Names.isEmpty());
  }
  QCOMPARE(g_Tables.size(), 9);
  QCOMPARE(g_TableViewMode, quint8(1));
  QCOMPARE(map.lvwTable->SelectedItem(), 1);

  clickItem(map, 4);
  QCOMPARE(map.lvwTable->SelectedItem(), 4);
  QCOMPARE(g_SelTable, quint8(4));
  QVERIFY(!seatCommandsEnabled(map));

  prompts().answer(platform::vbOK);
  doubleClickItem(map, 4);
  QCOMPARE(prompts().messages(), QStringList{kEmpty});
  QCOMPARE(prompts().shown().first().style, int(platform::vbOKOnly));
  QCOMPARE(g_SelTablePeople, quint8(0));

  // The disabled toolbar button does nothing; the pop-up command does the same as a double click.
  prompts().clearShown();
  map.Toolbar1->Click(5);
  QVERIFY(prompts().shown().isEmpty());
}

void TableMapTest::countsAndNamesPerTable() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  addInvitation(QStringLiteral("כהן"), QStringLiteral("דוד"), 3, 2);
  addInvitation(QStringLiteral("לוי"), QStringLiteral("שרה"), 4, 2);
  addInvitation(QStringLiteral("מזרחי"), QStringLiteral("יוסי"), 12, 5);
  addInvitation(QStringLiteral("אבו"), QStringLiteral("רון"), 2, 3);
  addInvitation(QStringLiteral("זהבי"), QStringLiteral("טל"), 1, QVariant());
  addInvitation(QStringLiteral("בן דוד"), QStringLiteral("מיכל"), 5, 3);
  g_MaxTables = 6;
  g_MaxChairs = 15;
  frmTableMap& map = showMap();

  QCOMPARE(map.lvwTable->ItemText(2), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("12"));
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(1), kPrefix + QStringLiteral("0"));
  QCOMPARE(map.PeopleAtTable(2), 7);
  QCOMPARE(map.PeopleAtTable(5), 12);
  QCOMPARE(g_Tables[5].Count, quint8(12));
  // Names in the order the database returns the rows, each followed by " , ".
  QCOMPARE(g_Tables[3].Names, QStringLiteral("אבו רון , בן דוד מיכל , "));
  QCOMPARE(g_Tables[2].Names, QStringLiteral("כהן דוד , לוי שרה , "));
  // The map does not write the names.
  QCOMPARE(map.lvwTable->SubItem(3, 1), QString());

  clickItem(map, 5);
  QCOMPARE(g_SelTable, quint8(5));
  QVERIFY(seatCommandsEnabled(map));
  doubleClickItem(map, 5);  // the seat view opens; no message
  QVERIFY(prompts().shown().isEmpty());
  QCOMPARE(g_SelTablePeople, quint8(12));
  clickItem(map, 1);
  QVERIFY(!seatCommandsEnabled(map));

  // The detailed list shows the names in its second column.
  map.Toolbar1->Click(1);  // the places saved
  map.Toolbar1->Click(8);
  QVERIFY(prompts().shown().isEmpty());  // no question on leaving the map while nothing moved since
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwReport);
  QCOMPARE(map.lvwTable->SubItem(3, 1), QStringLiteral("אבו רון , בן דוד מיכל , "));
  QAbstractItemView* report = map.lvwTable->ReportView();
  QCOMPARE(report->model()->index(2, 1).data().toString(), QStringLiteral("אבו רון , בן דוד מיכל , "));
  QCOMPARE(report->model()->index(1, 0).data().toString(), kPrefix + QStringLiteral("7"));
  QCOMPARE(report->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("מספר השולחן"));
  QCOMPARE(report->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("רשימת האנשים"));
  const double w = map.lvwTable->WidthTwips();
  QVERIFY(w > 0);
  QVERIFY(qAbs(map.lvwTable->ColumnHeaderWidth(1) - w / 4) < 1);
  QVERIFY(qAbs(map.lvwTable->ColumnHeaderWidth(1) + map.lvwTable->ColumnHeaderWidth(2) - w) < 1);

  // A change in the database shows at the next recount.
  addInvitation(QStringLiteral("פרץ"), QStringLiteral("עדי"), 2, 5);
  map.InitTableView(g_TableViewMode);
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("14"));
  QCOMPARE(map.lvwTable->SubItem(5, 1), QStringLiteral("מזרחי יוסי , פרץ עדי , "));
}

void TableMapTest::viewSwitchKeepsItemsAndSelection() {
  testsupport::ProgramFolder folder;
  frmTableMap& map = showMapWithCohen(4, 10);
  QVERIFY(map.popTableMap->isChecked() && !map.popDetailed->isChecked());
  QVERIFY(map.Toolbar1->IsPressed(7) && !map.Toolbar1->IsPressed(8));

  clickItem(map, 4);
  prompts().answer(platform::vbCancel);  // places never saved: the save question
  map.popDetailed->trigger();
  QCOMPARE(prompts().messages(), QStringList{kSaveQuestion});
  prompts().clearShown();
  QCOMPARE(g_TableViewMode, quint8(2));
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwReport);
  QVERIFY(!map.popTableMap->isChecked() && map.popDetailed->isChecked());
  QVERIFY(!map.Toolbar1->IsPressed(7) && map.Toolbar1->IsPressed(8));
  QCOMPARE(map.lvwTable->SelectedItem(), 4);
  QCOMPARE(g_SelTable, quint8(4));
  QVERIFY(seatCommandsEnabled(map));
  QCOMPARE(map.lvwTable->ItemCount(), 10);

  // Choosing the detailed view again asks nothing and keeps it; a click on the
  // pressed button leaves it pressed.
  map.Toolbar1->Click(8);
  QVERIFY(map.Toolbar1->IsPressed(8) && !map.Toolbar1->IsPressed(7));
  map.popDetailed->trigger();
  QVERIFY(map.popDetailed->isChecked());
  QVERIFY(prompts().shown().isEmpty());

  // In the list, a click selects by row; back on the map the same item is selected.
  clickItem(map, 7);
  QCOMPARE(g_SelTable, quint8(7));
  map.Toolbar1->Click(7);
  QCOMPARE(g_TableViewMode, quint8(1));
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwIcon);
  QVERIFY(map.popTableMap->isChecked() && !map.popDetailed->isChecked());
  QCOMPARE(map.lvwTable->SelectedItem(), 7);
  QVERIFY(!seatCommandsEnabled(map));
  QCOMPARE(map.lvwTable->SubItem(4, 1), QStringLiteral("כהן דוד , "));  // kept from the list's recount

  // Focus coming to the list from elsewhere in the window clears the chosen table.
  map.lvwTable->CurrentView()->clearFocus();
  map.lvwTable->CurrentView()->setFocus(Qt::TabFocusReason);
  QCOMPARE(g_SelTable, quint8(0));
  map.ViewTable();  // no table chosen: nothing at all
  QVERIFY(prompts().shown().isEmpty());
}

void TableMapTest::rebuildForFewerTables() {
  testsupport::ProgramFolder folder;
  frmTableMap& map = showMapWithCohen(15, 100);
  QCOMPARE(map.lvwTable->ItemCount(), 100);
  QCOMPARE(map.lvwTable->ItemText(100), kPrefix + QStringLiteral("0"));
  prompts().answer(platform::vbCancel);
  map.ChangeTableViewMode(2);
  QCOMPARE(prompts().messages(), QStringList{kSaveQuestion});
  clickItem(map, 30);

  g_MaxTables = 20;
  map.InitTableSetting();
  QCOMPARE(map.lvwTable->ItemCount(), 20);
  QCOMPARE(g_Tables.size(), 21);
  QCOMPARE(g_TableViewMode, quint8(1));
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwIcon);
  QVERIFY(map.popTableMap->isChecked());
  QCOMPARE(map.lvwTable->ItemText(15), kPrefix + QStringLiteral("3"));
  QCOMPARE(map.lvwTable->ItemText(20), kPrefix + QStringLiteral("0"));
  QCOMPARE(map.lvwTable->SubItem(15, 1), QString());  // fresh items, recounted on the map
  QCOMPARE(map.lvwTable->SelectedItem(), 1);
  QCOMPARE(g_SelTable, quint8(1));
  QCOMPARE(map.lvwTable->ColumnHeaderCount(), 2);
}

void TableMapTest::tablesOverTheLimit() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  addInvitation(QStringLiteral("כהן"), QStringLiteral("דוד"), 6, 1);
  addInvitation(QStringLiteral("לוי"), QStringLiteral("שרה"), 8, 2);
  addInvitation(QStringLiteral("גל"), QStringLiteral("נוי"), 4, 3);
  g_MaxTables = 4;
  g_MaxChairs = 5;
  // The load rebuilds and recounts more than once: one message all the same.
  prompts().answer(platform::vbOK);
  frmTableMap& map = showMap();
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});
  QCOMPARE(prompts().shown().first().style, int(platform::vbOKOnly));
  QCOMPARE(map.lvwTable->ItemText(2), kPrefix + QStringLiteral("8"));  // shown as it is

  prompts().clearShown();
  prompts().answer(platform::vbOK);
  map.InitTableView(1);
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});

  // Choosing a table over the limit tells so and opens nothing.
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  map.lvwTable->SetSelectedItem(2);
  map.lvwTable_Click();
  map.popTableSitView->trigger();
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});
  QCOMPARE(g_SelTablePeople, quint8(8));

  // Within the limit again: no message.
  prompts().clearShown();
  g_MaxChairs = 8;
  map.InitTableView(1);
  QVERIFY(prompts().shown().isEmpty());

  // A key that moves the selection does what a click does: from the empty
  // table 4 to table 3, the seat commands come on and the seat view opens on
  // table 3 with its own people.
  clickItem(map, 4);
  QVERIFY(!seatCommandsEnabled(map));
  QTest::keyClick(map.lvwTable->CurrentView(), Qt::Key_Right);
  QCOMPARE(map.lvwTable->SelectedItem(), 3);
  QCOMPARE(g_SelTable, quint8(3));
  QVERIFY(seatCommandsEnabled(map));
  map.popTableSitView->trigger();
  QVERIFY(prompts().shown().isEmpty());
  QCOMPARE(g_SelTablePeople, quint8(4));
  QVERIFY(frmTable::IsLoaded());
  QCOMPARE(frmTable::Default().lblTableNum->text(), QStringLiteral("שולחן מס' 3"));
}

void TableMapTest::overLimitOncePerAction() {
  testsupport::ProgramFolder folder;
  testsupport::Invitation big;
  big.familyName = QStringLiteral("כהן");
  big.firstName = QStringLiteral("דוד");
  big.invNum = 9;
  big.tableNo = 2;
  // As the editor writes them, so that the guest list loads without a word.
  big.phones = big.remark = QStringLiteral("");
  big.invStatus = false;
  big.presentType = 0;
  testsupport::Invitation other = big;
  other.familyName = QStringLiteral("לוי");
  other.invNum = 7;
  other.tableNo = 3;
  // Program start: the main window loads the map through a rebuild and then
  // switches it to the map view, each recounting.
  prompts().answer(platform::vbOK);
  loadMainWindow({big, other}, 10, 5);
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});
  frmTableMap& map = frmTableMap::Default();
  QCOMPARE(map.PeopleAtTable(2), 9);
  testsupport::processEvents();

  // Later actions: a recount alone, a rebuild followed by a recount (as the
  // options' Apply does), a view switch; one message each.
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  map.InitTableView(g_TableViewMode);
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});
  testsupport::processEvents();

  prompts().clearShown();
  prompts().answer(platform::vbOK);
  map.InitTableSetting();
  map.InitTableView(g_TableViewMode);
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});
  testsupport::processEvents();

  prompts().clearShown();
  map.Toolbar1->Click(1);  // the places saved: no save question on leaving the map
  prompts().answer(platform::vbOK);
  map.Toolbar1->Click(8);
  QCOMPARE(g_TableViewMode, quint8(2));
  QCOMPARE(prompts().messages(), QStringList{overLimit(5)});
  testsupport::processEvents();

  // A failed recount shows nothing and leaves the next one its message.
  prompts().clearShown();
  QFile::remove(folder.file(QStringLiteral("Wed.mdb")));
  QFile(folder.file(QStringLiteral("Wed.mdb"))).open(QIODevice::WriteOnly);
  QVERIFY_THROWS_EXCEPTION(platform::VbError, map.InitTableView(g_TableViewMode));
  QVERIFY(prompts().shown().isEmpty());
}

void TableMapTest::rowsTheMapCannotShow() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  addInvitation(QStringLiteral("כהן"), QStringLiteral("דוד"), 3, 50);  // beyond the tables
  addInvitation(QStringLiteral("לוי"), QStringLiteral("שרה"), 2, 3);
  addInvitation(QStringLiteral("גדול"), QStringLiteral("א"), 200, 4);  // together more than a byte
  addInvitation(QStringLiteral("גדול"), QStringLiteral("ב"), 100, 4);
  testsupport::Invitation noCount;
  noCount.familyName = QStringLiteral("בלי");
  noCount.firstName = QStringLiteral("מספר");
  noCount.invNum = QVariant();
  noCount.tableNo = 3;
  addInvitation(noCount);
  g_MaxTables = 10;
  g_MaxChairs = 15;
  prompts().answer(platform::vbOK);
  frmTableMap& map = frmTableMap::Default();
  QCOMPARE(prompts().messages(), QStringList{overLimit(15)});  // table 4 only
  QCOMPARE(map.lvwTable->ItemCount(), 10);
  QCOMPARE(g_Tables.size(), 11);
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("2"));
  QCOMPARE(g_Tables[3].Names, QStringLiteral("לוי שרה , בלי מספר , "));
  // A total beyond 255 stays at 255 and reads as a full table, never as a small one.
  QCOMPARE(g_Tables[4].Count, quint8(255));
  QCOMPARE(map.lvwTable->ItemText(4), kPrefix + QStringLiteral("255"));
  QCOMPARE(map.PeopleAtTable(4), 255);
  int total = 0;
  for (const TableInfo& t : g_Tables) total += t.Count;
  QCOMPARE(total, 2 + 255);
}

void TableMapTest::closingOnlyHides() {
  testsupport::ProgramFolder folder;
  frmTableMap& map = showMapWithCohen(2, 5);
  prompts().answer(platform::vbCancel);  // the map's places were never saved
  map.close();
  testsupport::processEvents();
  QVERIFY(frmTableMap::IsLoaded());
  QVERIFY(!map.isVisible());
  QCOMPARE(&frmTableMap::Default(), &map);
  QCOMPARE(map.PeopleAtTable(2), 3);  // still readable by the editor and the options
  QCOMPARE(prompts().messages(), QStringList{kSaveQuestion});
  prompts().clearShown();
  prompts().answer(platform::vbCancel);
  map.ChangeTableViewMode(2);
  prompts().clearShown();
  map.show();
  map.close();  // the detailed view asks nothing
  testsupport::processEvents();
  QVERIFY(frmTableMap::IsLoaded());
  QVERIFY(prompts().shown().isEmpty());

  // At program end the window really goes.
  map.UnloadFlag = true;
  QVERIFY(frmTableMap::Unload());
  testsupport::processEvents();
  QVERIFY(!frmTableMap::IsLoaded());
}

void TableMapTest::closingCallsBackTheMainWindow() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 5;
  g_MaxChairs = 15;
  frmPelmora& main = frmPelmora::Default();
  QVERIFY(frmTableMap::IsLoaded());  // the main window's load loads the map
  frmTableMap& map = frmTableMap::Default();
  QVERIFY(!map.isVisible());
  prompts().clearShown();

  main.ShowHideTablesMap();
  QVERIFY(map.isVisible());
  QVERIFY(main.mnuShowTablesMap->isChecked());

  prompts().answer(platform::vbCancel);  // never saved: asked once, not again by the main window's own close request
  map.close();  // the close box
  testsupport::processEvents();
  QVERIFY(!map.isVisible());
  QVERIFY(frmTableMap::IsLoaded());
  QVERIFY(!main.mnuShowTablesMap->isChecked());
  QVERIFY(!main.popShowTablesMap->isChecked());
  QVERIFY(!main.Toolbar1->IsPressed(10));
  QCOMPARE(prompts().messages(), QStringList{kSaveQuestion});
  prompts().clearShown();

  // Showing and hiding from the main window.
  main.ShowHideTablesMap();
  QVERIFY(map.isVisible());
  map.Toolbar1->Click(1);  // saved: hiding asks nothing
  main.ShowHideTablesMap();
  QVERIFY(!map.isVisible());
  QVERIFY(frmTableMap::IsLoaded());
  QVERIFY(!main.mnuShowTablesMap->isChecked());
  QVERIFY(prompts().shown().isEmpty());
}

// Every key that moves the selection does what a click does: the chosen table,
// its count and the seat commands all follow the item selected now.
void TableMapTest::keysMoveTheChosenTable() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  addInvitation(QStringLiteral("כהן"), QStringLiteral("דוד"), 3, 1);
  addInvitation(QStringLiteral("לוי"), QStringLiteral("שרה"), 2, 2);
  addInvitation(QStringLiteral("גל"), QStringLiteral("נוי"), 4, 6);
  g_NewLine = QStringLiteral("\r\n");
  g_MaxTables = 6;
  g_MaxChairs = 15;
  frmTableMap& map = showMap();
  prompts().answer(platform::vbCancel);  // places never saved: leaving the map asks
  map.Toolbar1->Click(8);
  prompts().clearShown();
  QAbstractItemView* list = map.lvwTable->CurrentView();

  // Table 1 clicked, Down to table 2, then the toolbar's seat button.
  clickItem(map, 1);
  QCOMPARE(g_SelTable, quint8(1));
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(map.lvwTable->SelectedItem(), 2);
  QCOMPARE(g_SelTable, quint8(2));
  QVERIFY(seatCommandsEnabled(map));
  QTest::mouseClick(map.Toolbar1->widgetForAction(map.Toolbar1->Button(5)), Qt::LeftButton);
  QVERIFY(prompts().shown().isEmpty());
  QVERIFY(frmTable::IsLoaded());
  frmTable& view = frmTable::Default();
  QCOMPARE(view.lblTableNum->text(), QStringLiteral("שולחן מס' 2"));
  QCOMPARE(view.lblNumOfPpl->text(), QStringLiteral("שולחן של 2 מוזמנים"));
  QCOMPARE(view.txtChair.size(), 2);
  QCOMPARE(view.txtChair[0]->Text(), QStringLiteral("לוי\r\nשרה"));
  QCOMPARE(view.txtChair[1]->Text(), QStringLiteral("לוי\r\nשרה"));
  map.activateWindow();
  list->setFocus(Qt::ActiveWindowFocusReason);

  // Down to the empty table 3: the seat commands go off with it.
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(g_SelTable, quint8(3));
  QVERIFY(!seatCommandsEnabled(map));
  // End and Home; Up from the last table.
  QTest::keyClick(list, Qt::Key_End);
  QCOMPARE(g_SelTable, quint8(6));
  QVERIFY(seatCommandsEnabled(map));
  QTest::keyClick(list, Qt::Key_Up);
  QCOMPARE(g_SelTable, quint8(5));
  QVERIFY(!seatCommandsEnabled(map));
  QTest::keyClick(list, Qt::Key_Home);
  QCOMPARE(g_SelTable, quint8(1));
  QVERIFY(seatCommandsEnabled(map));

  // On the map the arrows move between the pictures, which stand from the
  // right: Left goes on to table 2, Right back to table 1.
  map.Toolbar1->Click(7);
  list = map.lvwTable->CurrentView();
  list->setFocus(Qt::ActiveWindowFocusReason);
  QCOMPARE(map.lvwTable->SelectedItem(), 1);
  QTest::keyClick(list, Qt::Key_Left);
  QCOMPARE(map.lvwTable->SelectedItem(), 2);
  QCOMPARE(g_SelTable, quint8(2));
  // Double-clicking is not needed: the pop-up's seat view opens table 2.
  map.popTableSitView->trigger();
  QCOMPARE(frmTable::Default().lblTableNum->text(), QStringLiteral("שולחן מס' 2"));
  QCOMPARE(g_SelTablePeople, quint8(2));
  QTest::keyClick(list, Qt::Key_Right);
  QCOMPARE(g_SelTable, quint8(1));
  QVERIFY(prompts().shown().isEmpty());
}

// A right click first selects the item under the pointer, as the platform's
// list view does, and the pop-up then offers what that table allows.
void TableMapTest::rightClickOpensThePopup() {
  testsupport::ProgramFolder folder;
  frmTableMap& map = showMapWithCohen(5, 6);
  const QPoint at = map.lvwTable->ItemRect(3).center();
  QTest::mouseClick(viewport(map), Qt::LeftButton, {}, at);
  QVERIFY(!seatCommandsEnabled(map));
  QTest::mousePress(viewport(map), Qt::MiddleButton, {}, map.lvwTable->ItemRect(5).center());
  QVERIFY(!map.mnuPopTable->isVisible());
  QCOMPARE(g_SelTable, quint8(3));

  const QPoint five = map.lvwTable->ItemRect(5).center();
  QTest::mousePress(viewport(map), Qt::RightButton, {}, five);
  QVERIFY(map.mnuPopTable->isVisible());
  QCOMPARE(map.lvwTable->SelectedItem(), 5);
  QCOMPARE(g_SelTable, quint8(5));
  QVERIFY(seatCommandsEnabled(map));  // table 5 has people
  QVERIFY(popupAt(map, viewport(map)->mapToGlobal(five)));
  map.mnuPopTable->hide();

  // Back on the empty table 3, and then on no table at all: the pop-up still
  // opens, with the seat commands off.
  QTest::mousePress(viewport(map), Qt::RightButton, {}, at);
  QVERIFY(map.mnuPopTable->isVisible());
  QCOMPARE(g_SelTable, quint8(3));
  QVERIFY(!seatCommandsEnabled(map));
  map.mnuPopTable->hide();
  QTest::mouseClick(viewport(map), Qt::LeftButton, {}, five);
  const QPoint nowhere(4, viewport(map)->height() - 4);
  QVERIFY(!map.lvwTable->CurrentView()->indexAt(nowhere).isValid());
  QTest::mousePress(viewport(map), Qt::RightButton, {}, nowhere);
  QVERIFY(map.mnuPopTable->isVisible());
  QCOMPARE(map.lvwTable->SelectedItem(), 0);
  QCOMPARE(g_SelTable, quint8(0));
  QVERIFY(!seatCommandsEnabled(map));
  map.mnuPopTable->hide();

  // In the detailed list too.
  prompts().answer(platform::vbCancel);  // places never saved
  map.popDetailed->trigger();
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwReport);
  QTest::mousePress(viewport(map), Qt::RightButton, {}, map.lvwTable->ItemRect(5).center());
  QVERIFY(map.mnuPopTable->isVisible());
  QCOMPARE(g_SelTable, quint8(5));
  QVERIFY(seatCommandsEnabled(map));
  map.mnuPopTable->hide();

  // The pop-up switches views like the toolbar.
  map.popTableMap->trigger();
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwIcon);
  QVERIFY(map.popTableMap->isChecked());
}

// Without a mouse: Enter opens the seat view, the menu key and Shift+F10 the
// pop-up at the selected table, and Tab reaches the toolbar's buttons.
void TableMapTest::keyboardReachesEveryCommand() {
  testsupport::ProgramFolder folder;
  frmTableMap& map = showMapWithCohen(2, 6);
  QVERIFY(QTest::qWaitForWindowActive(&map));
  auto focused = [] { return QApplication::focusWidget(); };
  auto key = [&](int k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focused(), Qt::Key(k), m); };
  QWidget* list = map.lvwTable->CurrentView();
  QWidget* printButton = map.Toolbar1->widgetForAction(map.Toolbar1->Button(10));

  // From the toolbar's last button Tab comes to the list, whose focus event
  // forgets the chosen table; Enter opens the selected table all the same.
  clickItem(map, 2);  // set-up
  for (int i = 0; i < 12 && focused() != printButton; ++i) key(Qt::Key_Tab);
  QCOMPARE(focused(), printButton);
  key(Qt::Key_Tab);
  QCOMPARE(focused(), list);
  key(Qt::Key_Return);
  QVERIFY(frmTable::IsLoaded());
  QCOMPARE(frmTable::Default().lblTableNum->text(), QStringLiteral("שולחן מס' 2"));
  frmTable::Unload();
  testsupport::processEvents();
  map.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&map));
  QCOMPARE(focused(), list);

  // The menu key and Shift+F10 open the pop-up at the selected table.
  const QPoint table = list->mapToGlobal(map.lvwTable->ItemRect(2).center());
  for (auto [k, m] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                      std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
    key(k, m);
    QVERIFY(map.mnuPopTable->isVisible());
    QVERIFY(popupAt(map, table));
    QCOMPARE(g_SelTable, quint8(2));
    QVERIFY(seatCommandsEnabled(map));
    map.mnuPopTable->hide();
  }

  // Tab on to the toolbar: the list view's button, Enter.
  QWidget* listButton = map.Toolbar1->widgetForAction(map.Toolbar1->Button(8));
  for (int i = 0; i < 12 && focused() != listButton; ++i) key(Qt::Key_Tab);
  QCOMPARE(focused(), listButton);
  prompts().answer(platform::vbCancel);  // places never saved: leaving the map asks
  key(Qt::Key_Return);
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwReport);
  QCOMPARE(prompts().messages(), QStringList{kSaveQuestion});
}

void TableMapTest::peopleFromItemText() {
  QCOMPARE(TablePeopleFromText(QStringLiteral("שולחן של 0")), 0);
  QCOMPARE(TablePeopleFromText(QStringLiteral("שולחן של 7")), 7);
  QCOMPARE(TablePeopleFromText(QStringLiteral("שולחן של 12")), 12);
  QCOMPARE(TablePeopleFromText(QStringLiteral("שולחן של 100")), 100);
  QCOMPARE(TablePeopleFromText(QStringLiteral("17")), 17);  // right after a rebuild: the table number
  QCOMPARE(TablePeopleFromText(QStringLiteral("שולחן של ")), 0);
  QCOMPARE(TablePeopleFromText(QString()), 0);
}

// The detailed list shows each table's small picture whole: the picture keeps
// its chairs inside its square, and every opaque pixel of it is found, as
// drawn, in the item's row.
void TableMapTest::detailedListShowsPicturesWhole() {
  for (int table : {1, 7, 100}) {
    const QImage picture = resources::TablePicture(table, resources::kSmallTablePicture).toImage();
    const int last = picture.width() - 1;
    int edgeInk = 0;
    for (int i = 0; i <= last; ++i)
      edgeInk += qAlpha(picture.pixel(i, 0)) + qAlpha(picture.pixel(i, last)) + qAlpha(picture.pixel(0, i)) +
                 qAlpha(picture.pixel(last, i));
    QCOMPARE(edgeInk, 0);
  }

  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 10;
  g_MaxChairs = 15;
  frmTableMap& map = showMap();
  prompts().answer(platform::vbCancel);  // places never saved: the save question
  map.popDetailed->trigger();
  testsupport::processEvents();
  QAbstractItemView* view = map.lvwTable->CurrentView();
  for (int table : {3, 7, 10}) {
    const QImage picture = resources::TablePicture(table, resources::kSmallTablePicture).toImage();
    const QRect row = view->visualRect(view->model()->index(table - 1, 0));
    const QImage drawn = view->viewport()->grab(row).toImage().convertToFormat(QImage::Format_RGB32);
    bool whole = false;
    for (int y = 0; y + picture.height() <= drawn.height() && !whole; ++y)
      for (int x = 0; x + picture.width() <= drawn.width() && !whole; ++x) {
        bool same = true;
        for (int py = 0; py < picture.height() && same; ++py)
          for (int px = 0; px < picture.width() && same; ++px) {
            const QRgb want = picture.pixel(px, py);
            if (qAlpha(want) < 255) continue;
            const QRgb got = drawn.pixel(x + px, y + py);
            same = qAbs(qRed(want) - qRed(got)) + qAbs(qGreen(want) - qGreen(got)) + qAbs(qBlue(want) - qBlue(got)) < 24;
          }
        whole = same;
      }
    QVERIFY2(whole, qPrintable(QString("table %1").arg(table)));
  }
}

PELMORA_TEST(TableMapTest)
#include "tst_tablemap.moc"
