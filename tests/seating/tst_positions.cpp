// Table places on the map and the garden picture: what lands in section
// TablesMap of pelmora.ini, placing after a recount, the save question, the
// reset and choosing the picture.
#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "platform/ini.h"
#include "platform/listview.h"
#include "platform/msgbox.h"
#include "platform/toolbar.h"
#include "platform/vb.h"
#include "guestlist/guestlist_fixture.h"
#include "seating/frmTableMap.h"
#include "support/files.h"
#include "support/smalldisk.h"
#include "support/tablemap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using testsupport::prompts;
using testsupport::showMap;

namespace {

const QString kSection = QStringLiteral("TablesMap");
const QString kSaveQuestion = QStringLiteral("?האם ברצונך לשמור מיקומי מפת השולחנות ביציאה");
const QString kSaveTitle = QStringLiteral("אזהרת שמירה");
const QString kResetQuestion =
    QStringLiteral("פעולה זו תאפס את מפת השולחנות") + QStringLiteral("\r\n") + QStringLiteral("?למיקומי בררת המחדל של המערכת");
const QString kNotFound = QStringLiteral(".קובץ לא נמצא");
const QString kCannotShow = QStringLiteral("Invalid picture");
const QString kNone = QStringLiteral("<none>");

QString readKey(const QString& key) { return mdlFileINI::ReadINI(IniFile(), kSection, key, kNone); }
void writeKey(const QString& key, const QString& value) { mdlFileINI::WriteINI(IniFile(), kSection, key, value); }
QString tableKey(int t) { return QStringLiteral("TableNum-%1").arg(t); }

QString iniText() {
  return platform::cp1255::decode(testsupport::readFile(IniFile()));
}

QPointF place(frmTableMap& map, int t) { return {map.lvwTable->ItemLeft(t), map.lvwTable->ItemTop(t)}; }

QVector<QPointF> places(frmTableMap& map) {
  QVector<QPointF> out;
  for (int t = 1; t <= map.lvwTable->ItemCount(); ++t) out << place(map, t);
  return out;
}

// The user drags table t's picture so that its top left lands at `to` (pixels).
void drag(frmTableMap& map, int t, QPoint to) {
  QWidget* vp = map.lvwTable->IconView()->viewport();
  const QPoint grab = map.lvwTable->ItemRect(t).topLeft() + QPoint(8, 8);
  QTest::mousePress(vp, Qt::LeftButton, {}, grab);
  QTest::mouseMove(vp, grab + QPoint(12, 12));
  QTest::mouseMove(vp, to + QPoint(8, 8));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, to + QPoint(8, 8));
}

// Closing the window; true when the save question came (answered with `answer`).
bool closeAsking(frmTableMap& map, int answer) {
  prompts().clearShown();
  prompts().answer(answer);
  map.close();
  testsupport::processEvents();
  return prompts().messages() == QStringList{kSaveQuestion} && prompts().pendingAnswers() == 0;
}

// Closing the window when nothing is to be asked (a question would fail the test).
bool closeQuietly(frmTableMap& map) {
  prompts().clearShown();
  map.close();
  testsupport::processEvents();
  return prompts().shown().isEmpty() && !map.isVisible();
}

void checkSaveQuestion() {
  QCOMPARE(prompts().shown().size(), 1);
  const platform::Prompt& p = prompts().shown().first();
  QCOMPARE(p.text, kSaveQuestion);
  QCOMPARE(p.title, kSaveTitle);
  QCOMPARE(p.style, int(platform::vbOKCancel));
}

// A garden picture file (its contents are PNG; the name says GIF as the dialog's filter wants).
QString makeGarden(const QString& name) {
  QImage img(600, 420, QImage::Format_RGB32);
  img.fill(QColor(0x9c, 0xcc, 0x65));
  QPainter p(&img);
  p.setBrush(QColor(0x4f, 0x8a, 0xc9));
  p.drawEllipse(380, 60, 160, 110);
  p.setBrush(QColor(0xf4, 0xe4, 0xc1));
  p.drawRect(40, 300, 520, 80);
  p.end();
  const QString path = QDir::current().filePath(name);
  img.save(path, "PNG");
  return path;
}

