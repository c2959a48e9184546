// The COM runtime: GUIDs, result codes, IUnknown and IClassFactory as
// abstract classes, a reference-holding smart pointer, and in-process
// servers found through the registry under
// "Software\Classes\CLSID\{...}\InprocServer32" (current user, then
// local machine).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Exception.h"

namespace vesper {

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0, D3 = 0;
  uint8_t D4[8] = {};
  bool operator==(const TGUID&) const = default;
  auto operator<=>(const TGUID&) const = default;
};
using TCLSID = TGUID;
using TIID = TGUID;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string GUIDToString(const TGUID& guid);
// Accepts either case; false on anything else.
bool TryStringToGUID(std::string_view text, TGUID& guid);
// Raises EOleSysError "Invalid class string".
TGUID StringToGUID(std::string_view text);
bool IsEqualGUID(const TGUID& a, const TGUID& b);
TGUID CreateGUID();  // a random (version 4) GUID

using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002);
inline constexpr HRESULT E_POINTER = HRESULT(0x80004003);
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = HRESULT(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = HRESULT(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = HRESULT(0x80040154);
inline constexpr HRESULT SELFREG_E_CLASS = HRESULT(0x80040201);
inline constexpr HRESULT CO_E_DLLNOTFOUND = HRESULT(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = HRESULT(0x800401F9);

inline bool Succeeded(HRESULT hr) { return hr >= 0; }
inline bool Failed(HRESULT hr) { return hr < 0; }

// An exception carrying a result code.
class EOleSysError : public Exception {
 public:
  EOleSysError(std::string message, HRESULT code) : Exception(std::move(message)), ErrorCode(code) {}
  HRESULT ErrorCode;
};
// Raises EOleSysError when `hr` is a failure.
void OleCheck(HRESULT hr);

inline constexpr TIID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr TIID IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Interfaces are abstract classes; each names its identifier as `IID`.
class IUnknown {
 public:
  static constexpr const TIID& IID = IID_IUnknown;
  virtual HRESULT QueryInterface(const TIID& iid, void** obj) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  static constexpr const TIID& IID = IID_IClassFactory;
  virtual HRESULT CreateInstance(IUnknown* outer, const TIID& iid, void** obj) = 0;
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// Holds one reference to an interface.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  explicit ComPtr(T* p, bool addRef = true) : p_(p) {
    if (p_ && addRef) p_->AddRef();
  }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // For functions that return a new reference through a void**.
  void** Put() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  // The interface U of the same object, empty when it has none.
  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> u;
    if (p_) p_->QueryInterface(U::IID, u.Put());
    return u;
  }

 private:
  T* p_ = nullptr;
};

// Class contexts (only in-process servers exist here).
inline constexpr uint32_t CLSCTX_INPROC_SERVER = 0x1;
inline constexpr uint32_t CLSCTX_ALL = 0x17;

// The module path registered for `clsid` (default value of
// Software\Classes\CLSID\{...}\InprocServer32, current user first), "" when
// the class is not registered.
std::string GetInprocServerPath(const TCLSID& clsid);
// The class factory of `clsid` through its server's DllGetClassObject; the
// server is loaded once and kept in the table of loaded servers.
HRESULT CoGetClassObject(const TCLSID& clsid, uint32_t context, const TIID& iid, void** obj);
HRESULT CoCreateInstance(const TCLSID& clsid, IUnknown* outer, uint32_t context, const TIID& iid, void** obj);
template <class T>
HRESULT CoCreateInstance(const TCLSID& clsid, ComPtr<T>& out) {
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, T::IID, out.Put());
}
// Frees each loaded server whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();
// The number of servers loaded by CoCreateInstance/CoGetClassObject.
size_t CoLoadedServerCount();

// Entry points of an in-process server module.
using TDllGetClassObject = HRESULT (*)(const TCLSID& clsid, const TIID& iid, void** obj);
using TDllCanUnloadNow = HRESULT (*)();
using TDllRegisterServer = HRESULT (*)();

}  // namespace vesper

template <>
struct std::hash<vesper::TGUID> {
  size_t operator()(const vesper::TGUID& g) const noexcept {
    uint64_t h = uint64_t(g.D1) << 32 | uint32_t(g.D2) << 16 | g.D3;
    for (uint8_t b : g.D4) h = (h ^ b) * 0x100000001B3ull;
    return std::hash<uint64_t>()(h);
  }
};
