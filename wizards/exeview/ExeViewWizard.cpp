// The executable viewer's wizard class: a modeless window from the IDE's
// menu on the project's output file, a modal one from run strings.
#include <QPointer>

#include "platform/Files.h"
#include "platform/Modules.h"
#include "platform/StringList.h"
#include "plugin-runtime/VesperComWizard.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "wizards/exeview/ExeViewScrn.h"

namespace vesper {
namespace {

const char* const kHelpFile = "vespeview.html";

class TExeViewWizard : public TVesperComWizard {
 public:
  ~TExeViewWizard() override { delete window_; }

  void GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description, int32_t descriptionMax,
                     unsigned char* author, int32_t authorMax, unsigned char* parentMenuText,
                     int32_t parentMenuTextMax, unsigned char* menuText, int32_t menuTextMax,
                     unsigned char* shortcut, int32_t shortcutMax, TWizardType*) override {
    SetShortString(name, nameMax, "Vesper.ExeView");
    SetShortString(description, descriptionMax, "Vesper Exe Viewer");
    SetShortString(author, authorMax, "The Vesper developers");
    SetShortString(parentMenuText, parentMenuTextMax, "Vesper Wizards");
    SetShortString(menuText, menuTextMax, "&Exe View");
    SetShortString(shortcut, shortcutMax, "Ctrl+Alt+E");
  }

  void Execute() override {
    EnsureApplication();
    if (!window_) window_ = new TExeViewScrn(ToolServices, ModulePath());
    window_->SetToolServices(ToolServices);
    window_->SetModulePath(ModulePath());
    window_->SetHelpFile(HelpFile());
    window_->showNormal();
    window_->raise();
    window_->OpenProjectOutput();
  }

  void RunStrings(TStrings* strings, int32_t) override {
    EnsureApplication();
    TExeViewScrn window(nullptr, ModulePath());
    window.SetHelpFile(HelpFile());
    window.SetStartFile(strings && strings->Count() > 0 ? strings->Strings(0) : "");
    if (strings && strings->Count() > 0 && !strings->Strings(0).empty()) {
      ProcessMessages();
      window.PostStartFile();
    }
    Dialogs().ShowModal(window);
  }

  void AboutToUnload(TUnloadingReason, bool, bool* canUnload) override {
    delete window_;
    window_ = nullptr;
    *canUnload = true;
  }

 protected:
  bool HasRunStrings() const override { return true; }

 private:
  // This module's path: as the host passed it, else where it was loaded from.
  std::string ModulePath() const {
    return DLLName.empty() ? GetModuleFileNameOfAddress(reinterpret_cast<const void*>(&kHelpFile)) : DLLName;
  }
  std::string HelpFile() const { return ExtractFilePath(ModulePath()) + kHelpFile; }

  QPointer<TExeViewScrn> window_;
};

VESPER_REGISTER_WIZARD(TExeViewWizard, StringToGUID("{5E6F7746-C7D1-11D0-A95C-0060973CF3D5}"), "Vesper Exe Viewer");

}  // namespace
}  // namespace vesper
