#include "listview.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <cmath>

#include "vb.h"
#include "vberror.h"

namespace platform {

void ImageList::Add(const QString& key, const QPixmap& picture) { pictures_.insert(key, picture); }

QPixmap ImageList::Picture(const QString& key) const { return pictures_.value(key); }

namespace {
constexpr int LargeIconRole = Qt::UserRole + 1;
}

// Rows are items; column 0 the item text, column c the sub-item c.
class ListItemModel : public QAbstractTableModel {
 public:
  struct Item {
    QString text, icon, smallIcon;
    QStringList subItems;  // index 0 is sub-item 1
  };
  QVector<Item> items;
  QStringList headers;
  const ImageList* large = nullptr;
  const ImageList* small = nullptr;
  bool redraw = true;
  bool changedWhileOff = false;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : items.size();
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : std::max<int>(1, headers.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= items.size()) return {};
    const Item& it = items[index.row()];
    const int c = index.column();
    switch (role) {
      case Qt::DisplayRole:
        if (c == 0) return it.text;
        return c - 1 < it.subItems.size() ? it.subItems[c - 1] : QString();
      case Qt::DecorationRole:
        if (c == 0 && small && !it.smallIcon.isEmpty()) {
          QPixmap p = small->Picture(it.smallIcon);
          if (!p.isNull()) return p;
        }
        return {};
      case LargeIconRole:
        if (c == 0 && large && !it.icon.isEmpty()) {
          QPixmap p = large->Picture(it.icon);
          if (!p.isNull()) return p;
        }
        return {};
      case Qt::TextAlignmentRole:
        return c == 0 ? QVariant() : QVariant(Qt::AlignLeading | Qt::AlignVCenter);
      default:
        return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers.size())
      return headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
  }
  void addHeader(const QString& text) {
    const int c = headers.size();
    if (c > 0) beginInsertColumns(QModelIndex(), c, c);
    headers.append(text);
    if (c > 0) endInsertColumns();
    else emit headerDataChanged(Qt::Horizontal, 0, 0);
  }
  void clearHeaders() {
    const int n = headers.size();
    if (n > 1) beginRemoveColumns(QModelIndex(), 1, n - 1);
    headers.clear();
    if (n > 1) endRemoveColumns();
    emit headerDataChanged(Qt::Horizontal, 0, 0);
  }
  void addItem(Item item) {
    const int row = items.size();
    beginInsertRows(QModelIndex(), row, row);
    items.append(std::move(item));
    endInsertRows();
  }
  void clearItems() {
    beginResetModel();
    items.clear();
    endResetModel();
  }
  void changed(int row, int column) {
    if (!redraw) {
      changedWhileOff = true;
      return;
    }
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i);
  }
  void changedAll() {
    changedWhileOff = false;
    if (items.isEmpty()) return;
    emit dataChanged(index(0, 0), index(items.size() - 1, columnCount() - 1));
  }
};

namespace {

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

// The mouse, key and focus events of both views, as the list's own events.
template <class Base>
class EventView : public Base {
 public:
  explicit EventView(ListView* owner) : Base(owner), owner_(owner) {}
  // How far the contents are scrolled up (pixels).
  int scrolledDown() const { return this->verticalOffset(); }

 protected:
  // Runs what the user did and tells the list when it moved the selection.
  template <class Action>
  void noticingSelection(Action action) {
    const int before = owner_->SelectedItem();
    action();
    if (owner_->SelectedItem() != before) emit owner_->SelectionChanged();
  }

  void mousePressEvent(QMouseEvent* e) override {
    noticingSelection([&] {
      if (e->button() == Qt::LeftButton) {
        Base::mousePressEvent(e);
      } else if (e->button() == Qt::RightButton) {
        // The pop-up a right click opens acts on the item under the pointer.
        const QModelIndex at = this->indexAt(e->position().toPoint());
        owner_->SetSelectedItem(at.isValid() ? at.row() + 1 : 0);
      }
    });
    const QPoint p = this->viewport()->mapTo(owner_, e->position().toPoint());
    if (const int b = buttonCode(e->button()))
      emit owner_->MouseDown(b, shiftState(e->modifiers()), vb::PixelsToTwipsX(p.x()), vb::PixelsToTwipsY(p.y()));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    noticingSelection([&] { Base::mouseMoveEvent(e); });
  }
  void keyPressEvent(QKeyEvent* e) override {
    noticingSelection([&] { Base::keyPressEvent(e); });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Base::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) emit owner_->Click();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    Base::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) emit owner_->DblClick();
  }
  void focusInEvent(QFocusEvent* e) override {
    Base::focusInEvent(e);
    // A pop-up menu closing or the window coming back does not move the focus
    // between controls, so it is no focus event of the list.
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
      emit owner_->GotFocus();
  }
  ListView* owner_;
};

