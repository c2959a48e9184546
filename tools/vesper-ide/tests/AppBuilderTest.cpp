#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "ide/ExptIntf.h"
#include "ide/MenuTree.h"
#include "platform/Registry.h"
#include "tests/support/TestSupport.h"
#include "tools/vesper-ide/AppBuilder.h"
#include "tools/vesper-ide/CodeEditor.h"
#include "tools/vesper-ide/ExpertLoader.h"
#include "tools/vesper-ide/IdeToolServices.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

using namespace vesper;
using namespace vesper::ide_app;
using vesper::test::BuildDir;
using vesper::test::MakeTempSubdir;
using vesper::test::WriteFile;

namespace {

const char* kPackages = "\\Software\\Borland\\Delphi\\3.0\\Known Packages";

// Known Packages holds the fixture package alone.
void RegisterFixturePackage() {
  TRegistry reg;
  reg.DeleteKey(kPackages);
  ASSERT_TRUE(reg.OpenKey(kPackages, true));
  reg.WriteString(BuildDir() + "/test-modules/fixturepkg.dpl", "Fixture package");
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "vesper_ide_tests";
  static char* argv[] = {name, nullptr};
  static TApplication* app = new TApplication(argc, argv);
  return *app;
}

// The IDE as main() assembles it.
struct Ide {
  AppBuilder window;
  IdeToolServices* services = new IdeToolServices(window, false);
  Ide() { ide::ToolServices() = services; }
  ~Ide() {
    ide::ToolServices() = nullptr;
    services->Release();
  }
};

QStringList TopMenuNames(QMainWindow& w) {
  QStringList names;
  for (QAction* a : w.menuBar()->actions())
    if (a->menu()) names << a->menu()->objectName();
  return names;
}

}  // namespace

TEST(StandInIde, LoadsPackagesFromTheRegistryAndReleasesTheirExperts) {
  App();
  RegisterFixturePackage();
  Ide ide;
  TScriptedDialogs dialogs;
  {
    ExpertLoader loader(ide.services, IdeToolServices::BaseKeyFor(false));
    EXPECT_TRUE(loader.LoadAll().empty());
    ASSERT_EQ(loader.Experts().size(), 1u);
    ProcessMessages();  // the menu bar follows the tree on the next pass
    QStringList names = TopMenuNames(ide.window);
    int fixture = names.indexOf("FixtureRoot");
    ASSERT_GE(fixture, 0);
    EXPECT_EQ(names.value(fixture + 1), "HelpMenu");
    auto* item = ide.window.findChild<QAction*>("FixtureClick");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+Alt+K"));
    // The click reaches the expert, whose exception the IDE shows.
    dialogs.ExpectMessage(mrOk).Text("fixture clicked 1").Type(mtError);
    item->trigger();
    dialogs.Verify();
  }
  ProcessMessages();
  EXPECT_EQ(TopMenuNames(ide.window).indexOf("FixtureRoot"), -1);
}

TEST(StandInIde, ReportsAPackageThatFailsAndGoesOn) {
  App();
  RegisterFixturePackage();
  {
    TRegistry reg;
    reg.OpenKey(kPackages, true);
    reg.WriteString(test::TempDir() + "/missing.dpl", "Missing");
    WriteFile(test::TempDir() + "/notalib.dpl", "not a library");
    reg.WriteString(test::TempDir() + "/notalib.dpl", "Broken");
  }
  Ide ide;
  ExpertLoader loader(ide.services, IdeToolServices::BaseKeyFor(false));
  auto failures = loader.LoadAll();
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_NE(failures[0].find("Can't load package"), std::string::npos);
  EXPECT_EQ(loader.Experts().size(), 1u);
}

TEST(StandInIde, ToolServicesActOnTheEditor) {
  App();
  std::string dir = MakeTempSubdir("ide");
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\r\n";
  WriteFile(dir + "/Unit1.pas", text);
  WriteFile(dir + "/P.dpr", "program P;\r\nuses\r\n  Unit1 in 'Unit1.pas';\r\nbegin\r\nend.\r\n");
  WriteFile(dir + "/Unit2.pas", "unit Unit2;\r\n");
  Ide ide;
  ide.window.resize(800, 600);
  ide.window.show();
  ide::TIToolServices* ts = ide.services;

  EXPECT_EQ(ts->GetBaseRegistryKey(), "Software\\Borland\\Delphi\\3.0");
  EXPECT_EQ(IdeToolServices(ide.window, true).GetBaseRegistryKey(), "Software\\Borland\\C++Builder\\3.0");
  ASSERT_TRUE(ts->OpenProject(dir + "/P.dpr"));
  EXPECT_EQ(ts->GetProjectName(), dir + "/P.dpr");
  ASSERT_EQ(ts->GetUnitCount(), 1);
  EXPECT_EQ(ts->GetUnitName(0), dir + "/Unit1.pas");

  ASSERT_TRUE(ts->OpenFile(dir + "/Unit1.pas"));
  EXPECT_TRUE(ts->IsFileOpen(dir + "/UNIT1.PAS"));
  EXPECT_EQ(ts->GetCurrentFile(), dir + "/Unit1.pas");
  ide::InterfaceRef<ide::TIModuleInterface> module(ts->GetModuleInterface(dir + "/Unit1.pas"));
  ASSERT_TRUE(module);
  ide::InterfaceRef<ide::TIEditorInterface> editor(module->GetEditorInterface());
  EXPECT_EQ(editor->LinesInBuffer(), 201);
  ide::InterfaceRef<ide::TIEditView> view(editor->GetView(0));
  view->SetTopPos({1, 120});
  view->SetCursorPos({3, 125});
  ProcessMessages();
  EXPECT_EQ(view->GetCursorPos().Line, 125);
  EXPECT_EQ(view->GetCursorPos().Col, 3);
  EXPECT_EQ(view->GetTopPos().Line, 120);
  EXPECT_GT(view->GetViewSize().cy, 5);
  EXPECT_EQ(ide.window.ActiveEditor()->textCursor().block().text(), "line 125");

  // Adding an existing file to the project shows it and writes the uses clause.
  ASSERT_TRUE(ts->CreateModule(dir + "/Unit2.pas", ide::cmAddToProject | ide::cmShowSource | ide::cmExisting));
  EXPECT_EQ(ts->GetUnitCount(), 2);
  EXPECT_EQ(ts->GetCurrentFile(), dir + "/Unit2.pas");
  EXPECT_NE(test::ReadFile(dir + "/P.dpr").find("Unit2 in 'Unit2.pas';"), std::string::npos);

  EXPECT_TRUE(ts->CloseFile(dir + "/Unit2.pas"));
  EXPECT_FALSE(ts->IsFileOpen(dir + "/Unit2.pas"));
  EXPECT_EQ(ts->GetModuleInterface(dir + "/Unit2.pas"), nullptr);
  EXPECT_TRUE(ts->CloseProject());
  EXPECT_EQ(ts->GetProjectName(), "");
}

TEST(StandInIde, DumpMenuShowsWhatThePackagesAdded) {
  RegisterFixturePackage();
  auto r = test::Run({test::BinPath("vesper-ide"), "--dump-menu"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  size_t fixture = r.out.find("&Fixture [FixtureRoot]\n  &Click Me [FixtureClick] Ctrl+Alt+K\n");
  ASSERT_NE(fixture, std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("&Help [HelpMenu]"), r.out.find('\n', fixture + 40) + 1);
  EXPECT_NE(r.out.find("&Run [RunRunItem] F9 (disabled)"), std::string::npos);
}
