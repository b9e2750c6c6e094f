#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "pictures.h"

namespace resources {
namespace {

constexpr int kSize = 32;

void gear(QPainter& p, QPointF c, double r, QColor colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.translate(c);
    p.rotate(i * 45);
    p.drawRect(QRectF(-r * 0.18, -r * 1.15, r * 0.36, r * 0.5));
    p.restore();
  }
  p.drawEllipse(c, r * 0.8, r * 0.8);
  p.setBrush(Qt::white);
  p.drawEllipse(c, r * 0.32, r * 0.32);
}

void draw(QPainter& p, const QString& key) {
  const QColor ink(40, 70, 120);
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  if (key == "Add" || key == "Update" || key == "Remove") {
    // A card with a sign.
    p.setBrush(QColor(250, 250, 255));
    p.drawRoundedRect(QRectF(4, 6, 20, 22), 2, 2);
    p.setPen(QPen(QColor(150, 160, 180), 1.5));
    for (int y = 12; y <= 22; y += 5) p.drawLine(QPointF(8, y), QPointF(20, y));
    QColor sign = key == "Add" ? QColor(30, 140, 60) : key == "Remove" ? QColor(200, 40, 40) : QColor(200, 130, 20);
    p.setPen(QPen(sign, 3.5, Qt::SolidLine, Qt::RoundCap));
    if (key == "Add") {
      p.drawLine(QPointF(24, 17), QPointF(24, 29));
      p.drawLine(QPointF(18, 23), QPointF(30, 23));
    } else if (key == "Remove") {
      p.drawLine(QPointF(19, 18), QPointF(29, 28));
      p.drawLine(QPointF(29, 18), QPointF(19, 28));
    } else {
      p.drawLine(QPointF(16, 28), QPointF(29, 15));  // a pencil stroke
      p.setPen(QPen(sign.darker(), 2));
      p.drawLine(QPointF(14, 30), QPointF(17, 27));
    }
  } else if (key == "Dial") {
    QPainterPath handset;
    handset.moveTo(8, 6);
    handset.cubicTo(2, 12, 12, 28, 26, 26);
    p.setPen(QPen(ink, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(handset);
  } else if (key == "Budget") {
    p.setBrush(QColor(235, 190, 60));
    for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(6, 20 - i * 6, 20, 8));
    p.setFont(QFont("DejaVu Sans", 9, QFont::Bold));
    p.drawText(QRectF(6, 2, 20, 12), Qt::AlignCenter, QString(QChar(0x20AA)));
  } else if (key == "Labels") {
    p.setBrush(QColor(255, 252, 235));
    p.drawRect(QRectF(3, 8, 26, 18));
    p.drawLine(QPointF(3, 8), QPointF(16, 19));
    p.drawLine(QPointF(29, 8), QPointF(16, 19));
  } else if (key == "List") {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 20, 26));
    for (int y = 9; y <= 23; y += 5) {
      p.drawPoint(QPointF(10, y));
      p.drawLine(QPointF(13, y), QPointF(22, y));
    }
  } else if (key == "Notes") {
    p.setBrush(QColor(255, 240, 200));
    p.drawRect(QRectF(3, 5, 15, 20));
    p.setBrush(QColor(220, 240, 255));
    p.drawRect(QRectF(13, 9, 15, 20));
  } else if (key == "Tables") {
    p.setBrush(QColor(250, 245, 230));
    p.drawEllipse(QPointF(16, 16), 8, 8);
    p.setBrush(ink);
    for (int i = 0; i < 6; ++i) {
      const double a = qDegreesToRadians(i * 60.0);
      p.drawEllipse(QPointF(16 + 13 * qCos(a), 16 + 13 * qSin(a)), 2.5, 2.5);
    }
  } else if (key == "Options") {
    gear(p, QPointF(16, 16), 11, ink);
  } else if (key == "About" || key == "Help") {
    p.setBrush(key == "About" ? QColor(60, 110, 190) : QColor(40, 150, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Serif", 15, QFont::Bold));
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, key == "About" ? "i" : "?");
  }
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
  static QHash<QString, QIcon> cache;
  auto it = cache.find(key);
  if (it != cache.end()) return *it;
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  draw(p, key);
  p.end();
  return *cache.insert(key, QIcon(pm));
}

QPixmap OptionsPanelPicture() {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  gear(p, QPointF(8, 8), 5.5, QColor(70, 70, 90));
  return pm;
}

}  // namespace resources
