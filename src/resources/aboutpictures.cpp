// The about window's pictures: the two logo pictures and the link icons.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "pictures.h"

namespace resources {
namespace {

QPixmap blank(int w, int h) {
  QPixmap pm(w, h);
  pm.fill(Qt::transparent);
  return pm;
}

QPainterPath heart(QRectF r) {
  QPainterPath path;
  const double cx = r.center().x();
  path.moveTo(cx, r.bottom());
  path.cubicTo(r.left() - r.width() * 0.05, r.top() + r.height() * 0.55, r.left() + r.width() * 0.05,
               r.top() - r.height() * 0.05, cx, r.top() + r.height() * 0.28);
  path.cubicTo(r.right() - r.width() * 0.05, r.top() - r.height() * 0.05, r.right() + r.width() * 0.05,
               r.top() + r.height() * 0.55, cx, r.bottom());
  return path;
}

}  // namespace

QPixmap AboutLogoPicture() {
  // Two linked wedding rings under a small stone.
  QPixmap pm = blank(64, 64);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  const QColor gold(200, 150, 40), light(245, 210, 110);
  for (const QPointF c : {QPointF(24, 38), QPointF(40, 38)}) {
    p.setPen(QPen(gold, 6));
    p.drawEllipse(c, 15, 15);
    p.setPen(QPen(light, 2));
    p.drawEllipse(c, 15, 15);
  }
  QPainterPath stone;
  stone.moveTo(40, 6);
  stone.lineTo(47, 13);
  stone.lineTo(40, 22);
  stone.lineTo(33, 13);
  stone.closeSubpath();
  p.setPen(QPen(QColor(70, 110, 170), 1.2));
  p.setBrush(QColor(170, 215, 250));
  p.drawPath(stone);
  p.drawLine(QPointF(33, 13), QPointF(47, 13));
  return pm;
}

QPixmap AboutEmblemPicture() {
  // A square picture: a heart on a soft evening sky with a sprig of leaves.
  QPixmap pm(96, 96);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 96);
  sky.setColorAt(0, QColor(255, 236, 214));
  sky.setColorAt(1, QColor(238, 176, 190));
  p.fillRect(pm.rect(), sky);
  QRadialGradient glow(QPointF(48, 44), 40);
  glow.setColorAt(0, QColor(255, 255, 255, 150));
  glow.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(pm.rect(), glow);

  p.setPen(QPen(QColor(60, 120, 60), 2));
  p.drawLine(QPointF(20, 86), QPointF(76, 86));
  p.setBrush(QColor(90, 160, 80));
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.translate(26 + i * 11, 86);
    p.rotate(i % 2 ? 30 : -30);
    p.drawEllipse(QRectF(-3, -10, 6, 10));
    p.restore();
  }

  p.setPen(QPen(QColor(130, 20, 40), 2));
  QLinearGradient red(0, 18, 0, 76);
  red.setColorAt(0, QColor(230, 60, 80));
  red.setColorAt(1, QColor(160, 20, 45));
  p.setBrush(red);
  p.drawPath(heart(QRectF(22, 18, 52, 56)));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 110));
  p.drawEllipse(QRectF(32, 28, 10, 7));
  p.setPen(QPen(QColor(110, 100, 110), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, 95, 95));
  return pm;
}

QPixmap HomeIcon() {
  QPixmap pm = blank(16, 16);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 90), 1));
  p.setBrush(QColor(250, 245, 230));
  p.drawRect(QRectF(3.5, 7.5, 9, 7));
  QPainterPath roof;
  roof.moveTo(1, 8.5);
  roof.lineTo(8, 1.5);
  roof.lineTo(15, 8.5);
  roof.closeSubpath();
  p.setBrush(QColor(190, 50, 40));
  p.drawPath(roof);
  p.setBrush(QColor(120, 80, 40));
  p.drawRect(QRectF(7, 10.5, 3, 4));
  return pm;
}

QPixmap MailIcon() {
  QPixmap pm = blank(16, 16);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 90), 1));
  p.setBrush(QColor(255, 250, 220));
  p.drawRect(QRectF(1.5, 3.5, 13, 9));
  p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 9), QPointF(14.5, 3.5)}));
  return pm;
}

}  // namespace resources
