#include "wizards/resexplorer/core/ResFileForms.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/StrUtils.h"
#include "platform/filer/FormConverter.h"
#include "wizards/resexplorer/core/ResInfo.h"

namespace vesper {
namespace {

// Little-endian reads that give 0 past the end of `data`.
uint32_t Get(std::string_view data, size_t at, size_t bytes) {
  uint32_t v = 0;
  for (size_t i = 0; i < bytes; ++i)
    if (at + i < data.size()) v |= uint32_t(uint8_t(data[at + i])) << (8 * i);
  return v;
}
uint16_t Word(std::string_view data, size_t at) { return uint16_t(Get(data, at, 2)); }
uint32_t DWord(std::string_view data, size_t at) { return Get(data, at, 4); }

void PutWord(std::string& out, uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
void PutDWord(std::string& out, uint32_t v) {
  PutWord(out, uint16_t(v));
  PutWord(out, uint16_t(v >> 16));
}

uint32_t DefaultColours(unsigned bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }

struct IconImage {
  unsigned width = 0, height = 0, colours = 0, planes = 1, bits = 0;
};

// The size and depth of an icon image: a DIB (height counts both masks) or a PNG.
IconImage ReadIconImage(std::string_view image) {
  IconImage info;
  if (image.size() >= 24 && image.substr(0, 8) == "\x89PNG\r\n\x1a\n") {
    auto be = [&](size_t at) {
      return uint32_t(uint8_t(image[at])) << 24 | uint32_t(uint8_t(image[at + 1])) << 16 |
             uint32_t(uint8_t(image[at + 2])) << 8 | uint32_t(uint8_t(image[at + 3]));
    };
    info.width = be(16);
    info.height = be(20);
    info.bits = 32;
    return info;
  }
  uint32_t header = DWord(image, 0);
  if (header == 12 && image.size() >= 12) {
    info.width = Word(image, 4);
    info.height = Word(image, 6) / 2;
    info.planes = Word(image, 8);
    info.bits = Word(image, 10);
  } else if (header >= 40 && image.size() >= header) {
    info.width = DWord(image, 4);
    info.height = DWord(image, 8) / 2;
    info.planes = Word(image, 12);
    info.bits = Word(image, 14);
    info.colours = DWord(image, 32);
  } else {
    throw EExeImage("Invalid icon or cursor data");
  }
  if (info.colours == 0 || info.colours > 255) info.colours = info.bits < 8 ? DefaultColours(info.bits) : 0;
  return info;
}

}  // namespace

std::string IconFileFromResource(std::string_view data, bool cursor) {
  // A cursor image starts with its hot spot (two words).
  std::string_view image = cursor ? data.substr(std::min<size_t>(4, data.size())) : data;
  IconImage info = ReadIconImage(image);
  std::string out;
  PutWord(out, 0);
  PutWord(out, 1);  // icon file
  PutWord(out, 1);  // one image
  out.push_back(char(info.width >= 256 ? 0 : info.width));
  out.push_back(char(info.height >= 256 ? 0 : info.height));
  out.push_back(char(info.colours >= 256 ? 0 : info.colours));
  out.push_back(0);
  PutWord(out, uint16_t(info.planes ? info.planes : 1));
  PutWord(out, uint16_t(info.bits));
  PutDWord(out, uint32_t(image.size()));
  PutDWord(out, 22);
  out.append(image);
  return out;
}

std::string BitmapFileFromResource(std::string_view data, uint32_t size) {
  uint32_t header = DWord(data, 0);
  uint64_t pixels;
  if (header >= 40) {
    // An info header (or a later, larger one) and its colour table; with
    // bit-field compression a 40-byte header is followed by three masks.
    uint32_t colours = DWord(data, 32);
    if (colours == 0) colours = DefaultColours(Word(data, 14));
    uint32_t masks = (header == 40 && DWord(data, 16) == 3) ? 12 : 0;
    pixels = 14 + uint64_t(header) + masks + 4ull * colours;
  } else {
    pixels = 26 + 3ull * DefaultColours(Word(data, 10));
  }
  std::string out = "BM";
  PutDWord(out, size + 14);
  PutWord(out, 0);
  PutWord(out, 0);
  PutDWord(out, uint32_t(pixels));
  out.append(data);
  return out;
}

uint16_t StringTableFirstId(const TResourceItem& item) {
  uint16_t block = item.IsUnicode ? uint16_t(item.OrdinalId) : uint16_t(item.Id & 0x7FFF);
  return uint16_t((block - 1) * 16);
}

std::vector<std::pair<uint16_t, std::string>> StringTableEntries(std::string_view data, uint16_t firstId,
                                                                  bool unicode) {
  std::vector<std::pair<uint16_t, std::string>> entries;
  size_t at = 0;
  size_t unit = unicode ? 2 : 1;
  for (unsigned i = 0; i < 16 && at + unit <= data.size(); ++i) {
    size_t length = unicode ? Word(data, at) : uint8_t(data[at]);
    at += unit;
    length = std::min(length, (data.size() - at) / unit);
    std::string text;
    if (unicode) {
      std::u16string wide(length, u'\0');
      for (size_t c = 0; c < length; ++c) wide[c] = char16_t(Word(data, at + 2 * c));
      text = Utf16ToAnsi(wide);
    } else {
      text.assign(data.substr(at, length));
    }
    at += length * unit;
    if (length) entries.emplace_back(uint16_t(firstId + i), std::move(text));
  }
  return entries;
}

std::string StringTableText(std::string_view data, uint16_t firstId, bool unicode) {
  std::string out;
  for (auto& [id, text] : StringTableEntries(data, firstId, unicode))
    out += std::to_string(id) + "," + text + "\r\n";
  return out;
}

std::string FormResourceRecord(const std::string& name, std::string_view data) {
  std::string out;
  out.push_back(char(0xFF));
  PutWord(out, 10);
  out += UpperCase(name).substr(0, 63);
  out.push_back('\0');
  PutWord(out, 0x1030);
  PutDWord(out, uint32_t(data.size()));
  out.append(data);
  return out;
}

std::string FormDataToText(std::string_view data) { return ObjectBinaryToText(data); }

}  // namespace vesper
