// The guest grid stand-in: cell storage through the current-cell API, the
// header row, selection by mouse and keyboard, scrolling, layout and widths.
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "platform/flexgrid.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "support/errors.h"
#include "support/gridfill.h"
#include "support/testsupport.h"

using platform::FlexGrid;
using testsupport::errorNumber;

namespace {

// A shown 10-column grid with the given number of grid rows (header included).
void setUp(FlexGrid& g, int rows, bool rtl = false) {
  g.SetRightToLeft(rtl);
  g.SetCols(10);
  g.SetRows(rows);
  for (int c = 0; c < 10; ++c) g.SetColWidth(c, 900);
  g.resize(700, 300);
  g.show();
  QVERIFY(QTest::qWaitForWindowExposed(&g));
}

QPoint cellCentre(FlexGrid& g, int row, int col) {
  return g.visualRect(g.model()->index(row - 1, col)).center();
}

QPoint headerCentre(FlexGrid& g, int col) {
  QHeaderView* h = g.horizontalHeader();
  return QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
}

void sendMove(QWidget* w, const QPoint& pos) {
  QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// Where the text of a rendered rectangle stands: the mean x of its dark
// pixels, from 0 (left edge) to 1 (right edge); -1 when there is none.
double textCentreX(QWidget* w, QRect r) {
  QImage img(w->size(), QImage::Format_RGB32);
  img.fill(Qt::white);
  w->render(&img);
  r.adjust(2, 2, -2, -2);
  double sum = 0;
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(img.pixel(x, y)) < 100) {
        sum += x - r.left();
        ++n;
      }
  return n ? sum / n / r.width() : -1;
}

double cellTextX(FlexGrid& g, int row, int col) {
  return textCentreX(g.viewport(), g.visualRect(g.model()->index(row - 1, col)));
}

double headerTextX(FlexGrid& g, int col) {
  QHeaderView* h = g.horizontalHeader();
  return textCentreX(h->viewport(), QRect(h->sectionViewportPosition(col), 0, h->sectionSize(col), h->height()));
}

}  // namespace

class FlexGridTest : public QObject {
  Q_OBJECT
 private slots:
  void fillThroughCurrentCell();
  void shrinkClearAndHeader();
  void currentCellAndSelection();
  void mouseSelection();
  void keyboardSelection();
  void headerClicksAndOtherButtons();
  void scrollingAndTopRow();
  void layoutAlignmentAndWidths();
};

void FlexGridTest::fillThroughCurrentCell() {
  FlexGrid g;
  setUp(g, 2);
  const QColor even = testsupport::kEvenRows, declined = testsupport::kDeclinedRows;
  testsupport::fillGrid(g, testsupport::gridTexts(10000));
  testsupport::processEvents();  // the repaint that follows draws the filled cells

  QCOMPARE(g.Rows(), 10001);
  QCOMPARE(g.model()->rowCount(), 10000);
  QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("r1c0"));
  QCOMPARE(g.TextMatrix(10000, 9), QStringLiteral("r10000c9"));
  QCOMPARE(g.TextMatrix(5234, 3), QStringLiteral("r5234c3"));
  QCOMPARE(g.CellAlignmentAt(5234, 3), 4);
  QCOMPARE(g.CellAlignmentAt(5234, 4), 7);
  QCOMPARE(g.CellBackColorAt(5234, 6), even);
  QVERIFY(!g.CellBackColorAt(5233, 6).isValid());  // odd rows keep the default
  QVERIFY(g.CellFontBoldAt(5236, 1));                // 5236 = 7 * 748
  QCOMPARE(g.CellForeColorAt(5236, 1), declined);
  QVERIFY(!g.CellFontBoldAt(5235, 1));
  QVERIFY(!g.CellForeColorAt(5235, 1).isValid());

  // The current cell reads what was written; the view shows the same values.
  g.SetRow(14);
  g.SetCol(2);
  QCOMPARE(g.Text(), QStringLiteral("r14c2"));
  QVERIFY(g.CellFontBold());
  QCOMPARE(g.CellBackColor(), even);
  QCOMPARE(g.CellForeColor(), declined);
  const QModelIndex idx = g.model()->index(13, 2);
  QCOMPARE(idx.data().toString(), QStringLiteral("r14c2"));
  QCOMPARE(idx.data(Qt::BackgroundRole).value<QBrush>().color(), even);
  QVERIFY(idx.data(Qt::FontRole).value<QFont>().bold());
  QVERIFY(!g.model()->index(12, 2).data(Qt::FontRole).value<QFont>().bold());

  // Direct writes land in the same cells.
  g.SetTextMatrix(3, 5, QStringLiteral("x"));
  g.SetRow(3);
  g.SetCol(5);
  QCOMPARE(g.Text(), QStringLiteral("x"));
}

