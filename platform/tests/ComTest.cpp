#include "platform/Com.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <unordered_set>

#include "platform/Modules.h"
#include "platform/Registry.h"
#include "platform/tests/ComTestIntf.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

using test::CLSID_TestCounter;
using test::ITestAnswer;
using test::ITestCounter;

TEST(ComGuid, ParsesAndFormatsInUpperCase) {
  TGUID g = StringToGUID("{5e6f7743-c7d1-11d0-a95c-0060973cf3d5}");
  EXPECT_EQ(g.D1, 0x5E6F7743u);
  EXPECT_EQ(g.D2, 0xC7D1);
  EXPECT_EQ(g.D3, 0x11D0);
  EXPECT_EQ(g.D4[0], 0xA9);
  EXPECT_EQ(g.D4[7], 0xD5);
  EXPECT_EQ(GUIDToString(g), "{5E6F7743-C7D1-11D0-A95C-0060973CF3D5}");
  EXPECT_EQ(GUIDToString(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
  for (const char* bad : {"", "{5E6F7743-C7D1-11D0-A95C-0060973CF3D5", "5E6F7743-C7D1-11D0-A95C-0060973CF3D5",
                          "{5E6F7743-C7D1-11D0-A95C-0060973CF3DG}", "{5E6F7743-C7D1-11D0-A95C_0060973CF3D5}",
                          "{5E6F7743-C7D1-11D0-A95C-0060973CF3D5}x", "{5E6F774-3C7D1-11D0-A95C-0060973CF3D5}"}) {
    TGUID out;
    EXPECT_FALSE(TryStringToGUID(bad, out)) << bad;
  }
  try {
    StringToGUID("nonsense");
    FAIL();
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.Message(), "Invalid class string");
  }
  std::unordered_set<TGUID> set{IID_IUnknown, IID_IClassFactory, g, g};
  EXPECT_EQ(set.size(), 3u);
  EXPECT_LT(IID_IUnknown, IID_IClassFactory);
  TGUID r = CreateGUID();
  EXPECT_EQ(r.D3 >> 12, 4);
  EXPECT_NE(r, CreateGUID());
}

bool IsLoaded(const std::string& path) {
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

// Calls an entry point of `path` the way `vesper regsvr` does.
HRESULT CallEntry(const std::string& path, const char* name) {
  HMODULE m = LoadLibrary(path);
  if (!m) return CO_E_DLLNOTFOUND;
  auto entry = GetProcAddressAs<TDllRegisterServer>(m, name);
  HRESULT hr = entry ? entry() : CO_E_ERRORINDLL;
  FreeLibrary(m);
  return hr;
}

void RegisterServerPath(const TCLSID& clsid, const std::string& path) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Classes\\CLSID\\" + GUIDToString(clsid) + "\\InprocServer32", true));
  reg.WriteString("", path);
}

TEST(ComServer, RegistersCreatesCountsAndUnloads) {
  const std::string path = test::BuildDir() + "/test-modules/comtestsrv.so";
  const std::string classKey = "\\Software\\Classes\\CLSID\\{5E6F7790-C7D1-11D0-A95C-0060973CF3D5}";
  ComPtr<ITestCounter> a;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, a), REGDB_E_CLASSNOTREG);

  ASSERT_EQ(CallEntry(path, "DllRegisterServer"), S_OK) << GetLastModuleError();
  EXPECT_FALSE(IsLoaded(path));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(classKey));
  EXPECT_EQ(reg.ReadString(""), "Vesper test counter");
  ASSERT_TRUE(reg.OpenKeyReadOnly(classKey + "\\InprocServer32"));
  EXPECT_EQ(reg.ReadString(""), path);
  EXPECT_EQ(reg.ReadString("ThreadingModel"), "Apartment");
  ASSERT_TRUE(reg.OpenKeyReadOnly(classKey + "\\ProgID"));
  EXPECT_EQ(reg.ReadString(""), "comtestsrv.TestCounter");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Classes\\comtestsrv.TestCounter\\Clsid"));
  EXPECT_EQ(reg.ReadString(""), GUIDToString(CLSID_TestCounter));

  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, a), S_OK);
  EXPECT_EQ(a->Increment(), 1);
  EXPECT_EQ(a->Increment(), 2);
  EXPECT_EQ(a->ServerObjectCount(), 1);
  ComPtr<ITestAnswer> answer = a.As<ITestAnswer>();
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->Answer(), 42);
  EXPECT_FALSE(a.As<IClassFactory>());
  ComPtr<ITestCounter> b;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, b), S_OK);
  EXPECT_EQ(b->Increment(), 1);
  EXPECT_EQ(b->ServerObjectCount(), 2);
  EXPECT_EQ(CoLoadedServerCount(), 1u);
  void* none = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, a.Get(), CLSCTX_INPROC_SERVER, ITestCounter::IID, &none),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory, &none),
            E_NOINTERFACE);
  EXPECT_EQ(b->ServerObjectCount(), 2);  // the refused objects are gone

  // Unused libraries are freed only once their last object is released.
  a.Reset();
  answer.Reset();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(path));
  EXPECT_EQ(b->ServerObjectCount(), 1);
  b.Reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsLoaded(path));
  EXPECT_EQ(CoLoadedServerCount(), 0u);

  ASSERT_EQ(CallEntry(path, "DllUnregisterServer"), S_OK);
  EXPECT_FALSE(reg.KeyExists(classKey));
  EXPECT_FALSE(reg.KeyExists("\\Software\\Classes\\comtestsrv.TestCounter"));
  EXPECT_TRUE(reg.KeyExists("\\Software\\Classes\\CLSID"));
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, a), REGDB_E_CLASSNOTREG);
}

TEST(ComServer, BrokenRegistrationsGiveResultCodes) {
  const std::string path = test::BuildDir() + "/test-modules/comtestsrv.so";
  TCLSID unknown = CreateGUID(), missing = CreateGUID(), notCom = CreateGUID();
  RegisterServerPath(unknown, path);  // a module that does not serve the class
  RegisterServerPath(missing, test::TempDir() + "/missing.so");
  RegisterServerPath(notCom, "libm.so.6");
  ComPtr<IUnknown> obj;
  EXPECT_EQ(CoCreateInstance(unknown, obj), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(CoCreateInstance(missing, obj), CO_E_DLLNOTFOUND);
  EXPECT_EQ(CoCreateInstance(notCom, obj), CO_E_ERRORINDLL);
  EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr), E_POINTER);
  // A class registered for the whole machine is found as well.
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Classes\\CLSID\\" + GUIDToString(CLSID_TestCounter) + "\\InprocServer32", true));
  reg.WriteString("", path);
  ComPtr<ITestCounter> counter;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, counter), S_OK);
  counter.Reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsLoaded(path));
}

}  // namespace
}  // namespace vesper
