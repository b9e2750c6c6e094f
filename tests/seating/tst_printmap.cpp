// Printing the tables map: what lands on the page (read from the recorded
// document), with and without the garden picture, from either view, for a user
// group, and a cancelled printer dialog.
#include <QAbstractItemView>
#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QPainter>
#include <QtTest>

#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "platform/listview.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/toolbar.h"
#include "platform/vb.h"
#include "seating/frmTableMap.h"
#include "support/tablemap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using platform::PrintedDocument;
using platform::PrintedItem;
using platform::PrintRecorder;
using testsupport::prompts;
using testsupport::showMap;

namespace {

const QString kPrinted = QStringLiteral("הודפסה מפת השולחנות.");
const QString kTitle = QStringLiteral("מפת השולחנות של ");
const QString kPrefix = QStringLiteral("שולחן של ");
const QString kSaveQuestion = QStringLiteral("?האם ברצונך לשמור מיקומי מפת השולחנות ביציאה");

QString makeGarden(const QString& name, QSize size) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(QColor(0x9c, 0xcc, 0x65));
  QPainter p(&img);
  p.setBrush(QColor(0x4f, 0x8a, 0xc9));
  p.drawEllipse(QRect(QPoint(20, 20), size / 3));
  p.end();
  const QString path = QDir::current().filePath(name);
  img.save(path, "PNG");
  return path;
}

// Prints through the toolbar (or the pop-up item) with the printer dialog accepted.
const PrintedDocument* printMap(frmTableMap& map, bool popup = false) {
  prompts().clearShown();
  prompts().answerDialog(QStringLiteral("printer"));
  prompts().answer(platform::vbOK);  // the closing message
  if (popup)
    map.popPrintMap->trigger();
  else
    map.Toolbar1->Click(10);
  const auto& docs = PrintRecorder::instance().documents;
  return docs.isEmpty() ? nullptr : &docs.last();
}

const PrintedItem* textAt(const PrintedDocument& d, double x, double y) {
  for (const auto& i : d.items)
    if (i.kind == PrintedItem::Text && i.x == x && i.y == y) return &i;
  return nullptr;
}

const PrintedItem* pictureAt(const PrintedDocument& d, double x, double y) {
  for (const auto& i : d.items)
    if (i.kind == PrintedItem::Picture && i.x == x && i.y == y) return &i;
  return nullptr;
}

// Every table: its picture 900 right of and 1700 below its place, its text
// 600 right of and 2200 below it, in 8.28 points, not bold.
void checkTables(frmTableMap& map, const PrintedDocument& d, const QStringList& texts) {
  QCOMPARE(map.lvwTable->ItemCount(), texts.size());
  for (int t = 1; t <= texts.size(); ++t) {
    const double L = map.lvwTable->ItemLeft(t), T = map.lvwTable->ItemTop(t);
    const PrintedItem* pic = pictureAt(d, L + 900, T + 1700);
    QVERIFY2(pic, qPrintable(QStringLiteral("table %1 picture").arg(t)));
    // The map's own picture, at the 32 pixels the page leaves room for above the text.
    const QPixmap own = map.imlIcons.Picture(QStringLiteral("TableNo%1").arg(t))
                            .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(pic->picture.toImage(), own.toImage());
    QCOMPARE(pic->width, vb::PixelsToTwipsX(32));
    QVERIFY(pic->y + pic->height <= T + 2200);  // the picture ends above its text
    const PrintedItem* text = textAt(d, L + 600, T + 2200);
    QVERIFY2(text, qPrintable(QStringLiteral("table %1 text").arg(t)));
    QCOMPARE(text->text, texts[t - 1]);
    QCOMPARE(text->fontSize, 8.28);
    QVERIFY(!text->bold);
  }
}

