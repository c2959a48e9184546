#include "ide/MemoryToolServices.h"

#include <algorithm>

#include "platform/StrUtils.h"

namespace vesper::ide {

std::shared_ptr<MenuNode> MenuNode::Find(const std::string& name) {
  for (auto& c : Children) {
    if (SameText(c->Name, name)) return c;
    if (auto f = c->Find(name)) return f;
  }
  return nullptr;
}

int MenuNode::IndexInParent() const {
  auto p = Parent.lock();
  if (!p) return -1;
  for (size_t i = 0; i < p->Children.size(); ++i)
    if (p->Children[i].get() == this) return int(i);
  return -1;
}

void MenuNode::Detach() {
  auto p = Parent.lock();
  if (!p) return;
  auto& c = p->Children;
  c.erase(std::remove_if(c.begin(), c.end(), [this](auto& n) { return n.get() == this; }), c.end());
  Parent.reset();
}

namespace {

class MemoryMenuItem : public TIMenuItemIntf {
 public:
  MemoryMenuItem(std::shared_ptr<MenuNode> node, bool owning) : node_(node), owning_(owning) {}
  ~MemoryMenuItem() override {
    if (owning_)
      if (auto n = node_.lock()) n->Detach();
  }

  int GetIndex() override { return Node() ? Node()->IndexInParent() : -1; }
  int GetItemCount() override { return Node() ? int(Node()->Children.size()) : 0; }
  TIMenuItemIntf* GetItem(int index) override {
    auto n = Node();
    if (!n || index < 0 || index >= int(n->Children.size())) return nullptr;
    return new MemoryMenuItem(n->Children[index], false);
  }
  std::string GetName() override { return Node() ? Node()->Name : ""; }
  TIMenuItemIntf* GetParent() override {
    auto n = Node();
    auto p = n ? n->Parent.lock() : nullptr;
    return p ? new MemoryMenuItem(p, false) : nullptr;
  }
  std::string GetCaption() override { return Node() ? Node()->Caption : ""; }
  bool SetCaption(const std::string& c) override { return Set([&](MenuNode& n) { n.Caption = c; }); }
  TShortCut GetShortCut() override { return Node() ? Node()->ShortCut : 0; }
  bool SetShortCut(TShortCut s) override { return Set([&](MenuNode& n) { n.ShortCut = s; }); }
  int GetFlags() override { return Node() ? Node()->Flags : mfInvalid; }
  bool SetFlags(int mask, int flags) override {
    return Set([&](MenuNode& n) { n.Flags = (n.Flags & ~mask) | (flags & mask); });
  }
  int GetGroupIndex() override { return Node() ? Node()->GroupIndex : 0; }
  std::string GetHint() override { return Node() ? Node()->Hint : ""; }
  int GetContext() override { return Node() ? Node()->Context : 0; }
  TIMenuClickEvent GetOnClick() override { return Node() ? Node()->OnClick : nullptr; }
  bool SetOnClick(TIMenuClickEvent click) override { return Set([&](MenuNode& n) { n.OnClick = click; }); }
  TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                             const std::string& hint, TShortCut shortCut, int context, int groupIndex,
                             int flags, TIMenuClickEvent click) override {
    auto parent = Node();
    if (!parent) return nullptr;
    auto n = std::make_shared<MenuNode>();
    n->Caption = caption;
    n->Name = name;
    n->Hint = hint;
    n->ShortCut = shortCut;
    n->Context = context;
    n->GroupIndex = groupIndex;
    n->Flags = flags;
    n->OnClick = std::move(click);
    n->Parent = parent;
    auto& c = parent->Children;
    if (index < 0 || index > int(c.size())) index = int(c.size());
    c.insert(c.begin() + index, n);
    return new MemoryMenuItem(n, true);
  }
  bool DestroyMenuItem() override {
    auto n = Node();
    if (!n) return false;
    n->Detach();
    return true;
  }

 private:
  std::shared_ptr<MenuNode> Node() { return node_.lock(); }
  template <class F>
  bool Set(F f) {
    auto n = Node();
    if (!n) return false;
    f(*n);
    return true;
  }
  std::weak_ptr<MenuNode> node_;
  bool owning_;
};

class MemoryMainMenu : public TIMainMenuIntf {
 public:
  explicit MemoryMainMenu(std::shared_ptr<MenuNode> root) : root_(std::move(root)) {}
  TIMenuItemIntf* GetMenuItems() override { return NewMenuItemObject(root_, false); }
  TIMenuItemIntf* FindMenuItem(const std::string& name) override {
    auto n = root_->Find(name);
    return n ? NewMenuItemObject(n, false) : nullptr;
  }

 private:
  std::shared_ptr<MenuNode> root_;
};

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

void Dump(const MenuNode& n, int depth, std::string& out) {
  out += std::string(size_t(depth) * 2, ' ') + n.Caption + " [" + n.Name + "]";
  if (n.ShortCut) out += " " + ShortCutToText(n.ShortCut);
  if (!(n.Flags & mfVisible)) out += " (hidden)";
  if (!(n.Flags & mfEnabled)) out += " (disabled)";
  out += "\n";
  for (auto& c : n.Children) Dump(*c, depth + 1, out);
}

}  // namespace

TIMenuItemIntf* NewMenuItemObject(std::shared_ptr<MenuNode> node, bool owning) {
  return new MemoryMenuItem(std::move(node), owning);
}

TMemoryToolServices::TMemoryToolServices(std::string baseKey)
    : BaseKey(std::move(baseKey)), MenuRoot(std::make_shared<MenuNode>()) {
  const char* menus[][2] = {{"&File", "FileMenu"},       {"&Edit", "EditMenu"},
                            {"&Search", "SearchMenu"},   {"&View", "ViewMenu"},
                            {"&Project", "ProjectMenu"}, {"&Run", "RunMenu"},
                            {"&Component", "ComponentMenu"}, {"&Database", "DatabaseMenu"},
                            {"&Tools", "ToolsMenu"},     {"&Help", "HelpMenu"}};
  for (auto& m : menus) {
    auto n = std::make_shared<MenuNode>();
    n->Caption = m[0];
    n->Name = m[1];
    n->Parent = MenuRoot;
    MenuRoot->Children.push_back(n);
  }
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
  return HasMainMenu ? new MemoryMainMenu(MenuRoot) : nullptr;
}

std::string TMemoryToolServices::GetBaseRegistryKey() { return BaseKey; }

void TMemoryToolServices::RaiseException(const std::string& message) {
  Calls.push_back("RaiseException(" + message + ")");
  RaisedMessages.push_back(message);
}

bool TMemoryToolServices::ClickMenu(const std::string& name) {
  auto n = FindMenu(name);
  if (!n || !n->OnClick || !(n->Flags & mfEnabled)) return false;
  TIMenuItemIntf* item = NewMenuItemObject(n, false);
  n->OnClick(item);
  item->Release();
  return true;
}

std::string TMemoryToolServices::DumpMenu() const {
  std::string out;
  for (auto& c : MenuRoot->Children) Dump(*c, 0, out);
  return out;
}

}  // namespace vesper::ide
