// The list view stand-in: one set of items and one selection behind the icon
// and report views, positions in twips, events as the common control's.
#include <QAbstractItemView>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QTreeView>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <functional>

#include "platform/listview.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "support/errors.h"
#include "support/testsupport.h"

using platform::ImageList;
using platform::ListView;
using testsupport::errorNumber;

namespace {
QPixmap square(int size, Qt::GlobalColor colour) {
  QPixmap p(size, size);
  p.fill(colour);
  return p;
}
}  // namespace

class ListViewTest : public QObject {
  Q_OBJECT
 private slots:
  void itemsAndColumns();
  void viewsShareItemsAndSelection();
  void positionsInIconView();
  void mouseAndFocusEvents();
  void selectionByMouseAndKeys();
  void keysOpenAsTheMouseDoes();
  void backgroundPicture();
  void manyTextsOneRepaint();
};

void ListViewTest::itemsAndColumns() {
  ListView lv;
  ImageList large, small;
  large.Add("a", square(48, Qt::red));
  small.Add("sa", square(16, Qt::red));
  lv.SetIcons(&large);
  lv.SetSmallIcons(&small);
  QCOMPARE(lv.ItemCount(), 0);
  QCOMPARE(lv.SelectedItem(), 0);
  QCOMPARE(lv.AddColumnHeader("first", 1500), 1);
  QCOMPARE(lv.AddColumnHeader("second", 3000), 2);
  QCOMPARE(lv.AddItem("one", "a", "sa"), 1);
  QCOMPARE(lv.SelectedItem(), 1);  // the first item added is selected
  QCOMPARE(lv.AddItem("two", "a", "sa"), 2);
  QCOMPARE(lv.AddItem("three", "missing", ""), 3);
  QCOMPARE(lv.SelectedItem(), 1);
  QCOMPARE(lv.ItemText(2), QStringLiteral("two"));
  QCOMPARE(lv.ItemIcon(1), QStringLiteral("a"));
  QCOMPARE(lv.ItemSmallIcon(1), QStringLiteral("sa"));
  lv.SetItemText(2, "deux");
  lv.SetSubItem(2, 1, "names");
  QCOMPARE(lv.ItemText(2), QStringLiteral("deux"));
  QCOMPARE(lv.SubItem(2, 1), QStringLiteral("names"));
  QCOMPARE(lv.SubItem(1, 1), QString());
  QCOMPARE(lv.ColumnHeaderText(2), QStringLiteral("second"));
  QCOMPARE(lv.ColumnHeaderWidth(1), 1500.0);

  auto* model = lv.ReportView()->model();
  QCOMPARE(model->columnCount(), 2);
  QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("names"));
  QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("second"));
  QVERIFY(!model->index(0, 0).data(Qt::DecorationRole).value<QPixmap>().isNull());
  QVERIFY(model->index(2, 0).data(Qt::DecorationRole).isNull());  // an unknown key shows no picture
  auto* header = static_cast<QTreeView*>(lv.ReportView())->header();
  QCOMPARE(header->sectionSize(0), vb::TwipsToPixelsX(1500));
  QCOMPARE(header->sectionSize(1), vb::TwipsToPixelsX(3000));

  QCOMPARE(errorNumber([&] { lv.ItemText(0); }), 35600L);
  QCOMPARE(errorNumber([&] { lv.ItemText(4); }), 35600L);
  QCOMPARE(errorNumber([&] { lv.SetSubItem(1, 2, "x"); }), 380L);  // no third column

  lv.ClearItems();
  QCOMPARE(lv.ItemCount(), 0);
  QCOMPARE(lv.SelectedItem(), 0);
  QCOMPARE(lv.ColumnHeaderCount(), 2);
  lv.ClearColumnHeaders();
  QCOMPARE(lv.ColumnHeaderCount(), 0);
  QCOMPARE(errorNumber([&] { lv.ColumnHeaderText(1); }), 35600L);
  QCOMPARE(lv.AddItem("again"), 1);
  QCOMPARE(lv.SelectedItem(), 1);
  QCOMPARE(errorNumber([&] { lv.SetSubItem(1, 1, "x"); }), 380L);
}

