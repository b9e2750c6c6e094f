#include "statusbar.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

#include "vb.h"
#include "vberror.h"

namespace platform {

namespace {
Qt::Alignment qtAlignment(int alignment) {
  switch (alignment) {
    case StatusBar::sbrCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case StatusBar::sbrRight: return Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignVCenter;
  }
}
}  // namespace

// Places the panels one after another at their own widths; the strip asks
// for room for all of them but can be narrower, and then clips the last.
class PanelStrip : public QWidget {
 public:
  PanelStrip(QWidget* parent, const QVector<QLabel*>& panels) : QWidget(parent), panels_(panels) {}
  QSize sizeHint() const override {
    int width = 0, height = 0;
    for (QLabel* l : panels_) {
      width += l->width() + kGap;
      height = std::max(height, l->sizeHint().height());
    }
    return {width, height};
  }
  QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }
  void place() {
    int x = 0;
    for (QLabel* l : panels_) {
      const int w = l->width();
      l->setGeometry(QStyle::visualRect(layoutDirection(), rect(), QRect(x, 0, w, height())));
      x += w + kGap;
    }
    updateGeometry();
  }

 protected:
  void resizeEvent(QResizeEvent*) override { place(); }
  void changeEvent(QEvent* e) override {
    if (e->type() == QEvent::LayoutDirectionChange) place();
    QWidget::changeEvent(e);
  }

 private:
  static constexpr int kGap = 3;
  const QVector<QLabel*>& panels_;
};

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), strip_(new PanelStrip(this, panels_)) {
  addPermanentWidget(strip_, 1);
}

int StatusBar::AddPanel() {
  auto* label = new QLabel(strip_);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(qtAlignment(sbrLeft));
  label->installEventFilter(this);
  panels_.append(label);
  alignments_.append(sbrLeft);
  widths_.append(-1);
  strip_->place();
  return panels_.size();
}

int StatusBar::PanelCount() const { return panels_.size(); }

QLabel* StatusBar::PanelLabel(int index) const {
  if (index < 1 || index > panels_.size()) Raise(35600, QStringLiteral("Index out of bounds"));
  return panels_[index - 1];
}

QString StatusBar::PanelText(int index) const { return PanelLabel(index)->text(); }

void StatusBar::SetPanelText(int index, const QString& text) {
  PanelLabel(index)->setText(text);
  fitPanel(index);
}

// A panel is never narrower than its text, so nothing it shows is cut.
void StatusBar::fitPanel(int index) {
  QLabel* label = PanelLabel(index);
  const int twips = widths_[index - 1];
  if (twips < 0) return;
  const int textWidth = label->text().isEmpty()
                            ? 0
                            : label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 8;
  label->setFixedWidth(std::max(vb::TwipsToPixelsX(twips), textWidth));
  strip_->place();
}

// Twips set by code read back exactly while the panel keeps the pixel width
// they gave.
int StatusBar::PanelWidth(int index) const {
  const int twips = widths_[index - 1];
  if (twips >= 0) return twips;
  return qRound(vb::PixelsToTwipsX(PanelLabel(index)->width()));
}

void StatusBar::SetPanelWidth(int index, int twips) {
  QLabel* label = PanelLabel(index);
  widths_[index - 1] = std::max(0, twips);
  label->setFixedWidth(vb::TwipsToPixelsX(std::max(0, twips)));
  fitPanel(index);
  strip_->place();
}

int StatusBar::PanelAlignment(int index) const {
  PanelLabel(index);
  return alignments_[index - 1];
}

void StatusBar::SetPanelAlignment(int index, int alignment) {
  QLabel* label = PanelLabel(index);
  if (alignment < sbrLeft || alignment > sbrRight) Raise(380, QStringLiteral("Invalid property value"));
  alignments_[index - 1] = alignment;
  label->setAlignment(qtAlignment(alignment));
}

// A label shows a picture or a text; the panels that have a picture have no text.
void StatusBar::SetPanelPicture(int index, const QPixmap& picture) { PanelLabel(index)->setPixmap(picture); }

void StatusBar::SetPanelToolTip(int index, const QString& text) { PanelLabel(index)->setToolTip(text); }

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    const int i = panels_.indexOf(static_cast<QLabel*>(watched));
    if (i >= 0) {
      RunHandler([&] { emit PanelDblClick(i + 1); });
      return true;
    }
  }
  return QStatusBar::eventFilter(watched, event);
}

}  // namespace platform