void FlexGridTest::shrinkClearAndHeader() {
  FlexGrid g;
  setUp(g, 2);
  g.SetRows(50);
  for (int r = 0; r < 50; ++r) {
    g.SetRow(r);
    for (int c = 0; c < 10; ++c) {
      g.SetCol(c);
      g.SetText(QStringLiteral("%1/%2").arg(r).arg(c));
      g.SetCellBackColor(Qt::yellow);
      g.SetCellFontBold(true);
      g.SetCellAlignment(FlexGrid::flexAlignCenterCenter);
    }
  }
  // Shrinking keeps the rows that remain; growing again brings back nothing.
  g.SetRows(2);
  QCOMPARE(g.model()->rowCount(), 1);
  QCOMPARE(g.TextMatrix(1, 4), QStringLiteral("1/4"));
  g.SetRows(5);
  QCOMPARE(g.TextMatrix(3, 4), QString());
  QVERIFY(!g.CellBackColorAt(3, 4).isValid());
  QVERIFY(!g.CellFontBoldAt(3, 4));

  // What a list load starts with: clear, two rows, one blank data row.
  g.Clear();
  g.SetRows(2);
  QCOMPARE(g.Rows(), 2);
  QCOMPARE(g.model()->rowCount(), 1);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 10; ++c) {
      QCOMPARE(g.TextMatrix(r, c), QString());
      QVERIFY(!g.CellBackColorAt(r, c).isValid());
      QVERIFY(!g.CellForeColorAt(r, c).isValid());
      QVERIFY(!g.CellFontBoldAt(r, c));
      QCOMPARE(g.CellAlignmentAt(r, c), int(FlexGrid::flexAlignGeneral));
    }
  QCOMPARE(g.model()->index(0, 0).data().toString(), QString());

  // Row 0 is the header: its texts, alignment and boldness show there.
  g.SetRow(0);
  for (int c = 9; c >= 0; --c) {
    g.SetCol(c);
    g.SetText(QStringLiteral("H%1").arg(c));
    g.SetCellAlignment(c == 7 ? FlexGrid::flexAlignCenterCenter : FlexGrid::flexAlignRightCenter);
  }
  QCOMPARE(g.Row(), 0);
  testsupport::processEvents();
  QAbstractItemModel* m = g.model();
  QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("H0"));
  QCOMPARE(m->headerData(9, Qt::Horizontal).toString(), QStringLiteral("H9"));
  const auto align = [&](int c) { return Qt::Alignment(m->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt()); };
  QVERIFY(align(7) & Qt::AlignHCenter);
  QVERIFY(align(2) & Qt::AlignRight);
  QCOMPARE(m->index(0, 0).data().toString(), QString());  // the header is not a data row
  g.Clear();
  QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QString());
  QCOMPARE(g.Rows(), 2);
  QCOMPARE(g.Cols(), 10);
}

