#include "ide/MemoryToolServices.h"

#include <algorithm>

#include "platform/StrUtils.h"

namespace vesper::ide {

namespace {

class MemoryEditView : public TIEditView {
 public:
  MemoryEditView(TMemoryToolServices& ide, std::string file) : ide_(ide), file_(std::move(file)) {}
  TSize GetViewSize() override { return File() ? File()->ViewSize : TSize{}; }
  TEditPos GetCursorPos() override { return File() ? File()->Cursor : TEditPos{}; }
  void SetCursorPos(const TEditPos& pos) override {
    if (File()) File()->Cursor = pos;
    ide_.Calls.push_back("SetCursorPos(" + std::to_string(pos.Line) + "," + std::to_string(pos.Col) + ")");
  }
  TEditPos GetTopPos() override { return File() ? File()->Top : TEditPos{}; }
  void SetTopPos(const TEditPos& pos) override {
    if (File()) File()->Top = pos;
    ide_.Calls.push_back("SetTopPos(" + std::to_string(pos.Line) + "," + std::to_string(pos.Col) + ")");
  }

 private:
  MemoryFile* File() {
    auto it = ide_.Files.find(file_);
    return it == ide_.Files.end() ? nullptr : &it->second;
  }
  TMemoryToolServices& ide_;
  std::string file_;
};

class MemoryEditor : public TIEditorInterface {
 public:
  MemoryEditor(TMemoryToolServices& ide, std::string file) : ide_(ide), file_(std::move(file)) {}
  std::string FileName() override { return file_; }
  int LinesInBuffer() override {
    auto it = ide_.Files.find(file_);
    if (it == ide_.Files.end()) return 0;
    return int(std::count(it->second.Text.begin(), it->second.Text.end(), '\n')) + 1;
  }
  int GetViewCount() override { return 1; }
  TIEditView* GetView(int index) override { return index == 0 ? new MemoryEditView(ide_, file_) : nullptr; }

 private:
  TMemoryToolServices& ide_;
  std::string file_;
};

class MemoryModule : public TIModuleInterface {
 public:
  MemoryModule(TMemoryToolServices& ide, std::string file) : ide_(ide), file_(std::move(file)) {}
  TIEditorInterface* GetEditorInterface() override { return new MemoryEditor(ide_, file_); }
  bool ShowSource() override {
    ide_.Calls.push_back("ShowSource(" + file_ + ")");
    ide_.CurrentFile = file_;
    return true;
  }
  bool Save(bool) override { return true; }
  bool Close() override { return ide_.CloseFile(file_); }

 private:
  TMemoryToolServices& ide_;
  std::string file_;
};

}  // namespace

TMemoryToolServices::TMemoryToolServices(std::string baseKey)
    : BaseKey(std::move(baseKey)), MenuRoot(std::make_shared<MenuNode>()) {
  const char* menus[][2] = {{"&File", "FileMenu"},       {"&Edit", "EditMenu"},
                            {"&Search", "SearchMenu"},   {"&View", "ViewMenu"},
                            {"&Project", "ProjectMenu"}, {"&Run", "RunMenu"},
                            {"&Component", "ComponentMenu"}, {"&Database", "DatabaseMenu"},
                            {"&Tools", "ToolsMenu"},     {"&Help", "HelpMenu"}};
  for (auto& m : menus) AddMenuNode(MenuRoot, m[0], m[1]);
}

bool TMemoryToolServices::CloseProject() {
  Calls.push_back("CloseProject");
  ProjectName.clear();
  Units.clear();
  return true;
}

bool TMemoryToolServices::OpenProject(const std::string& projName) {
  Calls.push_back("OpenProject(" + projName + ")");
  ProjectName = projName;
  return true;
}

bool TMemoryToolServices::SaveProject() { return !ProjectName.empty(); }

bool TMemoryToolServices::CloseFile(const std::string& fileName) {
  Calls.push_back("CloseFile(" + fileName + ")");
  bool was = Files.erase(fileName) > 0;
  if (CurrentFile == fileName) CurrentFile.clear();
  return was;
}

bool TMemoryToolServices::SaveFile(const std::string& fileName) { return Files.count(fileName) > 0; }

bool TMemoryToolServices::OpenFile(const std::string& fileName) {
  Calls.push_back("OpenFile(" + fileName + ")");
  Files.emplace(fileName, MemoryFile{});
  CurrentFile = fileName;
  return true;
}

bool TMemoryToolServices::IsFileOpen(const std::string& fileName) { return Files.count(fileName) > 0; }

bool TMemoryToolServices::CreateModule(const std::string& moduleName, int createFlags) {
  Calls.push_back("CreateModule(" + moduleName + "," + std::to_string(createFlags) + ")");
  if (createFlags & cmAddToProject) Units.push_back(moduleName);
  if (createFlags & cmShowSource) OpenFile(moduleName);
  return true;
}

std::string TMemoryToolServices::GetProjectName() { return ProjectName; }
int TMemoryToolServices::GetUnitCount() { return int(Units.size()); }
std::string TMemoryToolServices::GetUnitName(int index) {
  return index >= 0 && index < int(Units.size()) ? Units[size_t(index)] : "";
}
std::string TMemoryToolServices::GetCurrentFile() { return CurrentFile; }

TIModuleInterface* TMemoryToolServices::GetModuleInterface(const std::string& fileName) {
  if (!Files.count(fileName)) return nullptr;
  return new MemoryModule(*this, fileName);
}

TIMainMenuIntf* TMemoryToolServices::GetMainMenu() {
  return HasMainMenu ? NewMainMenuObject(MenuRoot) : nullptr;
}

std::string TMemoryToolServices::GetBaseRegistryKey() { return BaseKey; }

void TMemoryToolServices::RaiseException(const std::string& message) {
  Calls.push_back("RaiseException(" + message + ")");
  RaisedMessages.push_back(message);
}

bool TMemoryToolServices::ClickMenu(const std::string& name) {
  auto n = FindMenu(name);
  if (!n || !n->OnClick || !(n->Flags & mfEnabled)) return false;
  InterfaceRef<TIMenuItemIntf> item(NewMenuItemObject(n, false));
  n->OnClick(item.get());
  return true;
}


}  // namespace vesper::ide
