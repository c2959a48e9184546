// The bitmap file form of a device-independent bitmap: what a bitmap
// resource (a DIB without its 14-byte file header) becomes as a .bmp file.
#pragma once

#include <string>
#include <string_view>

namespace vesper {

// A .bmp file for `dib` (a BITMAPINFOHEADER or BITMAPCOREHEADER, colour
// table and bits). "" when the header is damaged (too short, unknown size,
// colour table past the end).
std::string BitmapFileFromDib(std::string_view dib);

}  // namespace vesper
