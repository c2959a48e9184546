// Output-file search of a project: the input is a project source, a NUL and
// the project's ".DOF" text. Never crashes; a file found is named after the
// project.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Files.h"
#include "wizards/exeview/core/OutputFile.h"

using namespace vesper;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dir = [] {
    std::string d = GetTempDir() + "/exeview_fuzz_" + std::to_string(getpid());
    ForceDirectories(d);
    return d + "/";
  }();
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  SaveFileAtomic(dir + "proj.dpr", input.substr(0, nul));
  if (nul == std::string_view::npos)
    DeleteFile(dir + "proj.dof");
  else
    SaveFileAtomic(dir + "proj.dof", input.substr(nul + 1));
  std::string found = FindProjectOutputFile(dir + "proj.dpr");
  if (!found.empty() && ExtractFileName(found).compare(0, 5, "proj.") != 0) std::abort();
  return 0;
}
