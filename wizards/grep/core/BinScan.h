// TVesBinScan: counts the occurrences of a byte pattern in a file, reading
// it in 32768-byte blocks that overlap by the pattern length minus one, so
// that occurrences spanning two blocks are found once and overlapping ones
// are all reported.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Streams.h"

namespace vesper::grep {

class TVesBinScan : public TFileStream {
 public:
  static constexpr size_t kBlockSize = 32768;

  // Opens the file read-only; raises EFOpenError when it cannot be opened.
  explicit TVesBinScan(const std::string& fileName);

  // With ignoreCase the pattern is expected in upper case and the bytes a-z
  // of the file are compared as A-Z.
  void SetPattern(std::string pattern, bool ignoreCase);
  // Called with the 1-based file position of each occurrence.
  std::function<void(int64_t offset)> OnHit;

  // Returns the number of occurrences.
  int Scan();

 private:
  std::vector<uint8_t> buffer_;
  size_t count_ = 0;  // bytes in the buffer
  std::string pattern_;
  bool ignoreCase_ = false;
};

}  // namespace vesper::grep
