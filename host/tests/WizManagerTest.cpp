// The manager with the fixture modules: finding, refreshing, loading,
// executing and unloading wizards of the three kinds.
#include <gmock/gmock.h>

#include "HostFixture.h"
#include "host/WizUtils.h"
#include "ide/MemoryToolServices.h"
#include "platform/DateTime.h"

namespace vesper::hosttest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class WizManager : public HostTest {};

TEST_F(WizManager, FolderScanFindsClassAndPlainWizardsOnly) {
  Install("classwiz");
  Install("dllbasic");
  Install("dllinit");   // no GETWIZARDINFO: cannot be read
  Install("nothing");   // exports nothing of a wizard
  Install("classnull");  // hands out no object
  test::WriteFile(wizardDir_ + "/text.vwz", "not a library");
  Manager().SetWizardDirectory(wizardDir_);
  TWizards& w = Manager().Wizards();
  ASSERT_EQ(w.Count(), 2);
  TWizard* cls = w.FindByName("Fixture.classwiz");
  ASSERT_TRUE(cls);
  EXPECT_EQ(cls->Description, "Fixture classwiz");
  EXPECT_EQ(cls->MenuText, "&Class");
  EXPECT_EQ(cls->DLLName(), wizardDir_ + "/classwiz.vwz");
  EXPECT_EQ(cls->TimeStamp, FileAge(cls->DLLName()));
  EXPECT_THAT(cls->Version, ::testing::MatchesRegex("01\\.00\\.00\\.01 Build 01\\.00\\.00\\.01 Dated .+"));
  EXPECT_FALSE(cls->WizardLoaded());
  TWizard* dll = w.FindByName("Fixture.dllbasic");
  ASSERT_TRUE(dll);
  EXPECT_EQ(dll->Author, std::string(255, 'a'));  // cut to 255
  EXPECT_EQ(dll->Description, "");                 // left as found
  EXPECT_EQ(dll->WizardType, TWizardType::wtStandard);
}

TEST_F(WizManager, RefreshInitialisesClassWizardTwiceAndUnloadsAsQuerying) {
  Install("classwiz");
  Manager().IDEType = TIDEType::ideCPPBuilder;
  Manager().IDEVersion = 200;
  Manager().SetWizardDirectory(wizardDir_);
  EXPECT_THAT(Calls(), ElementsAre("classwiz Initialize 1 3 200", "classwiz Initialize 0 3 200",
                                   "classwiz GetWizardInfo", "classwiz AboutToUnload 1 1", "classwiz Destroy"));
}

TEST_F(WizManager, UnchangedModulesAreNotLoadedAgain) {
  Install("classwiz");
  Install("dllbasic");
  Manager().SetWizardDirectory(wizardDir_);
  ClearCalls();
  Manager().ForceCheckTimeStamps();
  EXPECT_THAT(Calls(), IsEmpty());
  // A changed module is read again, once per pass.
  Age(wizardDir_ + "/classwiz.vwz", 3600);
  Manager().ForceCheckTimeStamps();
  std::vector<std::string> calls = Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "classwiz GetWizardInfo"), 1);
  EXPECT_EQ(Manager().Wizards().Count(), 2);
}

TEST_F(WizManager, ModuleExportingBothEntryPointsIsAClassWizard) {
  Install("bothwiz");
  Manager().SetWizardDirectory(wizardDir_);
  ASSERT_TRUE(Manager().Wizards().FindByName("Fixture.bothwiz"));
  EXPECT_THAT(Calls(), Not(Contains("bothwiz INITWIZARD007")));
}

TEST_F(WizManager, ModuleThatFailsToLoadIsDeactivatedOrRemoved) {
  std::string path = Install("classwiz");
  Manager().SetWizardDirectory(wizardDir_);
  TWizard* read = Manager().Wizards().Items(0);
  TWizard* never = Manager().Wizards().Add();
  never->SetDLLName(wizardDir_ + "/never.vwz");
  test::WriteFile(path, "damaged");
  test::WriteFile(never->DLLName(), "damaged");
  Age(path, 3600);
  Manager().ForceCheckTimeStamps();
  ASSERT_EQ(Manager().Wizards().Count(), 1);
  EXPECT_EQ(Manager().Wizards().Items(0), read);
  EXPECT_FALSE(read->Active());
}

TEST_F(WizManager, DeletedModuleAsksOnEveryPass) {
  std::string path = Install("classwiz", dir_);
  Manager().CheckWizard(path);
  ASSERT_EQ(Manager().Wizards().Count(), 1);
  std::remove(path.c_str());
  int asked = 0;
  Manager().OnWizardNotFound = [&](TWizardManager*, TWizard* w, bool& remove) {
    ++asked;
    EXPECT_EQ(w->DLLName(), path);
    remove = false;
  };
  Manager().ForceCheckTimeStamps();
  Manager().CheckTimeStamps();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Manager().Wizards().Count(), 1);
  Manager().OnWizardNotFound = nullptr;  // keeps the preset: remove
  Manager().CheckTimeStamps();
  EXPECT_EQ(Manager().Wizards().Count(), 0);
}

