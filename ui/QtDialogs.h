// The default dialogs service: real Qt dialogs, shown modally over the owner
// (or the active window). The find/replace dialog is a TFindDialogWin.
#pragma once

#include <QPointer>

#include "ui/Dialogs.h"

namespace vesper {

class TFindDialogWin;

class TQtDialogs : public TDialogService {
 public:
  TQtDialogs();
  ~TQtDialogs() override;

  // The find dialog shown now, or nullptr.
  TFindDialogWin* FindDialog() const;

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
  bool RunPrintDialog(TPrintRequest& request, bool setupOnly);

  QPointer<TFindDialogWin> findDialog_;
};

}  // namespace vesper
