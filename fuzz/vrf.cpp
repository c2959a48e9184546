// Resource project files: any bytes are read or refused with a message; what
// was read writes out and reads back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "wizards/resedit/core/Resources.h"
#include "wizards/resedit/core/VrfFile.h"

using namespace vesper;

namespace {

bool ReadInto(TResources& res, std::string bytes, const TResUserIO& io) {
  res.SetFileName("fuzz.vrf");
  return TVrfReader(res, io).ReadBytes(std::move(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TResUserIO io{[](const TResNotice&) { return TModalResult::mrYes; }, {}};
  TResources res("US English", 1033);
  if (!ReadInto(res, std::string(reinterpret_cast<const char*>(data), size), io)) return 0;
  std::string first = TVrfWriter(res, io).Bytes(1.5);
  TResources again("US English", 1033);
  if (!ReadInto(again, first, io)) std::abort();
  if (TVrfWriter(again, io).Bytes(1.5) != first) std::abort();
  return 0;
}
