#include "grep-engine/LiteralFinder.h"

#include <emmintrin.h>

#include <cstring>

namespace vesper::rx {
namespace {

uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }
uint8_t Upper(uint8_t c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }

}  // namespace

int Commonness(uint8_t c) {
  static const char kLetters[] = "etaoinsrlcdhupmfgbyvwkxqjz";  // most common first
  if (c == ' ' || c == '\t') return 100;
  uint8_t l = Lower(c);
  if (const char* at = l ? std::strchr(kLetters, l) : nullptr) {
    int rank = 90 - static_cast<int>(at - kLetters) * 3;
    return c == l ? rank : rank - 20;  // capitals are rarer
  }
  if (c >= '0' && c <= '9') return 30;
  if (c < 32 || c >= 127) return 5;
  return 25;  // punctuation
}

namespace {

__m128i Splat(uint8_t c) { return _mm_set1_epi8(static_cast<char>(c)); }
__m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

}  // namespace

LiteralFinder::LiteralFinder(std::vector<std::string> literals, bool fold) : fold_(fold) {
  for (std::string& literal : literals) {
    Probe pr;
    pr.literal = std::move(literal);
    const std::string& l = pr.literal;
    const size_t n = l.size();
    if (n == 0) continue;
    // The rarest byte, then the rarest other byte.
    for (size_t i = 1; i < n; ++i)
      if (Commonness(l[i]) < Commonness(l[pr.i1])) pr.i1 = i;
    pr.i2 = pr.i1 == n - 1 ? 0 : n - 1;
    for (size_t i = 0; i < n; ++i)
      if (i != pr.i1 && Commonness(l[i]) < Commonness(l[pr.i2])) pr.i2 = i;
    if (n == 1) pr.i2 = 0;
    uint8_t c1 = l[pr.i1], c2 = l[pr.i2];
    pr.a1 = fold_ ? Lower(c1) : c1;
    pr.a2 = fold_ ? Upper(c1) : c1;
    pr.b1 = fold_ ? Lower(c2) : c2;
    pr.b2 = fold_ ? Upper(c2) : c2;
    if (n < minLength_) minLength_ = n;
    maxOffset_ = std::max(maxOffset_, std::max(pr.i1, pr.i2));
    probes_.push_back(std::move(pr));
  }
}

bool LiteralFinder::Equals(const Probe& probe, const uint8_t* at) const {
  const std::string& l = probe.literal;
  if (!fold_) return std::memcmp(at, l.data(), l.size()) == 0;
  for (size_t i = 0; i < l.size(); ++i)
    if (Lower(at[i]) != static_cast<uint8_t>(l[i])) return false;
  return true;
}

const uint8_t* LiteralFinder::Find(const uint8_t* p, const uint8_t* end) const {
  if (probes_.empty()) return p;
  if (static_cast<size_t>(end - p) < minLength_) return nullptr;
  return probes_.size() == 1 ? FindOne(p, end) : FindAny(p, end);
}

const uint8_t* LiteralFinder::FindOne(const uint8_t* p, const uint8_t* end) const {
  const Probe& pr = probes_[0];
  const size_t n = pr.literal.size();
  if (n == 1 && pr.a1 == pr.a2) return static_cast<const uint8_t*>(std::memchr(p, pr.a1, end - p));
  const uint8_t* last = end - n;  // last possible start
  const __m128i va1 = Splat(pr.a1), va2 = Splat(pr.a2), vb1 = Splat(pr.b1), vb2 = Splat(pr.b2);
  // Vector rounds read 16 bytes at p + i1 and p + i2, both within the range
  // while p + 15 is a possible start.
  while (last - p >= 16) {
    __m128i x = Load(p + pr.i1), y = Load(p + pr.i2);
    __m128i hx = _mm_or_si128(_mm_cmpeq_epi8(x, va1), _mm_cmpeq_epi8(x, va2));
    __m128i hy = _mm_or_si128(_mm_cmpeq_epi8(y, vb1), _mm_cmpeq_epi8(y, vb2));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hx, hy)));
    while (mask) {
      const uint8_t* at = p + __builtin_ctz(mask);
      if (Equals(pr, at)) return at;
      mask &= mask - 1;
    }
    p += 16;
  }
  for (; p <= last; ++p) {
    uint8_t x = p[pr.i1];
    if ((x == pr.a1 || x == pr.a2) && Equals(pr, p)) return p;
  }
  return nullptr;
}

const uint8_t* LiteralFinder::FindAny(const uint8_t* p, const uint8_t* end) const {
  // Vector rounds while every probe's 16 bytes lie in the range and the
  // shortest literal fits at p + 15.
  auto fits = [&](const Probe& pr, const uint8_t* at) {
    return static_cast<size_t>(end - at) >= pr.literal.size() && Equals(pr, at);
  };
  while (end - p >= static_cast<ptrdiff_t>(std::max(maxOffset_ + 16, minLength_ + 15))) {
    __m128i hits = _mm_setzero_si128();
    for (const Probe& pr : probes_) {
      __m128i x = Load(p + pr.i1), y = Load(p + pr.i2);
      __m128i hx = _mm_or_si128(_mm_cmpeq_epi8(x, Splat(pr.a1)), _mm_cmpeq_epi8(x, Splat(pr.a2)));
      __m128i hy = _mm_or_si128(_mm_cmpeq_epi8(y, Splat(pr.b1)), _mm_cmpeq_epi8(y, Splat(pr.b2)));
      hits = _mm_or_si128(hits, _mm_and_si128(hx, hy));
    }
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    while (mask) {
      const uint8_t* at = p + __builtin_ctz(mask);
      for (const Probe& pr : probes_)
        if (fits(pr, at)) return at;
      mask &= mask - 1;
    }
    p += 16;
  }
  for (; p < end; ++p)
    for (const Probe& pr : probes_)
      if (fits(pr, p)) return p;
  return nullptr;
}

}  // namespace vesper::rx
