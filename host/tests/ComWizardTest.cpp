// COM wizards: registration announcements, the host picking them up, and
// each wizard type's handling.
#include <gmock/gmock.h>

#include "HostFixture.h"
#include "host/WizUtils.h"
#include "plugin-runtime/VesperComWizard.h"

namespace vesper::hosttest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

const char* kNew = "\\Software\\Vesper\\COMWizards\\New";
const char* kAll = "\\Software\\Vesper\\COMWizards";
const char* kStd = "{9D1B0001-5A3C-4E11-8C1F-00A0C9000001}";
const char* kPlain = "{9D1B0001-5A3C-4E11-8C1F-00A0C90000FF}";

HRESULT CallEntry(const std::string& path, const char* name) {
  HMODULE m = LoadLibrary(path);
  EXPECT_TRUE(m) << GetLastModuleError();
  if (!m) return E_FAIL;
  auto f = reinterpret_cast<TDllRegisterServer>(GetProcAddress(m, name));
  HRESULT hr = f ? f() : E_FAIL;
  FreeLibrary(m);
  return hr;
}

std::string RegString(const std::string& key, const std::string& name) {
  TRegistry reg;
  return reg.OpenKeyReadOnly(key) && reg.ValueExists(name) ? reg.ReadString(name) : "<none>";
}

class ComWizards : public HostTest {};

TEST(AnnouncedModulePath, DriveLetterUpperCasedOtherPathsAsTheyAre) {
  EXPECT_EQ(AnnouncedModulePath("c:\\vesper\\Wiz.vwz"), "C:\\vesper\\Wiz.vwz");
  EXPECT_EQ(AnnouncedModulePath("\\\\server\\share\\Wiz.vwz"), "\\\\server\\share\\Wiz.vwz");
  EXPECT_EQ(AnnouncedModulePath("/opt/Vesper/wiz.vwz"), "/opt/Vesper/wiz.vwz");
  EXPECT_EQ(AnnouncedModulePath("c"), "c");
}

TEST_F(ComWizards, RegistrationAnnouncesWizardClassesOnly) {
  std::string path = Install("comstd", dir_);
  std::string other = Install("comnorun", dir_);
  ASSERT_EQ(CallEntry(other, "DllRegisterServer"), S_OK);
  for (int i = 0; i < 2; ++i) ASSERT_EQ(CallEntry(path, "DllRegisterServer"), S_OK);
  EXPECT_EQ(RegString(kNew, kStd), path);
  EXPECT_EQ(RegString(kAll, kStd), path);
  EXPECT_EQ(RegString(kNew, kPlain), "<none>");
  EXPECT_EQ(GetInprocServerPath(StringToGUID(kPlain)), path);  // registered as a COM class all the same
  EXPECT_EQ(RegValues(kNew).size(), 2u);
  ASSERT_EQ(CallEntry(path, "DllUnregisterServer"), S_OK);
  EXPECT_EQ(RegString(kNew, kStd), "<none>");
  EXPECT_EQ(RegString(kAll, kStd), "<none>");
  EXPECT_EQ(GetInprocServerPath(StringToGUID(kStd)), "");
  EXPECT_EQ(RegValues(kAll).size(), 1u);  // the other module's stays
}

TEST_F(ComWizards, AnnouncedClassOutsideTheFolderIsAddedAndAnnouncementTaken) {
  std::string path = Install("comstd", dir_);
  ASSERT_EQ(CallEntry(path, "DllRegisterServer"), S_OK);
  Manager().CheckTimeStamps();
  ASSERT_EQ(Manager().Wizards().Count(), 1);
  TWizard* w = Manager().Wizards().Items(0);
  EXPECT_EQ(w->ClassID, kStd);
  EXPECT_EQ(w->DLLName(), path);
  EXPECT_EQ(w->Name, "Fixture.comstd");
  EXPECT_EQ(w->ParentMenuText, "Vesper Wizards");
  EXPECT_EQ(w->Shortcut, "Ctrl+Alt+Q");
  EXPECT_THAT(RegValues(kNew), IsEmpty());
  EXPECT_EQ(RegValues(kAll).size(), 1u);
  EXPECT_THAT(Calls(), ElementsAre("comstd Initialize 0 2 300", "comstd GetWizardInfo", "comstd AboutToUnload 1 1",
                                   "comstd Destroy"));
}

