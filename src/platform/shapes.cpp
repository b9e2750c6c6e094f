#include "shapes.h"

#include <QPainter>
#include <algorithm>

#include "vb.h"

namespace platform {

Shape::Shape(QWidget* parent, Kind kind, double left, double top, double width, double height)
    : QWidget(parent), kind_(kind) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), vb::TwipsToPixelsX(width),
              vb::TwipsToPixelsY(height));
}

void Shape::SetFillColor(const QColor& colour) {
  fill_ = colour;
  update();
}

void Shape::SetBorderColor(const QColor& colour) {
  border_ = colour;
  update();
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, kind_ == Circle);
  p.setPen(border_.isValid() ? QPen(border_, 1) : QPen(Qt::NoPen));
  p.setBrush(fill_.isValid() ? QBrush(fill_) : QBrush(Qt::NoBrush));
  QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (kind_ == Circle) {
    // The circle's diameter is the smaller side, centred in the box.
    const double d = std::min(r.width(), r.height());
    r = QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
    p.drawEllipse(r);
  } else {
    p.drawRect(r);
  }
}

LineControl::LineControl(QWidget* parent, double x1, double y1, double x2, double y2) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  const QPoint a(vb::TwipsToPixelsX(x1), vb::TwipsToPixelsY(y1));
  const QPoint b(vb::TwipsToPixelsX(x2), vb::TwipsToPixelsY(y2));
  const QRect box = QRect(a, b).normalized().adjusted(0, 0, 1, 1);
  setGeometry(box);
  from_ = a - box.topLeft();
  to_ = b - box.topLeft();
}

void LineControl::SetBorderColor(const QColor& colour) {
  colour_ = colour;
  update();
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(colour_, 1));
  p.drawLine(from_, to_);
}

}  // namespace platform
