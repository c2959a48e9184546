#include "host/WizManager.h"

#include <algorithm>
#include <cstring>

#include "host/WizUtils.h"
#include "platform/DateTime.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Registry.h"
#include "platform/StrUtils.h"
#include "platform/VersionInfo.h"
#include "platform/filer/ComponentStream.h"

namespace vesper {

namespace {

const std::vector<std::string> kWizardTypeNames = {"wtStandard", "wtResident", "wtUnloadAfterExecute"};

// A wizard type byte as reported by a wizard; unknown values are standard.
TWizardType CheckedWizardType(uint8_t value) {
  return value <= uint8_t(TWizardType::wtUnloadAfterExecute) ? TWizardType(value) : TWizardType::wtStandard;
}

// Runs `body`; then `finish`, also when `body` raised (an exception from
// `finish` while unwinding is dropped in favour of the first).
template <class Body, class Finish>
void TryFinally(Body&& body, Finish&& finish) {
  try {
    body();
  } catch (...) {
    try {
      finish();
    } catch (...) {
    }
    throw;
  }
  finish();
}

[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TWizardManager>("TWizardManager");
  return true;
}();

}  // namespace

// ---------------------------------------------------------------- TWizard

TWizard::TWizard() = default;

TWizard::~TWizard() {
  try {
    Unload(TUnloadingReason::urUnknown, true);
  } catch (...) {
  }
  if (wizard_) FreeVesperWizard();
}

void TWizard::PublishedProperties(TPropList& props) {
  auto text = [&](const char* name, std::string& field) {
    props.String(name, [&field] { return field; }, [&field](const std::string& v) { field = v; });
  };
  text("Name", Name);
  text("Description", Description);
  text("Author", Author);
  text("ParentMenuText", ParentMenuText);
  text("MenuText", MenuText);
  text("Shortcut", Shortcut);
  props.String("DLLName", [this] { return dllName_; }, [this](const std::string& v) { SetDLLName(v); });
  props.Enumeration(
      "WizardType", kWizardTypeNames, [this] { return int(WizardType); },
      [this](int v) { WizardType = CheckedWizardType(uint8_t(v)); });
  props.Integer("TimeStamp", [this] { return TimeStamp; }, [this](int32_t v) { TimeStamp = v; });
  props.Boolean("Active", [this] { return active_; }, [this](bool v) { SetActive(v); }, 1);
  text("Version", Version);
  text("ClassID", ClassID);
}

void TWizard::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TWizard*>(&source)) {
    Name = other->Name;
    return;
  }
  TCollectionItem::Assign(source);
}

TWizardManager* TWizard::WizardManager() const {
  auto* wizards = static_cast<TWizards*>(Collection());
  return wizards ? wizards->Manager() : nullptr;
}

bool TWizard::NeedsUpdating() { return !upToDate_ && GetFileTimeStamp() != TimeStamp; }

void TWizard::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  TWizardManager* m = WizardManager();
  if (!value)
    Unload(TUnloadingReason::urDeactivating, true);
  else if (WizardType == TWizardType::wtResident && !(m && (m->ComponentState() & csLoading)))
    Execute();  // not while the list is read from a stream
}

void TWizard::SetDLLName(const std::string& value) {
  if (!SameText(value, dllName_)) upToDate_ = false;
  dllName_ = value;
}

void TWizard::FreeVesperWizard() {
  IVesperWizard* w = wizard_;
  wizard_ = nullptr;
  if (w) w->Release();
  if (TWizardManager* m = WizardManager()) m->WizardStatusChanged(this);
}

IVesperWizard* TWizard::LoadComObject() {
  if (ClassID.empty()) return nullptr;
  try {
    TGUID clsid = StringToGUID(ClassID);
    void* obj = nullptr;
    if (Failed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, CLSID_VesperWizard, &obj))) return nullptr;
    return static_cast<IVesperWizard*>(obj);
  } catch (...) {
    return nullptr;
  }
}

