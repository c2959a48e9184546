#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include "ExeViewTestSupport.h"
#include "ide/MemoryToolServices.h"
#include "platform/Registry.h"
#include "shared/controls/VesAbout.h"
#include "tests/support/TestSupport.h"
#include "ui/ScriptedDialogs.h"
#include "wizards/resexplorer/core/Exe32img.h"

namespace vesper {
namespace {

using test::Action;
using test::Fixture;
using test::Joined;
using test::ListRows;

class ExeViewScrnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    setenv("VESPER_SYSTEM_DIR", VESPER_EXE_FIXTURES, 1);
    unsetenv("VESPER_PRINTER");
  }
  // A window with both options set as given.
  std::unique_ptr<TExeViewScrn> Window(bool imports, bool deps) {
    TRegIniFile ini("Software\\Vesper");
    ini.WriteBool("ExeView", "Calls", imports);
    ini.WriteBool("ExeView", "Dpls", deps);
    return std::make_unique<TExeViewScrn>(nullptr, "");
  }
  std::string Tree(TExeViewScrn& w) { return Joined(w.PrintLines()); }
};

TEST_F(ExeViewScrnTest, CaptionsMenusAndDefaults) {
  TRegistry().DeleteKey("\\Software\\Vesper\\ExeView");
  TExeViewScrn w(nullptr, "");
  EXPECT_EQ(w.windowTitle().toStdString(), "Exe View");
  EXPECT_TRUE(Action(w, "dmDplDeps")->isChecked());  // "Dpls" defaults to true
  EXPECT_TRUE(Action(w, "tbRecurse")->isChecked());
  EXPECT_FALSE(Action(w, "dmCalls")->isChecked());
  EXPECT_FALSE(Action(w, "tbImports")->isChecked());
  for (const char* name : {"fmPpv", "fmPrint", "tbPreview", "tbPrint"}) EXPECT_FALSE(Action(w, name)->isEnabled()) << name;
  EXPECT_EQ(Action(w, "tbRecurse")->text().toStdString(), "Show dependency");
  EXPECT_EQ(Action(w, "dmDplDeps")->text().toStdString(), "&Show dependencies");
  EXPECT_EQ(w.PanelText(0), "Imports");
  EXPECT_EQ(w.PanelText(2), "Units");
  EXPECT_EQ(w.findChild<QToolBar*>("Tb")->height(), 28);
}

TEST_F(ExeViewScrnTest, AboutBoxShowsTheModule) {
  TExeViewScrn w(nullptr, "/opt/vesper/wizards/vespeview.vwz");
  TScriptedDialogs dialogs;
  std::string module;
  dialogs.ExpectModal([&](QWidget& box) {
    module = static_cast<TVesAbout&>(box).ModuleFileName();
    return mrOk;
  }).Text("About ExeView");
  Action(w, "hmAbout")->trigger();
  dialogs.Verify();
  EXPECT_EQ(module, "/opt/vesper/wizards/vespeview.vwz");
}

