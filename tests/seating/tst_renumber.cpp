// Renumbering a table from the map's pop-up: moving a table's guests to an
// empty number, swapping two tables, refused numbers, and a write that fails
// halfway through.
#include <QAction>
#include <QMenu>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>
#include <sqlite3.h>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/dao_faults.h"
#include "platform/flexgrid.h"
#include "platform/listview.h"
#include "platform/msgbox.h"
#include "seating/frmTableMap.h"
#include "support/drawntext.h"
#include "support/tablemap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using testsupport::prompts;
using testsupport::showMap;

namespace {

const QString kPrefix = QStringLiteral("שולחן של ");
const QString kInputPrompt = QStringLiteral("בבקשה החלף את מספר השולחן?");
const QString kSwapQuestion = QStringLiteral("שולחן היעד אינו ריק, האם להחליף שולחנות?");
const QString kSwapTitle = QStringLiteral("עדכון שולחנות");
constexpr int kTableColumn = 6;

QString rangeMessage(int tables) {
  return QString::number(tables) + QStringLiteral(" מספר השולחן צריך להיות מ 1 עד");
}

testsupport::Invitation seated(const QString& family, const QString& first, int count, const QVariant& table) {
  testsupport::Invitation i = guest(family, first, count);
  i.tableNo = table;
  return i;
}

// The wedding of every test: tables 3 and 5 with guests, two not seated, and
// enough other (unseated) guests for the grid to scroll.
QVector<testsupport::Invitation> wedding() {
  QVector<testsupport::Invitation> rows = {
      seated(QStringLiteral("אבני"), QStringLiteral("דן"), 3, 3),
      seated(QStringLiteral("ברק"), QStringLiteral("גל"), 2, 5),
      seated(QStringLiteral("גולן"), QStringLiteral("רות"), 4, 3),
      seated(QStringLiteral("דהן"), QStringLiteral("אלי"), 1, QVariant()),
      seated(QStringLiteral("הלוי"), QStringLiteral("מור"), 2, 0),
      seated(QStringLiteral("ורד"), QStringLiteral("נוי"), 6, 5),
  };
  for (int i = 0; i < 40; ++i)
    rows << seated(QStringLiteral("משפחה%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("פלוני"), 1, QVariant());
  return rows;
}

// TABLE_NO by family name (-1 for Null).
QMap<QString, int> tablesInDb() {
  QMap<QString, int> out;
  for (const QVariantMap& r : testsupport::readInvitations()) {
    const QVariant t = r.value(QStringLiteral("TABLE_NO"));
    out.insert(r.value(QStringLiteral("FAMILY_NAME")).toString(), t.isValid() && !t.isNull() ? t.toInt() : -1);
  }
  return out;
}

// Every field of every PELMORA row, by family name.
QMap<QString, QVariantMap> rowsInDb() {
  QMap<QString, QVariantMap> out;
  for (const QVariantMap& r : testsupport::readInvitations()) out.insert(r.value(QStringLiteral("FAMILY_NAME")).toString(), r);
  return out;
}

// Wed.mdb is `before` except for TABLE_NO of the families named in `moved`.
void checkOnlyTablesMoved(const QMap<QString, QVariantMap>& before, const QMap<QString, int>& moved) {
  QMap<QString, QVariantMap> expected = before;
  for (auto it = moved.begin(); it != moved.end(); ++it) {
    QVERIFY2(expected.contains(it.key()), qPrintable(it.key()));
    expected[it.key()][QStringLiteral("TABLE_NO")] = it.value();
  }
  const QMap<QString, QVariantMap> now = rowsInDb();
  QCOMPARE(now.keys(), expected.keys());
  for (const QString& family : now.keys()) QCOMPARE(now[family], expected[family]);
}

// The user selects table t on the map and chooses the renumbering from the pop-up.
void renumber(frmTableMap& map, int table, const QString& answer) {
  QWidget* vp = map.lvwTable->CurrentView()->viewport();
  QTest::mouseClick(vp, Qt::LeftButton, {}, map.lvwTable->ItemRect(table).center());
  QCOMPARE(g_SelTable, quint8(table));
  QVERIFY(map.popUpdateTableNum->isEnabled());
  prompts().answerInput(answer);
  map.popUpdateTableNum->trigger();
}

int gridRowOf(const QString& family) {
  platform::FlexGrid& grid = *frmPelmora::Default().MSFlexGrid1;
  for (int r = 1; r < grid.Rows(); ++r)
    if (grid.TextMatrix(r, 0) == family) return r;
  return -1;
}

void runSql(const QString& sql) {
  sqlite3* db = nullptr;
  QCOMPARE(sqlite3_open(qPrintable(DatabaseFile()), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) qWarning("%s", error);
  sqlite3_free(error);
  sqlite3_close(db);
  QCOMPARE(rc, SQLITE_OK);
}

}  // namespace

class TableRenumberTest : public QObject {
  Q_OBJECT
 private slots:
  void moveToAnEmptyTable();
  void swapTwoTables();
  void numbersRefused();
  void failedWritePutsEverythingBack();
  void rightClickRenumbersTheTableUnderThePointer();
  void allOrNothingWhenWritesFail();
  void rangeMessageReadsAsASentence();
};

void TableRenumberTest::moveToAnEmptyTable() {
  testsupport::ProgramFolder folder;
  frmPelmora& main = loadMainWindow(wedding(), 10, 15);
  platform::FlexGrid& grid = *main.MSFlexGrid1;
  main.show();
  QVERIFY(QTest::qWaitForWindowExposed(&main));
  grid.SetTopRow(5);
  grid.SetRow(12);
  frmTableMap& map = showMap();
  const QVector<QPointF> before = [&] {
    QVector<QPointF> p;
    for (int t = 1; t <= 10; ++t) p << QPointF(map.lvwTable->ItemLeft(t), map.lvwTable->ItemTop(t));
    return p;
  }();
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(7), kPrefix + QStringLiteral("0"));

  renumber(map, 3, QStringLiteral("7"));
  QCOMPARE(prompts().shown().size(), 1);  // the input box only: no question for an empty table
  QCOMPARE(prompts().shown().first().kind, platform::Prompt::Input);
  QCOMPARE(prompts().shown().first().text, kInputPrompt);
  QCOMPARE(prompts().shown().first().title, QStringLiteral("עדכון"));

  const QMap<QString, int> t = tablesInDb();
  QCOMPARE(t.value(QStringLiteral("אבני")), 7);
  QCOMPARE(t.value(QStringLiteral("גולן")), 7);
  QCOMPARE(t.value(QStringLiteral("ברק")), 5);
  QCOMPARE(t.value(QStringLiteral("ורד")), 5);
  QCOMPARE(t.value(QStringLiteral("דהן")), -1);  // not seated: untouched
  QCOMPARE(t.value(QStringLiteral("הלוי")), 0);
  QCOMPARE(t.value(QStringLiteral("משפחה00")), -1);

  // The map and the guest list show it; the pictures stay where they were.
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("0"));
  QCOMPARE(map.lvwTable->ItemText(7), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("8"));
  for (int i = 1; i <= 10; ++i)
    QCOMPARE(QPointF(map.lvwTable->ItemLeft(i), map.lvwTable->ItemTop(i)), before[i - 1]);
  QCOMPARE(grid.TextMatrix(gridRowOf(QStringLiteral("אבני")), kTableColumn), QStringLiteral("7"));
  QCOMPARE(grid.TextMatrix(gridRowOf(QStringLiteral("דהן")), kTableColumn), QString());
  // The grid is back at its rows and has the focus.
  QCOMPARE(grid.TopRow(), 5);
  QCOMPARE(grid.Row(), 12);
  QCOMPARE(g_SavedTopRow, qint16(5));
  QCOMPARE(g_SavedRow, qint16(12));

  // Table 3 is empty now: no renumbering offered for it.
  QTest::mouseClick(map.lvwTable->CurrentView()->viewport(), Qt::LeftButton, {},
                    map.lvwTable->ItemRect(3).center());
  QVERIFY(!map.popUpdateTableNum->isEnabled());
  // With no table selected the command does nothing (table 0 means "not seated").
  map.lvwTable->SetSelectedItem(0);
  prompts().clearShown();
  map.UpdateTableNum();
  QVERIFY(prompts().shown().isEmpty());
}

void TableRenumberTest::swapTwoTables() {
  testsupport::ProgramFolder folder;
  frmPelmora& main = loadMainWindow(wedding(), 10, 15);
  frmTableMap& map = showMap();
  (void)main;

  // No: the question comes once; nothing changes and nothing is refreshed.
  testsupport::addInvitation(seated(QStringLiteral("זיו"), QStringLiteral("אור"), 2, 8));  // behind the program's back
  prompts().answer(platform::vbNo);
  renumber(map, 3, QStringLiteral("5"));
  QCOMPARE(prompts().messages(), QStringList{kSwapQuestion});
  const platform::Prompt& q = prompts().shown().last();
  QCOMPARE(q.title, kSwapTitle);
  QCOMPARE(q.style, int(platform::vbYesNo));
  QMap<QString, int> t = tablesInDb();
  QCOMPARE(t.value(QStringLiteral("אבני")), 3);
  QCOMPARE(t.value(QStringLiteral("ברק")), 5);
  QCOMPARE(map.lvwTable->ItemText(8), kPrefix + QStringLiteral("0"));
  QCOMPARE(gridRowOf(QStringLiteral("זיו")), -1);

  // Yes: the two tables swap their guests; everyone else stays.
  prompts().clearShown();
  prompts().answer(platform::vbYes);
  renumber(map, 3, QStringLiteral("5"));
  QCOMPARE(prompts().messages(), QStringList{kSwapQuestion});
  t = tablesInDb();
  QCOMPARE(t.value(QStringLiteral("אבני")), 5);
  QCOMPARE(t.value(QStringLiteral("גולן")), 5);
  QCOMPARE(t.value(QStringLiteral("ברק")), 3);
  QCOMPARE(t.value(QStringLiteral("ורד")), 3);
  QCOMPARE(t.value(QStringLiteral("זיו")), 8);
  QCOMPARE(t.value(QStringLiteral("דהן")), -1);
  QCOMPARE(t.value(QStringLiteral("הלוי")), 0);
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("8"));
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(8), kPrefix + QStringLiteral("2"));  // refreshed now
  QVERIFY(gridRowOf(QStringLiteral("זיו")) > 0);
  QCOMPARE(frmPelmora::Default().MSFlexGrid1->TextMatrix(gridRowOf(QStringLiteral("ברק")), kTableColumn),
           QStringLiteral("3"));

  // The same number: the question (the table has guests); Yes leaves everyone where they were.
  prompts().clearShown();
  prompts().answer(platform::vbYes);
  renumber(map, 5, QStringLiteral("5"));
  QCOMPARE(prompts().messages(), QStringList{kSwapQuestion});
  QCOMPARE(tablesInDb(), t);
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("7"));

  // The detailed view is refreshed in its own view, names included.
  prompts().answer(platform::vbCancel);  // leaving the never-saved map asks to save
  map.Toolbar1->Click(8);
  prompts().clearShown();
  renumber(map, 8, QStringLiteral("1"));
  QCOMPARE(map.lvwTable->SubItem(1, 1), QStringLiteral("זיו אור , "));
  QCOMPARE(map.lvwTable->SubItem(8, 1), QString());
  QCOMPARE(g_TableViewMode, quint8(2));
}

