// Input: one byte of maximum length, one byte of delimiter count n, n
// delimiter bytes, then the text. Checks that the pieces join back to the
// text and that a shortened path keeps its first and last pieces.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/StringList.h"
#include "shared/aux/VesStr.h"
#include "shared/controls/PathHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t maxLength = data[0];
  size_t count = std::min<size_t>(data[1] % 4, size - 2);
  std::string delimiter(reinterpret_cast<const char*>(data + 2), count);
  std::string text(reinterpret_cast<const char*>(data + 2 + count), size - 2 - count);

  vesper::TStringList pieces;
  int n = vesper::BreakApart(text, delimiter, pieces);
  std::string joined;
  for (int i = 0; i < n; ++i) joined += (i ? delimiter : "") + pieces.Strings(i);
  if (!delimiter.empty() && joined != text) std::abort();

  std::string dest;
  vesper::CompressString(text, delimiter, "...", dest, maxLength);
  if (dest.size() > text.size() + 3 && dest != text) std::abort();
  if (n > 2 && text.size() > maxLength) {
    std::string last = pieces.Strings(n - 1);
    if (dest.compare(0, pieces.Strings(0).size(), pieces.Strings(0)) != 0) std::abort();
    if (dest.size() < last.size() || dest.compare(dest.size() - last.size(), last.size(), last))
      std::abort();
  }

  vesper::Parse(text, delimiter, pieces);
  size_t total = 0;
  for (int i = 0; i < pieces.Count(); ++i) total += pieces.Strings(i).size();
  if (!text.empty() && total + pieces.Count() - 1 != text.size()) std::abort();
  return 0;
}
