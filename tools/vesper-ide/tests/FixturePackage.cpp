// A design-time package for the IDE tests: its Register adds an expert whose
// construction inserts "&Fixture" before Help and whose release removes it.
#include <cstdio>

#include "ide/ExptIntf.h"

using namespace vesper::ide;

namespace {

int g_clicks = 0;

class FixtureExpert : public TIExpert {
 public:
  FixtureExpert() {
    InterfaceRef<TIMainMenuIntf> menu(ToolServices()->GetMainMenu());
    InterfaceRef<TIMenuItemIntf> items(menu->GetMenuItems());
    InterfaceRef<TIMenuItemIntf> help(menu->FindMenuItem("HelpMenu"));
    root_ = items->InsertItem(help->GetIndex(), "&Fixture", "FixtureRoot", "", 0, 0, 0, mfEnabled | mfVisible,
                              nullptr);
    item_ = root_->InsertItem(0, "&Click Me", "FixtureClick", "", TextToShortCut("Ctrl+Alt+K"), 0, 0,
                              mfEnabled | mfVisible, [](TIMenuItemIntf*) {
                                ++g_clicks;
                                ToolServices()->RaiseException("fixture clicked " + std::to_string(g_clicks));
                              });
  }
  ~FixtureExpert() override {
    item_->Release();
    root_->Release();
    std::fprintf(stderr, "fixture expert released\n");
  }
  std::string GetName() override { return "Fixture Expert"; }
  std::string GetAuthor() override { return "Tests"; }
  std::string GetComment() override { return ""; }
  std::string GetPage() override { return ""; }
  void* GetGlyph() override { return nullptr; }
  TExpertStyle GetStyle() override { return TExpertStyle::esAddIn; }
  int GetState() override { return esEnabled; }
  std::string GetIDString() override { return "Tests.Fixture"; }
  std::string GetMenuText() override { return ""; }
  void Execute() override {}

 private:
  TIMenuItemIntf* root_;
  TIMenuItemIntf* item_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void Register() { RegisterLibraryExpert(new FixtureExpert); }
