#include "wizards/grep/core/BinScan.h"

#include <cstring>

namespace vesper::grep {

TVesBinScan::TVesBinScan(const std::string& fileName) : TFileStream(fileName, fmOpenRead) {}

void TVesBinScan::SetPattern(std::string pattern, bool ignoreCase) {
  pattern_ = std::move(pattern);
  ignoreCase_ = ignoreCase;
}

int TVesBinScan::Scan() {
  const size_t len = pattern_.size();
  if (len == 0) return 0;
  // A block must be able to hold the pattern and move on past the overlap.
  const size_t block = len * 2 > kBlockSize ? len * 2 : kBlockSize;
  buffer_.resize(block);
  int hits = 0;
  int64_t position = Seek(0, SeekOrigin::Beginning);
  for (;;) {
    count_ = Read(buffer_.data(), block);
    if (ignoreCase_)
      for (size_t i = 0; i < count_; ++i)
        if (buffer_[i] >= 'a' && buffer_[i] <= 'z') buffer_[i] -= 32;
    if (count_ >= len) {
      const uint8_t* base = buffer_.data();
      const uint8_t* p = base;
      const uint8_t* last = base + count_ - len;
      while (p <= last) {
        auto* at = static_cast<const uint8_t*>(memmem(p, static_cast<size_t>(last - p) + len, pattern_.data(), len));
        if (!at) break;
        ++hits;
        if (OnHit) OnHit(position + (at - base) + 1);
        p = at + 1;
      }
    }
    if (count_ < block) break;
    position += static_cast<int64_t>(block - (len - 1));
    Seek(position, SeekOrigin::Beginning);
  }
  return hits;
}

}  // namespace vesper::grep
