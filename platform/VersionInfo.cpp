#include "platform/VersionInfo.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/CodePage.h"
#include "platform/StrUtils.h"

namespace vesper {

namespace {

// Bounds-checked little-endian reads from a byte view.
struct Bytes {
  std::string_view d;
  bool Has(uint64_t off, uint64_t len) const { return off <= d.size() && len <= d.size() - off; }
  uint16_t U16(uint64_t off) const {
    return Has(off, 2) ? uint16_t(uint8_t(d[off]) | (uint8_t(d[off + 1]) << 8)) : 0;
  }
  uint32_t U32(uint64_t off) const { return uint32_t(U16(off)) | (uint32_t(U16(off + 2)) << 16); }
  uint64_t U64(uint64_t off) const { return uint64_t(U32(off)) | (uint64_t(U32(off + 4)) << 32); }
};

uint64_t Align4(uint64_t v) { return (v + 3) & ~uint64_t(3); }

// --- PE: the first RT_VERSION resource ---

bool PeRvaToOffset(const Bytes& b, uint64_t sections, unsigned count, uint32_t rva, uint64_t& off) {
  for (unsigned i = 0; i < count; ++i) {
    uint64_t s = sections + uint64_t(i) * 40;
    if (!b.Has(s, 40)) return false;
    uint32_t vsize = b.U32(s + 8), va = b.U32(s + 12), rawSize = b.U32(s + 16), raw = b.U32(s + 20);
    uint32_t size = vsize ? vsize : rawSize;
    if (rva >= va && rva - va < size) {
      off = uint64_t(raw) + (rva - va);
      return rva - va < rawSize;
    }
  }
  return false;
}

// Entry of a resource directory at `dir` with the wanted id (or the first
// entry when id < 0); returns its offset field.
bool PeDirEntry(const Bytes& b, uint64_t dir, int id, uint32_t& target) {
  if (!b.Has(dir, 16)) return false;
  unsigned named = b.U16(dir + 12), ids = b.U16(dir + 14);
  for (unsigned i = 0; i < named + ids; ++i) {
    uint64_t e = dir + 16 + uint64_t(i) * 8;
    if (!b.Has(e, 8)) return false;
    uint32_t name = b.U32(e);
    if (id < 0 || (!(name & 0x80000000u) && name == uint32_t(id))) {
      target = b.U32(e + 4);
      return true;
    }
  }
  return false;
}

bool PeVersion(const Bytes& b, std::string& data) {
  uint32_t nt = b.U32(0x3C);
  if (!b.Has(nt, 24) || b.d.substr(nt, 4) != std::string_view("PE\0\0", 4)) return false;
  unsigned count = b.U16(nt + 6);
  unsigned optSize = b.U16(nt + 20);
  uint64_t opt = nt + 24;
  uint16_t magic = b.U16(opt);
  uint64_t dirs = opt + (magic == 0x20B ? 112 : 96);
  if (magic != 0x10B && magic != 0x20B) return false;
  uint32_t dirCount = b.U32(dirs - 4);
  if (dirCount < 3 || !b.Has(dirs + 16, 8) || dirs + 24 > opt + optSize) return false;
  uint32_t rsrcRva = b.U32(dirs + 16);
  uint64_t root;
  uint64_t sections = opt + optSize;
  if (!rsrcRva || !PeRvaToOffset(b, sections, count, rsrcRva, root)) return false;
  // Type 16, its first name, its first language: each must be a sub-directory
  // except the last, which is a data entry.
  uint32_t t;
  if (!PeDirEntry(b, root, 16, t) || !(t & 0x80000000u)) return false;
  if (!PeDirEntry(b, root + (t & 0x7FFFFFFF), -1, t) || !(t & 0x80000000u)) return false;
  if (!PeDirEntry(b, root + (t & 0x7FFFFFFF), -1, t) || (t & 0x80000000u)) return false;
  uint64_t entry = root + t;
  if (!b.Has(entry, 16)) return false;
  uint32_t dataRva = b.U32(entry), size = b.U32(entry + 4);
  uint64_t off;
  if (!PeRvaToOffset(b, sections, count, dataRva, off) || !b.Has(off, size)) return false;
  data.assign(b.d.substr(off, size));
  return true;
}

// --- ELF: the ".rsrc_version" section ---

bool ElfVersion(const Bytes& b, std::string& data) {
  bool is64 = b.d.size() > 4 && b.d[4] == 2;
  if (b.d.size() < 6 || b.d[5] != 1) return false;  // little-endian only
  uint64_t shoff = is64 ? b.U64(0x28) : b.U32(0x20);
  unsigned shentsize = b.U16(is64 ? 0x3A : 0x2E);
  unsigned shnum = b.U16(is64 ? 0x3C : 0x30);
  unsigned shstrndx = b.U16(is64 ? 0x3E : 0x32);
  if (shentsize < (is64 ? 64u : 40u) || shstrndx >= shnum) return false;
  auto header = [&](unsigned i) { return shoff + uint64_t(i) * shentsize; };
  auto offsetOf = [&](uint64_t h) { return is64 ? b.U64(h + 0x18) : b.U32(h + 0x10); };
  auto sizeOf = [&](uint64_t h) { return is64 ? b.U64(h + 0x20) : b.U32(h + 0x14); };
  if (!b.Has(header(shnum - 1), shentsize)) return false;
  uint64_t strtab = offsetOf(header(shstrndx)), strsize = sizeOf(header(shstrndx));
  if (!b.Has(strtab, strsize)) return false;
  const std::string_view wanted(".rsrc_version\0", 14);
  for (unsigned i = 0; i < shnum; ++i) {
    uint64_t h = header(i);
    uint32_t name = b.U32(h);
    if (name >= strsize || strsize - name < wanted.size()) continue;
    if (b.d.substr(strtab + name, wanted.size()) != wanted) continue;
    uint64_t off = offsetOf(h), size = sizeOf(h);
    if (!b.Has(off, size)) return false;
    data.assign(b.d.substr(off, size));
    return true;
  }
  return false;
}

// --- version blocks ---

struct Block {
  uint64_t start = 0, end = 0;  // whole block
  std::u16string key;
  uint64_t value = 0, valueSize = 0;
  uint64_t children = 0;
};

bool ReadBlock(const Bytes& b, uint64_t at, uint64_t limit, Block& out) {
  if (!b.Has(at, 6) || at + 6 > limit) return false;
  uint16_t len = b.U16(at), valueLen = b.U16(at + 2), type = b.U16(at + 4);
  if (len < 6 || at + len > limit) return false;
  out.start = at;
  out.end = at + len;
  out.key.clear();
  uint64_t p = at + 6;
  for (;; p += 2) {
    if (p + 2 > out.end) return false;
    char16_t c = b.U16(p);
    if (!c) break;
    out.key += c;
  }
  out.value = Align4(p + 2);
  out.valueSize = type == 1 ? uint64_t(valueLen) * 2 : valueLen;
  if (out.value > out.end) out.value = out.end;
  if (out.valueSize > out.end - out.value) out.valueSize = out.end - out.value;
  out.children = Align4(out.value + out.valueSize);
  return true;
}

bool FindChild(const Bytes& b, const Block& parent, std::string_view key, Block& out) {
  uint64_t p = parent.children;
  while (p < parent.end) {
    Block c;
    if (!ReadBlock(b, p, parent.end, c)) return false;
    if (SameText(Utf16ToUtf8(c.key), key)) {
      out = c;
      return true;
    }
    p = Align4(c.end);
  }
  return false;
}

}  // namespace

bool ExtractVersionResource(std::string_view image, std::string& data) {
  Bytes b{image};
  if (image.size() >= 0x40 && image.substr(0, 2) == "MZ") return PeVersion(b, data);
  if (image.size() >= 0x40 && image.substr(0, 4) == "\x7F" "ELF") return ElfVersion(b, data);
  return false;
}

bool GetFileVersionInfo(const std::string& fileName, std::string& data) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = false;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    void* map = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (map != MAP_FAILED) {
      ok = ExtractVersionResource(std::string_view(static_cast<const char*>(map), size_t(st.st_size)), data);
      ::munmap(map, size_t(st.st_size));
    }
  }
  ::close(fd);
  return ok;
}

