// Builds a version resource (the 32-bit VS_VERSIONINFO layout): the fixed
// block, one string table and the translation table. Header-only so that the
// build's generator program can use it without the platform library.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vesper {

struct VersionFields {
  uint16_t FileVersion[4] = {0, 0, 0, 0};     // most significant first
  uint16_t ProductVersion[4] = {0, 0, 0, 0};
  uint32_t FileFlagsMask = 0x3F;
  uint32_t FileFlags = 0;
  uint32_t FileOS = 0x00040004;               // VOS_NT_WINDOWS32
  uint32_t FileType = 2;                       // VFT_DLL
  uint32_t FileSubtype = 0;
  uint32_t FileDateMS = 0;                     // packed DOS date and time, or 0
  uint32_t FileDateLS = 0;
  uint16_t Language = 0x0409;
  uint16_t CodePage = 1252;
  // Name/value pairs of the string table (ASCII texts).
  std::vector<std::pair<std::string, std::string>> Strings;
};

namespace version_detail {

inline void Put16(std::string& b, uint16_t v) {
  b += char(v & 0xFF);
  b += char(v >> 8);
}
inline void Put32(std::string& b, uint32_t v) {
  Put16(b, uint16_t(v));
  Put16(b, uint16_t(v >> 16));
}
inline void PutWide(std::string& b, const std::string& s) {
  for (unsigned char c : s) Put16(b, c);
  Put16(b, 0);
}
inline void Align(std::string& b) {
  while (b.size() % 4) b += '\0';
}
// A block: length, value length, type, key, padding, value, padding, children.
inline std::string Block(const std::string& key, const std::string& value, uint16_t valueLength,
                         uint16_t type, const std::string& children) {
  std::string b(6, '\0');
  PutWide(b, key);
  Align(b);
  b += value;
  if (!children.empty()) {
    Align(b);
    b += children;
  }
  uint16_t len = uint16_t(b.size());
  b[0] = char(len & 0xFF);
  b[1] = char(len >> 8);
  b[2] = char(valueLength & 0xFF);
  b[3] = char(valueLength >> 8);
  b[4] = char(type & 0xFF);
  b[5] = char(type >> 8);
  return b;
}
inline std::string HexWord(uint16_t v) {
  static const char k[] = "0123456789ABCDEF";
  std::string s;
  for (int shift = 12; shift >= 0; shift -= 4) s += k[(v >> shift) & 15];
  return s;
}

}  // namespace version_detail

inline std::string BuildVersionResource(const VersionFields& f) {
  using namespace version_detail;
  std::string fixed;
  Put32(fixed, 0xFEEF04BD);
  Put32(fixed, 0x00010000);
  Put32(fixed, (uint32_t(f.FileVersion[0]) << 16) | f.FileVersion[1]);
  Put32(fixed, (uint32_t(f.FileVersion[2]) << 16) | f.FileVersion[3]);
  Put32(fixed, (uint32_t(f.ProductVersion[0]) << 16) | f.ProductVersion[1]);
  Put32(fixed, (uint32_t(f.ProductVersion[2]) << 16) | f.ProductVersion[3]);
  Put32(fixed, f.FileFlagsMask);
  Put32(fixed, f.FileFlags);
  Put32(fixed, f.FileOS);
  Put32(fixed, f.FileType);
  Put32(fixed, f.FileSubtype);
  Put32(fixed, f.FileDateMS);
  Put32(fixed, f.FileDateLS);

  std::string strings;
  for (auto& [name, value] : f.Strings) {
    std::string v;
    PutWide(v, value);
    Align(strings);
    strings += Block(name, v, uint16_t(value.size() + 1), 1, "");
  }
  std::string table = Block(HexWord(f.Language) + HexWord(f.CodePage), "", 0, 1, strings);
  std::string stringInfo = Block("StringFileInfo", "", 0, 1, table);
  std::string translation;
  Put16(translation, f.Language);
  Put16(translation, f.CodePage);
  std::string var = Block("Translation", translation, 4, 0, "");
  std::string varInfo = Block("VarFileInfo", "", 0, 1, var);
  std::string children = stringInfo;
  Align(children);
  children += varInfo;
  return Block("VS_VERSION_INFO", fixed, uint16_t(fixed.size()), 0, children);
}

}  // namespace vesper
