// Dictionary order for names, as a Hebrew user expects the guest list sorted:
// blanks and punctuation first, then digits, then Latin (and other) letters
// without regard to case, then the Hebrew letters in alphabet order with each
// final letter sorting as its regular form. Vowel points are ignored. Texts
// equal by these rules are ordered by their characters' codes, so the order
// is total and the same on every run.
//
// SQLite keeps text as UTF-8 and hands it over as such; decoding here costs
// less than letting SQLite convert both texts for every comparison.
#include <cstring>

#include "dao_internal.h"

namespace dao::detail {
namespace {

constexpr char32_t kAlef = 0x05D0, kTav = 0x05EA;

char32_t regularForm(char32_t c) {
  switch (c) {
    case 0x05DA: return 0x05DB;  // final kaf
    case 0x05DD: return 0x05DE;  // final mem
    case 0x05DF: return 0x05E0;  // final nun
    case 0x05E3: return 0x05E4;  // final pe
    case 0x05E5: return 0x05E6;  // final tsadi
    default: return c;
  }
}

enum Rank : quint64 { kOther = 1, kDigit = 2, kLetter = 3, kHebrew = 4 };

quint64 weighted(Rank rank, char32_t value) { return (quint64(rank) << 32) | value; }

// The weight of one character; 0 for one that does not count.
quint64 weight(char32_t u) {
  if (u < 0x80) {
    if (u >= '0' && u <= '9') return weighted(kDigit, u);
    if (u >= 'A' && u <= 'Z') return weighted(kLetter, u + ('a' - 'A'));
    if (u >= 'a' && u <= 'z') return weighted(kLetter, u);
    return weighted(kOther, u);
  }
  if (u >= kAlef && u <= kTav) return weighted(kHebrew, regularForm(u));
  if (QChar::isMark(u)) return 0;
  if (QChar::isDigit(u)) return weighted(kDigit, '0' + QChar::digitValue(u));
  if (QChar::isLetter(u)) return weighted(kLetter, QChar::toCaseFolded(u));
  return weighted(kOther, u);
}

// The next code point of well-formed UTF-8 (SQLite's own text); a broken
// sequence yields its first byte.
char32_t nextCodePoint(const unsigned char* s, int n, int& i) {
  const unsigned char c = s[i];
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (i + extra >= n) extra = 0;
  char32_t u = extra == 0 ? c : (c & (0x3F >> extra));
  for (int k = 1; k <= extra; ++k) u = (u << 6) | (s[i + k] & 0x3F);
  i += extra + 1;
  return u;
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
  return hebrewCompare(static_cast<const char*>(a), lengthA, static_cast<const char*>(b), lengthB);
}

}  // namespace

int hebrewCompare(const char* a, int lengthA, const char* b, int lengthB) {
  const auto* sa = reinterpret_cast<const unsigned char*>(a);
  const auto* sb = reinterpret_cast<const unsigned char*>(b);
  // Equal leading characters weigh the same: start where the bytes differ,
  // at the start of that character.
  int same = 0;
  while (same < lengthA && same < lengthB && sa[same] == sb[same]) ++same;
  if (same == lengthA && same == lengthB) return 0;
  while (same > 0 && ((same < lengthA && (sa[same] & 0xC0) == 0x80) || (same < lengthB && (sb[same] & 0xC0) == 0x80)))
    --same;
  int i = same, j = same;
  for (;;) {
    quint64 wa = 0, wb = 0;
    while (i < lengthA && (wa = weight(nextCodePoint(sa, lengthA, i))) == 0) {
    }
    while (j < lengthB && (wb = weight(nextCodePoint(sb, lengthB, j))) == 0) {
    }
    if (wa == 0 || wb == 0) {
      if (wa != 0) return 1;
      if (wb != 0) return -1;
      break;
    }
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  // UTF-8 bytes compare in code point order.
  const int common = std::min(lengthA, lengthB);
  const int bytes = common > 0 ? std::memcmp(a, b, size_t(common)) : 0;
  if (bytes != 0) return bytes < 0 ? -1 : 1;
  return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

void registerHebrewCollation(sqlite3* db) {
  sqlite3_create_collation_v2(db, kHebrewCollation, SQLITE_UTF8, nullptr, collate, nullptr);
}

}  // namespace dao::detail
