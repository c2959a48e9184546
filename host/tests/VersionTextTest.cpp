// The version text of a wizard module, from a PE file's version resource.
#include <gtest/gtest.h>

#include "host/WizManager.h"
#include "platform/DateTime.h"
#include "platform/VersionBuilder.h"
#include "tests/support/PeImage.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

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
  test::WriteFile(path, test::MinimalVersionPe(BuildVersionResource(f)));
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
