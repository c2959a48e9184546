#include "wizards/resexplorer/core/tests/ImageFixtures.h"

#include <unistd.h>

namespace vesper::test {

std::string ExeFixture(const std::string& name) {
  std::string dir = VESPER_EXE_FIXTURES;
  if (dir.empty() || access((dir + "/" + name).c_str(), R_OK) != 0) return "";
  return dir + "/" + name;
}

void PutWord(std::string& s, uint16_t v) {
  s.push_back(char(v & 0xFF));
  s.push_back(char(v >> 8));
}

void PutDWord(std::string& s, uint32_t v) {
  PutWord(s, uint16_t(v));
  PutWord(s, uint16_t(v >> 16));
}

std::string Wide(const std::string& ascii) {
  std::string out;
  for (char c : ascii) PutWord(out, uint8_t(c));
  return out;
}

namespace {

void SetWord(std::string& s, size_t at, uint16_t v) {
  s[at] = char(v & 0xFF);
  s[at + 1] = char(v >> 8);
}

}  // namespace

std::string BuildNe(const std::vector<NeType>& types, uint16_t shift, uint8_t targetOs) {
  const size_t ne = 0x80, table = ne + 0x40;
  std::string file(ne + 0x40, '\0');
  file[0] = 'M';
  file[1] = 'Z';
  SetWord(file, 0x18, 0x40);
  SetWord(file, 0x3C, uint16_t(ne));
  file[ne] = 'N';
  file[ne + 1] = 'E';
  file[ne + 0x36] = char(targetOs);
  // Resource table: shift, type entries, terminator, then the names.
  size_t entriesSize = 2 + 2;
  for (auto& t : types) entriesSize += 8 + 12 * t.resources.size();
  std::string names;
  auto nameOffset = [&](const Ident16& ident, uint16_t numeric) -> uint16_t {
    if (!ident.named()) return numeric;
    uint16_t at = uint16_t(entriesSize + names.size());
    names.push_back(char(ident.name.size()));
    names += ident.name;
    return at;
  };
  std::string entries;
  PutWord(entries, shift);
  size_t dataStart = (table + entriesSize + 1024 + ((1u << shift) - 1)) & ~size_t((1u << shift) - 1);
  std::string data;
  for (auto& t : types) {
    PutWord(entries, nameOffset(t.type, uint16_t(0x8000 | t.type.id)));
    PutWord(entries, uint16_t(t.resources.size()));
    PutDWord(entries, 0);
    for (auto& r : t.resources) {
      size_t at = dataStart + data.size();
      size_t units = (r.data.size() + (1u << shift) - 1) >> shift;
      data += r.data;
      data.resize((units << shift) + (at - dataStart), '\0');
      PutWord(entries, uint16_t(at >> shift));
      PutWord(entries, uint16_t(units));
      PutWord(entries, 0x30);
      PutWord(entries, nameOffset(r.name, uint16_t(0x8000 | r.name.id)));
      PutDWord(entries, 0);  // handle and usage
    }
  }
  PutWord(entries, 0);
  names.push_back('\0');
  std::string resTable = entries + names;
  SetWord(file, ne + 0x24, uint16_t(table - ne));
  SetWord(file, ne + 0x26, uint16_t(table - ne + resTable.size()));
  SetWord(file, ne + 0x04, uint16_t(table - ne + resTable.size()));
  SetWord(file, ne + 0x06, 2);
  file += resTable;
  file += std::string(2, '\0');  // entry table
  file.resize(dataStart, '\0');
  return file + data;
}

std::string BuildRes16(const std::vector<Res16Entry>& entries) {
  std::string out;
  auto ident = [&](const Ident16& i) {
    if (i.named()) {
      out += i.name;
      out.push_back('\0');
    } else {
      out.push_back(char(0xFF));
      PutWord(out, i.id);
    }
  };
  for (auto& e : entries) {
    ident(e.type);
    ident(e.name);
    PutWord(out, 0x1030);
    PutDWord(out, uint32_t(e.data.size()));
    out += e.data;
  }
  return out;
}

}  // namespace vesper::test