bool VerQueryValue(std::string_view data, std::string_view subBlock, std::string_view& value) {
  Bytes b{data};
  Block cur;
  if (!ReadBlock(b, 0, data.size(), cur)) return false;
  for (auto& part : SplitString(subBlock, '\\')) {
    if (part.empty()) continue;
    Block next;
    if (!FindChild(b, cur, part, next)) return false;
    cur = next;
  }
  value = data.substr(cur.value, cur.valueSize);
  return true;
}

bool VerQueryFixed(std::string_view data, TVSFixedFileInfo& fixed) {
  std::string_view v;
  if (!VerQueryValue(data, "\\", v) || v.size() < sizeof(TVSFixedFileInfo)) return false;
  Bytes b{v};
  uint32_t fields[13];
  static_assert(sizeof fields == sizeof(TVSFixedFileInfo));
  for (int i = 0; i < 13; ++i) fields[i] = b.U32(uint64_t(i) * 4);
  std::memcpy(&fixed, fields, sizeof fields);
  return fixed.dwSignature == 0xFEEF04BD;
}

std::vector<uint32_t> VerQueryTranslations(std::string_view data) {
  std::vector<uint32_t> out;
  std::string_view v;
  if (!VerQueryValue(data, "\\VarFileInfo\\Translation", v)) return out;
  Bytes b{v};
  for (uint64_t i = 0; i + 4 <= v.size(); i += 4) out.push_back(b.U32(i));
  return out;
}

bool VerQueryString(std::string_view data, std::string_view subBlock, std::string& value) {
  std::string_view v;
  if (!VerQueryValue(data, subBlock, v)) return false;
  std::u16string text;
  Bytes b{v};
  for (uint64_t i = 0; i + 2 <= v.size(); i += 2) {
    char16_t c = b.U16(i);
    if (!c) break;
    text += c;
  }
  value = Utf16ToAnsi(text);
  return true;
}

}  // namespace vesper
