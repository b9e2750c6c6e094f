#include "flexgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "flexgrid_model.h"
#include "vb.h"
#include "vberror.h"

namespace platform {
namespace {

// Cells as the grid draws them: a narrow margin and no "..." so that short
// texts fit the narrow columns.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
    painter->save();
    painter->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(opt.rect);
    painter->drawText(opt.rect.adjusted(2, 0, -2, 0), int(opt.displayAlignment), text);
    painter->restore();
  }
};

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this, this)) {
  setModel(model_);
  setItemDelegate(new CellDelegate(this));
  colTwips_.fill(-1, model_->gridCols());

  // Every data row has the same height, so the view never measures rows.
  QHeaderView* vh = verticalHeader();
  vh->hide();
  vh->setMinimumSectionSize(1);
  vh->setSectionResizeMode(QHeaderView::Fixed);
  vh->setDefaultSectionSize(fontMetrics().height() + 6);

  QHeaderView* hh = horizontalHeader();
  hh->setMinimumSectionSize(0);
  hh->setSectionResizeMode(QHeaderView::Interactive);
  hh->setSectionsClickable(false);  // header presses are ours (column selection)
  hh->setSectionsMovable(false);
  hh->setHighlightSections(false);
  hh->setStretchLastSection(false);
  hh->viewport()->installEventFilter(this);

  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setAutoScroll(false);  // setting Row by code does not scroll, as in the original grid
  setWordWrap(false);
  setTabKeyNavigation(false);
  setCornerButtonEnabled(false);
  setDragEnabled(false);
}

FlexGrid::~FlexGrid() = default;

// ---- validation -----------------------------------------------------------

void FlexGrid::checkRow(int row) const {
  if (row < 0 || row >= model_->gridRows()) Raise(30009, QStringLiteral("Invalid Row value"));
}

void FlexGrid::checkCol(int col) const {
  if (col < 0 || col >= model_->gridCols()) Raise(30010, QStringLiteral("Invalid Col value"));
}

void FlexGrid::checkCell(int row, int col) const {
  checkRow(row);
  checkCol(col);
}

// ---- lazy repaint and selection sync -------------------------------------

