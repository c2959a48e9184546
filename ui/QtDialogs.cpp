#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <memory>

#include "platform/Files.h"
#include "ui/Application.h"
#include "ui/FileFilter.h"
#include "ui/FindDialog.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

QWidget* OwnerOrActive(QWidget* owner) {
  return owner ? owner : QApplication::activeWindow();
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardButtonOf(TModalResult r) {
  switch (r) {
    case mrOk: return QMessageBox::Ok;
    case mrCancel: return QMessageBox::Cancel;
    case mrAbort: return QMessageBox::Abort;
    case mrRetry: return QMessageBox::Retry;
    case mrIgnore: return QMessageBox::Ignore;
    case mrYes: return QMessageBox::Yes;
    case mrNo: return QMessageBox::No;
    case mrNone: break;
  }
  return QMessageBox::NoButton;
}

// Message texts break lines with CR (or CR LF); Qt labels break on LF.
QString MessageText(const std::string& text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

// The folder and file a file dialog starts with.
void PlaceFileDialog(QFileDialog& dialog, const TFileDialogRequest& request) {
  std::string dir = request.initialDir;
  std::string name = request.fileName;
  if (name.find('/') != std::string::npos) {
    dir = ExtractFileDir(name);
    name = ExtractFileName(name);
  }
  if (!dir.empty() && DirectoryExists(dir)) dialog.setDirectory(FileNameToQString(dir));
  if (!name.empty()) dialog.selectFile(FileNameToQString(name));
}

bool RunQtFileDialog(TFileDialogRequest& request, bool save) {
  EnsureApplication();
  QString title = ToQString(request.title.empty() ? (save ? "Save As" : "Open") : request.title);
  QFileDialog dialog(OwnerOrActive(request.owner), title);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save) {
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else if (request.multiSelect) {
    dialog.setFileMode(QFileDialog::ExistingFiles);
  } else {
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  QStringList filters = ToQtNameFilters(ParseFileFilter(request.filter));
  dialog.setNameFilters(filters);
  int index = ClampFilterIndex(request.filterIndex, static_cast<size_t>(filters.size()));
  dialog.selectNameFilter(filters[index - 1]);
  if (!request.defaultExt.empty()) dialog.setDefaultSuffix(FileNameToQString(request.defaultExt));
  PlaceFileDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted) return false;
  request.files = FileNamesFromQStrings(dialog.selectedFiles());
  qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
  request.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : index;
  return !request.files.empty();
}

// Ends a local event loop when the watched window is hidden by the program
// (closed), not when the window system hides it (minimised).
class THideWatcher : public QObject {
 public:
  explicit THideWatcher(QEventLoop& loop) : loop_(loop) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && !event->spontaneous()) loop_.quit();
    return false;
  }

 private:
  QEventLoop& loop_;
};

}  // namespace

TQtDialogs::TQtDialogs() = default;

// The find dialog belongs to its owner window (or to Qt when top-level).
TQtDialogs::~TQtDialogs() = default;

TFindDialogWin* TQtDialogs::FindDialog() const { return findDialog_.data(); }

TModalResult TQtDialogs::DoMessageBox(const TMessageBoxRequest& request) {
  EnsureApplication();
  QMessageBox box(IconOf(request.type), ToQString(request.caption), MessageText(request.text),
                  QMessageBox::NoButton, OwnerOrActive(request.owner));
  box.setTextFormat(Qt::PlainText);
  for (TModalResult r : ButtonsOf(request.buttons)) {
    QAbstractButton* button = box.addButton(StandardButtonOf(r));
    if (r == request.defaultButton) box.setDefaultButton(qobject_cast<QPushButton*>(button));
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked) {
    for (TModalResult r : ButtonsOf(request.buttons))
      if (box.standardButton(clicked) == StandardButtonOf(r)) return r;
  }
  return SafeAnswer(request.buttons);
}

