#include "platform/ComServ.h"

#include <algorithm>
#include <new>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Modules.h"
#include "platform/Registry.h"

namespace vesper {

// ---- TComServer ----------------------------------------------------------------

TComServer::TComServer() = default;
TComServer::~TComServer() = default;

TComServer& ComServer() {
  static TComServer server;
  return server;
}

int TComServer::CountObject(bool created) { return objectCount_ += created ? 1 : -1; }

int TComServer::CountFactory(bool created) { return factoryCount_ += created ? 1 : -1; }

std::string TComServer::ServerFileName() const {
  // An address inside this module: the library is linked into each server.
  return GetModuleFileNameOfAddress(reinterpret_cast<const void*>(&ComServer));
}

std::string TComServer::ServerName() const {
  std::string name = ExtractFileName(ServerFileName());
  return name.substr(0, name.size() - ExtractFileExt(name).size());
}

void TComServer::AddFactory(TComObjectFactory* factory) { factories_.emplace_back(factory); }

TComObjectFactory* TComServer::FindFactory(const TCLSID& classID) const {
  for (auto& f : factories_)
    if (f->ClassID() == classID) return f.get();
  return nullptr;
}

HRESULT TComServer::GetClassObject(const TCLSID& classID, const TIID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  TComObjectFactory* factory = FindFactory(classID);
  return factory ? factory->QueryInterface(iid, obj) : CLASS_E_CLASSNOTAVAILABLE;
}

void TComServer::UpdateRegistry(bool doRegister) {
  for (auto& f : factories_) f->UpdateRegistry(doRegister);
}

// ---- TComObject ----------------------------------------------------------------

TComObject::TComObject() { ComServer().CountObject(true); }

TComObject::~TComObject() { ComServer().CountObject(false); }

HRESULT TComObject::QueryInterface(const TIID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (!GetInterface(iid, obj)) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

uint32_t TComObject::AddRef() { return ++refCount_; }

uint32_t TComObject::Release() {
  uint32_t count = --refCount_;
  if (count == 0) delete this;
  return count;
}

bool TComObject::GetInterface(const TIID& iid, void** obj) {
  if (!(iid == IID_IUnknown)) return false;
  *obj = static_cast<IUnknown*>(this);
  return true;
}

// ---- TComObjectFactory ---------------------------------------------------------

TComObjectFactory::TComObjectFactory(TComServer& server, TComClass comClass, const TCLSID& classID,
                                     std::string className, std::string description, TClassInstancing instancing,
                                     TThreadingModel threadingModel)
    : server_(server),
      comClass_(std::move(comClass)),
      classID_(classID),
      className_(std::move(className)),
      description_(std::move(description)),
      instancing_(instancing),
      threadingModel_(threadingModel) {
  server_.AddFactory(this);
}

TComObjectFactory::~TComObjectFactory() = default;

HRESULT TComObjectFactory::QueryInterface(const TIID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (!(iid == IID_IUnknown) && !(iid == IID_IClassFactory)) return E_NOINTERFACE;
  *obj = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

uint32_t TComObjectFactory::AddRef() { return uint32_t(server_.CountFactory(true)); }

uint32_t TComObjectFactory::Release() { return uint32_t(server_.CountFactory(false)); }

TComObject* TComObjectFactory::CreateComObject() {
  TComObject* obj = comClass_();
  obj->factory_ = this;
  try {
    obj->Initialize();
  } catch (...) {
    delete obj;
    throw;
  }
  return obj;
}

HRESULT TComObjectFactory::CreateInstance(IUnknown* outer, const TIID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  TComObject* comObject;
  try {
    comObject = CreateComObject();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
  HRESULT hr = comObject->QueryInterface(iid, obj);
  if (comObject->RefCount() == 0) delete comObject;
  return hr;
}

HRESULT TComObjectFactory::LockServer(bool lock) {
  server_.CountObject(lock);
  return S_OK;
}

std::string TComObjectFactory::ProgID() const {
  return className_.empty() ? "" : server_.ServerName() + "." + className_;
}

namespace {

const char kClasses[] = "\\Software\\Classes\\";

void CreateRegKey(const std::string& key, const std::string& name, const std::string& value) {
  TRegistry reg;
  if (!reg.OpenKey(kClasses + key, true)) throw ERegistryException("Failed to create key " + key);
  reg.WriteString(name, value);
}

void DeleteRegKey(const std::string& key) {
  TRegistry reg;
  reg.DeleteKey(kClasses + key);
}

const char* ThreadingModelName(TThreadingModel model) {
  switch (model) {
    case tmApartment: return "Apartment";
    case tmFree: return "Free";
    case tmBoth: return "Both";
    default: return "";
  }
}

}  // namespace

void TComObjectFactory::UpdateRegistry(bool doRegister) {
  if (instancing_ == ciInternal) return;
  std::string classKey = "CLSID\\" + GUIDToString(classID_);
  std::string serverKey = classKey + "\\InprocServer32";
  std::string progID = ProgID();
  if (doRegister) {
    CreateRegKey(classKey, "", description_);
    CreateRegKey(serverKey, "", server_.ServerFileName());
    if (threadingModel_ != tmSingle) CreateRegKey(serverKey, "ThreadingModel", ThreadingModelName(threadingModel_));
    if (!progID.empty()) {
      CreateRegKey(progID, "", description_);
      CreateRegKey(progID + "\\Clsid", "", GUIDToString(classID_));
      CreateRegKey(classKey + "\\ProgID", "", progID);
    }
  } else {
    if (!progID.empty()) DeleteRegKey(progID);
    DeleteRegKey(classKey);
  }
}

namespace {

HRESULT Register(bool doRegister) {
  try {
    ComServer().UpdateRegistry(doRegister);
  } catch (...) {
    return SELFREG_E_CLASS;
  }
  try {
    if (ComServer().OnRegister) ComServer().OnRegister(doRegister);
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

}  // namespace

}  // namespace vesper

using namespace vesper;

extern "C" HRESULT DllGetClassObject(const TCLSID& clsid, const TIID& iid, void** obj) {
  try {
    return ComServer().GetClassObject(clsid, iid, obj);
  } catch (...) {
    return E_FAIL;
  }
}

extern "C" HRESULT DllCanUnloadNow() { return ComServer().CanUnloadNow() ? S_OK : S_FALSE; }

extern "C" HRESULT DllRegisterServer() { return Register(true); }

extern "C" HRESULT DllUnregisterServer() { return Register(false); }
