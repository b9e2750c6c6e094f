#pragma once
// What a widget draws, compared with how a text reads in a paragraph of a
// given direction. Images are reduced to their ink (dark pixels, cropped to
// their bounds), so where a widget aligns its text does not matter.
#include <QFont>
#include <QImage>
#include <QString>

class QWidget;

namespace testsupport {

QImage Ink(const QImage& image, const QRect& within = QRect());
// The widget as the user sees it.
QImage InkOf(QWidget* widget, const QRect& within = QRect());
// The text drawn on one line as a paragraph of this direction (mnemonics shown
// as the style shows them).
QImage InkOfLine(const QString& text, const QFont& font, Qt::LayoutDirection direction);
// Where the dark pixels of an image lie (null when there are none).
QRect InkBounds(const QImage& image);
// True when the two inks are the same picture.
bool SameInk(const QImage& a, const QImage& b);

}  // namespace testsupport
