#include "drawntext.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace testsupport {

namespace {
QRect inkBounds(const QImage& img, const QRect& area) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(img.pixel(x, y)) < 128) bounds |= QRect(x, y, 1, 1);
  return bounds;
}
}  // namespace

QRect InkBounds(const QImage& image) {
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  return inkBounds(img, img.rect());
}

QImage Ink(const QImage& image, const QRect& within) {
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  const QRect bounds = inkBounds(img, within.isNull() ? img.rect() : within.intersected(img.rect()));
  QImage ink(bounds.size(), QImage::Format_Mono);
  ink.fill(0);
  for (int y = 0; y < bounds.height(); ++y)
    for (int x = 0; x < bounds.width(); ++x)
      if (qGray(img.pixel(bounds.left() + x, bounds.top() + y)) < 128) ink.setPixel(x, y, 1);
  return ink;
}

QImage InkOf(QWidget* widget, const QRect& within) { return Ink(widget->grab().toImage(), within); }

QImage InkOfLine(const QString& text, const QFont& font, Qt::LayoutDirection direction) {
  const QFontMetrics fm(font);
  QImage img(fm.horizontalAdvance(text) + 40, fm.height() + 10, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setFont(font);
  p.setPen(Qt::black);
  p.setLayoutDirection(direction);
  const bool underline = QApplication::style()->styleHint(QStyle::SH_UnderlineShortcut);
  p.drawText(img.rect().adjusted(20, 5, -20, -5), Qt::AlignCenter | (underline ? Qt::TextShowMnemonic : Qt::TextHideMnemonic),
             text);
  p.end();
  return Ink(img);
}

namespace {
// Ink pixels of a with no ink of b in the same row, a pixel either side.
int unmatched(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      if (!a.pixelIndex(x, y)) continue;
      bool near = false;
      for (int dx = -1; dx <= 1 && !near; ++dx)
        near = x + dx >= 0 && x + dx < b.width() && y < b.height() && b.pixelIndex(x + dx, y);
      n += near ? 0 : 1;
    }
  return n;
}
}  // namespace

// Glyphs may land a pixel apart from one drawing to another; a text laid out
// in the other order moves whole words.
bool SameInk(const QImage& a, const QImage& b) {
  if (a.isNull() || qAbs(a.width() - b.width()) > 1 || qAbs(a.height() - b.height()) > 1) return false;
  int ink = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) ink += a.pixelIndex(x, y);
  return (unmatched(a, b) + unmatched(b, a)) * 20 <= ink;
}

}  // namespace testsupport
