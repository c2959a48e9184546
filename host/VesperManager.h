// The host's IDE expert: owns the wizard manager, builds the "&Vesper" menu
// in front of the IDE's Help menu with one item per active wizard, opens
// the manager window and saves everything when the IDE unloads the package.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/WizManager.h"
#include "ide/ExptIntf.h"
#include "platform/StringList.h"

namespace vesper {

// The manager window as the expert drives it (the window itself lives in
// the shared packages' layer and registers a factory).
class IWizardManagerWindow {
 public:
  virtual ~IWizardManagerWindow() = default;
  virtual void ShowWindow() = 0;
};
// Creates the window for `manager`; `changed` is its change notification,
// `freed` is called when the window frees itself.
using TWizardManagerWindowFactory = std::function<std::unique_ptr<IWizardManagerWindow>(
    TWizardManager& manager, std::function<void()> changed, std::function<void()> freed)>;
TWizardManagerWindowFactory& WizardManagerWindowFactory();

// Raised to end the expert's construction without a message.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

class TVesperExpert : public ide::TIExpert {
 public:
  // Raises the menu errors ("No tool services", ...) or EAbort.
  TVesperExpert();

  std::string GetName() override { return "Vesper Wizard Manager"; }
  std::string GetAuthor() override { return "The Vesper developers"; }
  std::string GetComment() override { return ""; }
  std::string GetPage() override { return ""; }
  void* GetGlyph() override { return nullptr; }
  ide::TExpertStyle GetStyle() override { return ide::TExpertStyle::esAddIn; }
  int GetState() override { return ide::esEnabled; }
  std::string GetIDString() override { return "Vesper.WizardManager"; }
  std::string GetMenuText() override { return ""; }
  void Execute() override {}

  virtual void CreateWizardManager();

  TWizardManager* WizardManager() const { return manager_.get(); }
  void UpdateMenus();
  // The manager window's change notification: save, then rebuild the menu.
  void WizManChanged();
  void WizardManagerClick(ide::TIMenuItemIntf* sender);

 protected:
  ~TVesperExpert() override;

 private:
  void AddVesperMenu();
  ide::TIMenuItemIntf* AddMenuItem(ide::TIMenuItemIntf* parent, int position, ide::TIMenuClickEvent click,
                                   const std::string& name, const std::string& caption);
  void AddVesperItems();
  std::string NewMenuName();
  ide::TIMenuItemIntf* GetParentItem(const std::string& text);
  bool AddWizardItems();
  void RemoveWizardItems();
  void FreeParentMenuItems();
  void ReleaseEmptyDefaultParent(const std::string& caption);
  void WizardNotFound(TWizardManager* sender, TWizard* wizard, bool& remove);
  void FormFreed();

  ide::TIMenuItemIntf* rootItem_ = nullptr;
  ide::TIMenuItemIntf* managerItem_ = nullptr;
  ide::TIMenuItemIntf* separatorItem_ = nullptr;
  std::unique_ptr<TWizardManager> manager_;
  int menuCounter_ = 0;
  TStringList parentMenus_;  // caption -> menu item, ignoring case
  int insertionPosition_ = 0;
  std::unique_ptr<IWizardManagerWindow> managerWindow_;
};

// The IDE kind and version for a base registry key.
void IdeKindOfBaseKey(const std::string& baseKey, TIDEType& kind, int32_t& version);

}  // namespace vesper
