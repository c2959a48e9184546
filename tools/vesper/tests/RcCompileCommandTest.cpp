// `vesper rc compile`, `listing` and `library` end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

using ::testing::HasSubstr;

test::RunResult Rc(std::vector<std::string> args) {
  args.insert(args.begin(), {test::BinPath("vesper"), "rc"});
  return test::Run(args);
}

TEST(RcCompileCommand, CompilesScriptsConstsAndListsErrors) {
  std::string dir = test::MakeTempSubdir("rc-compile");
  std::string p = dir + "/p.vrf";
  test::WriteFile(dir + "/d.bin", "data");
  ASSERT_EQ(Rc({"new", p}).exitCode, 0);
  ASSERT_EQ(Rc({"add", p, "string", "17", "IDS_A", "Say \"hi\""}).exitCode, 0);
  ASSERT_EQ(Rc({"add", p, "rcdata", "3", "IDR_D", "d.bin", "--compression", "rle"}).exitCode, 0);
  ASSERT_EQ(Rc({"add", p, "history", "DOC", "first"}).exitCode, 0);

  auto r = Rc({"compile", p, "--script", dir + "/p.rc"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string res = test::ReadFile(dir + "/p.R32");
  EXPECT_NE(res.find(std::string("C\0M\0P\0R\0C\0D\0", 12)), std::string::npos);
  EXPECT_THAT(test::ReadFile(dir + "/RES__IDS.PAS"), HasSubstr("Const IDS_A = 00017;"));
  EXPECT_THAT(test::ReadFile(dir + "/p.rc"), HasSubstr("\"Say \"\"hi\"\"\""));

  ASSERT_EQ(Rc({"compile", p, "--no-compression"}).exitCode, 0);
  EXPECT_EQ(test::ReadFile(dir + "/p.R32").find(std::string("C\0M\0P", 6)), std::string::npos);

  ASSERT_EQ(Rc({"compile", p, "--16", "--no-version", "--skip", "strings,rcdata"}).exitCode, 0);
  EXPECT_FALSE(FileExists(dir + "/p.R16"));  // nothing left to hold

  ASSERT_EQ(Rc({"add", p, "icon", "1", "IDI_A", "missing.ico"}).exitCode, 0);
  r = Rc({"compile", p});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_THAT(r.err, HasSubstr("Resource Compiler Errors\nIcon : missing.ico"));

  r = Rc({"listing", p, "strings"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Strings in : p.vrf\r\n"));
  ASSERT_EQ(Rc({"listing", p, "html", "--output", dir + "/h.htm"}).exitCode, 0);
  EXPECT_THAT(test::ReadFile(dir + "/h.htm"), HasSubstr("<td>first</td>"));
  r = Rc({"library", p, dir + "/Lib"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_THAT(test::ReadFile(dir + "/Lib.DPR"), HasSubstr("{$R p.R32}"));
}

}  // namespace
}  // namespace vesper
