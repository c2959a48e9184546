#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

using test::RunResult;

class RegCommandTest : public testing::Test {
 protected:
  // Points the programs run from now on at a fresh $VESPER_HOME.
  void UseHome(const std::string& name) {
    std::string home = test::MakeTempSubdir(std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" + name);
    ::setenv("VESPER_HOME", home.c_str(), 1);
  }
  static RunResult Reg(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {test::BinPath("vesper"), "reg"});
    return test::Run(args, input);
  }
};

TEST_F(RegCommandTest, ExportImportExportGivesTheSameFile) {
  UseHome("a");
  ASSERT_EQ(Reg({"set", "HKEY_CURRENT_USER\\Software\\Vesper", "Name", "string", "a \"quoted\" \\ text"}).exitCode, 0);
  ASSERT_EQ(Reg({"set", "HKCU\\Software\\Vesper", "Count", "dword", "0x1F"}).exitCode, 0);
  ASSERT_EQ(Reg({"set", "HKCU\\Software\\Vesper\\Grep", "@", "binary", "01,ff,3"}).exitCode, 0);
  ASSERT_EQ(Reg({"set", "HKLM\\Software\\Machine", "Neg", "dword", "-1"}).exitCode, 0);
  std::string big;
  for (int i = 0; i < 120; ++i) big += (i ? "," : "") + std::string(i % 2 ? "ab" : "0c");
  std::string extra = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vesper\\Types]\r\n"
                      "\"Multi\"=hex(7):41,00,00,00\r\n\"Expand\"=hex(2):25,00\r\n\"Big\"=hex:" + big + "\r\n";
  RunResult imported = Reg({"import", "-"}, extra);
  ASSERT_EQ(imported.exitCode, 0) << imported.err;

  std::string first = test::MakeTempSubdir("export") + "/first.reg";
  ASSERT_EQ(Reg({"export", first}).exitCode, 0);
  UseHome("b");
  RunResult r = Reg({"import", first});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  RunResult second = Reg({"export"});
  EXPECT_EQ(second.out, test::ReadFile(first));
  EXPECT_NE(second.out.find("[HKEY_LOCAL_MACHINE\\Software\\Machine]\r\n\"Neg\"=dword:ffffffff"), std::string::npos);
  EXPECT_NE(second.out.find("\"Multi\"=hex(7):41,00,00,00"), std::string::npos);
}

TEST_F(RegCommandTest, QuerySetDeleteAndExitCodes) {
  UseHome("h");
  EXPECT_EQ(Reg({"set", "HKCU\\Software\\V", "Text", "string", "hello"}).exitCode, 0);
  EXPECT_EQ(Reg({"set", "HKCU\\Software\\V\\Sub", "N", "dword", "31"}).exitCode, 0);
  RunResult q = Reg({"query", "hkey_current_user\\SOFTWARE\\v"});
  EXPECT_EQ(q.exitCode, 0);
  EXPECT_EQ(q.out,
            "HKEY_CURRENT_USER\\Software\\V\n"
            "    Text    REG_SZ    hello\n"
            "\n"
            "HKEY_CURRENT_USER\\Software\\V\\Sub\n");
  q = Reg({"query", "HKCU\\Software\\V\\Sub", "n"});
  EXPECT_EQ(q.out, "HKEY_CURRENT_USER\\Software\\V\\Sub\n    N    REG_DWORD    0x1f\n");
  RunResult exported = Reg({"export", "HKCU\\Software\\V\\Sub"});
  EXPECT_EQ(exported.out, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\V\\Sub]\r\n\"N\"=dword:0000001f\r\n\r\n");

  struct Case {
    std::vector<std::string> args;
    int exitCode;
  } cases[] = {
      {{"query", "HKCU\\Software\\Missing"}, 1},
      {{"query", "HKCU\\Software\\V", "Missing"}, 1},
      {{"delete", "HKCU\\Software\\V", "Missing"}, 1},
      {{"delete", "HKCU\\Software\\Missing"}, 1},
      {{"export", "HKCU\\Software\\Missing"}, 1},
      {{"query", "HKEY_NOWHERE\\Software"}, 2},
      {{"set", "HKCU\\Software\\V", "X", "dword", "12abc"}, 2},
      {{"set", "HKCU\\Software\\V", "X", "binary", "123"}, 2},
      {{"set", "HKCU\\Software\\V", "X", "float", "1"}, 2},
      {{"set", "HKCU\\Software\\V", "X"}, 2},
      {{"delete", "HKCU"}, 2},
      {{"frobnicate"}, 2},
      {{}, 2},
      {{"import", "/nonexistent/file.reg"}, 2},
      {{"delete", "HKCU\\Software\\V", "Text"}, 0},
      {{"delete", "HKCU\\Software\\v\\SUB"}, 0},
  };
  for (auto& c : cases) {
    RunResult r = Reg(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << testing::PrintToString(c.args) << "\n" << r.err;
    if (c.exitCode != 0) {
      EXPECT_FALSE(r.err.empty());
    }
  }
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\V"}).out, "HKEY_CURRENT_USER\\Software\\V\n");
}

TEST_F(RegCommandTest, ImportReportsDamagedLinesAndImportsTheRest) {
  UseHome("i");
  RunResult r = Reg({"import", "-"},
                    "REGEDIT4\n"
                    "[HKEY_CURRENT_USER\\Software\\Imp]\n"
                    "\"Good\"=\"1\"\n"
                    "\"Bad\"=dword:nothex\n"
                    "[HKEY_CLASSES_ROOT\\Foo]\n"
                    "\"Also\"=\"2\"\n"
                    "[-HKEY_CURRENT_USER\\Software\\Gone]\n"
                    "[HKEY_LOCAL_MACHINE\\Software\\Imp]\n"
                    "@=\"machine\"\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "-:4: invalid dword value\n-:5: unknown root key\n");
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\Imp", "Good"}).exitCode, 0);
  EXPECT_EQ(Reg({"query", "HKLM\\Software\\Imp", "@"}).out, "HKEY_LOCAL_MACHINE\\Software\\Imp\n    (Default)    REG_SZ    machine\n");
  // Deletions in an imported file remove keys and values.
  r = Reg({"import", "-"}, "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Imp]\n\"Good\"=-\n[-HKEY_LOCAL_MACHINE\\Software\\Imp]\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\Imp", "Good"}).exitCode, 1);
  EXPECT_EQ(Reg({"query", "HKLM\\Software\\Imp"}).exitCode, 1);
}

}  // namespace
}  // namespace vesper
