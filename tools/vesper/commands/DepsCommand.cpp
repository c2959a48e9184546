// `vesper deps`: the executable viewer's tree of imported modules.
#include <cstdio>

#include "tools/vesper/Command.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/ExeDepends.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper deps FILE [--imports] [--recurse] [--system-dir DIR]\n"
    "\n"
    "Shows what a 32-bit executable, library or package imports, as an indented tree\n"
    "with the roots Packages, DLL's, Units and Unknown.\n"
    "  --imports     list the imported functions under each module\n"
    "  --recurse     expand imported packages and libraries found in the system folder\n"
    "  --system-dir  the folder to search (default $VESPER_SYSTEM_DIR, else Wine's)\n"
    "Exit status 1 when the scan stopped early (for example no package information).\n";

int RunDeps(const std::vector<std::string>& args) {
  const Command& self = *FindCommand("deps");
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  std::string file, folder;
  TScanOptions options;
  options.ShowDependencies = false;
  bool folderGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--imports") {
      options.ShowImports = true;
    } else if (args[i] == "--recurse") {
      options.ShowDependencies = true;
    } else if (args[i] == "--system-dir" && i + 1 < args.size()) {
      folder = args[++i];
      folderGiven = true;
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      return UsageError(self, "unexpected argument '" + args[i] + "'");
    }
  }
  if (file.empty()) return UsageError(self);
  if (folderGiven && !folder.empty() && folder.back() != '/') folder += '/';
  options.SearchFolder = folderGiven ? folder : DefaultSearchFolder();
  try {
    TExe32Image image(file);
    TScanResult result = ScanIt(image, options);
    std::string tree = TreeText(result.Roots);
    std::fwrite(tree.data(), 1, tree.size(), stdout);
    if (!result.Error.empty()) {
      std::fflush(stdout);
      std::fprintf(stderr, "vesper: %s\n", result.Error.c_str());
      return kExitNotFound;
    }
    return kExitOk;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

VESPER_COMMAND("deps", "show the modules, functions and units an executable depends on", kUsage, RunDeps);

}  // namespace
}  // namespace vesper::cli
