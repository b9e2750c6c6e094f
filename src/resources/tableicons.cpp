#include "tableicons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace resources {
namespace {

const QColor kChair(0x8b, 0x5a, 0x2b);
const QColor kChairEdge(0x5c, 0x3a, 0x1a);
const QColor kCloth(0xff, 0xfb, 0xf0);
const QColor kClothEdge(0x9a, 0x7b, 0x4f);
const QColor kInk(0x20, 0x20, 0x60);

QPixmap blank(int size) {
  QPixmap p(size, size);
  p.fill(Qt::transparent);
  return p;
}

// A round table with chairs around it, centred in a square of side s.
void drawTable(QPainter& p, double s, int chairs, double chairShare) {
  const QPointF c(s / 2.0, s / 2.0);
  const double chairR = s * chairShare;
  const double pen = std::max(1.0, s / 60.0);
  // The chairs with their edge and a pixel of air stay inside the square.
  const double ring = s / 2.0 - chairR - pen / 2.0 - std::max(1.0, s * 0.02);
  p.setPen(QPen(kChairEdge, pen));
  p.setBrush(kChair);
  for (int i = 0; i < chairs; ++i) {
    const double a = 2 * M_PI * i / chairs - M_PI / 2;
    p.drawEllipse(QPointF(c.x() + ring * std::cos(a), c.y() + ring * std::sin(a)), chairR, chairR);
  }
  const double tableR = ring - chairR * 0.35;
  p.setPen(QPen(kClothEdge, std::max(1.0, s / 40.0)));
  p.setBrush(kCloth);
  p.drawEllipse(c, tableR, tableR);
}

void drawNumber(QPainter& p, double s, int number, double tableShare) {
  const QString text = QString::number(number);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setBold(true);
  const double room = s * tableShare;  // the width the number may take
  double px = room * (text.size() >= 3 ? 0.62 : 0.85);
  f.setPixelSize(std::max(6, int(px)));
  QFontMetricsF fm(f);
  while (fm.horizontalAdvance(text) > room && f.pixelSize() > 6) {
    f.setPixelSize(f.pixelSize() - 1);
    fm = QFontMetricsF(f);
  }
  p.setFont(f);
  p.setPen(kInk);
  p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, text);
}

QPixmap toolbarPicture(const QString& key) {
  const int s = kMapToolbarPicture;
  QPixmap pix = blank(s);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  const QPen ink(QColor(0x30, 0x30, 0x30), 1.4);
  if (key == QLatin1String("Save")) {  // a diskette
    p.setPen(ink);
    p.setBrush(QColor(0x3a, 0x6e, 0xb0));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.drawRect(QRectF(7, 3.5, 10, 6));
    p.setBrush(QColor(0xe0, 0xe0, 0xe0));
    p.drawRect(QRectF(6, 13, 12, 7.5));
  } else if (key == QLatin1String("Load")) {  // an opened folder with a picture of a garden
    p.setPen(ink);
    p.setBrush(QColor(0xe8, 0xb9, 0x4a));
    p.drawRect(QRectF(2.5, 6, 19, 14));
    p.setBrush(QColor(0x7c, 0xbb, 0x5e));
    p.drawRect(QRectF(6, 9, 12, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x7d, 0x32));
    p.drawEllipse(QPointF(10, 13), 2.2, 2.2);
    p.drawEllipse(QPointF(14.5, 12.5), 2.2, 2.2);
    p.setPen(ink);
    p.setBrush(QColor(0xf3, 0xcd, 0x6e));
    QPolygonF flap;
    flap << QPointF(2.5, 20) << QPointF(6, 12.5) << QPointF(22, 12.5) << QPointF(21.5, 20);
    p.drawPolygon(flap);
  } else if (key == QLatin1String("Clear")) {  // a circular arrow: back to the start
    p.setPen(QPen(QColor(0xb0, 0x30, 0x30), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 110 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb0, 0x30, 0x30));
    QPolygonF head;
    head << QPointF(2.5, 6.5) << QPointF(10, 3.5) << QPointF(8.5, 11);
    p.drawPolygon(head);
  } else if (key == QLatin1String("Print")) {  // a printer with a sheet
    p.setPen(ink);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 2.5, 10, 8));
    p.setBrush(QColor(0x80, 0x80, 0x88));
    p.drawRoundedRect(QRectF(2.5, 9, 19, 9), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 15, 11, 6.5));
    p.drawLine(QPointF(8.5, 17.5), QPointF(15.5, 17.5));
    p.drawLine(QPointF(8.5, 19.5), QPointF(13.5, 19.5));
  } else if (key == QLatin1String("View List")) {  // rows of a list, each with its picture
    for (int i = 0; i < 4; ++i) {
      const double y = 4 + i * 4.6;
      p.setPen(Qt::NoPen);
      p.setBrush(kChair);
      p.drawEllipse(QPointF(4.5, y + 1.5), 1.8, 1.8);
      p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9, y + 1.5), QPointF(21, y + 1.5));
    }
  } else if (key == QLatin1String("View Map")) {  // tables spread over a lawn
    p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 1));
    p.setBrush(QColor(0xc8, 0xe6, 0xc9));
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 3, 3);
    p.setPen(QPen(kClothEdge, 1));
    p.setBrush(kCloth);
    for (const QPointF& c : {QPointF(7, 7), QPointF(17, 8), QPointF(8, 17), QPointF(17, 17)})
      p.drawEllipse(c, 3.4, 3.4);
  } else if (key == QLatin1String("View Table")) {  // one table with its chairs
    drawTable(p, s, 8, 0.1);
  } else {
    return QPixmap();
  }
  return pix;
}

}  // namespace

QPixmap TablePicture(int number, int sizePx) {
  QPixmap pix = blank(sizePx);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const bool small = sizePx < 32;
  // The small picture is mostly table, so that its number stays readable.
  drawTable(p, sizePx, small ? 6 : 10, small ? 0.075 : 0.08);
  drawNumber(p, sizePx, number, small ? 0.82 : 0.62);
  return pix;
}

QPixmap MapToolbarPicture(const QString& key) { return toolbarPicture(key); }

QStringList MapToolbarKeys() {
  return {QStringLiteral("Clear"),     QStringLiteral("Load"),     QStringLiteral("Save"),
          QStringLiteral("Print"),     QStringLiteral("View List"), QStringLiteral("View Map"),
          QStringLiteral("View Table")};
}

}  // namespace resources