void FlexGridTest::currentCellAndSelection() {
  FlexGrid g;
  setUp(g, 20);
  QCOMPARE(errorNumber([&] { g.SetRow(20); }), 30009L);
  QCOMPARE(errorNumber([&] { g.SetRow(-1); }), 30009L);
  QCOMPARE(errorNumber([&] { g.SetCol(10); }), 30010L);
  QCOMPARE(errorNumber([&] { g.SetRowSel(20); }), 30009L);
  QCOMPARE(errorNumber([&] { g.SetColSel(-1); }), 30010L);
  QCOMPARE(errorNumber([&] { g.TextMatrix(0, 10); }), 30010L);
  try {
    g.SetRow(99);
  } catch (const platform::VbError& e) {
    QCOMPARE(e.description, QStringLiteral("Invalid Row value"));
  }

  // Setting Row or Col collapses the selection to the current cell.
  g.SetRow(5);
  g.SetCol(0);
  g.SetColSel(9);
  g.SetRowSel(8);
  QCOMPARE(g.RowSel(), 8);
  QCOMPARE(g.ColSel(), 9);
  testsupport::processEvents();
  QItemSelectionModel* sm = g.selectionModel();
  QCOMPARE(sm->selectedIndexes().size(), 40);  // rows 5..8, columns 0..9
  QVERIFY(sm->isSelected(g.model()->index(7, 9)));
  QVERIFY(!sm->isSelected(g.model()->index(8, 0)));
  QCOMPARE(sm->currentIndex(), g.model()->index(4, 0));
  g.SetCol(2);
  QCOMPARE(g.RowSel(), 5);
  QCOMPARE(g.ColSel(), 2);
  g.SetColSel(4);
  g.SetRow(6);
  QCOMPARE(g.RowSel(), 6);
  QCOMPARE(g.ColSel(), 2);
  testsupport::processEvents();
  QCOMPARE(sm->selectedIndexes().size(), 1);
  QCOMPARE(sm->currentIndex(), g.model()->index(5, 2));

  // Shrinking below the current row keeps the current cell inside the grid.
  g.SetRow(15);
  g.SetRows(10);
  QCOMPARE(g.Row(), 9);
  g.SetText(QStringLiteral("ok"));
  QCOMPARE(g.TextMatrix(9, 2), QStringLiteral("ok"));

  // Arrow keys move the current cell over the data rows.
  g.SetRow(1);
  g.SetCol(3);
  QTest::keyClick(&g, Qt::Key_Up);
  QCOMPARE(g.Row(), 1);
  QTest::keyClick(&g, Qt::Key_Down);
  QTest::keyClick(&g, Qt::Key_Down);
  QTest::keyClick(&g, Qt::Key_Right);
  QCOMPARE(g.Row(), 3);
  QCOMPARE(g.Col(), 4);
  QCOMPARE(g.RowSel(), 3);
  g.SetRightToLeft(true);
  QTest::keyClick(&g, Qt::Key_Left);  // right to left: Left goes to the next column
  QCOMPARE(g.Col(), 5);
}

void FlexGridTest::mouseSelection() {
  FlexGrid g;
  setUp(g, 20, true);
  QSignalSpy clicks(&g, &FlexGrid::Click);
  QSignalSpy dbl(&g, &FlexGrid::DblClick);
  QSignalSpy downs(&g, &FlexGrid::MouseDown);

  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 4));
  QCOMPARE(clicks.size(), 1);
  QCOMPARE(downs.size(), 1);
  QCOMPARE(downs[0][0].toInt(), 1);
  QCOMPARE(g.Row(), 3);
  QCOMPARE(g.Col(), 4);
  QCOMPARE(g.RowSel(), 3);
  QCOMPARE(g.ColSel(), 4);
  QCOMPARE(g.MouseRow(), 3);
  QCOMPARE(g.MouseCol(), 4);

  // Dragging upwards: the pressed row stays current, RowSel follows the mouse.
  QTest::mousePress(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 7, 1));
  sendMove(g.viewport(), cellCentre(g, 6, 1));
  sendMove(g.viewport(), cellCentre(g, 4, 2));
  QCOMPARE(clicks.size(), 1);  // no click before the release
  QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 4, 2));
  QCOMPARE(clicks.size(), 2);
  QCOMPARE(g.Row(), 7);
  QCOMPARE(g.RowSel(), 4);
  QCOMPARE(g.Col(), 1);
  QCOMPARE(g.ColSel(), 2);
  QCOMPARE(g.selectionModel()->selectedIndexes().size(), 8);  // rows 4..7, columns 1..2
  QVERIFY(g.selectionModel()->isSelected(g.model()->index(3, 2)));

  // A move without the button does not extend the selection.
  sendMove(g.viewport(), cellCentre(g, 9, 2));
  QCOMPARE(g.RowSel(), 4);

  // Double-click on a data row: one Click, then DblClick with the row under the mouse.
  clicks.clear();
  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 9, 0));
  QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 9, 0));
  QCOMPARE(clicks.size(), 1);
  QCOMPARE(dbl.size(), 1);
  QCOMPARE(g.MouseRow(), 9);
  QCOMPARE(g.Row(), 9);

  // A handler that moves the current cell (as the window's Click does) sees
  // the clicked cell first and its changes stay.
  connect(&g, &FlexGrid::Click, &g, [&] {
    const int r = g.Row(), s = g.RowSel();
    g.SetCol(0);
    g.SetRow(r);
    g.SetColSel(9);
    g.SetRowSel(s);
  });
  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 11, 5));
  QCOMPARE(g.Row(), 11);
  QCOMPARE(g.Col(), 0);
  QCOMPARE(g.ColSel(), 9);
  testsupport::processEvents();
  QCOMPARE(g.selectionModel()->selectedIndexes().size(), 10);
}