// Icon view: large pictures placed freely, the background picture beneath.
// Places are kept left to right (the garden picture's own coordinates); the
// list's own arrangement fills rows from the side the list reads from.
class IconModeView : public EventView<QListView> {
 public:
  explicit IconModeView(ListView* owner) : EventView<QListView>(owner) {}
  QRect itemRect(const QModelIndex& index) const { return rectForIndex(index); }
  void placeItem(const QPoint& position, const QModelIndex& index) { setPositionForIndex(position, index); }

  // Top left of the contents in viewport pixels.
  QPoint contentsOrigin() const { return QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value()); }

  // Every full layout forgets the places; arrange all items anew.
  void doItemsLayout() override {
    QListView::doItemsLayout();
    if (owner_->layoutDirection() == Qt::RightToLeft) arrangeFromRight();
  }

 private:
  int dragRow_ = -1;
  bool dragging_ = false;
  QPoint pressAt_, grabOffset_;

  void arrangeFromRight() {
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

 protected:
  // Dragging an item moves it with the mouse to any place.
  void mousePressEvent(QMouseEvent* e) override {
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
  void mouseMoveEvent(QMouseEvent* e) override {
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
  // The arrows go to the nearest picture that way on the screen, whatever
  // the items' order: the pictures stand where the user put them.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
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

  void mouseReleaseEvent(QMouseEvent* e) override {
    dragRow_ = -1;
    dragging_ = false;
    EventView<QListView>::mouseReleaseEvent(e);
  }

  void paintEvent(QPaintEvent* e) override {
    if (owner_->HasPicture()) {
      QPainter p(viewport());
      p.drawPixmap(contentsOrigin(), owner_->Picture());
    }
    QListView::paintEvent(e);
  }
};

class LargeIconDelegate : public QStyledItemDelegate {
 public:
  LargeIconDelegate(QWidget* list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}
  QSize iconSize_{56, 56};
  QWidget* list_;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
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
};

}  // namespace

ListView::ListView(QWidget* parent) : QWidget(parent) {
  model_ = new ListItemModel;
  model_->setParent(this);
  selection_ = new QItemSelectionModel(model_, this);

  auto* icon = new IconModeView(this);
  icon->setViewMode(QListView::IconMode);
  icon->setMovement(QListView::Free);
  icon->setResizeMode(QListView::Fixed);
  icon->setWrapping(true);
  icon->setWordWrap(true);
  icon->setIconSize(QSize(56, 56));
  icon->setGridSize(QSize(96, 96));
  icon->setSpacing(4);
  icon->setItemDelegate(new LargeIconDelegate(this, icon));
  icon->setLayoutDirection(Qt::LeftToRight);
  icon->setDragEnabled(false);  // items are moved by hand, see IconModeView
  icon->viewport()->setAcceptDrops(false);
  icon->setModel(model_);
  icon->setSelectionModel(selection_);
  icon->setSelectionMode(QAbstractItemView::SingleSelection);
  icon->setSelectionBehavior(QAbstractItemView::SelectRows);
  icon->setEditTriggers(QAbstractItemView::NoEditTriggers);
  icon_ = icon;

  auto* report = new EventView<QTreeView>(this);
  report->setModel(model_);
  report->setSelectionModel(selection_);
  report->setRootIsDecorated(false);
  report->setItemsExpandable(false);
  report->setUniformRowHeights(true);
  report->setAllColumnsShowFocus(true);
  report->setSelectionMode(QAbstractItemView::SingleSelection);
  report->setSelectionBehavior(QAbstractItemView::SelectRows);
  report->setEditTriggers(QAbstractItemView::NoEditTriggers);
  report->setIconSize(QSize(20, 20));
  report->header()->setStretchLastSection(false);
  report->header()->setSectionsMovable(false);
  report_ = report;

  report_->hide();
  setFocusProxy(icon_);
  fitViews();
}

ListView::~ListView() = default;

// The views fill the list. Also while the list is hidden, which delivers no
// resize events: the icon view arranges new items by its width.
void ListView::fitViews() const {
  if (icon_->geometry() != rect()) icon_->setGeometry(rect());
  if (report_->geometry() != rect()) report_->setGeometry(rect());
}

void ListView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fitViews();
}