void ListViewTest::viewsShareItemsAndSelection() {
  ListView lv;
  lv.resize(400, 300);
  lv.AddColumnHeader("a", 1500);
  lv.AddColumnHeader("b", 3000);
  for (int i = 1; i <= 12; ++i) lv.AddItem(QString::number(i));
  lv.resize(400, 160);  // the report's rows do not all fit
  lv.show();
  QVERIFY(QTest::qWaitForWindowExposed(&lv));
  QCOMPARE(lv.View(), ListView::lvwIcon);
  QCOMPARE(lv.CurrentView(), lv.IconView());

  QTest::mouseClick(lv.CurrentView()->viewport(), Qt::LeftButton, {}, lv.ItemRect(5).center());
  QCOMPARE(lv.SelectedItem(), 5);
  lv.SetView(ListView::lvwReport);
  QCOMPARE(lv.CurrentView(), lv.ReportView());
  QVERIFY(lv.ReportView()->isVisible() && !lv.IconView()->isVisible());
  QCOMPARE(lv.SelectedItem(), 5);
  QVERIFY(lv.ReportView()->selectionModel()->isRowSelected(4, {}));

  QTest::mouseClick(lv.CurrentView()->viewport(), Qt::LeftButton, {}, lv.ItemRect(9).center());
  QCOMPARE(lv.SelectedItem(), 9);
  lv.SetItemText(9, "nine");
  lv.SetView(ListView::lvwIcon);
  QCOMPARE(lv.SelectedItem(), 9);
  QCOMPARE(lv.IconView()->model()->index(8, 0).data().toString(), QStringLiteral("nine"));
  lv.SetSelectedItem(0);
  QCOMPARE(lv.SelectedItem(), 0);
  lv.SetSelectedItem(12);
  QCOMPARE(lv.SelectedItem(), 12);

  // Where an item stands in the view showing: its place in icon view, its row
  // in report view, one under the other below the header, scrolled or not.
  lv.SetItemLeft(2, 3000);
  QCOMPARE(lv.ItemPlaceInView(2), QPointF(3000, lv.ItemTop(2)));
  lv.SetView(ListView::lvwReport);
  auto* rows = lv.ReportView();
  rows->scrollToTop();
  const double rowHeight = vb::PixelsToTwipsY(rows->visualRect(rows->model()->index(0, 0)).height());
  QVERIFY(lv.ItemPlaceInView(1).y() >= vb::PixelsToTwipsY(static_cast<QTreeView*>(rows)->header()->height()));
  QVector<QPointF> places;
  for (int i = 1; i <= 12; ++i) {
    places << lv.ItemPlaceInView(i);
    const QPoint inList(vb::TwipsToPixelsX(places.last().x()) + 2, vb::TwipsToPixelsY(places.last().y()) + 2);
    if (i <= 3) QCOMPARE(rows->indexAt(rows->viewport()->mapFrom(&lv, inList)).row(), i - 1);
    if (i > 1) {
      QCOMPARE(places[i - 1].x(), places[0].x());
      QCOMPARE(places[i - 1].y() - places[i - 2].y(), rowHeight);
    }
  }
  rows->scrollToBottom();
  QVERIFY(rows->verticalScrollBar()->value() > 0);
  for (int i = 1; i <= 12; ++i) QCOMPARE(lv.ItemPlaceInView(i), places[i - 1]);
}

