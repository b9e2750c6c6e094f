#include "reportpreview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace platform {

namespace {
constexpr int kGap = 12;  // pixels around and between pages
}

class ReportPreviewPages : public QWidget {
 public:
  explicit ReportPreviewPages(ReportPreview* preview) : QWidget(preview), preview_(preview) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    const double dpi = preview_->pixelsPerTwip_ * 1440;
    for (int i = 0; i < preview_->pages_.size(); ++i) {
      const QRect page = preview_->pageRect(i);
      if (!page.intersects(event->rect())) continue;
      painter.save();
      painter.setClipRect(page);
      painter.fillRect(page, Qt::white);
      painter.translate(page.topLeft());
      ReportLayout::paintPage(painter, preview_->pages_[i], dpi, dpi);
      painter.restore();
    }
  }

 private:
  ReportPreview* preview_;
};

ReportPreview::ReportPreview(const ReportLayout& layout, QWidget* parent) : QScrollArea(parent), layout_(layout) {
  setWidget(new ReportPreviewPages(this));
  setWidgetResizable(false);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
  // A steady width, so fitting the page to it does not make it change.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QRect ReportPreview::pageRect(int index) const {
  const int w = qRound(layout_.PaperSize.width() * pixelsPerTwip_);
  const int h = qRound(layout_.PaperSize.height() * pixelsPerTwip_);
  return QRect(kGap, kGap + index * (h + kGap), w, h);
}

void ReportPreview::setZoom(double pixelsPerTwip) {
  pixelsPerTwip_ = qBound(0.005, pixelsPerTwip, 1.0);
  const QRect last = pageRect(qMax(0, int(pages_.size()) - 1));
  widget()->resize(last.right() + 1 + kGap, last.bottom() + 1 + kGap);
  widget()->update();
}

void ReportPreview::updatePreview() {
  pages_ = layout_.Pages();
  if (fitWidth_) fitToWidth();
  else setZoom(pixelsPerTwip_);
}

void ReportPreview::fitToWidth() {
  fitWidth_ = true;
  const int room = viewport()->width() - 2 * kGap;
  setZoom(qMax(50, room) / layout_.PaperSize.width());
}

void ReportPreview::zoomIn() {
  fitWidth_ = false;
  setZoom(pixelsPerTwip_ * 1.25);
}

void ReportPreview::zoomOut() {
  fitWidth_ = false;
  setZoom(pixelsPerTwip_ / 1.25);
}

int ReportPreview::currentPage() const {
  const int top = verticalScrollBar()->value();
  const int step = pageRect(1).top() - pageRect(0).top();
  return qBound(1, (top + step / 2) / qMax(1, step) + 1, qMax(1, int(pages_.size())));
}

void ReportPreview::setCurrentPage(int page) {
  const int index = qBound(1, page, qMax(1, int(pages_.size()))) - 1;
  verticalScrollBar()->setValue(pageRect(index).top() - kGap);
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (fitWidth_) fitToWidth();
}

}  // namespace platform