void TableRenumberTest::numbersRefused() {
  testsupport::ProgramFolder folder;
  loadMainWindow(wedding(), 100, 15);
  frmTableMap& map = showMap();
  const QMap<QString, int> start = tablesInDb();

  // Cancel (an empty answer): nothing at all.
  renumber(map, 3, QString());
  QVERIFY(prompts().messages().isEmpty());

  for (const QString& bad : {QStringLiteral("0"), QStringLiteral("101"), QStringLiteral("300"), QStringLiteral("-2"),
                             QStringLiteral("שבע"), QStringLiteral("x7"), QStringLiteral("0.4"), QStringLiteral("  ")}) {
    prompts().clearShown();
    prompts().answer(platform::vbOK);
    renumber(map, 3, bad);
    QCOMPARE(prompts().messages(), QStringList{rangeMessage(100)});
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));
    QCOMPARE(prompts().shown().last().title, platform::AppTitle());
  }
  QCOMPARE(tablesInDb(), start);

  // Halves go to the even neighbour; the leading number counts.
  prompts().clearShown();
  renumber(map, 3, QStringLiteral("2.5"));
  QCOMPARE(tablesInDb().value(QStringLiteral("אבני")), 2);
  renumber(map, 2, QStringLiteral("3.5"));
  QCOMPARE(tablesInDb().value(QStringLiteral("אבני")), 4);
  renumber(map, 4, QStringLiteral(" 12 שולחן"));
  QCOMPARE(tablesInDb().value(QStringLiteral("אבני")), 12);
  QVERIFY(prompts().messages().isEmpty());

  // The limit is the current number of tables.
  g_MaxTables = 20;
  map.InitTableSetting();
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  renumber(map, 12, QStringLiteral("21"));
  QCOMPARE(prompts().messages(), QStringList{rangeMessage(20)});
}

