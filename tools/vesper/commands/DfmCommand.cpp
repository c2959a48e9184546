// vesper dfm: converts form files between binary and text.
#include <cstdio>
#include <iostream>
#include <iterator>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/filer/FormConverter.h"
#include "tools/vesper/Command.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper dfm to-text IN [OUT]\n"
    "       vesper dfm to-binary IN [OUT] [--resource-header]\n"
    "\n"
    "Converts a form file. IN may be a binary form (\"TPF0\"), a binary form\n"
    "behind the 16-bit resource header, or a text form; its kind is found from\n"
    "its first bytes. IN \"-\" reads standard input. Without OUT the result goes\n"
    "to standard output; OUT is replaced atomically.\n"
    "\n"
    "  to-text            write the text form\n"
    "  to-binary          write the binary form\n"
    "  --resource-header  with to-binary: put the 16-bit resource header in front\n";

int RunDfm(const std::vector<std::string>& args);

VESPER_COMMAND("dfm", "convert form files between binary and text", kUsage, RunDfm);

const Command& Self() { return *FindCommand("dfm"); }

std::string ReadInput(const std::string& path) {
  if (path != "-") return ReadFileBytes(path);
  std::cin >> std::noskipws;
  return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

void WriteOutput(const std::string& path, const std::string& data) {
  if (!path.empty()) {
    SaveFileAtomic(path, data);
    return;
  }
  if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() || std::fflush(stdout) != 0)
    throw EWriteError("Cannot write to standard output");
}

int RunDfm(const std::vector<std::string>& args) {
  bool resourceHeader = false;
  std::vector<std::string> positional;
  for (const std::string& a : args) {
    if (a == "--resource-header")
      resourceHeader = true;
    else if (a.size() > 1 && a[0] == '-')
      return UsageError(Self(), "unknown option '" + a + "'");
    else
      positional.push_back(a);
  }
  if (positional.size() < 2 || positional.size() > 3) return UsageError(Self());
  const std::string& mode = positional[0];
  bool toText = mode == "to-text";
  if (!toText && mode != "to-binary") return UsageError(Self(), "unknown conversion '" + mode + "'");
  if (toText && resourceHeader) return UsageError(Self(), "--resource-header goes with to-binary");
  const std::string& in = positional[1];
  std::string out = positional.size() == 3 ? positional[2] : "";
  try {
    std::string data = ReadInput(in);
    WriteOutput(out, toText ? FormFileToText(data) : FormFileToBinary(data, resourceHeader));
  } catch (const Exception& e) {
    return Fail(in + ": " + e.Message());
  }
  return kExitOk;
}

}  // namespace
}  // namespace vesper::cli
