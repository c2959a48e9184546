#include "ui/BitmapFile.h"

#include <cstdint>

namespace vesper {

namespace {

uint32_t Le32(std::string_view s, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(s[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

uint16_t Le16(std::string_view s, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) |
                               static_cast<unsigned char>(s[at + 1]) << 8);
}

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BitmapFileFromDib(std::string_view dib) {
  if (dib.size() < 12) return "";
  const uint32_t headerSize = Le32(dib, 0);
  uint64_t table = 0;
  if (headerSize == 12) {
    const uint16_t bits = Le16(dib, 10);
    if (bits <= 8) table = 3ull << bits;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
             headerSize == 108 || headerSize == 124) {
    if (dib.size() < 40) return "";
    const uint16_t bits = Le16(dib, 14);
    const uint32_t compression = Le32(dib, 16);
    const uint32_t used = Le32(dib, 32);
    uint64_t colours = used ? used : bits <= 8 ? 1ull << bits : 0;
    table = colours * 4;
    if (headerSize == 40 && (compression == 3 || compression == 6)) table += compression == 3 ? 12 : 16;
  } else {
    return "";
  }
  const uint64_t offBits = 14 + headerSize + table;
  if (offBits > dib.size() + 14) return "";
  std::string file = "BM";
  Put32(file, static_cast<uint32_t>(dib.size() + 14));
  Put32(file, 0);
  Put32(file, static_cast<uint32_t>(offBits));
  file.append(dib);
  return file;
}

}  // namespace vesper