bool TQtDialogs::DoInputQuery(const std::string& caption, const std::string& prompt,
                              std::string& value, QWidget* owner) {
  EnsureApplication();
  QInputDialog dialog(OwnerOrActive(owner));
  dialog.setWindowTitle(ToQString(caption));
  dialog.setLabelText(ToQString(prompt));
  dialog.setTextValue(ToQString(value));
  if (dialog.exec() != QDialog::Accepted) return false;
  value = FromQString(dialog.textValue());
  return true;
}

bool TQtDialogs::DoOpenDialog(TFileDialogRequest& request) {
  return RunQtFileDialog(request, false);
}

bool TQtDialogs::DoSaveDialog(TFileDialogRequest& request) {
  return RunQtFileDialog(request, true);
}

bool TQtDialogs::DoBrowseFolder(TFolderRequest& request) {
  EnsureApplication();
  QFileDialog dialog(OwnerOrActive(request.owner), ToQString(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  if (!request.directory.empty() && DirectoryExists(request.directory))
    dialog.setDirectory(FileNameToQString(request.directory));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  request.directory = FileNameFromQString(dialog.selectedFiles().front());
  return true;
}

bool TQtDialogs::DoFontDialog(TFontRequest& request) {
  EnsureApplication();
  QFontDialog dialog(request.font, OwnerOrActive(request.owner));
  if (!request.caption.empty()) dialog.setWindowTitle(ToQString(request.caption));
  if (request.fixedPitchOnly) dialog.setOption(QFontDialog::MonospacedFonts);
  if (dialog.exec() != QDialog::Accepted) return false;
  request.font = dialog.selectedFont();
  return true;
}

bool TQtDialogs::DoColorDialog(TColorRequest& request) {
  EnsureApplication();
  QColorDialog dialog(request.color, OwnerOrActive(request.owner));
  if (!request.caption.empty()) dialog.setWindowTitle(ToQString(request.caption));
  if (dialog.exec() != QDialog::Accepted) return false;
  request.color = dialog.selectedColor();
  return true;
}

bool TQtDialogs::RunPrintDialog(TPrintRequest& request, bool setupOnly) {
  EnsureApplication();
  std::unique_ptr<QPrinter> own;
  QPrinter* printer = request.printer;
  if (!printer) {
    own = std::make_unique<QPrinter>();
    printer = own.get();
  }
  if (!request.printerName.empty()) printer->setPrinterName(ToQString(request.printerName));
  printer->setCopyCount(request.copies > 0 ? request.copies : 1);
  QPrintDialog dialog(printer, OwnerOrActive(request.owner));
  if (setupOnly) {
    dialog.setWindowTitle("Print Setup");
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  request.printerName = FromQString(printer->printerName());
  request.copies = printer->copyCount();
  return true;
}

bool TQtDialogs::DoPrintDialog(TPrintRequest& request) { return RunPrintDialog(request, false); }

bool TQtDialogs::DoPrinterSetupDialog(TPrintRequest& request) {
  return RunPrintDialog(request, true);
}

void TQtDialogs::DoShowFind(TFindRequest request) {
  EnsureApplication();
  DoCloseFind();
  QWidget* owner = OwnerOrActive(request.owner);
  findDialog_ = new TFindDialogWin(std::move(request), owner);
  findDialog_->show();
  findDialog_->raise();
  findDialog_->activateWindow();
}

void TQtDialogs::DoCloseFind() {
  if (findDialog_) findDialog_->close();  // deletes itself on close
  findDialog_ = nullptr;
}

TModalResult TQtDialogs::DoShowModal(QWidget& window) {
  EnsureApplication();
  if (auto* dialog = qobject_cast<QDialog*>(&window)) {
    int result = dialog->exec();
    return result == QDialog::Rejected ? mrCancel : static_cast<TModalResult>(result);
  }
  ClearModalResult(window);
  QPointer<QWidget> guard(&window);
  Qt::WindowModality modality = window.windowModality();
  window.setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  THideWatcher watcher(loop);
  window.installEventFilter(&watcher);
  QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
  window.show();
  loop.exec(QEventLoop::DialogExec);
  if (!guard) return mrCancel;
  guard->removeEventFilter(&watcher);
  guard->setWindowModality(modality);
  return ModalResultOf(*guard);
}

}  // namespace vesper