// A picture of side x side pixels whose file is small: a GIF of one colour
// (one LZW clear code, then the end code; the decoder fills the rest).
QString makeHugePicture(const QString& name, int side) {
  QByteArray gif("GIF89a");
  auto word = [&gif](int v) {
    gif.append(char(v & 0xff));
    gif.append(char((v >> 8) & 0xff));
  };
  word(side);
  word(side);
  gif.append(char(0x80)).append(char(0)).append(char(0));  // a global table of two colours
  gif.append("\x9c\xcc\x65\xff\xff\xff", 6);
  gif.append(',');
  word(0);
  word(0);
  word(side);
  word(side);
  gif.append(char(0));
  gif.append(char(2));                                         // LZW minimum code size
  gif.append(char(1)).append(char(0x2C)).append(char(0));      // clear, end
  gif.append(';');
  const QString path = QDir::current().filePath(name);
  testsupport::writeFile(path, gif);
  return path;
}

}  // namespace

class TablePositionsTest : public QObject {
  Q_OBJECT
 private slots:
  void saveQuestionAndSavedPlaces();
  void placesReadBackFromTheFile();
  void placesOutsideTheMap();
  void moreAndFewerTables();
  void resetToTheListsArrangement();
  void chooseGardenPicture();
  void gardenPictureAtStartAndBadFiles();
  void savedPlacesOnAFullDisk();
};

void TablePositionsTest::saveQuestionAndSavedPlaces() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 5;
  frmTableMap& map = showMap();

  // Never saved: every close in the map view asks; Cancel writes nothing.
  QVERIFY(closeAsking(map, platform::vbCancel));
  checkSaveQuestion();
  QVERIFY(!iniText().contains(QStringLiteral("[TablesMap]")));
  map.show();
  QVERIFY(closeAsking(map, platform::vbCancel));

  // OK writes the garden key first, then every table in order.
  map.show();
  drag(map, 2, QPoint(20, 200));
  QVERIFY(closeAsking(map, platform::vbOK));
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), QString());
  for (int t = 1; t <= 5; ++t)
    QCOMPARE(readKey(tableKey(t)), QStringLiteral("%1, %2").arg(vb::Str(map.lvwTable->ItemLeft(t)),
                                                               vb::Str(map.lvwTable->ItemTop(t))));
  QCOMPARE(readKey(tableKey(2)), QStringLiteral("%1, %2").arg(vb::Str(vb::PixelsToTwipsX(20)),
                                                             vb::Str(vb::PixelsToTwipsY(200))));
  const QString text = iniText();
  int at = text.indexOf(QStringLiteral("[TablesMap]\r\nGardenMapBackground=\r\n"));
  QVERIFY(at >= 0);
  for (int t = 1; t <= 5; ++t) {
    const int next = text.indexOf(tableKey(t) + QLatin1Char('='), at);
    QVERIFY(next > at);
    at = next;
  }

  // Saved and not moved: neither the close nor leaving the map asks.
  map.show();
  QVERIFY(closeQuietly(map));
  map.show();
  map.Toolbar1->Click(8);
  QVERIFY(prompts().shown().isEmpty());
  map.Toolbar1->Click(7);
  QVERIFY(prompts().shown().isEmpty());
  QCOMPARE(place(map, 2), QPointF(vb::PixelsToTwipsX(20), vb::PixelsToTwipsY(200)));

  // One table moved: leaving the map asks; Cancel keeps the file, and in the
  // detailed view the close asks nothing.
  drag(map, 4, QPoint(300, 250));
  const QString saved4 = readKey(tableKey(4));
  prompts().answer(platform::vbCancel);
  map.popDetailed->trigger();
  checkSaveQuestion();
  QCOMPARE(readKey(tableKey(4)), saved4);
  QVERIFY(closeQuietly(map));

  // Back on the map the recount puts table 4 back at its saved place.
  map.show();
  map.popTableMap->trigger();
  QCOMPARE(readKey(tableKey(4)), QStringLiteral("%1, %2").arg(vb::Str(place(map, 4).x()), vb::Str(place(map, 4).y())));

  // The toolbar's save and the pop-up's save write the places without asking.
  drag(map, 4, QPoint(300, 250));
  prompts().clearShown();
  map.Toolbar1->Click(1);
  QCOMPARE(readKey(tableKey(4)), QStringLiteral("%1, %2").arg(vb::Str(vb::PixelsToTwipsX(300)),
                                                             vb::Str(vb::PixelsToTwipsY(250))));
  drag(map, 1, QPoint(10, 10));
  map.popSaveMap->trigger();
  QCOMPARE(readKey(tableKey(1)), QStringLiteral("%1, %2").arg(vb::Str(vb::PixelsToTwipsX(10)),
                                                             vb::Str(vb::PixelsToTwipsY(10))));
  QVERIFY(prompts().shown().isEmpty());
  QVERIFY(closeQuietly(map));
}

