// An in-memory IDE for tests and headless runs: a menu tree, a project with
// units, open files with one view each, and a log of every call made.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ide/MenuTree.h"
#include "ide/ToolIntf.h"

namespace vesper::ide {

struct MemoryFile {
  std::string Text;
  TEditPos Cursor{1, 1};
  TEditPos Top{1, 1};
  TSize ViewSize{80, 25};
};

class TMemoryToolServices : public TIToolServices {
 public:
  // A main menu with File, Edit, Search, View, Project, Run, Component,
  // Database, Tools and Help ("HelpMenu").
  explicit TMemoryToolServices(std::string baseKey = "Software\\Borland\\Delphi\\3.0");

  bool CloseProject() override;
  bool OpenProject(const std::string& projName) override;
  bool SaveProject() override;
  bool CloseFile(const std::string& fileName) override;
  bool SaveFile(const std::string& fileName) override;
  bool OpenFile(const std::string& fileName) override;
  bool IsFileOpen(const std::string& fileName) override;
  bool CreateModule(const std::string& moduleName, int createFlags) override;
  std::string GetProjectName() override;
  int GetUnitCount() override;
  std::string GetUnitName(int index) override;
  std::string GetCurrentFile() override;
  TIModuleInterface* GetModuleInterface(const std::string& fileName) override;
  TIMainMenuIntf* GetMainMenu() override;
  std::string GetBaseRegistryKey() override;
  void RaiseException(const std::string& message) override;
  void* GetParentHandle() override { return nullptr; }

  // Test controls and observations.
  std::vector<std::string> Calls;  // "OpenFile(/x.pas)", ...
  std::vector<std::string> RaisedMessages;
  std::map<std::string, MemoryFile> Files;  // open files by name
  std::string CurrentFile;
  std::string ProjectName;
  std::vector<std::string> Units;
  std::string BaseKey;
  bool HasMainMenu = true;
  std::shared_ptr<MenuNode> MenuRoot;  // children: the top-level menus

  // Finds a menu node by object name; null when absent.
  std::shared_ptr<MenuNode> FindMenu(const std::string& name) { return MenuRoot->Find(name); }
  // Runs a menu item's click handler as a user's choice would.
  bool ClickMenu(const std::string& name);
  std::string DumpMenu() const { return DumpMenuTree(*MenuRoot); }
};

}  // namespace vesper::ide
