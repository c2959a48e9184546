#include "wizards/exeview/core/OutputFile.h"

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"
#include "wizards/resexplorer/core/ExeDepends.h"

namespace vesper {
namespace {

// `name` in `folder` with the letter case found on disk, or empty.
std::string ExistingFile(const std::string& folder, const std::string& name) {
  return FindModuleFile(folder.empty() ? "./" : folder, name);
}

}  // namespace

std::string ProjectOutputDir(const std::string& projectName) {
  std::string dof = ChangeFileExt(projectName, ".DOF");
  if (!FileExists(dof)) {
    dof = FindModuleFile(ExtractFilePath(projectName), ExtractFileName(dof));
    if (dof.empty()) return "";
  }
  std::string dir = Trim(TIniFile(dof).ReadString("Directories", "OutputDir", ""));
  if (dir.empty()) return "";
  for (char& c : dir)
    if (c == '\\') c = '/';
  if (dir.front() != '/') dir = ExtractFilePath(projectName) + dir;
  return IncludeTrailingPathDelimiter(dir);
}

std::string ExtensionDirective(const std::string& projectName) {
  TStringList source;
  try {
    source.LoadFromFile(projectName);
  } catch (const std::exception&) {
    return "";
  }
  for (int i = 0; i < source.Count(); ++i) {
    std::string line = UpperCase(Trim(source.Strings(i)));
    // "{$E " only: "{$ELSE}" and "{$ENDIF}" are other directives.
    if (line.size() < 5 || line.compare(0, 3, "{$E") != 0 || (line[3] != ' ' && line[3] != '\t')) continue;
    std::string ext = Trim(line.substr(4));
    if (!ext.empty()) ext.pop_back();
    ext = Trim(ext);
    // An extension never names another folder.
    return ext.find_first_of("/\\") == std::string::npos ? ext : "";
  }
  return "";
}

std::string FindProjectOutputFile(const std::string& projectName) {
  if (projectName.empty()) return "";
  std::string outDir = ProjectOutputDir(projectName);
  std::string folder = outDir.empty() ? ExtractFilePath(projectName) : outDir;
  for (const char* ext : {".EXE", ".DLL"}) {
    std::string found = ExistingFile(folder, ChangeFileExt(ExtractFileName(projectName), ext));
    if (!found.empty()) return found;
  }
  std::string ext = ExtensionDirective(projectName);
  if (ext.empty()) return "";
  std::string name = ChangeFileExt(ExtractFileName(projectName), "." + ext);
  std::string found = ExistingFile(folder, name);
  return found.empty() ? folder + name : found;
}

}  // namespace vesper
