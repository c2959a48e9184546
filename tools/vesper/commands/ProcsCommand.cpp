// `vesper procs`: lists the routine headings of a Pascal unit as the
// functions-and-procedures window fills its lists.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "tools/vesper/Command.h"
#include "wizards/funcproc/core/LexAnalyser.h"
#include "wizards/funcproc/core/RoutineFinder.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper procs FILE [--both|--implementation] [--params] [--by-class]\n"
    "                         [--single] [--no-prefix]\n"
    "\n"
    "Lists the functions and procedures of a Pascal unit: a line [functions],\n"
    "then one LINE<TAB>TEXT line per entry, then [procedures] and its entries\n"
    "(with --single one list, [single]). Each list is sorted ignoring case.\n"
    "\n"
    "  --both            scan interface and implementation (default: interface)\n"
    "  --implementation  scan the implementation only\n"
    "  --params          show parameters (default: hidden)\n"
    "  --by-class        class name first for methods declared in a class\n"
    "  --single          one combined list\n"
    "  --no-prefix       in single-list mode, no \"function \"/\"procedure \" prefix\n"
    "\n"
    "The line count and time go to stderr. A scanner error is reported on\n"
    "stderr, after the entries found before it, with exit code 1.\n";

// The window's sorted list boxes: ordered ignoring case, equal texts in the
// order they were added.
class TSortedLists : public IRoutineSink {
 public:
  void ClearLists() override {
    for (auto& l : lists_) l.clear();
  }
  void AddRoutine(TRoutineList list, const std::string& text, int line) override {
    lists_[list].emplace_back(text, line);
  }
  std::string Listing(bool single) {
    std::string out;
    AppendList(out, single ? "[single]" : "[functions]", lists_[rlFunctions]);
    if (!single) AppendList(out, "[procedures]", lists_[rlProcedures]);
    return out;
  }

 private:
  using Entries = std::vector<std::pair<std::string, int>>;
  static void AppendList(std::string& out, const char* title, Entries& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](auto& a, auto& b) { return CompareText(a.first, b.first) < 0; });
    out += title;
    out += '\n';
    for (auto& [text, line] : entries) {
      out += std::to_string(line);
      out += '\t';
      out += text;
      out += '\n';
    }
  }
  Entries lists_[2];
};

bool ParseArgs(const std::vector<std::string>& args, std::string& file, TFuncProcOptions& o,
               std::string& error) {
  for (auto& a : args) {
    if (a == "--both") o.Section = sfBoth;
    else if (a == "--implementation") o.Section = sfImplementation;
    else if (a == "--interface") o.Section = sfInterface;
    else if (a == "--params") o.HideParams = false;
    else if (a == "--by-class") o.ByClass = true;
    else if (a == "--single") o.SingleList = true;
    else if (a == "--no-prefix") o.FpPrefix = false;
    else if (a.size() > 1 && a[0] == '-') error = "unknown option '" + a + "'";
    else if (!file.empty()) error = "only one FILE";
    else file = a;
  }
  if (error.empty() && file.empty()) error = "FILE missing";
  return error.empty();
}

int RunProcs(const std::vector<std::string>& args);

const Command kProcs{"procs", "list the functions and procedures of a Pascal unit", kUsage,
                     RunProcs};

int RunProcs(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  std::string file, error;
  TFuncProcOptions options;
  if (!ParseArgs(args, file, options, error)) return UsageError(kProcs, error);
  if (!FileExists(file)) return Fail("Cannot open file " + file);

  TSortedLists lists;
  TRoutineFinder finder(lists, options);
  auto start = std::chrono::steady_clock::now();
  int lines = 0;
  std::string scanError;
  try {
    TFileStream stream(file, fmOpenRead);
    lines = finder.Scan(stream);
  } catch (const EParserError& e) {
    scanError = e.Message();
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start).count();
  std::string out = lists.Listing(options.SingleList);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  if (!scanError.empty()) {
    std::fprintf(stderr, "%s\n", scanError.c_str());
    return kExitNotFound;
  }
  std::fprintf(stderr, "%s\n", ScanStatusText(lines, ms).c_str());
  return kExitOk;
}

VESPER_COMMAND(kProcs.name, kProcs.summary, kProcs.usage, kProcs.run);

}  // namespace
}  // namespace vesper::cli
