// Icon and cursor files as the resource compiler reads them: any bytes give
// the images or EResCompileError; every image lies within the file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "wizards/resedit/core/IconFile.h"
#include "wizards/resedit/core/ResCompiler.h"

using namespace vesper;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    TIconFile f = ReadIconFile(bytes, "fuzz.ico");
    if (f.Entries.size() != f.Count) std::abort();
    for (auto& e : f.Entries)
      if (e.Image.size() != e.BytesInRes || bytes.compare(e.ImageOffset, e.BytesInRes, e.Image) != 0) std::abort();
  } catch (const EResCompileError&) {
  }
  return 0;
}
