#include "scrollframe.h"

#include <QApplication>
#include <QScrollBar>
#include <algorithm>
#include <QVBoxLayout>

namespace platform {

ScrollFrame::ScrollFrame(QWidget* window, const QSize& designed) : QScrollArea(window) {
  setObjectName(QStringLiteral("ScrollFrame"));
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::NoFocus);  // not a stop of the window's Tab order
  // The page keeps its designed size and place: a window made larger leaves
  // the controls where they are, as a form's controls stay.
  setWidgetResizable(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);
  viewport()->setAutoFillBackground(false);  // the window's own background shows

  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page"));
  page->resize(designed);
  setWidget(page);

  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(this);

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && widget()->isAncestorOf(now)) showWhole(now);
  });
}

// The whole control, not only a text box's cursor (which is all that
// ensureWidgetVisible looks after), with a little room around it.
void ScrollFrame::showWhole(QWidget* control) {
  constexpr int kRoom = 4;
  const QRect r = QRect(control->mapTo(widget(), QPoint()), control->size()).adjusted(-kRoom, -kRoom, kRoom, kRoom);
  // The offset of the visible part, moved as little as brings [low, high) into it.
  auto bring = [](int offset, int size, int low, int high) {
    if (low < offset || high - low > size) return low;
    if (high > offset + size) return high - size;
    return offset;
  };
  const int x = bring(-widget()->x(), viewport()->width(), r.left(), r.right() + 1);
  const int y = bring(-widget()->y(), viewport()->height(), r.top(), r.bottom() + 1);
  verticalScrollBar()->setValue(y);
  QScrollBar* bar = horizontalScrollBar();
  bar->setValue(isRightToLeft() ? bar->maximum() - x : x);  // right to left, the bar counts from the right
}

QSize ScrollFrame::fitted(const QSize& wanted, const QSize& most) const {
  QSize size = wanted.boundedTo(most);
  const QSize page = widget()->size();
  if (size.height() < page.height() && size.width() >= page.width())
    size.setWidth(std::min(most.width(), std::max(size.width(), page.width() + verticalScrollBar()->sizeHint().width())));
  if (size.width() < page.width() && size.height() >= page.height())
    size.setHeight(
        std::min(most.height(), std::max(size.height(), page.height() + horizontalScrollBar()->sizeHint().height())));
  return size;
}

}  // namespace platform
