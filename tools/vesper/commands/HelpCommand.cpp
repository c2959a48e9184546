#include <cstdio>

#include "tools/vesper/Command.h"

namespace vesper::cli {
namespace {

void PrintOverview() {
  std::printf(
      "Usage: vesper <command> [arguments]\n"
      "\n"
      "Runs Vesper's engines from the command line.\n"
      "\n"
      "Commands:\n");
  for (auto& c : Commands()) std::printf("  %-10s %s\n", c.name, c.summary);
  std::printf("\n'vesper <command> --help' describes a command.\n");
}

int RunHelp(const std::vector<std::string>& args) {
  if (args.empty() || WantsHelp(args)) {
    PrintOverview();
    return kExitOk;
  }
  const Command* c = FindCommand(args[0]);
  if (!c) return Fail("unknown command '" + args[0] + "'");
  std::printf("%s", c->usage);
  return kExitOk;
}

VESPER_COMMAND("help", "describe the commands", "Usage: vesper help [COMMAND]\n", RunHelp);

}  // namespace
}  // namespace vesper::cli
