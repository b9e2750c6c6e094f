#include "windowpictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace resources {

QPixmap PrintIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x30, 0x30, 0x38);
  p.setPen(QPen(ink, 1.2));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9.5, 2.5, 13, 11));  // the sheet going in
  p.setBrush(QColor(0x70, 0x78, 0x88));
  p.drawRoundedRect(QRectF(2.5, 12, 27, 12), 2.5, 2.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x4c, 0xaf, 0x50));
  p.drawEllipse(QPointF(25.5, 15.5), 1.4, 1.4);
  p.setPen(QPen(ink, 1.2));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(8.5, 19.5, 15, 10));  // the printed page
  p.drawLine(QPointF(11, 23), QPointF(21, 23));
  p.drawLine(QPointF(11, 26), QPointF(18, 26));
  return pm;
}

QPixmap WindowLogo(QSize size) {
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const int h = std::max(8, size.height() * 3 / 5);
  // Two interlaced rings on the left.
  const double r = h * 0.32;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xc9, 0xa2, 0x27), std::max(1.5, h / 10.0)));
  p.drawEllipse(QPointF(r + 2, h / 2.0), r, r);
  p.drawEllipse(QPointF(2.1 * r + 2, h / 2.0), r, r);
  // The name beside them.
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(std::max(6, h - 2));
  f.setItalic(true);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0x8e, 0x24, 0x4a));
  const QRectF text(3.4 * r + 6, 0, size.width() - (3.4 * r + 6), h);
  p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pelmora"));
  return pm;
}

QPixmap BudgetWindowIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x40, 0x40, 0x48), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 2.5, 17, 24));
  for (int i = 0; i < 5; ++i) p.drawLine(QPointF(6.5, 7.5 + i * 4), QPointF(17.5, 7.5 + i * 4));
  const QColor gold(0xe0, 0xb0, 0x30), edge(0x9a, 0x70, 0x10);
  p.setPen(QPen(edge, 1));
  p.setBrush(gold);
  for (int i = 0; i < 4; ++i) p.drawEllipse(QRectF(15.5, 24.5 - i * 4, 14, 6));
  return pm;
}

}  // namespace resources
