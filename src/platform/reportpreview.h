#pragma once
// The pages of a report layout on screen, one below the other, drawn by the
// same code that draws them on the printer and into a PDF file, so the
// preview shows exactly what prints.
#include <QScrollArea>

#include "report.h"

namespace platform {

class ReportPreview : public QScrollArea {
  Q_OBJECT
 public:
  explicit ReportPreview(const ReportLayout& layout, QWidget* parent = nullptr);

  // Takes the layout's pages anew.
  void updatePreview();
  // The page's width fills the window, also after the window is resized.
  void fitToWidth();
  void zoomIn();
  void zoomOut();
  double zoomFactor() const { return pixelsPerTwip_; }

  int pageCount() const { return pages_.size(); }
  int currentPage() const;  // 1-based: the page at the top of the window
  void setCurrentPage(int page);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class ReportPreviewPages;
  void setZoom(double pixelsPerTwip);
  QRect pageRect(int index) const;  // on the pages widget, 0-based

  const ReportLayout& layout_;
  QVector<QVector<ReportItem>> pages_;
  double pixelsPerTwip_ = 1.0 / 15;
  bool fitWidth_ = true;
};

}  // namespace platform
