#include "readingorder.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

namespace platform {
namespace {

constexpr QChar kLeftToRightIsolate(0x2066);
constexpr QChar kRightToLeftIsolate(0x2067);
constexpr QChar kPopIsolate(0x2069);

bool isRightToLeftLetter(QChar c) {
  const auto d = c.direction();
  return d == QChar::DirR || d == QChar::DirAL;
}

bool isLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

// The direction of the widget being painted; the painter itself starts with
// the application's direction, also in a window that is laid out left to right.
Qt::LayoutDirection paintedDirection(const QPainter* painter) {
  const QPaintDevice* device = painter->device();
  if (device && device->devType() == QInternal::Widget)
    return static_cast<const QWidget*>(device)->layoutDirection();
  return painter->layoutDirection();
}

// The text's lines, split where a Windows box breaks them (CR LF, LF, a lone CR).
QList<QStringView> linesOf(const QString& text) {
  QList<QStringView> lines;
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = start;
    while (end < text.size() && !isLineBreak(text[end])) ++end;
    lines.append(QStringView(text).mid(start, end - start));
    if (end + 1 < text.size() && text[end] == QLatin1Char('\r') && text[end + 1] == QLatin1Char('\n')) ++end;
    start = end + 1;
  }
  return lines;
}

class ReadingOrderStyle : public QProxyStyle {
 public:
  // Each line is drawn on its own in its own direction, at the place it has in
  // the whole text's layout: the label sized itself by that layout, and
  // isolate marks in the text would make the lines taller than it measured.
  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& pal, bool enabled,
                    const QString& text, QPalette::ColorRole textRole) const override {
    const Qt::LayoutDirection base = paintedDirection(painter);
    const Qt::LayoutDirection before = painter->layoutDirection();
    painter->setLayoutDirection(base);
    const bool mnemonics = flags & Qt::TextShowMnemonic;
    const QList<QStringView> lines = linesOf(text);
    const QFontMetrics fm = painter->fontMetrics();
    // The box's alignment, fixed before a line's own direction could mirror it.
    const int horizontal = QStyle::visualAlignment(base, Qt::Alignment(flags & Qt::AlignHorizontal_Mask));
    const int lineFlags = (flags & ~(Qt::AlignVertical_Mask | Qt::AlignHorizontal_Mask)) | horizontal | Qt::AlignAbsolute;
    QList<int> heights;  // visual lines of each line, wrapping included
    int total = 0;
    for (QStringView line : lines) {
      const int h = fm.boundingRect(QRect(rect.left(), 0, rect.width(), 1 << 24), lineFlags, line.toString()).height();
      heights.append(std::max(1, (h - fm.height()) / std::max(1, fm.lineSpacing()) + 1));
      total += heights.last();
    }
    const int blockHeight = (total - 1) * fm.lineSpacing() + fm.height();
    int y = rect.top();
    if (flags & Qt::AlignBottom) y = rect.bottom() + 1 - blockHeight;
    else if (flags & Qt::AlignVCenter) y = rect.top() + (rect.height() - blockHeight) / 2;
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const Qt::LayoutDirection own = LineDirection(lines[i], mnemonics);
      const int force = lines[i].trimmed().isEmpty() ? 0
                        : own == Qt::LeftToRight      ? Qt::TextForceLeftToRight
                                                      : Qt::TextForceRightToLeft;
      const QRect at(rect.left(), y, rect.width(), (heights[i] - 1) * fm.lineSpacing() + fm.height());
      QProxyStyle::drawItemText(painter, at, lineFlags | Qt::AlignTop | force, pal, enabled, lines[i].toString(),
                                textRole);
      y += heights[i] * fm.lineSpacing();
    }
    painter->setLayoutDirection(before);
  }

  // Menu items are drawn with the painter directly, not through drawItemText.
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item || item->text.isEmpty()) {
      QProxyStyle::drawControl(element, option, painter, widget);
      return;
    }
    QStyleOptionMenuItem shown(*item);
    const qsizetype tab = shown.text.indexOf(QLatin1Char('\t'));
    const QString caption = tab < 0 ? shown.text : shown.text.left(tab);
    shown.text = ShownText(caption, item->direction, true) + (tab < 0 ? QString() : shown.text.mid(tab));
    const Qt::LayoutDirection before = painter->layoutDirection();
    painter->setLayoutDirection(item->direction);
    QProxyStyle::drawControl(element, &shown, painter, widget);
    painter->setLayoutDirection(before);
  }

  // A message box's text is drawn as a plain label (through drawItemText), so
  // it is not made selectable.
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_MessageBox_TextInteractionFlags) return Qt::LinksAccessibleByMouse;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

Qt::LayoutDirection LineDirection(QStringView line, bool mnemonics) {
  qsizetype i = 0;
  while (i < line.size() && line[i].isSpace()) ++i;
  if (mnemonics && i + 1 < line.size() && line[i] == QLatin1Char('&') && line[i + 1] != QLatin1Char('&')) ++i;
  return i < line.size() && isRightToLeftLetter(line[i]) ? Qt::RightToLeft : Qt::LeftToRight;
}

Qt::LayoutDirection BoxDirection(const QString& text) {
  for (QChar c : text)
    if (isRightToLeftLetter(c)) return Qt::RightToLeft;
  return Qt::LeftToRight;
}

QString ShownText(const QString& text, Qt::LayoutDirection base, bool mnemonics) {
  QString out;
  out.reserve(text.size() + 8);
  const QList<QStringView> lines = linesOf(text);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QStringView line = lines[i];
    if (i > 0) out += QLatin1Char('\n');
    const Qt::LayoutDirection own = LineDirection(line, mnemonics);
    if (line.trimmed().isEmpty() || own == base) {
      out += line;
    } else {
      out += own == Qt::LeftToRight ? kLeftToRightIsolate : kRightToLeftIsolate;
      out += line;
      out += kPopIsolate;
    }
  }
  return out;
}

void UseReadingOrderStyle() { QApplication::setStyle(new ReadingOrderStyle); }

}  // namespace platform
