// Values going into and out of the engine: conversion to a field's type,
// Jet's rules on Update, and the stored form in SQLite.
//
// Conversions on SetValue: numbers and numeric text go into every number
// field, whole-number fields rounding halves to even; True is -1 in Integer,
// Long and Currency fields (VB's value of True) but 1 in a Byte field, which
// cannot hold -1; a Boolean field takes True for any non-zero number and the
// texts "True"/"False"; a Text field takes numbers in their plain decimal form.
#include <cmath>
#include <limits>

#include "dao_internal.h"

namespace dao::detail {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QStringView trimBlanks(QStringView text) {
  while (!text.isEmpty() && isBlank(text.front())) text = text.mid(1);
  while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
  return text;
}

// Splits a number into its parts; false when the text is not one number.
struct NumberParts {
  bool negative = false;
  QStringView whole, fraction;
  bool hasExponent = false;
};

bool splitNumber(QStringView text, NumberParts& parts) {
  text = trimBlanks(text);
  int i = 0;
  const int n = int(text.size());
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) parts.negative = text[i++] == QLatin1Char('-');
  const int wholeStart = i;
  while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
  parts.whole = text.mid(wholeStart, i - wholeStart);
  if (i < n && text[i] == QLatin1Char('.')) {
    const int fractionStart = ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
    parts.fraction = text.mid(fractionStart, i - fractionStart);
  }
  if (parts.whole.isEmpty() && parts.fraction.isEmpty()) return false;
  if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
    ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
    const int expStart = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
    if (i == expStart) return false;
    parts.hasExponent = true;
  }
  return i == n;
}

constexpr double kTwo63 = 9223372036854775808.0;

// Halves to even; Overflow outside 64 bits.
Cell roundToCell(double value) {
  if (!std::isfinite(value)) return Cell::overflow();
  const double r = std::nearbyint(value);  // default rounding: to nearest, ties to even
  if (r >= kTwo63 || r < -kTwo63) return Cell::overflow();
  return Cell::integer(static_cast<qint64>(r));
}

// Ten-thousandths to whole units, halves to even.
qint64 currencyToWhole(qint64 raw) {
  qint64 q = raw / vb::Currency::kScale;
  const qint64 r = raw % vb::Currency::kScale;
  const qint64 half = vb::Currency::kScale / 2;
  const qint64 sign = raw < 0 ? -1 : 1;
  if (std::abs(r) > half || (std::abs(r) == half && (q % 2 != 0))) q += sign;
  return q;
}

bool isCurrency(const QVariant& v) { return v.metaType() == QMetaType::fromType<vb::Currency>(); }

[[noreturn]] void raiseConversion() { platform::Raise(3421, QStringLiteral("Data type conversion error.")); }

enum class Kind { Null, Bool, Integer, Double, Text, Money, Other };

Kind kindOf(const QVariant& v) {
  if (!v.isValid()) return Kind::Null;
  if (isCurrency(v)) return Kind::Money;
  switch (v.typeId()) {
    case QMetaType::Bool: return Kind::Bool;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return Kind::Integer;
    case QMetaType::Double:
    case QMetaType::Float: return Kind::Double;
    case QMetaType::QString:
    case QMetaType::QChar: return Kind::Text;
    default: return Kind::Other;
  }
}

Cell integerCell(const QVariant& v) {
  if (v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::ULong) {
    const qulonglong u = v.toULongLong();
    if (u > qulonglong(std::numeric_limits<qint64>::max())) return Cell::overflow();
    return Cell::integer(qint64(u));
  }
  return Cell::integer(v.toLongLong());
}

Cell toWhole(const ColumnInfo& column, const QVariant& v) {
  switch (kindOf(v)) {
    case Kind::Bool: return Cell::integer(v.toBool() ? (column.type == dbByte ? 1 : -1) : 0);
    case Kind::Integer: return integerCell(v);
    case Kind::Double:
      if (std::isnan(v.toDouble())) raiseConversion();
      return roundToCell(v.toDouble());
    case Kind::Money: return Cell::integer(currencyToWhole(v.value<vb::Currency>().raw()));
    case Kind::Text: {
      double d = 0;
      if (!parseNumber(v.toString(), d)) raiseConversion();
      return roundToCell(d);
    }
    default: raiseConversion();
  }
}

Cell toBoolean(const QVariant& v) {
  auto boolCell = [](bool b) { return Cell::integer(b ? -1 : 0); };
  switch (kindOf(v)) {
    case Kind::Bool: return boolCell(v.toBool());
    case Kind::Integer: return boolCell(integerCell(v).kind == Cell::Overflow || integerCell(v).i != 0);
    case Kind::Double:
      if (std::isnan(v.toDouble())) raiseConversion();
      return boolCell(v.toDouble() != 0);
    case Kind::Money: return boolCell(v.value<vb::Currency>().raw() != 0);
    case Kind::Text: {
      const QStringView t = trimBlanks(v.toString());
      if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return boolCell(true);
      if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return boolCell(false);
      double d = 0;
      if (!parseNumber(t, d)) raiseConversion();
      return boolCell(d != 0);
    }
    default: raiseConversion();
  }
}

