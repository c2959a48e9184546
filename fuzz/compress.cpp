// Compressed blocks: any bytes expand or raise the component's errors; what
// expands compresses and expands back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/compress/Compress.h"

using namespace vesper;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string block(reinterpret_cast<const char*>(data), size);
  std::string original;
  try {
    original = ExpandBytes(block);
  } catch (const ECompressError&) {
    return 0;
  }
  for (TCompressMethod m : {cmRLE, cmLZH})
    if (ExpandBytes(CompressBytes(original, m)) != original) std::abort();
  return 0;
}