void FlexGrid::scheduleFlush() {
  if (flushPending_) return;
  flushPending_ = true;
  QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

void FlexGrid::flush() {
  flushPending_ = false;
  if (selectionDirty_) syncSelection();
  if (headerDirty_) {
    headerDirty_ = false;
    model_->headerChanged();
  }
  viewport()->update();
}

void FlexGrid::currentCellChanged() {
  if (row_ == syncedRow_ && col_ == syncedCol_ && rowSel_ == syncedRowSel_ && colSel_ == syncedColSel_) return;
  selectionDirty_ = true;
  scheduleFlush();
}

void FlexGrid::cellsWritten(int row) {
  if (row == 0) headerDirty_ = true;
  scheduleFlush();
}

// The selection rectangle spans Row..RowSel x Col..ColSel; the header row is
// not part of the model, so only data rows are highlighted.
void FlexGrid::syncSelection() {
  selectionDirty_ = false;
  if (row_ == syncedRow_ && col_ == syncedCol_ && rowSel_ == syncedRowSel_ && colSel_ == syncedColSel_) return;
  syncedRow_ = row_;
  syncedCol_ = col_;
  syncedRowSel_ = rowSel_;
  syncedColSel_ = colSel_;
  QItemSelectionModel* sm = selectionModel();
  const int top = std::max(1, std::min(row_, rowSel_)), bottom = std::max(row_, rowSel_);
  if (bottom < 1 || model_->rowCount() == 0) {
    sm->clear();
    return;
  }
  const int left = std::min(col_, colSel_), right = std::max(col_, colSel_);
  const QItemSelection sel(model_->index(top - 1, left), model_->index(bottom - 1, right));
  sm->select(sel, QItemSelectionModel::ClearAndSelect);
  const QModelIndex current = row_ >= 1 ? model_->index(row_ - 1, col_) : QModelIndex();
  sm->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

// ---- size -----------------------------------------------------------------

void FlexGrid::resetModel(int rows, int cols, bool clear) {
  const int oldCols = model_->gridCols();
  QVector<int> widths(oldCols);
  for (int c = 0; c < oldCols; ++c) widths[c] = columnWidth(c);
  if (clear)
    model_->clearCells();
  else
    model_->resize(rows, cols);
  for (int c = 0; c < std::min(oldCols, cols); ++c) setColumnWidth(c, widths[c]);
  colTwips_.resize(cols);
  for (int c = oldCols; c < cols; ++c) colTwips_[c] = -1;

  row_ = std::min(row_, rows - 1);
  rowSel_ = std::min(rowSel_, rows - 1);
  col_ = std::min(col_, cols - 1);
  colSel_ = std::min(colSel_, cols - 1);
  syncedRow_ = syncedCol_ = syncedRowSel_ = syncedColSel_ = -1;  // the reset dropped the selection
  selectionDirty_ = true;
  headerDirty_ = false;  // a reset repaints the header
  scheduleFlush();
}

void FlexGrid::Clear() { resetModel(model_->gridRows(), model_->gridCols(), true); }

int FlexGrid::Rows() const { return model_->gridRows(); }

void FlexGrid::SetRows(int rows) {
  if (rows < 1) Raise(30009, QStringLiteral("Invalid Row value"));
  if (rows == model_->gridRows()) return;
  resetModel(rows, model_->gridCols(), false);
}

int FlexGrid::Cols() const { return model_->gridCols(); }

void FlexGrid::SetCols(int cols) {
  if (cols < 1) Raise(30010, QStringLiteral("Invalid Col value"));
  if (cols == model_->gridCols()) return;
  resetModel(model_->gridRows(), cols, false);
}

bool FlexGrid::RightToLeft() const { return layoutDirection() == Qt::RightToLeft; }

void FlexGrid::SetRightToLeft(bool on) { setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight); }

// ---- current cell and selection --------------------------------------------

int FlexGrid::Row() const { return row_; }

void FlexGrid::SetRow(int row) {
  checkRow(row);
  row_ = rowSel_ = row;
  colSel_ = col_;
  currentCellChanged();
}

int FlexGrid::Col() const { return col_; }

void FlexGrid::SetCol(int col) {
  checkCol(col);
  col_ = colSel_ = col;
  rowSel_ = row_;
  currentCellChanged();
}

int FlexGrid::RowSel() const { return rowSel_; }

void FlexGrid::SetRowSel(int row) {
  checkRow(row);
  rowSel_ = row;
  currentCellChanged();
}

int FlexGrid::ColSel() const { return colSel_; }

void FlexGrid::SetColSel(int col) {
  checkCol(col);
  colSel_ = col;
  currentCellChanged();
}

int FlexGrid::TopRow() const {
  if (model_->rowCount() == 0) return 1;
  return verticalScrollBar()->value() + 1;  // per-item scrolling: the value is the top model row
}

void FlexGrid::SetTopRow(int row) {
  if (row < 1 || row >= model_->gridRows()) Raise(30009, QStringLiteral("Invalid Row value"));
  // The scroll range may still be stale after a resize of the model.
  executeDelayedItemsLayout();
  updateGeometries();
  verticalScrollBar()->setValue(row - 1);
}

// ---- the current cell's contents -----------------------------------------------

QString FlexGrid::Text() const { return model_->cell(row_, col_).text; }

void FlexGrid::SetText(const QString& text) {
  model_->cell(row_, col_).text = text;
  cellsWritten(row_);
}

int FlexGrid::CellAlignment() const { return model_->cell(row_, col_).alignment; }

void FlexGrid::SetCellAlignment(int alignment) {
  if (alignment < flexAlignLeftTop || alignment > flexAlignGeneral) Raise(380, QStringLiteral("Invalid property value"));
  model_->cell(row_, col_).alignment = static_cast<qint8>(alignment);
  cellsWritten(row_);
}

QColor FlexGrid::CellBackColor() const { return model_->cell(row_, col_).back; }

void FlexGrid::SetCellBackColor(const QColor& colour) {
  model_->cell(row_, col_).back = colour;
  cellsWritten(row_);
}

QColor FlexGrid::CellForeColor() const { return model_->cell(row_, col_).fore; }

void FlexGrid::SetCellForeColor(const QColor& colour) {
  model_->cell(row_, col_).fore = colour;
  cellsWritten(row_);
}

bool FlexGrid::CellFontBold() const { return model_->cell(row_, col_).bold; }

void FlexGrid::SetCellFontBold(bool bold) {
  model_->cell(row_, col_).bold = bold;
  cellsWritten(row_);
}

// ---- any cell ---------------------------------------------------------------------

QString FlexGrid::TextMatrix(int row, int col) const {
  checkCell(row, col);
  return model_->cell(row, col).text;
}

void FlexGrid::SetTextMatrix(int row, int col, const QString& text) {
  checkCell(row, col);
  model_->cell(row, col).text = text;
  cellsWritten(row);
}

QColor FlexGrid::CellBackColorAt(int row, int col) const {
  checkCell(row, col);
  return model_->cell(row, col).back;
}

QColor FlexGrid::CellForeColorAt(int row, int col) const {
  checkCell(row, col);
  return model_->cell(row, col).fore;
}

bool FlexGrid::CellFontBoldAt(int row, int col) const {
  checkCell(row, col);
  return model_->cell(row, col).bold;
}

int FlexGrid::CellAlignmentAt(int row, int col) const {
  checkCell(row, col);
  return model_->cell(row, col).alignment;
}

// ---- column widths ----------------------------------------------------------------

// The twips last set are reported back as long as the column still has the
// pixel width they gave, so a width set by code reads back exactly; a width
// the user dragged is converted from pixels.
int FlexGrid::ColWidth(int col) const {
  checkCol(col);
  const int px = columnWidth(col);
  const int twips = colTwips_.value(col, -1);
  if (twips >= 0 && vb::TwipsToPixelsX(twips) == px) return twips;
  return qRound(vb::PixelsToTwipsX(px));
}

void FlexGrid::SetColWidth(int col, int twips) {
  checkCol(col);
  if (twips < 0) {  // -1: the default width
    colTwips_[col] = -1;
    setColumnWidth(col, horizontalHeader()->defaultSectionSize());
    return;
  }
  colTwips_[col] = twips;
  setColumnWidth(col, vb::TwipsToPixelsX(twips));
}

// ---- mouse and keyboard -------------------------------------------------------------

int FlexGrid::MouseRow() const { return mouseRow_; }
int FlexGrid::MouseCol() const { return mouseCol_; }

void FlexGrid::setMousePosition(int row, int col) {
  if (row >= 0) mouseRow_ = row;
  if (col >= 0) mouseCol_ = col;
}

// Grid row (from 1) at viewport height y; with clamp, a point above or below
// the rows gives the nearest row. 0 when there are no data rows.
int FlexGrid::dataRowAtY(int y, bool clamp) const {
  const int modelRow = rowAt(y);
  if (modelRow >= 0) return modelRow + 1;
  if (!clamp || model_->rowCount() == 0) return 0;
  if (y < 0) return std::max(0, rowAt(0)) + 1;
  return model_->rowCount();
}

void FlexGrid::emitMouseDown(const QMouseEvent* e, const QPoint& gridPos) {
  int button = 0;
  switch (e->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: return;
  }
  const Qt::KeyboardModifiers m = e->modifiers();
  const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
  const int x = qRound(vb::PixelsToTwipsX(gridPos.x())), y = qRound(vb::PixelsToTwipsY(gridPos.y()));
  RunHandler([&] { emit MouseDown(button, shift, x, y); });
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const QModelIndex idx = indexAt(pos);
  const int row = idx.isValid() ? idx.row() + 1 : std::max(1, dataRowAtY(pos.y(), true));
  setMousePosition(row, idx.isValid() ? idx.column() : columnAt(pos.x()));
  if (e->button() == Qt::LeftButton) {
    leftPressed_ = true;
    if (idx.isValid()) {
      // Shift extends the selection from the current cell.
      rowSel_ = idx.row() + 1;
      colSel_ = idx.column();
      if (!(e->modifiers() & Qt::ShiftModifier)) {
        row_ = rowSel_;
        col_ = colSel_;
      }
      selecting_ = true;
      syncSelection();
    }
  }
  emitMouseDown(e, viewport()->mapTo(this, pos));
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const QModelIndex idx = indexAt(pos);
  if (idx.isValid()) setMousePosition(idx.row() + 1, idx.column());
  if (!selecting_ || !(e->buttons() & Qt::LeftButton)) return;
  if (pos.y() < 0 || pos.y() >= viewport()->height()) {  // dragged past an edge: scroll one row
    QScrollBar* sb = verticalScrollBar();
    sb->setValue(sb->value() + (pos.y() < 0 ? -1 : 1));
  }
  const int row = dataRowAtY(std::clamp(pos.y(), 0, std::max(0, viewport()->height() - 1)), true);
  const int col = columnAt(pos.x());
  if (row < 1) return;
  if (row != rowSel_ || (col >= 0 && col != colSel_)) {
    rowSel_ = row;
    if (col >= 0) colSel_ = col;
    syncSelection();
  }
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
  const QModelIndex idx = indexAt(e->position().toPoint());
  if (idx.isValid()) setMousePosition(idx.row() + 1, idx.column());
  if (e->button() != Qt::LeftButton) return;
  selecting_ = false;
  if (!leftPressed_) return;
  leftPressed_ = false;
  RunHandler([&] { emit Click(); });
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const QModelIndex idx = indexAt(pos);
  const int row = idx.isValid() ? idx.row() + 1 : std::max(1, dataRowAtY(pos.y(), true));
  setMousePosition(row, idx.isValid() ? idx.column() : columnAt(pos.x()));
  leftPressed_ = false;  // the release that follows is not another click
  selecting_ = false;
  if (e->button() == Qt::LeftButton) RunHandler([&] { emit DblClick(); });
}

// Header presses: a left press on a column (not on its resize handle) selects
// that column's data rows. The header still sees every event, so dragging a
// column edge resizes as usual.
bool FlexGrid::headerMouseEvent(QMouseEvent* e) {
  QHeaderView* hh = horizontalHeader();
  const QPoint pos = e->position().toPoint();
  const int col = hh->logicalIndexAt(pos.x());
  const int grip = hh->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, hh);
  const bool onHandle = hh->logicalIndexAt(pos.x() - grip) != hh->logicalIndexAt(pos.x() + grip);
  setMousePosition(0, col);
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (e->button() == Qt::LeftButton) {
        leftPressed_ = col >= 0 && !onHandle;
        if (leftPressed_) {
          col_ = colSel_ = col;
          const int rows = model_->gridRows();
          row_ = rows > 1 ? 1 : 0;
          rowSel_ = rows - 1;
          syncSelection();
        }
      }
      emitMouseDown(e, hh->viewport()->mapTo(this, pos));
      break;
    case QEvent::MouseButtonRelease:
      if (e->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        RunHandler([&] { emit Click(); });
      }
      break;
    case QEvent::MouseButtonDblClick:
      leftPressed_ = false;
      if (e->button() == Qt::LeftButton && col >= 0 && !onHandle) RunHandler([&] { emit DblClick(); });
      break;
    default:
      break;
  }
  return false;
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        return headerMouseEvent(static_cast<QMouseEvent*>(event));
      default:
        break;
    }
  }
  return QTableView::eventFilter(watched, event);
}

