// The executable viewer's scan without its window: the tree of imported
// modules (packages, libraries, others), their functions, the package's
// units and the recursive dependencies found in a search folder.
#pragma once

#include <string>
#include <vector>

namespace vesper {

class TExe32Image;

// Tree images of the viewer.
enum : int {
  imgPackagesRoot = 0, imgDllRoot = 1, imgUnknownRoot = 2, imgPackage = 4,
  imgLibrary = 1, imgOther = 2, imgFunction = 5, imgUnitsRoot = 8, imgUnit = 9
};

struct TDepNode {
  std::string Text;
  int ImageIndex = 0;
  std::vector<TDepNode> Children;
};

struct TScanOptions {
  bool ShowImports = false;       // "Show Imports"
  bool ShowDependencies = true;   // "&Show dependencies"
  std::string SearchFolder;       // with a trailing "/"; empty: no dependencies found
};

struct TScanResult {
  // "Packages", "DLL's", "Units", "Unknown"; empty after an import failure.
  std::vector<TDepNode> Roots;
  int ImportCount = 0;
  int UnitCount = 0;
  // The message of the failure that ended the scan, empty when none.
  std::string Error;
};

// Builds the viewer's tree for an open image.
TScanResult ScanIt(TExe32Image& image, const TScanOptions& options);

// The viewer's "Windows system folder": $VESPER_SYSTEM_DIR, else Wine's
// system folder when it exists; with a trailing "/", or empty.
std::string DefaultSearchFolder();

// `name` in `folder`, matched without regard to case; empty when absent.
std::string FindModuleFile(const std::string& folder, const std::string& name);

// The text of a function name at display: a decorated name (at least 10
// characters, '@' ninth from the end) loses the '@' and the 8 after it.
std::string TrimDecoratedName(const std::string& name);

// The tree as indented text, four blanks per level.
std::string TreeText(const std::vector<TDepNode>& roots);

}  // namespace vesper
