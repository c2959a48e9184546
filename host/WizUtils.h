// Error raising used throughout the host, and loading a class wizard's
// object from its module.
#pragma once

#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "host/VesperIntf.h"
#include "platform/Format.h"
#include "platform/Modules.h"

namespace vesper {

// Each raises Exception with the message shown; none returns.
[[noreturn]] void Error(const std::string& msg);
[[noreturn]] void FmtError(std::string_view fmt, std::initializer_list<TVarRec> args);
// "%s.\r%s": `msg` and the system's text for the last error.
[[noreturn]] void SysError(const std::string& msg);
[[noreturn]] void FmtSysError(std::string_view fmt, std::initializer_list<TVarRec> args);

// Where the host shows an exception that reached one of its loops (the
// application's exception display). Default: the message on stderr.
using TShowExceptionProc = std::function<void(const std::exception& e)>;
TShowExceptionProc& ShowExceptionHook();
void ShowException(const std::exception& e);
// Shows the exception being handled (inside a catch block).
void ShowCurrentException();

// Gets the object of GETINSTANCE007 and initialises it.
TWizardInterface* LoadWizardInterface(HMODULE module, TInitReason reason, ide::TIToolServices* toolServices,
                                      const std::string& dllName, TIDEType ideType, int32_t ideVersion,
                                      HWND appHandle);

}  // namespace vesper
