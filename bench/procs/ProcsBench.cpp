// Lines per second of the routine finder: every unit named in the file list
// (one path a line; $PROCS_FILE_LIST) is opened and scanned with all
// sections listed, as `vesper procs FILE --both` does, minus process start
// and output. A unit that ends in a scanner error counts up to that error.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Streams.h"
#include "wizards/funcproc/core/LexAnalyser.h"
#include "wizards/funcproc/core/RoutineFinder.h"

namespace {

using namespace vesper;

class TCountingSink : public IRoutineSink {
 public:
  void ClearLists() override {}
  void AddRoutine(TRoutineList, const std::string& text, int) override { bytes += text.size(); }
  size_t bytes = 0;
};

std::vector<std::string> FileList() {
  std::vector<std::string> files;
  const char* list = std::getenv("PROCS_FILE_LIST");
  if (!list) return files;
  std::ifstream in(list);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) files.push_back(line);
  return files;
}

void BM_ScanUnits(benchmark::State& state) {
  static const std::vector<std::string> files = FileList();
  if (files.empty()) {
    state.SkipWithError("PROCS_FILE_LIST names no files");
    return;
  }
  TFuncProcOptions options;
  options.Section = sfBoth;
  options.HideParams = state.range(0) == 0;
  int64_t lines = 0;
  for (auto _ : state) {
    TCountingSink sink;
    TRoutineFinder finder(sink, options);
    for (auto& f : files) {
      try {
        TFileStream stream(f, fmOpenRead);
        lines += finder.Scan(stream);
      } catch (const EParserError&) {
      }
    }
    benchmark::DoNotOptimize(sink.bytes);
  }
  state.counters["lines_per_second"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
  state.counters["files"] = double(files.size());
}
BENCHMARK(BM_ScanUnits)->Arg(0)->Arg(1)->ArgName("params")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
