#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/vesper/Command.h"

using namespace vesper::cli;

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    const Command* help = FindCommand("help");
    return help->run({});
  }
  const Command* command = FindCommand(args[0]);
  if (!command) return Fail("unknown command '" + args[0] + "'; try 'vesper help'");
  args.erase(args.begin());
  if (WantsHelp(args)) {
    std::printf("%s", command->usage);
    return kExitOk;
  }
  try {
    return command->run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitError;
  }
}
