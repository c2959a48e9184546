// The tool services of the stand-in IDE, acting on its main window.
#pragma once

#include <string>

#include "ide/ToolIntf.h"

namespace vesper::ide_app {

class AppBuilder;

class IdeToolServices : public ide::TIToolServices {
 public:
  // `cbuilder` selects the C++ IDE's base registry key.
  IdeToolServices(AppBuilder& window, bool cbuilder);

  static std::string BaseKeyFor(bool cbuilder);

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
  ide::TIModuleInterface* GetModuleInterface(const std::string& fileName) override;
  ide::TIMainMenuIntf* GetMainMenu() override;
  std::string GetBaseRegistryKey() override;
  void RaiseException(const std::string& message) override;
  void* GetParentHandle() override;

 private:
  AppBuilder& window_;
  bool cbuilder_;
};

}  // namespace vesper::ide_app
