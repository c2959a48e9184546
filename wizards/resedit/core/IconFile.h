// Icon (.ICO) and cursor (.CUR) files: the 6-byte header, the 16-byte
// directory entries and the image bytes, all bounds-checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesper {

struct TIconDirEntry {
  uint8_t Width = 0, Height = 0, ColorCount = 0, Reserved = 0;
  uint16_t Planes = 0, BitCount = 0;  // hot spot x and y in cursor files
  uint32_t BytesInRes = 0, ImageOffset = 0;
  std::string Image;  // the image's bytes
};

struct TIconFile {
  std::string Header;  // the 6 bytes as read
  uint16_t Count = 0;
  std::vector<TIconDirEntry> Entries;
};

// Reads the header, the directory and every image (from its directory
// offset). Raises EResCompileError naming `path` when counts, offsets or
// sizes go beyond the file or the file has no image.
TIconFile ReadIconFile(const std::string& bytes, const std::string& path);

}  // namespace vesper