void ListViewTest::positionsInIconView() {
  ListView lv;
  lv.setLayoutDirection(Qt::RightToLeft);
  lv.resize(500, 400);
  for (int i = 1; i <= 6; ++i) lv.AddItem(QString::number(i));
  lv.show();
  QVERIFY(QTest::qWaitForWindowExposed(&lv));
  // Right to left, the first row starts at the right.
  QCOMPARE(lv.ItemTop(1), lv.ItemTop(2));
  QVERIFY(lv.ItemLeft(1) > lv.ItemLeft(2));
  QVERIFY(vb::TwipsToPixelsX(lv.ItemLeft(1)) > 250);

  // The user drags a picture anywhere; the others stay.
  {
    QWidget* vp = lv.IconView()->viewport();
    const QRect before = lv.ItemRect(2);
    const double left1 = lv.ItemLeft(1), top1 = lv.ItemTop(1);
    const QPoint grab = before.topLeft() + QPoint(10, 10);
    const QPoint drop(30, 250);
    QTest::mousePress(vp, Qt::LeftButton, {}, grab);
    QTest::mouseMove(vp, grab + QPoint(10, 10));
    QTest::mouseMove(vp, drop);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, drop);
    QCOMPARE(lv.ItemRect(2).topLeft(), drop - QPoint(10, 10));
    QCOMPARE(lv.ItemLeft(2), vb::PixelsToTwipsX(20));
    QCOMPARE(lv.ItemTop(2), vb::PixelsToTwipsY(240));
    QCOMPARE(lv.ItemLeft(1), left1);
    QCOMPARE(lv.ItemTop(1), top1);
    QCOMPARE(lv.SelectedItem(), 2);
    // Dragging past the top left corner stops there.
    QTest::mousePress(vp, Qt::LeftButton, {}, drop);
    QTest::mouseMove(vp, drop + QPoint(0, -20));
    QTest::mouseMove(vp, QPoint(2, 2));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(lv.ItemLeft(2), 0.0);
    QCOMPARE(lv.ItemTop(2), 0.0);
  }
  // The list's own arrangement: no two items in one place.
  for (int i = 1; i <= 6; ++i)
    for (int j = i + 1; j <= 6; ++j)
      QVERIFY(lv.ItemLeft(i) != lv.ItemLeft(j) || lv.ItemTop(i) != lv.ItemTop(j));

  lv.SetItemLeft(3, 1500);
  lv.SetItemTop(3, 2250);
  QCOMPARE(lv.ItemLeft(3), 1500.0);
  QCOMPARE(lv.ItemTop(3), 2250.0);
  // A place the icon view cannot hold is refused and changes nothing.
  for (double bad : {-1.0, -5000.0, 1e30, vb::PixelsToTwipsX(32768), std::nan(""), HUGE_VAL}) {
    QVERIFY(!ListView::PlaceFits(bad));
    QCOMPARE(errorNumber([&] { lv.SetItemLeft(3, bad); }), 380L);
    QCOMPARE(errorNumber([&] { lv.SetItemTop(3, bad); }), 380L);
  }
  QVERIFY(ListView::PlaceFits(0) && ListView::PlaceFits(vb::PixelsToTwipsX(32767)));
  QCOMPARE(lv.ItemLeft(3), 1500.0);
  QCOMPARE(lv.ItemTop(3), 2250.0);
  const double left4 = lv.ItemLeft(4), top4 = lv.ItemTop(4);
  // Texts and view switches leave the places alone.
  lv.SetItemText(3, "moved");
  lv.SetView(ListView::lvwReport);
  lv.SetView(ListView::lvwIcon);
  QCOMPARE(lv.ItemLeft(3), 1500.0);
  QCOMPARE(lv.ItemTop(3), 2250.0);
  QCOMPARE(lv.ItemLeft(4), left4);
  QCOMPARE(lv.ItemTop(4), top4);
  // Where the user sees it: the same place the position names.
  const QRect r = lv.ItemRect(3);
  QVERIFY(r.isValid());
  QCOMPARE(lv.IconView()->indexAt(r.center()).row(), 2);

  // Fresh items stand where the list puts them.
  lv.ClearItems();
  for (int i = 1; i <= 6; ++i) lv.AddItem(QString::number(i));
  QVERIFY(lv.ItemLeft(3) != 1500.0 || lv.ItemTop(3) != 2250.0);
}

