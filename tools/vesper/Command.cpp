#include "tools/vesper/Command.h"

#include <algorithm>
#include <cstdio>

namespace vesper::cli {

namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace

void RegisterCommand(const Command& command) {
  auto& r = Registry();
  r.push_back(command);
  std::sort(r.begin(), r.end(), [](const Command& a, const Command& b) { return std::string(a.name) < b.name; });
}

const std::vector<Command>& Commands() { return Registry(); }

const Command* FindCommand(const std::string& name) {
  for (auto& c : Registry())
    if (name == c.name) return &c;
  return nullptr;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vesper: %s\n", message.c_str());
  return kExitError;
}

int UsageError(const Command& command, const std::string& message) {
  if (!message.empty()) std::fprintf(stderr, "vesper %s: %s\n", command.name, message.c_str());
  std::fprintf(stderr, "%s", command.usage);
  return kExitError;
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace vesper::cli
