// The base of every COM wizard: the contract with neutral defaults, the
// factory class that marks a COM class as a wizard, and the announcement of
// the module's wizards to the host (Software\Vesper\COMWizards\New and
// COMWizards under HKEY_CURRENT_USER), which the module's DllRegisterServer
// and DllUnregisterServer make after the standard registration.
#pragma once

#include <string>

#include "host/VesperComIntf.h"
#include "platform/ComServ.h"

namespace vesper {

class TVesperComWizard : public TComObjectWith<IVesperWizard, IVesperRunStrings> {
 public:
  TVesperComWizard();

  // Set by Initialize.
  TInitReason Reason = TInitReason::irExecuting;
  ide::TIToolServices* ToolServices = nullptr;
  std::string DLLName;  // this module's path
  TIDEType IDEType = TIDEType::ideTestBed;
  int32_t IDEVersion = 0;
  HWND AppHandle = nullptr;

  // Stores the six fields, and the tool services in the global ToolServices.
  int32_t Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType, int32_t ideVersion,
                     HWND appHandle) override;
  // Changes nothing.
  void GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description, int32_t descriptionMax,
                     unsigned char* author, int32_t authorMax, unsigned char* parentMenuText,
                     int32_t parentMenuTextMax, unsigned char* menuText, int32_t menuTextMax,
                     unsigned char* shortcut, int32_t shortcutMax, TWizardType* wizardType) override {}
  bool IsIDESupported(TIDEType ideType, int32_t ideVersion) override { return true; }
  // Leaves CanUnload as it came.
  void AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) override {}
  void Execute() override {}
  void Run(int32_t param) override { Execute(); }
  void RunStrings(TStrings* strings, int32_t param) override { Run(param); }

 protected:
  // A wizard class that lists IVesperRunStrings returns true.
  virtual bool HasRunStrings() const { return false; }
  bool GetInterface(const TIID& iid, void** obj) override;
};

// Marks the factories whose classes are wizards.
class TVesperComObjectFactory : public TComObjectFactory {
 public:
  using TComObjectFactory::TComObjectFactory;
};

// Announces the module's wizard classes to the host, with the module path
// as written to the registry (a drive letter upper-cased).
class TVesperComManager {
 public:
  TVesperComManager();
  const std::string& DLLName() const { return dllName_; }
  // Writes (or deletes) one value per wizard class, named by its class
  // identifier, in COMWizards\New and COMWizards.
  void UpdateRegistry(bool doRegister);

 private:
  std::string dllName_;
};

// The module path as announced: a drive letter ("c:...") upper-cased.
std::string AnnouncedModulePath(std::string path);

// Creates the module's factory for a wizard class (multi-instance); the
// first call also sets up the announcements of the module's registration.
TVesperComObjectFactory* RegisterWizardFactory(TComObjectFactory::TComClass comClass, const std::string& className,
                                               const TGUID& classID, const std::string& description);
template <class T>
TVesperComObjectFactory* RegisterWizardFactory(const std::string& className, const TGUID& classID,
                                               const std::string& description) {
  return RegisterWizardFactory([]() -> TComObject* { return new T(); }, className, classID, description);
}

}  // namespace vesper

// Registers wizard class `cls` when the module is loaded.
#define VESPER_REGISTER_WIZARD(cls, classID, description)                                         \
  static const bool VESPER_WIZARD_REGISTERED_##cls = (::vesper::RegisterWizardFactory<cls>(#cls, \
                                                        classID, description), true)
