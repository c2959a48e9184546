#include <gtest/gtest.h>

#include "platform/VersionBuilder.h"
#include "platform/VersionInfo.h"
#include "tests/support/TestSupport.h"

using namespace vesper;

namespace {

VersionFields SampleFields() {
  VersionFields f;
  f.FileVersion[0] = 1; f.FileVersion[1] = 2; f.FileVersion[2] = 3; f.FileVersion[3] = 4;
  f.ProductVersion[0] = 5; f.ProductVersion[3] = 8;
  f.FileDateMS = 0x5A2B6000;
  f.Strings = {{"CompanyName", "Acme \xe9"}, {"FileVersion", "1.2.3.4"}, {"Comments", ""}};
  return f;
}

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (8 * i));
}
void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = char(v);
  b[at + 1] = char(v >> 8);
}

// A minimal 32-bit PE image with one ".rsrc" section holding `resource` as
// RT_VERSION, name 1, language 0x409.
std::string MinimalPe(const std::string& resource) {
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

}  // namespace

TEST(VersionInfo, BuiltResourceAnswersQueries) {
  std::string data = BuildVersionResource(SampleFields());
  TVSFixedFileInfo fixed;
  ASSERT_TRUE(VerQueryFixed(data, fixed));
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00010002u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0x00030004u);
  EXPECT_EQ(fixed.dwProductVersionLS, 8u);
  EXPECT_EQ(fixed.dwFileDateMS, 0x5A2B6000u);
  EXPECT_EQ(VerQueryTranslations(data), std::vector<uint32_t>{0x04E40409u});
  std::string s;
  ASSERT_TRUE(VerQueryString(data, "\\StringFileInfo\\040904E4\\CompanyName", s));
  EXPECT_EQ(s, "Acme \xe9");
  ASSERT_TRUE(VerQueryString(data, "\\stringfileinfo\\040904e4\\comments", s));
  EXPECT_EQ(s, "");
  EXPECT_FALSE(VerQueryString(data, "\\StringFileInfo\\040904E4\\Missing", s));
  EXPECT_FALSE(VerQueryString(data, "\\StringFileInfo\\04070000\\CompanyName", s));
}

TEST(VersionInfo, ReadFromPeImageAndOurOwnModules) {
  std::string resource = BuildVersionResource(SampleFields());
  std::string out;
  ASSERT_TRUE(ExtractVersionResource(MinimalPe(resource), out));
  EXPECT_EQ(out, resource);
  // Truncated images are refused, never read past the end.
  std::string pe = MinimalPe(resource);
  for (size_t cut : {size_t(0x40), size_t(0x150), size_t(0x210), pe.size() - 1})
    EXPECT_FALSE(ExtractVersionResource(std::string_view(pe).substr(0, cut), out)) << cut;

  std::string lib = test::BuildDir() + "/lib/vesper/libvesperplatform.so";
  ASSERT_TRUE(GetFileVersionInfo(lib, out));
  TVSFixedFileInfo fixed;
  ASSERT_TRUE(VerQueryFixed(out, fixed));
  EXPECT_EQ(fixed.dwFileVersionMS >> 16, 1u);
  EXPECT_NE(fixed.dwFileDateMS, 0u);
  std::string name;
  ASSERT_TRUE(VerQueryString(out, "\\StringFileInfo\\040904E4\\OriginalFilename", name));
  EXPECT_EQ(name, "libvesperplatform.so");
  EXPECT_FALSE(GetFileVersionInfo("/nonexistent", out));
  EXPECT_FALSE(GetFileVersionInfo(test::SourceDir() + "/README.md", out));
}
