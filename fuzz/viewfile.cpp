// Input: the first byte chooses a pattern length; the pattern follows, the
// rest is the file. The file is indexed, read line by line both ways, dumped
// in hex and searched with every option; the whole input also goes through
// the DIB-to-bitmap-file conversion.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/BitmapFile.h"
#include "ui/ViewFile.h"

using namespace vesper;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  BitmapFileFromDib(input);
  if (size < 1) return 0;
  const size_t m = std::min<size_t>(data[0] % 8, size - 1);
  const std::string pattern = input.substr(1, m);
  const std::string body = input.substr(1 + m);

  static const std::string path = [] {
    char name[] = "/tmp/fuzz_viewfileXXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(body.data(), 1, body.size(), f);
  std::fclose(f);

  TViewFile view;
  view.Open(path);
  const int64_t middle = view.LineStart(3);
  view.CountStep(7);
  view.CountAll();
  const int64_t lines = view.LineCount();
  for (int64_t line = lines; line >= 0; --line) view.LineBytes(line, 5);
  for (int64_t line = 0; line < lines; ++line) {
    const int64_t start = view.LineStart(line);
    if (start >= 0 && view.LineOfOffset(start) != line) abort();
  }
  if (middle >= 0 && view.LineStart(3) != middle) abort();
  for (int64_t line = 0; line <= view.HexLineCount(); ++line) view.HexLine(line);
  for (int options = 0; options < 8; ++options) {
    const bool backward = options & 1;
    const int64_t at = view.Find(pattern, backward ? view.Size() : 0, backward, options & 2, options & 4);
    if (at >= 0 && (options & 2) && body.compare(static_cast<size_t>(at), m, pattern) != 0) abort();
  }
  return 0;
}