void TablePositionsTest::placesReadBackFromTheFile() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 6;
  frmTableMap& map = showMap();
  const QVector<QPointF> own = places(map);

  // Blanks around the parts are fine; no ", " or a part that is no number is ignored.
  writeKey(tableKey(1), QStringLiteral("1500 ,   750"));
  writeKey(tableKey(2), QStringLiteral("3000,600"));
  writeKey(tableKey(3), QStringLiteral("abc, 600"));
  writeKey(tableKey(4), QStringLiteral("900, x"));
  writeKey(tableKey(5), QStringLiteral("2250.0, 3000"));
  writeKey(tableKey(6), QStringLiteral("0, 0"));
  map.InitTableView(g_TableViewMode);  // any recount places the tables
  QCOMPARE(place(map, 1), QPointF(1500, 750));
  QCOMPARE(place(map, 2), own[1]);
  QCOMPARE(place(map, 3), own[2]);
  QCOMPARE(place(map, 4), own[3]);
  QCOMPARE(place(map, 5), QPointF(2250, 3000));
  QCOMPARE(place(map, 6), QPointF(0, 0));

  // The texts differ from what the places print as ("2250.0", unreadable ones): changed.
  QVERIFY(closeAsking(map, platform::vbOK));
  QCOMPARE(readKey(tableKey(1)), QStringLiteral("1500, 750"));
  QCOMPARE(readKey(tableKey(5)), QStringLiteral("2250, 3000"));
  QCOMPARE(readKey(tableKey(2)), QStringLiteral("%1, %2").arg(vb::Str(own[1].x()), vb::Str(own[1].y())));
  map.show();
  QVERIFY(closeQuietly(map));

  // A saved place with a fraction counts as moved when the screen cannot show it exactly.
  writeKey(tableKey(3), QStringLiteral("1234.5, 600"));
  map.show();
  map.InitTableView(g_TableViewMode);
  QVERIFY(qAbs(place(map, 3).x() - 1234.5) < 15);
  QVERIFY(closeAsking(map, platform::vbCancel));
  QCOMPARE(readKey(tableKey(3)), QStringLiteral("1234.5, 600"));
}

// A hand-edited place the map cannot show or reach counts as no saved place:
// the table stands where the list puts it, and closing asks to save.
void TablePositionsTest::placesOutsideTheMap() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 7;
  frmTableMap& map = showMap();
  const QVector<QPointF> own = places(map);
  map.Toolbar1->Click(1);
  QVERIFY(closeQuietly(map));

  writeKey(tableKey(1), QStringLiteral("-5000, -5000"));
  writeKey(tableKey(2), QStringLiteral("1e30, 0"));
  writeKey(tableKey(3), QStringLiteral("0, -1"));
  writeKey(tableKey(4), QStringLiteral("600000, 300"));
  writeKey(tableKey(5), QStringLiteral("300, 1e309"));
  writeKey(tableKey(6), QStringLiteral("2250, 3000"));
  map.show();
  map.InitTableView(g_TableViewMode);
  for (int t = 1; t <= 5; ++t) {
    QCOMPARE(place(map, t), own[t - 1]);
    // Where the user can see and click it.
    const QRect r = map.lvwTable->ItemRect(t);
    QVERIFY(map.lvwTable->IconView()->viewport()->rect().contains(r.center()));
    QCOMPARE(map.lvwTable->IconView()->indexAt(r.center()).row(), t - 1);
  }
  QCOMPARE(place(map, 6), QPointF(2250, 3000));
  QCOMPARE(place(map, 7), own[6]);

  // Not saved places: the close asks, and OK writes the places the tables have.
  QVERIFY(closeAsking(map, platform::vbOK));
  for (int t = 1; t <= 5; ++t)
    QCOMPARE(readKey(tableKey(t)), QStringLiteral("%1, %2").arg(vb::Str(own[t - 1].x()), vb::Str(own[t - 1].y())));
  map.show();
  QVERIFY(closeQuietly(map));
}

