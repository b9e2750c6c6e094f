#include "listview_views.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <cmath>

#include "listview_model.h"
#include "vb.h"

namespace platform {

namespace listview_detail {

int shiftState(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

int buttonCode(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

bool opensPopup(const QKeyEvent* e) {
  const Qt::KeyboardModifiers m = e->modifiers() & ~Qt::KeypadModifier;
  return (e->key() == Qt::Key_Menu && m == Qt::NoModifier) || (e->key() == Qt::Key_F10 && m == Qt::ShiftModifier);
}

}  // namespace listview_detail

IconModeView::IconModeView(ListView* owner) : EventView<QListView>(owner) {
  setViewMode(QListView::IconMode);
  setMovement(QListView::Free);
  setResizeMode(QListView::Fixed);
  setWrapping(true);
  setWordWrap(true);
  setIconSize(QSize(56, 56));
  setGridSize(QSize(96, 96));
  setSpacing(4);
  setLayoutDirection(Qt::LeftToRight);
  setDragEnabled(false);  // items are moved by hand, see mouseMoveEvent
  viewport()->setAcceptDrops(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QPoint IconModeView::contentsOrigin() const {
  return QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

void IconModeView::doItemsLayout() {
  QListView::doItemsLayout();
  if (owner_->layoutDirection() == Qt::RightToLeft) arrangeFromRight();
}

void IconModeView::arrangeFromRight() {
  const int n = model() ? model()->rowCount() : 0;
  const QSize cell = gridSize();
  if (n == 0 || !cell.isValid()) return;
  const QSize room = maximumViewportSize();
  int width = room.width();
  int columns = std::max(1, width / cell.width());
  if ((n + columns - 1) / columns * cell.height() > room.height()) {
    width -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    columns = std::max(1, width / cell.width());
  }
  for (int k = 0; k < n; ++k) {
    const QModelIndex i = model()->index(k, 0);
    const QSize item = rectForIndex(i).size();
    const int x = width - (k % columns + 1) * cell.width() + (cell.width() - item.width()) / 2;
    placeItem(QPoint(std::max(0, x), (k / columns) * cell.height() + 4), i);
  }
}

void IconModeView::mousePressEvent(QMouseEvent* e) {
  EventView<QListView>::mousePressEvent(e);
  dragRow_ = -1;
  dragging_ = false;
  const QModelIndex i = indexAt(e->position().toPoint());
  if (e->button() == Qt::LeftButton && i.isValid()) {
    dragRow_ = i.row();
    pressAt_ = e->position().toPoint();
    grabOffset_ = pressAt_ - visualRect(i).topLeft();
  }
}

void IconModeView::mouseMoveEvent(QMouseEvent* e) {
  if (dragRow_ < 0 || !(e->buttons() & Qt::LeftButton)) {
    EventView<QListView>::mouseMoveEvent(e);
    return;
  }
  const QPoint at = e->position().toPoint();
  if (!dragging_ && (at - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
  dragging_ = true;
  const QPoint topLeft = at - grabOffset_ - contentsOrigin();
  placeItem(QPoint(std::max(0, topLeft.x()), std::max(0, topLeft.y())), model()->index(dragRow_, 0));
}

void IconModeView::mouseReleaseEvent(QMouseEvent* e) {
  dragRow_ = -1;
  dragging_ = false;
  EventView<QListView>::mouseReleaseEvent(e);
}

// The arrows go to the nearest picture that way on the screen, whatever the
// items' order: the pictures stand where the user put them.
QModelIndex IconModeView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || !model() ||
      (action != MoveLeft && action != MoveRight && action != MoveUp && action != MoveDown))
    return QListView::moveCursor(action, modifiers);
  const QPoint from = rectForIndex(current).center();
  QModelIndex best;
  qint64 bestScore = 0;
  for (int row = 0; row < model()->rowCount(); ++row) {
    if (row == current.row()) continue;
    const QModelIndex i = model()->index(row, 0);
    const QPoint d = rectForIndex(i).center() - from;
    const int along = action == MoveLeft ? -d.x() : action == MoveRight ? d.x() : action == MoveUp ? -d.y() : d.y();
    const int across = action == MoveLeft || action == MoveRight ? d.y() : d.x();
    if (along <= 0) continue;
    // Straight ahead wins over the same distance off to the side.
    const qint64 score = qint64(along) + 2 * qint64(std::abs(across));
    if (!best.isValid() || score < bestScore) {
      best = i;
      bestScore = score;
    }
  }
  return best.isValid() ? best : current;
}

void IconModeView::paintEvent(QPaintEvent* e) {
  if (owner_->HasPicture()) {
    QPainter p(viewport());
    p.drawPixmap(contentsOrigin(), owner_->Picture());
  }
  QListView::paintEvent(e);
}

ReportRowsView::ReportRowsView(ListView* owner) : EventView<QTreeView>(owner) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(20, 20));
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
}

void LargeIconDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->direction = list_->layoutDirection();  // the text reads as the list does
  const QVariant v = index.data(LargeIconRole);
  if (v.isValid()) {
    option->icon = QIcon(v.value<QPixmap>());
    option->decorationSize = iconSize_;
    option->features |= QStyleOptionViewItem::HasDecoration;
  } else {
    option->icon = QIcon();
    option->features &= ~QStyleOptionViewItem::HasDecoration;
  }
}

}  // namespace platform