Cell toMoney(const QVariant& v) {
  switch (kindOf(v)) {
    case Kind::Bool: return Cell::integer(v.toBool() ? -vb::Currency::kScale : 0);
    case Kind::Integer: {
      const Cell whole = integerCell(v);
      qint64 raw = 0;
      if (whole.kind == Cell::Overflow || __builtin_mul_overflow(whole.i, vb::Currency::kScale, &raw))
        return Cell::overflow();
      return Cell::integer(raw);
    }
    case Kind::Double:
      if (std::isnan(v.toDouble())) raiseConversion();
      return roundToCell(v.toDouble() * double(vb::Currency::kScale));
    case Kind::Money: return Cell::integer(v.value<vb::Currency>().raw());
    case Kind::Text: {
      qint64 raw = 0;
      switch (parseCurrency(v.toString(), raw)) {
        case Parsed::Ok: return Cell::integer(raw);
        case Parsed::Overflow: return Cell::overflow();
        case Parsed::NotNumber: raiseConversion();
      }
      raiseConversion();
    }
    default: raiseConversion();
  }
}

Cell toText(const QVariant& v) {
  switch (kindOf(v)) {
    case Kind::Bool: return Cell::text(v.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    case Kind::Integer: return Cell::text(v.toString());
    case Kind::Double: {
      const double d = v.toDouble();
      if (!std::isfinite(d)) raiseConversion();
      return Cell::text(QString::number(d, 'g', 15));
    }
    case Kind::Money: return Cell::text(currencyText(v.value<vb::Currency>().raw()));
    case Kind::Text: return Cell::text(v.toString());
    default: raiseConversion();
  }
}

QString qualified(const QString& table, const ColumnInfo& column) { return table + QLatin1Char('.') + column.name; }

}  // namespace

bool parseNumber(QStringView text, double& value) {
  NumberParts parts;
  if (!splitNumber(text, parts)) return false;
  bool ok = false;
  value = trimBlanks(text).toString().toDouble(&ok);  // C locale: "." is the point
  return ok && std::isfinite(value);
}

Parsed parseCurrency(QStringView text, qint64& raw) {
  NumberParts parts;
  if (!splitNumber(text, parts)) return Parsed::NotNumber;
  if (parts.hasExponent) {
    double d = 0;
    if (!parseNumber(text, d)) return Parsed::NotNumber;
    const Cell c = roundToCell(d * double(vb::Currency::kScale));
    if (c.kind == Cell::Overflow) return Parsed::Overflow;
    raw = c.i;
    return Parsed::Ok;
  }
  // Exact: whole digits, four decimals, the rest decides the rounding.
  __int128 value = 0;
  for (QChar c : parts.whole) {
    value = value * 10 + (c.unicode() - '0');
    if (value > (__int128(1) << 64)) return Parsed::Overflow;
  }
  for (int i = 0; i < 4; ++i)
    value = value * 10 + (i < parts.fraction.size() ? parts.fraction[i].unicode() - '0' : 0);
  if (parts.fraction.size() > 4) {
    const QStringView rest = parts.fraction.mid(4);
    const int first = rest[0].unicode() - '0';
    bool moreThanHalf = first > 5;
    if (first == 5)
      for (QChar c : rest.mid(1))
        if (c != QLatin1Char('0')) moreThanHalf = true;
    const bool half = first == 5 && !moreThanHalf;
    if (moreThanHalf || (half && value % 2 != 0)) ++value;
  }
  if (parts.negative) value = -value;
  if (value > std::numeric_limits<qint64>::max() || value < std::numeric_limits<qint64>::min()) return Parsed::Overflow;
  raw = qint64(value);
  return Parsed::Ok;
}

QString currencyText(qint64 raw) {
  const bool negative = raw < 0;
  const quint64 magnitude = negative ? quint64(0) - quint64(raw) : quint64(raw);
  QString text = QString::number(magnitude / vb::Currency::kScale);
  QString fraction = QStringLiteral("%1").arg(magnitude % vb::Currency::kScale, 4, 10, QLatin1Char('0'));
  while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
  if (!fraction.isEmpty()) text += QLatin1Char('.') + fraction;
  return negative ? QLatin1Char('-') + text : text;
}

Cell toCell(const ColumnInfo& column, const QVariant& value) {
  if (!value.isValid()) return Cell::null();
  switch (column.type) {
    case dbText: return toText(value);
    case dbBoolean: return toBoolean(value);
    case dbCurrency: return toMoney(value);
    case dbByte:
    case dbInteger:
    case dbLong: return toWhole(column, value);
  }
  raiseConversion();
}

