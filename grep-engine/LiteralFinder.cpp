#include "grep-engine/LiteralFinder.h"

#include <emmintrin.h>

#include <cstring>

namespace vesper::rx {
namespace {

uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }
uint8_t Upper(uint8_t c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }

// Rough frequency rank of a byte in source text: higher is more common.
int Commonness(uint8_t c) {
  static const char kLetters[] = "etaoinsrlcdhupmfgbyvwkxqjz";  // most common first
  if (c == ' ' || c == '\t') return 100;
  uint8_t l = Lower(c);
  if (const char* at = std::strchr(kLetters, l); at && l) {
    int rank = 90 - static_cast<int>(at - kLetters) * 3;
    return c == l ? rank : rank - 20;  // capitals are rarer
  }
  if (c >= '0' && c <= '9') return 30;
  if (c < 32 || c >= 127) return 5;
  return 25;  // punctuation
}

}  // namespace

LiteralFinder::LiteralFinder(std::string literal, bool fold) : literal_(std::move(literal)), fold_(fold) {
  const size_t n = literal_.size();
  // The rarest byte, then the rarest other byte (the last one when n is 1).
  for (size_t i = 1; i < n; ++i)
    if (Commonness(literal_[i]) < Commonness(literal_[i1_])) i1_ = i;
  i2_ = i1_ == n - 1 ? 0 : n - 1;
  for (size_t i = 0; i < n; ++i)
    if (i != i1_ && Commonness(literal_[i]) < Commonness(literal_[i2_])) i2_ = i;
  if (n == 1) i2_ = 0;
  uint8_t c1 = literal_[i1_], c2 = literal_[i2_];
  a1_ = fold_ ? Lower(c1) : c1;
  a2_ = fold_ ? Upper(c1) : c1;
  b1_ = fold_ ? Lower(c2) : c2;
  b2_ = fold_ ? Upper(c2) : c2;
}

bool LiteralFinder::Equals(const uint8_t* at) const {
  if (!fold_) return std::memcmp(at, literal_.data(), literal_.size()) == 0;
  for (size_t i = 0; i < literal_.size(); ++i)
    if (Lower(at[i]) != static_cast<uint8_t>(literal_[i])) return false;
  return true;
}

const uint8_t* LiteralFinder::Find(const uint8_t* p, const uint8_t* end) const {
  const size_t n = literal_.size();
  if (n == 0) return p;
  if (static_cast<size_t>(end - p) < n) return nullptr;
  if (n == 1 && a1_ == a2_) return static_cast<const uint8_t*>(std::memchr(p, a1_, end - p));
  const uint8_t* last = end - n;  // last possible start
  const __m128i va1 = _mm_set1_epi8(static_cast<char>(a1_)), va2 = _mm_set1_epi8(static_cast<char>(a2_));
  const __m128i vb1 = _mm_set1_epi8(static_cast<char>(b1_)), vb2 = _mm_set1_epi8(static_cast<char>(b2_));
  const size_t off = i1_ > i2_ ? i1_ : i2_;
  // Vector rounds need 16 readable bytes at p + i1 and p + i2.
  while (last - p >= 16 && static_cast<size_t>(end - p) >= off + 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i1_));
    __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i2_));
    __m128i hx = _mm_or_si128(_mm_cmpeq_epi8(x, va1), _mm_cmpeq_epi8(x, va2));
    __m128i hy = _mm_or_si128(_mm_cmpeq_epi8(y, vb1), _mm_cmpeq_epi8(y, vb2));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hx, hy)));
    while (mask) {
      const uint8_t* at = p + __builtin_ctz(mask);
      if (Equals(at)) return at;
      mask &= mask - 1;
    }
    p += 16;
  }
  for (; p <= last; ++p) {
    uint8_t x = p[i1_];
    if ((x == a1_ || x == a2_) && Equals(p)) return p;
  }
  return nullptr;
}

}  // namespace vesper::rx
