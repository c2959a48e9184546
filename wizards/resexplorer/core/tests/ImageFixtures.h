// Fixtures of the image reader tests: the PE files built with the cross
// tools, and hand-built 16-bit executables and resource files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesper::test {

// Path of a built fixture; empty when the cross tools were not found.
std::string ExeFixture(const std::string& name);
// Skips the running test when the built fixtures are missing.
#define REQUIRE_EXE_FIXTURES()                                                         \
  if (::vesper::test::ExeFixture("app64.exe").empty())                                  \
  GTEST_SKIP() << "mingw-w64 cross tools not found: PE fixtures were not built"

// An identifier of a 16-bit resource: a number, or a name when `name` is set.
struct Ident16 {
  uint16_t id = 0;
  std::string name;
  bool named() const { return !name.empty(); }
};

struct NeResource {
  Ident16 name;  // numeric ids get the high bit in the table
  std::string data;
};
struct NeType {
  Ident16 type;
  std::vector<NeResource> resources;
};
// A 16-bit Windows executable holding `types` in its resource table.
std::string BuildNe(const std::vector<NeType>& types, uint16_t shift = 4, uint8_t targetOs = 2);

struct Res16Entry {
  Ident16 type;
  Ident16 name;
  std::string data;
};
// A 16-bit resource file.
std::string BuildRes16(const std::vector<Res16Entry>& entries);

// Little-endian appends.
void PutWord(std::string& s, uint16_t v);
void PutDWord(std::string& s, uint32_t v);
// UTF-16LE bytes of an ASCII text.
std::string Wide(const std::string& ascii);

}  // namespace vesper::test
