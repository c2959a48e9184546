#include "platform/Com.h"

#include <cstdio>
#include <map>

#include "platform/Modules.h"
#include "platform/Registry.h"
#include "platform/StrUtils.h"

namespace vesper {

const TGUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const TGUID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool operator==(const TGUID& a, const TGUID& b) {
  if (a.D1 != b.D1 || a.D2 != b.D2 || a.D3 != b.D3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.D4[i] != b.D4[i]) return false;
  return true;
}

std::string GUIDToString(const TGUID& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.D1, g.D2, g.D3, g.D4[0],
                g.D4[1], g.D4[2], g.D4[3], g.D4[4], g.D4[5], g.D4[6], g.D4[7]);
  return buf;
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ReadHex(std::string_view text, size_t& pos, int digits, uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i, ++pos) {
    int d = pos < text.size() ? HexDigit(text[pos]) : -1;
    if (d < 0) return false;
    value = value << 4 | uint64_t(d);
  }
  return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}
}  // namespace

bool TryStringToGUID(std::string_view text, TGUID& guid) {
  size_t pos = 0;
  uint64_t v = 0;
  TGUID g;
  if (text.size() != 38 || !Expect(text, pos, '{')) return false;
  if (!ReadHex(text, pos, 8, v)) return false;
  g.D1 = uint32_t(v);
  if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, v)) return false;
  g.D2 = uint16_t(v);
  if (!Expect(text, pos, '-') || !ReadHex(text, pos, 4, v)) return false;
  g.D3 = uint16_t(v);
  if (!Expect(text, pos, '-')) return false;
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(text, pos, '-')) return false;
    if (!ReadHex(text, pos, 2, v)) return false;
    g.D4[i] = uint8_t(v);
  }
  if (!Expect(text, pos, '}')) return false;
  guid = g;
  return true;
}

TGUID StringToGUID(std::string_view text) {
  TGUID g;
  if (!TryStringToGUID(text, g)) throw EOleSysError("Invalid class string", HRESULT(0x800401F3));
  return g;
}

std::string SysErrorMessageForResult(HRESULT hr) {
  switch (hr) {
    case E_NOINTERFACE: return "No such interface supported";
    case E_FAIL: return "Unspecified error";
    case E_NOTIMPL: return "Not implemented";
    case E_POINTER: return "Invalid pointer";
    case E_UNEXPECTED: return "Catastrophic failure";
    case CLASS_E_CLASSNOTAVAILABLE: return "ClassFactory cannot supply requested class";
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    case CO_E_DLLNOTFOUND: return "DLL for class not found";
    case SELFREG_E_CLASS: return "Error registering class";
    default: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "Error %08X", uint32_t(hr));
      return buf;
    }
  }
}

void OleCheck(HRESULT hr) {
  if (FAILED(hr)) throw EOleSysError(SysErrorMessageForResult(hr), hr);
}

std::string InprocServerOf(const TGUID& clsid) {
  std::string key = "Software\\Classes\\CLSID\\" + GUIDToString(clsid) + "\\InprocServer32";
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    TRegistry reg;
    reg.SetRootKey(root);
    if (reg.OpenKeyReadOnly(key) && reg.ValueExists("")) return reg.ReadString("");
  }
  return {};
}

namespace {
// Modules loaded by CoCreateInstance, by path.
std::map<std::string, HMODULE>& ServerModules() {
  static std::map<std::string, HMODULE> modules;
  return modules;
}
}  // namespace

HRESULT CoCreateInstance(const TGUID& clsid, IUnknown* unkOuter, uint32_t clsContext, const TGUID& iid,
                         void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (unkOuter) return CLASS_E_NOAGGREGATION;
  if (!(clsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  std::string path = InprocServerOf(clsid);
  if (path.empty()) return REGDB_E_CLASSNOTREG;
  HMODULE& module = ServerModules()[path];
  if (!module) module = LoadLibrary(path);
  if (!module) {
    ServerModules().erase(path);
    return CO_E_DLLNOTFOUND;
  }
  auto getClassObject = reinterpret_cast<TDllGetClassObject>(GetProcAddress(module, "DllGetClassObject"));
  if (!getClassObject) return CO_E_DLLNOTFOUND;
  void* f = nullptr;
  HRESULT hr = getClassObject(clsid, IID_IClassFactory, &f);
  if (FAILED(hr) || !f) return FAILED(hr) ? hr : E_UNEXPECTED;
  auto* factory = static_cast<IClassFactory*>(f);
  hr = factory->CreateInstance(nullptr, iid, obj);
  factory->Release();
  return hr;
}

void CoFreeUnusedLibraries() {
  auto& modules = ServerModules();
  for (auto it = modules.begin(); it != modules.end();) {
    auto canUnload = reinterpret_cast<TDllCanUnloadNow>(GetProcAddress(it->second, "DllCanUnloadNow"));
    if (canUnload && canUnload() == S_OK) {
      FreeLibrary(it->second);
      it = modules.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace vesper