// The arrows, Home, End and the page keys move the current cell over the
// data rows (Home and End along the row, with Ctrl to the grid's first or
// last cell); with Shift they move the selection's other corner instead, as
// a drag does. The arrow keys follow the screen, so in right-to-left layout
// Left goes to the next column.
void FlexGrid::keyPressEvent(QKeyEvent* e) {
  const bool extend = e->modifiers() & Qt::ShiftModifier;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int firstRow = std::min(1, model_->gridRows() - 1), lastRow = model_->gridRows() - 1;
  const int page = std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()) - 1);
  int row = extend ? rowSel_ : row_, col = extend ? colSel_ : col_;
  const int step = RightToLeft() ? -1 : 1;
  switch (e->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: col -= step; break;
    case Qt::Key_Right: col += step; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Home:
      col = 0;
      if (ctrl) row = firstRow;
      break;
    case Qt::Key_End:
      col = model_->gridCols() - 1;
      if (ctrl) row = lastRow;
      break;
    default:
      QAbstractScrollArea::keyPressEvent(e);
      return;
  }
  row = std::clamp(row, firstRow, lastRow);
  col = std::clamp(col, 0, model_->gridCols() - 1);
  rowSel_ = row;
  colSel_ = col;
  if (!extend) {
    row_ = row;
    col_ = col;
  }
  syncSelection();
  if (row >= 1) scrollTo(model_->index(row - 1, col));
  e->accept();
}

}  // namespace platform
