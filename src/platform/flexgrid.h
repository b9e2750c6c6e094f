#pragma once
// The guest grid: a flex grid with one fixed header row (row 0) and data rows
// from 1, addressed through a current cell as the program expects (Row, Col,
// Text, Cell* formats) or directly (TextMatrix). Widths are twips. Cell writes
// are O(1) and repaint lazily, so tens of thousands of cells fill quickly.
#include <QColor>
#include <QTableView>
#include <QVector>

namespace platform {

class FlexGridModel;

class FlexGrid : public QTableView {
  Q_OBJECT
 public:
  // Alignment codes of the grid.
  enum Alignment { flexAlignLeftTop = 0, flexAlignLeftCenter = 1, flexAlignLeftBottom = 2,
                   flexAlignCenterTop = 3, flexAlignCenterCenter = 4, flexAlignCenterBottom = 5,
                   flexAlignRightTop = 6, flexAlignRightCenter = 7, flexAlignRightBottom = 8,
                   flexAlignGeneral = 9 };

  explicit FlexGrid(QWidget* parent = nullptr);
  ~FlexGrid() override;

  // Clears every text and cell format (sizes stay).
  void Clear();
  int Rows() const;
  void SetRows(int rows);  // at least 1 (the header row)
  int Cols() const;
  void SetCols(int cols);
  bool RightToLeft() const;  // the widget's layout direction (inherited until set)
  void SetRightToLeft(bool on);

  // Current cell; setting Row or Col also collapses the selection to it.
  // A mouse drag keeps the pressed cell current and moves RowSel/ColSel.
  int Row() const;
  void SetRow(int row);     // raises 30009 "Invalid Row value" outside 0..Rows-1
  int Col() const;
  void SetCol(int col);     // raises 30010 "Invalid Col value"
  // The other corner of the selection.
  int RowSel() const;
  void SetRowSel(int row);
  int ColSel() const;
  void SetColSel(int col);
  // First data row shown at the top (1 when nothing scrolled).
  int TopRow() const;
  void SetTopRow(int row);  // raises 30009 outside 1..Rows-1

  // The current cell.
  QString Text() const;
  void SetText(const QString& text);
  int CellAlignment() const;
  void SetCellAlignment(int alignment);
  QColor CellBackColor() const;  // invalid: the grid's default
  void SetCellBackColor(const QColor& colour);
  QColor CellForeColor() const;
  void SetCellForeColor(const QColor& colour);
  bool CellFontBold() const;
  void SetCellFontBold(bool bold);

  // Any cell.
  QString TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, const QString& text);
  QColor CellBackColorAt(int row, int col) const;
  QColor CellForeColorAt(int row, int col) const;
  bool CellFontBoldAt(int row, int col) const;
  int CellAlignmentAt(int row, int col) const;

  int ColWidth(int col) const;  // twips
  void SetColWidth(int col, int twips);

  // Row under the mouse at the last mouse event (0 = header row).
  int MouseRow() const;
  int MouseCol() const;

 signals:
  void Click();
  void DblClick();
  void MouseDown(int button, int shift, int x, int y);  // button: 1 left, 2 right, 4 middle

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  // Mouse on the header row (the horizontal header's viewport).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FlexGridModel* model_;
  int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0;
  int mouseRow_ = 0, mouseCol_ = 0;
  void syncSelection();

  // Selection last handed to the view's selection model (-1: none yet).
  int syncedRow_ = -1, syncedCol_ = -1, syncedRowSel_ = -1, syncedColSel_ = -1;
  bool flushPending_ = false, selectionDirty_ = false, headerDirty_ = false;
  bool leftPressed_ = false;  // a left press that a release turns into Click
  bool selecting_ = false;    // dragging out a selection over data rows
  QVector<int> colTwips_;     // width last set per column in twips (-1: none)

  void checkRow(int row) const;
  void checkCol(int col) const;
  void checkCell(int row, int col) const;
  void currentCellChanged();  // Row/Col/RowSel/ColSel written
  void cellsWritten(int row);
  void scheduleFlush();
  void flush();
  void resetModel(int rows, int cols, bool clear);
  int dataRowAtY(int y, bool clamp) const;
  void setMousePosition(int row, int col);
  void emitMouseDown(const QMouseEvent* e, const QPoint& gridPos);
  bool headerMouseEvent(QMouseEvent* e);
};

}  // namespace platform
