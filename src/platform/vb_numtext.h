#pragma once
// Reading decimal number text, shared by the VB conversions and Currency.
// Internal to src/platform.
#include <QString>

namespace vb::detail {

// A decimal number as written: sign, the digits before and after the point and
// a power-of-ten exponent ("E" or "D").
struct NumberText {
  bool negative = false;
  QString intDigits;
  QString fracDigits;
  qint64 exponent = 0;
};

// The longest number at the start of text (Val's rule); no digits at all when
// the text starts with no number.
NumberText ScanPrefix(const QString& text);
// The whole text as one number, blanks and tabs around it allowed, and the
// locale's group separator between groups of three digits of the whole part.
bool ParseWhole(const QString& text, NumberText* out);
// The whole text as a number typed in the user's locale (QLocale()): its
// decimal mark, its signs, its group separator between groups of three
// digits of the whole part; blanks and tabs around it.
bool ParseTyped(const QString& text, NumberText* out);
// The value as a double; raises Overflow (6) when it is too large.
double ToDouble(const NumberText& n);

}  // namespace vb::detail