void ListViewTest::mouseAndFocusEvents() {
  QWidget window;
  auto* other = new QLineEdit(&window);
  auto* lv = new ListView(&window);
  lv->setGeometry(0, 40, 400, 300);
  other->setGeometry(0, 0, 100, 30);
  lv->AddColumnHeader("a", 1500);
  for (int i = 1; i <= 4; ++i) lv->AddItem(QString::number(i));
  window.resize(400, 340);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  other->setFocus();

  QSignalSpy click(lv, &ListView::Click), dbl(lv, &ListView::DblClick), down(lv, &ListView::MouseDown),
      focus(lv, &ListView::GotFocus);
  QWidget* vp = lv->CurrentView()->viewport();
  const QPoint at = lv->ItemRect(2).center();
  QTest::mousePress(vp, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, at);
  QTest::mouseRelease(vp, Qt::RightButton, {}, at);
  QCOMPARE(down.size(), 1);
  QCOMPARE(down[0][0].toInt(), 2);
  QCOMPARE(down[0][1].toInt(), 3);
  const QPoint inList = vp->mapTo(lv, at);
  QCOMPARE(down[0][2].toDouble(), vb::PixelsToTwipsX(inList.x()));
  QCOMPARE(down[0][3].toDouble(), vb::PixelsToTwipsY(inList.y()));
  QCOMPARE(click.size(), 0);  // only the left button clicks
  QCOMPARE(lv->SelectedItem(), 2);  // but the right button selects

  QTest::mouseClick(vp, Qt::LeftButton, {}, at);
  QCOMPARE(click.size(), 1);
  QCOMPARE(down.size(), 2);
  QCOMPARE(down[1][0].toInt(), 1);
  QCOMPARE(lv->SelectedItem(), 2);
  QTest::mouseDClick(vp, Qt::LeftButton, {}, at);
  QCOMPARE(dbl.size(), 1);

  // Focus moving in from another control is the list's focus event; the report view too.
  focus.clear();
  other->setFocus(Qt::TabFocusReason);
  lv->SetView(ListView::lvwReport);
  lv->setFocus(Qt::TabFocusReason);
  QCOMPARE(focus.size(), 1);
  QVERIFY(lv->ReportView()->hasFocus());
}

// Enter on an item does what a double-click does (a click, then the
// double-click); the menu key and Shift+F10 are a right press on the selected
// item, in both views.
void ListViewTest::keysOpenAsTheMouseDoes() {
  ListView lv;
  lv.setLayoutDirection(Qt::RightToLeft);
  lv.resize(420, 300);
  lv.AddColumnHeader("a", 1500);
  for (int i = 1; i <= 6; ++i) lv.AddItem(QString::number(i));
  lv.show();
  QVERIFY(QTest::qWaitForWindowExposed(&lv));
  QSignalSpy click(&lv, &ListView::Click), dbl(&lv, &ListView::DblClick), down(&lv, &ListView::MouseDown);
  QStringList order;
  connect(&lv, &ListView::Click, &lv, [&] { order << "click"; });
  connect(&lv, &ListView::DblClick, &lv, [&] { order << "dbl"; });

  for (ListView::ViewStyle view : {ListView::lvwIcon, ListView::lvwReport}) {
    lv.SetView(view);
    QAbstractItemView* list = lv.CurrentView();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lv.ItemRect(4).center());  // set-up
    click.clear();
    dbl.clear();
    down.clear();
    order.clear();
    for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(list, enter);
    QCOMPARE(order, (QStringList{"click", "dbl", "click", "dbl"}));
    QCOMPARE(lv.SelectedItem(), 4);

    const QPoint item = list->viewport()->mapTo(&lv, lv.ItemRect(4).center());
    QTest::keyClick(list, Qt::Key_Menu);
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(down.size(), 2);
    QCOMPARE(down[0][0].toInt(), 2);
    QCOMPARE(down[0][1].toInt(), 0);
    QCOMPARE(down[1][0].toInt(), 2);
    QCOMPARE(down[1][1].toInt(), 1);
    for (const auto& args : down) {
      QCOMPARE(args[2].toDouble(), vb::PixelsToTwipsX(item.x()));
      QCOMPARE(args[3].toDouble(), vb::PixelsToTwipsY(item.y()));
    }
    QCOMPARE(lv.SelectedItem(), 4);
    QCOMPARE(click.size(), 2);  // only the two Enters clicked

    // F10 alone is no menu key; with nothing selected Enter opens nothing and
    // the menu key points at the list's corner.
    QTest::keyClick(list, Qt::Key_F10);
    QCOMPARE(down.size(), 2);
    lv.SetSelectedItem(0);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dbl.size(), 2);
    QTest::keyClick(list, Qt::Key_Menu);
    QCOMPARE(down.size(), 3);
    QVERIFY(QRectF(0, 0, lv.WidthTwips(), lv.HeightTwips()).contains(down[2][2].toDouble(), down[2][3].toDouble()));
    lv.SetSelectedItem(1);
  }
}

