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

bool InList(const std::vector<std::string>& list, const std::string& name) {
  for (auto& s : list)
    if (SameText(s, name)) return true;
  return false;
}

void Expand(TDepNode& node, const std::string& module, int image, const char* filter,
            const std::string& folder, std::vector<std::string>& visited) {
  std::string path = FindModuleFile(folder, module);
  if (path.empty()) return;
  TExe32Image exe(path);
  for (const std::string& entry : ReadImports(exe)) {
    std::string raw = ImportModule(entry), name = UpperCase(raw);
    if (!Contains(name, filter) || InList(visited, name)) continue;
    visited.push_back(name);
    node.Children.push_back(TDepNode{name, image, {}});
    Expand(node.Children.back(), raw, image, filter, folder, visited);
  }
}

void ExpandRoot(TDepNode& root, const std::vector<std::string>& rawNames, int image, const char* filter,
                const std::string& folder) {
  for (size_t i = 0; i < root.Children.size(); ++i) {
    std::vector<std::string> visited{root.Children[i].Text};
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
  std::vector<std::string> imports;
  try {
    imports = ReadImports(image);
  } catch (const std::exception&) {
    result.Error = "Internal Error 12 scanning .idata in " + image.FileName();
    return result;
  }
  result.ImportCount = int(imports.size());
  result.Roots = {{"Packages", imgPackagesRoot, {}}, {"DLL's", imgDllRoot, {}},
                  {"Units", imgUnitsRoot, {}}, {"Unknown", imgUnknownRoot, {}}};
  // Raw module names of the children of "Packages" and "DLL's", for finding their files.
  std::vector<std::string> rawNames[2];
  TDepNode* current = nullptr;
  std::string previous;
  for (const std::string& entry : imports) {
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
  std::vector<std::string> units;
  try {
    units = ReadPackageUnits(image);
  } catch (const std::exception& e) {
    result.Error = e.what();
    return result;
  }
  result.UnitCount = int(units.size());
  for (auto& unit : units) result.Roots[kUnits].Children.push_back(TDepNode{unit, imgUnit, {}});
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
