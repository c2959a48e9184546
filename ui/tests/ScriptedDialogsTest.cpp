#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QWidget>

#include "ui/DialogState.h"
#include "ui/ScriptedDialogs.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class ScriptedDialogsTest : public test::UiTest {};

}  // namespace

TEST_F(ScriptedDialogsTest, AnswersInOrderAndRecordsEachPrompt) {
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrNo)
      .Text("Save path changes ?")
      .Type(mtConfirmation)
      .Buttons(mbYesNoCancel)
      .DefaultButton(mrYes);
  dialogs.ExpectInput("12").Caption("Go to Line Number");
  dialogs.ExpectInput(std::nullopt);
  dialogs.ExpectMessage(mrCancel).Caption("Grep Expert");

  EXPECT_EQ(MessageDlg("Save path changes ?", mtConfirmation, mbYesNoCancel), mrNo);
  std::string line = "1";
  EXPECT_TRUE(Dialogs().InputQuery("Go to Line Number", "Enter Line Number (1 to 40)", line));
  EXPECT_EQ(line, "12");
  EXPECT_EQ(InputBox("Tab Size", "Enter Tab Size", "8"), "8");  // cancelled: the default
  EXPECT_EQ(MessageDlg("Clear?", mtConfirmation, mbYesNoCancel, mrCancel, "Grep Expert"),
            mrCancel);

  const auto& p = dialogs.Prompts();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].kind, pkMessage);
  EXPECT_EQ(p[0].caption, ApplicationTitle());  // no caption given
  EXPECT_EQ(p[0].defaultButton, mrYes);         // none given: the first button
  EXPECT_EQ(p[1].kind, pkInput);
  EXPECT_EQ(p[1].text, "Enter Line Number (1 to 40)");
  EXPECT_EQ(p[1].value, "1");
  EXPECT_EQ(p[2].value, "8");
  EXPECT_EQ(p[3].defaultButton, mrCancel);
  EXPECT_TRUE(dialogs.Errors().empty());
  EXPECT_EQ(dialogs.PendingCount(), 0u);
}

TEST_F(ScriptedDialogsTest, UnexpectedPromptFailsTheTestAndGetsASafeAnswer) {
  TScriptedDialogs dialogs;
  struct Case { TMsgDlgButtons buttons; TModalResult safe; } cases[] = {
      {mbOK, mrOk}, {mbOKCancel, mrCancel}, {mbYesNo, mrNo},
      {mbYesNoCancel, mrCancel}, {mbAbortRetryIgnore, mrAbort},
  };
  for (const Case& c : cases) {
    TModalResult answer = mrNone;
    EXPECT_NONFATAL_FAILURE(answer = MessageDlg("Delete Unit1 ?", mtConfirmation, c.buttons),
                            "Unexpected message prompt");
    EXPECT_EQ(answer, c.safe) << ButtonsOf(c.buttons).size();
  }
  std::string value = "keep";
  bool accepted = true;
  EXPECT_NONFATAL_FAILURE(accepted = Dialogs().InputQuery("C", "P", value), "Unexpected input");
  EXPECT_FALSE(accepted);
  EXPECT_EQ(value, "keep");
  EXPECT_EQ(dialogs.Errors().size(), 6u);
  EXPECT_NE(dialogs.Errors()[0].find("\"Delete Unit1 ?\""), std::string::npos);
}

TEST_F(ScriptedDialogsTest, MismatchedPromptFailsAndIsNotAnswered) {
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrYes).Text("Delete Compiler D3 ? ").Buttons(mbYesNoCancel);
  TModalResult answer = mrNone;
  EXPECT_NONFATAL_FAILURE(answer = MessageDlg("Delete Compiler D4 ? ", mtConfirmation, mbYesNo),
                          "text expected \"Delete Compiler D3 ? \", got \"Delete Compiler D4 ? \"; "
                          "buttons expected Yes/No/Cancel, got Yes/No");
  EXPECT_EQ(answer, mrNo);

  // A scripted answer that is not one of the box's buttons is a script error.
  dialogs.ExpectMessage(mrCancel);
  EXPECT_NONFATAL_FAILURE(answer = MessageDlg("Sure?", mtConfirmation, mbYesNo),
                          "Scripted answer Cancel is not a button");
  EXPECT_EQ(answer, mrNo);

  // A prompt of another kind leaves the expectation queued.
  dialogs.ExpectOpen({"/tmp/a.pas"});
  EXPECT_NONFATAL_FAILURE(ShowMessage("hello"), "Expected open prompt, got message prompt");
  EXPECT_EQ(dialogs.PendingCount(), 1u);
  EXPECT_NONFATAL_FAILURE(dialogs.Verify(), "Expected open prompt was not shown");
  EXPECT_EQ(dialogs.PendingCount(), 0u);
}