IVesperWizard* TWizard::LoadClassObject() {
  try {
    IVesperWizard* w = new TClassWizardAdapter(*this);
    w->AddRef();
    return w;
  } catch (...) {
    return nullptr;
  }
}

IVesperWizard* TWizard::LoadByEntryPoints() {
  try {
    IVesperWizard* w = new TBasicDLLAdapter(*this);
    w->AddRef();
    return w;
  } catch (...) {
    return nullptr;
  }
}

IVesperWizard* TWizard::LoadVesperWizard() {
  IVesperWizard* w = LoadComObject();
  if (!w) w = LoadClassObject();
  if (!w) w = LoadByEntryPoints();
  if (!w) FmtError("Unable to load %s\r%s", {Description, dllName_});
  TWizardManager* m = WizardManager();
  try {
    w->Initialize(TInitReason::irExecuting, m ? m->ToolServices() : ide::ToolServices(),
                  m ? m->IDEType : TIDEType::ideDelphi, m ? m->IDEVersion : 300, m ? m->AppHandle() : nullptr);
  } catch (...) {
    w->Release();
    throw;
  }
  return w;
}

IVesperWizard* TWizard::GetVesperWizard() {
  if (!wizard_) {
    wizard_ = LoadVesperWizard();
    if (TWizardManager* m = WizardManager()) m->WizardStatusChanged(this);
  }
  return wizard_;
}

int32_t TWizard::GetFileTimeStamp() {
  int32_t age = FileAge(dllName_);
  if (age == -1) FmtError("%s does not exist", {dllName_});
  return age;
}

std::string TWizard::GetVersion() {
  std::string data;
  TVSFixedFileInfo fixed;
  if (!GetFileVersionInfo(dllName_, data) || !VerQueryFixed(data, fixed)) return "";
  // A zero or unreadable date shows the current date and time.
  TDateTime dated = Now();
  if (fixed.dwFileDateMS != 0) TryFileDateToDateTime(int32_t(fixed.dwFileDateMS), dated);
  return Format("%02.2d.%02.2d.%02.2d.%02.2d Build %02.2d.%02.2d.%02.2d.%02.2d Dated %s",
                {int(fixed.dwProductVersionMS >> 16), int(fixed.dwProductVersionMS & 0xFFFF),
                 int(fixed.dwProductVersionLS >> 16), int(fixed.dwProductVersionLS & 0xFFFF),
                 int(fixed.dwFileVersionMS >> 16), int(fixed.dwFileVersionMS & 0xFFFF),
                 int(fixed.dwFileVersionLS >> 16), int(fixed.dwFileVersionLS & 0xFFFF),
                 DateToStr(dated) + " " + TimeToStr(dated)});
}

void TWizard::CallExecute() { GetVesperWizard()->Execute(); }

void TWizard::FinishExecute() {
  if (WizardType == TWizardType::wtUnloadAfterExecute && Unload(TUnloadingReason::urAutoUnload, false))
    CoFreeUnusedLibraries();
}

void TWizard::Execute() {
  try {
    CallExecute();
  } catch (...) {
    try {
      FinishExecute();
    } catch (...) {
    }
    CoFreeUnusedLibraries();
    throw;
  }
  FinishExecute();
}

void TWizard::MenuClick(ide::TIMenuItemIntf*) { Execute(); }

void TWizard::Refresh() {
  bool wasLoaded = WizardLoaded();
  querying_ = true;
  TryFinally(
      [&] {
        TShortString texts[6] = {TShortString(Name),           TShortString(Description), TShortString(Author),
                                 TShortString(ParentMenuText), TShortString(MenuText),    TShortString(Shortcut)};
        TWizardType type = WizardType;
        GetVesperWizard()->GetWizardInfo(texts[0].Data, kShortStringMax, texts[1].Data, kShortStringMax,
                                         texts[2].Data, kShortStringMax, texts[3].Data, kShortStringMax,
                                         texts[4].Data, kShortStringMax, texts[5].Data, kShortStringMax, &type);
        Name = texts[0].Str();
        Description = texts[1].Str();
        Author = texts[2].Str();
        ParentMenuText = texts[3].Str();
        MenuText = texts[4].Str();
        Shortcut = texts[5].Str();
        WizardType = CheckedWizardType(uint8_t(type));
        TimeStamp = GetFileTimeStamp();
        Version = GetVersion();
      },
      [&] {
        querying_ = false;
        if (!wasLoaded) Unload(TUnloadingReason::urWasQuerying, true);
      });
}

