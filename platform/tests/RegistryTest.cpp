#include "platform/Registry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/RegHive.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"

extern char** environ;

namespace vesper {
namespace {

using Names = std::vector<std::string>;

// Each test gets a fresh $VESPER_HOME.
class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    home_ = test::MakeTempSubdir(std::string("reg-") + testing::UnitTest::GetInstance()->current_test_info()->name());
    ::setenv("VESPER_HOME", home_.c_str(), 1);
  }
  std::string HivePath(const char* root = "HKEY_CURRENT_USER") const { return home_ + "/registry/" + root + ".reg"; }

  // Runs this test program as a child that performs `job` (see RegistryChild).
  pid_t SpawnChild(const std::string& job) const {
    std::vector<std::string> env{"VESPER_REG_CHILD=" + job, "VESPER_REG_CHILD_HOME=" + home_};
    for (char** e = environ; *e; ++e) env.push_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe", filter = "--gtest_filter=RegistryChild.Job";
    char* argv[] = {self.data(), filter.data(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, self.c_str(), &quiet, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&quiet);
    return pid;
  }
  static int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string home_;
};

// The child side of the multi-process tests; skipped in a normal run.
//   race:PREFIX:N  writes N values PREFIX<i> one by one to Software\Race
//   churn          rewrites a large binary value and a counter until killed
TEST(RegistryChild, Job) {
  const char* job = std::getenv("VESPER_REG_CHILD");
  if (!job) GTEST_SKIP() << "runs only as a child of the registry tests";
  ::setenv("VESPER_HOME", std::getenv("VESPER_REG_CHILD_HOME"), 1);
  std::vector<std::string> parts = [&] {
    std::vector<std::string> p;
    std::string s = job;
    for (size_t i; (i = s.find(':')) != std::string::npos; s.erase(0, i + 1)) p.push_back(s.substr(0, i));
    p.push_back(s);
    return p;
  }();
  TRegistry reg;
  if (parts[0] == "race") {
    ASSERT_TRUE(reg.OpenKey("Software\\Race", true));
    for (int i = 0; i < std::stoi(parts[2]); ++i) reg.WriteInteger(parts[1] + std::to_string(i), i);
  } else if (parts[0] == "churn") {
    ASSERT_TRUE(reg.OpenKey("Software\\Churn", true));
    for (int i = 0;; ++i) {
      std::string big(100000, char('a' + i % 26));
      reg.WriteBinaryData("Big", big.data(), int(big.size()));
      reg.WriteInteger("Counter", i);
    }
  }
}

TEST_F(RegistryTest, ValuesPersistInTheHiveFile) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vesper\\Test", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Vesper\\Test");
    reg.WriteString("Name", "value \"quoted\" \\ back");
    reg.WriteInteger("Count", -5);
    reg.WriteBool("Flag", true);
    reg.WriteFloat("Pi", 3.25);
    reg.WriteBinaryData("Bin", "\x00\x01\x02", 3);
    reg.WriteExpandString("Exp", "%HOME%");
  }
  // A store of its own reads the file as another process would.
  RegHive fresh(RegRoot::CurrentUser, home_ + "/registry");
  const RegKey* k = fresh.Tree().Find({"software", "VESPER", "test"});
  ASSERT_NE(k, nullptr);
  EXPECT_TRUE(fresh.LoadErrors().empty());
  EXPECT_EQ(k->Values().size(), 6u);
  EXPECT_NE(test::ReadFile(HivePath()).find("[HKEY_CURRENT_USER\\Software\\Vesper\\Test]"), std::string::npos);

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\vesper\\TEST"));
  EXPECT_EQ(reg.ReadString("name"), "value \"quoted\" \\ back");
  EXPECT_EQ(reg.ReadInteger("COUNT"), -5);
  EXPECT_TRUE(reg.ReadBool("Flag"));
  EXPECT_EQ(reg.ReadFloat("Pi"), 3.25);
  EXPECT_EQ(reg.ReadBinaryData("Bin"), std::string("\x00\x01\x02", 3));
  EXPECT_EQ(reg.ReadString("Exp"), "%HOME%");
  EXPECT_EQ(reg.GetDataType("Exp"), rdExpandString);
  EXPECT_EQ(reg.GetDataType("Count"), rdInteger);
  EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
  EXPECT_EQ(reg.GetDataSize("Name"), 22);  // with its terminating zero
  EXPECT_EQ(reg.GetDataSize("Count"), 4);
  EXPECT_EQ(reg.GetDataSize("Missing"), -1);
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_EQ(reg.GetValueNames(), (Names{"Name", "Count", "Flag", "Pi", "Bin", "Exp"}));
  char small[2];
  char buf[8];
  EXPECT_EQ(reg.ReadBinaryData("Bin", buf, sizeof buf), 3);
  EXPECT_EQ(reg.ReadBinaryData("Missing", buf, sizeof buf), 0);
  EXPECT_THROW(reg.ReadBinaryData("Bin", small, sizeof small), ERegistryException);
}