TEST_F(ScriptedDialogsTest, FileDialogsRememberTheFolderByStateKey) {
  TMemoryDialogStateStore store;
  TDialogStateStore* previous = SetDialogStates(&store);
  TScriptedDialogs dialogs;
  dialogs.ExpectOpen({"/src/a.pas", "/src/b.pas"}, 2).Text("Units|*.pas|All|*.*");
  dialogs.ExpectSave("/out/x.fav");
  dialogs.ExpectOpen({});  // cancelled

  TFileDialogRequest open;
  open.filter = "Units|*.pas|All|*.*";
  open.initialDir = "/start";
  open.multiSelect = true;
  open.stateKey = "Software\\Vesper\\Test";
  ASSERT_TRUE(Dialogs().OpenDialog(open));
  EXPECT_EQ(open.fileName, "/src/a.pas");
  EXPECT_EQ(open.files.size(), 2u);
  EXPECT_EQ(open.filterIndex, 2);
  EXPECT_EQ(store.ReadFolder("SOFTWARE\\VESPER\\TEST"), "/src");

  TFileDialogRequest save;
  save.stateKey = "software\\vesper\\test";
  save.initialDir = "/ignored";
  ASSERT_TRUE(Dialogs().SaveDialog(save));
  EXPECT_EQ(save.fileName, "/out/x.fav");
  EXPECT_EQ(save.filterIndex, 1);  // not changed by the answer

  TFileDialogRequest again;
  again.stateKey = "Software\\Vesper\\Test";
  again.fileName = "keep.pas";
  EXPECT_FALSE(Dialogs().OpenDialog(again));
  EXPECT_EQ(again.fileName, "keep.pas");
  EXPECT_EQ(again.initialDir, "/out");  // started in the remembered folder
  EXPECT_EQ(store.ReadFolder("Software\\Vesper\\Test"), "/out");
  EXPECT_EQ(dialogs.Prompts()[0].value, "/start");
  SetDialogStates(previous);
}

TEST_F(ScriptedDialogsTest, OtherDialogsAnswer) {
  TScriptedDialogs dialogs;
  dialogs.ExpectFolder("/data/src");
  dialogs.ExpectFont(QFont("Monospace", 11));
  dialogs.ExpectColor(std::nullopt);
  dialogs.ExpectPrint("pdf", 3);
  dialogs.ExpectPrinterSetup(std::nullopt);

  TFolderRequest folder;
  folder.title = "Select Folder";
  ASSERT_TRUE(Dialogs().BrowseFolder(folder));
  EXPECT_EQ(folder.directory, "/data/src");
  TFontRequest font;
  ASSERT_TRUE(Dialogs().FontDialog(font));
  EXPECT_EQ(font.font.pointSize(), 11);
  TColorRequest color;
  color.color = Qt::red;
  EXPECT_FALSE(Dialogs().ColorDialog(color));
  EXPECT_EQ(color.color, QColor(Qt::red));
  TPrintRequest print;
  ASSERT_TRUE(Dialogs().PrintDialog(print));
  EXPECT_EQ(print.printerName, "pdf");
  EXPECT_EQ(print.copies, 3);
  EXPECT_FALSE(Dialogs().PrinterSetupDialog(print));
  EXPECT_EQ(dialogs.Prompts().size(), 5u);
}

TEST_F(ScriptedDialogsTest, FindPressesReachTheHandler) {
  TScriptedDialogs dialogs;
  TFindEvent next{"Unit", "", frFindNext | frMatchCase};
  TFindEvent replaceAll{"a", "b", frDown | frReplaceAll | frWholeWord};
  dialogs.ExpectFind({next, replaceAll}).Text("Uni");
  std::vector<TFindEvent> seen;
  TFindRequest request;
  request.findText = "Uni";
  request.replace = true;
  request.onFind = [&](const TFindEvent& e) { seen.push_back(e); };
  Dialogs().ShowFind(request);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].Backward());
  EXPECT_TRUE(seen[0].MatchCase());
  EXPECT_FALSE(seen[1].Backward());
  EXPECT_TRUE(seen[1].WholeWord());
  EXPECT_EQ(seen[1].replaceText, "b");
  EXPECT_EQ(dialogs.Prompts()[0].caption, "Replace");
}

TEST_F(ScriptedDialogsTest, ModalWindowIsActedOnInsteadOfShown) {
  TScriptedDialogs dialogs;
  QDialog window;
  window.setWindowTitle("Wizard Options");
  window.setObjectName("WizardOptions");
  dialogs.ExpectModal([](QWidget& w) {
    EXPECT_EQ(w.objectName(), "WizardOptions");
    return mrOk;
  }).Caption("Wizard Options");
  EXPECT_EQ(Dialogs().ShowModal(window), mrOk);
  EXPECT_NONFATAL_FAILURE(EXPECT_EQ(Dialogs().ShowModal(window), mrCancel),
                          "Unexpected modal window prompt");
}
