// Format, FormatFloat and FormatDateTime patterns: any pattern gives text or
// EConvertError, never a crash or a hang.
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/Format.h"

using namespace vesper;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  std::string pattern(reinterpret_cast<const char*>(data) + 8, size - 8);
  try {
    Format(pattern, {12, "text", value, int64_t(-5), 3, 4, nullptr});
  } catch (const EConvertError&) {
  }
  for (double v : {value, 0.0, -1234.5678, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
    FormatFloat(pattern, v);
    FormatDateTime(pattern, v);
  }
  return 0;
}