void TableRenumberTest::failedWritePutsEverythingBack() {
  testsupport::ProgramFolder folder;
  loadMainWindow(wedding(), 10, 15);
  frmTableMap& map = showMap();
  const QMap<QString, int> start = tablesInDb();
  // The last invitation of table 5 cannot be written: the swap fails halfway,
  // after the guests of table 3 were already moved.
  runSql(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON PELMORA WHEN OLD.FAMILY_NAME = 'ורד' "
                        "BEGIN SELECT RAISE(ABORT, 'record is locked'); END;"));

  prompts().answer(platform::vbYes);
  prompts().answer(platform::vbOK);
  renumber(map, 3, QStringLiteral("5"));
  QCOMPARE(prompts().messages().size(), 2);
  QCOMPARE(prompts().messages().first(), kSwapQuestion);
  const platform::Prompt& error = prompts().shown().last();
  QVERIFY2(error.text.contains(QStringLiteral("record is locked")), qPrintable(error.text));
  QCOMPARE(error.style, int(platform::vbExclamation));
  // No guest moved: the two tables are not mixed.
  QCOMPARE(tablesInDb(), start);
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("8"));

  // A move to an empty table that fails halfway also leaves the table whole.
  runSql(QStringLiteral("DROP TRIGGER refuse"));
  runSql(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON PELMORA WHEN OLD.FAMILY_NAME = 'גולן' "
                        "BEGIN SELECT RAISE(ABORT, 'record is locked'); END;"));
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  renumber(map, 3, QStringLiteral("6"));
  QCOMPARE(prompts().messages().size(), 1);
  QCOMPARE(tablesInDb(), start);
  QCOMPARE(map.lvwTable->ItemText(6), kPrefix + QStringLiteral("0"));
}

