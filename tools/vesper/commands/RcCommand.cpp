#include "tools/vesper/Command.h"
namespace vesper::cli {
namespace {
int RunRc(const std::vector<std::string>& args) { return kExitError; }
VESPER_COMMAND("rc", "resource projects", "Usage: vesper rc\n", RunRc);
}  // namespace
}  // namespace vesper::cli
