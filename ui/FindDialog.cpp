#include "ui/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/QtText.h"

namespace vesper {

TFindDialogWin::TFindDialogWin(TFindRequest request, QWidget* parent)
    : QDialog(parent), request_(std::move(request)) {
  setObjectName(request_.replace ? "ReplaceDialog" : "FindDialog");
  setWindowTitle(request_.replace ? "Replace" : "Find");
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  findEdit_->setText(ToQString(request_.findText));
  if (replaceEdit_) replaceEdit_->setText(ToQString(request_.replaceText));
  wholeWord_->setChecked(request_.options & frWholeWord);
  matchCase_->setChecked(request_.options & frMatchCase);
  (request_.options & frDown ? down_ : up_)->setChecked(true);
  findEdit_->selectAll();
  UpdateButtons();
  if (request_.position != QPoint(-1, -1)) move(request_.position);
}

void TFindDialogWin::BuildControls() {
  auto* fields = new QGridLayout;
  findEdit_ = new QLineEdit(this);
  findEdit_->setObjectName("FindEdit");
  auto* findLabel = new QLabel("Fi&nd what:", this);
  findLabel->setBuddy(findEdit_);
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(findEdit_, 0, 1);
  if (request_.replace) {
    replaceEdit_ = new QLineEdit(this);
    replaceEdit_->setObjectName("ReplaceEdit");
    auto* replaceLabel = new QLabel("Re&place with:", this);
    replaceLabel->setBuddy(replaceEdit_);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(replaceEdit_, 1, 1);
  }

  wholeWord_ = new QCheckBox("Match &whole word only", this);
  wholeWord_->setObjectName("WholeWord");
  matchCase_ = new QCheckBox("Match &case", this);
  matchCase_->setObjectName("MatchCase");
  auto* direction = new QGroupBox("Direction", this);
  up_ = new QRadioButton("&Up", direction);
  up_->setObjectName("Up");
  down_ = new QRadioButton("&Down", direction);
  down_->setObjectName("Down");
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);
  direction->setVisible(!request_.replace);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  auto* optionRow = new QHBoxLayout;
  auto* checks = new QVBoxLayout;
  checks->addWidget(wholeWord_);
  checks->addWidget(matchCase_);
  optionRow->addLayout(checks);
  optionRow->addWidget(direction);
  left->addLayout(optionRow);
  left->addStretch();

  auto* buttons = new QVBoxLayout;
  findNext_ = new QPushButton("&Find Next", this);
  findNext_->setObjectName("FindNext");
  findNext_->setDefault(true);
  buttons->addWidget(findNext_);
  connect(findNext_, &QPushButton::clicked, this, [this] { Press(frFindNext); });
  if (request_.replace) {
    replaceBtn_ = new QPushButton("&Replace", this);
    replaceBtn_->setObjectName("Replace");
    replaceAll_ = new QPushButton("Replace &All", this);
    replaceAll_->setObjectName("ReplaceAll");
    buttons->addWidget(replaceBtn_);
    buttons->addWidget(replaceAll_);
    connect(replaceBtn_, &QPushButton::clicked, this, [this] { Press(frReplace); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { Press(frReplaceAll); });
  }
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Cancel");
  buttons->addWidget(cancel);
  buttons->addStretch();
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  connect(findEdit_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });

  auto* main = new QHBoxLayout(this);
  main->addLayout(left);
  main->addLayout(buttons);
}

void TFindDialogWin::UpdateButtons() {
  bool hasText = !findEdit_->text().isEmpty();
  findNext_->setEnabled(hasText);
  if (replaceBtn_) replaceBtn_->setEnabled(hasText);
  if (replaceAll_) replaceAll_->setEnabled(hasText);
}

TFindOptions TFindDialogWin::Options() const {
  TFindOptions options = 0;
  // The replace dialog has no direction: it searches down.
  if (request_.replace || down_->isChecked()) options |= frDown;
  if (matchCase_->isChecked()) options |= frMatchCase;
  if (wholeWord_->isChecked()) options |= frWholeWord;
  return options;
}

void TFindDialogWin::Press(TFindOptions button) {
  if (findEdit_->text().isEmpty() || !request_.onFind) return;
  TFindEvent event;
  event.findText = FromQString(findEdit_->text());
  if (replaceEdit_) event.replaceText = FromQString(replaceEdit_->text());
  event.options = Options() | button;
  // The handler may close this dialog; keep what it needs on the stack.
  auto onFind = request_.onFind;
  onFind(event);
}

}  // namespace vesper