void checkTitleAndFooter(const PrintedDocument& d, const QString& group) {
  QCOMPARE(d.pages, 1);
  const auto texts = d.texts();
  QVERIFY(texts.size() >= 3);
  QCOMPARE(texts.first().text, kTitle + group);
  QCOMPARE(texts.first().x, 3700.0);
  QCOMPARE(texts.first().y, 500.0);
  QCOMPARE(texts.first().fontSize, 14.0);
  QVERIFY(texts.first().bold);

  const PrintedItem& rule = texts[texts.size() - 2];
  QCOMPARE(rule.text, QString(14, ' ') + QString(100, '_'));
  QCOMPARE(rule.x, 0.0);
  QCOMPARE(rule.y, 14000.0);
  QCOMPARE(rule.fontSize, 8.28);
  QVERIFY(!rule.bold);
  const PrintedItem& footer = texts.last();
  QCOMPARE(footer.text, QString(15, ' ') + QStringLiteral("Pelmora") + QString(103, ' ') + kMakerWebAddress);
  QCOMPARE(footer.x, 0.0);
  QCOMPARE(footer.y, 14000.0 + rule.height);
  QCOMPARE(footer.fontSize, 8.28);
}

void checkClosingMessage() {
  QCOMPARE(prompts().messages(), QStringList{kPrinted});
  const auto& shown = prompts().shown();
  QCOMPARE(shown.last().title, QStringLiteral("Pelmora"));
  QCOMPARE(shown.last().style, int(platform::vbOKOnly));
  QCOMPARE(shown.first().kind, platform::Prompt::FileDialog);  // the printer dialog came first
}

}  // namespace

class PrintMapTest : public QObject {
  Q_OBJECT
 private slots:
  void mapWithAndWithoutGarden();
  void detailedViewAndUserGroup();
  void cancelPrintsNothing();
};

void PrintMapTest::mapWithAndWithoutGarden() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::addInvitation(QStringLiteral("כהן"), QStringLiteral("דני"), 3, 1);
  testsupport::addInvitation(QStringLiteral("לוי"), QStringLiteral("רות"), 4, 3);
  testsupport::addInvitation(QStringLiteral("מזרחי"), QStringLiteral("אבי"), 2, QVariant());
  g_MaxTables = 4;
  g_MaxChairs = 15;
  g_GroupName = QStringLiteral("כל האורחים");
  frmTableMap& map = showMap();
  map.lvwTable->SetItemLeft(2, vb::PixelsToTwipsX(300));
  map.lvwTable->SetItemTop(2, vb::PixelsToTwipsY(120));
  const QStringList texts{kPrefix + "3", kPrefix + "0", kPrefix + "4", kPrefix + "0"};

  // No garden picture: the page has no background, everything else is there.
  const PrintedDocument* d = printMap(map);
  QVERIFY(d);
  checkTitleAndFooter(*d, QStringLiteral("כל האורחים"));
  checkTables(map, *d, texts);
  QCOMPARE(d->pictures().size(), 4);
  checkClosingMessage();

  // With the garden picture: it comes first, from (600, 1700), in its natural size.
  map.m_GardenMapPath = makeGarden(QStringLiteral("garden.gif"), QSize(360, 240));
  map.popTableMap->trigger();
  QVERIFY(map.lvwTable->HasPicture());
  QTemporaryDir pdfFolder;  // this page is also drawn for real, into a PDF
  PrintRecorder::instance().activate(pdfFolder.path());
  d = printMap(map, true);
  QVERIFY(d);
  QCOMPARE(PrintRecorder::instance().documents.size(), 1);
  QVERIFY(QFileInfo(d->pdfFile).size() > 1000);
  const auto pics = d->pictures();
  QCOMPARE(pics.size(), 5);
  QCOMPARE(pics.first().x, 600.0);
  QCOMPARE(pics.first().y, 1700.0);
  QCOMPARE(pics.first().width, vb::PixelsToTwipsX(360));
  QCOMPARE(pics.first().height, vb::PixelsToTwipsY(240));
  QCOMPARE(pics.first().picture.toImage().pixelColor(300, 200), QColor(0x9c, 0xcc, 0x65));
  checkTitleAndFooter(*d, QStringLiteral("כל האורחים"));
  checkTables(map, *d, texts);
  checkClosingMessage();

  // The garden is drawn under the tables: it is the first drawing after the title.
  QCOMPARE(d->items[0].kind, PrintedItem::Text);
  QCOMPARE(d->items[1].kind, PrintedItem::Picture);
  QCOMPARE(d->items[1].width, vb::PixelsToTwipsX(360));

  prompts().answer(platform::vbCancel);  // never-saved places: the close asks
  map.close();
  testsupport::processEvents();
}