void FlexGridTest::headerClicksAndOtherButtons() {
  FlexGrid g;
  setUp(g, 20, true);
  QSignalSpy clicks(&g, &FlexGrid::Click);
  QSignalSpy dbl(&g, &FlexGrid::DblClick);
  QSignalSpy downs(&g, &FlexGrid::MouseDown);
  QWidget* header = g.horizontalHeader()->viewport();

  // A click on the header selects that column's data rows.
  g.SetRow(5);
  QTest::mouseClick(header, Qt::LeftButton, {}, headerCentre(g, 6));
  QCOMPARE(clicks.size(), 1);
  QCOMPARE(g.Col(), 6);
  QCOMPARE(g.ColSel(), 6);
  QCOMPARE(g.Row(), 1);
  QCOMPARE(g.RowSel(), 19);
  QCOMPARE(g.MouseRow(), 0);
  QCOMPARE(g.MouseCol(), 6);
  QCOMPARE(g.selectionModel()->selectedIndexes().size(), 19);

  // Double-click on the header: MouseRow 0 and the column of the click.
  QTest::mouseClick(header, Qt::LeftButton, {}, headerCentre(g, 3));
  QTest::mouseDClick(header, Qt::LeftButton, {}, headerCentre(g, 3));
  QCOMPARE(clicks.size(), 2);
  QCOMPARE(dbl.size(), 1);
  QCOMPARE(g.MouseRow(), 0);
  QCOMPARE(g.Col(), 3);
  // A data double-click later reports its own row again.
  QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 2, 3));
  QCOMPARE(g.MouseRow(), 2);

  // Right and middle presses report their button and leave the selection alone.
  g.SetRow(4);
  g.SetCol(1);
  g.SetRowSel(6);
  g.SetColSel(9);
  downs.clear();
  clicks.clear();
  const QPoint p = cellCentre(g, 10, 2);
  QTest::mouseClick(g.viewport(), Qt::RightButton, {}, p);
  QTest::mouseClick(g.viewport(), Qt::MiddleButton, {}, p);
  QCOMPARE(downs.size(), 2);
  QCOMPARE(downs[0][0].toInt(), 2);
  QCOMPARE(downs[1][0].toInt(), 4);
  const QPoint inGrid = g.viewport()->mapTo(&g, p);
  QVERIFY(qAbs(downs[0][2].toInt() - vb::PixelsToTwipsX(inGrid.x())) <= 1);
  QVERIFY(qAbs(downs[0][3].toInt() - vb::PixelsToTwipsY(inGrid.y())) <= 1);
  QCOMPARE(clicks.size(), 0);
  QCOMPARE(g.Row(), 4);
  QCOMPARE(g.RowSel(), 6);
  QCOMPARE(g.Col(), 1);
  QCOMPARE(g.ColSel(), 9);
  QCOMPARE(g.MouseRow(), 10);
  QCOMPARE(g.MouseCol(), 2);

  // Shift flags: 1 shift, 2 ctrl, 4 alt.
  downs.clear();
  QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, p);
  QTest::mouseClick(header, Qt::RightButton, Qt::AltModifier, headerCentre(g, 2));
  QCOMPARE(downs.size(), 2);
  QCOMPARE(downs[0][1].toInt(), 3);
  QCOMPARE(downs[1][0].toInt(), 2);
  QCOMPARE(downs[1][1].toInt(), 4);
  // The shifted click extended the selection from the current cell; the
  // right press on the header did not select column 2's rows.
  QCOMPARE(g.Row(), 4);
  QCOMPARE(g.Col(), 1);
  QCOMPARE(g.RowSel(), 10);
  QCOMPARE(g.ColSel(), 2);
}

