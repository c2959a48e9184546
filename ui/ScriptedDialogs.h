// The dialogs service for tests: it records every prompt and answers from a
// queue of expected prompts. A prompt it did not expect (or one that differs
// from what was expected) fails the running GoogleTest test and gets a safe
// answer: Cancel, No or a dialog left unconfirmed.
//
//   TScriptedDialogs dialogs;          // installs itself; restores on exit
//   dialogs.ExpectMessage(mrYes).Text("Delete Unit1 ?").Buttons(mbYesNo);
//   ... code under test ...
//   dialogs.Verify();                  // or at destruction
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace vesper {

enum TPromptKind : uint8_t {
  pkMessage,
  pkInput,
  pkOpen,
  pkSave,
  pkFolder,
  pkFont,
  pkColor,
  pkPrint,
  pkPrinterSetup,
  pkFind,
  pkModal
};

const char* PromptKindName(TPromptKind kind);

// A prompt as shown. `text` is the message, the input prompt, the file
// filter, the folder title, the find text or the modal window's title;
// `value` the input default, the proposed file name or the start folder.
struct TPrompt {
  TPromptKind kind = pkMessage;
  std::string caption;
  std::string text;
  std::string value;
  TMsgDlgType type = mtInformation;
  TMsgDlgButtons buttons = mbOK;
  TModalResult defaultButton = mrNone;
};

// One expected prompt and its answer. The checks are optional; each one
// given must hold for the prompt that comes.
class TExpectedPrompt {
 public:
  explicit TExpectedPrompt(TPromptKind kind) : kind_(kind) {}
  TExpectedPrompt& Text(std::string text);
  TExpectedPrompt& Caption(std::string caption);
  TExpectedPrompt& Type(TMsgDlgType type);
  TExpectedPrompt& Buttons(TMsgDlgButtons buttons);
  TExpectedPrompt& DefaultButton(TModalResult button);

 private:
  friend class TScriptedDialogs;
  // Describes how `prompt` differs from the expectation, or "" when it fits.
  std::string Mismatch(const TPrompt& prompt) const;

  TPromptKind kind_;
  std::optional<std::string> text_, caption_;
  std::optional<TMsgDlgType> type_;
  std::optional<TMsgDlgButtons> buttons_;
  std::optional<TModalResult> defaultButton_;

  // The answer; which fields count depends on the kind.
  bool accept_ = true;
  TModalResult result_ = mrOk;
  std::string value_;
  std::vector<std::string> files_;
  int filterIndex_ = 0;  // 0: leave the request's index
  QFont font_;
  QColor color_;
  int copies_ = 1;
  std::vector<TFindEvent> findEvents_;
  std::function<TModalResult(QWidget&)> act_;
};

class TScriptedDialogs : public TDialogService {
 public:
  // Installs this service; the destructor verifies and restores the previous.
  TScriptedDialogs();
  ~TScriptedDialogs() override;

  TExpectedPrompt& ExpectMessage(TModalResult answer);
  // std::nullopt: the box is cancelled.
  TExpectedPrompt& ExpectInput(std::optional<std::string> answer);
  // No files: cancelled. `filterIndex` 0 keeps the request's index.
  TExpectedPrompt& ExpectOpen(std::vector<std::string> files, int filterIndex = 0);
  TExpectedPrompt& ExpectSave(std::optional<std::string> file, int filterIndex = 0);
  TExpectedPrompt& ExpectFolder(std::optional<std::string> folder);
  TExpectedPrompt& ExpectFont(std::optional<QFont> font);
  TExpectedPrompt& ExpectColor(std::optional<QColor> color);
  // The chosen printer and copies; std::nullopt: cancelled.
  TExpectedPrompt& ExpectPrint(std::optional<std::string> printer, int copies = 1);
  TExpectedPrompt& ExpectPrinterSetup(std::optional<std::string> printer);
  // The find dialog's handler receives these presses in order, at once.
  TExpectedPrompt& ExpectFind(std::vector<TFindEvent> presses);
  // `act` runs instead of showing the window; what it returns is the result.
  TExpectedPrompt& ExpectModal(std::function<TModalResult(QWidget&)> act);

  const std::vector<TPrompt>& Prompts() const { return prompts_; }
  // Every failure reported so far (each also failed the running test).
  const std::vector<std::string>& Errors() const { return errors_; }
  size_t PendingCount() const { return expected_.size(); }
  // Fails for every expected prompt that was not shown, and forgets them.
  void Verify();

 protected:
  TModalResult DoMessageBox(const TMessageBoxRequest& request) override;
  bool DoInputQuery(const std::string& caption, const std::string& prompt, std::string& value,
                    QWidget* owner) override;
  bool DoOpenDialog(TFileDialogRequest& request) override;
  bool DoSaveDialog(TFileDialogRequest& request) override;
  bool DoBrowseFolder(TFolderRequest& request) override;
  bool DoFontDialog(TFontRequest& request) override;
  bool DoColorDialog(TColorRequest& request) override;
  bool DoPrintDialog(TPrintRequest& request) override;
  bool DoPrinterSetupDialog(TPrintRequest& request) override;
  void DoShowFind(TFindRequest request) override;
  void DoCloseFind() override;
  TModalResult DoShowModal(QWidget& window) override;

 private:
  TExpectedPrompt& Expect(TPromptKind kind);
  // Records `prompt` and takes the matching expectation; std::nullopt (after
  // failing the test) when the prompt was not expected as it came.
  std::optional<TExpectedPrompt> Take(const TPrompt& prompt);
  void Fail(const std::string& message);
  bool RunFileDialog(TFileDialogRequest& request, TPromptKind kind);
  bool RunPrint(TPrintRequest& request, TPromptKind kind);

  std::deque<TExpectedPrompt> expected_;
  std::vector<TPrompt> prompts_;
  std::vector<std::string> errors_;
  TDialogService* previous_;
};

}  // namespace vesper
