// Version information: PE and ELF extraction, then every query on the bytes.
#include <cstdint>
#include <string>

#include "platform/VersionInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string resource;
  vesper::ExtractVersionResource(in, resource);
  for (std::string_view v : {std::string_view(resource), in}) {
    vesper::TVSFixedFileInfo fixed;
    vesper::VerQueryFixed(v, fixed);
    vesper::VerQueryTranslations(v);
    std::string s;
    vesper::VerQueryString(v, "\\StringFileInfo\\040904E4\\FileVersion", s);
  }
  return 0;
}
