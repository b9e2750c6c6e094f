#pragma once
// A window's controls on a page of the window's designed size, in a frame that
// scrolls when the window is smaller than its design (a screen too small for
// it, or a large scale): every control stays in reach of the mouse, and the
// frame scrolls to whichever control takes the focus (Tab, or a program that
// moves the focus). At the designed size nothing scrolls and nothing shows of
// the frame.
#include <QScrollArea>

namespace platform {

class ScrollFrame : public QScrollArea {
  Q_OBJECT
 public:
  // Fills `window` with the frame; `designed` is the client area of the design,
  // pixels. The window's controls go on page().
  ScrollFrame(QWidget* window, const QSize& designed);
  QWidget* page() const { return widget(); }
  // The window's client size for `wanted` within `most`: where the page must
  // scroll one way, room for that scroll bar the other way, as far as `most`
  // allows, so that the page does not scroll both ways.
  QSize fitted(const QSize& wanted, const QSize& most) const;

 private:
  void showWhole(QWidget* control);
};

}  // namespace platform