TEST_F(WizManager, DirectoryChangedOnlyInCaseDoesNotRescan) {
  Manager().SetWizardDirectory(wizardDir_ + "/Sub");
  test::MakeTempSubdir(wizardDir_.substr(test::TempDir().size() + 1) + "/sub");
  Install("classwiz", wizardDir_ + "/sub");
  Manager().SetWizardDirectory(wizardDir_ + "/SUB");
  EXPECT_EQ(Manager().Wizards().Count(), 0);
  Manager().SetWizardDirectory(wizardDir_ + "/sub");
  EXPECT_EQ(Manager().Wizards().Count(), 0);
  Manager().SetWizardDirectory(wizardDir_);
  Manager().SetWizardDirectory(wizardDir_ + "/sub");
  EXPECT_EQ(Manager().Wizards().Count(), 1);
}

TEST_F(WizManager, PlainDllWizardWithoutOptionalEntryPoints) {
  TWizard* w = Manager().Wizards().Add();
  w->SetDLLName(Install("dllinit"));
  TBasicDLLAdapter* adapter = new TBasicDLLAdapter(*w);
  IVesperWizard* wiz = adapter;
  wiz->AddRef();
  TShortString s[6];
  TWizardType type = TWizardType::wtStandard;
  try {
    wiz->GetWizardInfo(s[0].Data, 255, s[1].Data, 255, s[2].Data, 255, s[3].Data, 255, s[4].Data, 255, s[5].Data,
                       255, &type);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Wizard is missing entry point GETWIZARDINFO");
  }
  for (auto run : {std::function<void()>([&] { wiz->Execute(); }), std::function<void()>([&] { wiz->Run(3); })}) {
    try {
      run();
      ADD_FAILURE();
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Wizard is missing entry point EXECUTE");
    }
  }
  EXPECT_TRUE(wiz->IsIDESupported(TIDEType::ideShell, 1));
  bool canUnload = true;
  wiz->AboutToUnload(TUnloadingReason::urRemovingFromIDE, false, &canUnload);
  EXPECT_TRUE(canUnload);
  void* prop = reinterpret_cast<void*>(1);
  EXPECT_EQ(wiz->QueryInterface(IID_IUnknown, &prop), E_NOINTERFACE);
  EXPECT_EQ(prop, nullptr);
  wiz->Release();
}

TEST_F(WizManager, PlainDllWizardWithOptionalEntryPoints) {
  TWizard* w = Manager().Wizards().Add();
  w->SetDLLName(Install("dllfull"));
  IVesperWizard* wiz = w->GetVesperWizard();
  EXPECT_FALSE(wiz->IsIDESupported(TIDEType::ideDelphi, 300));
  wiz->Run(7);
  void* obj = nullptr;
  ASSERT_EQ(wiz->QueryInterface(CLSID_VesperProperty, &obj), S_OK);
  static_cast<IVesperProperty*>(obj)->EditProperties();
  static_cast<IVesperProperty*>(obj)->Release();
  // ABOUTTOUNLOAD refuses: kept unless forced.
  EXPECT_FALSE(w->Unload(TUnloadingReason::urRemovingFromIDE, false));
  EXPECT_TRUE(w->WizardLoaded());
  EXPECT_TRUE(w->Unload(TUnloadingReason::urDeactivating, true));
  EXPECT_FALSE(w->WizardLoaded());
  EXPECT_THAT(Calls(), ElementsAre("dllfull Initialize 0 2 300", "dllfull Run 7", "dllfull EditProperties",
                                   "dllfull AboutToUnload 2 0", "dllfull AboutToUnload 5 1"));
}

TEST_F(WizManager, ClassWizardWithoutObjectAndUnloadableModule) {
  std::string path = Install("classnull");
  HMODULE m = LoadLibrary(path);
  ASSERT_TRUE(m);
  try {
    LoadWizardInterface(m, TInitReason::irExecuting, nullptr, path, TIDEType::ideDelphi, 300, nullptr);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to retrieve wizard interface from " + path);
  }
  FreeLibrary(m);
  TWizard* w = Manager().Wizards().Add();
  w->Description = "Lost";
  w->SetDLLName(dir_ + "/missing.vwz");
  try {
    w->GetVesperWizard();
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to load Lost\r" + dir_ + "/missing.vwz");
  }
  try {
    TDLLLoader loader(dir_ + "/missing.vwz");
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_THAT(e.what(), HasSubstr("Failed to load " + dir_ + "/missing.vwz.\r"));
  }
}

TEST_F(WizManager, StatusChangesAndInactiveRecords) {
  TWizard* w = Manager().Wizards().Add();
  w->SetDLLName(Install("classwiz"));
  std::vector<bool> states;
  Manager().OnWizardStatusChange = [&](TWizardManager*, TWizard* x) { states.push_back(x->WizardLoaded()); };
  w->Execute();
  w->SetActive(false);  // deactivating unloads, forced
  EXPECT_THAT(states, ElementsAre(true, false));
  EXPECT_THAT(Calls(), Contains("classwiz AboutToUnload 5 1"));
  Manager().OnWizardStatusChange = nullptr;
}

TEST_F(WizManager, ShownExceptionsGoThroughTheHook) {
  std::vector<std::string> shown;
  TShowExceptionProc old = ShowExceptionHook();
  ShowExceptionHook() = [&](const std::exception& e) { shown.push_back(e.what()); };
  TWizard* w = Manager().Wizards().Add();
  w->SetDLLName(Install("dllinit"));
  w->WizardType = TWizardType::wtResident;
  Manager().LoadResidentWizards();
  EXPECT_THAT(shown, ElementsAre("Wizard is missing entry point EXECUTE"));
  ShowExceptionHook() = old;
}

}  // namespace
}  // namespace vesper::hosttest
