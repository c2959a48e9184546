#include <gtest/gtest.h>

#include <QPushButton>

#include <cstdlib>
#include <filesystem>

#include "shared/controls/FolderBrowserDialog.h"
#include "shared/controls/VesBrowseFolder.h"
#include "tests/support/TestSupport.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

namespace vesper {
namespace {

class BrowseFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    folder_ = test::MakeTempSubdir("browse");
    std::filesystem::create_directory(folder_ + "/sub");
    test::WriteFile(folder_ + "/file.txt", "x");
  }
  std::string folder_;
};

TEST_F(BrowseFolderTest, PropertiesAndFlagValues) {
  TVesBrowseFolder browse;
  EXPECT_EQ(browse.RootFolder(), foDesktopExpanded);
  EXPECT_EQ(browse.CustomButtonWidth(), 75);
  EXPECT_TRUE(browse.CustomButtonEnabled());
  browse.SetCustomButtonWidth(120);
  EXPECT_EQ(browse.CustomButtonWidth(), 120);
  browse.SetCustomButtonWidth(0);
  EXPECT_EQ(browse.CustomButtonWidth(), 75);
  browse.SetCustomButtonWidth(-4);
  EXPECT_EQ(browse.CustomButtonWidth(), 75);

  EXPECT_EQ(BrowseFlagsValue(0), 0u);
  EXPECT_EQ(BrowseFlagsValue(BrowseFlag(bfFileSysDirsOnly) | BrowseFlag(bfStatusText) |
                             BrowseFlag(bfBrowseForPrinter)),
            0x2005u);
  EXPECT_EQ(SH_FOLDERS_ARRAY[foDesktopExpanded], -1);
  EXPECT_EQ(SH_FOLDERS_ARRAY[foTemplates], 21);
}

TEST_F(BrowseFolderTest, RootFolderMapsToAFolderOrTheWholeTree) {
  std::string home = test::MakeTempSubdir("home");
  std::filesystem::create_directory(home + "/Desktop");
  const char* oldHome = std::getenv("HOME");
  std::string saved = oldHome ? oldHome : "";
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(RootPathOf(foDesktopExpanded), "");
  EXPECT_EQ(RootPathOf(foDesktop), home + "/Desktop");
  EXPECT_EQ(RootPathOf(foMyComputer), "/");
  EXPECT_EQ(RootPathOf(foNetwork), "");  // no such folder here

  TScriptedDialogs dialogs;
  TVesBrowseFolder browse;
  browse.SetRootFolder(foDesktop);
  dialogs.ExpectModal([&](QWidget& window) {
    EXPECT_EQ(dynamic_cast<TFolderBrowserDialog&>(window).Root(), home + "/Desktop");
    return mrCancel;
  });
  EXPECT_FALSE(browse.Execute());
  setenv("HOME", saved.c_str(), 1);
}

TEST_F(BrowseFolderTest, OkOnlyForARealFolderAndTheExtraButtonClicks) {
  TScriptedDialogs dialogs;
  TVesBrowseFolder browse;
  browse.SetDirectory(folder_);
  browse.SetTitle("Select the folder:");
  browse.SetShowPathInStatusArea(true);
  browse.SetCustomButtonVisible(true);
  browse.SetCustomButtonCaption("&Make Folder");
  browse.SetCustomButtonWidth(0);
  int initialized = 0, clicks = 0;
  TDialogHandle clickedOn = nullptr;
  std::vector<std::string> selections;
  browse.OnInitialized = [&](TVesBrowseFolder&, TDialogHandle) { ++initialized; };
  browse.OnCustomButtonClick = [&](TVesBrowseFolder& sender, TDialogHandle handle) {
    EXPECT_EQ(&sender, &browse);
    ++clicks;
    clickedOn = handle;
  };
  browse.OnSelectionChanged = [&](TVesBrowseFolder&, TDialogHandle, const TItemIDList&,
                                  const std::string& path) { selections.push_back(path); };

  dialogs.ExpectModal([&](QWidget& window) {
    auto& dialog = dynamic_cast<TFolderBrowserDialog&>(window);
    EXPECT_EQ(browse.DialogHandle(), &window);
    EXPECT_EQ(initialized, 1);
    EXPECT_EQ(dialog.Title(), "Select the folder:");
    EXPECT_EQ(dialog.SelectedPath(), folder_);
    EXPECT_TRUE(dialog.OKEnabled());
    std::string shortened;
    CompressString(folder_, "/", "...", shortened, 35);
    EXPECT_EQ(dialog.StatusText(), shortened);

    browse.SetSelectionPath(&window, folder_ + "/missing");
    EXPECT_FALSE(dialog.OKEnabled());
    browse.SetSelectionPath(&window, folder_ + "/file.txt");
    EXPECT_FALSE(dialog.OKEnabled());
    browse.SetSelectionPIDL(&window, folder_ + "/sub");
    EXPECT_TRUE(dialog.OKEnabled());
    EXPECT_EQ(browse.SelectionPath(), folder_ + "/sub");

    auto* button = window.findChild<QPushButton*>("CustomButton");
    EXPECT_EQ(button->text(), "&Make Folder");
    EXPECT_EQ(button->width(), 75);
    browse.SetCustomButtonCaption("&New");
    EXPECT_EQ(button->text(), "&New");
    button->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clickedOn, &window);
    browse.SetCustomButtonEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    browse.SetSyncCustomButton(true);
    browse.EnableOK(&window, true);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(browse.CustomButtonEnabled());

    window.findChild<QPushButton*>("OKButton")->click();
    return mrOk;
  });
  ASSERT_TRUE(browse.Execute());
  EXPECT_EQ(browse.Directory(), folder_ + "/sub");
  EXPECT_EQ(browse.DisplayName(), "sub");
  EXPECT_EQ(browse.DialogHandle(), nullptr);
  EXPECT_EQ(selections.front(), folder_);
  EXPECT_EQ(selections.back(), folder_ + "/sub");
}

TEST_F(BrowseFolderTest, CancelOrNoFolderLeavesDirectory) {
  TScriptedDialogs dialogs;
  TVesBrowseFolder browse;
  browse.SetDirectory(folder_ + "/missing");  // not preselected
  dialogs.ExpectModal([&](QWidget& window) {
    EXPECT_EQ(dynamic_cast<TFolderBrowserDialog&>(window).SelectedPath(), "");
    EXPECT_EQ(window.findChild<QPushButton*>("CustomButton")->isVisible(), false);
    return mrOk;  // OK without a folder chooses nothing
  });
  EXPECT_FALSE(browse.Execute());
  dialogs.ExpectModal([&](QWidget& window) {
    browse.SetSelectionPath(&window, folder_);
    return mrCancel;
  });
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(browse.Directory(), folder_ + "/missing");
}

}  // namespace
}  // namespace vesper
