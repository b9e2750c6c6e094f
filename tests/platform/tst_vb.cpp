// VB conversions: Val, rounding, whole-number conversions and their errors,
// money, dates, twips and colours.
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <limits>

#include "platform/vb.h"
#include "platform/vberror.h"
#include "support/errors.h"
#include "support/testsupport.h"

using testsupport::errorNumber;

namespace {

constexpr long kTypeMismatch = 13;
constexpr long kOverflow = 6;

}  // namespace

class TestVb : public QObject {
  Q_OBJECT

 private slots:
  void valReadsTheLeadingNumber() {
    QCOMPARE(vb::Val("  12 3abc"), 123.0);
    QCOMPARE(vb::Val("1.5e"), 1.5);
    QCOMPARE(vb::Val("1.5e2x"), 150.0);
    QCOMPARE(vb::Val("2D3"), 2000.0);
    QCOMPARE(vb::Val("abc"), 0.0);
    QCOMPARE(vb::Val(""), 0.0);
    QCOMPARE(vb::Val(" -3.5x"), -3.5);
    QCOMPARE(vb::Val("- 7"), -7.0);
    QCOMPARE(vb::Val(".5"), 0.5);
    QCOMPARE(vb::Val("1,000"), 1.0);
    QCOMPARE(vb::Val("1.2.3"), 1.2);
    QCOMPARE(vb::Val("3-2"), 3.0);
    QCOMPARE(vb::Val("\t1\n2"), 12.0);
    QCOMPARE(vb::Val("שולחן 12"), 0.0);
    QCOMPARE(vb::Val("1e-400"), 0.0);
    QCOMPARE(errorNumber([] { vb::Val("1e400"); }), kOverflow);
  }

  void roundHalfEven() {
    QCOMPARE(vb::RoundHalfEven(2.5), 2.0);
    QCOMPARE(vb::RoundHalfEven(3.5), 4.0);
    QCOMPARE(vb::RoundHalfEven(-2.5), -2.0);
    QCOMPARE(vb::RoundHalfEven(-3.5), -4.0);
    QCOMPARE(vb::RoundHalfEven(0.5), 0.0);
    QCOMPARE(vb::RoundHalfEven(2.4999), 2.0);
    QCOMPARE(vb::RoundHalfEven(2.5001), 3.0);
    QCOMPARE(vb::RoundHalfEven(-0.4), 0.0);
  }

