#include "platform/Com.h"

#include <cstdio>
#include <map>
#include <random>

#include "platform/Modules.h"
#include "platform/RegHive.h"

namespace vesper {

// ---- GUIDs -------------------------------------------------------------------

std::string GUIDToString(const TGUID& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.D1, g.D2, g.D3, g.D4[0],
                g.D4[1], g.D4[2], g.D4[3], g.D4[4], g.D4[5], g.D4[6], g.D4[7]);
  return buf;
}

bool TryStringToGUID(std::string_view text, TGUID& guid) {
  constexpr std::string_view shape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != shape.size()) return false;
  uint8_t bytes[16];
  size_t n = 0;
  for (size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] != 'X') {
      if (text[i] != shape[i]) return false;
      continue;
    }
    char c = text[i];
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) return false;
    if (n % 2 == 0) bytes[n / 2] = uint8_t(d << 4);
    else bytes[n / 2] |= uint8_t(d);
    ++n;
  }
  guid.D1 = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  guid.D2 = uint16_t(bytes[4] << 8 | bytes[5]);
  guid.D3 = uint16_t(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.D4[i] = bytes[8 + i];
  return true;
}

TGUID StringToGUID(std::string_view text) {
  TGUID g;
  if (!TryStringToGUID(text, g)) throw EOleSysError("Invalid class string", HRESULT(0x800401F3));
  return g;
}

bool IsEqualGUID(const TGUID& a, const TGUID& b) { return a == b; }

TGUID CreateGUID() {
  static thread_local std::mt19937_64 rng(std::random_device{}());
  uint64_t hi = rng(), lo = rng();
  TGUID g;
  g.D1 = uint32_t(hi >> 32);
  g.D2 = uint16_t(hi >> 16);
  g.D3 = uint16_t((hi & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; ++i) g.D4[i] = uint8_t(lo >> (56 - 8 * i));
  g.D4[0] = uint8_t((g.D4[0] & 0x3F) | 0x80);
  return g;
}

void OleCheck(HRESULT hr) {
  if (Failed(hr)) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "OLE error %08X", uint32_t(hr));
    throw EOleSysError(buf, hr);
  }
}

// ---- in-process servers --------------------------------------------------------

namespace {

struct LoadedServer {
  HMODULE module = nullptr;
  TDllGetClassObject getClassObject = nullptr;
  TDllCanUnloadNow canUnloadNow = nullptr;
};

std::map<std::string, LoadedServer>& Servers() {
  static std::map<std::string, LoadedServer> servers;
  return servers;
}

// The loaded server of `path`, loading it on first use; nullptr with `hr`
// set when it cannot be loaded.
LoadedServer* ServerOf(const std::string& path, HRESULT& hr) {
  auto& servers = Servers();
  if (auto it = servers.find(path); it != servers.end()) return &it->second;
  HMODULE m = LoadLibrary(path);
  if (!m) {
    hr = CO_E_DLLNOTFOUND;
    return nullptr;
  }
  LoadedServer s{m, GetProcAddressAs<TDllGetClassObject>(m, "DllGetClassObject"),
                 GetProcAddressAs<TDllCanUnloadNow>(m, "DllCanUnloadNow")};
  if (!s.getClassObject) {
    FreeLibrary(m);
    hr = CO_E_ERRORINDLL;
    return nullptr;
  }
  return &servers.emplace(path, s).first->second;
}

}  // namespace

std::string GetInprocServerPath(const TCLSID& clsid) {
  std::vector<std::string> key{"Software", "Classes", "CLSID", GUIDToString(clsid), "InprocServer32"};
  for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
    const RegKey* k = RegHive::Open(root)->Tree().Find(key);
    const RegValue* v = k ? k->Value("") : nullptr;
    if (v && (v->data.type == REG_SZ || v->data.type == REG_EXPAND_SZ)) {
      std::string path = RegDataText(v->data);
      if (!path.empty()) return path;
    }
  }
  return "";
}

HRESULT CoGetClassObject(const TCLSID& clsid, uint32_t context, const TIID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  try {
    std::string path = GetInprocServerPath(clsid);
    if (path.empty()) return REGDB_E_CLASSNOTREG;
    HRESULT hr = S_OK;
    LoadedServer* server = ServerOf(path, hr);
    return server ? server->getClassObject(clsid, iid, obj) : hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT CoCreateInstance(const TCLSID& clsid, IUnknown* outer, uint32_t context, const TIID& iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  ComPtr<IClassFactory> factory;
  HRESULT hr = CoGetClassObject(clsid, context, IID_IClassFactory, factory.Put());
  if (Failed(hr)) return hr;
  if (!factory) return E_UNEXPECTED;
  return factory->CreateInstance(outer, iid, obj);
}

void CoFreeUnusedLibraries() {
  auto& servers = Servers();
  for (auto it = servers.begin(); it != servers.end();) {
    LoadedServer& s = it->second;
    if (s.canUnloadNow && s.canUnloadNow() == S_OK) {
      FreeLibrary(s.module);
      it = servers.erase(it);
    } else {
      ++it;
    }
  }
}

size_t CoLoadedServerCount() { return Servers().size(); }

}  // namespace vesper
