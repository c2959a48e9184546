#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/StringList.h"
#include "shared/aux/VesF2Reg.h"
#include "shared/aux/VesMrulist.h"
#include "shared/aux/VesRochekbx.h"
#include "shared/aux/VesShellMods.h"
#include "shared/aux/VesStr.h"
#include "shared/aux/VesTovcrule.h"
#include "tests/support/TestSupport.h"
#include "ui/Application.h"
#include "ui/ScriptedDialogs.h"

namespace vesper {
namespace {

std::vector<std::string> Pieces(const TStrings& list) {
  std::vector<std::string> pieces;
  for (int i = 0; i < list.Count(); ++i) pieces.push_back(list.Strings(i));
  return pieces;
}

TEST(VesStr, ParseSplitsAtAnyDelimiter) {
  TStringList list;
  list.Add("stale");
  Parse("*.pas; *.inc,*.dpr", ",;", list);
  EXPECT_EQ(Pieces(list), (std::vector<std::string>{"*.pas", " *.inc", "*.dpr"}));
  Parse("a;;b;", ";", list);
  EXPECT_EQ(Pieces(list), (std::vector<std::string>{"a", "", "b", ""}));
  Parse("", ";", list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(VesStr, GetTempFileMakesANewFileWithThePrefix) {
  std::string first, second;
  GetTempFile("grp", first);
  GetTempFile("grp", second);
  EXPECT_NE(first, second);
  EXPECT_TRUE(FileExists(first));
  EXPECT_EQ(ExtractFileName(first).substr(0, 3), "grp");
  EXPECT_EQ(ExtractFilePath(first), GetTempDir());
  std::remove(first.c_str());
  std::remove(second.c_str());
}

class AuxUiTest : public testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }
};

TEST_F(AuxUiTest, FontRoundTripsThroughTheRegistry) {
  const std::string key = "Software\\Vesper\\Grep";
  TVesFontReg store;
  EXPECT_FALSE(store.ReadFromRegistry(key, "Font"));
  QFont font(QStringLiteral("Courier New"), 11);
  font.setBold(true);
  font.setItalic(true);
  store.SetFont(font);
  store.WriteToRegistry(key, "Font");

  TVesFontReg reader;
  ASSERT_TRUE(reader.ReadFromRegistry(key, "Font"));
  EXPECT_EQ(reader.Font().family(), font.family());
  EXPECT_EQ(reader.Font().pointSize(), 11);
  EXPECT_TRUE(reader.Font().bold());
  EXPECT_TRUE(reader.Font().italic());

  // Wrong type or garbage reads as no font stored.
  TRegistry reg;
  reg.OpenKey("\\" + key, true);
  reg.WriteInteger("Font", 3);
  reg.WriteString("Other", "");
  EXPECT_FALSE(reader.ReadFromRegistry(key, "Font"));
  EXPECT_FALSE(reader.ReadFromRegistry(key, "Other"));
  EXPECT_TRUE(reader.Font().bold());  // unchanged
}

TEST_F(AuxUiTest, DialogStatesRoundTripThroughTheRegistry) {
  std::string folder = test::MakeTempSubdir("states");
  TFileDialogRequest open;
  open.stateKey = "GrepOpen";
  open.filterIndex = 3;
  open.files = {folder + "/a.pas", folder + "/b.pas"};
  WriteOpenDlgState(open);

  TFileDialogRequest again;
  again.stateKey = "grepopen";  // registry keys ignore case
  ReadOpenDlgState(again);
  EXPECT_EQ(again.initialDir, folder);
  EXPECT_EQ(again.filterIndex, 3);

  TFileDialogRequest save;
  save.stateKey = "Report";
  save.fileName = folder + "/out.txt";
  WriteSaveDlgState(save);
  TFileDialogRequest saveAgain;
  saveAgain.stateKey = "Report";
  ReadSaveDlgState(saveAgain);
  EXPECT_EQ(saveAgain.initialDir, folder);
  EXPECT_EQ(saveAgain.filterIndex, 1);

  TFolderRequest browse;
  browse.stateKey = "SearchFolder";
  browse.directory = folder;
  WriteBrowseState(browse);
  TFolderRequest browseAgain;
  browseAgain.stateKey = "SearchFolder";
  ReadBrowseState(browseAgain);
  EXPECT_EQ(browseAgain.directory, folder);

  // A folder that went away is not offered; no key, no state.
  browse.directory = folder + "/gone";
  WriteBrowseState(browse);
  browseAgain.directory = "/start";
  ReadBrowseState(browseAgain);
  EXPECT_EQ(browseAgain.directory, "/start");
  TFileDialogRequest keyless;
  ReadOpenDlgState(keyless);
  EXPECT_EQ(keyless.initialDir, "");

  // The dialogs service remembers its folders in the registry once asked.
  UseRegistryDialogStates();
  DialogStates().WriteFolder("Service", folder);
  EXPECT_EQ(TRegistryDialogStateStore().ReadFolder("SERVICE"), folder);
  SetDialogStates(nullptr);
}

class MRUTest : public AuxUiTest {
 protected:
  void SetUp() override {
    AuxUiTest::SetUp();
    folder_ = test::MakeTempSubdir("mru");
    for (const char* name : {"a.pas", "b.pas", "c & d.pas"})
      test::WriteFile(folder_ + "/" + name, "x");
    file_ = menu_.addAction(QStringLiteral("&Open..."));
    menu_.addAction(QStringLiteral("&Save"));
  }
  std::string Path(const char* name) const { return folder_ + "/" + name; }
  std::vector<QString> Captions(const TVesMRUFileList& list) const {
    std::vector<QString> captions;
    for (QAction* action : list.Submenu()->actions()) captions.push_back(action->text());
    return captions;
  }

