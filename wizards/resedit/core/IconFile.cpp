#include "wizards/resedit/core/IconFile.h"

#include "wizards/resedit/core/ResCompiler.h"

namespace vesper {

namespace {

uint16_t Get16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }
uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | uint32_t(Get16(b, at + 2)) << 16; }

[[noreturn]] void Damaged(const std::string& path) {
  throw EResCompileError("Icon or cursor file " + path + " is damaged");
}

}  // namespace

TIconFile ReadIconFile(const std::string& bytes, const std::string& path) {
  TIconFile f;
  if (bytes.size() < 6) Damaged(path);
  f.Header = bytes.substr(0, 6);
  f.Count = Get16(bytes, 4);
  if (f.Count == 0 || 6 + size_t(f.Count) * 16 > bytes.size()) Damaged(path);
  for (size_t i = 0; i < f.Count; ++i) {
    size_t at = 6 + i * 16;
    TIconDirEntry e;
    e.Width = uint8_t(bytes[at]);
    e.Height = uint8_t(bytes[at + 1]);
    e.ColorCount = uint8_t(bytes[at + 2]);
    e.Reserved = uint8_t(bytes[at + 3]);
    e.Planes = Get16(bytes, at + 4);
    e.BitCount = Get16(bytes, at + 6);
    e.BytesInRes = Get32(bytes, at + 8);
    e.ImageOffset = Get32(bytes, at + 12);
    if (e.ImageOffset > bytes.size() || e.BytesInRes > bytes.size() - e.ImageOffset) Damaged(path);
    e.Image = bytes.substr(e.ImageOffset, e.BytesInRes);
    f.Entries.push_back(std::move(e));
  }
  return f;
}

}  // namespace vesper
