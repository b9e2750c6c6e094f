#pragma once
// VB's lightweight drawing controls: a Shape (rectangle or circle, filled or
// not) and a Line, placed in twips on their window. They take no input.
#include <QColor>
#include <QWidget>

namespace platform {

class Shape : public QWidget {
 public:
  enum Kind { Rectangle = 0, Circle = 3 };
  // left, top, width, height in twips.
  Shape(QWidget* parent, Kind kind, double left, double top, double width, double height);
  Kind kind() const { return kind_; }
  QColor FillColor() const { return fill_; }
  void SetFillColor(const QColor& colour);  // an invalid colour: not filled
  void SetBorderColor(const QColor& colour);

 protected:
  void paintEvent(class QPaintEvent*) override;

 private:
  Kind kind_;
  QColor fill_;
  QColor border_ = Qt::black;
};

// A straight line between two points given in twips of the parent window.
class LineControl : public QWidget {
 public:
  LineControl(QWidget* parent, double x1, double y1, double x2, double y2);
  void SetBorderColor(const QColor& colour);

 protected:
  void paintEvent(class QPaintEvent*) override;

 private:
  QPoint from_, to_;  // in this widget's pixels
  QColor colour_ = Qt::black;
};

}  // namespace platform