void ListView::checkIndex(int index) const {
  if (index < 1 || index > model_->items.size()) Raise(35600, QStringLiteral("Index out of bounds"));
}

void ListView::SetView(ViewStyle view) {
  view_ = view;
  QWidget* w = view == lvwReport ? report_ : icon_;
  QWidget* other = view == lvwReport ? icon_ : report_;
  const bool hadFocus = other->hasFocus();
  fitViews();
  w->show();
  other->hide();
  setFocusProxy(w);
  if (hadFocus) w->setFocus(Qt::OtherFocusReason);
  if (const int sel = SelectedItem()) CurrentView()->scrollTo(model_->index(sel - 1, 0));
}

void ListView::SetIcons(const ImageList* large) {
  model_->large = large;
  model_->changedAll();
}

void ListView::SetSmallIcons(const ImageList* small) {
  model_->small = small;
  model_->changedAll();
}

void ListView::SetIconSize(const QSize& size) {
  static_cast<LargeIconDelegate*>(icon_->itemDelegate())->iconSize_ = size;
  icon_->setIconSize(size);
  static_cast<QListView*>(icon_)->setGridSize(QSize(size.width() + 40, size.height() + 40));
}

int ListView::AddColumnHeader(const QString& text, double widthTwips) {
  model_->addHeader(text);
  columnWidths_.append(widthTwips);
  applyColumnWidths();
  return model_->headers.size();
}

int ListView::ColumnHeaderCount() const { return model_->headers.size(); }

QString ListView::ColumnHeaderText(int index) const {
  if (index < 1 || index > model_->headers.size()) Raise(35600, QStringLiteral("Index out of bounds"));
  return model_->headers[index - 1];
}

double ListView::ColumnHeaderWidth(int index) const {
  if (index < 1 || index > columnWidths_.size()) Raise(35600, QStringLiteral("Index out of bounds"));
  return columnWidths_[index - 1];
}

void ListView::ClearColumnHeaders() {
  model_->clearHeaders();
  columnWidths_.clear();
}

void ListView::applyColumnWidths() {
  auto* header = static_cast<QTreeView*>(report_)->header();
  for (int i = 0; i < columnWidths_.size(); ++i) header->resizeSection(i, vb::TwipsToPixelsX(columnWidths_[i]));
}

int ListView::AddItem(const QString& text, const QString& iconKey, const QString& smallIconKey) {
  fitViews();
  const int row = model_->items.size();
  model_->addItem({text, iconKey, smallIconKey, {}});
  if (row == 0) SetSelectedItem(1);
  return row + 1;
}

int ListView::ItemCount() const { return model_->items.size(); }

void ListView::ClearItems() {
  model_->clearItems();
  applyColumnWidths();
}

QString ListView::ItemText(int index) const {
  checkIndex(index);
  return model_->items[index - 1].text;
}

void ListView::SetItemText(int index, const QString& text) {
  checkIndex(index);
  auto& it = model_->items[index - 1];
  if (it.text == text) return;
  it.text = text;
  model_->changed(index - 1, 0);
}

QString ListView::ItemIcon(int index) const {
  checkIndex(index);
  return model_->items[index - 1].icon;
}

QString ListView::ItemSmallIcon(int index) const {
  checkIndex(index);
  return model_->items[index - 1].smallIcon;
}

QString ListView::SubItem(int index, int sub) const {
  checkIndex(index);
  const auto& subs = model_->items[index - 1].subItems;
  return sub >= 1 && sub <= subs.size() ? subs[sub - 1] : QString();
}

