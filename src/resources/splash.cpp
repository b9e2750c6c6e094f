#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "pictures.h"

namespace resources {

QPixmap SplashPicture() {
  QPixmap pm(669, 260);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient bg(0, 0, 0, 260);
  bg.setColorAt(0, QColor(255, 250, 240));
  bg.setColorAt(1, QColor(236, 222, 235));
  p.fillRect(pm.rect(), bg);

  // A thin double frame.
  p.setPen(QPen(QColor(176, 141, 87), 3));
  p.drawRect(QRectF(6, 6, 657, 248));
  p.setPen(QPen(QColor(176, 141, 87), 1));
  p.drawRect(QRectF(12, 12, 645, 236));

  // Two interlocking rings.
  auto ring = [&](QPointF c, QColor inner, QColor outer) {
    QRadialGradient g(c, 46);
    g.setColorAt(0.80, inner);
    g.setColorAt(1.0, outer);
    p.setPen(QPen(QBrush(g), 9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 40, 40);
  };
  ring(QPointF(95, 140), QColor(230, 190, 90), QColor(160, 120, 40));
  ring(QPointF(145, 140), QColor(220, 220, 225), QColor(140, 140, 150));

  // A few petals in the opposite corner.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.translate(590, 185);
    p.rotate(i * 72);
    p.setBrush(QColor(214, 120, 150, 200));
    p.drawEllipse(QRectF(-9, -34, 18, 34));
    p.restore();
  }
  p.setBrush(QColor(245, 210, 90));
  p.drawEllipse(QPointF(590, 185), 8, 8);

  QFont title(QStringLiteral("DejaVu Serif"), 40, QFont::Bold, true);
  p.setFont(title);
  p.setPen(QColor(120, 60, 100));
  p.drawText(QRectF(200, 95, 330, 90), Qt::AlignCenter, QStringLiteral("Pelmora"));
  return pm;
}

}  // namespace resources
