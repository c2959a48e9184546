// The file matcher's compiler and automaton: the input is a pattern (first
// byte: case folding) run over a fixed text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "grep-engine/FileMatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 512) return 0;
  bool fold = data[0] & 1;
  std::string pattern(reinterpret_cast<const char*>(data + 1), size - 1);
  vesper::rx::FileMatcher m;
  try {
    if (!m.Compile(pattern, fold).empty()) return 0;
  } catch (const vesper::rx::MatchError&) {
    return 0;
  }
  static const std::string text =
      "procedure Foo(a, b: Integer);\nbegin\n  if a<>b then Exit;\r\nend;\n\n  x_1 := [abc] * 2;\n\xff\xfe\t\n";
  auto* b = reinterpret_cast<const uint8_t*>(text.data());
  const uint8_t* p = b;
  const uint8_t* end = b + text.size();
  int64_t lines = 0;
  while (p < end) {
    bool backref = false;
    const uint8_t* hit = m.Execute(p, end, lines, backref);
    if (!hit) break;
    if (hit < p || hit > end) __builtin_trap();
    p = static_cast<const uint8_t*>(memchr(hit, '\n', end - hit)) + 1;
    ++lines;
  }
  if (lines != 7) __builtin_trap();
  return 0;
}
