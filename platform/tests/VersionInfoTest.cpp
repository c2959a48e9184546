#include <gtest/gtest.h>

#include "platform/VersionBuilder.h"
#include "platform/VersionInfo.h"
#include "tests/support/PeImage.h"
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
  ASSERT_TRUE(ExtractVersionResource(test::MinimalVersionPe(resource), out));
  EXPECT_EQ(out, resource);
  // Truncated images are refused, never read past the end.
  std::string pe = test::MinimalVersionPe(resource);
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