void TablePositionsTest::moreAndFewerTables() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 5;
  frmTableMap& map = showMap();
  drag(map, 5, QPoint(40, 260));
  map.Toolbar1->Click(1);
  const QPointF at5 = place(map, 5);
  QCOMPARE(at5, QPointF(vb::PixelsToTwipsX(40), vb::PixelsToTwipsY(260)));

  // More tables: the new ones stand where the list puts them; changed until saved.
  g_MaxTables = 8;
  map.InitTableSetting();
  QCOMPARE(map.lvwTable->ItemCount(), 8);
  QCOMPARE(place(map, 5), at5);
  QCOMPARE(readKey(tableKey(6)), kNone);
  for (int t = 6; t <= 8; ++t) QVERIFY(place(map, t) != at5);
  QVERIFY(closeAsking(map, platform::vbOK));
  QCOMPARE(readKey(tableKey(8)), QStringLiteral("%1, %2").arg(vb::Str(place(map, 8).x()), vb::Str(place(map, 8).y())));

  // Fewer tables: the higher keys stay in the file and are ignored.
  g_MaxTables = 3;
  map.show();
  map.InitTableSetting();
  QVERIFY(closeQuietly(map));
  QCOMPARE(readKey(tableKey(5)), QStringLiteral("%1, %2").arg(vb::Str(at5.x()), vb::Str(at5.y())));
  QVERIFY(readKey(tableKey(8)) != kNone);

  // More again: the old places come back.
  g_MaxTables = 5;
  map.show();
  map.InitTableSetting();
  QCOMPARE(place(map, 5), at5);
  QVERIFY(closeQuietly(map));
}

void TablePositionsTest::resetToTheListsArrangement() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::writeOptions(4, 15);
  g_MaxTables = 4;
  frmTableMap& map = showMap();
  const QVector<QPointF> own = places(map);
  const QString garden = makeGarden(QStringLiteral("garden.gif"));
  writeKey(QStringLiteral("GardenMapBackground"), garden);
  map.InitTableView(g_TableViewMode);
  map.ChangeTableViewMode(1);
  QVERIFY(map.lvwTable->HasPicture());
  drag(map, 1, QPoint(30, 30));
  drag(map, 3, QPoint(200, 220));
  map.Toolbar1->Click(1);
  const QVector<QPointF> moved = places(map);
  QVERIFY(moved != own);

  // Cancel (from the pop-up): nothing changes.
  prompts().answer(platform::vbCancel);
  map.popSetDefaultMap->trigger();
  QCOMPARE(prompts().shown().size(), 1);
  QCOMPARE(prompts().shown().first().text, kResetQuestion);
  QCOMPARE(prompts().shown().first().title, QStringLiteral("אזהרת מערכת"));
  QCOMPARE(prompts().shown().first().style, int(platform::vbOKCancel | platform::vbExclamation));
  QCOMPARE(g_MsgResult, int(platform::vbCancel));
  QCOMPARE(places(map), moved);
  QVERIFY(map.lvwTable->HasPicture());
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), garden);

  // OK, from the detailed view (toolbar): no section, no picture, the list's own places, the map view.
  map.Toolbar1->Click(8);
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  map.Toolbar1->Click(3);
  QCOMPARE(prompts().messages(), QStringList{kResetQuestion});
  const QString text = iniText();
  QVERIFY(!text.contains(QStringLiteral("TablesMap"), Qt::CaseInsensitive));
  QVERIFY(!text.contains(QStringLiteral("TableNum-")));
  QVERIFY(text.contains(QStringLiteral("[Options]")));  // only that section went
  QVERIFY(map.m_GardenMapPath.isEmpty());
  QVERIFY(!map.lvwTable->HasPicture());
  QCOMPARE(g_TableViewMode, quint8(1));
  QCOMPARE(map.lvwTable->View(), platform::ListView::lvwIcon);
  QCOMPARE(map.lvwTable->ItemCount(), 4);
  QCOMPARE(places(map), own);
  // Nothing saved any more: the close asks again.
  QVERIFY(closeAsking(map, platform::vbCancel));
}

