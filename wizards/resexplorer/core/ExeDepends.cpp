#include "wizards/resexplorer/core/ExeDepends.h"

#include <dirent.h>

#include <cstdlib>

#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/ExeImports.h"

namespace vesper {
namespace {

enum { kPackages, kDlls, kUnits, kUnknown };

bool Contains(const std::string& haystack, const char* needle) {
  return haystack.find(needle) != std::string::npos;
}

void Expand(TDepNode& node, const std::string& module, int image, const char* filter,
            const std::string& folder, TStringList& visited) {
  std::string path = FindModuleFile(folder, module);
  if (path.empty()) return;
  TExe32Image exe(path);
  TStringList imports = ReadImports(exe);
  for (int i = 0; i < imports.Count(); ++i) {
    std::string raw = ImportModule(imports.At(i)), name = UpperCase(raw);
    if (!Contains(name, filter) || visited.IndexOf(name) >= 0) continue;
    visited.Add(name);
    node.Children.push_back(TDepNode{name, image, {}});
    Expand(node.Children.back(), raw, image, filter, folder, visited);
  }
}

void ExpandRoot(TDepNode& root, const std::vector<std::string>& rawNames, int image, const char* filter,
                const std::string& folder) {
  for (size_t i = 0; i < root.Children.size(); ++i) {
    TStringList visited;
    visited.Add(root.Children[i].Text);
    try {
      Expand(root.Children[i], rawNames[i], image, filter, folder, visited);
    } catch (const std::exception&) {
      // A dependent file that cannot be read keeps what was built.
    }
  }
}

}  // namespace

std::string TrimDecoratedName(const std::string& name) {
  if (name.size() >= 10 && name[name.size() - 9] == '@') return name.substr(0, name.size() - 9);
  return name;
}

std::string FindModuleFile(const std::string& folder, const std::string& name) {
  if (folder.empty() || name.empty() || name.find('/') != std::string::npos) return "";
  if (FileExists(folder + name)) return folder + name;
  std::string found;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir)) {
      if (SameText(e->d_name, name) && FileExists(folder + e->d_name)) {
        found = folder + e->d_name;
        break;
      }
    }
    closedir(dir);
  }
  return found;
}

std::string DefaultSearchFolder() {
  std::string folder;
  if (const char* dir = std::getenv("VESPER_SYSTEM_DIR"); dir && *dir) {
    folder = dir;
  } else {
    const char* prefix = std::getenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    std::string base = prefix && *prefix ? prefix : home ? std::string(home) + "/.wine" : "";
    if (base.empty() || !DirectoryExists(base + "/drive_c/windows/system32")) return "";
    folder = base + "/drive_c/windows/system32";
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

TScanResult ScanIt(TExe32Image& image, const TScanOptions& options) {
  TScanResult result;
  TStringList imports;
  try {
    imports = ReadImports(image);
  } catch (const std::exception&) {
    result.Error = "Internal Error 12 scanning .idata in " + image.FileName();
    return result;
  }
  result.ImportCount = imports.Count();
  result.Roots = {{"Packages", imgPackagesRoot, {}}, {"DLL's", imgDllRoot, {}},
                  {"Units", imgUnitsRoot, {}}, {"Unknown", imgUnknownRoot, {}}};
  // Raw module names of the children of "Packages" and "DLL's", for finding their files.
  std::vector<std::string> rawNames[2];
  TDepNode* current = nullptr;
  std::string previous;
  for (int i = 0; i < imports.Count(); ++i) {
    const std::string& entry = imports.At(i);
    std::string module, function;
    SplitImport(entry, module, function);
    if (!current || module != previous) {
      int root = Contains(module, ".DLL") ? kDlls : Contains(module, ".DPL") ? kPackages : kUnknown;
      int img = root == kDlls ? imgLibrary : root == kPackages ? imgPackage : imgOther;
      result.Roots[root].Children.push_back(TDepNode{module, img, {}});
      current = &result.Roots[root].Children.back();
      if (root != kUnknown) rawNames[root].push_back(ImportModule(entry));
      previous = module;
    }
    if (options.ShowImports && !function.empty())
      current->Children.push_back(TDepNode{TrimDecoratedName(function), imgFunction, {}});
  }
  TStringList units;
  try {
    units = ReadPackageUnits(image);
  } catch (const std::exception& e) {
    result.Error = e.what();
    return result;
  }
  result.UnitCount = units.Count();
  for (int i = 0; i < units.Count(); ++i) result.Roots[kUnits].Children.push_back(TDepNode{units.At(i), imgUnit, {}});
  if (options.ShowDependencies) {
    ExpandRoot(result.Roots[kPackages], rawNames[kPackages], imgPackage, ".DPL", options.SearchFolder);
    ExpandRoot(result.Roots[kDlls], rawNames[kDlls], imgLibrary, ".DLL", options.SearchFolder);
  }
  return result;
}

std::string TreeText(const std::vector<TDepNode>& roots) {
  std::string out;
  auto walk = [&](auto& self, const TDepNode& node, int depth) -> void {
    out += std::string(size_t(depth) * 4, ' ') + node.Text + "\n";
    for (auto& child : node.Children) self(self, child, depth + 1);
  };
  for (auto& root : roots) walk(walk, root, 0);
  return out;
}

}  // namespace vesper