TEST_F(ComWizards, FolderScanRegistersModulesAndTwoClassesMakeOneRecord) {
  Install("comtwo");
  Install("comnorun");
  Manager().SetWizardDirectory(wizardDir_);
  ASSERT_EQ(Manager().Wizards().Count(), 2);
  TWizard* two = Manager().Wizards().FindByFileName(wizardDir_ + "/comtwo.vwz");
  ASSERT_TRUE(two);
  EXPECT_EQ(two->ClassID, "{9D1B0001-5A3C-4E11-8C1F-00A0C9000008}");
  EXPECT_EQ(two->Name, "Fixture.comtwo");  // read through the first class
  EXPECT_THAT(RegValues(kNew), IsEmpty());
  // Nothing changed: the next pass loads no module.
  ClearCalls();
  Manager().ForceCheckTimeStamps();
  EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(ComWizards, ExecuteKeepsStandardLoadedAndUnloadsAfterExecuteType) {
  Install("comstd");
  Install("comunload");
  Manager().SetWizardDirectory(wizardDir_);
  TWizard* std = Manager().Wizards().FindByName("Fixture.comstd");
  TWizard* once = Manager().Wizards().FindByName("Fixture.comunload");
  ASSERT_TRUE(std && once);
  EXPECT_EQ(once->WizardType, TWizardType::wtUnloadAfterExecute);
  ClearCalls();
  std->Execute();
  once->Execute();
  EXPECT_TRUE(std->WizardLoaded());
  EXPECT_FALSE(once->WizardLoaded());
  EXPECT_THAT(Calls(), ElementsAre("comstd Initialize 0 2 300", "comstd Execute", "comunload Initialize 0 2 300",
                                   "comunload Execute", "comunload AboutToUnload 4 0", "comunload Destroy"));
  Manager().UnloadAll();
  EXPECT_FALSE(std->WizardLoaded());
  EXPECT_THAT(Calls(), Contains("comstd AboutToUnload 5 1"));
}

TEST_F(ComWizards, StickyWizardStaysUnlessForcedAndRaisingExecutePassesOn) {
  Install("comsticky");
  Install("comraises");
  Manager().SetWizardDirectory(wizardDir_);
  TWizard* sticky = Manager().Wizards().FindByName("Fixture.comsticky");
  TWizard* raises = Manager().Wizards().FindByName("Fixture.comraises");
  ASSERT_TRUE(sticky && raises);
  sticky->Execute();
  EXPECT_FALSE(sticky->Unload(TUnloadingReason::urDeactivating, false));
  EXPECT_TRUE(sticky->WizardLoaded());
  EXPECT_TRUE(sticky->Unload(TUnloadingReason::urDeactivating, true));
  EXPECT_FALSE(sticky->WizardLoaded());
  try {
    raises->Execute();
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Fixture failure");
  }
  EXPECT_TRUE(raises->WizardLoaded());
}

TEST_F(ComWizards, ResidentWizardRunsAtStartAndOnReactivation) {
  Install("comresident");
  Manager().SetWizardDirectory(wizardDir_);
  TWizard* w = Manager().Wizards().Items(0);
  EXPECT_EQ(w->WizardType, TWizardType::wtResident);
  ClearCalls();
  Manager().LoadResidentWizards();
  w->SetActive(false);
  w->SetActive(true);
  EXPECT_THAT(Calls(), ElementsAre("comresident Initialize 0 2 300", "comresident Execute",
                                   "comresident AboutToUnload 5 1", "comresident Destroy",
                                   "comresident Initialize 0 2 300", "comresident Execute"));
}

TEST_F(ComWizards, RunStringsOnlyWhereDeclared) {
  std::string path = Install("comstd", dir_);
  std::string norun = Install("comnorun", dir_);
  ASSERT_EQ(CallEntry(path, "DllRegisterServer"), S_OK);
  ASSERT_EQ(CallEntry(norun, "DllRegisterServer"), S_OK);
  void* obj = nullptr;
  ASSERT_EQ(CoCreateInstance(StringToGUID(kStd), nullptr, CLSCTX_INPROC_SERVER, CLSID_VesperRunStrings, &obj), S_OK);
  TStringList l;
  l.Add("a");
  l.Add("b");
  static_cast<IVesperRunStrings*>(obj)->RunStrings(&l, 4);
  static_cast<IVesperRunStrings*>(obj)->Release();
  EXPECT_EQ(CoCreateInstance(StringToGUID("{9D1B0001-5A3C-4E11-8C1F-00A0C9000002}"), nullptr, CLSCTX_INPROC_SERVER,
                             CLSID_VesperRunStrings, &obj),
            E_NOINTERFACE);
  EXPECT_THAT(Calls(), Contains("comstd RunStrings a|b 4"));
}

}  // namespace
}  // namespace vesper::hosttest
