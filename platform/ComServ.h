// The COM runtime's server side: objects with a reference count, class
// factories and the module's server (its factory list, object and lock
// counts, standard registration). Each server module links the static
// library vespercomserver, which holds the module's own ComServer() and
// exports DllGetClassObject and DllCanUnloadNow.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Com.h"

namespace vesper {

class TComObjectFactory;
class TComServer;

// A COM object. Derived classes list their interfaces by deriving from them,
// answer them in GetInterface and implement IUnknown with
// VESPER_COM_IUNKNOWN, which forwards to the Obj* operations.
class TComObject {
 public:
  TComObject();
  virtual ~TComObject();
  TComObject(const TComObject&) = delete;
  TComObject& operator=(const TComObject&) = delete;

  // Called once the factory has created the object.
  virtual void Initialize() {}
  TComObjectFactory* Factory() const { return factory_; }

  HRESULT ObjQueryInterface(const TGUID& iid, void** obj);
  uint32_t ObjAddRef();
  uint32_t ObjRelease();

 protected:
  // Sets `obj` to the interface (IUnknown included) and returns true.
  virtual bool GetInterface(const TGUID& iid, void** obj) = 0;

 private:
  friend class TComObjectFactory;
  TComObjectFactory* factory_ = nullptr;
  std::atomic<uint32_t> refCount_{0};
};

#define VESPER_COM_IUNKNOWN                                                                              \
  ::vesper::HRESULT QueryInterface(const ::vesper::TGUID& iid, void** obj) override {                    \
    return ObjQueryInterface(iid, obj);                                                                  \
  }                                                                                                      \
  uint32_t AddRef() override { return ObjAddRef(); }                                                     \
  uint32_t Release() override { return ObjRelease(); }

enum TClassInstancing { ciInternal, ciSingleInstance, ciMultiInstance };

class TComObjectFactory : public IClassFactory {
 public:
  using TComClass = std::function<TComObject*()>;
  // Adds itself to `server`'s factory list, which owns it.
  TComObjectFactory(TComServer& server, TComClass comClass, const TGUID& classID, std::string className,
                    std::string description, TClassInstancing instancing);
  virtual ~TComObjectFactory() = default;

  HRESULT QueryInterface(const TGUID& iid, void** obj) override;
  uint32_t AddRef() override;
  uint32_t Release() override;
  HRESULT CreateInstance(IUnknown* unkOuter, const TGUID& iid, void** obj) override;
  HRESULT LockServer(bool lock) override;

  TComServer& Server() const { return server_; }
  const TGUID& ClassID() const { return classID_; }
  const std::string& ClassName() const { return className_; }
  const std::string& Description() const { return description_; }
  TClassInstancing Instancing() const { return instancing_; }
  // "Module.ClassName" (the module's file name without extension).
  std::string ProgID() const;
  // Writes or deletes Software\Classes\CLSID\{...} (description, its
  // InprocServer32 = module path, its ProgID) and Software\Classes\<ProgID>
  // under HKEY_CURRENT_USER.
  virtual void UpdateRegistry(bool doRegister);

 private:
  TComServer& server_;
  TComClass comClass_;
  TGUID classID_;
  std::string className_;
  std::string description_;
  TClassInstancing instancing_;
};

class TComServer {
 public:
  explicit TComServer(std::string moduleFileName) : moduleFileName_(std::move(moduleFileName)) {}
  TComServer(const TComServer&) = delete;
  TComServer& operator=(const TComServer&) = delete;

  const std::string& ModuleFileName() const { return moduleFileName_; }
  const std::vector<std::unique_ptr<TComObjectFactory>>& Factories() const { return factories_; }
  TComObjectFactory* FindFactory(const TGUID& classID) const;

  HRESULT GetClassObject(const TGUID& clsid, const TGUID& iid, void** obj);
  bool CanUnloadNow() const { return objectCount_ == 0 && lockCount_ == 0; }
  // The standard registration of every factory; S_OK, or SELFREG_E_CLASS
  // when the registry cannot be written.
  HRESULT UpdateRegistry(bool doRegister);

  int ObjectCount() const { return objectCount_; }
  void CountObject(int delta) { objectCount_ += delta; }
  void CountLock(int delta) { lockCount_ += delta; }

 private:
  friend class TComObjectFactory;
  std::string moduleFileName_;
  std::vector<std::unique_ptr<TComObjectFactory>> factories_;
  std::atomic<int> objectCount_{0};
  std::atomic<int> lockCount_{0};
};

// The calling module's server (defined in vespercomserver, one per module).
TComServer& ComServer();

}  // namespace vesper
