// The host's wizard records, the manager that finds, refreshes, loads and
// stores them, and the adapters that present class and plain-DLL wizards
// as IVesperWizard.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/VesperComIntf.h"
#include "host/VesperDLLIntf.h"
#include "platform/Modules.h"
#include "platform/Streams.h"
#include "platform/filer/Classes.h"

namespace vesper {

class TWizardManager;
class TWizards;

class TWizard : public TCollectionItem {
 public:
  TWizard();
  ~TWizard() override;

  std::string ClassName() const override { return "TWizard"; }
  void PublishedProperties(TPropList& props) override;
  // From another TWizard: Name only.
  void Assign(const TPersistent& source) override;

  // Stored properties.
  std::string Name;
  std::string Description;
  std::string Author;
  std::string ParentMenuText;
  std::string MenuText;
  std::string Shortcut;
  const std::string& DLLName() const { return dllName_; }
  TWizardType WizardType = TWizardType::wtStandard;
  int32_t TimeStamp = 0;
  bool Active() const { return active_; }
  std::string Version;
  std::string ClassID;

  // The wizard's IDE menu item; kept by the expert, not owned here.
  ide::TIMenuItemIntf* MenuItem = nullptr;

  bool WizardLoaded() const { return wizard_ != nullptr; }
  bool Querying() const { return querying_; }
  bool UpToDate() const { return upToDate_; }
  // False once checked in this pass; else whether the file's time stamp
  // differs from TimeStamp (raises when the file is missing).
  bool NeedsUpdating();
  TWizardManager* WizardManager() const;

  virtual void SetActive(bool value);
  virtual void SetDLLName(const std::string& value);
  // Drops the loaded reference and reports the status change.
  virtual void FreeVesperWizard();
  // Each returns a new reference, or none; they never raise.
  virtual IVesperWizard* LoadComObject();
  IVesperWizard* LoadClassObject();
  IVesperWizard* LoadByEntryPoints();
  // Tries the three ways, then initialises; raises "Unable to load %s\r%s".
  virtual IVesperWizard* LoadVesperWizard();
  // The held reference (borrowed), loading the wizard when needed.
  virtual IVesperWizard* GetVesperWizard();
  virtual int32_t GetFileTimeStamp();
  std::string GetVersion();
  void CallExecute();
  virtual void Refresh();
  virtual void CheckTimeStamp();
  virtual void Execute();
  virtual bool Unload(TUnloadingReason reason, bool forced);
  void MenuClick(ide::TIMenuItemIntf* sender);

 private:
  friend class TWizardManager;
  void FinishExecute();

  std::string dllName_;
  bool active_ = true;
  IVesperWizard* wizard_ = nullptr;
  bool upToDate_ = false;
  bool querying_ = false;
};

class TWizards : public TCollection {
 public:
  explicit TWizards(TWizardManager* manager);
  ~TWizards() override;

  std::string ClassName() const override { return "TWizards"; }
  TPersistent* GetOwner() const override;
  TWizardManager* Manager() const { return manager_; }

  TWizard* Items(int index) const;
  void SetItems(int index, const TWizard& value);
  TWizard* Add();
  // First record whose DLLName / Name equals the text ignoring case, or none.
  TWizard* FindByFileName(const std::string& fileName) const;
  TWizard* FindByName(const std::string& name) const;
  void Remove(TWizard* wizard);

 private:
  TWizardManager* manager_;
};

using TWizardNotFoundEvent = std::function<void(TWizardManager* sender, TWizard* wizard, bool& remove)>;
using TWizardStatusChangeEvent = std::function<void(TWizardManager* sender, TWizard* wizard)>;

class TWizardManager : public TComponent {
 public:
  explicit TWizardManager(TComponent* owner = nullptr);
  ~TWizardManager() override;

  std::string ClassName() const override { return "TWizardManager"; }
  void PublishedProperties(TPropList& props) override;

  TWizards& Wizards() const { return *wizards_; }
  virtual void SetWizards(const TWizards& value);
  const std::string& WizardDirectory() const { return wizardDirectory_; }
  virtual void SetWizardDirectory(const std::string& value);

  TWizardNotFoundEvent OnWizardNotFound;
  TWizardStatusChangeEvent OnWizardStatusChange;
  TIDEType IDEType = TIDEType::ideDelphi;
  int32_t IDEVersion = 300;
  // The tool services and application window handed to wizards.
  ide::TIToolServices* ToolServices() const;
  HWND AppHandle() const;

