#include "tools/vesper-ide/IdeToolServices.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QPointer>

#include "ide/MenuTree.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "tools/vesper-ide/AppBuilder.h"
#include "tools/vesper-ide/CodeEditor.h"
#include "ui/Application.h"

namespace vesper::ide_app {

namespace {

// Runs a tool-services call; an exception becomes a shown message and a
// false result, as the IDE reports failures to its callers.
template <class F>
bool Guarded(F f) {
  bool ok = false;
  RunGuarded([&] { ok = f(); });
  return ok;
}

class EditView : public ide::TIEditView {
 public:
  EditView(AppBuilder& w, std::string file) : window_(w), file_(std::move(file)) {}
  ide::TSize GetViewSize() override {
    auto* e = window_.EditorOf(file_);
    return e ? ide::TSize{e->VisibleColumns(), e->VisibleLines()} : ide::TSize{};
  }
  ide::TEditPos GetCursorPos() override {
    auto* e = window_.EditorOf(file_);
    return e ? ide::TEditPos{int16_t(e->CursorColumn()), e->CursorLine()} : ide::TEditPos{};
  }
  void SetCursorPos(const ide::TEditPos& pos) override {
    if (auto* e = window_.EditorOf(file_)) e->SetCursorPosition(pos.Line, pos.Col);
  }
  ide::TEditPos GetTopPos() override {
    auto* e = window_.EditorOf(file_);
    return e ? ide::TEditPos{1, e->TopLine()} : ide::TEditPos{};
  }
  void SetTopPos(const ide::TEditPos& pos) override {
    if (auto* e = window_.EditorOf(file_)) e->SetTopLine(pos.Line);
  }

 private:
  AppBuilder& window_;
  std::string file_;
};

class Editor : public ide::TIEditorInterface {
 public:
  Editor(AppBuilder& w, std::string file) : window_(w), file_(std::move(file)) {}
  std::string FileName() override { return file_; }
  int LinesInBuffer() override {
    auto* e = window_.EditorOf(file_);
    return e ? e->document()->blockCount() : 0;
  }
  int GetViewCount() override { return window_.EditorOf(file_) ? 1 : 0; }
  ide::TIEditView* GetView(int index) override {
    return index == 0 && window_.EditorOf(file_) ? new EditView(window_, file_) : nullptr;
  }

 private:
  AppBuilder& window_;
  std::string file_;
};

class Module : public ide::TIModuleInterface {
 public:
  Module(AppBuilder& w, std::string file) : window_(w), file_(std::move(file)) {}
  ide::TIEditorInterface* GetEditorInterface() override { return new Editor(window_, file_); }
  bool ShowSource() override { return Guarded([&] { return window_.OpenFile(file_); }); }
  bool Save(bool) override { return Guarded([&] { return window_.SaveFile(file_); }); }
  bool Close() override { return Guarded([&] { return window_.CloseFile(file_); }); }

 private:
  AppBuilder& window_;
  std::string file_;
};

}  // namespace

IdeToolServices::IdeToolServices(AppBuilder& window, bool cbuilder) : window_(window), cbuilder_(cbuilder) {}

std::string IdeToolServices::BaseKeyFor(bool cbuilder) {
  return cbuilder ? "Software\\Borland\\C++Builder\\3.0" : "Software\\Borland\\Delphi\\3.0";
}

bool IdeToolServices::CloseProject() { return Guarded([&] { return window_.CloseProject(); }); }
bool IdeToolServices::OpenProject(const std::string& projName) {
  return Guarded([&] { return window_.OpenProject(projName); });
}
bool IdeToolServices::SaveProject() {
  return Guarded([&] { return window_.HasProject() && window_.SaveFile(window_.Project().FileName); });
}
bool IdeToolServices::CloseFile(const std::string& fileName) {
  return Guarded([&] { return window_.CloseFile(fileName); });
}
bool IdeToolServices::SaveFile(const std::string& fileName) {
  return Guarded([&] { return window_.SaveFile(fileName); });
}
bool IdeToolServices::OpenFile(const std::string& fileName) {
  return Guarded([&] { return window_.OpenFile(fileName); });
}
bool IdeToolServices::IsFileOpen(const std::string& fileName) { return window_.IsFileOpen(fileName); }

bool IdeToolServices::CreateModule(const std::string& moduleName, int createFlags) {
  return Guarded([&] {
    if (!(createFlags & ide::cmExisting) || !FileExists(moduleName)) return false;
    if ((createFlags & ide::cmAddToProject) && !window_.AddToProject(moduleName)) return false;
    if (createFlags & ide::cmShowSource) window_.OpenFile(moduleName);
    return true;
  });
}

std::string IdeToolServices::GetProjectName() { return window_.Project().FileName; }
int IdeToolServices::GetUnitCount() { return int(window_.Project().Units.size()); }
std::string IdeToolServices::GetUnitName(int index) {
  auto& units = window_.Project().Units;
  return index >= 0 && index < int(units.size()) ? units[size_t(index)] : std::string();
}
std::string IdeToolServices::GetCurrentFile() { return window_.CurrentFile(); }

ide::TIModuleInterface* IdeToolServices::GetModuleInterface(const std::string& fileName) {
  auto* e = window_.EditorOf(fileName);
  return e ? new Module(window_, e->FileName()) : nullptr;
}

ide::TIMainMenuIntf* IdeToolServices::GetMainMenu() { return ide::NewMainMenuObject(window_.MenuRoot()); }
std::string IdeToolServices::GetBaseRegistryKey() { return BaseKeyFor(cbuilder_); }

void IdeToolServices::RaiseException(const std::string& message) {
  ShowException(std::make_exception_ptr(Exception(message)));
}

void* IdeToolServices::GetParentHandle() { return WindowHandle(&window_); }

}  // namespace vesper::ide_app
