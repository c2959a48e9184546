// Build tool: writes a C source that places a version resource in the ELF
// section ".rsrc_version" of the module it is compiled into.
//   vesper_mkversion OUT.c MAJOR.MINOR.RELEASE.BUILD DOSDATE FILENAME DESCRIPTION
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/VersionBuilder.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: vesper_mkversion OUT.c VERSION DOSDATE FILENAME DESCRIPTION\n");
    return 2;
  }
  vesper::VersionFields f;
  unsigned v[4] = {0, 0, 0, 0};
  std::sscanf(argv[2], "%u.%u.%u.%u", &v[0], &v[1], &v[2], &v[3]);
  for (int i = 0; i < 4; ++i) f.FileVersion[i] = f.ProductVersion[i] = uint16_t(v[i]);
  f.FileDateMS = uint32_t(std::strtoul(argv[3], nullptr, 10));
  std::string version = std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) +
                        "." + std::to_string(v[3]);
  f.Strings = {{"CompanyName", "Vesper"},
               {"FileDescription", argv[5]},
               {"FileVersion", version},
               {"InternalName", argv[4]},
               {"LegalCopyright", "Copyright (C) The Vesper developers"},
               {"OriginalFilename", argv[4]},
               {"ProductName", "Vesper"},
               {"ProductVersion", version}};
  std::string data = vesper::BuildVersionResource(f);
  FILE* out = std::fopen(argv[1], "w");
  if (!out) return 1;
  std::fprintf(out,
               "/* Generated: version resource. */\n"
               "__attribute__((section(\".rsrc_version\"), used, aligned(4)))\n"
               "static const unsigned char vesper_version_resource[%zu] = {",
               data.size());
  for (size_t i = 0; i < data.size(); ++i)
    std::fprintf(out, "%s%u", i == 0 ? "\n  " : i % 16 ? "," : ",\n  ",
                 unsigned(static_cast<unsigned char>(data[i])));
  std::fprintf(out, "\n};\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