void PrintMapTest::detailedViewAndUserGroup() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  testsupport::Invitation friends;
  friends.familyName = QStringLiteral("אברהם");
  friends.firstName = QStringLiteral("יעל");
  friends.invNum = 2;
  friends.tableNo = 2;
  friends.listGroup = QStringLiteral("4");
  testsupport::addInvitation(friends);
  testsupport::addInvitation(QStringLiteral("כהן"), QStringLiteral("דני"), 3, 2);  // the couple's group
  g_MaxTables = 3;
  g_MaxChairs = 15;
  g_GroupName = QStringLiteral("חברים");
  frmTableMap& map = showMap();
  map.m_GardenMapPath = makeGarden(QStringLiteral("garden.gif"), QSize(200, 100));
  map.popTableMap->trigger();
  QVERIFY(map.lvwTable->HasPicture());

  prompts().answer(platform::vbCancel);
  map.popDetailed->trigger();
  QCOMPARE(prompts().messages(), QStringList{kSaveQuestion});

  // The title names the group; the counts still cover every guest; no garden.
  // Each table stands at its row of the list: its picture 900 right of and
  // 1700 below the row's place, its text 600 right of and 2200 below it.
  QTemporaryDir pdfFolder;  // drawn for real too, to be looked at
  PrintRecorder::instance().activate(pdfFolder.path());
  const PrintedDocument* d = printMap(map);
  QVERIFY(d);
  checkTitleAndFooter(*d, QStringLiteral("חברים"));
  checkClosingMessage();
  QCOMPARE(d->pictures().size(), 3);
  for (const auto& p : d->pictures()) QVERIFY(p.width < vb::PixelsToTwipsX(200));
  const auto texts = d->texts();
  QCOMPARE(texts.size(), 1 + 3 + 2);
  const QStringList counts{kPrefix + "0", kPrefix + "5", kPrefix + "0"};
  QAbstractItemView* rows = map.lvwTable->ReportView();
  double rowHeight = 0;
  for (int t = 1; t <= 3; ++t) {
    const PrintedItem& text = texts[t];
    QCOMPARE(text.text, counts[t - 1]);
    QCOMPARE(text.fontSize, 8.28);
    const double L = text.x - 600, T = text.y - 2200;
    QVERIFY2(pictureAt(*d, L + 900, T + 1700), qPrintable(QStringLiteral("table %1 picture").arg(t)));
    // On the screen, just inside that place, is the table's own row.
    const QPoint inList(vb::TwipsToPixelsX(L) + 3, vb::TwipsToPixelsY(T) + 3);
    const QModelIndex row = rows->indexAt(rows->viewport()->mapFrom(map.lvwTable, inList));
    QVERIFY2(row.isValid() && row.row() == t - 1, qPrintable(QStringLiteral("table %1 row").arg(t)));
    // One under the other, a row apart, and not where the map has them.
    if (t > 1) {
      QCOMPARE(text.x, texts[1].x);
      const double step = text.y - texts[t - 1].y;
      QVERIFY(step > 0);
      if (rowHeight > 0) QCOMPARE(step, rowHeight);
      rowHeight = step;
    }
  }
  QCOMPARE(rowHeight, vb::PixelsToTwipsY(rows->visualRect(rows->model()->index(1, 0)).height()));
  QVERIFY(texts[2].x - 600 != map.lvwTable->ItemLeft(2) || texts[2].y - 2200 != map.lvwTable->ItemTop(2));
  map.close();
  testsupport::processEvents();
}

void PrintMapTest::cancelPrintsNothing() {
  testsupport::ProgramFolder folder;
  testsupport::makeWeddingDb();
  g_MaxTables = 2;
  g_MaxChairs = 15;
  frmTableMap& map = showMap();
  prompts().clearShown();
  prompts().cancelDialog();
  map.Toolbar1->Click(10);
  prompts().cancelDialog();
  map.popPrintMap->trigger();
  QVERIFY(PrintRecorder::instance().documents.isEmpty());
  QCOMPARE(prompts().shown().size(), 2);  // the two printer dialogs, no message
  for (const auto& p : prompts().shown()) {
    QCOMPARE(p.kind, platform::Prompt::FileDialog);
    QCOMPARE(p.title, QStringLiteral("Print"));
  }

  prompts().answer(platform::vbCancel);
  map.close();
  testsupport::processEvents();
}

PELMORA_TEST(PrintMapTest)
#include "tst_printmap.moc"
