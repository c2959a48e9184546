// INI text reader: never crashes, its text reads back the same, and a value
// written into any section it found reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/IniFile.h"

using namespace vesper;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool SameContent(const TIniDocument& a, const TIniDocument& b) {
  if (a.Sections() != b.Sections()) return false;
  for (const std::string& s : a.Sections()) {
    if (a.Keys(s) != b.Keys(s)) return false;
    for (const std::string& k : a.Keys(s)) {
      std::string u, v;
      if (!a.ReadString(s, k, u) || !b.ReadString(s, k, v) || u != v) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TIniDocument doc(text);
  TIniDocument again(doc.Text());
  Check(SameContent(doc, again));
  const std::string value = " v'\"x ";
  for (const std::string& section : doc.Sections()) {
    TIniDocument edited = doc;
    try {
      edited.WriteString(section, "FuzzKey", value);
    } catch (const EIniFileException&) {
      continue;  // a name that cannot be written back
    }
    std::string read;
    Check(TIniDocument(edited.Text()).ReadString(section, "fuzzkey", read) && read == value);
    edited.EraseSection(section);
    Check(edited.Keys(section).empty());
  }
  return 0;
}
