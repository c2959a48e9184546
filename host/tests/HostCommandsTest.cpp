// vesper regsvr, wizards and run against the fixture modules.
#include <gmock/gmock.h>

#include "HostFixture.h"

namespace vesper::hosttest {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

test::RunResult Vesper(std::vector<std::string> args) {
  args.insert(args.begin(), test::BinPath("vesper"));
  return test::Run(args);
}

class HostCommands : public HostTest {};

TEST_F(HostCommands, RegsvrThenCheckAddsTheWizardAndTakesTheAnnouncement) {
  std::string path = Install("comstd", dir_);
  test::RunResult r = Vesper({"regsvr", path});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(RegValues("\\Software\\Vesper\\COMWizards\\New").size(), 1u);
  r = Vesper({"wizards", "check"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Fixture.comstd\twtStandard\tactive\t" + path + "\t01.00.00.01 Build"));
  EXPECT_THAT(RegValues("\\Software\\Vesper\\COMWizards\\New"), IsEmpty());
  std::unique_ptr<TWizardManager> m = TWizardManager::LoadFromRegistry();
  ASSERT_TRUE(m);
  ASSERT_EQ(m->Wizards().Count(), 1);
  EXPECT_EQ(m->Wizards().Items(0)->ClassID, "{9D1B0001-5A3C-4E11-8C1F-00A0C9000001}");
  r = Vesper({"regsvr", "-u", path});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_THAT(RegValues("\\Software\\Vesper\\COMWizards"), IsEmpty());
  EXPECT_EQ(Vesper({"regsvr", dir_ + "/none.vwz"}).exitCode, 2);
}

TEST_F(HostCommands, RunPassesTheStringsOrRunsWithoutThem) {
  std::string std = Install("comstd", dir_);
  std::string norun = Install("comnorun", dir_);
  ASSERT_EQ(Vesper({"regsvr", std}).exitCode, 0);
  ASSERT_EQ(Vesper({"regsvr", norun}).exitCode, 0);
  ASSERT_EQ(Vesper({"wizards", "check"}).exitCode, 0);
  ClearCalls();
  test::RunResult r = Vesper({"run", "Fixture.comstd", "first file", "second"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Vesper({"run", "{9D1B0001-5A3C-4E11-8C1F-00A0C9000002}"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Vesper({"run", "comnorun.TFixtureWizard"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> calls = Calls();
  EXPECT_THAT(calls, Contains("comstd RunStrings first file|second 0"));
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "comnorun Run 0"), 2);
  for (const std::string& c : calls) EXPECT_THAT(c, Not(HasSubstr("Initialize")));
  EXPECT_EQ(Vesper({"run", "Fixture.unknown"}).exitCode, 1);
}

TEST_F(HostCommands, WizardsAddRemoveAndFolder) {
  std::string cls = Install("classwiz", dir_);
  Install("dllbasic");
  test::RunResult r = Vesper({"wizards", "add", cls});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Vesper({"wizards", "add", Install("nothing", dir_)});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_THAT(r.err, HasSubstr("is not a Vesper Wizard"));
  ASSERT_EQ(Vesper({"wizards", "dir", wizardDir_}).exitCode, 0);
  r = Vesper({"wizards", "list"});
  EXPECT_THAT(r.out, HasSubstr("Wizard folder: " + wizardDir_));
  EXPECT_THAT(r.out, HasSubstr("Fixture.classwiz\twtStandard\tactive\t" + cls));
  EXPECT_THAT(r.out, HasSubstr("Fixture.dllbasic"));
  ASSERT_EQ(Vesper({"wizards", "remove", "Fixture.classwiz"}).exitCode, 0);
  EXPECT_THAT(Vesper({"wizards", "list"}).out, Not(HasSubstr("Fixture.classwiz")));
  EXPECT_EQ(Vesper({"wizards", "remove", "Fixture.classwiz"}).exitCode, 1);
}

}  // namespace
}  // namespace vesper::hosttest
