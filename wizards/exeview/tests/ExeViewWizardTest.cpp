// The module as the host and `vesper run` use it: registered with
// `vesper regsvr`, created through COM in this process.
#include <QApplication>

#include "ExeViewTestSupport.h"
#include "host/VesperComIntf.h"
#include "ide/MemoryToolServices.h"
#include "platform/Com.h"
#include "platform/Registry.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"
#include "ui/ScriptedDialogs.h"

namespace vesper {
namespace {

using test::Fixture;
const char* const kClsid = "{5E6F7746-C7D1-11D0-A95C-0060973CF3D5}";

class ExeViewWizardTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::RunResult r = test::Run({test::BinPath("vesper"), "regsvr", VESPER_WIZARD_MODULE});
    ASSERT_EQ(r.exitCode, 0) << r.out;
  }
  void SetUp() override {
    EnsureApplication();
    setenv("VESPER_SYSTEM_DIR", VESPER_EXE_FIXTURES, 1);
  }
  template <class T>
  ComPtr<T> Create() {
    ComPtr<T> object;
    EXPECT_EQ(CoCreateInstance(StringToGUID(kClsid), object), S_OK);
    return object;
  }
};

TEST_F(ExeViewWizardTest, RegisteredAndAnnounced) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Vesper\\COMWizards"));
  EXPECT_EQ(reg.ReadString(kClsid), ExpandFileName(VESPER_WIZARD_MODULE));
  ComPtr<IVesperWizard> wizard = Create<IVesperWizard>();
  ASSERT_TRUE(wizard.Get());
  unsigned char name[256], desc[256], author[256], parent[256], menu[256], shortcut[256];
  TWizardType type = TWizardType(0);
  wizard->GetWizardInfo(name, 255, desc, 255, author, 255, parent, 255, menu, 255, shortcut, 255, &type);
  EXPECT_EQ(GetShortString(name), "Vesper.ExeView");
  EXPECT_EQ(GetShortString(desc), "Vesper Exe Viewer");
  EXPECT_EQ(GetShortString(parent), "Vesper Wizards");
  EXPECT_EQ(GetShortString(menu), "&Exe View");
  EXPECT_EQ(GetShortString(shortcut), "Ctrl+Alt+E");
}

TEST_F(ExeViewWizardTest, RunStringsOpensTheFileInAModalWindow) {
  if (!FileExists(Fixture("pkga.dpl"))) GTEST_SKIP() << "PE fixtures were not built";
  ComPtr<IVesperRunStrings> runner = Create<IVesperRunStrings>();
  ASSERT_TRUE(runner.Get());
  TRegIniFile("Software\\Vesper").WriteBool("ExeView", "Dpls", true);
  TScriptedDialogs dialogs;
  std::string title, tree, help;
  dialogs.ExpectModal([&](QWidget& window) {
    for (int i = 0; i < 20 && window.windowTitle() == "Exe View"; ++i) ProcessMessages();
    title = window.windowTitle().toStdString();
    auto& scrn = static_cast<TExeViewScrn&>(window);
    tree = test::Joined(scrn.PrintLines());
    help = scrn.HelpFile();
    return mrOk;
  });
  TStringList strings;
  strings.Add(Fixture("pkga.dpl"));
  runner->RunStrings(&strings, 0);
  dialogs.Verify();
  EXPECT_EQ(title, Fixture("pkga.dpl"));
  EXPECT_NE(tree.find("    PKGB.DPL\n        PKGA.DPL\n"), std::string::npos) << tree;
  EXPECT_EQ(ExtractFileName(help), "vespeview.html");
  EXPECT_TRUE(FileExists(help)) << help;
}

TEST_F(ExeViewWizardTest, ExecuteShowsTheProjectOutputAndReusesTheWindow) {
  if (!FileExists(Fixture("useapp.exe"))) GTEST_SKIP() << "PE fixtures were not built";
  std::string dir = test::MakeTempSubdir("project");
  test::WriteFile(dir + "/useapp.dpr", "program useapp;\n");
  test::WriteFile(dir + "/useapp.exe", test::ReadFile(Fixture("useapp.exe")));
  ide::TMemoryToolServices services;
  services.OpenProject(dir + "/useapp.dpr");
  ComPtr<IVesperWizard> wizard = Create<IVesperWizard>();
  wizard->Initialize(TInitReason::irExecuting, &services, TIDEType::ideTestBed, 3, nullptr);
  auto windows = [] {
    std::vector<TExeViewScrn*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* scrn = dynamic_cast<TExeViewScrn*>(w); scrn && scrn->isVisible()) found.push_back(scrn);
    return found;
  };
  wizard->Execute();
  wizard->Execute();
  ASSERT_EQ(windows().size(), 1u);
  EXPECT_EQ(windows()[0]->windowTitle().toStdString(), dir + "/useapp.exe");
  bool canUnload = false;
  wizard->AboutToUnload(TUnloadingReason::urRemovingFromIDE, false, &canUnload);
  EXPECT_TRUE(canUnload);
  ProcessMessages();
  EXPECT_TRUE(windows().empty());
}

}  // namespace
}  // namespace vesper
