#include "scrollframe.h"

#include <QApplication>
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
    if (now && widget()->isAncestorOf(now)) ensureWidgetVisible(now);
  });
}

}  // namespace platform
