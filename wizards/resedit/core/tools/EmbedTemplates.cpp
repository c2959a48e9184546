// Build-time tool: compresses the library-project templates (LZH) into a
// C++ source that holds them as the "CMPRCD" resources 1, 2, 3.
// Usage: vesreditembed OUTPUT.cpp TEMPLATE1 TEMPLATE2 TEMPLATE3
#include <cstdio>
#include <string>

#include "platform/Files.h"
#include "platform/compress/Compress.h"

using namespace vesper;

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: vesreditembed OUTPUT.cpp TEMPLATE1 TEMPLATE2 TEMPLATE3\n");
    return 2;
  }
  std::string out =
      "// Generated at build time from wizards/resedit/core/templates; do not edit.\n"
      "#include \"wizards/resedit/core/LibraryProject.h\"\n\nnamespace vesper {\n\nnamespace {\n";
  for (int i = 1; i <= 3; ++i) {
    std::string block = CompressBytes(ReadFileBytes(argv[i + 1]), cmLZH);
    out += "const unsigned char kTemplate" + std::to_string(i) + "[] = {";
    for (size_t b = 0; b < block.size(); ++b)
      out += (b % 16 ? "" : "\n  ") + std::to_string(uint8_t(block[b])) + ",";
    out += "\n};\n";
  }
  out += "\n}  // namespace\n\nstd::string_view CompressedTemplate(int id) {\n  switch (id) {\n";
  for (int i = 1; i <= 3; ++i)
    out += "    case " + std::to_string(i) + ": return {reinterpret_cast<const char*>(kTemplate" + std::to_string(i) +
           "), sizeof kTemplate" + std::to_string(i) + "};\n";
  out += "    default: return {};\n  }\n}\n\n}  // namespace vesper\n";
  SaveFileAtomic(argv[1], out);
  return 0;
}
