#pragma once
// What a report page really puts on paper: a paint device that records the
// text runs a painter hands to its engine (what a PDF file holds, and where),
// and the page as the preview window shows it on screen.
#include <QImage>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <memory>

#include "platform/report.h"
#include "platform/reportwindow.h"

struct TextRun {
  QString text;
  QRectF box;        // twips on the page: from the top of the glyphs to their bottom
  double pixelSize;  // twips
};

class TextRunEngine : public QPaintEngine {
 public:
  explicit TextRunEngine(QVector<TextRun>* runs) : QPaintEngine(QPaintEngine::AllFeatures), runs_(runs) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawPath(const QPainterPath&) override {}
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawTextItem(const QPointF& p, const QTextItem& ti) override {
    const QTransform t = painter()->combinedTransform();
    const QRectF r(p.x(), p.y() - ti.ascent(), ti.width(), ti.ascent() + ti.descent());
    runs_->append({ti.text(), t.mapRect(r), ti.font().pixelSize() * t.m22()});
  }
  Type type() const override { return User; }

 private:
  QVector<TextRun>* runs_;
};

// One twip per device pixel, A4.
class TextRunDevice : public QPaintDevice {
 public:
  TextRunDevice() : engine_(std::make_unique<TextRunEngine>(&runs)) {}
  ~TextRunDevice() override = default;
  QPaintEngine* paintEngine() const override { return engine_.get(); }
  QVector<TextRun> runs;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return 11906;
      case PdmHeight: return 16838;
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 1440;
      case PdmDepth: return 32;
      case PdmNumColors: return INT_MAX;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  std::unique_ptr<TextRunEngine> engine_;
};

// The text runs one item of a page puts on paper.
inline QVector<TextRun> textRunsOf(const platform::ReportItem& item) {
  TextRunDevice device;
  {
    QPainter painter(&device);
    platform::ReportLayout::paintPage(painter, {item}, 1440, 1440);
  }
  return device.runs;
}

// Each run of an item and where it lies, for a failure message.
inline QString describe(const platform::ReportItem& it, const QVector<TextRun>& runs) {
  QStringList parts;
  for (const auto& r : runs)
    parts << QStringLiteral("'%1' at %2,%3 %4x%5").arg(r.text).arg(r.box.x()).arg(r.box.y()).arg(r.box.width())
                 .arg(r.box.height());
  return QStringLiteral("%1 '%2' in %3,%4 %5x%6: %7")
      .arg(it.control, it.text)
      .arg(it.rect.x())
      .arg(it.rect.y())
      .arg(it.rect.width())
      .arg(it.rect.height())
      .arg(parts.join(QStringLiteral("; ")));
}

// Where on the page the run holding `part` begins (NaN when none holds it).
inline double leftOfRun(const QVector<TextRun>& runs, const QString& part) {
  for (const auto& r : runs)
    if (r.text.contains(part)) return r.box.left();
  return std::numeric_limits<double>::quiet_NaN();
}

// The characters of a text, sorted, blanks left out: runs come in visual
// pieces, so this is what "the same text" can be compared by.
inline QString letters(QString text) {
  text.remove(QLatin1Char(' '));
  std::sort(text.begin(), text.end());
  return text;
}

inline QString letters(const QVector<TextRun>& runs) {
  QString all;
  for (const auto& r : runs) all += r.text;
  return letters(all);
}

// Every run inside the box (one twip of slack for rounding).
inline bool allInside(const QVector<TextRun>& runs, const QRectF& box) {
  const QRectF slack = box.adjusted(-1, -1, 1, 1);
  for (const auto& r : runs)
    if (!slack.contains(r.box)) return false;
  return true;
}

// The first page of a report window's preview, cut out of the window as it is
// shown on screen: the widest run of white in each row marks the paper.
inline QImage previewedPage(platform::ReportWindow& window) {
  const QImage shot = static_cast<QWidget*>(window.preview)->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int top = -1, bottom = -1, left = 0, right = 0;
  for (int y = 0; y < shot.height(); ++y) {
    int bestStart = 0, bestLen = 0, start = 0, len = 0;
    for (int x = 0; x < shot.width(); ++x) {
      if (shot.pixel(x, y) == 0xFFFFFFFF) {
        if (len++ == 0) start = x;
        if (len > bestLen) bestLen = len, bestStart = start;
      } else {
        len = 0;
      }
    }
    if (bestLen < shot.width() * 2 / 5) continue;
    if (top < 0) top = y, left = bestStart, right = bestStart + bestLen;
    bottom = y;
  }
  if (top < 0) return QImage();
  return shot.copy(QRect(left, top, right - left, bottom - top + 1));
}

// Which columns of a strip hold ink.
inline QVector<bool> inkColumns(const QImage& strip) {
  QVector<bool> ink(strip.width(), false);
  for (int x = 0; x < strip.width(); ++x)
    for (int y = 0; y < strip.height() && !ink[x]; ++y) ink[x] = qGray(strip.pixel(x, y)) < 140;
  return ink;
}

// Share of inked columns of either strip that have no ink within a pixel in
// the other: 0 for the same text in the same places.
inline double inkMismatch(const QImage& a, const QImage& b) {
  const QVector<bool> ia = inkColumns(a), ib = inkColumns(b);
  const int n = qMin(ia.size(), ib.size());
  auto near = [n](const QVector<bool>& v, int x) {
    for (int d = -1; d <= 1; ++d)
      if (x + d >= 0 && x + d < n && v[x + d]) return true;
    return false;
  };
  int inked = 0, missing = 0;
  for (int x = 0; x < n; ++x) {
    if (ia[x]) ++inked, missing += near(ib, x) ? 0 : 1;
    if (ib[x]) ++inked, missing += near(ia, x) ? 0 : 1;
  }
  return inked == 0 ? 1.0 : double(missing) / inked;
}
