// Loading modules: LoadLibrary, GetProcAddress, FreeLibrary and module file
// names, with the text of the last failure.
#pragma once

#include <string>

namespace vesper {

using HMODULE = void*;

// Loads a module (each load counts; FreeLibrary undoes one). None on
// failure, with LastErrorText() telling why.
HMODULE LoadLibrary(const std::string& fileName);
// The address of an exported name, or none.
void* GetProcAddress(HMODULE module, const char* name);
bool FreeLibrary(HMODULE module);
// The file name of a loaded module, as it was loaded.
std::string GetModuleFileName(HMODULE module);
// The full path of the module that holds `address` (case kept); empty when
// unknown.
std::string ModuleFileNameOf(const void* address);
// The system's text for this thread's last module failure.
std::string LastErrorText();

}  // namespace vesper