TEST_F(RegistryTest, NamesKeepTheCaseFirstWritten) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\MiXed", true));
  reg.WriteString("CamelCase", "1");
  reg.WriteString("CAMELCASE", "2");
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\mixed\\Sub", true));
  ASSERT_TRUE(reg.OpenKey("\\Software", false));
  EXPECT_EQ(reg.GetKeyNames(), Names{"MiXed"});
  ASSERT_TRUE(reg.OpenKey("mixed", false));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\mixed");
  EXPECT_EQ(reg.GetValueNames(), Names{"CamelCase"});
  EXPECT_EQ(reg.ReadString("camelcase"), "2");
  EXPECT_TRUE(reg.HasSubKeys());
}

TEST_F(RegistryTest, ErrorsUseTheClassLibraryTexts) {
  TRegistry reg;
  auto message = [&](auto f) {
    try {
      f();
    } catch (const ERegistryException& e) {
      return e.Message();
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message([&] { reg.WriteString("X", "1"); }), "Failed to set data for 'X'");  // no key open
  ASSERT_TRUE(reg.OpenKey("Software\\Err", true));
  reg.WriteString("Str", "long text");
  reg.WriteString("S", "ab");
  reg.WriteInteger("Int", 7);
  EXPECT_EQ(message([&] { reg.ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
  EXPECT_EQ(message([&] { reg.ReadInteger("Str"); }), "Failed to get data for 'Str'");  // larger than 4 bytes
  EXPECT_EQ(message([&] { reg.ReadInteger("S"); }), "Invalid data type for 'S'");
  EXPECT_EQ(message([&] { reg.ReadString("Int"); }), "Invalid data type for 'Int'");
  EXPECT_EQ(message([&] { reg.ReadBinaryData("Int"); }), "Invalid data type for 'Int'");
  EXPECT_EQ(message([&] { reg.ReadFloat("Int"); }), "Invalid data type for 'Int'");
  EXPECT_EQ(message([&] { reg.WriteString("Bad\nName", "x"); }), "Failed to set data for 'Bad\nName'");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Err"));
  EXPECT_EQ(message([&] { reg.WriteInteger("Int", 1); }), "Failed to set data for 'Int'");
  EXPECT_FALSE(reg.DeleteValue("Int"));
  EXPECT_FALSE(reg.OpenKey("\\Software\\Nope", false));
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software\\Nope"));
  reg.SetRootKey(HKEY_USERS);
  EXPECT_FALSE(reg.OpenKey("Software", true));
  EXPECT_EQ(message([&] { reg.CreateKey("Software"); }), "Failed to create key Software");
}

TEST_F(RegistryTest, DeletesKeysWithTheirSubkeysAndValues) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey("Software\\Del\\A\\B\\C"));
  ASSERT_TRUE(reg.CreateKey("Software\\Del\\Keep"));
  EXPECT_TRUE(reg.KeyExists("Software\\Del\\A\\B"));
  EXPECT_TRUE(reg.DeleteKey("Software\\Del\\a"));
  EXPECT_FALSE(reg.KeyExists("Software\\Del\\A\\B\\C"));
  EXPECT_FALSE(reg.DeleteKey("Software\\Del\\A"));
  ASSERT_TRUE(reg.OpenKey("Software\\Del", false));
  EXPECT_EQ(reg.GetKeyNames(), Names{"Keep"});
  reg.WriteString("V", "x");
  EXPECT_TRUE(reg.ValueExists("v"));
  EXPECT_TRUE(reg.DeleteValue("v"));
  EXPECT_FALSE(reg.DeleteValue("v"));
  EXPECT_FALSE(reg.ValueExists("V"));
  EXPECT_TRUE(reg.DeleteKey("\\Software\\Del"));
  EXPECT_EQ(reg.GetValueNames(), Names{});  // the open key is gone
  EXPECT_THROW(reg.WriteString("V", "x"), ERegistryException);
}

TEST_F(RegistryTest, RootKeysHaveSeparateHives) {
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("Software\\Both", true));
  reg.WriteString("Where", "machine");
  reg.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.KeyExists("Software\\Both"));
  EXPECT_TRUE(FileExists(HivePath("HKEY_LOCAL_MACHINE")));
}

