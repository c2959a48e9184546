// Subcommands of the `vesper` program. A command's source registers it with
// VESPER_COMMAND; main() dispatches on the first argument.
//
// Conventions: plain text on stdout, the system's own message texts on
// stderr; exit 0 on success, 1 when a check found nothing or failed, 2 on a
// usage error or any other error.
#pragma once

#include <string>
#include <vector>

namespace vesper::cli {

enum ExitCode { kExitOk = 0, kExitNotFound = 1, kExitError = 2 };

struct Command {
  const char* name;
  const char* summary;  // one line for `vesper help`
  const char* usage;    // full text for `vesper <command> --help`
  // Arguments after the command name.
  int (*run)(const std::vector<std::string>& args);
};

void RegisterCommand(const Command& command);
const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

// Prints "vesper: <message>" to stderr and returns kExitError.
int Fail(const std::string& message);
// Prints the usage of `command` to stderr and returns kExitError.
int UsageError(const Command& command, const std::string& message = "");
// True when args holds "--help" or "-h".
bool WantsHelp(const std::vector<std::string>& args);

struct Registrar {
  explicit Registrar(const Command& c) { RegisterCommand(c); }
};

}  // namespace vesper::cli

#define VESPER_CONCAT2(a, b) a##b
#define VESPER_CONCAT(a, b) VESPER_CONCAT2(a, b)
#define VESPER_COMMAND(...) \
  static ::vesper::cli::Registrar VESPER_CONCAT(vesperCommand_, __LINE__)(::vesper::cli::Command{__VA_ARGS__})