// Shift with the arrows or a click extends the selection from the current
// cell as a drag does; Home, End and the page keys move the current cell.
void FlexGridTest::keyboardSelection() {
  FlexGrid g;
  setUp(g, 101, true);
  QSignalSpy clicks(&g, &FlexGrid::Click);
  QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 2));
  QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
  QCOMPARE(g.Row(), 3);
  QCOMPARE(g.RowSel(), 5);
  QCOMPARE(g.Col(), 2);
  QCOMPARE(g.ColSel(), 2);
  QTest::keyClick(&g, Qt::Key_Left, Qt::ShiftModifier);  // right to left: the next column
  QCOMPARE(g.ColSel(), 3);
  QCOMPARE(g.selectionModel()->selectedIndexes().size(), 6);  // rows 3..5, columns 2..3
  QTest::keyClick(&g, Qt::Key_Up, Qt::ShiftModifier);
  QTest::keyClick(&g, Qt::Key_Up, Qt::ShiftModifier);
  QTest::keyClick(&g, Qt::Key_Up, Qt::ShiftModifier);
  QCOMPARE(g.RowSel(), 2);  // past the current row, upwards
  QCOMPARE(g.Row(), 3);
  // A plain arrow collapses the selection onto the moved cell.
  QTest::keyClick(&g, Qt::Key_Down);
  QCOMPARE(g.Row(), 4);
  QCOMPARE(g.RowSel(), 4);
  QCOMPARE(g.ColSel(), g.Col());

  // Shift+click extends from the current cell and reports the click.
  const int before = clicks.size();
  QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(g, 7, 5));
  QCOMPARE(clicks.size(), before + 1);
  QCOMPARE(g.Row(), 4);
  QCOMPARE(g.Col(), 2);
  QCOMPARE(g.RowSel(), 7);
  QCOMPARE(g.ColSel(), 5);

  // Home and End: the row's first and last column; with Ctrl the first and
  // last cell of the grid.
  QTest::keyClick(&g, Qt::Key_End);
  QCOMPARE(g.Row(), 4);
  QCOMPARE(g.Col(), 9);
  QCOMPARE(g.RowSel(), 4);
  QTest::keyClick(&g, Qt::Key_Home);
  QCOMPARE(g.Col(), 0);
  QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(g.Row(), 100);
  QCOMPARE(g.Col(), 9);
  QVERIFY(g.TopRow() > 50);  // scrolled to it
  QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
  QCOMPARE(g.Row(), 1);
  QCOMPARE(g.Col(), 0);
  QCOMPARE(g.TopRow(), 1);

  // The page keys move the current row by a page and keep it in view.
  QTest::keyClick(&g, Qt::Key_PageDown);
  const int page = g.Row() - 1;
  QVERIFY2(page >= 3, qPrintable(QString::number(page)));
  QCOMPARE(g.RowSel(), g.Row());
  QTest::keyClick(&g, Qt::Key_PageDown);
  QCOMPARE(g.Row(), 1 + 2 * page);
  QVERIFY(g.TopRow() <= g.Row() && g.rowAt(g.viewport()->height() - 2) + 1 >= g.Row());
  QTest::keyClick(&g, Qt::Key_PageUp, Qt::ShiftModifier);
  QCOMPARE(g.Row(), 1 + 2 * page);
  QCOMPARE(g.RowSel(), 1 + page);
  QTest::keyClick(&g, Qt::Key_PageUp);
  QTest::keyClick(&g, Qt::Key_PageUp);
  QTest::keyClick(&g, Qt::Key_PageUp);
  QCOMPARE(g.Row(), 1);
  QCOMPARE(g.TopRow(), 1);
  QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(g.Row(), 1);
  QCOMPARE(g.RowSel(), 100);
  QCOMPARE(g.ColSel(), 9);
}