TEST_F(RegistryTest, ReadersSeeChangesMadeByOthers) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Shared", true));
  reg.WriteInteger("N", 1);
  EXPECT_EQ(reg.ReadInteger("N"), 1);
  // Another writer (a store of its own, as in another process) changes the file.
  RegHive other(RegRoot::CurrentUser, home_ + "/registry");
  other.Update([](RegKey& root) {
    root.Find({"Software", "Shared"})->SetValue("N", RegDwordData(2));
    return true;
  });
  EXPECT_EQ(reg.ReadInteger("N"), 2);
}

TEST_F(RegistryTest, DamagedHiveLoadsWhatItCan) {
  ForceDirectories(home_ + "/registry");
  std::string damaged =
      std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Good]\r\n\"A\"=\"1\"\r\n\"B\"=dword:zz\r\n"
      "[HKEY_LOCAL_MACHINE\\Wrong\\Hive]\r\n\"X\"=\"y\"\r\n")
      + std::string("\0\xff garbage\r\n", 12) + "[HKEY_CURRENT_USER\\Software\\Good\\Sub]\r\n\"C\"=hex:01,02\r\n";
  test::WriteFile(HivePath(), damaged);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Good", false));
  EXPECT_EQ(reg.ReadString("A"), "1");
  EXPECT_FALSE(reg.ValueExists("B"));
  ASSERT_TRUE(reg.OpenKey("Sub", false));
  EXPECT_EQ(reg.ReadBinaryData("C"), "\x01\x02");
  EXPECT_EQ(RegHive::Open(RegRoot::CurrentUser)->LoadErrors().size(), 3u);
  // The first write keeps the damaged file aside and writes a clean hive.
  reg.WriteInteger("D", 4);
  EXPECT_EQ(test::ReadFile(HivePath() + ".damaged"), damaged);
  EXPECT_TRUE(RegHive::Open(RegRoot::CurrentUser)->LoadErrors().empty());
  EXPECT_EQ(reg.ReadString("\\Software\\Good\\A"), "");  // a value name, not a path
  ASSERT_TRUE(reg.OpenKey("\\Software\\Good", false));
  EXPECT_EQ(reg.ReadString("A"), "1");
}

TEST_F(RegistryTest, ConcurrentWritersInTwoProcessesLoseNothing) {
  constexpr int kEach = 100;
  pid_t a = SpawnChild("race:A:" + std::to_string(kEach));
  pid_t b = SpawnChild("race:B:" + std::to_string(kEach));
  EXPECT_EQ(Wait(a), 0);
  EXPECT_EQ(Wait(b), 0);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Race"));
  EXPECT_EQ(reg.GetValueNames().size(), size_t(2 * kEach));
  for (int i = 0; i < kEach; ++i) {
    EXPECT_EQ(reg.ReadInteger("A" + std::to_string(i)), i);
    EXPECT_EQ(reg.ReadInteger("B" + std::to_string(i)), i);
  }
}