// Table 3 picked before, table 5 right-clicked: the pop-up's renumbering moves
// the guests of table 5, and only theirs.
void TableRenumberTest::rightClickRenumbersTheTableUnderThePointer() {
  testsupport::ProgramFolder folder;
  loadMainWindow(wedding(), 10, 15);
  frmTableMap& map = showMap();
  const QMap<QString, QVariantMap> start = rowsInDb();
  QWidget* vp = map.lvwTable->CurrentView()->viewport();
  QTest::mouseClick(vp, Qt::LeftButton, {}, map.lvwTable->ItemRect(3).center());
  QCOMPARE(g_SelTable, quint8(3));

  QTest::mousePress(vp, Qt::RightButton, {}, map.lvwTable->ItemRect(5).center());
  QMenu* menu = map.mnuPopTable;
  QVERIFY(menu->isVisible());
  QVERIFY(map.popUpdateTableNum->isEnabled());
  prompts().answerInput(QStringLiteral("7"));
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(map.popUpdateTableNum).center());
  QVERIFY(!menu->isVisible());
  QCOMPARE(prompts().shown().size(), 1);  // the input box; table 7 is empty
  checkOnlyTablesMoved(start, {{QStringLiteral("ברק"), 7}, {QStringLiteral("ורד"), 7}});
  QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("7"));
  QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("0"));
  QCOMPARE(map.lvwTable->ItemText(7), kPrefix + QStringLiteral("8"));
}

