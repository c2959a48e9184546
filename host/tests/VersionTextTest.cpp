// The version text of a wizard module, from a PE file's version resource.
#include <gtest/gtest.h>

#include "host/WizManager.h"
#include "platform/DateTime.h"
#include "platform/VersionBuilder.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (8 * i));
}
void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = char(v);
  b[at + 1] = char(v >> 8);
}

// A minimal 32-bit PE image whose ".rsrc" section holds `resource` as
// RT_VERSION, name 1, language 0x409.
std::string MinimalPe(const std::string& resource) {
  std::string pe(0x200 + 0x58 + resource.size(), '\0');
  pe[0] = 'M';
  pe[1] = 'Z';
  Put32(pe, 0x3C, 0x40);
  pe.replace(0x40, 4, std::string("PE\0\0", 4));
  Put16(pe, 0x44, 0x14C);
  Put16(pe, 0x46, 1);
  Put16(pe, 0x54, 224);
  size_t opt = 0x58;
  Put16(pe, opt, 0x10B);
  Put32(pe, opt + 92, 16);
  Put32(pe, opt + 96 + 16, 0x1000);
  Put32(pe, opt + 96 + 20, uint32_t(0x58 + resource.size()));
  size_t sec = opt + 224;
  pe.replace(sec, 5, ".rsrc");
  Put32(pe, sec + 8, uint32_t(0x58 + resource.size()));
  Put32(pe, sec + 12, 0x1000);
  Put32(pe, sec + 16, uint32_t(0x58 + resource.size()));
  Put32(pe, sec + 20, 0x200);
  size_t r = 0x200;
  Put16(pe, r + 14, 1);
  Put32(pe, r + 16, 16);
  Put32(pe, r + 20, 0x80000018);
  Put16(pe, r + 0x18 + 14, 1);
  Put32(pe, r + 0x28, 1);
  Put32(pe, r + 0x2C, 0x80000030);
  Put16(pe, r + 0x30 + 14, 1);
  Put32(pe, r + 0x40, 0x409);
  Put32(pe, r + 0x44, 0x48);
  Put32(pe, r + 0x48, 0x1058);
  Put32(pe, r + 0x4C, uint32_t(resource.size()));
  pe.replace(r + 0x58, resource.size(), resource);
  return pe;
}

std::string VersionOf(uint32_t dateMS) {
  VersionFields f;
  f.ProductVersion[0] = 3;
  f.ProductVersion[3] = 12;
  f.FileVersion[0] = 1;
  f.FileVersion[1] = 2;
  f.FileVersion[2] = 345;
  f.FileVersion[3] = 7;
  f.FileDateMS = dateMS;
  std::string path = test::TempDir() + "/versioned.vwz";
  test::WriteFile(path, MinimalPe(BuildVersionResource(f)));
  TWizard w;
  w.SetDLLName(path);
  return w.GetVersion();
}

TEST(VersionText, FixedVersionAndDate) {
  TDateTime dated = EncodeDate(1998, 2, 14) + EncodeTime(13, 30, 10, 0);
  EXPECT_EQ(VersionOf(uint32_t(DateTimeToFileDate(dated))),
            "03.00.00.12 Build 01.02.345.07 Dated " + DateToStr(dated) + " " + TimeToStr(dated));
}

TEST(VersionText, ZeroDateWordShowsNow) {
  std::string text = VersionOf(0);
  std::string prefix = "03.00.00.12 Build 01.02.345.07 Dated " + DateToStr(Date()) + " ";
  EXPECT_EQ(text.substr(0, prefix.size()), prefix);
}

TEST(VersionText, FileWithoutVersionInformationGivesEmptyText) {
  std::string path = test::TempDir() + "/plain.vwz";
  test::WriteFile(path, "no version here");
  TWizard w;
  w.SetDLLName(path);
  EXPECT_EQ(w.GetVersion(), "");
}

}  // namespace
}  // namespace vesper
