#include <gtest/gtest.h>

#include "host/VesperManager.h"
#include "host/tests/HostFixture.h"
#include "ide/MemoryToolServices.h"
#include "ui/ScriptedDialogs.h"

namespace vesper::hosttest {
namespace {

class ExpertTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ide::ToolServices() = &ide_;
  }
  void TearDown() override {
    if (expert_) expert_->Release();
    expert_ = nullptr;
    ide::ToolServices() = nullptr;
    HostTest::TearDown();
  }
  // A stored list with the given records (module, parent menu, shortcut,
  // type, active), as the manager window would have saved it.
  void StoreList(std::function<void(TWizardManager&)> fill) {
    TWizardManager m;
    fill(m);
    m.SaveToRegistry("");
  }
  // A record found by the manager's check of the module, then given the
  // menu texts of the test.
  TWizard& AddRecord(TWizardManager& m, const std::string& fixture, const std::string& parent,
                     const std::string& caption, const std::string& shortcut = "") {
    std::string path = Install(fixture);
    m.CheckWizard(path);
    TWizard* w = m.Wizards().FindByFileName(path);
    if (!w) throw Exception("fixture " + fixture + " was not recorded");
    w->ParentMenuText = parent;
    w->MenuText = caption;
    w->Shortcut = shortcut;
    return *w;
  }
  // The object name of the menu item with this caption.
  std::string ItemNamed(const std::string& caption) {
    std::function<std::string(const ide::MenuNode&)> find = [&](const ide::MenuNode& n) -> std::string {
      for (auto& c : n.Children) {
        if (c->Caption == caption) return c->Name;
        std::string r = find(*c);
        if (!r.empty()) return r;
      }
      return "";
    };
    return find(*ide_.MenuRoot);
  }
  TVesperExpert& Start() {
    expert_ = new TVesperExpert;
    return *expert_;
  }
  std::string Menu() { return ide_.DumpMenu(); }

  ide::TMemoryToolServices ide_;
  TVesperExpert* expert_ = nullptr;
};

TEST_F(ExpertTest, EmptyListGivesTheRootWithAHiddenSeparator) {
  Start();
  std::string menu = Menu();
  EXPECT_NE(menu.find("&Tools [ToolsMenu]\n&Vesper [VespRootItem]\n"
                      "  - [VesperSp1] (hidden)\n"
                      "  &Wizard Manager... [VesperWizardsItem]\n&Help [HelpMenu]\n"),
            std::string::npos)
      << menu;
  EXPECT_EQ(expert_->GetIDString(), "Vesper.WizardManager");
  EXPECT_EQ(expert_->GetName(), "Vesper Wizard Manager");
}

TEST_F(ExpertTest, MenuStructureFollowsTheRecords) {
  StoreList([&](TWizardManager& m) {
    AddRecord(m, "comstd", "Vesper Wizards", "&Standard", "Ctrl+Alt+Q");
    AddRecord(m, "comnorun", "Tools", "&First Tool");
    AddRecord(m, "dllfull", "", "&Other", "Ctrl+Banana");
    AddRecord(m, "classwiz", "TOOLS", "&Second Tool");
    AddRecord(m, "comresident", "Vesper Wizards", "&Resident").WizardType = TWizardType::wtResident;
    TWizard& off = AddRecord(m, "dllbasic", "Vesper Wizards", "&Off");
    off.SetActive(false);
  });
  Start();
  // Shared sub-menus ignore case and take the caption met first from the
  // end; an empty parent goes under "Additional Wizards"; an unparsable
  // shortcut gives none; resident and inactive records get no item.
  EXPECT_NE(Menu().find("&Vesper [VespRootItem]\n"
                        "  Vesper Wizards [VesWiz2Item]\n"
                        "    &Standard [VesWiz7Item] Ctrl+Alt+Q\n"
                        "  TOOLS [VesWiz3Item]\n"
                        "    &First Tool [VesWiz6Item]\n"
                        "    &Second Tool [VesWiz4Item]\n"
                        "  Additional Wizards [VesWiz1Item]\n"
                        "    &Other [VesWiz5Item]\n"
                        "  - [VesperSp1]\n"
                        "  &Wizard Manager... [VesperWizardsItem]\n"),
            std::string::npos)
      << Menu();
  // The resident wizard ran at start.
  auto calls = Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "comresident Execute"), calls.end());
}

