#include "plugin-runtime/VesperComWizard.h"

#include <cctype>

#include "platform/Registry.h"

namespace vesper {

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

bool TVesperComWizard::GetInterface(const TGUID& iid, void** obj) {
  if (iid == IID_IUnknown || iid == IVesperWizard::IID())
    *obj = static_cast<IVesperWizard*>(this);
  else if (iid == IVesperRunStrings::IID() && HasRunStrings())
    *obj = static_cast<IVesperRunStrings*>(this);
  else
    return false;
  return true;
}

TVesperComManager::TVesperComManager() : dllName_(GetDLLName()) {
  if (dllName_.size() > 1 && dllName_[1] == ':')
    dllName_[0] = char(std::toupper(static_cast<unsigned char>(dllName_[0])));
}

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
  return new TVesperComObjectFactory(ComServer(), std::move(comClass), classID, className, description,
                                     ciMultiInstance);
}

}  // namespace vesper

namespace {
vesper::HRESULT UpdateServer(bool doRegister) {
  vesper::HRESULT hr = vesper::ComServer().UpdateRegistry(doRegister);
  if (vesper::FAILED(hr)) return hr;
  try {
    vesper::TVesperComManager().UpdateRegistry(doRegister);
    return vesper::S_OK;
  } catch (...) {
    return vesper::E_FAIL;
  }
}
}  // namespace

vesper::HRESULT DllRegisterServer() { return UpdateServer(true); }
vesper::HRESULT DllUnregisterServer() { return UpdateServer(false); }
