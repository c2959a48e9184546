// The COM runtime's client side: class identifiers, result codes, IUnknown
// and IClassFactory, CoCreateInstance over the registry's
// Software\Classes\CLSID\{...}\InprocServer32 entries, CoFreeUnusedLibraries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Exception.h"

namespace vesper {

using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002);
inline constexpr HRESULT E_POINTER = HRESULT(0x80004003);
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFF);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = HRESULT(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = HRESULT(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = HRESULT(0x80040154);
inline constexpr HRESULT CO_E_DLLNOTFOUND = HRESULT(0x8004F003);
inline constexpr HRESULT SELFREG_E_CLASS = HRESULT(0x80040201);
inline constexpr uint32_t CLSCTX_INPROC_SERVER = 1;

inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0, D3 = 0;
  uint8_t D4[8] = {0};
  friend bool operator==(const TGUID& a, const TGUID& b);
  friend bool operator!=(const TGUID& a, const TGUID& b) { return !(a == b); }
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string GUIDToString(const TGUID& guid);
// Reads the registry form (hex digits in either case); false when malformed.
bool TryStringToGUID(std::string_view text, TGUID& guid);
// As TryStringToGUID; raises EOleSysError "Invalid class string".
TGUID StringToGUID(std::string_view text);

class EOleSysError : public Exception {
 public:
  EOleSysError(std::string message, HRESULT errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  HRESULT ErrorCode;
};
// The system's text for a result code.
std::string SysErrorMessageForResult(HRESULT hr);
// Raises EOleSysError for a failing result code.
void OleCheck(HRESULT hr);

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const TGUID& iid, void** obj) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  virtual HRESULT CreateInstance(IUnknown* unkOuter, const TGUID& iid, void** obj) = 0;
  virtual HRESULT LockServer(bool lock) = 0;
};

extern const TGUID IID_IUnknown;
extern const TGUID IID_IClassFactory;

// Entry points of an in-process server module.
extern "C" {
using TDllGetClassObject = HRESULT (*)(const TGUID& clsid, const TGUID& iid, void** obj);
using TDllCanUnloadNow = HRESULT (*)();
using TDllRegisterServer = HRESULT (*)();
}

// The module registered for the class (current user, then local machine).
std::string InprocServerOf(const TGUID& clsid);
// Loads the class's module once per process and creates an instance.
HRESULT CoCreateInstance(const TGUID& clsid, IUnknown* unkOuter, uint32_t clsContext, const TGUID& iid, void** obj);
// Frees every module loaded by CoCreateInstance that answers DllCanUnloadNow
// with S_OK.
void CoFreeUnusedLibraries();

}  // namespace vesper
