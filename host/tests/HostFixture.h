// Shared set-up of the host tests: a fresh wizard folder per test, the
// fixture modules copied into it, the fixtures' call log and a clean
// Software\Vesper key.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utime.h>
#include <vector>

#include "host/WizManager.h"
#include "platform/Registry.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"

namespace vesper::hosttest {

inline std::string FixturePath(const std::string& name) {
  return std::string(VESPER_TEST_MODULE_DIR) + "/" + name + ".vwz";
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int n = 0;
    dir_ = test::MakeTempSubdir("host" + std::to_string(++n));
    wizardDir_ = dir_ + "/wizards";
    test::MakeTempSubdir("host" + std::to_string(n) + "/wizards");
    log_ = dir_ + "/calls.log";
    setenv("VESPER_FIXTURE_LOG", log_.c_str(), 1);
    TRegistry reg;
    reg.DeleteKey("\\Software\\Vesper");
  }
  void TearDown() override {
    manager_.reset();
    CoFreeUnusedLibraries();
  }

  // Copies a fixture module into `folder` (the wizard folder by default).
  std::string Install(const std::string& name, const std::string& folder = "") {
    std::string path = (folder.empty() ? wizardDir_ : folder) + "/" + name + ".vwz";
    test::WriteFile(path, test::ReadFile(FixturePath(name)));
    return path;
  }
  // Moves the file's time back so that the time stamp changes.
  static void Age(const std::string& path, int seconds) {
    struct utimbuf t;
    t.actime = t.modtime = time(nullptr) - seconds;
    utime(path.c_str(), &t);
  }
  std::vector<std::string> Calls() {
    TStringList l;
    if (FILE* f = std::fopen(log_.c_str(), "r")) {
      std::fclose(f);
      l.SetText(test::ReadFile(log_));
    }
    std::vector<std::string> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
  }
  void ClearCalls() { std::remove(log_.c_str()); }
  TWizardManager& Manager() {
    if (!manager_) manager_ = std::make_unique<TWizardManager>();
    return *manager_;
  }
  static std::vector<std::string> RegValues(const std::string& key) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key)) return {};
    return reg.GetValueNames();
  }

  std::string dir_, wizardDir_, log_;
  std::unique_ptr<TWizardManager> manager_;
};

}  // namespace vesper::hosttest