void ListView::SetSubItem(int index, int sub, const QString& text) {
  checkIndex(index);
  // As the common control: a sub-item needs its column header.
  if (sub < 1 || sub >= model_->headers.size()) Raise(380, QStringLiteral("Invalid property value"));
  auto& subs = model_->items[index - 1].subItems;
  while (subs.size() < sub) subs.append(QString());
  if (subs[sub - 1] == text) return;
  subs[sub - 1] = text;
  model_->changed(index - 1, sub);
}

double ListView::ItemLeft(int index) const {
  fitViews();
  checkIndex(index);
  auto* v = static_cast<IconModeView*>(icon_);
  return vb::PixelsToTwipsX(v->itemRect(model_->index(index - 1, 0)).left());
}

double ListView::ItemTop(int index) const {
  fitViews();
  checkIndex(index);
  auto* v = static_cast<IconModeView*>(icon_);
  return vb::PixelsToTwipsY(v->itemRect(model_->index(index - 1, 0)).top());
}

bool ListView::PlaceFits(double twips) {
  constexpr int kLargestPlace = 32767;  // pixels
  return std::isfinite(twips) && twips >= 0 &&
         twips <= std::max(vb::PixelsToTwipsX(kLargestPlace), vb::PixelsToTwipsY(kLargestPlace));
}

void ListView::checkPlace(double twips) const {
  if (!PlaceFits(twips)) Raise(380, QStringLiteral("Invalid property value"));
}

void ListView::SetItemLeft(int index, double twips) {
  fitViews();
  checkIndex(index);
  checkPlace(twips);
  auto* v = static_cast<IconModeView*>(icon_);
  const QModelIndex i = model_->index(index - 1, 0);
  v->placeItem(QPoint(vb::TwipsToPixelsX(twips), v->itemRect(i).top()), i);
}

void ListView::SetItemTop(int index, double twips) {
  fitViews();
  checkIndex(index);
  checkPlace(twips);
  auto* v = static_cast<IconModeView*>(icon_);
  const QModelIndex i = model_->index(index - 1, 0);
  v->placeItem(QPoint(v->itemRect(i).left(), vb::TwipsToPixelsY(twips)), i);
}

QPointF ListView::ItemPlaceInView(int index) const {
  if (view_ != lvwReport) return {ItemLeft(index), ItemTop(index)};
  fitViews();
  checkIndex(index);
  auto* rows = static_cast<EventView<QTreeView>*>(report_);
  const QPoint cell = rows->visualRect(model_->index(index - 1, 0)).topLeft() + QPoint(0, rows->scrolledDown());
  const QPoint inList = rows->viewport()->mapTo(this, cell);
  return {vb::PixelsToTwipsX(inList.x()), vb::PixelsToTwipsY(inList.y())};
}

int ListView::SelectedItem() const {
  const QModelIndexList sel = selection_->selectedIndexes();
  return sel.isEmpty() ? 0 : sel.first().row() + 1;
}

void ListView::SetSelectedItem(int index) {
  if (index == 0) {
    selection_->clearSelection();
    return;
  }
  checkIndex(index);
  selection_->setCurrentIndex(model_->index(index - 1, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  icon_->viewport()->update();
}

void ListView::RemovePicture() { SetPicture(QPixmap()); }

void ListView::SetRedraw(bool on) {
  model_->redraw = on;
  if (on && model_->changedWhileOff) model_->changedAll();
}

void ListView::Refresh() { CurrentView()->viewport()->update(); }

double ListView::WidthTwips() const { return vb::PixelsToTwipsX(width()); }
double ListView::HeightTwips() const { return vb::PixelsToTwipsY(height()); }

QAbstractItemView* ListView::CurrentView() const { return view_ == lvwReport ? report_ : icon_; }
QAbstractItemView* ListView::IconView() const { return icon_; }
QAbstractItemView* ListView::ReportView() const { return report_; }

QRect ListView::ItemRect(int index) const {
  fitViews();
  checkIndex(index);
  return CurrentView()->visualRect(model_->index(index - 1, 0));
}

}  // namespace platform
