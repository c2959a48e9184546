// The host's check pass at start-up: with every module unchanged (time
// stamps decide, no module is loaded) against the first pass that reads
// every module. Copies of a class-wizard fixture stand for the modules.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/WizManager.h"

namespace {

std::string MakeWizardFolder(int count) {
  static std::string base = [] {
    char tmpl[] = "/tmp/vesper-bench-XXXXXX";
    std::string dir = mkdtemp(tmpl);
    setenv("VESPER_HOME", (dir + "/home").c_str(), 1);
    static struct Cleanup {
      std::string dir;
      ~Cleanup() { std::filesystem::remove_all(dir); }
    } cleanup{dir};
    return dir;
  }();
  std::string dir = base + "/w" + std::to_string(count);
  if (access(dir.c_str(), F_OK) == 0) return dir;
  std::ifstream in(std::string(VESPER_TEST_MODULE_DIR) + "/classwiz.vwz", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  mkdir(dir.c_str(), 0755);
  for (int i = 0; i < count; ++i)
    std::ofstream(dir + "/wiz" + std::to_string(i) + ".vwz", std::ios::binary) << bytes.str();
  return dir;
}

// The first pass: every module is loaded and read.
void BM_FirstPass(benchmark::State& state) {
  std::string dir = MakeWizardFolder(int(state.range(0)));
  for (auto _ : state) {
    vesper::TWizardManager m;
    m.SetWizardDirectory(dir);
    benchmark::DoNotOptimize(m.Wizards().Count());
  }
}

// Start-up with a stored list: read "WizardInfo", check every time stamp.
void BM_UnchangedPass(benchmark::State& state) {
  std::string dir = MakeWizardFolder(int(state.range(0)));
  {
    vesper::TWizardManager m;
    m.SetWizardDirectory(dir);
    m.SaveToRegistry("Software\\VesperBench" + std::to_string(state.range(0)));
  }
  for (auto _ : state) {
    auto m = vesper::TWizardManager::LoadFromRegistry("Software\\VesperBench" + std::to_string(state.range(0)));
    m->CheckTimeStamps();
    benchmark::DoNotOptimize(m->Wizards().Count());
  }
}

}  // namespace

BENCHMARK(BM_FirstPass)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnchangedPass)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
