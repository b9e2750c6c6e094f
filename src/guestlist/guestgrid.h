#pragma once
// The guest grid's ten columns: header, field, default width, alignments, and
// how a stored answer is shown. Readers address cells by these column numbers.
#include <QString>
#include <QVariant>

namespace guestgrid {

enum ColumnIndex { colFamilyName = 0, colFirstName, colPhones, colInvNum, colRemark, colConfirm,
                   colTable, colInvSent, colAddress, colPresent };

struct Column {
  QString header;
  QString field;
  int defaultWidth;  // twips
  int headerAlignment;
  int cellAlignment;
};

extern const Column kColumns[10];

// 1 "מגיע", 2 "לא", 3 "??", anything else empty.
QString ConfirmText(const QVariant& confirm);

}  // namespace guestgrid