void TWizard::CheckTimeStamp() {
  if (upToDate_) return;
  if (GetFileTimeStamp() != TimeStamp) Refresh();
  upToDate_ = true;
}

bool TWizard::Unload(TUnloadingReason reason, bool forced) {
  bool canUnload = true;
  if (wizard_) {
    try {
      wizard_->AboutToUnload(reason, forced, &canUnload);
    } catch (...) {
      // A forced unload happens whatever the wizard does.
      if (forced) FreeVesperWizard();
      throw;
    }
  }
  bool result = forced || canUnload;
  if (result) FreeVesperWizard();
  return result;
}

// ---------------------------------------------------------------- TWizards

TWizards::TWizards(TWizardManager* manager)
    : TCollection([] { return std::make_unique<TWizard>(); }), manager_(manager) {}

TWizards::~TWizards() { Clear(); }

TPersistent* TWizards::GetOwner() const { return manager_; }

TWizard* TWizards::Items(int index) const { return static_cast<TWizard*>(TCollection::Items(index)); }

void TWizards::SetItems(int index, const TWizard& value) { Items(index)->Assign(value); }

TWizard* TWizards::Add() { return static_cast<TWizard*>(TCollection::Add()); }

TWizard* TWizards::FindByFileName(const std::string& fileName) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->DLLName(), fileName)) return Items(i);
  return nullptr;
}

TWizard* TWizards::FindByName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name, name)) return Items(i);
  return nullptr;
}

void TWizards::Remove(TWizard* wizard) {
  int i = IndexOf(wizard);
  if (i >= 0) Delete(i);
}

// ---------------------------------------------------------------- TWizardManager

TWizardManager::TWizardManager(TComponent* owner) : TComponent(owner), wizards_(std::make_unique<TWizards>(this)) {}

TWizardManager::~TWizardManager() { wizards_.reset(); }

void TWizardManager::PublishedProperties(TPropList& props) {
  TComponent::PublishedProperties(props);
  props.Object("Wizards", [this] { return wizards_.get(); });
  props.String("WizardDirectory", [this] { return wizardDirectory_; },
               [this](const std::string& v) { SetWizardDirectory(v); });
}

void TWizardManager::SetWizards(const TWizards& value) { wizards_->Assign(value); }

void TWizardManager::SetWizardDirectory(const std::string& value) {
  if (value == wizardDirectory_) return;
  std::string old = wizardDirectory_;
  wizardDirectory_ = value;
  if (!(ComponentState() & csLoading) && !SameText(old, value)) CheckWizardDirectory();
}

ide::TIToolServices* TWizardManager::ToolServices() const { return ide::ToolServices(); }

HWND TWizardManager::AppHandle() const {
  ide::TIToolServices* ts = ToolServices();
  return ts ? ts->GetParentHandle() : nullptr;
}

void TWizardManager::InstallWizard(const std::string& fileName) {
  TWizard* w = wizards_->FindByFileName(fileName);
  bool added = !w;
  if (added) w = wizards_->Add();
  try {
    w->SetDLLName(fileName);
    w->CheckTimeStamp();
  } catch (...) {
    if (added) wizards_->Remove(w);
    throw;
  }
}

void TWizardManager::RefreshClassID(const std::string& classID, const std::string& dllName) {
  if (dllName.empty()) return;
  TWizard* w = wizards_->FindByFileName(dllName);
  bool added = !w;
  if (added) {
    w = wizards_->Add();
    w->SetDLLName(dllName);
  }
  try {
    w->ClassID = classID;
    w->CheckTimeStamp();
  } catch (...) {
    if (added) wizards_->Remove(w);
    throw;
  }
}

