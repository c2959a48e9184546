// vesper regsvr [-u] MODULE: registers or unregisters an in-process server
// module by calling its DllRegisterServer or DllUnregisterServer.
#include <cstdio>

#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/Modules.h"
#include "tools/vesper/Command.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper regsvr [-u] MODULE\n"
    "\n"
    "Registers MODULE (calls its DllRegisterServer), or with -u unregisters it\n"
    "(DllUnregisterServer). A wizard module announces its wizards to the host.\n";

int RunRegsvr(const std::vector<std::string>& args) {
  const Command& self = *FindCommand("regsvr");
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  bool unregister = !args.empty() && args[0] == "-u";
  if (args.size() != (unregister ? 2u : 1u)) return UsageError(self);
  std::string path = ExpandFileName(args.back());
  const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  HMODULE module = LoadLibrary(path);
  if (!module) return Fail("cannot load " + path + ": " + GetLastModuleError());
  auto proc = GetProcAddressAs<TDllRegisterServer>(module, entry);
  HRESULT hr = proc ? proc() : S_OK;
  FreeLibrary(module);
  if (!proc) return Fail(path + " has no entry point " + entry);
  try {
    OleCheck(hr);
  } catch (const std::exception& e) {
    return Fail(std::string(entry) + " in " + path + " failed: " + e.what());
  }
  std::printf("%s in %s succeeded.\n", entry, path.c_str());
  return kExitOk;
}

VESPER_COMMAND("regsvr", "register or unregister a COM server module", kUsage, RunRegsvr);

}  // namespace
}  // namespace vesper::cli
