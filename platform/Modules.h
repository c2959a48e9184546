// Module loading: LoadLibrary, GetProcAddress, FreeLibrary and module file
// names over dlopen/dlsym/dlclose/dladdr. A failure never raises; its system
// text is kept for the calling thread (what a SysError message shows).
#pragma once

#include <string>

namespace vesper {

struct TModule;
using HMODULE = TModule*;

// Loads `fileName` with every symbol bound now and kept local to the
// module; nullptr on failure (see GetLastModuleError).
HMODULE LoadLibrary(const std::string& fileName);
// The address of an exported symbol, nullptr when missing.
void* GetProcAddress(HMODULE module, const char* name);
// Releases one LoadLibrary reference; false on failure.
bool FreeLibrary(HMODULE module);
// The file name of a loaded module as it was loaded; of the program when
// `module` is nullptr. "" when unknown.
std::string GetModuleFileName(HMODULE module);
// The file name of the module that holds `address`, "" when none does.
std::string GetModuleFileNameOfAddress(const void* address);
// The system's text of the calling thread's last failure of the functions
// above, "" when none failed.
std::string GetLastModuleError();

template <class F>
F GetProcAddressAs(HMODULE module, const char* name) {
  return reinterpret_cast<F>(GetProcAddress(module, name));
}

}  // namespace vesper