void TWizardManager::CheckWizard(const std::string& fileName) {
  TWizard* w = wizards_->FindByFileName(fileName);
  try {
    if (w && !w->NeedsUpdating()) return;
    HMODULE module = LoadLibrary(fileName);
    if (!module) FmtSysError("Failed to load %s", {fileName});
    TryFinally(
        [&] {
          if (RegisterCom(module) && ScanNewClassIDs(fileName)) return;
          if (GetProcAddress(module, kGetInstanceEntry) || GetProcAddress(module, kInitWizardEntry))
            InstallWizard(fileName);
          else
            FmtError("%s is not a Vesper Wizard", {fileName});
        },
        [&] { FreeLibrary(module); });
  } catch (...) {
    if (!w || wizards_->IndexOf(w) < 0) return;
    try {
      if (w->Description.empty())
        wizards_->Remove(w);
      else
        w->SetActive(false);
    } catch (...) {
    }
  }
}

bool TWizardManager::ScanNewClassIDs(const std::string& fileName) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKey(std::string(kVesperKey) + "\\" + kNewComWizardsKey, false)) return false;
  bool result = false;
  for (const std::string& classID : reg.GetValueNames()) {
    try {
      std::string dllName = reg.ReadString(classID);
      if (!fileName.empty() && SameText(fileName, dllName)) result = true;
      RefreshClassID(classID, dllName);
      reg.DeleteValue(classID);
    } catch (...) {
      ShowCurrentException();
    }
  }
  return result;
}

bool TWizardManager::RegisterCom(HMODULE module) {
  using TRegisterServerProc = HRESULT (*)();
  auto registerServer = reinterpret_cast<TRegisterServerProc>(GetProcAddress(module, "DllRegisterServer"));
  if (!registerServer) return false;
  HRESULT hr = registerServer();
  OleCheck(hr);
  return true;
}

void TWizardManager::CheckWizardDirectory() {
  if (wizardDirectory_.empty()) return;
  std::string folder = IncludeTrailingPathDelimiter(wizardDirectory_);
  std::vector<TSearchRec> files;
  try {
    files = FindFiles(folder, "*.vwz", 0);
  } catch (...) {
    ShowCurrentException();
  }
  for (const TSearchRec& f : files) {
    try {
      CheckWizard(folder + f.Name);
    } catch (...) {
      ShowCurrentException();
    }
  }
}

void TWizardManager::CheckExplicitWizards() {
  for (int i = wizards_->Count() - 1; i >= 0; --i) {
    if (i >= wizards_->Count()) continue;
    TWizard* w = wizards_->Items(i);
    if (FileExists(w->DLLName())) {
      try {
        CheckWizard(w->DLLName());
      } catch (...) {
        ShowCurrentException();
      }
    } else {
      bool remove = true;
      WizardNotFound(w, remove);
      if (remove) wizards_->Remove(w);
    }
  }
}

void TWizardManager::CheckTimeStamps() {
  ScanNewClassIDs();
  CheckWizardDirectory();
  CheckExplicitWizards();
  CoFreeUnusedLibraries();
}

void TWizardManager::ForceCheckTimeStamps() {
  ClearUpToDateFlags();
  CheckTimeStamps();
}

void TWizardManager::ClearUpToDateFlags() {
  for (int i = 0; i < wizards_->Count(); ++i) wizards_->Items(i)->upToDate_ = false;
}

void TWizardManager::LoadResidentWizards() {
  for (int i = 0; i < wizards_->Count(); ++i) {
    TWizard* w = wizards_->Items(i);
    if (!w->Active() || w->WizardType != TWizardType::wtResident) continue;
    try {
      w->Execute();
    } catch (...) {
      ShowCurrentException();
    }
  }
}

void TWizardManager::UnloadAll() {
  for (int i = 0; i < wizards_->Count(); ++i) {
    TWizard* w = wizards_->Items(i);
    if (!w->WizardLoaded()) continue;
    try {
      w->Unload(TUnloadingReason::urDeactivating, true);
    } catch (...) {
      ShowCurrentException();
    }
  }
  CoFreeUnusedLibraries();
}

