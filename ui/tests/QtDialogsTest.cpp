// The default service's real Qt dialogs, built offscreen and closed by a
// zero-timeout timer that acts on the modal dialog as a user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TestSupport.h"
#include "ui/FindDialog.h"
#include "ui/QtDialogs.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class QtDialogsTest : public test::UiTest {
 protected:
  // Runs `act` on the modal widget once the dialog is up.
  template <typename T>
  void WhenShown(std::function<void(T&)> act) {
    QTimer::singleShot(0, [act] {
      auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
      ASSERT_NE(w, nullptr);
      act(*w);
    });
  }
  TQtDialogs dialogs_;
};

}  // namespace

TEST_F(QtDialogsTest, MessageBoxShowsTextButtonsAndReturnsTheChoice) {
  WhenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "Language alteration");
    EXPECT_EQ(box.text(), "Changing <b>x</b> to another\nlanguage");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    EXPECT_EQ(box.buttons().size(), 3);
    ASSERT_NE(box.defaultButton(), nullptr);
    EXPECT_EQ(box.standardButton(box.defaultButton()), QMessageBox::Cancel);
    box.button(QMessageBox::No)->click();
  });
  TMessageBoxRequest request;
  request.text = "Changing <b>x</b> to another\rlanguage";
  request.caption = "Language alteration";
  request.type = mtConfirmation;
  request.buttons = mbYesNoCancel;
  request.defaultButton = mrCancel;
  EXPECT_EQ(dialogs_.MessageBox(request), mrNo);
}

TEST_F(QtDialogsTest, MessageBoxClosedWithoutAChoiceGivesTheSafeAnswer) {
  WhenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    box.reject();
  });
  TMessageBoxRequest request;
  request.text = "Internal Error 12";
  request.type = mtError;
  request.buttons = mbAbortRetryIgnore;
  EXPECT_EQ(dialogs_.MessageBox(request), mrAbort);
}

TEST_F(QtDialogsTest, InputBoxReturnsTheText) {
  WhenShown<QInputDialog>([](QInputDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Tab Size");
    EXPECT_EQ(d.labelText(), "Enter Tab Size");
    EXPECT_EQ(d.textValue(), "2");
    d.setTextValue(QString::fromUtf8("8\u00e9"));
    d.accept();
  });
  std::string value = "2";
  ASSERT_TRUE(dialogs_.InputQuery("Tab Size", "Enter Tab Size", value));
  EXPECT_EQ(value, "8\xe9");  // back in the ANSI code page
  WhenShown<QInputDialog>([](QInputDialog& d) { d.reject(); });
  EXPECT_FALSE(dialogs_.InputQuery("Tab Size", "Enter Tab Size", value));
  EXPECT_EQ(value, "8\xe9");
}

TEST_F(QtDialogsTest, OpenAndSaveDialogsMapFiltersAndNames) {
  std::string dir = test::MakeTempSubdir("filedialogs");
  test::WriteFile(dir + "/a.pas", "");
  test::WriteFile(dir + "/b.txt", "");
  WhenShown<QFileDialog>([dir](QFileDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Open");
    EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d.nameFilters(), QStringList({"Text (*.txt)", "Pascal (*.pas *.inc)"}));
    EXPECT_EQ(d.selectedNameFilter(), "Pascal (*.pas *.inc)");
    EXPECT_EQ(d.directory().absolutePath(), QString::fromStdString(dir));
    d.selectNameFilter("Text (*.txt)");
    d.selectFile("b.txt");
    static_cast<QDialog&>(d).accept();  // as the Open button does
  });
  TFileDialogRequest open;
  open.filter = "Text|*.txt|Pascal|*.pas;*.inc";
  open.filterIndex = 2;
  open.initialDir = dir;
  ASSERT_TRUE(dialogs_.OpenDialog(open));
  EXPECT_EQ(open.fileName, dir + "/b.txt");
  EXPECT_EQ(open.filterIndex, 1);

  WhenShown<QFileDialog>([](QFileDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Save Favourites");
    EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
    d.selectFile("list");
    static_cast<QDialog&>(d).accept();
  });
  TFileDialogRequest save;
  save.title = "Save Favourites";
  save.filter = "Favourite Files (*.fav)|*.fav";
  save.defaultExt = "fav";
  save.fileName = dir + "/old.fav";
  ASSERT_TRUE(dialogs_.SaveDialog(save));
  EXPECT_EQ(save.fileName, dir + "/list.fav");

  WhenShown<QFileDialog>([](QFileDialog& d) { d.reject(); });
  EXPECT_FALSE(dialogs_.SaveDialog(save));
}

