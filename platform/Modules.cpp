#include "platform/Modules.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>

namespace vesper {

namespace {
thread_local std::string lastError;

void KeepError() {
  const char* e = dlerror();
  lastError = e ? e : "Unknown error";
}

std::string ExecutablePath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, size_t(n)) : std::string();
}
}  // namespace

HMODULE LoadLibrary(const std::string& fileName) {
  if (fileName.empty()) {
    lastError = "The specified module could not be found";
    return nullptr;
  }
  // A name without a folder is a file in the current folder, not a search.
  std::string path = fileName.find('/') == std::string::npos ? "./" + fileName : fileName;
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) KeepError();
  return h;
}

void* GetProcAddress(HMODULE module, const char* name) {
  if (!module || !name) return nullptr;
  dlerror();
  return dlsym(module, name);
}

bool FreeLibrary(HMODULE module) {
  if (!module) return false;
  if (dlclose(module) != 0) {
    KeepError();
    return false;
  }
  return true;
}

std::string GetModuleFileName(HMODULE module) {
  link_map* map = nullptr;
  if (!module || dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map) return {};
  if (!map->l_name || !*map->l_name) return ExecutablePath();
  return map->l_name;
}

std::string ModuleFileNameOf(const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map) return {};
  if (!map->l_name || !*map->l_name) return ExecutablePath();
  return map->l_name;
}

std::string LastErrorText() { return lastError; }

}  // namespace vesper
