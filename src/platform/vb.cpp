#include "vb.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "vb_numtext.h"
#include "vberror.h"

namespace vb {
namespace detail {
namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Reads the longest [+-]digits[.digits][(E|D)[+-]digits] from pos (an exponent
// without digits is left out). Returns the position after the number, or -1
// when there are no digits.
qsizetype scan(const QString& s, qsizetype pos, NumberText* out) {
  NumberText n;
  qsizetype i = pos;
  const qsizetype len = s.size();
  if (i < len && (s[i] == u'+' || s[i] == u'-')) {
    n.negative = s[i] == u'-';
    ++i;
  }
  while (i < len && isDigit(s[i])) n.intDigits += s[i++];
  if (i < len && s[i] == u'.') {
    ++i;
    while (i < len && isDigit(s[i])) n.fracDigits += s[i++];
  }
  if (n.intDigits.isEmpty() && n.fracDigits.isEmpty()) return -1;
  if (i < len && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
    qsizetype j = i + 1;
    bool expNegative = false;
    if (j < len && (s[j] == u'+' || s[j] == u'-')) expNegative = s[j++] == u'-';
    if (j < len && isDigit(s[j])) {
      qint64 e = 0;
      while (j < len && isDigit(s[j])) {
        if (e < 100000) e = e * 10 + (s[j].unicode() - u'0');  // beyond any double's range
        ++j;
      }
      n.exponent = expNegative ? -e : e;
      i = j;
    }
  }
  *out = n;
  return i;
}

// Takes out the group separator `sep` where it groups the whole part's
// digits in threes ("12,500.50"); false when it stands anywhere else.
bool ungroup(QString& core, const QString& sep) {
  if (sep.isEmpty() || !core.contains(sep)) return true;
  qsizetype i = 0;
  if (i < core.size() && (core[i] == u'+' || core[i] == u'-')) ++i;
  const qsizetype first = i;
  while (i < core.size() && isDigit(core[i])) ++i;
  if (i == first || i - first > 3) return false;
  QString out = core.left(i);
  while (QStringView(core).mid(i).startsWith(sep)) {
    i += sep.size();
    qsizetype n = 0;
    while (i + n < core.size() && isDigit(core[i + n])) ++n;
    if (n != 3) return false;
    out += core.mid(i, 3);
    i += 3;
  }
  const QString rest = core.mid(i);
  if (rest.contains(sep)) return false;
  core = out + rest;
  return true;
}

QString trimmedBlanks(const QString& text) {
  qsizetype b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return text.mid(b, e - b);
}

bool scanAll(const QString& core, NumberText* out) {
  NumberText n;
  if (scan(core, 0, &n) != core.size()) return false;
  if (out) *out = n;
  return true;
}

}  // namespace

NumberText ScanPrefix(const QString& text) {
  // Val skips blanks, tabs and line feeds anywhere, even between digits.
  QString compact;
  compact.reserve(text.size());
  for (QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\n') compact += c;
  NumberText n;
  scan(compact, 0, &n);
  return n;
}

bool ParseWhole(const QString& text, NumberText* out) {
  QString core = trimmedBlanks(text);
  // A separator that is the decimal point itself is not taken as one.
  const QString sep = QLocale().groupSeparator();
  if (sep != QLatin1String(".") && !ungroup(core, sep)) return false;
  return scanAll(core, out);
}

bool ParseTyped(const QString& text, NumberText* out) {
  const QLocale locale;
  QString core = trimmedBlanks(text);
  // Some locales' signs carry a direction mark (he_IL: U+200E before "-").
  const QString minus = locale.negativeSign(), plus = locale.positiveSign();
  if (minus != QLatin1String("-") && core.startsWith(minus)) core.replace(0, minus.size(), QStringLiteral("-"));
  else if (plus != QLatin1String("+") && core.startsWith(plus)) core.replace(0, plus.size(), QStringLiteral("+"));
  QString sep = locale.groupSeparator();
  if (sep.size() == 1 && sep[0].isSpace()) {  // a plain space stands for a locale's special one
    core.replace(QChar(u' '), sep[0]);
    core.replace(QChar(0xA0), sep[0]);
  }
  if (!ungroup(core, sep)) return false;
  const QString point = locale.decimalPoint();
  if (point != QLatin1String(".")) {
    if (core.contains(u'.')) return false;
    core.replace(point, QStringLiteral("."));
  }
  return scanAll(core, out);
}

double ToDouble(const NumberText& n) {
  if (n.intDigits.isEmpty() && n.fracDigits.isEmpty()) return 0.0;
  const QString all = n.intDigits + n.fracDigits;
  const qsizetype firstNonZero = [&] {
    for (qsizetype i = 0; i < all.size(); ++i)
      if (all[i] != u'0') return i;
    return qsizetype(-1);
  }();
  if (firstNonZero < 0) return 0.0;
  std::string text = (n.intDigits.isEmpty() ? QStringLiteral("0") : n.intDigits).toStdString();
  if (!n.fracDigits.isEmpty()) text += "." + n.fracDigits.toStdString();
  text += "e" + std::to_string(n.exponent);
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Too small is 0; too large is VB's Overflow.
    const qint64 magnitude = n.intDigits.size() - 1 - firstNonZero + n.exponent;
    if (magnitude < 0) return 0.0;
    platform::Raise(6, QStringLiteral("Overflow"));
  }
  if (!std::isfinite(value)) platform::Raise(6, QStringLiteral("Overflow"));
  return n.negative ? -value : value;
}

}  // namespace detail

namespace {

[[noreturn]] void typeMismatch() { platform::Raise(13, QStringLiteral("Type mismatch")); }
[[noreturn]] void overflow() { platform::Raise(6, QStringLiteral("Overflow")); }

qint64 toWhole(const QVariant& value, qint64 lo, qint64 hi) {
  const double r = RoundHalfEven(CDbl(value));
  if (std::isnan(r) || r < static_cast<double>(lo) || r > static_cast<double>(hi)) overflow();
  return static_cast<qint64>(r);
}

bool isTextType(const QVariant& v) {
  const int id = v.metaType().id();
  return id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
}

}  // namespace

double Val(const QString& text) { return detail::ToDouble(detail::ScanPrefix(text)); }

double ValOrInfinity(const QString& text) {
  const detail::NumberText n = detail::ScanPrefix(text);
  try {
    return detail::ToDouble(n);
  } catch (const platform::VbError&) {  // only Overflow
    const double inf = std::numeric_limits<double>::infinity();
    return n.negative ? -inf : inf;
  }
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

bool IsNumeric(const QString& text) { return detail::ParseWhole(text, nullptr); }

std::optional<double> TypedNumber(const QString& text) {
  detail::NumberText n;
  if (!detail::ParseTyped(text, &n)) return std::nullopt;
  try {
    return detail::ToDouble(n);
  } catch (const platform::VbError&) {  // only Overflow
    return n.negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
}

QString ShownNumber(const QString& plain) {
  if (!detail::scanAll(plain, nullptr)) return plain;
  QString shown = plain;
  return shown.replace(u'.', QLocale().decimalPoint());
}

bool IsNumeric(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return false;
  if (value.metaType() == QMetaType::fromType<Currency>()) return true;
  if (isTextType(value)) return IsNumeric(value.toString());
  switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Char:
    case QMetaType::Double:
    case QMetaType::Float:
      return true;
    default:
      return false;
  }
}

double CDbl(const QVariant& value) {
  if (!value.isValid() || value.isNull()) typeMismatch();
  if (value.metaType() == QMetaType::fromType<Currency>()) return value.value<Currency>().toDouble();
  if (value.metaType().id() == QMetaType::Bool) return value.toBool() ? -1.0 : 0.0;
  if (isTextType(value)) {
    detail::NumberText n;
    if (!detail::ParseWhole(value.toString(), &n)) typeMismatch();
    return detail::ToDouble(n);
  }
  if (!IsNumeric(value)) typeMismatch();
  return value.toDouble();
}

int CByte(const QVariant& value) { return static_cast<int>(toWhole(value, 0, 255)); }
int CInt(const QVariant& value) { return static_cast<int>(toWhole(value, -32768, 32767)); }
qint32 CLng(const QVariant& value) {
  return static_cast<qint32>(toWhole(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

bool CBool(const QVariant& value) {
  if (!value.isValid() || value.isNull()) typeMismatch();
  if (value.metaType().id() == QMetaType::Bool) return value.toBool();
  if (isTextType(value)) {
    const QString t = value.toString().trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) return false;
  }
  return CDbl(value) != 0.0;
}

QString LTrim(const QString& s) {
  qsizetype b = 0;
  while (b < s.size() && s[b] == u' ') ++b;
  return s.mid(b);
}

QString RTrim(const QString& s) {
  qsizetype e = s.size();
  while (e > 0 && s[e - 1] == u' ') --e;
  return s.left(e);
}

QString Trim(const QString& s) { return LTrim(RTrim(s)); }

QString Str(qint64 value) { return QString::number(value); }

QString Str(double value) {
  if (std::isnan(value) || std::isinf(value)) return QString::number(value);
  if (value == 0.0) return QStringLiteral("0");
  // 15 significant digits, as VB shows a Double.
  const QString sci = QString::number(std::fabs(value), 'e', 14);  // d.ddddddddddddddde±XX
  const qsizetype ePos = sci.indexOf(u'e');
  QString digits = sci.left(ePos).remove(u'.');
  int exponent = sci.mid(ePos + 1).toInt();
  while (digits.size() > 1 && digits.endsWith(u'0')) digits.chop(1);
  QString out;
  if (exponent >= 15 || exponent < -4) {
    out = digits.left(1);
    if (digits.size() > 1) out += u'.' + digits.mid(1);
    out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QChar(u'0'));
  } else if (exponent < 0) {
    out = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
  } else if (digits.size() <= exponent + 1) {
    out = digits + QString(exponent + 1 - digits.size(), u'0');
  } else {
    out = digits.left(exponent + 1) + u'.' + digits.mid(exponent + 1);
  }
  return value < 0 ? u'-' + out : out;
}

}  // namespace vb