QVariant fromCell(const ColumnInfo& column, const Cell& cell) {
  switch (cell.kind) {
    case Cell::Null: return {};
    case Cell::Overflow: platform::Raise(3349, QStringLiteral("Numeric field overflow."));
    case Cell::Text: return cell.s;
    case Cell::Int: break;
  }
  switch (column.type) {
    case dbText: return QString::number(cell.i);
    case dbBoolean: return cell.i != 0;
    case dbCurrency: return QVariant::fromValue(vb::Currency::fromRaw(cell.i));
    default:
      if (cell.i >= std::numeric_limits<int>::min() && cell.i <= std::numeric_limits<int>::max()) return int(cell.i);
      return qlonglong(cell.i);
  }
}

void validate(const QString& table, const ColumnInfo& column, const Cell& cell) {
  switch (cell.kind) {
    case Cell::Overflow: platform::Raise(3349, QStringLiteral("Numeric field overflow."));
    case Cell::Null:
      if (column.required)
        platform::Raise(3314, QStringLiteral("The field '%1' cannot contain a Null value because the Required "
                                             "property for this field is set to True. Enter a value in this field.")
                                  .arg(qualified(table, column)));
      return;
    case Cell::Text:
      if (cell.s.isEmpty() && !column.allowZeroLength)
        platform::Raise(3315, QStringLiteral("Field '%1' cannot be a zero-length string.").arg(qualified(table, column)));
      if (cell.s.size() > column.size)
        platform::Raise(3163, QStringLiteral("The field is too small to accept the amount of data you attempted to "
                                             "add. Try inserting or pasting less data."));
      return;
    case Cell::Int: break;
  }
  qint64 low = std::numeric_limits<qint64>::min(), high = std::numeric_limits<qint64>::max();
  switch (column.type) {
    case dbByte: low = 0, high = 255; break;
    case dbInteger: low = -32768, high = 32767; break;
    case dbLong: low = std::numeric_limits<qint32>::min(), high = std::numeric_limits<qint32>::max(); break;
    default: break;
  }
  if (cell.i < low || cell.i > high) platform::Raise(3349, QStringLiteral("Numeric field overflow."));
}

Stored readStored(sqlite3_stmt* stmt, int index, const ColumnInfo& column, QByteArray& texts) {
  const int type = sqlite3_column_type(stmt, index);
  if (type == SQLITE_NULL) return {};
  if (column.type == dbText) {
    const char* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
    const int bytes = sqlite3_column_bytes(stmt, index);
    const Stored v{Cell::Text, quint32(bytes), texts.size()};
    texts.append(data, bytes);
    return v;
  }
  if (type == SQLITE_INTEGER) return {Cell::Int, 0, sqlite3_column_int64(stmt, index)};
  // Only a file written by something else holds these.
  Cell c;
  if (type == SQLITE_FLOAT) {
    const double d = sqlite3_column_double(stmt, index);
    c = roundToCell(column.type == dbCurrency ? d * double(vb::Currency::kScale) : d);
  } else {
    try {
      c = toCell(column, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, index))));
    } catch (const platform::VbError&) {
    }
  }
  return c.kind == Cell::Int ? Stored{Cell::Int, 0, c.i} : Stored{};
}

Cell fromStored(const Stored& value, const QByteArray& texts) {
  switch (value.kind) {
    case Cell::Int: return Cell::integer(value.i);
    case Cell::Text: return Cell::text(QString::fromUtf8(texts.constData() + value.i, qsizetype(value.n)));
    default: return {};
  }
}

Stored toStored(const Cell& cell, QByteArray& texts) {
  switch (cell.kind) {
    case Cell::Int: return {Cell::Int, 0, cell.i};
    case Cell::Text: {
      const QByteArray utf8 = cell.s.toUtf8();
      const Stored v{Cell::Text, quint32(utf8.size()), texts.size()};
      texts.append(utf8);
      return v;
    }
    default: return {};
  }
}

void bindCell(sqlite3_stmt* stmt, int index, const Cell& cell) {
  switch (cell.kind) {
    case Cell::Int: sqlite3_bind_int64(stmt, index, cell.i); break;
    case Cell::Text:
      sqlite3_bind_text16(stmt, index, cell.s.utf16(), int(cell.s.size() * 2), SQLITE_TRANSIENT);
      break;
    default: sqlite3_bind_null(stmt, index); break;
  }
}

void bindStored(sqlite3_stmt* stmt, int index, const Stored& value, const QByteArray& texts) {
  switch (value.kind) {
    case Cell::Int: sqlite3_bind_int64(stmt, index, value.i); break;
    case Cell::Text: sqlite3_bind_text(stmt, index, texts.constData() + value.i, int(value.n), SQLITE_TRANSIENT); break;
    default: sqlite3_bind_null(stmt, index); break;
  }
}

bool sameCell(const Cell& a, const Cell& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case Cell::Null: return true;
    case Cell::Int: return a.i == b.i;
    case Cell::Text: return a.s == b.s;
    default: return false;
  }
}

}  // namespace dao::detail
