// `vesper res` and `vesper deps` over the fixtures.
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "wizards/resexplorer/core/tests/ImageFixtures.h"

namespace vesper {
namespace {

using test::ExeFixture;

test::RunResult Vesper(std::vector<std::string> args) {
  args.insert(args.begin(), test::BinPath("vesper"));
  return test::Run(args);
}

TEST(ResCommand, ListSaveAndText) {
  REQUIRE_EXE_FIXTURES();
  auto list = Vesper({"res", "list", ExeFixture("app32.exe")});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_NE(list.out.find("(32Bit)\nBITMAP\n    PICTURE "), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\nFORMS\n    MAINFORM "), std::string::npos);
  EXPECT_NE(list.out.find(" 00030\n"), std::string::npos);  // the form's size, 48

  std::string out = test::MakeTempSubdir("save") + "/icon.ico";
  auto save = Vesper({"res", "save", ExeFixture("app64.exe"), "icon", "1", out});
  ASSERT_EQ(save.exitCode, 0) << save.err;
  EXPECT_EQ(test::ReadFile(out),
            test::ReadFile(test::SourceDir() + "/wizards/resexplorer/core/tests/fixtures/icon.ico"));

  auto strings = Vesper({"res", "text", ExeFixture("app.res"), "STRINGS", "0002"});
  EXPECT_EQ(strings.out, "17,Block two\n");
  auto form = Vesper({"res", "text", ExeFixture("app32.exe"), "forms", "mainform"});
  EXPECT_EQ(form.out, "object MainForm: TMainForm\r\n  Left = 300\r\n  Caption = 'Hello'\r\nend\r\n");
  auto version = Vesper({"res", "text", ExeFixture("lib64.dll"), "version", "1"});
  EXPECT_NE(version.out.find("Company Name       Vesper Test\n"), std::string::npos) << version.out;
}

TEST(ResCommand, Errors) {
  REQUIRE_EXE_FIXTURES();
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"res", "list", ExeFixture("dep64.dll")}, "vesper: No resources in this file.\n"},
      {{"res", "text", ExeFixture("app64.exe"), "RCDATA", "10"}, "vesper: no text form for resources of type RCDATA\n"},
      {{"res", "save", ExeFixture("app64.exe"), "ICON", "9", "/tmp/x"}, nullptr},
      {{"res", "list"}, nullptr},
      {{"deps"}, nullptr},
  };
  for (auto& c : cases) {
    auto r = Vesper(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args.back();
    if (c.message) {
      EXPECT_EQ(r.err, c.message);
    }
  }
}

TEST(DepsCommand, TreeAndStops) {
  REQUIRE_EXE_FIXTURES();
  auto deps = Vesper({"deps", ExeFixture("useapp.exe"), "--recurse", "--system-dir", VESPER_EXE_FIXTURES});
  EXPECT_EQ(deps.exitCode, 0) << deps.err;
  EXPECT_EQ(deps.out, "Packages\n    PKGA.DPL\n        PKGB.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
  auto imports = Vesper({"deps", ExeFixture("app64.exe"), "--imports"});
  EXPECT_EQ(imports.exitCode, 1);
  EXPECT_EQ(imports.out, "Packages\nDLL's\n    DEP.DLL\n    KERNEL32.DLL\n        GetTickCount\n        Sleep\nUnits\nUnknown\n");
  EXPECT_EQ(imports.err, "vesper: Resource PACKAGEINFO not found\n");
}

}  // namespace
}  // namespace vesper
