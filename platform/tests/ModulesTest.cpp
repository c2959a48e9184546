#include "platform/Modules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/StrUtils.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

using testing::EndsWith;
using testing::HasSubstr;

TEST(Modules, LoadsResolvesNamesAndFrees) {
  HMODULE m = LoadLibrary("libm.so.6");
  ASSERT_NE(m, nullptr) << GetLastModuleError();
  auto cosine = GetProcAddressAs<double (*)(double)>(m, "cos");
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(cosine(0.0), 1.0);
  std::string file = GetModuleFileName(m);
  EXPECT_THAT(file, HasSubstr("libm"));
  EXPECT_EQ(GetModuleFileNameOfAddress(reinterpret_cast<const void*>(cosine)).substr(0, 1), "/");
  EXPECT_EQ(GetProcAddress(m, "no_such_symbol"), nullptr);
  EXPECT_THAT(GetLastModuleError(), HasSubstr("no_such_symbol"));
  EXPECT_TRUE(FreeLibrary(m));
}

TEST(Modules, NamesTheProgramAndTheLibraryOfAnAddress) {
  EXPECT_THAT(GetModuleFileName(nullptr), EndsWith("/platform_tests"));
  EXPECT_THAT(GetModuleFileNameOfAddress(reinterpret_cast<const void*>(&LoadLibrary)), EndsWith("/libvesperplatform.so"));
  EXPECT_EQ(GetModuleFileNameOfAddress(nullptr), "");
}

TEST(Modules, FailuresGiveTheSystemText) {
  std::string dir = test::MakeTempSubdir("modules");
  test::WriteFile(dir + "/text.vwz", "not a library");
  test::WriteFile(dir + "/empty.so", "");
  struct Case {
    std::string file, text;
  } cases[] = {
      {dir + "/missing.so", "No such file or directory"},
      {dir + "/text.vwz", dir + "/text.vwz"},
      {dir + "/empty.so", dir + "/empty.so"},
      {dir, dir},
      {"", "No such file or directory"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(LoadLibrary(c.file), nullptr) << c.file;
    EXPECT_THAT(GetLastModuleError(), HasSubstr(c.text));
  }
  EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

}  // namespace
}  // namespace vesper
