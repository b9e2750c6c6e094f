// Currency: exact decimal arithmetic on a 64-bit count of ten-thousandths.
#include <cmath>
#include <limits>

#include "vb.h"
#include "vb_numtext.h"
#include "vberror.h"

namespace vb {
namespace {

[[noreturn]] void overflow() { platform::Raise(6, QStringLiteral("Overflow")); }

// The number times 10^4, rounded half to even, exactly.
qint64 scaledExact(const detail::NumberText& n) {
  QString digits = n.intDigits + n.fracDigits;
  // Position of the decimal point in digits once multiplied by 10^4.
  const qint64 point = n.intDigits.size() + 4 + n.exponent;
  while (!digits.isEmpty() && digits.front() == u'0') digits.remove(0, 1);
  if (digits.isEmpty()) return 0;
  const qint64 leadingZerosDropped = (n.intDigits + n.fracDigits).size() - digits.size();
  const qint64 intLen = point - leadingZerosDropped;  // digits before the point
  if (intLen > 20) overflow();

  unsigned __int128 whole = 0;
  for (qint64 i = 0; i < intLen; ++i) {
    const int d = i < digits.size() ? digits[i].unicode() - u'0' : 0;
    whole = whole * 10 + d;
  }
  // Rounding on what lies after the point.
  const qint64 firstFrac = std::max<qint64>(intLen, 0);
  int roundDigit = 0;
  bool restNonZero = false;
  if (intLen >= 0) {
    if (firstFrac < digits.size()) roundDigit = digits[firstFrac].unicode() - u'0';
    for (qint64 i = firstFrac + 1; i < digits.size(); ++i)
      if (digits[i] != u'0') restNonZero = true;
  } else {
    // Every digit lies beyond the first place after the point.
    restNonZero = true;
    roundDigit = 0;
  }
  if (roundDigit > 5 || (roundDigit == 5 && (restNonZero || (whole & 1)))) whole += 1;

  const unsigned __int128 limit = n.negative
      ? static_cast<unsigned __int128>(std::numeric_limits<qint64>::max()) + 1
      : static_cast<unsigned __int128>(std::numeric_limits<qint64>::max());
  if (whole > limit) overflow();
  if (n.negative) return static_cast<qint64>(-static_cast<__int128>(whole));
  return static_cast<qint64>(whole);
}

}  // namespace

Currency Currency::fromText(const QString& text) {
  detail::NumberText n;
  if (!detail::ParseWhole(text, &n)) platform::Raise(13, QStringLiteral("Type mismatch"));
  return fromRaw(scaledExact(n));
}

std::optional<Currency> Currency::fromTyped(const QString& text) {
  detail::NumberText n;
  if (!detail::ParseTyped(text, &n)) return std::nullopt;
  return fromRaw(scaledExact(n));
}

Currency Currency::fromDouble(double value) {
  if (std::isnan(value) || std::isinf(value) || std::fabs(value) >= 1e16) overflow();
  // The shortest text that reads back as this double, so that 0.1 is 0.1000.
  return fromText(QString::number(value, 'g', QLocale::FloatingPointShortest));
}

QString Currency::toString() const {
  const bool negative = raw_ < 0;
  const quint64 magnitude = negative ? quint64(0) - static_cast<quint64>(raw_) : static_cast<quint64>(raw_);
  QString out = QString::number(magnitude / kScale);
  if (const quint64 frac = magnitude % kScale) {
    QString f = QStringLiteral("%1").arg(frac, 4, 10, QChar(u'0'));
    while (f.endsWith(u'0')) f.chop(1);
    out += u'.' + f;
  }
  return negative ? u'-' + out : out;
}

Currency Currency::operator+(const Currency& o) const {
  qint64 sum = 0;
  if (__builtin_add_overflow(raw_, o.raw_, &sum)) overflow();
  return fromRaw(sum);
}

}  // namespace vb
