#pragma once
// A status bar of numbered panels (from 1), each with a width in twips, an
// alignment, a text, an optional picture and a tooltip. The panels stand side
// by side from the bar's start (the right in a right-to-left window); in a
// bar too narrow for all of them the last ones are cut at its far edge,
// never drawn over each other.
#include <QPixmap>
#include <QStatusBar>
#include <QVector>

class QLabel;

namespace platform {

class StatusBar : public QStatusBar {
  Q_OBJECT
 public:
  enum PanelAlignment { sbrLeft = 0, sbrCenter = 1, sbrRight = 2 };
  explicit StatusBar(QWidget* parent = nullptr);

  int AddPanel();  // returns its index (from 1)
  int PanelCount() const;
  QString PanelText(int index) const;
  void SetPanelText(int index, const QString& text);
  int PanelWidth(int index) const;  // twips
  void SetPanelWidth(int index, int twips);
  int PanelAlignment(int index) const;
  void SetPanelAlignment(int index, int alignment);
  void SetPanelPicture(int index, const QPixmap& picture);
  void SetPanelToolTip(int index, const QString& text);
  QLabel* PanelLabel(int index) const;  // raises 35600 out of range

 signals:
  void PanelDblClick(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitPanel(int index);
  class PanelStrip* strip_;
  QVector<QLabel*> panels_;
  QVector<int> alignments_;
  QVector<int> widths_;  // twips last set per panel (-1: none)
};

}  // namespace platform