void TablePositionsTest::chooseGardenPicture() {
  testsupport::ProgramFolder folder;
  loadMainWindow({}, 5, 15);  // its file dialog serves the map
  frmTableMap& map = showMap();
  const QString garden = makeGarden(QStringLiteral("garden.gif"));

  // Cancel: silent, nothing stored.
  prompts().cancelDialog();
  map.Toolbar1->Click(2);
  QCOMPARE(prompts().shown().size(), 1);
  const platform::Prompt& dialog = prompts().shown().first();
  QCOMPARE(dialog.kind, platform::Prompt::FileDialog);
  QCOMPARE(dialog.style, int(platform::Prompt::OpenDialog));
  QCOMPARE(dialog.text, QStringLiteral("GIF Image (*.gif)|*.gif"));
  QVERIFY(!map.lvwTable->HasPicture());
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), kNone);

  // A file that is not there.
  prompts().clearShown();
  prompts().answerDialog(QStringLiteral("nowhere.gif"));
  prompts().answer(platform::vbOK);
  map.Toolbar1->Click(2);
  QCOMPARE(prompts().messages(), QStringList{kNotFound});
  QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));
  QVERIFY(!map.lvwTable->HasPicture());
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), kNone);

  // Chosen in the map view (the dialog opens in the program folder): shown at
  // once and its path stored alone.
  prompts().answerDialog(QStringLiteral("garden.gif"));
  map.Toolbar1->Click(2);
  QVERIFY(map.lvwTable->HasPicture());
  QCOMPARE(map.lvwTable->Picture().size(), QSize(600, 420));
  QCOMPARE(map.m_GardenMapPath, garden);
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), garden);
  QCOMPARE(readKey(tableKey(1)), kNone);

  // Chosen in the detailed view: stored, shown from the next switch to the map.
  const QString other = makeGarden(QStringLiteral("other garden.gif"));
  QImage small(50, 40, QImage::Format_RGB32);
  small.fill(Qt::darkGreen);
  small.save(other, "PNG");
  prompts().answer(platform::vbCancel);  // leaving the never-saved map asks
  map.Toolbar1->Click(8);
  prompts().clearShown();
  prompts().answerDialog(other);
  map.Toolbar1->Click(2);
  QVERIFY(prompts().messages().isEmpty());
  QVERIFY(!map.lvwTable->HasPicture());
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), other);
  map.Toolbar1->Click(7);
  QVERIFY(map.lvwTable->HasPicture());
  QCOMPARE(map.lvwTable->Picture().size(), QSize(50, 40));

  // The saved arrangement keeps the picture's path.
  QVERIFY(closeAsking(map, platform::vbOK));
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), other);
}

