#include "plugin-runtime/VesperComWizard.h"

#include <cctype>

#include "platform/Registry.h"

namespace vesper {

TVesperComWizard::TVesperComWizard() = default;

int32_t TVesperComWizard::Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType,
                                     int32_t ideVersion, HWND appHandle) {
  Reason = reason;
  ToolServices = toolServices;
  DLLName = GetDLLName();
  IDEType = ideType;
  IDEVersion = ideVersion;
  AppHandle = appHandle;
  ide::ToolServices() = toolServices;
  return 0;
}

bool TVesperComWizard::GetInterface(const TIID& iid, void** obj) {
  if (iid == IVesperRunStrings::IID && !HasRunStrings()) return false;
  return TComObjectWith::GetInterface(iid, obj);
}

std::string AnnouncedModulePath(std::string path) {
  if (path.size() > 1 && path[1] == ':') path[0] = char(std::toupper(static_cast<unsigned char>(path[0])));
  return path;
}

TVesperComManager::TVesperComManager() : dllName_(AnnouncedModulePath(GetDLLName())) {}

void TVesperComManager::UpdateRegistry(bool doRegister) {
  for (const char* sub : {"\\Software\\Vesper\\COMWizards\\New", "\\Software\\Vesper\\COMWizards"}) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(sub, doRegister)) {
      if (doRegister) throw ERegistryException(std::string("Unable to create key ") + sub);
      continue;
    }
    for (auto& f : ComServer().Factories()) {
      if (!dynamic_cast<TVesperComObjectFactory*>(f.get())) continue;
      std::string name = GUIDToString(f->ClassID());
      if (doRegister)
        reg.WriteString(name, dllName_);
      else
        reg.DeleteValue(name);
    }
  }
}

TVesperComObjectFactory* RegisterWizardFactory(TComObjectFactory::TComClass comClass, const std::string& className,
                                               const TGUID& classID, const std::string& description) {
  if (!ComServer().OnRegister)
    ComServer().OnRegister = [](bool doRegister) { TVesperComManager().UpdateRegistry(doRegister); };
  return new TVesperComObjectFactory(ComServer(), std::move(comClass), classID, className, description,
                                     ciMultiInstance, tmApartment);
}

}  // namespace vesper