void FlexGridTest::scrollingAndTopRow() {
  FlexGrid g;
  setUp(g, 101);
  QCOMPARE(g.TopRow(), 1);
  g.SetTopRow(50);
  QCOMPARE(g.TopRow(), 50);
  QCOMPARE(g.rowAt(1), 49);  // row 50 is the first one shown
  g.SetRow(3);               // setting the current row does not scroll
  testsupport::processEvents();
  QCOMPARE(g.TopRow(), 50);
  g.SetTopRow(100);  // as far as the scroll range goes: the last row at the bottom
  QVERIFY(g.TopRow() < 100);
  QVERIFY(g.TopRow() > 50);
  QCOMPARE(g.rowAt(g.viewport()->height() - 2), 99);
  QCOMPARE(errorNumber([&] { g.SetTopRow(0); }), 30009L);
  QCOMPARE(errorNumber([&] { g.SetTopRow(101); }), 30009L);

  // Right after a resize of the model the new range is already usable.
  g.SetRows(2);
  g.SetRows(301);
  g.SetTopRow(200);
  QCOMPARE(g.TopRow(), 200);

  // An empty list (header and one blank row) cannot scroll.
  g.SetRows(2);
  g.SetTopRow(1);
  QCOMPARE(g.TopRow(), 1);
}

void FlexGridTest::layoutAlignmentAndWidths() {
  FlexGrid g;
  setUp(g, 5, true);
  QVERIFY(g.RightToLeft());
  QVERIFY(g.visualRect(g.model()->index(0, 0)).x() > g.visualRect(g.model()->index(0, 9)).x());
  g.SetRightToLeft(false);
  QVERIFY(!g.RightToLeft());
  QVERIFY(g.visualRect(g.model()->index(0, 0)).x() < g.visualRect(g.model()->index(0, 9)).x());
  g.SetRightToLeft(true);

  // Alignment is absolute: right means the right edge even right to left.
  g.SetColWidth(0, 3000);
  g.SetColWidth(1, 3000);
  g.SetRow(1);
  g.SetCol(0);
  g.SetText(QStringLiteral("WW"));
  g.SetCellAlignment(FlexGrid::flexAlignRightCenter);
  g.SetCol(1);
  g.SetText(QStringLiteral("WW"));
  g.SetCellAlignment(FlexGrid::flexAlignLeftCenter);
  g.SetRow(3);  // keep the selection highlight away from row 1
  testsupport::processEvents();
  const double right = cellTextX(g, 1, 0), left = cellTextX(g, 1, 1);
  QVERIFY2(right > 0.7, qPrintable(QString::number(right)));
  QVERIFY2(left >= 0 && left < 0.3, qPrintable(QString::number(left)));
  // The header row too.
  g.SetRow(0);
  g.SetCol(0);
  g.SetText(QStringLiteral("WW"));
  g.SetCellAlignment(FlexGrid::flexAlignRightCenter);
  g.SetCol(1);
  g.SetText(QStringLiteral("WW"));
  g.SetCellAlignment(FlexGrid::flexAlignCenterCenter);
  testsupport::processEvents();
  const double headerRight = headerTextX(g, 0), headerCentre = headerTextX(g, 1);
  QVERIFY2(headerRight > 0.7, qPrintable(QString::number(headerRight)));
  QVERIFY2(headerCentre > 0.4 && headerCentre < 0.6, qPrintable(QString::number(headerCentre)));

  // Widths in twips: exact round trip; a dragged width reads back converted.
  g.SetColWidth(3, 1250);
  QCOMPARE(g.ColWidth(3), 1250);
  QCOMPARE(g.columnWidth(3), vb::TwipsToPixelsX(1250));
  g.SetColWidth(4, 0);
  QCOMPARE(g.ColWidth(4), 0);
  g.horizontalHeader()->resizeSection(5, 100);  // what dragging the edge does
  QCOMPARE(g.ColWidth(5), qRound(vb::PixelsToTwipsX(100)));
  // Widths survive a reload of the cells.
  g.Clear();
  g.SetRows(40);
  g.SetCols(10);
  QCOMPARE(g.ColWidth(3), 1250);
  QCOMPARE(g.ColWidth(5), qRound(vb::PixelsToTwipsX(100)));
  g.SetCols(12);
  QCOMPARE(g.ColWidth(3), 1250);
  QCOMPARE(errorNumber([&] { g.ColWidth(12); }), 30010L);
}

PELMORA_TEST(FlexGridTest)
#include "tst_flexgrid.moc"