  void wholeNumberConversions() {
    QCOMPARE(vb::CByte("2.5"), 2);
    QCOMPARE(vb::CByte("3.5"), 4);
    QCOMPARE(vb::CByte(" 255 "), 255);
    QCOMPARE(vb::CByte("-0.5"), 0);
    QCOMPARE(vb::CByte(QVariant(17.5)), 18);
    QCOMPARE(errorNumber([] { vb::CByte("256"); }), kOverflow);
    QCOMPARE(errorNumber([] { vb::CByte("255.5"); }), kOverflow);
    QCOMPARE(errorNumber([] { vb::CByte("-1"); }), kOverflow);
    QCOMPARE(errorNumber([] { vb::CByte("abc"); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { vb::CByte(""); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { vb::CByte("   "); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { vb::CByte("12abc"); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { vb::CByte(QVariant()); }), kTypeMismatch);

    QCOMPARE(vb::CInt("32767"), 32767);
    QCOMPARE(vb::CInt("-32768.5"), -32768);
    QCOMPARE(errorNumber([] { vb::CInt("32768"); }), kOverflow);
    QCOMPARE(errorNumber([] { vb::CInt("-32769"); }), kOverflow);
    QCOMPARE(vb::CLng("2147483646.5"), 2147483646);
    QCOMPARE(errorNumber([] { vb::CLng("2147483647.5"); }), kOverflow);
    QCOMPARE(vb::CLng("-2147483648"), std::numeric_limits<qint32>::min());

    QCOMPARE(vb::CDbl("1e3"), 1000.0);
    QCOMPARE(vb::CDbl(true), -1.0);
    QCOMPARE(errorNumber([] { vb::CDbl("1,5"); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { vb::CDbl("1e999"); }), kOverflow);

    QCOMPARE(vb::CBool("true"), true);
    QCOMPARE(vb::CBool(" FALSE "), false);
    QCOMPARE(vb::CBool("0"), false);
    QCOMPARE(vb::CBool("-1"), true);
    QCOMPARE(vb::CBool(QVariant(0.0)), false);
    QCOMPARE(errorNumber([] { vb::CBool("yes"); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { vb::CBool(QVariant()); }), kTypeMismatch);
  }

  void isNumeric() {
    for (const char* yes : {"12", " 12 ", "-3.5", "+2", ".5", "5.", "1e3", "1.5E-2", "\t7\t"})
      QVERIFY2(vb::IsNumeric(QString::fromLatin1(yes)), yes);
    for (const char* no : {"", " ", ".", "-", "12abc", "1.2.3", "abc", "- 5", "1e", "1 2"})
      QVERIFY2(!vb::IsNumeric(QString::fromLatin1(no)), no);
    // The locale's group separator where it groups digits ("," here): the
    // number is its full value, and Val still stops at the separator.
    for (const char* yes : {"1,000", "12,500.50", "-1,234,567", " 999,999 ", "1,000e2"})
      QVERIFY2(vb::IsNumeric(QString::fromLatin1(yes)), yes);
    for (const char* no : {"1,00", "1,0000", ",100", "1000,", "1,,000", "1.000,5", "1.5,000", "1, 000", "0,5"})
      QVERIFY2(!vb::IsNumeric(QString::fromLatin1(no)), no);
    QCOMPARE(vb::CDbl("12,500.50"), 12500.5);
    QCOMPARE(vb::Currency::fromText("-1,234,567").toString(), QStringLiteral("-1234567"));
    QCOMPARE(vb::Val("12,500"), 12.0);
    QVERIFY(vb::IsNumeric(QVariant(5)));
    QVERIFY(vb::IsNumeric(QVariant(QStringLiteral("7"))));
    QVERIFY(!vb::IsNumeric(QVariant()));
    QVERIFY(!vb::IsNumeric(QVariant(QDate(2026, 1, 1))));
  }

  void trimAndStr() {
    QCOMPARE(vb::Trim("  a b  "), QStringLiteral("a b"));
    QCOMPARE(vb::Trim("\ta\t"), QStringLiteral("\ta\t"));
    QCOMPARE(vb::LTrim("  a  "), QStringLiteral("a  "));
    QCOMPARE(vb::RTrim("  a  "), QStringLiteral("  a"));

    QCOMPARE(vb::Str(100.0), QStringLiteral("100"));
    QCOMPARE(vb::Str(-3.0), QStringLiteral("-3"));
    QCOMPARE(vb::Str(12.5), QStringLiteral("12.5"));
    QCOMPARE(vb::Str(0.1), QStringLiteral("0.1"));
    QCOMPARE(vb::Str(-0.25), QStringLiteral("-0.25"));
    QCOMPARE(vb::Str(1.0 / 3), QStringLiteral("0.333333333333333"));
    QCOMPARE(vb::Str(0.0001), QStringLiteral("0.0001"));
    QCOMPARE(vb::Str(0.00001), QStringLiteral("1E-05"));
    QCOMPARE(vb::Str(123456789012345.0), QStringLiteral("123456789012345"));
    QCOMPARE(vb::Str(1e15), QStringLiteral("1E+15"));
    QCOMPARE(vb::Str(-0.0), QStringLiteral("0"));
    QCOMPARE(vb::Str(qint64(-9000000000)), QStringLiteral("-9000000000"));
  }

  void currencyIsExact() {
    using vb::Currency;
    QCOMPARE(Currency::fromText("12.5").raw(), 125000);
    QCOMPARE(Currency::fromText(" -0.0001 ").toString(), QStringLiteral("-0.0001"));
    QCOMPARE(Currency::fromText("1500").toString(), QStringLiteral("1500"));
    QCOMPARE(Currency::fromText("1e3").raw(), 1000 * Currency::kScale);
    // Half to even at the fifth decimal.
    QCOMPARE(Currency::fromText("0.00005").raw(), 0);
    QCOMPARE(Currency::fromText("0.00015").raw(), 2);
    QCOMPARE(Currency::fromText("0.00025").raw(), 2);
    QCOMPARE(Currency::fromText("0.000250001").raw(), 3);
    QCOMPARE(Currency::fromText("-0.00015").raw(), -2);
    QCOMPARE(Currency::fromText("0.0000001").raw(), 0);

    // The ends of the range, exactly.
    QCOMPARE(Currency::fromText("922337203685477.5807").raw(), std::numeric_limits<qint64>::max());
    QCOMPARE(Currency::fromText("-922337203685477.5808").raw(), std::numeric_limits<qint64>::min());
    QCOMPARE(Currency::fromRaw(std::numeric_limits<qint64>::min()).toString(),
             QStringLiteral("-922337203685477.5808"));
    QCOMPARE(errorNumber([] { Currency::fromText("922337203685477.5808"); }), kOverflow);
    QCOMPARE(errorNumber([] { Currency::fromText("922337203685477.58075"); }), kOverflow);
    QCOMPARE(errorNumber([] { Currency::fromText("100000000000000000000"); }), kOverflow);
    QCOMPARE(errorNumber([] { Currency::fromText("abc"); }), kTypeMismatch);
    QCOMPARE(errorNumber([] { Currency::fromText(""); }), kTypeMismatch);

    QCOMPARE(Currency::fromDouble(0.1).raw(), 1000);
    QCOMPARE(Currency::fromDouble(-2.5).toString(), QStringLiteral("-2.5"));
    QCOMPARE(errorNumber([] { Currency::fromDouble(1e20); }), kOverflow);

    // Ten times 0.1 is exactly 1, which a double does not manage.
    Currency sum;
    for (int i = 0; i < 10; ++i) sum = sum + Currency::fromText("0.1");
    QCOMPARE(sum, Currency::fromText("1"));
    QCOMPARE(errorNumber([] { Currency::fromRaw(std::numeric_limits<qint64>::max()) + Currency::fromRaw(1); }),
             kOverflow);
  }

  void datesRoundTrip() {
    const QDateTime midnight(QDate(2026, 3, 5), QTime(0, 0));
    const QDateTime withTime(QDate(2026, 3, 5), QTime(14, 7, 9));
    QCOMPARE(vb::DateText(midnight), QStringLiteral("05/03/2026"));
    QCOMPARE(vb::DateText(withTime), QStringLiteral("05/03/2026 14:07:09"));
    QCOMPARE(vb::DateText(QDate(2026, 12, 31)), QStringLiteral("31/12/2026"));
    QCOMPARE(vb::ParseDate(vb::DateText(midnight)), std::optional<QDateTime>(midnight));
    QCOMPARE(vb::ParseDate(vb::DateText(withTime)), std::optional<QDateTime>(withTime));
    QCOMPARE(vb::ParseDate("5/3/2026"), std::optional<QDateTime>(midnight));
    QCOMPARE(vb::ParseDate("5/3/2026 9:05"), std::optional<QDateTime>(QDateTime(QDate(2026, 3, 5), QTime(9, 5))));
    QCOMPARE(vb::ParseDate("29/02/2028"), std::optional<QDateTime>(QDateTime(QDate(2028, 2, 29), QTime(0, 0))));

    for (const char* bad : {"31/02/2026", "29/02/2027", "13/13/2026", "2026-03-05", "5/3/26", "05/03/2026x",
                            "", "5/3/2026 25:00", "5/3/2026 9:5", "5/3/2026 9:05:60", "05.03.2026",
                            "5/3/2026T09:05"})
      QVERIFY2(!vb::ParseDate(QString::fromLatin1(bad)), bad);

    vb::SetTodayForTests(QDate(2026, 1, 2));
    const QDateTime today(QDate(2026, 1, 2), QTime(0, 0));
    QCOMPARE(vb::Today(), today);
    QCOMPARE(vb::CDateOrToday("31/02/2026"), today);
    QCOMPARE(vb::CDateOrToday("not a date"), today);
    QCOMPARE(vb::CDateOrToday("05/03/2026 14:07:09"), withTime);
    vb::SetTodayForTests(QDate());
    // The real today: the clock's date just before or just after, should the
    // run cross midnight in between.
    const QDate before = QDate::currentDate();
    const QDateTime realToday = vb::Today();
    const QDate after = QDate::currentDate();
    QVERIFY2(realToday.date() == before || realToday.date() == after, qPrintable(realToday.toString()));
    QCOMPARE(realToday.time(), QTime(0, 0));
  }

  void twipsFollowTheScreen() {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    QCOMPARE(vb::TwipsToPixelsX(1440), qRound(dpi));
    QCOMPARE(vb::TwipsToPixelsY(-2880), -qRound(2 * QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
    if (qFuzzyCompare(dpi, 96.0)) {
      QCOMPARE(vb::TwipsToPixelsX(15), 1);
      QCOMPARE(vb::PixelsToTwipsX(100), 1500.0);
    }
  }

  void colours() {
    QCOMPARE(vb::OleColor(0x00FF8000u), QColor(0x00, 0x80, 0xFF));
    QCOMPARE(vb::OleColor(0x800000u), QColor(0, 0, 0x80));  // the splash's dark blue
    QCOMPARE(vb::ToOleColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    QCOMPARE(vb::ToOleColor(vb::OleColor(0x00ABCDEFu)), 0x00ABCDEFu);

    const QPalette pal = QGuiApplication::palette();
    QCOMPARE(vb::OleColor(0x80000005u), pal.color(QPalette::Active, QPalette::Base));
    QCOMPARE(vb::OleColor(0x80000008u), pal.color(QPalette::Active, QPalette::Text));
    QCOMPARE(vb::OleColor(0x8000000Fu), pal.color(QPalette::Active, QPalette::Button));
    QCOMPARE(vb::OleColor(0x80000012u), pal.color(QPalette::Active, QPalette::ButtonText));
    QCOMPARE(vb::OleColor(0x8000000Du), pal.color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(vb::OleColor(0x80000018u), pal.color(QPalette::Active, QPalette::ToolTipBase));
    // The inactive title bar: the palette's dark grey, darkened to read as text
    // (its contrast is tested on the guest grid).
    const QColor inactive = vb::OleColor(0x80000003u);
    QCOMPARE(inactive.hue(), pal.color(QPalette::Active, QPalette::Dark).hue());
    QVERIFY(inactive.value() <= pal.color(QPalette::Active, QPalette::Dark).value());
    QVERIFY(inactive.value() > 0);
  }
};

PELMORA_TEST(TestVb)
#include "tst_vb.moc"
