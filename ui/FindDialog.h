// The non-modal find and replace dialog of the default dialogs service.
#pragma once

#include <QDialog>

#include "ui/Dialogs.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vesper {

class TFindDialogWin : public QDialog {
 public:
  TFindDialogWin(TFindRequest request, QWidget* parent);

  // The options the controls show, without the button flags.
  TFindOptions Options() const;
  // Presses a button as the user would: frFindNext, frReplace or frReplaceAll.
  void Press(TFindOptions button);

 private:
  void BuildControls();
  void UpdateButtons();

  TFindRequest request_;
  QLineEdit* findEdit_ = nullptr;
  QLineEdit* replaceEdit_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* replaceBtn_ = nullptr;
  QPushButton* replaceAll_ = nullptr;
};

}  // namespace vesper
