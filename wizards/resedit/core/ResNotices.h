// How the resource model talks to its user: message boxes and questions go
// through a callback that the window implements (a headless caller declines
// every question), and progress texts through another.
#pragma once

#include <functional>
#include <string>

namespace vesper {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum TMsgDlgButton : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

struct TResNotice {
  TMsgDlgType Type = TMsgDlgType::mtError;
  std::string Caption;  // empty: the box's standard caption for its type
  std::string Text;
  unsigned Buttons = mbOK;
  int DefaultButton = 0;  // index among the buttons shown, in Yes, No, OK, Cancel order
};

using TResAsk = std::function<TModalResult(const TResNotice&)>;
using TResProgress = std::function<void(const std::string&)>;

// OK for a box that only informs, No for every question.
TModalResult HeadlessAnswer(const TResNotice& notice);

// The callbacks of one operation; empty members act headless and silent.
struct TResUserIO {
  TResAsk Ask;
  TResProgress Progress;

  TModalResult Show(const TResNotice& notice) const;
  void ShowError(const std::string& text) const;
  void Status(const std::string& text) const;
};

// The outcome of a check: Ok, or the refusal's message (empty when the
// refusal shows none) and whether the id field gets the focus.
struct TResCheck {
  bool Ok = true;
  std::string Message;
  bool FocusId = false;

  static TResCheck Refuse(std::string message, bool focusId = false) { return {false, std::move(message), focusId}; }
  explicit operator bool() const { return Ok; }
};

}  // namespace vesper