// Every change of the selected item the user makes is told, however it is
// made; what the program selects is not.
void ListViewTest::selectionByMouseAndKeys() {
  ListView lv;
  lv.setLayoutDirection(Qt::RightToLeft);
  lv.resize(420, 400);
  lv.AddColumnHeader("a", 1500);
  for (int i = 1; i <= 8; ++i) lv.AddItem(QString::number(i));
  lv.show();
  QVERIFY(QTest::qWaitForWindowExposed(&lv));
  QSignalSpy changed(&lv, &ListView::SelectionChanged), down(&lv, &ListView::MouseDown);
  // Told before MouseDown, so a pop-up the press opens finds the new item.
  int selectedAtMouseDown = -1;
  connect(&lv, &ListView::MouseDown, &lv, [&] { selectedAtMouseDown = lv.SelectedItem(); });
  QWidget* vp = lv.CurrentView()->viewport();

  lv.SetSelectedItem(3);
  QCOMPARE(changed.size(), 0);
  QTest::mousePress(vp, Qt::RightButton, {}, lv.ItemRect(5).center());
  QCOMPARE(lv.SelectedItem(), 5);
  QCOMPARE(changed.size(), 1);
  QCOMPARE(selectedAtMouseDown, 5);
  QTest::mousePress(vp, Qt::RightButton, {}, lv.ItemRect(5).center());  // the same item again
  QCOMPARE(changed.size(), 1);
  QTest::mousePress(vp, Qt::MiddleButton, {}, lv.ItemRect(2).center());
  QCOMPARE(lv.SelectedItem(), 5);
  QCOMPARE(changed.size(), 1);
  // A right click beside every picture leaves no item selected.
  const QPoint empty(4, vp->height() - 4);
  QVERIFY(!lv.CurrentView()->indexAt(empty).isValid());
  QTest::mousePress(vp, Qt::RightButton, {}, empty);
  QCOMPARE(lv.SelectedItem(), 0);
  QCOMPARE(changed.size(), 2);
  QCOMPARE(selectedAtMouseDown, 0);
  QTest::mouseClick(vp, Qt::LeftButton, {}, lv.ItemRect(1).center());
  QCOMPARE(changed.size(), 3);
  QCOMPARE(selectedAtMouseDown, 1);

  // The arrows go to the picture next on the screen that way; right to left
  // the next item stands on the left.
  QCOMPARE(lv.ItemTop(1), lv.ItemTop(2));
  QTest::keyClick(lv.CurrentView(), Qt::Key_Left);
  QCOMPARE(lv.SelectedItem(), 2);
  QCOMPARE(changed.size(), 4);
  QTest::keyClick(lv.CurrentView(), Qt::Key_Right);
  QCOMPARE(lv.SelectedItem(), 1);
  QTest::keyClick(lv.CurrentView(), Qt::Key_Right);  // nothing further right
  QCOMPARE(lv.SelectedItem(), 1);
  QCOMPARE(changed.size(), 5);
  QTest::keyClick(lv.CurrentView(), Qt::Key_Down);
  QVERIFY(lv.ItemTop(lv.SelectedItem()) > lv.ItemTop(1));
  QCOMPARE(lv.ItemLeft(lv.SelectedItem()), lv.ItemLeft(1));
  QCOMPARE(changed.size(), 6);
  // A picture the user moved is reached where it stands.
  lv.SetItemLeft(8, 0);
  lv.SetItemTop(8, 0);
  lv.SetSelectedItem(lv.ItemCount() - 4);  // the left end of the first row
  QTest::keyClick(lv.CurrentView(), Qt::Key_Left);
  QCOMPARE(lv.SelectedItem(), 8);
  QTest::keyClick(lv.CurrentView(), Qt::Key_Home);
  QCOMPARE(lv.SelectedItem(), 1);
  QTest::keyClick(lv.CurrentView(), Qt::Key_End);
  QCOMPARE(lv.SelectedItem(), 8);
  QCOMPARE(changed.size(), 9);

  // The report view: keys, a right click and a drag over the rows.
  lv.SetView(ListView::lvwReport);
  vp = lv.CurrentView()->viewport();
  changed.clear();
  QTest::keyClick(lv.CurrentView(), Qt::Key_Home);
  QTest::keyClick(lv.CurrentView(), Qt::Key_Down);
  QCOMPARE(lv.SelectedItem(), 2);
  QTest::keyClick(lv.CurrentView(), Qt::Key_End);
  QCOMPARE(lv.SelectedItem(), 8);
  QTest::keyClick(lv.CurrentView(), Qt::Key_Down);  // already the last
  QCOMPARE(changed.size(), 3);
  QTest::mousePress(vp, Qt::RightButton, {}, lv.ItemRect(4).center());
  QCOMPARE(lv.SelectedItem(), 4);
  QCOMPARE(changed.size(), 4);
  QTest::mousePress(vp, Qt::LeftButton, {}, lv.ItemRect(6).center());
  QTest::mouseMove(vp, lv.ItemRect(7).center());
  QCOMPARE(lv.SelectedItem(), 7);
  QCOMPARE(changed.size(), 6);
  QTest::mouseRelease(vp, Qt::LeftButton, {}, lv.ItemRect(7).center());
}