TEST_F(ExeViewScrnTest, PackageTreeWithImportsDependenciesAndStatus) {
  REQUIRE_PE_FIXTURES();
  auto w = Window(true, true);
  w->OpenFile(Fixture("pkga.dpl"));
  EXPECT_EQ(w->windowTitle().toStdString(), Fixture("pkga.dpl"));
  // PKGB imports PKGA again: the visited list stops the cycle. The decorated
  // "Init@1A2B3C4D" is trimmed; KERNEL32.DLL is not in the folder: no children.
  EXPECT_EQ(Tree(*w),
            "Packages\n    PKGB.DPL\n        Init\n        PKGA.DPL\nDLL's\n    KERNEL32.DLL\n        GetTickCount\n"
            "Units\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
  EXPECT_EQ(w->PanelText(1), "2");
  EXPECT_EQ(w->PanelText(3), "3");
  EXPECT_EQ(w->PanelText(4), "Ready");
  // The first node is selected: the list shows the children of "Packages".
  EXPECT_EQ(ListRows(*w), std::vector<std::string>{"PKGB.DPL"});
  auto* tv = w->findChild<QTreeWidget*>("Tv");
  tv->setCurrentItem(tv->topLevelItem(3));  // "Unknown": a root without children
  EXPECT_TRUE(ListRows(*w).empty());
  tv->setCurrentItem(tv->topLevelItem(2)->child(1));  // a leaf: itself
  EXPECT_EQ(ListRows(*w), std::vector<std::string>{"Mid"});
}

TEST_F(ExeViewScrnTest, OptionsAndTheirButtonsKeptInStep) {
  REQUIRE_PE_FIXTURES();
  auto w = Window(true, true);
  w->OpenFile(Fixture("useapp.exe"));
  EXPECT_EQ(Tree(*w), "Packages\n    PKGA.DPL\n        PkgAInit\n        PKGB.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n"
                      "    Zeta\nUnknown\n");
  Action(*w, "tbImports")->trigger();  // imports hidden
  EXPECT_FALSE(Action(*w, "dmCalls")->isChecked());
  EXPECT_EQ(Tree(*w), "Packages\n    PKGA.DPL\n        PKGB.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
  Action(*w, "dmDplDeps")->trigger();  // dependencies hidden
  EXPECT_FALSE(Action(*w, "tbRecurse")->isChecked());
  EXPECT_EQ(Tree(*w), "Packages\n    PKGA.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
  Action(*w, "dmCalls")->trigger();
  EXPECT_TRUE(Action(*w, "tbImports")->isChecked());
  EXPECT_EQ(Tree(*w), "Packages\n    PKGA.DPL\n        PkgAInit\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
  w.reset();  // settings written back
  TRegIniFile ini("Software\\Vesper");
  EXPECT_TRUE(ini.ReadBool("ExeView", "Calls", false));
  EXPECT_FALSE(ini.ReadBool("ExeView", "Dpls", true));
}

TEST_F(ExeViewScrnTest, ModuleMissingFromSystemFolderHasNoChildren) {
  REQUIRE_PE_FIXTURES();
  setenv("VESPER_SYSTEM_DIR", test::MakeTempSubdir("emptysys").c_str(), 1);
  auto w = Window(false, true);
  w->OpenFile(Fixture("useapp.exe"));
  EXPECT_EQ(Tree(*w), "Packages\n    PKGA.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
}

TEST_F(ExeViewScrnTest, DamagedImportTableClearsTheTree) {
  REQUIRE_PE_FIXTURES();
  std::string pe = test::ReadFile(Fixture("app64.exe"));
  uint32_t idata = TExe32Image(Fixture("app64.exe")).FindSection(".idata")->PointerToRawData;
  std::memcpy(&pe[idata + 12], "\xF0\xFF\xFF\x7F", 4);  // first module's name address
  std::string path = test::MakeTempSubdir("damaged") + "/damaged.exe";
  test::WriteFile(path, pe);
  auto w = Window(true, true);
  w->OpenFile(Fixture("pkga.dpl"));
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrOk).Text("Internal Error 12 scanning .idata in " + path).Type(mtError).Buttons(mbOK);
  w->OpenFile(path);
  dialogs.Verify();
  EXPECT_EQ(Tree(*w), "");
  EXPECT_TRUE(ListRows(*w).empty());
  EXPECT_EQ(w->PanelText(1), "0");
  EXPECT_EQ(w->PanelText(4), "Ready");
}

TEST_F(ExeViewScrnTest, FileWithoutPackageInformationKeepsItsModules) {
  REQUIRE_PE_FIXTURES();
  auto w = Window(true, true);
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrOk).Text("Resource PACKAGEINFO not found").Type(mtError);
  EXPECT_FALSE(RunGuarded([&] { w->OpenFile(Fixture("app64.exe")); }));
  dialogs.Verify();
  // DEP.DLL is imported by ordinal: no function names.
  EXPECT_EQ(Tree(*w), "Packages\nDLL's\n    DEP.DLL\n    KERNEL32.DLL\n        GetTickCount\n        Sleep\nUnits\nUnknown\n");
  EXPECT_NE(w->PanelText(4), "Ready");
}

TEST_F(ExeViewScrnTest, NotAnExecutableLeavesNoFileOpen) {
  REQUIRE_PE_FIXTURES();
  auto w = Window(false, false);
  w->OpenFile(Fixture("pkga.dpl"));
  std::string path = test::MakeTempSubdir("text") + "/text.exe";
  test::WriteFile(path, "just text, no header");
  EXPECT_ANY_THROW(w->OpenFile(path));
  EXPECT_FALSE(w->HasImage());
  EXPECT_NE(Tree(*w), "");  // the tree keeps its content
}

TEST_F(ExeViewScrnTest, ProjectOutputFileFromTheOptionsFile) {
  REQUIRE_PE_FIXTURES();
  std::string dir = test::MakeTempSubdir("proj");
  std::string bin = test::MakeTempSubdir("proj/bin");
  test::WriteFile(dir + "/useapp.dpr", "program useapp;\nbegin\nend.\n");
  test::WriteFile(dir + "/useapp.dof", "[Directories]\nOutputDir=" + bin + "\n");
  test::WriteFile(bin + "/useapp.exe", test::ReadFile(Fixture("useapp.exe")));
  ide::TMemoryToolServices services;
  auto w = Window(false, false);
  w->SetToolServices(&services);
  w->OpenProjectOutput();  // no project: nothing opened
  EXPECT_FALSE(w->HasImage());
  services.OpenProject(dir + "/useapp.dpr");
  w->OpenProjectOutput();
  EXPECT_EQ(w->windowTitle().toStdString(), bin + "/useapp.exe");
  EXPECT_EQ(Tree(*w), "Packages\n    PKGA.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
}

TEST_F(ExeViewScrnTest, MapPrintToPdf) {
  REQUIRE_PE_FIXTURES();
  std::string pdf = test::MakeTempSubdir("print") + "/map.pdf";
  setenv("VESPER_PRINTER", ("pdf:" + pdf).c_str(), 1);
  auto w = Window(true, true);
  EXPECT_TRUE(Action(*w, "fmPrintset")->isEnabled());
  w->OpenFile(Fixture("pkga.dpl"));
  ASSERT_TRUE(Action(*w, "fmPrint")->isEnabled());
  ASSERT_TRUE(Action(*w, "tbPreview")->isEnabled());
  Action(*w, "fmPrint")->trigger();
  test::RunResult text = test::Run({"/usr/bin/pdftotext", "-layout", pdf, "-"});
  ASSERT_EQ(text.exitCode, 0);
  for (std::string expected : {"Map Print", "File Name", "Dependency Type", "Page #", "Dated", "Packages",
                               "    PKGB.DPL", "        Init", "        PKGA.DPL", "    KERNEL32.DLL", "Unknown"})
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
  EXPECT_NE(text.out.find(Fixture("pkga.dpl")), std::string::npos);
}

TEST_F(ExeViewScrnTest, RecentFilesReopen) {
  REQUIRE_PE_FIXTURES();
  TRegistry().DeleteKey("\\Software\\Vesper\\ExeView");
  {
    auto w = Window(false, false);
    w->OpenFile(Fixture("useapp.exe"));
    w->OpenFile(Fixture("pkga.dpl"));
  }
  auto w = Window(false, false);
  auto* reopen = w->findChild<QMenu*>("MruMenu");
  ASSERT_EQ(reopen->actions().size(), 2);
  EXPECT_TRUE(reopen->actions()[0]->text().endsWith("pkga.dpl"));
  reopen->actions()[1]->trigger();
  EXPECT_EQ(w->windowTitle().toStdString(), Fixture("useapp.exe"));
}

}  // namespace
}  // namespace vesper
