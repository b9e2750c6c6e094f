#pragma once
// A grid filled as the guest list fills one, cell by cell through the current
// cell (header-only: the benchmarks use it too).
#include <QColor>
#include <QString>
#include <QVector>

#include "platform/flexgrid.h"

namespace testsupport {

inline const QColor kEvenRows(0x11, 0x22, 0x33), kDeclinedRows(0x80, 0x80, 0x80);

// The texts of rows 1..rows of ten columns, "r<row>c<column>", row by row.
inline QVector<QString> gridTexts(int rows) {
  QVector<QString> texts;
  texts.reserve(rows * 10);
  for (int r = 1; r <= rows; ++r)
    for (int c = 0; c < 10; ++c) texts.append(QStringLiteral("r%1c%2").arg(r).arg(c));
  return texts;
}

// Rows 1..texts/10 filled from the right: column 3 centred, even rows shaded,
// every seventh row grey and bold.
inline void fillGrid(platform::FlexGrid& g, const QVector<QString>& texts) {
  const int rows = int(texts.size() / 10);
  g.SetRows(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    g.SetRow(r);
    for (int c = 9; c >= 0; --c) {
      g.SetCol(c);
      g.SetCellAlignment(c == 3 ? platform::FlexGrid::flexAlignCenterCenter : platform::FlexGrid::flexAlignRightCenter);
      g.SetText(texts[(r - 1) * 10 + c]);
      if (r % 2 == 0) g.SetCellBackColor(kEvenRows);
      if (r % 7 == 0) {
        g.SetCellForeColor(kDeclinedRows);
        g.SetCellFontBold(true);
      }
    }
  }
}

}  // namespace testsupport
