#include <gtest/gtest.h>

#include "ide/ExptIntf.h"
#include "ide/MemoryToolServices.h"

using namespace vesper::ide;

TEST(Menus, ShortCutTexts) {
  struct Case { const char* text; TShortCut sc; } cases[] = {
      {"Ctrl+Alt+R", TShortCut(scCtrl | scAlt | 'R')},
      {"ctrl+shift+f1", TShortCut(scCtrl | scShift | vkF1)},
      {"Alt+Ins", TShortCut(scAlt | vkInsert)},
      {"F12", TShortCut(vkF1 + 11)},
      {"", scNone},
      {"Ctrl+", scNone},
      {"Ctrl+Banana", scNone},
      {"Hyper+X", scNone},
  };
  for (auto& c : cases) EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
  EXPECT_EQ(ShortCutToText(TShortCut(scCtrl | scAlt | 'E')), "Ctrl+Alt+E");
  EXPECT_EQ(ShortCutToText(0), "");
}

TEST(MemoryToolServices, InsertedItemsGoAwayWhenReleased) {
  TMemoryToolServices ide;
  TIMainMenuIntf* menu = ide.GetMainMenu();
  TIMenuItemIntf* items = menu->GetMenuItems();
  TIMenuItemIntf* help = menu->FindMenuItem("HelpMenu");
  ASSERT_NE(help, nullptr);
  int helpIndex = help->GetIndex();
  TIMenuItemIntf* root = items->InsertItem(helpIndex, "&Vesper", "VespRootItem", "", 0, 0, 0,
                                           mfEnabled | mfVisible, nullptr);
  int clicks = 0;
  TIMenuItemIntf* child = root->InsertItem(0, "&Go", "GoItem", "", TextToShortCut("Ctrl+G"), 0, 0,
                                           mfEnabled | mfVisible, [&](TIMenuItemIntf*) { ++clicks; });
  help->Release();
  items->Release();
  menu->Release();
  // Releasing view objects removed nothing; the Help menu follows "&Vesper".
  EXPECT_EQ(ide.MenuRoot->Children[size_t(helpIndex)]->Name, "VespRootItem");
  EXPECT_EQ(ide.MenuRoot->Children[size_t(helpIndex) + 1]->Name, "HelpMenu");
  EXPECT_TRUE(ide.ClickMenu("GoItem"));
  EXPECT_EQ(clicks, 1);
  child->SetFlags(mfVisible, 0);
  EXPECT_NE(ide.DumpMenu().find("  &Go [GoItem] Ctrl+G (hidden)"), std::string::npos);
  root->Release();  // removes the root with its child
  EXPECT_EQ(ide.FindMenu("VespRootItem"), nullptr);
  EXPECT_EQ(ide.FindMenu("GoItem"), nullptr);
  EXPECT_FALSE(child->SetCaption("x"));  // its item is gone
  child->Release();
}

TEST(MemoryToolServices, FilesModulesAndViews) {
  TMemoryToolServices ide;
  EXPECT_FALSE(ide.IsFileOpen("/p/a.pas"));
  EXPECT_EQ(ide.GetModuleInterface("/p/a.pas"), nullptr);
  ide.OpenFile("/p/a.pas");
  ide.Files["/p/a.pas"].Text = "unit a;\ninterface\nend.";
  InterfaceRef<TIModuleInterface> module(ide.GetModuleInterface("/p/a.pas"));
  ASSERT_TRUE(module);
  InterfaceRef<TIEditorInterface> editor(module->GetEditorInterface());
  EXPECT_EQ(editor->LinesInBuffer(), 3);
  InterfaceRef<TIEditView> view(editor->GetView(0));
  view->SetTopPos({1, 2});
  view->SetCursorPos({1, 3});
  EXPECT_EQ(view->GetCursorPos().Line, 3);
  ide.CreateModule("/p/b.pas", cmAddToProject | cmShowSource | cmExisting);
  EXPECT_EQ(ide.GetUnitCount(), 1);
  EXPECT_EQ(ide.GetCurrentFile(), "/p/b.pas");
  ide.RaiseException("boom");
  EXPECT_EQ(ide.RaisedMessages.back(), "boom");
  EXPECT_FALSE(RegisterLibraryExpert(nullptr));  // no IDE registrar outside an IDE
}
