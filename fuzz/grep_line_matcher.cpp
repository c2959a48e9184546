// The line matcher: the input is a pattern, a NUL, then the text of a line.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "grep-engine/LineMatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string pattern = input.substr(0, nul);
  std::string text = nul == std::string::npos ? "" : input.substr(nul + 1);
  vesper::rx::LineMatcher m;
  if (m.Init(pattern.c_str()) != 0) return 0;
  int result[2] = {0, 0};
  if (m.Match(text.c_str(), result)) {
    size_t len = std::strlen(text.c_str());
    if (result[0] < 1 || static_cast<size_t>(result[0]) > len + 1 || result[1] < 1) __builtin_trap();
  }
  return 0;
}
