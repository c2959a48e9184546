// The file search over random data with a random pattern: the first byte
// gives the pattern length (and, in its top bit, case folding), the pattern
// follows, and the rest is the file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "grep-engine/FileSearch.h"

namespace {
int gCalls = 0;
int gLastLine = 0;
void OnMatch(int, int line, const char* text) {
  if (line <= gLastLine || !text) __builtin_trap();
  gLastLine = line;
  ++gCalls;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t n = data[0] & 0x3F;
  bool fold = data[0] & 0x80;
  if (n > size - 1) n = size - 1;
  std::string pattern(reinterpret_cast<const char*>(data + 1), n);
  vesper::rx::FileMatcher m;
  try {
    if (!m.Compile(pattern, fold).empty()) return 0;
  } catch (const vesper::rx::MatchError&) {
    return 0;
  }
  static int fd = memfd_create("grep_search", 0);
  if (fd < 0) return 0;
  if (ftruncate(fd, 0) != 0) return 0;
  size_t rest = size - 1 - n;
  if (pwrite(fd, data + 1 + n, rest, 0) != static_cast<ssize_t>(rest)) return 0;
  std::string path = "/proc/self/fd/" + std::to_string(fd);
  static char lineText[1024];
  vesper::rx::SearchOptions options;
  options.callback = OnMatch;
  options.wantLine = true;
  options.lineText = lineText;
  gCalls = gLastLine = 0;
  try {
    vesper::rx::SearchResult r = vesper::rx::SearchFile(m, path.c_str(), options);
    if (r.openError) return 0;
    if (r.matches != gCalls || gLastLine > r.linesRead) __builtin_trap();
  } catch (const vesper::rx::MatchError&) {
  }
  return 0;
}
