#include "host/VesperManager.h"

#include "host/WizUtils.h"
#include "ide/Menus.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "ui/Dialogs.h"
#include "ui/HourGlass.h"

namespace vesper {

namespace {

const char* kVesperWizards = "Vesper Wizards";
const char* kAdditionalWizards = "Additional Wizards";
constexpr int kEnabledVisible = ide::mfEnabled | ide::mfVisible;

ide::TIMenuItemIntf* ItemAt(const TStringList& list, int index) {
  return static_cast<ide::TIMenuItemIntf*>(list.Objects(index));
}

}  // namespace

TWizardManagerWindowFactory& WizardManagerWindowFactory() {
  static TWizardManagerWindowFactory factory;
  return factory;
}

void IdeKindOfBaseKey(const std::string& baseKey, TIDEType& kind, int32_t& version) {
  std::string key = UpperCase(baseKey);
  kind = key.find("C++BUILDER") != std::string::npos ? TIDEType::ideCPPBuilder : TIDEType::ideDelphi;
  version = key.find("3.0") != std::string::npos ? 300 : 200;
}

TVesperExpert::TVesperExpert() {
  parentMenus_.SetCaseSensitive(false);
  try {
    CreateWizardManager();
    AddVesperMenu();
    AddVesperItems();
    UpdateMenus();
  } catch (...) {
    RemoveWizardItems();
    FreeParentMenuItems();
    if (managerItem_) managerItem_->Release();
    if (separatorItem_) separatorItem_->Release();
    if (rootItem_) rootItem_->Release();
    throw;
  }
  try {
    manager_->LoadResidentWizards();
  } catch (...) {
    ShowCurrentException();
  }
}

TVesperExpert::~TVesperExpert() {
  managerWindow_.reset();
  try {
    manager_->SaveToRegistry("");
  } catch (...) {
    ShowCurrentException();
  }
  try {
    manager_->UnloadAll();
  } catch (...) {
    ShowCurrentException();
  }
  RemoveWizardItems();
  manager_.reset();
  if (managerItem_) managerItem_->Release();
  if (separatorItem_) separatorItem_->Release();
  FreeParentMenuItems();
  if (rootItem_) rootItem_->Release();
  // The hook may hold code of the package, which goes after the expert.
  ShowExceptionHook() = nullptr;
}

void TVesperExpert::CreateWizardManager() {
  THourGlass hourGlass;
  try {
    manager_ = TWizardManager::LoadFromRegistry("");
  } catch (...) {
    manager_.reset();
  }
  if (!manager_) manager_ = std::make_unique<TWizardManager>();
  manager_->OnWizardNotFound = [this](TWizardManager* sender, TWizard* wizard, bool& remove) {
    WizardNotFound(sender, wizard, remove);
  };
  ide::TIToolServices* services = ide::ToolServices();
  IdeKindOfBaseKey(services ? services->GetBaseRegistryKey() : "", manager_->IDEType, manager_->IDEVersion);
  manager_->CheckTimeStamps();
}

void TVesperExpert::AddVesperMenu() {
  ide::TIToolServices* services = ide::ToolServices();
  if (!services) Error("No tool services");
  ide::InterfaceRef<ide::TIMainMenuIntf> menu(services->GetMainMenu());
  if (!menu) Error("Unable to get main menu");
  ide::InterfaceRef<ide::TIMenuItemIntf> items(menu->GetMenuItems());
  if (!items) Error("Unable to get main menu items");
  ide::InterfaceRef<ide::TIMenuItemIntf> help(menu->FindMenuItem("HelpMenu"));
  if (!help) Error("Unable to find Help menu");
  rootItem_ = items->InsertItem(help->GetIndex(), "&Vesper", "VespRootItem", "", 0, 0, 0, kEnabledVisible, nullptr);
  if (!rootItem_) throw EAbort();
}

ide::TIMenuItemIntf* TVesperExpert::AddMenuItem(ide::TIMenuItemIntf* parent, int position,
                                                ide::TIMenuClickEvent click, const std::string& name,
                                                const std::string& caption) {
  return parent->InsertItem(position, caption, name, "", 0, 0, 0, kEnabledVisible, std::move(click));
}

void TVesperExpert::AddVesperItems() {
  managerItem_ = AddMenuItem(rootItem_, 0, [this](ide::TIMenuItemIntf* s) { WizardManagerClick(s); },
                             "VesperWizardsItem", "&Wizard Manager...");
  separatorItem_ = AddMenuItem(rootItem_, 0, nullptr, "VesperSp1", "-");
}

std::string TVesperExpert::NewMenuName() { return Format("VesWiz%dItem", {++menuCounter_}); }

ide::TIMenuItemIntf* TVesperExpert::GetParentItem(const std::string& text) {
  std::string caption = text.empty() ? kAdditionalWizards : text;
  int index = parentMenus_.IndexOf(caption);
  if (index >= 0) return ItemAt(parentMenus_, index);
  ide::TIMenuItemIntf* item = AddMenuItem(rootItem_, insertionPosition_, nullptr, NewMenuName(), caption);
  if (!item) Error("Unable to add menu " + caption);
  try {
    parentMenus_.AddObject(caption, item);
  } catch (...) {
    item->Release();
    throw;
  }
  return item;
}

void TVesperExpert::ReleaseEmptyDefaultParent(const std::string& caption) {
  int index = parentMenus_.IndexOf(caption);
  if (index < 0) return;
  ide::TIMenuItemIntf* item = ItemAt(parentMenus_, index);
  if (item->GetItemCount() > 0) return;
  parentMenus_.Delete(index);
  item->Release();
}

bool TVesperExpert::AddWizardItems() {
  bool added = false;
  try {
    insertionPosition_ = 0;
    GetParentItem(kAdditionalWizards);
    GetParentItem(kVesperWizards);
    insertionPosition_ = 1;
    TWizards& wizards = manager_->Wizards();
    for (int i = wizards.Count() - 1; i >= 0; --i) {
      TWizard* w = wizards.Items(i);
      if (!w->Active() || w->WizardType == TWizardType::wtResident) continue;
      ide::TShortCut shortCut = ide::TextToShortCut(w->Shortcut);
      ide::TIMenuItemIntf* parent = GetParentItem(w->ParentMenuText);
      w->MenuItem = parent->InsertItem(0, w->MenuText, NewMenuName(), "", shortCut, 0, 0, kEnabledVisible,
                                       [w](ide::TIMenuItemIntf* sender) { w->MenuClick(sender); });
      added = true;
    }
  } catch (...) {
    ReleaseEmptyDefaultParent(kVesperWizards);
    ReleaseEmptyDefaultParent(kAdditionalWizards);
    throw;
  }
  ReleaseEmptyDefaultParent(kVesperWizards);
  ReleaseEmptyDefaultParent(kAdditionalWizards);
  return added;
}

void TVesperExpert::RemoveWizardItems() {
  if (!manager_) return;
  TWizards& wizards = manager_->Wizards();
  for (int i = 0; i < wizards.Count(); ++i) {
    TWizard* w = wizards.Items(i);
    if (w->MenuItem) w->MenuItem->Release();
    w->MenuItem = nullptr;
  }
}

void TVesperExpert::FreeParentMenuItems() {
  for (int i = 0; i < parentMenus_.Count(); ++i) ItemAt(parentMenus_, i)->Release();
  parentMenus_.Clear();
}

void TVesperExpert::UpdateMenus() {
  if (!rootItem_) return;
  RemoveWizardItems();
  FreeParentMenuItems();
  bool any = AddWizardItems();
  separatorItem_->SetFlags(ide::mfVisible, any ? ide::mfVisible : 0);
}

void TVesperExpert::WizManChanged() {
  manager_->SaveToRegistry("");
  UpdateMenus();
}

void TVesperExpert::WizardManagerClick(ide::TIMenuItemIntf*) {
  if (!managerWindow_) {
    auto& factory = WizardManagerWindowFactory();
    if (!factory) Error("The wizard manager window is not available");
    managerWindow_ = factory(*manager_, [this] { WizManChanged(); }, [this] { FormFreed(); });
  }
  managerWindow_->ShowWindow();
}

void TVesperExpert::FormFreed() { (void)managerWindow_.release(); }

void TVesperExpert::WizardNotFound(TWizardManager*, TWizard* wizard, bool& remove) {
  std::string text = Format("%s (%s) not found.\rRemove it?", {wizard->Name, wizard->DLLName()});
  remove = MessageDlg(text, mtConfirmation, mbYesNo) == mrYes;
  if (!remove) wizard->SetActive(false);
}

}  // namespace vesper
