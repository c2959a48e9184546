#include "ui/Dialogs.h"

#include <QDialog>
#include <QVariant>
#include <QWidget>

#include <algorithm>

#include "platform/Files.h"
#include "ui/Application.h"
#include "ui/DialogState.h"
#include "ui/QtDialogs.h"

namespace vesper {

namespace {

constexpr const char* kModalResultProperty = "vesperModalResult";

bool HasButton(TMsgDlgButtons buttons, TModalResult button) {
  auto set = ButtonsOf(buttons);
  return std::find(set.begin(), set.end(), button) != set.end();
}

TDialogService*& InstalledService() {
  static TDialogService* service = nullptr;
  return service;
}

}  // namespace

std::vector<TModalResult> ButtonsOf(TMsgDlgButtons buttons) {
  switch (buttons) {
    case mbOK: return {mrOk};
    case mbOKCancel: return {mrOk, mrCancel};
    case mbYesNo: return {mrYes, mrNo};
    case mbYesNoCancel: return {mrYes, mrNo, mrCancel};
    case mbAbortRetryIgnore: return {mrAbort, mrRetry, mrIgnore};
  }
  return {mrOk};
}

TModalResult SafeAnswer(TMsgDlgButtons buttons) {
  for (TModalResult r : {mrCancel, mrNo, mrAbort})
    if (HasButton(buttons, r)) return r;
  return mrOk;
}

const char* ModalResultName(TModalResult result) {
  switch (result) {
    case mrNone: return "None";
    case mrOk: return "OK";
    case mrCancel: return "Cancel";
    case mrAbort: return "Abort";
    case mrRetry: return "Retry";
    case mrIgnore: return "Ignore";
    case mrYes: return "Yes";
    case mrNo: return "No";
  }
  return "?";
}

TDialogService::~TDialogService() = default;

TModalResult TDialogService::MessageBox(TMessageBoxRequest request) {
  if (request.caption.empty()) request.caption = ApplicationTitle();
  if (!HasButton(request.buttons, request.defaultButton))
    request.defaultButton = ButtonsOf(request.buttons).front();
  return DoMessageBox(request);
}

bool TDialogService::InputQuery(const std::string& caption, const std::string& prompt,
                                std::string& value, QWidget* owner) {
  return DoInputQuery(caption, prompt, value, owner);
}

bool TDialogService::RunFileDialog(TFileDialogRequest& request, bool save) {
  if (!request.stateKey.empty()) {
    std::string folder = DialogStates().ReadFolder(request.stateKey);
    if (!folder.empty()) request.initialDir = folder;
  }
  request.files.clear();
  bool chosen = save ? DoSaveDialog(request) : DoOpenDialog(request);
  if (chosen && request.files.empty() && !request.fileName.empty())
    request.files.push_back(request.fileName);
  if (!chosen || request.files.empty()) return false;
  request.fileName = request.files.front();
  if (!request.stateKey.empty())
    DialogStates().WriteFolder(request.stateKey, ExtractFileDir(request.fileName));
  return true;
}

bool TDialogService::OpenDialog(TFileDialogRequest& request) {
  return RunFileDialog(request, false);
}

bool TDialogService::SaveDialog(TFileDialogRequest& request) {
  return RunFileDialog(request, true);
}

bool TDialogService::BrowseFolder(TFolderRequest& request) {
  if (!request.stateKey.empty()) {
    std::string folder = DialogStates().ReadFolder(request.stateKey);
    if (!folder.empty()) request.directory = folder;
  }
  if (!DoBrowseFolder(request) || request.directory.empty()) return false;
  if (!request.stateKey.empty()) DialogStates().WriteFolder(request.stateKey, request.directory);
  return true;
}

bool TDialogService::FontDialog(TFontRequest& request) { return DoFontDialog(request); }

bool TDialogService::ColorDialog(TColorRequest& request) { return DoColorDialog(request); }

bool TDialogService::PrintDialog(TPrintRequest& request) { return DoPrintDialog(request); }

bool TDialogService::PrinterSetupDialog(TPrintRequest& request) {
  return DoPrinterSetupDialog(request);
}

void TDialogService::ShowFind(TFindRequest request) { DoShowFind(std::move(request)); }

void TDialogService::CloseFind() { DoCloseFind(); }

TModalResult TDialogService::ShowModal(QWidget& window) { return DoShowModal(window); }

void SetModalResult(QWidget& window, TModalResult result) {
  if (auto* dialog = qobject_cast<QDialog*>(&window)) {
    dialog->done(result);
    return;
  }
  window.setProperty(kModalResultProperty, static_cast<int>(result));
  window.close();
}

TModalResult ModalResultOf(const QWidget& window) {
  QVariant v = window.property(kModalResultProperty);
  return v.isValid() ? static_cast<TModalResult>(v.toInt()) : mrCancel;
}

void ClearModalResult(QWidget& window) { window.setProperty(kModalResultProperty, QVariant()); }

TDialogService& Dialogs() {
  if (TDialogService* service = InstalledService()) return *service;
  static TQtDialogs qtDialogs;
  return qtDialogs;
}

TDialogService* SetDialogs(TDialogService* service) {
  TDialogService* previous = InstalledService();
  InstalledService() = service;
  return previous;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        TModalResult defaultButton, const std::string& caption) {
  TMessageBoxRequest request;
  request.text = text;
  request.caption = caption;
  request.type = type;
  request.buttons = buttons;
  request.defaultButton = defaultButton;
  return Dialogs().MessageBox(std::move(request));
}

void ShowMessage(const std::string& text) { MessageDlg(text, mtInformation, mbOK); }

std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue) {
  std::string value = defaultValue;
  return Dialogs().InputQuery(caption, prompt, value) ? value : defaultValue;
}

}  // namespace vesper