void ListViewTest::backgroundPicture() {
  ListView lv;
  lv.resize(300, 200);
  lv.show();
  QVERIFY(QTest::qWaitForWindowExposed(&lv));
  QVERIFY(!lv.HasPicture());
  lv.SetPicture(square(400, Qt::green));
  QVERIFY(lv.HasPicture());
  QImage shot = lv.IconView()->viewport()->grab().toImage();
  QCOMPARE(QColor(shot.pixel(20, 20)), QColor(Qt::green));

  // The picture scrolls with the items.
  QPixmap marked = square(1200, Qt::green);
  QPainter(&marked).fillRect(300, 0, 20, 20, Qt::red);
  lv.SetPicture(marked);
  lv.AddItem("far");
  lv.SetItemLeft(1, vb::PixelsToTwipsX(1100));
  QScrollBar* h = lv.IconView()->horizontalScrollBar();
  QVERIFY(h->maximum() >= 100);
  h->setValue(100);
  shot = lv.IconView()->viewport()->grab().toImage();
  QCOMPARE(QColor(shot.pixel(205, 5)), QColor(Qt::red));
  QCOMPARE(QColor(shot.pixel(195, 5)), QColor(Qt::green));
  QCOMPARE(lv.ItemRect(1).left(), 1100 - 100);

  lv.RemovePicture();
  QVERIFY(!lv.HasPicture());
  shot = lv.IconView()->viewport()->grab().toImage();
  QVERIFY(QColor(shot.pixel(205, 5)) != QColor(Qt::red));
}

void ListViewTest::manyTextsOneRepaint() {
  ListView lv;
  lv.AddColumnHeader("a", 1500);
  lv.AddColumnHeader("b", 1500);
  for (int i = 1; i <= 100; ++i) lv.AddItem(QString::number(i));
  QSignalSpy changed(lv.IconView()->model(), &QAbstractItemModel::dataChanged);
  lv.SetRedraw(false);
  for (int i = 1; i <= 100; ++i) {
    lv.SetItemText(i, QStringLiteral("t%1").arg(i));
    lv.SetSubItem(i, 1, QStringLiteral("s%1").arg(i));
  }
  QCOMPARE(changed.size(), 0);
  lv.SetRedraw(true);
  QCOMPARE(changed.size(), 1);
  QCOMPARE(lv.IconView()->model()->index(99, 0).data().toString(), QStringLiteral("t100"));
  // Setting the same texts again changes nothing.
  lv.SetItemText(100, "t100");
  QCOMPARE(changed.size(), 1);
  lv.SetItemText(100, "x");
  QCOMPARE(changed.size(), 2);
}

PELMORA_TEST(ListViewTest)
#include "tst_listview.moc"