TEST_F(QtDialogsTest, FindDialogIsNonModalAndReportsEachPress) {
  QWidget owner;
  std::vector<TFindEvent> seen;
  TFindRequest request;
  request.findText = "Unit";
  request.options = frMatchCase;  // not down: searches backward
  request.owner = &owner;
  request.position = QPoint(150, 150);
  request.onFind = [&](const TFindEvent& e) { seen.push_back(e); };
  dialogs_.ShowFind(request);
  TFindDialogWin* find = dialogs_.FindDialog();
  ASSERT_NE(find, nullptr);
  EXPECT_FALSE(find->isModal());
  EXPECT_EQ(find->windowTitle(), "Find");
  EXPECT_EQ(find->pos(), QPoint(150, 150));
  find->findChild<QCheckBox*>("WholeWord")->setChecked(true);
  find->findChild<QPushButton*>("FindNext")->click();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].findText, "Unit");
  EXPECT_EQ(seen[0].options, frMatchCase | frWholeWord | frFindNext);
  EXPECT_TRUE(seen[0].Backward());

  find->findChild<QLineEdit*>("FindEdit")->clear();
  EXPECT_FALSE(find->findChild<QPushButton*>("FindNext")->isEnabled());

  request.replace = true;
  request.replaceText = "Form";
  dialogs_.ShowFind(request);  // replaces the find dialog
  TFindDialogWin* replace = dialogs_.FindDialog();
  ASSERT_NE(replace, nullptr);
  EXPECT_EQ(replace->windowTitle(), "Replace");
  replace->findChild<QPushButton*>("ReplaceAll")->click();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].replaceText, "Form");
  EXPECT_EQ(seen[1].options, frDown | frMatchCase | frReplaceAll);
  dialogs_.CloseFind();
  EXPECT_EQ(dialogs_.FindDialog(), nullptr);
}

TEST_F(QtDialogsTest, ShowModalRunsUntilTheWindowSetsItsResult) {
  QWidget window;
  window.setWindowTitle("Exe View");
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
    SetModalResult(window, mrYes);
  });
  EXPECT_EQ(dialogs_.ShowModal(window), mrYes);
  EXPECT_FALSE(window.isVisible());

  QDialog dialog;
  QTimer::singleShot(0, [&] { dialog.reject(); });
  EXPECT_EQ(dialogs_.ShowModal(dialog), mrCancel);
  QTimer::singleShot(0, [&] { SetModalResult(dialog, mrNo); });
  EXPECT_EQ(dialogs_.ShowModal(dialog), mrNo);
}

// Dialogs go through the dialogs service: only its default implementation
// (and tests that inspect it) may use Qt's dialog classes.
TEST(DialogsService, NothingElseUsesQtDialogsDirectly) {
  namespace fs = std::filesystem;
  const char* names[] = {"QMessageBox", "QFileDialog", "QInputDialog", "QFontDialog",
                         "QColorDialog", "QPrintDialog", "QPageSetupDialog",
                         "QPrintPreviewDialog"};
  const fs::path root = test::SourceDir();
  std::vector<std::string> offenders;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path& p = it->path();
    std::string rel = p.lexically_relative(root).generic_string();
    if (it->is_directory() &&
        (p.filename().string().starts_with(".") || p.filename().string().starts_with("build"))) {
      it.disable_recursion_pending();
      continue;
    }
    std::string ext = p.extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    if (rel == "ui/QtDialogs.cpp" || rel.starts_with("ui/tests/")) continue;
    std::ifstream in(p);
    std::stringstream text;
    text << in.rdbuf();
    for (const char* name : names)
      if (text.str().find(name) != std::string::npos) offenders.push_back(rel + ": " + name);
  }
  EXPECT_TRUE(offenders.empty()) << testing::PrintToString(offenders);
}