TEST_F(RegistryTest, WriterKilledMidWriteLeavesALoadableHive) {
  for (int round = 0; round < 3; ++round) {
    pid_t pid = SpawnChild("churn");
    // Let the child write at least once (a loaded machine starts it slowly),
    // then kill it at some point inside its stream of writes.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto hasWritten = [&] {
      RegHive hive(RegRoot::CurrentUser, home_ + "/registry");
      const RegKey* k = hive.Tree().Find({"Software", "Churn"});
      return k && k->Value("Big");
    };
    while (std::chrono::steady_clock::now() < deadline && !hasWritten())
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 70 * round));
    kill(pid, SIGKILL);
    EXPECT_EQ(Wait(pid), 128 + SIGKILL);
    RegHive fresh(RegRoot::CurrentUser, home_ + "/registry");
    const RegKey& tree = fresh.Tree();
    EXPECT_TRUE(fresh.LoadErrors().empty());
    const RegKey* k = tree.Find({"Software", "Churn"});
    ASSERT_NE(k, nullptr) << "the child wrote nothing in time";
    const RegValue* big = k->Value("Big");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->data.bytes.size(), 100000u);
    EXPECT_EQ(big->data.bytes.find_first_not_of(big->data.bytes[0]), std::string::npos);
  }
  // The lock died with the writer.
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Churn", false));
  reg.WriteInteger("After", 1);
  EXPECT_EQ(reg.ReadInteger("After"), 1);
}

TEST_F(RegistryTest, RegIniFileUsesSubkeysAsSections) {
  {
    TRegIniFile ini("Software\\Vesper\\Ini");
    EXPECT_EQ(ini.CurrentPath(), "Software\\Vesper\\Ini");
    ini.WriteString("Window", "Caption", "Hello");
    ini.WriteInteger("Window", "Left", -12);
    ini.WriteBool("Window", "Visible", true);
    ini.WriteString("Window", "Empty", "");
    ini.WriteString("Other", "Hex", "0x1F");
    ini.WriteString("Other", "Junk", "abc");
  }
  TRegIniFile ini("Software\\Vesper\\Ini");
  EXPECT_EQ(ini.ReadString("window", "caption", "def"), "Hello");
  EXPECT_EQ(ini.ReadString("Window", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadString("NoSection", "Caption", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), -12);
  EXPECT_EQ(ini.ReadInteger("Other", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Other", "Junk", 9), 9);
  EXPECT_TRUE(ini.ReadBool("Window", "Visible", false));
  EXPECT_TRUE(ini.ReadBool("Window", "Missing", true));
  EXPECT_EQ(ini.ReadSections(), (Names{"Other", "Window"}));
  EXPECT_EQ(ini.ReadSection("Window"), (Names{"Caption", "Left", "Visible", "Empty"}));
  EXPECT_EQ(ini.ReadSectionValues("Window"), (Names{"Caption=Hello", "Left=-12", "Visible=1"}));
  TStringList list;
  list.Add("Stale");
  ini.ReadSections(list);
  EXPECT_EQ(list.Text(), "Other\r\nWindow\r\n");
  list.Clear();
  list.Add("Caption=old");
  list.Add("Keep=1");
  ini.ReadSectionValues("Window", list);
  EXPECT_EQ(list.Text(), "Caption=Hello\r\nKeep=1\r\nLeft=-12\r\nVisible=1\r\n");
  ini.DeleteKey("Window", "Left");
  EXPECT_EQ(ini.ReadInteger("Window", "Left", 5), 5);
  ini.EraseSection("Other");
  EXPECT_EQ(ini.ReadSections(), Names{"Window"});
  EXPECT_EQ(ini.CurrentPath(), "Software\\Vesper\\Ini");
}

}  // namespace
}  // namespace vesper