TEST_F(ExpertTest, ChoosingAnItemExecutesTheWizardAndExitSavesAndUnloads) {
  StoreList([&](TWizardManager& m) {
    AddRecord(m, "comstd", "Vesper Wizards", "&Standard");
    AddRecord(m, "comsticky", "Vesper Wizards", "&Sticky");
  });
  Start();
  ClearCalls();
  ASSERT_TRUE(ide_.ClickMenu(ItemNamed("&Standard")));
  ASSERT_TRUE(ide_.ClickMenu(ItemNamed("&Sticky")));
  auto calls = Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "comstd Execute"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "comsticky Execute"), calls.end());
  ClearCalls();
  expert_->Release();
  expert_ = nullptr;
  calls = Calls();
  // Forced unloading at exit takes the sticky wizard too.
  EXPECT_NE(std::find(calls.begin(), calls.end(), "comsticky AboutToUnload 5 1"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "comsticky Destroy"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "comstd Destroy"), calls.end());
  EXPECT_EQ(ide_.FindMenu("VespRootItem"), nullptr);
  auto saved = TWizardManager::LoadFromRegistry("");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->Wizards().Count(), 2);
}

TEST_F(ExpertTest, AWizardThatRaisesInExecutePassesItsMessageOn) {
  StoreList([&](TWizardManager& m) { AddRecord(m, "comraises", "Vesper Wizards", "&Raises"); });
  Start();
  std::string item = ItemNamed("&Raises");
  try {
    ide_.ClickMenu(item);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Fixture failure");
  }
  // The IDE keeps running: a second click reaches the wizard again.
  EXPECT_THROW(ide_.ClickMenu(item), Exception);
}

TEST_F(ExpertTest, MissingModuleQuestionAnsweredNoDeactivatesAndAsksAgain) {
  std::string path;
  StoreList([&](TWizardManager& m) { path = AddRecord(m, "comstd", "Vesper Wizards", "&Standard").DLLName(); });
  std::remove(path.c_str());
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrNo).Text("Fixture.comstd (" + path + ") not found.\rRemove it?").Buttons(mbYesNo);
  Start();
  dialogs.Verify();
  ASSERT_EQ(expert_->WizardManager()->Wizards().Count(), 1);
  EXPECT_FALSE(expert_->WizardManager()->Wizards().Items(0)->Active());
  EXPECT_NE(Menu().find("  - [VesperSp1] (hidden)"), std::string::npos);
  dialogs.ExpectMessage(mrYes).Buttons(mbYesNo);
  expert_->WizardManager()->ForceCheckTimeStamps();
  EXPECT_EQ(expert_->WizardManager()->Wizards().Count(), 0);
}

TEST_F(ExpertTest, MenuFailuresAndADamagedList) {
  {
    TRegistry reg;
    reg.OpenKey("\\Software\\Vesper", true);
    reg.WriteBinaryData("WizardInfo", "TPF0\x0eTWizardMan", 15);
  }
  Start();  // a damaged list starts empty
  EXPECT_EQ(expert_->WizardManager()->Wizards().Count(), 0);
  expert_->Release();
  expert_ = nullptr;

  ide_.FindMenu("HelpMenu")->Name = "Other";
  try {
    Start();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Unable to find Help menu");
    expert_ = nullptr;
  }
  ide_.HasMainMenu = false;
  EXPECT_THROW(
      {
        try {
          Start();
        } catch (...) {
          expert_ = nullptr;
          throw;
        }
      },
      Exception);
  ide::ToolServices() = nullptr;
  try {
    Start();
  } catch (const Exception& e) {
    expert_ = nullptr;
    EXPECT_EQ(e.Message(), "No tool services");
  }
}

TEST(ExpertIdeKind, BaseKeyDecidesKindAndVersion) {
  struct Case { const char* key; TIDEType kind; int version; } cases[] = {
      {"Software\\Borland\\Delphi\\3.0", TIDEType::ideDelphi, 300},
      {"Software\\Borland\\C++Builder\\3.0", TIDEType::ideCPPBuilder, 300},
      {"software\\borland\\c++builder\\1.0", TIDEType::ideCPPBuilder, 200},
      {"Software\\Other\\IDE", TIDEType::ideDelphi, 200},
  };
  for (auto& c : cases) {
    TIDEType kind;
    int32_t version;
    IdeKindOfBaseKey(c.key, kind, version);
    EXPECT_EQ(kind, c.kind) << c.key;
    EXPECT_EQ(version, c.version) << c.key;
  }
}

}  // namespace
}  // namespace vesper::hosttest
