#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

test::RunResult Rc(std::vector<std::string> args) {
  args.insert(args.begin(), {test::BinPath("vesper"), "rc"});
  return test::Run(args);
}

TEST(RcCommand, ShowListsWhatNewAndAddMade) {
  std::string p = test::MakeTempSubdir("rc-show") + "/p.vrf";
  ASSERT_EQ(Rc({"new", p}).exitCode, 0);
  const std::vector<std::vector<std::string>> adds = {
      {"add", p, "string", "10", "IDS_HELLO", "Hello\\n"},
      {"add", p, "bitmap", "65535", "IDB_LOGO", "logo.bmp", "--by-name", "--compression", "lzh"},
      {"add", p, "icon", "2", "IDI_MAIN", "main.ico", "--options", "PF"},
      {"add", p, "cursor", "3", "IDC_HAND", "hand.cur"},
      {"add", p, "rcdata", "4", "IDR_WAV", "ding.wav", "--kind", "sound"},
      {"add", p, "facility", "12", "Mine"},
      {"add", p, "message", "5", "IDM_FULL", "Disk full", "--severity", "Error", "--facility", "Mine"},
      {"add", p, "language", "1031"},
      {"set", p, "message", "5", "1031", "Platte voll"},
      {"set", p, "version", "FileVersion=1.2.99.99", "IncFileVersion", "CompanyName=Acme"},
      {"add", p, "history", "DOC", "first release"},
      {"set", p, "notes", "remember this"},
      {"set", p, "setting", "DefaultsInVrf=1", "BumpResId=10"},
  };
  for (auto& a : adds) {
    auto r = Rc(a);
    EXPECT_EQ(r.exitCode, 0) << a[2] << ": " << r.err;
  }
  auto r = Rc({"show", p});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (const char* expected :
       {"IDS_HELLO                    10      1  Hello\\n", "IDB_LOGO                  65535 OMD by-name LZH logo.bmp",
        "IDI_MAIN                      2 PF  by-id   main.ico", "IDC_HAND", "IDR_WAV                       4 OMD Sound File",
        "IDM_FULL                      5 Error Mine 0xC00C0005", "[1031] Platte voll", "Languages: US English=1033 German=1031",
        "File version: 01.03.00.00", "CompanyName: Acme", "01.03.00.00  00.00.00.00", "first release",
        "remember this", "BumpResId=10"})
    EXPECT_THAT(r.out, HasSubstr(expected));

  EXPECT_EQ(Rc({"delete", p, "string", "10"}).exitCode, 0);
  EXPECT_THAT(Rc({"show", p}).out, Not(HasSubstr("IDS_HELLO")));
}

TEST(RcCommand, RefusalsAndBadFiles) {
  std::string dir = test::MakeTempSubdir("rc-bad");
  std::string p = dir + "/p.vrf";
  ASSERT_EQ(Rc({"new", p}).exitCode, 0);
  ASSERT_EQ(Rc({"add", p, "string", "1", "IDS_A", "a"}).exitCode, 0);
  struct Case { std::vector<std::string> args; int exit; std::string err; };
  const Case cases[] = {
      {{"add", p, "string", "1", "IDS_B", "b"}, 1, "Resource Id of 1 already exists"},
      {{"add", p, "string", "2", "IDS_A", "b"}, 1, "Resource Name of \"IDS_A\" already exists"},
      {{"add", p, "bitmap", "0", "IDB_A", "a.bmp"}, 1, "No Blank fields please."},
      {{"add", p, "history", "DOC", " "}, 1, "No point in adding nothing"},
      {{"add", p, "facility", "255", "Dup"}, 1, "Facility Code of 255 already exists"},
      {{"delete", p, "language", "1033"}, 1, "Can't delete the DEFAULT language"},
      {{"show", dir + "/none.vrf"}, 2, "not found"},
      {{"add", p, "widget", "1"}, 2, "unknown kind"},
  };
  for (auto& c : cases) {
    auto r = Rc(c.args);
    EXPECT_EQ(r.exitCode, c.exit) << c.err;
    EXPECT_THAT(r.err, HasSubstr(c.err));
  }
  test::WriteFile(dir + "/junk.vrf", "not a project");
  auto r = Rc({"show", dir + "/junk.vrf"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_THAT(r.err, HasSubstr("junk.vrf is not a valid resource file"));
}

}  // namespace
}  // namespace vesper
