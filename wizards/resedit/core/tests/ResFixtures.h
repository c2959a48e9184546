// Test fixtures for compiled resources: bitmap, icon and cursor file bytes,
// and a reader of 32-bit and 16-bit resource files into records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wizards/resedit/core/tests/VrfBytes.h"

namespace vesper::test {

// A bottom-up 24-bit .BMP of w x h pixels (all zero).
inline std::string BmpFile(int w, int h) {
  size_t row = (w * 3 + 3) / 4 * 4, data = row * h;
  VrfBytes b;
  b.raw("BM").dw(uint32_t(54 + data)).dw(0).dw(54);
  b.dw(40).dw(w).dw(h).w(1).w(24).dw(0).dw(uint32_t(data)).dw(0).dw(0).dw(0).dw(0).zeros(data);
  return b.str();
}

// An icon image of w x w pixels at `bpp` bits, filled with `fill`.
inline std::string IconImage(int w, int bpp, char fill) {
  VrfBytes b;
  b.dw(40).dw(w).dw(2 * w).w(1).w(uint16_t(bpp)).dw(0).dw(0).dw(0).dw(0).dw(0).dw(0);
  return b.str() + std::string(size_t(w * w * bpp / 8 + (w + 31) / 32 * 4 * w), fill);
}

struct IconSpec {
  int Width, Bpp;
  char Fill;
};

// An .ICO (type 1) or .CUR (type 2, hot spot 3, 4) file.
inline std::string IconFileBytes(const std::vector<IconSpec>& images, uint16_t type = 1) {
  VrfBytes head, body;
  head.w(0).w(type).w(uint16_t(images.size()));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (auto& s : images) {
    std::string image = IconImage(s.Width, s.Bpp, s.Fill);
    head.b(uint8_t(s.Width)).b(uint8_t(s.Width)).b(0).b(0);
    if (type == 1) head.w(1).w(uint16_t(s.Bpp)); else head.w(3).w(4);
    head.dw(uint32_t(image.size())).dw(offset + uint32_t(body.size()));
    body.raw(image);
  }
  return head.str() + body.str();
}

struct ResRecord {
  std::string Type, Name;  // "#n" for numbers, else the (upper-cased on request) name
  uint16_t Flags = 0, Language = 0;
  std::string Data;
};

inline uint16_t Word(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }
inline uint32_t DWord(const std::string& b, size_t at) { return Word(b, at) | uint32_t(Word(b, at + 2)) << 16; }

// The records of a 32-bit resource file (the empty first record included).
inline std::vector<ResRecord> ReadRes32(const std::string& b) {
  std::vector<ResRecord> out;
  size_t p = 0;
  auto name = [&](size_t& q) {
    if (Word(b, q) == 0xFFFF) {
      q += 4;
      return "#" + std::to_string(Word(b, q - 2));
    }
    std::string s;
    for (; Word(b, q) != 0; q += 2) s += char(Word(b, q));
    q += 2;
    return s;
  };
  while (p + 32 <= b.size()) {
    ResRecord r;
    uint32_t size = DWord(b, p), header = DWord(b, p + 4);
    size_t q = p + 8;
    r.Type = name(q);
    r.Name = name(q);
    q = (q + 3) & ~size_t(3);
    r.Flags = Word(b, q + 4);
    r.Language = Word(b, q + 6);
    r.Data = b.substr(p + header, size);
    out.push_back(r);
    p = (p + header + size + 3) & ~size_t(3);
  }
  return out;
}

inline std::vector<ResRecord> ReadRes16(const std::string& b) {
  std::vector<ResRecord> out;
  size_t p = 0;
  auto name = [&]() {
    if (uint8_t(b[p]) == 0xFF) {
      p += 3;
      return "#" + std::to_string(Word(b, p - 2));
    }
    std::string s;
    while (b[p]) s += b[p++];
    ++p;
    return s;
  };
  while (p < b.size()) {
    ResRecord r;
    r.Type = name();
    r.Name = name();
    r.Flags = Word(b, p);
    uint32_t size = DWord(b, p + 2);
    p += 6;
    r.Data = b.substr(p, size);
    p += size;
    out.push_back(r);
  }
  return out;
}

}  // namespace vesper::test
