#pragma once
// The two views of ListView over its one model: freely placed icons and report
// rows. Both pass the user's mouse, key and focus events on as the list's own.
#include <QListView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "enterkey.h"
#include "listview.h"
#include "vb.h"

namespace platform {

namespace listview_detail {
int shiftState(Qt::KeyboardModifiers m);
int buttonCode(Qt::MouseButton b);
// The menu key or Shift+F10, which open the pop-up menu.
bool opensPopup(const QKeyEvent* e);
}  // namespace listview_detail

template <class Base>
class EventView : public Base {
 public:
  explicit EventView(ListView* owner) : Base(owner), owner_(owner) {}

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
    if (const int b = listview_detail::buttonCode(e->button()))
      emit owner_->MouseDown(b, listview_detail::shiftState(e->modifiers()), vb::PixelsToTwipsX(p.x()),
                             vb::PixelsToTwipsY(p.y()));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    noticingSelection([&] { Base::mouseMoveEvent(e); });
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (IsEnterKey(e)) {
      // What a double-click does: the click, then the double-click.
      if (owner_->SelectedItem()) {
        emit owner_->Click();
        emit owner_->DblClick();
      }
      e->accept();
      return;
    }
    if (listview_detail::opensPopup(e)) {
      // A right press on the selected item, or on the list's corner.
      const int item = owner_->SelectedItem();
      const QRect room = this->viewport()->rect();
      const QPoint at = item ? owner_->ItemRect(item).center() : room.topLeft();
      const QPoint p = this->viewport()->mapTo(owner_, QPoint(std::clamp(at.x(), room.left(), room.right()),
                                                              std::clamp(at.y(), room.top(), room.bottom())));
      emit owner_->MouseDown(2, listview_detail::shiftState(e->modifiers()), vb::PixelsToTwipsX(p.x()),
                             vb::PixelsToTwipsY(p.y()));
      e->accept();
      return;
    }
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
  explicit IconModeView(ListView* owner);
  QRect itemRect(const QModelIndex& index) const { return rectForIndex(index); }
  void placeItem(const QPoint& position, const QModelIndex& index) { setPositionForIndex(position, index); }
  // Top left of the contents in viewport pixels.
  QPoint contentsOrigin() const;
  // Every full layout forgets the places; arrange all items anew.
  void doItemsLayout() override;

 protected:
  // Dragging an item moves it with the mouse to any place.
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void arrangeFromRight();

  int dragRow_ = -1;
  bool dragging_ = false;
  QPoint pressAt_, grabOffset_;
};

// Report view: one row per item, the sub-items in columns.
class ReportRowsView : public EventView<QTreeView> {
 public:
  explicit ReportRowsView(ListView* owner);
  // How far the rows are scrolled up (pixels).
  int scrolledDown() const { return verticalOffset(); }
};

// Draws an item of the icon view with its large picture.
class LargeIconDelegate : public QStyledItemDelegate {
 public:
  LargeIconDelegate(QWidget* list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}
  void setIconSize(const QSize& size) { iconSize_ = size; }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  QSize iconSize_{56, 56};
  QWidget* list_;
};

}  // namespace platform
