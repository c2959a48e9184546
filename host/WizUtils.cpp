#include "host/WizUtils.h"

#include "host/VesperDLLIntf.h"
#include "platform/Exception.h"

#include <cstdio>

namespace vesper {

void Error(const std::string& msg) { throw Exception(msg); }

void FmtError(std::string_view fmt, std::initializer_list<TVarRec> args) { Error(Format(fmt, args)); }

void SysError(const std::string& msg) { Error(Format("%s.\r%s", {msg, GetLastModuleError()})); }

void FmtSysError(std::string_view fmt, std::initializer_list<TVarRec> args) { SysError(Format(fmt, args)); }

TShowExceptionProc& ShowExceptionHook() {
  static TShowExceptionProc hook = [](const std::exception& e) { std::fprintf(stderr, "%s\n", e.what()); };
  return hook;
}

void ShowException(const std::exception& e) {
  if (ShowExceptionHook()) ShowExceptionHook()(e);
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

TWizardInterface* LoadWizardInterface(HMODULE module, TInitReason reason, ide::TIToolServices* toolServices,
                                      const std::string& dllName, TIDEType ideType, int32_t ideVersion,
                                      HWND appHandle) {
  auto getInstance = reinterpret_cast<TGetInstanceProc>(GetProcAddress(module, kGetInstanceEntry));
  if (!getInstance) FmtError("%s is not a Vesper Wizard", {dllName});
  TWizardInterface* wizard = nullptr;
  getInstance(&wizard);
  if (!wizard) FmtError("Unable to retrieve wizard interface from %s", {dllName});
  try {
    wizard->Initialize(reason, toolServices, ideType, ideVersion, appHandle);
  } catch (...) {
    wizard->Release();
    throw;
  }
  return wizard;
}

}  // namespace vesper
