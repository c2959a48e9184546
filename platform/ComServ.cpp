#include "platform/ComServ.h"

#include "platform/Files.h"
#include "platform/Registry.h"

namespace vesper {

TComObject::TComObject() = default;

TComObject::~TComObject() {
  if (factory_) factory_->Server().CountObject(-1);
}

HRESULT TComObject::ObjQueryInterface(const TGUID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (!GetInterface(iid, obj) || !*obj) {
    *obj = nullptr;
    return E_NOINTERFACE;
  }
  ObjAddRef();
  return S_OK;
}

uint32_t TComObject::ObjAddRef() { return ++refCount_; }

uint32_t TComObject::ObjRelease() {
  uint32_t n = --refCount_;
  if (n == 0) delete this;
  return n;
}

TComObjectFactory::TComObjectFactory(TComServer& server, TComClass comClass, const TGUID& classID,
                                     std::string className, std::string description, TClassInstancing instancing)
    : server_(server),
      comClass_(std::move(comClass)),
      classID_(classID),
      className_(std::move(className)),
      description_(std::move(description)),
      instancing_(instancing) {
  server.factories_.emplace_back(this);
}

HRESULT TComObjectFactory::QueryInterface(const TGUID& iid, void** obj) {
  if (!obj) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *obj = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *obj = nullptr;
  return E_NOINTERFACE;
}

// The factory lives as long as its module; references lock the server.
uint32_t TComObjectFactory::AddRef() {
  server_.CountLock(1);
  return 2;
}

uint32_t TComObjectFactory::Release() {
  server_.CountLock(-1);
  return 1;
}

HRESULT TComObjectFactory::CreateInstance(IUnknown* unkOuter, const TGUID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (unkOuter) return CLASS_E_NOAGGREGATION;
  try {
    TComObject* o = comClass_();
    if (!o) return E_UNEXPECTED;
    o->factory_ = this;
    server_.CountObject(1);
    o->ObjAddRef();
    o->Initialize();
    HRESULT hr = o->ObjQueryInterface(iid, obj);
    o->ObjRelease();
    return hr;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TComObjectFactory::LockServer(bool lock) {
  server_.CountLock(lock ? 1 : -1);
  return S_OK;
}

void TComObjectFactory::UpdateRegistry(bool doRegister) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  std::string key = "\\Software\\Classes\\CLSID\\" + GUIDToString(classID_);
  std::string progKey = "\\Software\\Classes\\" + ProgID();
  if (!doRegister) {
    reg.DeleteKey(key);
    reg.DeleteKey(progKey);
    return;
  }
  if (!reg.OpenKey(progKey + "\\CLSID", true)) throw ERegistryException("Unable to create key " + progKey);
  reg.WriteString("", GUIDToString(classID_));
  if (!reg.OpenKey(key + "\\ProgID", true)) throw ERegistryException("Unable to create key " + key);
  reg.WriteString("", ProgID());
  if (!reg.OpenKey(key, true)) throw ERegistryException("Unable to create key " + key);
  reg.WriteString("", description_);
  if (!reg.OpenKey(key + "\\InprocServer32", true)) throw ERegistryException("Unable to create key " + key);
  reg.WriteString("", server_.ModuleFileName());
  reg.WriteString("ThreadingModel", "Apartment");
}

std::string TComObjectFactory::ProgID() const {
  std::string base = ExtractFileName(server_.ModuleFileName());
  size_t dot = base.find('.');
  return base.substr(0, dot) + "." + className_;
}

TComObjectFactory* TComServer::FindFactory(const TGUID& classID) const {
  for (auto& f : factories_)
    if (f->ClassID() == classID) return f.get();
  return nullptr;
}

HRESULT TComServer::GetClassObject(const TGUID& clsid, const TGUID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  TComObjectFactory* f = FindFactory(clsid);
  if (!f) return CLASS_E_CLASSNOTAVAILABLE;
  return f->QueryInterface(iid, obj);
}

HRESULT TComServer::UpdateRegistry(bool doRegister) {
  try {
    for (auto& f : factories_) f->UpdateRegistry(doRegister);
    return S_OK;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

}  // namespace vesper
