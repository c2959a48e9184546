#include "tools/vesper-ide/ExpertLoader.h"

#include "platform/Exception.h"
#include "platform/Modules.h"
#include "platform/Registry.h"

namespace vesper::ide_app {

namespace {
ExpertLoader* g_loader = nullptr;

std::vector<std::pair<std::string, std::string>> ValuesOf(const std::string& key) {
  std::vector<std::pair<std::string, std::string>> values;
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKeyReadOnly(key)) return values;
  for (auto& name : reg.GetValueNames()) values.emplace_back(name, reg.ReadString(name));
  return values;
}
}  // namespace

ExpertLoader::ExpertLoader(ide::TIToolServices* services, std::string baseKey)
    : services_(services), baseKey_(std::move(baseKey)) {
  g_loader = this;
  ide::LibraryExpertRegistrar() = &ExpertLoader::RegisterExpert;
}

ExpertLoader::~ExpertLoader() {
  UnloadAll();
  ide::LibraryExpertRegistrar() = nullptr;
  if (g_loader == this) g_loader = nullptr;
}

bool ExpertLoader::RegisterExpert(ide::TIExpert* expert) {
  if (!g_loader || !expert) return false;
  g_loader->experts_.push_back(expert);
  return true;
}

std::vector<std::string> ExpertLoader::LoadAll() {
  std::vector<std::string> failures;
  for (auto& [file, description] : ValuesOf(baseKey_ + "\\Known Packages")) {
    try {
      LoadPackage(file);
    } catch (const std::exception& e) {
      failures.push_back("Can't load package " + file + ".\n" + e.what());
    }
  }
  for (auto& [name, file] : ValuesOf(baseKey_ + "\\Experts")) {
    try {
      LoadExpertLibrary(file);
    } catch (const std::exception& e) {
      failures.push_back("Can't load expert " + name + " (" + file + ").\n" + e.what());
    }
  }
  return failures;
}

void ExpertLoader::LoadPackage(const std::string& fileName) {
  HMODULE module = LoadLibrary(fileName);
  if (!module) throw Exception(GetLastModuleError());
  auto reg = reinterpret_cast<ide::TPackageRegisterProc>(GetProcAddress(module, ide::kPackageRegisterEntryPoint));
  if (!reg) {
    FreeLibrary(module);
    throw Exception("The package has no Register procedure");
  }
  modules_.push_back({fileName, "package", module, nullptr});
  reg();
}

void ExpertLoader::LoadExpertLibrary(const std::string& fileName) {
  HMODULE module = LoadLibrary(fileName);
  if (!module) throw Exception(GetLastModuleError());
  auto init = reinterpret_cast<ide::TInitExpertProc>(GetProcAddress(module, ide::kExpertEntryPoint));
  if (!init) {
    FreeLibrary(module);
    throw Exception(std::string("The library does not export ") + ide::kExpertEntryPoint);
  }
  modules_.push_back({fileName, "expert", module, nullptr});
  if (!init(services_, &ExpertLoader::RegisterExpert, &modules_.back().Terminate))
    throw Exception("The expert library refused to start");
}

void ExpertLoader::UnloadAll() {
  // Experts first (the host saves and unloads its wizards as its expert
  // goes), then the libraries' terminate procedures, then the modules.
  while (!experts_.empty()) {
    ide::TIExpert* e = experts_.back();
    experts_.pop_back();
    try {
      e->Release();
    } catch (...) {
    }
  }
  for (auto it = modules_.rbegin(); it != modules_.rend(); ++it)
    if (it->Terminate) it->Terminate();
  while (!modules_.empty()) {
    FreeLibrary(static_cast<HMODULE>(modules_.back().Handle));
    modules_.pop_back();
  }
}

ExpertLoader* CurrentExpertLoader() { return g_loader; }

std::string LoadedModulesReport() {
  if (!g_loader || g_loader->Modules().empty()) return "No packages or experts are installed.";
  std::string text = "Installed packages and experts:\n";
  for (auto& m : g_loader->Modules()) text += "\n" + m.Kind + ": " + m.FileName;
  text += "\n\nExperts registered:";
  for (auto* e : g_loader->Experts()) text += "\n" + e->GetName() + " (" + e->GetIDString() + ")";
  return text;
}

}  // namespace vesper::ide_app