  void InstallWizard(const std::string& fileName);
  void RefreshClassID(const std::string& classID, const std::string& dllName);
  void CheckWizard(const std::string& fileName);
  // Takes the announcements under COMWizards\New; true when one came from
  // `fileName` (when given).
  bool ScanNewClassIDs(const std::string& fileName = "");
  bool RegisterCom(HMODULE module);
  virtual void CheckWizardDirectory();
  virtual void CheckExplicitWizards();
  void CheckTimeStamps();
  void ForceCheckTimeStamps();
  void ClearUpToDateFlags();
  void LoadResidentWizards();
  virtual void UnloadAll();

  virtual void WizardStatusChanged(TWizard* wizard);
  virtual void WizardNotFound(TWizard* wizard, bool& remove);

  virtual void SaveToStream(TStream& stream);
  // Raises on a damaged stream or one holding another class.
  static std::unique_ptr<TWizardManager> LoadFromStream(TStream& stream);
  // Key under HKEY_CURRENT_USER; empty means "Software\Vesper".
  virtual void SaveToRegistry(const std::string& key = "");
  // None when "WizardInfo" is missing, empty or damaged.
  static std::unique_ptr<TWizardManager> LoadFromRegistry(const std::string& key = "");

  static int GetVesperVersion() { return 100; }

 private:
  std::unique_ptr<TWizards> wizards_;
  std::string wizardDirectory_;
};

// The registry key of the host, and the value that holds the list.
constexpr const char* kVesperKey = "Software\\Vesper";
constexpr const char* kWizardInfoValue = "WizardInfo";
constexpr const char* kNewComWizardsKey = "COMWizards\\New";
constexpr const char* kComWizardsKey = "COMWizards";

// One loaded module, released with the last reference of the adapter.
class TDLLLoader {
 public:
  // Raises "Failed to load %s" with the system's error text.
  explicit TDLLLoader(const std::string& dllName);
  virtual ~TDLLLoader();
  TDLLLoader(const TDLLLoader&) = delete;
  TDLLLoader& operator=(const TDLLLoader&) = delete;

  HMODULE Module() const { return module_; }

 protected:
  uint32_t DoAddRef() { return ++refCount_; }
  uint32_t DoRelease();

 private:
  HMODULE module_ = nullptr;
  uint32_t refCount_ = 0;
};

class TClassWizardAdapter : public TDLLLoader, public IVesperWizard {
 public:
  explicit TClassWizardAdapter(TWizard& wizard);
  ~TClassWizardAdapter() override;

  HRESULT QueryInterface(const TGUID& iid, void** obj) override;
  uint32_t AddRef() override { return DoAddRef(); }
  uint32_t Release() override { return DoRelease(); }

  int32_t Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType, int32_t ideVersion,
                     HWND appHandle) override;
  void GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description, int32_t descriptionMax,
                     unsigned char* author, int32_t authorMax, unsigned char* parentMenuText,
                     int32_t parentMenuTextMax, unsigned char* menuText, int32_t menuTextMax,
                     unsigned char* shortcut, int32_t shortcutMax, TWizardType* wizardType) override;
  bool IsIDESupported(TIDEType ideType, int32_t ideVersion) override;
  void AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) override;
  void Execute() override;
  void Run(int32_t param) override;

 private:
  TWizardInterface* object_ = nullptr;
};

class TBasicDLLAdapter : public TDLLLoader, public IVesperWizard, public IVesperProperty {
 public:
  explicit TBasicDLLAdapter(TWizard& wizard);

  // E_NOINTERFACE for everything when the module has no EDITPROPERTIES.
  HRESULT QueryInterface(const TGUID& iid, void** obj) override;
  uint32_t AddRef() override { return DoAddRef(); }
  uint32_t Release() override { return DoRelease(); }

  int32_t Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType, int32_t ideVersion,
                     HWND appHandle) override;
  void GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description, int32_t descriptionMax,
                     unsigned char* author, int32_t authorMax, unsigned char* parentMenuText,
                     int32_t parentMenuTextMax, unsigned char* menuText, int32_t menuTextMax,
                     unsigned char* shortcut, int32_t shortcutMax, TWizardType* wizardType) override;
  bool IsIDESupported(TIDEType ideType, int32_t ideVersion) override;
  void AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) override;
  void Execute() override;
  void Run(int32_t param) override;
  void EditProperties() override;

 private:
  TInitWizardProc initWizard_ = nullptr;
  TGetWizardInfoProc getWizardInfo_ = nullptr;
  TIsIDESupportedProc isIDESupported_ = nullptr;
  TAboutToUnloadProc aboutToUnload_ = nullptr;
  TExecuteProc execute_ = nullptr;
  TRunProc run_ = nullptr;
  TEditPropertiesProc editProperties_ = nullptr;
};

}  // namespace vesper