void TWizardManager::WizardStatusChanged(TWizard* wizard) {
  if (OnWizardStatusChange) OnWizardStatusChange(this, wizard);
}

void TWizardManager::WizardNotFound(TWizard* wizard, bool& remove) {
  if (OnWizardNotFound) OnWizardNotFound(this, wizard, remove);
}

void TWizardManager::SaveToStream(TStream& stream) { WriteComponent(stream, *this); }

std::unique_ptr<TWizardManager> TWizardManager::LoadFromStream(TStream& stream) {
  return ReadComponentAs<TWizardManager>(stream);
}

void TWizardManager::SaveToRegistry(const std::string& key) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKey(key.empty() ? kVesperKey : key, true)) FmtError("Unable to open key %s", {key});
  std::string bytes = WriteComponentStream(*this);
  reg.WriteBinaryData(kWizardInfoValue, bytes.data(), int(bytes.size()));
}

std::unique_ptr<TWizardManager> TWizardManager::LoadFromRegistry(const std::string& key) {
  try {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(key.empty() ? kVesperKey : key) || !reg.ValueExists(kWizardInfoValue)) return nullptr;
    std::string bytes = reg.ReadBinaryData(kWizardInfoValue);
    if (bytes.empty()) return nullptr;
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SetPosition(0);
    return LoadFromStream(stream);
  } catch (...) {
    return nullptr;
  }
}

// ---------------------------------------------------------------- adapters

TDLLLoader::TDLLLoader(const std::string& dllName) {
  module_ = LoadLibrary(dllName);
  if (!module_) FmtSysError("Failed to load %s", {dllName});
}

TDLLLoader::~TDLLLoader() {
  if (module_) FreeLibrary(module_);
}

uint32_t TDLLLoader::DoRelease() {
  uint32_t n = --refCount_;
  if (n == 0) delete this;
  return n;
}


TClassWizardAdapter::TClassWizardAdapter(TWizard& wizard) : TDLLLoader(wizard.DLLName()) {
  TWizardManager* m = wizard.WizardManager();
  object_ = LoadWizardInterface(Module(), wizard.Querying() ? TInitReason::irQuerying : TInitReason::irExecuting,
                                m ? m->ToolServices() : ide::ToolServices(), wizard.DLLName(),
                                m ? m->IDEType : TIDEType::ideDelphi, m ? m->IDEVersion : 300,
                                m ? m->AppHandle() : nullptr);
}

TClassWizardAdapter::~TClassWizardAdapter() {
  if (object_) object_->Release();
}

HRESULT TClassWizardAdapter::QueryInterface(const TGUID& iid, void** obj) {
  if (iid == IID_IUnknown || iid == IVesperWizard::IID) {
    *obj = static_cast<IVesperWizard*>(this);
    DoAddRef();
    return S_OK;
  }
  *obj = nullptr;
  return E_NOINTERFACE;
}

int32_t TClassWizardAdapter::Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType,
                                        int32_t ideVersion, HWND appHandle) {
  return object_->Initialize(reason, toolServices, ideType, ideVersion, appHandle);
}

void TClassWizardAdapter::GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description,
                                        int32_t descriptionMax, unsigned char* author, int32_t authorMax,
                                        unsigned char* parentMenuText, int32_t parentMenuTextMax,
                                        unsigned char* menuText, int32_t menuTextMax, unsigned char* shortcut,
                                        int32_t shortcutMax, TWizardType* wizardType) {
  object_->GetWizardInfo(name, nameMax, description, descriptionMax, author, authorMax, parentMenuText,
                         parentMenuTextMax, menuText, menuTextMax, shortcut, shortcutMax, wizardType);
}

bool TClassWizardAdapter::IsIDESupported(TIDEType ideType, int32_t ideVersion) {
  return object_->IsIDESupported(ideType, ideVersion);
}

void TClassWizardAdapter::AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) {
  object_->AboutToUnload(reason, forced, canUnload);
}

void TClassWizardAdapter::Execute() { object_->Execute(); }

