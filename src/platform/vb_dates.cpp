// Dates as the program shows and stores them: dd/MM/yyyy, whatever the
// machine's locale, so that a stored date always reads back the same.
#include <QRegularExpression>

#include "vb.h"

namespace vb {
namespace {
QDate g_fixedToday;
}

QString DateText(const QDate& value) {
  return value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString DateText(const QDateTime& value) {
  if (!value.isValid()) return QString();
  QString text = DateText(value.date());
  const QTime t = value.time();
  if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
    text += t.toString(QStringLiteral(" HH:mm:ss"));
  return text;
}

std::optional<QDateTime> ParseDate(const QString& text) {
  static const QRegularExpression form(QStringLiteral(
      "^ *(\\d{1,2})/(\\d{1,2})/(\\d{4})(?: +(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)? *$"));
  const auto m = form.match(text);
  if (!m.hasMatch()) return std::nullopt;
  const int year = m.captured(3).toInt();
  if (year < 100) return std::nullopt;  // VB's dates start at year 100
  const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
  if (!date.isValid()) return std::nullopt;
  QTime time(0, 0);
  if (m.hasCaptured(4)) {
    time = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                 m.hasCaptured(6) ? m.captured(6).toInt() : 0);
    if (!time.isValid()) return std::nullopt;
  }
  return QDateTime(date, time);
}

QDateTime CDateOrToday(const QString& text) {
  if (auto d = ParseDate(text)) return *d;
  return Today();
}

QDateTime Today() {
  return QDateTime(g_fixedToday.isValid() ? g_fixedToday : QDate::currentDate(), QTime(0, 0));
}

void SetTodayForTests(const QDate& date) { g_fixedToday = date; }

}  // namespace vb
