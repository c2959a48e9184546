#include "grep-engine/LineCount.h"

#include <emmintrin.h>

namespace vesper::rx {

int64_t CountLineFeeds(const uint8_t* p, const uint8_t* end) {
  int64_t count = 0;
  const __m128i lf = _mm_set1_epi8('\n');
  // Each byte lane gains at most 4 per round of 64 bytes, so 63 rounds fit
  // before the lanes are summed.
  while (end - p >= 64) {
    __m128i acc = _mm_setzero_si128();
    int rounds = 0;
    while (end - p >= 64 && rounds < 63) {
      __m128i a = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), lf);
      __m128i b = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)), lf);
      __m128i c = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32)), lf);
      __m128i d = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48)), lf);
      acc = _mm_sub_epi8(acc, _mm_add_epi8(_mm_add_epi8(a, b), _mm_add_epi8(c, d)));
      p += 64;
      ++rounds;
    }
    __m128i sums = _mm_sad_epu8(acc, _mm_setzero_si128());
    count += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
  }
  for (; p < end; ++p) count += (*p == '\n');
  return count;
}

}  // namespace vesper::rx