// The disk fills up in the middle of a renumbering, so that putting back the
// records already changed would fail too: the file stays exactly as it was.
void TableRenumberTest::allOrNothingWhenWritesFail() {
  testsupport::ProgramFolder folder;
  struct ClearFaults {
    ~ClearFaults() { dao::faults::Clear(); }
  } clearFaults;
  loadMainWindow(wedding(), 10, 15);
  frmTableMap& map = showMap();
  const QMap<QString, QVariantMap> start = rowsInDb();

  // A swap of tables 3 and 5 writes four records; the second, the last.
  for (int written : {1, 3}) {
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbOK);
    dao::faults::FailRowWritesAfter(written);
    renumber(map, 3, QStringLiteral("5"));
    dao::faults::Clear();
    QCOMPARE(prompts().messages().size(), 2);
    QCOMPARE(prompts().messages().first(), kSwapQuestion);
    QCOMPARE(prompts().shown().last().text, QStringLiteral("Not enough space on disk."));
    QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
    checkOnlyTablesMoved(start, {});
    QCOMPARE(map.lvwTable->ItemText(3), kPrefix + QStringLiteral("7"));
    QCOMPARE(map.lvwTable->ItemText(5), kPrefix + QStringLiteral("8"));
  }

  // A move to the empty table 6 whose second write fails.
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  dao::faults::FailRowWritesAfter(1);
  renumber(map, 3, QStringLiteral("6"));
  dao::faults::Clear();
  QCOMPARE(prompts().messages(), QStringList{QStringLiteral("Not enough space on disk.")});
  checkOnlyTablesMoved(start, {});
  QCOMPARE(map.lvwTable->ItemText(6), kPrefix + QStringLiteral("0"));

  // With room on the disk again the same swap goes through whole.
  prompts().clearShown();
  prompts().answer(platform::vbYes);
  renumber(map, 3, QStringLiteral("5"));
  QCOMPARE(prompts().messages(), QStringList{kSwapQuestion});
  checkOnlyTablesMoved(start, {{QStringLiteral("אבני"), 5},
                               {QStringLiteral("גולן"), 5},
                               {QStringLiteral("ברק"), 3},
                               {QStringLiteral("ורד"), 3}});
}

// The range message was written for a left-to-right box; the user reads the
// sentence "מספר השולחן צריך להיות מ 1 עד 40".
void TableRenumberTest::rangeMessageReadsAsASentence() {
  testsupport::ProgramFolder folder;
  loadMainWindow(wedding(), 40, 15);
  frmTableMap& map = showMap();
  QImage ink;
  QFont font;
  prompts().view([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      QLabel* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      ink = testsupport::InkOf(label);
      font = label->font();
    }
  });
  prompts().answer(platform::vbOK);
  renumber(map, 3, QStringLiteral("0"));
  QCOMPARE(prompts().messages(), QStringList{rangeMessage(40)});
  const QString sentence = QStringLiteral("מספר השולחן צריך להיות מ 1 עד 40");
  QVERIFY(testsupport::SameInk(ink, testsupport::InkOfLine(sentence, font, Qt::RightToLeft)));
}

PELMORA_TEST(TableRenumberTest)
#include "tst_renumber.moc"