void TablePositionsTest::gardenPictureAtStartAndBadFiles() {
  testsupport::ProgramFolder folder;
  const QString garden = makeGarden(QStringLiteral("garden.gif"));
  writeKey(QStringLiteral("GardenMapBackground"), garden);
  writeKey(tableKey(2), QStringLiteral("450, 1800"));
  // The program starts: the main window loads the map and chooses the map view.
  loadMainWindow({}, 5, 15);
  QVERIFY(frmTableMap::IsLoaded());
  frmTableMap& map = frmTableMap::Default();
  QVERIFY(map.lvwTable->HasPicture());
  QCOMPARE(map.lvwTable->Picture().size(), QSize(600, 420));
  QCOMPARE(place(map, 2), QPointF(450, 1800));

  // The picture's file is gone: no picture from the next start of the map, the path stays.
  QFile::remove(garden);
  map.UnloadFlag = true;
  prompts().answer(platform::vbCancel);
  QVERIFY(frmTableMap::Unload());
  testsupport::processEvents();
  frmTableMap& again = frmTableMap::Default();
  again.ChangeTableViewMode(1);
  QVERIFY(!again.lvwTable->HasPicture());
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), garden);
  QCOMPARE(place(again, 2), QPointF(450, 1800));

  // A damaged picture, or one too large to show: a message, and the map keeps
  // the picture it had, also in pelmora.ini.
  const QString good = makeGarden(QStringLiteral("new garden.gif"));
  again.show();
  prompts().answerDialog(good);
  again.Toolbar1->Click(2);
  QVERIFY(again.lvwTable->HasPicture());
  const QString bad = folder.file(QStringLiteral("damaged.gif"));
  testsupport::writeFile(bad, "GIF89a not really a picture");
  for (const QString& unshowable : {bad, makeHugePicture(QStringLiteral("huge.gif"), 7000),
                                    makeHugePicture(QStringLiteral("beyond.gif"), 40000)}) {
    prompts().clearShown();
    prompts().answerDialog(unshowable);
    prompts().answer(platform::vbOK);
    again.Toolbar1->Click(2);
    QVERIFY2(prompts().messages() == QStringList{kCannotShow}, qPrintable(unshowable));
    QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
    QVERIFY(again.lvwTable->HasPicture());
    QCOMPARE(again.lvwTable->Picture().size(), QSize(600, 420));
    QCOMPARE(again.m_GardenMapPath, good);
    QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), good);
  }
  // Also chosen in the detailed view: refused at once, the path kept.
  prompts().answer(platform::vbCancel);
  again.Toolbar1->Click(8);
  prompts().clearShown();
  prompts().answerDialog(bad);
  prompts().answer(platform::vbOK);
  again.Toolbar1->Click(2);
  QCOMPARE(prompts().messages(), QStringList{kCannotShow});
  QCOMPARE(readKey(QStringLiteral("GardenMapBackground")), good);
  again.Toolbar1->Click(7);
  QVERIFY(again.lvwTable->HasPicture());
  QCOMPARE(again.lvwTable->View(), platform::ListView::lvwIcon);
}


void TablePositionsTest::savedPlacesOnAFullDisk() {
  testsupport::ProgramFolder folder;
  testsupport::SmallDisk disk(folder.path());
  PELMORA_REQUIRE_MOUNTED(disk);
  testsupport::makeWeddingDb();
  g_MaxTables = 40;
  mdlFileINI::WriteINI(IniFile(), QStringLiteral("Options"), QStringLiteral("Couple"), QStringLiteral("דני ודנה"));
  frmTableMap& map = showMap();
  map.Toolbar1->Click(1);
  QVERIFY(iniText().contains(QStringLiteral("TableNum-40=")));
  const QByteArray before = testsupport::readFile(IniFile());

  // The save ("שמור") on a full disk: told once, the file as it was.
  disk.fill();
  drag(map, 2, QPoint(20, 200));
  prompts().answer(platform::vbOK);
  prompts().clearShown();
  map.Toolbar1->Click(1);
  QCOMPARE(prompts().messages().size(), 1);
  QVERIFY(prompts().messages().first().startsWith(QStringLiteral("!ההגדרות לא נשמרו")));
  QCOMPARE(testsupport::readFile(IniFile()), before);

  // With room, every one of the 40 places lands in one write.
  disk.empty();
  prompts().clearShown();
  map.Toolbar1->Click(1);
  QVERIFY(prompts().messages().isEmpty());
  for (int t = 1; t <= 40; ++t) QVERIFY(!readKey(tableKey(t)).isEmpty());
  QCOMPARE(mdlFileINI::ReadINI(IniFile(), QStringLiteral("Options"), QStringLiteral("Couple"), QString()),
           QStringLiteral("דני ודנה"));
}

PELMORA_TEST(TablePositionsTest)
#include "tst_positions.moc"