void TClassWizardAdapter::Run(int32_t param) { object_->Run(param); }

TBasicDLLAdapter::TBasicDLLAdapter(TWizard& wizard) : TDLLLoader(wizard.DLLName()) {
  auto entry = [this](const char* name) { return GetProcAddress(Module(), name); };
  initWizard_ = reinterpret_cast<TInitWizardProc>(entry(kInitWizardEntry));
  if (!initWizard_) FmtError("%s is not a Vesper Wizard", {wizard.DLLName()});
  getWizardInfo_ = reinterpret_cast<TGetWizardInfoProc>(entry(kGetWizardInfoEntry));
  isIDESupported_ = reinterpret_cast<TIsIDESupportedProc>(entry(kIsIDESupportedEntry));
  aboutToUnload_ = reinterpret_cast<TAboutToUnloadProc>(entry(kAboutToUnloadEntry));
  execute_ = reinterpret_cast<TExecuteProc>(entry(kExecuteEntry));
  run_ = reinterpret_cast<TRunProc>(entry(kRunEntry));
  editProperties_ = reinterpret_cast<TEditPropertiesProc>(entry(kEditPropertiesEntry));
}

HRESULT TBasicDLLAdapter::QueryInterface(const TGUID& iid, void** obj) {
  if (!editProperties_) {
    *obj = nullptr;
    return E_NOINTERFACE;
  }
  if (iid == IID_IUnknown || iid == IVesperWizard::IID) {
    *obj = static_cast<IVesperWizard*>(this);
  } else if (iid == IVesperProperty::IID) {
    *obj = static_cast<IVesperProperty*>(this);
  } else {
    *obj = nullptr;
    return E_NOINTERFACE;
  }
  DoAddRef();
  return S_OK;
}

int32_t TBasicDLLAdapter::Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType,
                                     int32_t ideVersion, HWND appHandle) {
  return initWizard_(reason, toolServices, ideType, ideVersion, appHandle);
}

void TBasicDLLAdapter::GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description,
                                     int32_t descriptionMax, unsigned char* author, int32_t authorMax,
                                     unsigned char* parentMenuText, int32_t parentMenuTextMax,
                                     unsigned char* menuText, int32_t menuTextMax, unsigned char* shortcut,
                                     int32_t shortcutMax, TWizardType* wizardType) {
  if (!getWizardInfo_) FmtError("Wizard is missing entry point %s", {kGetWizardInfoEntry});
  unsigned char* strings[6] = {name, description, author, parentMenuText, menuText, shortcut};
  int32_t maxLens[6] = {nameMax, descriptionMax, authorMax, parentMenuTextMax, menuTextMax, shortcutMax};
  char buffers[6][256];
  for (int i = 0; i < 6; ++i) {
    std::memcpy(buffers[i], strings[i] + 1, strings[i][0]);
    buffers[i][strings[i][0]] = '\0';
  }
  getWizardInfo_(buffers[0], buffers[1], buffers[2], buffers[3], buffers[4], buffers[5], kShortStringMax,
                 wizardType);
  for (int i = 0; i < 6; ++i) {
    buffers[i][255] = '\0';
    size_t n = std::min<size_t>(std::strlen(buffers[i]), kShortStringMax);
    SetShortString(strings[i], maxLens[i], std::string_view(buffers[i], n));
  }
}

bool TBasicDLLAdapter::IsIDESupported(TIDEType ideType, int32_t ideVersion) {
  return isIDESupported_ ? isIDESupported_(ideType, ideVersion) : true;
}

void TBasicDLLAdapter::AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) {
  if (aboutToUnload_) aboutToUnload_(reason, forced, canUnload);
}

void TBasicDLLAdapter::Execute() {
  if (!execute_) FmtError("Wizard is missing entry point %s", {kExecuteEntry});
  execute_();
}

void TBasicDLLAdapter::Run(int32_t param) {
  if (run_)
    run_(param);
  else
    Execute();
}

void TBasicDLLAdapter::EditProperties() {
  if (editProperties_) editProperties_();
}

}  // namespace vesper
