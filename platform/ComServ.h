// The server side of an in-process COM module: reference-counted objects,
// class factories, the module's factory list and object count, standard
// registration, and the four exported entry points.
//
// This is a static library (vesper_comserv) that every server module links:
// modules bind their own symbols, so each has its own ComServer(). A module
// creates its factories once while it is loaded, for example
//
//   static auto* factory = new TComObjectFactory(ComServer(), [] { return new TMyObject; },
//       CLSID_MyObject, "MyObject", "My object", ciMultiInstance, tmApartment);
//
// and the server owns them from then on.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Com.h"

namespace vesper {

class TComObjectFactory;

enum TClassInstancing { ciInternal, ciSingleInstance, ciMultiInstance };
enum TThreadingModel { tmSingle, tmApartment, tmFree, tmBoth };

// The module's COM server.
class TComServer {
 public:
  TComServer();
  ~TComServer();
  TComServer(const TComServer&) = delete;
  TComServer& operator=(const TComServer&) = delete;

  int ObjectCount() const { return objectCount_; }
  int FactoryCount() const { return factoryCount_; }
  // Counts an object (or a server lock) in or out; returns the new count.
  int CountObject(bool created);
  // Counts a reference to a factory in or out; returns the new count.
  int CountFactory(bool created);
  bool CanUnloadNow() const { return objectCount_ == 0 && factoryCount_ == 0; }

  // The path of this module as it was loaded.
  std::string ServerFileName() const;
  // The module's file name without folder and extension.
  std::string ServerName() const;

  // Takes ownership of `factory`.
  void AddFactory(TComObjectFactory* factory);
  const std::vector<std::unique_ptr<TComObjectFactory>>& Factories() const { return factories_; }
  TComObjectFactory* FindFactory(const TCLSID& classID) const;
  HRESULT GetClassObject(const TCLSID& classID, const TIID& iid, void** obj);
  // Registers (or unregisters) every factory's class.
  void UpdateRegistry(bool doRegister);

  // Runs after the standard registration in DllRegisterServer (true) and
  // DllUnregisterServer (false); an exception there makes them return E_FAIL.
  std::function<void(bool doRegister)> OnRegister;

 private:
  int objectCount_ = 0;
  int factoryCount_ = 0;
  std::vector<std::unique_ptr<TComObjectFactory>> factories_;
};

// This module's server.
TComServer& ComServer();

// A reference-counted object; the interface table is GetInterface. Derive
// through TComObjectWith to implement interfaces.
class TComObject : public IUnknown {
 public:
  TComObject();
  virtual ~TComObject();

  HRESULT QueryInterface(const TIID& iid, void** obj) override;
  uint32_t AddRef() override;
  uint32_t Release() override;  // frees the object at zero

  // Called once after construction by the factory.
  virtual void Initialize() {}
  TComObjectFactory* Factory() const { return factory_; }
  uint32_t RefCount() const { return refCount_; }

 protected:
  // Sets *obj to the interface `iid` of this object (without a reference);
  // false when the object does not have it.
  virtual bool GetInterface(const TIID& iid, void** obj);

 private:
  friend class TComObjectFactory;
  TComObjectFactory* factory_ = nullptr;
  uint32_t refCount_ = 0;
};

// A TComObject implementing the interfaces `Intfs` (each with its IID).
template <class... Intfs>
class TComObjectWith : public TComObject, public Intfs... {
 public:
  HRESULT QueryInterface(const TIID& iid, void** obj) override { return TComObject::QueryInterface(iid, obj); }
  uint32_t AddRef() override { return TComObject::AddRef(); }
  uint32_t Release() override { return TComObject::Release(); }

 protected:
  bool GetInterface(const TIID& iid, void** obj) override {
    return (Offer<Intfs>(iid, obj) || ...) || TComObject::GetInterface(iid, obj);
  }

 private:
  template <class I>
  bool Offer(const TIID& iid, void** obj) {
    if (!(iid == I::IID)) return false;
    *obj = static_cast<I*>(this);
    return true;
  }
};

// The class factory of one COM class; its references count in the server.
class TComObjectFactory : public IClassFactory {
 public:
  using TComClass = std::function<TComObject*()>;

  // Adds itself to `server`, which owns it.
  TComObjectFactory(TComServer& server, TComClass comClass, const TCLSID& classID, std::string className,
                    std::string description, TClassInstancing instancing, TThreadingModel threadingModel = tmSingle);
  virtual ~TComObjectFactory();

  HRESULT QueryInterface(const TIID& iid, void** obj) override;
  uint32_t AddRef() override;
  uint32_t Release() override;
  HRESULT CreateInstance(IUnknown* outer, const TIID& iid, void** obj) override;
  HRESULT LockServer(bool lock) override;

  // A new object of the class (no reference held yet).
  TComObject* CreateComObject();
  // Writes (or deletes) Software\Classes\CLSID\{...} under HKEY_CURRENT_USER:
  // the description as its default value, InprocServer32 = the module path
  // (with ThreadingModel), and the ProgID keys. Internal classes are skipped.
  virtual void UpdateRegistry(bool doRegister);

  TComServer& ComServer() const { return server_; }
  const TCLSID& ClassID() const { return classID_; }
  const std::string& ClassName() const { return className_; }
  const std::string& Description() const { return description_; }
  TClassInstancing Instancing() const { return instancing_; }
  TThreadingModel ThreadingModel() const { return threadingModel_; }
  // "<module>.<ClassName>", "" without a class name.
  std::string ProgID() const;

 private:
  TComServer& server_;
  TComClass comClass_;
  TCLSID classID_;
  std::string className_, description_;
  TClassInstancing instancing_;
  TThreadingModel threadingModel_;
};

}  // namespace vesper

// The entry points every server module exports.
extern "C" {
__attribute__((visibility("default"))) vesper::HRESULT DllGetClassObject(const vesper::TCLSID& clsid,
                                                                          const vesper::TIID& iid, void** obj);
__attribute__((visibility("default"))) vesper::HRESULT DllCanUnloadNow();
__attribute__((visibility("default"))) vesper::HRESULT DllRegisterServer();
__attribute__((visibility("default"))) vesper::HRESULT DllUnregisterServer();
}
