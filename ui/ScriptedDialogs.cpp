#include "ui/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QPrinter>
#include <QWidget>

#include "ui/QtText.h"

namespace vesper {

namespace {

const char* TypeName(TMsgDlgType type) {
  switch (type) {
    case mtInformation: return "information";
    case mtConfirmation: return "confirmation";
    case mtWarning: return "warning";
    case mtError: return "error";
  }
  return "?";
}

std::string ButtonsName(TMsgDlgButtons buttons) {
  std::string out;
  for (TModalResult r : ButtonsOf(buttons)) {
    if (!out.empty()) out += '/';
    out += ModalResultName(r);
  }
  return out;
}

std::string Describe(const TPrompt& p) {
  std::string out = std::string(PromptKindName(p.kind)) + " prompt, caption \"" + p.caption +
                    "\", text \"" + p.text + "\"";
  if (p.kind == pkMessage)
    out += std::string(", ") + TypeName(p.type) + ", " + ButtonsName(p.buttons) + ", default " +
           ModalResultName(p.defaultButton);
  return out;
}

template <typename T, typename Name>
void CheckField(std::string& out, const char* what, const std::optional<T>& expected,
                const T& actual, Name name) {
  if (expected && *expected != actual)
    out += std::string("; ") + what + " expected " + name(*expected) + ", got " + name(actual);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

const char* PromptKindName(TPromptKind kind) {
  switch (kind) {
    case pkMessage: return "message";
    case pkInput: return "input";
    case pkOpen: return "open";
    case pkSave: return "save";
    case pkFolder: return "folder";
    case pkFont: return "font";
    case pkColor: return "colour";
    case pkPrint: return "print";
    case pkPrinterSetup: return "printer set-up";
    case pkFind: return "find";
    case pkModal: return "modal window";
  }
  return "?";
}

TExpectedPrompt& TExpectedPrompt::Text(std::string text) {
  text_ = std::move(text);
  return *this;
}

TExpectedPrompt& TExpectedPrompt::Caption(std::string caption) {
  caption_ = std::move(caption);
  return *this;
}

TExpectedPrompt& TExpectedPrompt::Type(TMsgDlgType type) {
  type_ = type;
  return *this;
}

TExpectedPrompt& TExpectedPrompt::Buttons(TMsgDlgButtons buttons) {
  buttons_ = buttons;
  return *this;
}

TExpectedPrompt& TExpectedPrompt::DefaultButton(TModalResult button) {
  defaultButton_ = button;
  return *this;
}

std::string TExpectedPrompt::Mismatch(const TPrompt& p) const {
  std::string out;
  CheckField(out, "text", text_, p.text, Quoted);
  CheckField(out, "caption", caption_, p.caption, Quoted);
  CheckField(out, "type", type_, p.type, [](TMsgDlgType t) { return std::string(TypeName(t)); });
  CheckField(out, "buttons", buttons_, p.buttons, ButtonsName);
  CheckField(out, "default button", defaultButton_, p.defaultButton,
             [](TModalResult r) { return std::string(ModalResultName(r)); });
  return out.empty() ? out : out.substr(2);
}

TScriptedDialogs::TScriptedDialogs() : previous_(SetDialogs(this)) {}

TScriptedDialogs::~TScriptedDialogs() {
  Verify();
  SetDialogs(previous_);
}

TExpectedPrompt& TScriptedDialogs::Expect(TPromptKind kind) {
  expected_.emplace_back(kind);
  return expected_.back();
}

TExpectedPrompt& TScriptedDialogs::ExpectMessage(TModalResult answer) {
  TExpectedPrompt& e = Expect(pkMessage);
  e.result_ = answer;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectInput(std::optional<std::string> answer) {
  TExpectedPrompt& e = Expect(pkInput);
  e.accept_ = answer.has_value();
  e.value_ = answer.value_or("");
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectOpen(std::vector<std::string> files, int filterIndex) {
  TExpectedPrompt& e = Expect(pkOpen);
  e.accept_ = !files.empty();
  e.files_ = std::move(files);
  e.filterIndex_ = filterIndex;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectSave(std::optional<std::string> file, int filterIndex) {
  TExpectedPrompt& e = Expect(pkSave);
  e.accept_ = file.has_value();
  if (file) e.files_.push_back(*file);
  e.filterIndex_ = filterIndex;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectFolder(std::optional<std::string> folder) {
  TExpectedPrompt& e = Expect(pkFolder);
  e.accept_ = folder.has_value();
  e.value_ = folder.value_or("");
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectFont(std::optional<QFont> font) {
  TExpectedPrompt& e = Expect(pkFont);
  e.accept_ = font.has_value();
  if (font) e.font_ = *font;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectColor(std::optional<QColor> color) {
  TExpectedPrompt& e = Expect(pkColor);
  e.accept_ = color.has_value();
  if (color) e.color_ = *color;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectPrint(std::optional<std::string> printer, int copies) {
  TExpectedPrompt& e = Expect(pkPrint);
  e.accept_ = printer.has_value();
  e.value_ = printer.value_or("");
  e.copies_ = copies;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectPrinterSetup(std::optional<std::string> printer) {
  TExpectedPrompt& e = Expect(pkPrinterSetup);
  e.accept_ = printer.has_value();
  e.value_ = printer.value_or("");
  e.copies_ = 0;
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectFind(std::vector<TFindEvent> presses) {
  TExpectedPrompt& e = Expect(pkFind);
  e.findEvents_ = std::move(presses);
  return e;
}

TExpectedPrompt& TScriptedDialogs::ExpectModal(std::function<TModalResult(QWidget&)> act) {
  TExpectedPrompt& e = Expect(pkModal);
  e.act_ = std::move(act);
  return e;
}

void TScriptedDialogs::Fail(const std::string& message) {
  errors_.push_back(message);
  ADD_FAILURE() << message;
}

void TScriptedDialogs::Verify() {
  for (const TExpectedPrompt& e : expected_)
    Fail(std::string("Expected ") + PromptKindName(e.kind_) + " prompt was not shown" +
         (e.text_ ? " (text \"" + *e.text_ + "\")" : std::string()));
  expected_.clear();
}

std::optional<TExpectedPrompt> TScriptedDialogs::Take(const TPrompt& prompt) {
  prompts_.push_back(prompt);
  if (expected_.empty()) {
    Fail("Unexpected " + Describe(prompt));
    return std::nullopt;
  }
  if (expected_.front().kind_ != prompt.kind) {
    Fail(std::string("Expected ") + PromptKindName(expected_.front().kind_) + " prompt, got " +
         Describe(prompt));
    return std::nullopt;
  }
  TExpectedPrompt e = std::move(expected_.front());
  expected_.pop_front();
  std::string mismatch = e.Mismatch(prompt);
  if (!mismatch.empty()) {
    Fail(mismatch + " (" + Describe(prompt) + ")");
    return std::nullopt;
  }
  return e;
}

TModalResult TScriptedDialogs::DoMessageBox(const TMessageBoxRequest& request) {
  TPrompt p;
  p.kind = pkMessage;
  p.caption = request.caption;
  p.text = request.text;
  p.type = request.type;
  p.buttons = request.buttons;
  p.defaultButton = request.defaultButton;
  auto e = Take(p);
  if (!e) return SafeAnswer(request.buttons);
  auto set = ButtonsOf(request.buttons);
  if (std::find(set.begin(), set.end(), e->result_) == set.end()) {
    Fail(std::string("Scripted answer ") + ModalResultName(e->result_) + " is not a button of " +
         Describe(p));
    return SafeAnswer(request.buttons);
  }
  return e->result_;
}

bool TScriptedDialogs::DoInputQuery(const std::string& caption, const std::string& prompt,
                                    std::string& value, QWidget*) {
  auto e = Take({pkInput, caption, prompt, value});
  if (!e || !e->accept_) return false;
  value = e->value_;
  return true;
}

bool TScriptedDialogs::RunFileDialog(TFileDialogRequest& request, TPromptKind kind) {
  std::string proposed = request.fileName.empty() ? request.initialDir : request.fileName;
  auto e = Take({kind, request.title, request.filter, proposed});
  if (!e || !e->accept_) return false;
  request.files = e->files_;
  if (e->filterIndex_ > 0) request.filterIndex = e->filterIndex_;
  return true;
}

bool TScriptedDialogs::DoOpenDialog(TFileDialogRequest& request) {
  return RunFileDialog(request, pkOpen);
}

bool TScriptedDialogs::DoSaveDialog(TFileDialogRequest& request) {
  return RunFileDialog(request, pkSave);
}

bool TScriptedDialogs::DoBrowseFolder(TFolderRequest& request) {
  auto e = Take({pkFolder, request.title, request.title, request.directory});
  if (!e || !e->accept_) return false;
  request.directory = e->value_;
  return true;
}

bool TScriptedDialogs::DoFontDialog(TFontRequest& request) {
  auto e = Take({pkFont, request.caption, "", FromQString(request.font.family())});
  if (!e || !e->accept_) return false;
  request.font = e->font_;
  return true;
}

bool TScriptedDialogs::DoColorDialog(TColorRequest& request) {
  auto e = Take({pkColor, request.caption, "", FromQString(request.color.name())});
  if (!e || !e->accept_) return false;
  request.color = e->color_;
  return true;
}

bool TScriptedDialogs::RunPrint(TPrintRequest& request, TPromptKind kind) {
  auto e = Take({kind, "", "", request.printerName});
  if (!e || !e->accept_) return false;
  request.printerName = e->value_;
  if (e->copies_ > 0) request.copies = e->copies_;
  if (request.printer) {
    if (!request.printerName.empty()) request.printer->setPrinterName(ToQString(request.printerName));
    request.printer->setCopyCount(request.copies);
  }
  return true;
}

bool TScriptedDialogs::DoPrintDialog(TPrintRequest& request) { return RunPrint(request, pkPrint); }

bool TScriptedDialogs::DoPrinterSetupDialog(TPrintRequest& request) {
  return RunPrint(request, pkPrinterSetup);
}

void TScriptedDialogs::DoShowFind(TFindRequest request) {
  auto e = Take({pkFind, request.replace ? "Replace" : "Find", request.findText,
                 request.replaceText});
  if (!e || !request.onFind) return;
  for (const TFindEvent& press : e->findEvents_) request.onFind(press);
}

void TScriptedDialogs::DoCloseFind() {}

TModalResult TScriptedDialogs::DoShowModal(QWidget& window) {
  auto e = Take({pkModal, FromQString(window.windowTitle()), FromQString(window.windowTitle()), ""});
  if (!e || !e->act_) return mrCancel;
  return e->act_(window);
}

}  // namespace vesper
