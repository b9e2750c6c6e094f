#include "reporttext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace platform {
namespace {

constexpr double kTwipsPerPoint = 20.0;

QFont sized(const QFont& font, int pixels) {
  QFont f = font;
  f.setPixelSize(qMax(1, pixels));
  return f;
}

QTextOption lineOption(Qt::LayoutDirection direction, Qt::Alignment alignment, QTextOption::WrapMode wrap) {
  // Designed alignments are physical: right stays right in a right-to-left line.
  QTextOption opt((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignAbsolute);
  opt.setTextDirection(direction);
  opt.setWrapMode(wrap);
  return opt;
}

// Width of one line as drawn, without the blanks at its ends.
double lineWidth(const QString& line, const QFont& font, Qt::LayoutDirection direction) {
  QTextLayout layout(line.trimmed(), font);
  layout.setTextOption(lineOption(direction, Qt::AlignLeft, QTextOption::NoWrap));
  layout.beginLayout();
  QTextLine l = layout.createLine();
  layout.endLayout();
  return l.isValid() ? l.naturalTextWidth() : 0;
}

struct Wrapped {
  QStringList lines;
  QVector<int> starts;  // where each line begins in the text
  double lineHeight = 0;
  bool tooWide = false;  // a word longer than the box
};

Wrapped wrap(const QString& text, const QFont& font, double width, Qt::LayoutDirection direction) {
  Wrapped w;
  QTextLayout layout(text, font);
  layout.setTextOption(lineOption(direction, Qt::AlignLeft, QTextOption::WordWrap));
  layout.beginLayout();
  for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
    l.setLineWidth(width);
    w.lineHeight = qMax(w.lineHeight, l.height());
    const QString part = text.mid(l.textStart(), l.textLength());
    w.lines << part.trimmed().remove(QChar::LineSeparator);
    w.starts << l.textStart();
  }
  layout.endLayout();
  for (const QString& line : w.lines) w.tooWide = w.tooWide || lineWidth(line, font, direction) > width + 0.5;
  if (w.lineHeight <= 0) w.lineHeight = QFontMetricsF(font).height();
  return w;
}

int linesThatFit(double boxHeight, double lineHeight) {
  return int(std::floor((boxHeight + 0.5) / lineHeight));
}

bool fits(const Wrapped& w, double boxHeight) {
  return !w.tooWide && w.lines.size() <= linesThatFit(boxHeight, w.lineHeight);
}

}  // namespace

FittedText fitText(const QString& raw, const QFont& font, const QSizeF& box, Qt::LayoutDirection direction,
                   TextFit fit) {
  QString text = raw;
  text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator)).replace(QLatin1Char('\n'), QChar::LineSeparator);
  FittedText out;
  out.direction = direction != Qt::LayoutDirectionAuto ? direction
                                                        : (text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
  const int designed = qMax(1, qRound(font.pointSizeF() * kTwipsPerPoint));
  const int smallest = fit == TextFit::ShrinkWhole ? 1 : qMin(designed, qRound(kReadablePoints * kTwipsPerPoint));

  // The largest size at which the text fits, between the smallest and the designed one.
  int size = designed;
  Wrapped w = wrap(text, sized(font, size), box.width(), out.direction);
  if (!fits(w, box.height())) {
    int lo = smallest, hi = designed - 1;
    size = smallest;
    while (lo <= hi) {
      const int mid = (lo + hi) / 2;
      if (fits(wrap(text, sized(font, mid), box.width(), out.direction), box.height())) {
        size = mid;
        lo = mid + 1;
      } else {
        hi = mid - 1;
      }
    }
    w = wrap(text, sized(font, size), box.width(), out.direction);
  }
  out.font = sized(font, size);
  out.lineHeight = w.lineHeight;
  out.lines = w.lines;
  if (size < designed && w.lines.size() == 1) {
    const double lower = QFontMetricsF(sized(font, designed)).ascent() - QFontMetricsF(out.font).ascent();
    out.top = qBound(0.0, lower, box.height() - w.lineHeight);
  }
  if (fit == TextFit::ShrinkWhole || fits(w, box.height())) return out;

  // Still too long at the readable size: keep the lines the box holds, the
  // last one taking the rest of the text, and cut what is wider than the
  // box with "…" where the box ends.
  const int keep = qMax(1, qMin<int>(w.lines.size(), linesThatFit(box.height(), w.lineHeight)));
  const QFontMetricsF fm(out.font);
  out.lines.clear();
  for (int i = 0; i < keep; ++i) {
    const QString source = i < keep - 1 ? w.lines[i]
                                        : QString(text.mid(w.starts[i])).replace(QChar::LineSeparator, u' ').trimmed();
    QString line = source;
    for (double room = box.width(); room > 0 && lineWidth(line, out.font, out.direction) > box.width() + 0.5;
         room -= box.width() / 20)
      line = fm.elidedText(source, Qt::ElideRight, room);
    out.lines << line;
  }
  return out;
}

void drawFittedText(QPainter& painter, const FittedText& text, const QRectF& box, Qt::Alignment alignment) {
  double y = box.top() + text.top;
  for (const QString& line : text.lines) {
    QTextLayout layout(line, text.font);
    layout.setTextOption(lineOption(text.direction, alignment, QTextOption::NoWrap));
    layout.beginLayout();
    QTextLine l = layout.createLine();
    if (l.isValid()) {
      l.setLineWidth(box.width());
      l.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(box.left(), y));
    y += text.lineHeight;
  }
}

}  // namespace platform
