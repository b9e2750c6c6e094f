#pragma once
// Text in a report box, in twips: wrapped at words into the lines the box
// holds, made smaller when it does not fit, and where it may be cut, ended
// with "…" at the box's edge. Only what shows is drawn, so a PDF holds no
// hidden words, and the preview, the printer and the PDF draw it alike.
#include <QFont>
#include <QRectF>
#include <QStringList>

class QPainter;

namespace platform {

enum class TextFit {
  ShrinkThenCut,  // down to a readable size, then cut with "…"
  ShrinkWhole,    // as small as it takes: never cut (a guest's name)
};

// The smallest size a value is shrunk to before it is cut.
inline constexpr double kReadablePoints = 6.5;

struct FittedText {
  QFont font;  // pixel size in twips
  QStringList lines;
  double lineHeight = 0;
  double top = 0;  // below the box's top: a smaller text keeps the designed baseline
  Qt::LayoutDirection direction = Qt::LeftToRight;
};

// `font` as designed (points); LayoutDirectionAuto takes the text's own direction.
FittedText fitText(const QString& text, const QFont& font, const QSizeF& box, Qt::LayoutDirection direction,
                   TextFit fit);
// From the box's top, each line placed by the alignment's horizontal part.
void drawFittedText(QPainter& painter, const FittedText& text, const QRectF& box, Qt::Alignment alignment);

}  // namespace platform
