// Windows-1255, the Hebrew code page, as a table of our own.
#include <QHash>

#include "ini.h"

namespace platform::cp1255 {
namespace {

constexpr char16_t kUndefined = 0xFFFD;

// Bytes 0x80..0xFF; bytes below 0x80 are ASCII.
constexpr char16_t kHigh[128] = {
    // 0x80
    0x20AC, kUndefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, kUndefined, 0x2039, kUndefined, kUndefined, kUndefined, kUndefined,
    // 0x90
    kUndefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, kUndefined, 0x203A, kUndefined, kUndefined, kUndefined, kUndefined,
    // 0xA0 (0xA4 the new sheqel sign, 0xAA multiplication sign)
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AA, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00D7, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    // 0xB0 (0xBA division sign)
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00F7, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    // 0xC0 points and punctuation
    0x05B0, 0x05B1, 0x05B2, 0x05B3, 0x05B4, 0x05B5, 0x05B6, 0x05B7,
    0x05B8, 0x05B9, 0x05BA, 0x05BB, 0x05BC, 0x05BD, 0x05BE, 0x05BF,
    // 0xD0 (0xD4..0xD8 Yiddish ligatures and gershayim)
    0x05C0, 0x05C1, 0x05C2, 0x05C3, 0x05F0, 0x05F1, 0x05F2, 0x05F3,
    0x05F4, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined, kUndefined,
    // 0xE0 letters alef..
    0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5, 0x05D6, 0x05D7,
    0x05D8, 0x05D9, 0x05DA, 0x05DB, 0x05DC, 0x05DD, 0x05DE, 0x05DF,
    // 0xF0 ..tav, then the direction marks
    0x05E0, 0x05E1, 0x05E2, 0x05E3, 0x05E4, 0x05E5, 0x05E6, 0x05E7,
    0x05E8, 0x05E9, 0x05EA, kUndefined, kUndefined, 0x200E, 0x200F, kUndefined,
};

const QHash<char16_t, char>& reverse() {
  static const QHash<char16_t, char> map = [] {
    QHash<char16_t, char> m;
    for (int i = 0; i < 128; ++i)
      if (kHigh[i] != kUndefined) m.insert(kHigh[i], static_cast<char>(0x80 + i));
    return m;
  }();
  return map;
}

}  // namespace

QString decode(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    out += QChar(u < 0x80 ? char16_t(u) : kHigh[u - 0x80]);
  }
  return out;
}

std::optional<QByteArray> encode(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  const auto& rev = reverse();
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
      out += static_cast<char>(u);
      continue;
    }
    const auto it = rev.constFind(u);
    if (it == rev.constEnd()) return std::nullopt;
    out += *it;
  }
  return out;
}

}  // namespace platform::cp1255
