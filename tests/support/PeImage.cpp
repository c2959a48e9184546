#include "tests/support/PeImage.h"

#include <cstdint>

namespace vesper::test {

namespace {

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (8 * i));
}
void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = char(v);
  b[at + 1] = char(v >> 8);
}

}  // namespace

std::string MinimalVersionPe(const std::string& resource) {
  std::string pe(0x200 + 0x58 + resource.size(), '\0');
  pe[0] = 'M'; pe[1] = 'Z';
  Put32(pe, 0x3C, 0x40);
  pe.replace(0x40, 4, std::string("PE\0\0", 4));
  Put16(pe, 0x44, 0x14C);
  Put16(pe, 0x46, 1);        // sections
  Put16(pe, 0x54, 224);      // optional header size
  size_t opt = 0x58;
  Put16(pe, opt, 0x10B);
  Put32(pe, opt + 92, 16);   // directory count
  Put32(pe, opt + 96 + 16, 0x1000);
  Put32(pe, opt + 96 + 20, uint32_t(0x58 + resource.size()));
  size_t sec = opt + 224;
  pe.replace(sec, 5, ".rsrc");
  Put32(pe, sec + 8, uint32_t(0x58 + resource.size()));
  Put32(pe, sec + 12, 0x1000);
  Put32(pe, sec + 16, uint32_t(0x58 + resource.size()));
  Put32(pe, sec + 20, 0x200);
  size_t r = 0x200;
  Put16(pe, r + 14, 1); Put32(pe, r + 16, 16); Put32(pe, r + 20, 0x80000018);
  Put16(pe, r + 0x18 + 14, 1); Put32(pe, r + 0x28, 1); Put32(pe, r + 0x2C, 0x80000030);
  Put16(pe, r + 0x30 + 14, 1); Put32(pe, r + 0x40, 0x409); Put32(pe, r + 0x44, 0x48);
  Put32(pe, r + 0x48, 0x1058);
  Put32(pe, r + 0x4C, uint32_t(resource.size()));
  pe.replace(r + 0x58, resource.size(), resource);
  return pe;
}

}  // namespace vesper::test
