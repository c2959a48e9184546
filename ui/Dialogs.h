// The dialogs service: every message box, input box, common dialog and modal
// window of the system is shown through it, so that tests can install a
// scripted service that answers instead of a user. The default service
// (TQtDialogs) shows Qt dialogs.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace vesper {

enum TMsgDlgType : uint8_t { mtInformation, mtConfirmation, mtWarning, mtError };

enum TMsgDlgButtons : uint8_t { mbOK, mbOKCancel, mbYesNo, mbYesNoCancel, mbAbortRetryIgnore };

// The button that closed a box or modal window. The values are a QDialog's
// result codes: accept() gives mrOk, reject() gives 0, read as mrCancel.
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7
};

// The buttons of a set, in the order they are shown.
std::vector<TModalResult> ButtonsOf(TMsgDlgButtons buttons);
// What a box answers when nobody chose: Cancel, else No, else Abort, else OK.
TModalResult SafeAnswer(TMsgDlgButtons buttons);
// "OK", "Cancel", "Yes", ... ("None" for mrNone).
const char* ModalResultName(TModalResult result);

struct TMessageBoxRequest {
  std::string text;
  std::string caption;  // empty: the application title
  TMsgDlgType type = mtInformation;
  TMsgDlgButtons buttons = mbOK;
  TModalResult defaultButton = mrNone;  // mrNone or a button not in the set: the first
  QWidget* owner = nullptr;
};

// An open or save dialog. Filters are the class library's strings
// ("Text files|*.txt|All files|*.*"); file names are OS bytes.
struct TFileDialogRequest {
  std::string title;                // empty: "Open" or "Save As"
  std::string filter;
  int filterIndex = 1;              // 1-based; in and out
  std::string initialDir;
  std::string fileName;             // in: proposed name; out: the (first) chosen file
  std::vector<std::string> files;   // out: every chosen file
  std::string defaultExt;           // without the dot; added to a name that has none
  bool multiSelect = false;         // open only
  bool fileMustExist = true;        // open only
  bool overwritePrompt = true;      // save only
  std::string stateKey;             // remembers the last folder under this key
  QWidget* owner = nullptr;
};

struct TFolderRequest {
  std::string title;
  std::string directory;  // in: selected at start when it exists; out: the chosen folder
  std::string stateKey;
  QWidget* owner = nullptr;
};

struct TFontRequest {
  QFont font;  // in and out
  bool fixedPitchOnly = false;
  std::string caption;
  QWidget* owner = nullptr;
};

struct TColorRequest {
  QColor color;  // in and out
  std::string caption;
  QWidget* owner = nullptr;
};

// Print and printer set-up. With a printer given, the dialog acts on it;
// either way the chosen printer's name and the copies come back here.
struct TPrintRequest {
  QPrinter* printer = nullptr;
  std::string printerName;  // in and out; empty: the default printer
  int copies = 1;           // in and out
  QWidget* owner = nullptr;
};

enum TFindOption : unsigned {
  frDown = 1,
  frMatchCase = 2,
  frWholeWord = 4,
  frFindNext = 8,    // set in an event from "Find Next"
  frReplace = 16,    // set in an event from "Replace"
  frReplaceAll = 32  // set in an event from "Replace All"
};
using TFindOptions = unsigned;

// One press of Find Next, Replace or Replace All in the find/replace dialog.
struct TFindEvent {
  std::string findText;
  std::string replaceText;
  TFindOptions options = frDown | frFindNext;
  bool Backward() const { return (options & frDown) == 0; }
  bool MatchCase() const { return (options & frMatchCase) != 0; }
  bool WholeWord() const { return (options & frWholeWord) != 0; }
};

// The find or replace dialog: non-modal, it calls `onFind` for every press
// until it is closed.
struct TFindRequest {
  bool replace = false;
  std::string findText;
  std::string replaceText;
  TFindOptions options = frDown;
  QPoint position{-1, -1};  // screen position of its top-left corner; (-1, -1): centred
  QWidget* owner = nullptr;
  std::function<void(const TFindEvent&)> onFind;
};

class TDialogService {
 public:
  virtual ~TDialogService();

  // Returns the button chosen.
  TModalResult MessageBox(TMessageBoxRequest request);
  // Returns true when accepted; then `value` holds the text entered.
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value,
                  QWidget* owner = nullptr);
  // True when the user chose; the request then holds the choice. With a state
  // key, the remembered folder is where the dialog starts and the chosen
  // file's folder is remembered.
  bool OpenDialog(TFileDialogRequest& request);
  bool SaveDialog(TFileDialogRequest& request);
  bool BrowseFolder(TFolderRequest& request);
  bool FontDialog(TFontRequest& request);
  bool ColorDialog(TColorRequest& request);
  bool PrintDialog(TPrintRequest& request);
  bool PrinterSetupDialog(TPrintRequest& request);
  // Shows the find (or replace) dialog, replacing one already shown.
  void ShowFind(TFindRequest request);
  void CloseFind();
  // Shows `window` modally until it closes; returns its modal result (see
  // SetModalResult; a QDialog's result code).
  TModalResult ShowModal(QWidget& window);

 protected:
  virtual TModalResult DoMessageBox(const TMessageBoxRequest& request) = 0;
  virtual bool DoInputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value, QWidget* owner) = 0;
  virtual bool DoOpenDialog(TFileDialogRequest& request) = 0;
  virtual bool DoSaveDialog(TFileDialogRequest& request) = 0;
  virtual bool DoBrowseFolder(TFolderRequest& request) = 0;
  virtual bool DoFontDialog(TFontRequest& request) = 0;
  virtual bool DoColorDialog(TColorRequest& request) = 0;
  virtual bool DoPrintDialog(TPrintRequest& request) = 0;
  virtual bool DoPrinterSetupDialog(TPrintRequest& request) = 0;
  virtual void DoShowFind(TFindRequest request) = 0;
  virtual void DoCloseFind() = 0;
  virtual TModalResult DoShowModal(QWidget& window) = 0;

 private:
  bool RunFileDialog(TFileDialogRequest& request, bool save);
};

// Closes a modal window with `result` (a QDialog through done()).
void SetModalResult(QWidget& window, TModalResult result);
// The result set for a window that is not a QDialog (mrCancel when none).
TModalResult ModalResultOf(const QWidget& window);
void ClearModalResult(QWidget& window);

// The service in force: the one installed, else the default Qt service.
TDialogService& Dialogs();
// Installs `service` (nullptr: the default) and returns the one it replaces.
TDialogService* SetDialogs(TDialogService* service);

// Installs a service for the lifetime of the scope.
class TDialogsScope {
 public:
  explicit TDialogsScope(TDialogService& service) : previous_(SetDialogs(&service)) {}
  ~TDialogsScope() { SetDialogs(previous_); }
  TDialogsScope(const TDialogsScope&) = delete;
  TDialogsScope& operator=(const TDialogsScope&) = delete;

 private:
  TDialogService* previous_;
};

// Shortcuts through Dialogs().
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        TModalResult defaultButton = mrNone, const std::string& caption = "");
// An information box with an OK button.
void ShowMessage(const std::string& text);
// The text entered, or `defaultValue` when the box was cancelled.
std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& defaultValue);

}  // namespace vesper
