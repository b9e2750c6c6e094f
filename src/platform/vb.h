#pragma once
// The VB conversions the program relies on, with VB's rules: Val reads the
// number a text begins with, whole-number conversions round halves to even and
// raise "Type mismatch" (13) or "Overflow" (6), booleans are "True"/"False".
#include <QColor>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <optional>

namespace vb {

// The decimal number at the start of the text; blanks, tabs and line feeds are
// skipped, "." is the decimal point, 0 when the text starts with no number.
double Val(const QString& text);
// Val without its Overflow: a number too large for a double gives an infinity
// of its sign, for callers that only compare it with a bound.
double ValOrInfinity(const QString& text);

// Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
double RoundHalfEven(double value);

// True when the whole text (blanks around it allowed) reads as a number. The
// locale's group separator may group the whole part's digits ("12,500.50");
// CDbl and Currency::fromText then take the full value, Val stops at it.
bool IsNumeric(const QString& text);
bool IsNumeric(const QVariant& value);

// A number as the user types it, read in the user's locale (QLocale()): the
// whole text, blanks around it allowed, with the locale's decimal mark and its
// group separator between groups of three digits of the whole part (under
// de_DE "1.500" is 1500 and "12,50" is 12.5). Nothing when the text is not
// such a number; beyond a double, an infinity of its sign.
std::optional<double> TypedNumber(const QString& text);
// A number in the plain form it is stored in ("1500.5", as Str and
// Currency::toString write it) shown in the user's locale ("1500,5" under
// de_DE), no groups added; any other text as it is.
QString ShownNumber(const QString& plain);

// Conversions of a value (number, bool or text) as VB's CDbl/CByte/CInt/CLng/CBool.
// Text must be numeric as a whole; Null or "" raise Type mismatch.
double CDbl(const QVariant& value);
int CByte(const QVariant& value);    // 0..255
int CInt(const QVariant& value);     // -32768..32767
qint32 CLng(const QVariant& value);  // 32-bit signed
bool CBool(const QVariant& value);   // "True"/"False" in any case, or a number (0 = False)

// VB's Trim, LTrim, RTrim: spaces only.
QString Trim(const QString& s);
QString LTrim(const QString& s);
QString RTrim(const QString& s);

// A number as VB prints it: whole numbers plainly ("100", "-3"), others with
// "." and up to 15 significant digits, no exponent for ordinary magnitudes.
QString Str(double value);
QString Str(qint64 value);
inline QString Str(int value) { return Str(static_cast<qint64>(value)); }
inline QString Str(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// Money: a signed 64-bit count of ten-thousandths, exact.
class Currency {
 public:
  static constexpr qint64 kScale = 10000;
  Currency() = default;
  static Currency fromRaw(qint64 raw) { Currency c; c.raw_ = raw; return c; }
  // Raises Overflow (6) outside the range, Type mismatch (13) for non-numbers.
  static Currency fromDouble(double value);
  static Currency fromText(const QString& text);  // exact decimal parse, 4 places, half-even
  // An amount as the user types it (TypedNumber's rules), exact; nothing when
  // it is not a number there, Overflow (6) outside the range.
  static std::optional<Currency> fromTyped(const QString& text);
  qint64 raw() const { return raw_; }
  double toDouble() const { return static_cast<double>(raw_) / kScale; }
  QString toString() const;  // "1500", "12.5", "-0.0001"
  Currency operator+(const Currency& o) const;  // raises Overflow
  bool operator==(const Currency& o) const { return raw_ == o.raw_; }
  bool operator<(const Currency& o) const { return raw_ < o.raw_; }

 private:
  qint64 raw_ = 0;
};

// Dates are shown and stored as dd/MM/yyyy whatever the machine's locale; a time
// of day, when the value has one, follows as " HH:mm:ss". Reading accepts the
// same forms (a time after the date included).
QString DateText(const QDateTime& value);
QString DateText(const QDate& value);
std::optional<QDateTime> ParseDate(const QString& text);
// Text that is not a date gives today (midnight).
QDateTime CDateOrToday(const QString& text);
QDateTime Today();  // today at midnight; tests may fix it
void SetTodayForTests(const QDate& date);  // invalid date: the real today again

// Twips (1/1440 inch) and pixels, at the screen's logical DPI (15 twips per
// pixel at 96 DPI).
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

// A 0x00BBGGRR colour; values from 0x80000000 name a system colour by its
// index in the low byte and map to the palette's equivalent.
QColor OleColor(quint32 value);
quint32 ToOleColor(const QColor& colour);

}  // namespace vb
Q_DECLARE_METATYPE(vb::Currency)
