#include "platform/Modules.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/Exception.h"

namespace vesper {

namespace {

thread_local std::string lastError;

void SetDlError(const char* fallback) {
  const char* text = dlerror();
  lastError = text ? text : fallback;
}

void* Handle(HMODULE module) { return reinterpret_cast<void*>(module); }

}  // namespace

HMODULE LoadLibrary(const std::string& fileName) {
  dlerror();
  if (fileName.empty()) {
    lastError = SysErrorMessage(ENOENT);
    return nullptr;
  }
  void* h = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) SetDlError("cannot load module");
  return reinterpret_cast<HMODULE>(h);
}

void* GetProcAddress(HMODULE module, const char* name) {
  dlerror();
  if (!module || !name) {
    lastError = SysErrorMessage(EINVAL);
    return nullptr;
  }
  void* p = dlsym(Handle(module), name);
  if (!p) SetDlError("symbol not found");
  return p;
}

bool FreeLibrary(HMODULE module) {
  dlerror();
  if (!module) {
    lastError = SysErrorMessage(EINVAL);
    return false;
  }
  if (dlclose(Handle(module)) == 0) return true;
  SetDlError("cannot unload module");
  return false;
}

std::string GetModuleFileName(HMODULE module) {
  if (!module) {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
    if (n > 0) return std::string(buf, size_t(n));
    lastError = SysErrorMessage(errno);
    return "";
  }
  dlerror();
  link_map* map = nullptr;
  if (dlinfo(Handle(module), RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) {
    SetDlError("unknown module");
    return "";
  }
  return map->l_name[0] ? map->l_name : GetModuleFileName(nullptr);
}

std::string GetModuleFileNameOfAddress(const void* address) {
  Dl_info info;
  if (!address || dladdr(address, &info) == 0 || !info.dli_fname) {
    lastError = SysErrorMessage(EFAULT);
    return "";
  }
  // The program itself may be listed by its bare name.
  std::string name = info.dli_fname;
  if (name.find('/') == std::string::npos) return GetModuleFileName(nullptr);
  return name;
}

std::string GetLastModuleError() { return lastError; }

}  // namespace vesper