  std::string folder_;
  QMenu menu_;
  QAction* file_;
};

TEST_F(MRUTest, RecentFilesFirstKeptInTheRegistry) {
  {
    TVesMRUFileList list;
    list.SetAutoSaveName("Software\\Vesper\\Notepad");
    list.SetFileMenu(file_);
    ASSERT_NE(list.Submenu(), nullptr);
    EXPECT_EQ(list.Submenu()->title(), "&Reopen");
    EXPECT_EQ(menu_.actions()[1], list.Submenu()->menuAction());  // right after the item
    EXPECT_FALSE(list.Submenu()->isEnabled());
    list.AddItem(Path("a.pas"));
    list.AddItem(Path("b.pas"));
    list.AddItem(Path("c & d.pas"));
    list.AddItem(Path("a.pas"));  // moves to the top
    EXPECT_EQ(list.Items(), (std::vector<std::string>{Path("a.pas"), Path("c & d.pas"),
                                                      Path("b.pas")}));
    EXPECT_EQ(Captions(list)[1], QString::fromStdString("&2 " + folder_ + "/c && d.pas"));
    EXPECT_TRUE(list.Submenu()->isEnabled());
  }
  TVesMRUFileList reread;
  reread.SetAutoSaveName("Software\\Vesper\\Notepad");
  EXPECT_EQ(reread.Items(), (std::vector<std::string>{Path("a.pas"), Path("c & d.pas"),
                                                      Path("b.pas")}));
  reread.SetMaxItems(2);
  TVesMRUFileList trimmed;
  trimmed.SetAutoSaveName("Software\\Vesper\\Notepad");
  EXPECT_EQ(trimmed.Items().size(), 2u);
  TVesMRUFileList other;
  other.SetAutoSaveName("Software\\Vesper\\Grep");
  EXPECT_TRUE(other.Items().empty());
}

TEST_F(MRUTest, ChoosingGivesTheFileAndDropsAMissingOne) {
  TScriptedDialogs dialogs;
  TVesMRUFileList list;
  list.SetAutoSaveName("Software\\Vesper\\Explorer");
  list.SetFileMenu(file_);
  std::vector<std::string> chosen;
  list.OnMRUItemClick = [&](TVesMRUFileList&, const std::string& file) { chosen.push_back(file); };
  list.AddItem(Path("gone.pas"));  // kept until chosen
  list.AddItem(Path("b.pas"));
  ASSERT_EQ(list.Items().size(), 2u);

  list.Submenu()->actions()[0]->trigger();
  EXPECT_EQ(chosen, std::vector<std::string>{Path("b.pas")});
  dialogs.ExpectMessage(mrOk).Type(mtWarning).Text(
      "File " + Path("gone.pas") + " no longer exists. It was removed from the list.");
  list.Submenu()->actions()[1]->trigger();
  ProcessMessages();
  EXPECT_EQ(chosen.size(), 1u);
  EXPECT_EQ(list.Items(), std::vector<std::string>{Path("b.pas")});
  EXPECT_EQ(list.Submenu()->actions().size(), 1);
  TVesMRUFileList reread;
  reread.SetAutoSaveName("Software\\Vesper\\Explorer");
  EXPECT_EQ(reread.Items(), std::vector<std::string>{Path("b.pas")});
}

TEST_F(AuxUiTest, ReadOnlyCheckBoxIgnoresTheUser) {
  TVesRoCheckBox box;
  box.SetReadOnly(true);
  box.click();
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QKeyEvent spaceUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(&box, &space);
  QApplication::sendEvent(&box, &spaceUp);
  EXPECT_FALSE(box.isChecked());
  box.setChecked(true);  // the program still can
  EXPECT_TRUE(box.isChecked());
  box.SetReadOnly(false);
  box.click();
  EXPECT_FALSE(box.isChecked());
}

TEST_F(AuxUiTest, RulerEditorShowsItsRulerOnRequest) {
  QWidget form;
  TVesRulerTextFileEditor editor(&form);
  EXPECT_TRUE(editor.ShowRuler());
  editor.SetShowRuler(false);
  EXPECT_FALSE(editor.ShowRuler());
  editor.SetText("line one\nline two");
  EXPECT_EQ(editor.LineCount(), 2);
}

}  // namespace
}  // namespace vesper
