#include "shared/controls/FolderBrowserDialog.h"

#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "shared/controls/PathHelpers.h"
#include "ui/QtText.h"

namespace vesper {

TFolderBrowserDialog::TFolderBrowserDialog(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("TFolderBrowserDialog"));
  setWindowTitle(QStringLiteral("Browse for Folder"));
  resize(320, 360);

  title_ = new QLabel(this);
  title_->setObjectName(QStringLiteral("TitleText"));
  title_->setWordWrap(true);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusText"));
  status_->hide();

  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setReadOnly(true);
  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("FolderTree"));
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { CurrentChanged(); });
  // Folders load in the background: keep the selection in view as they come.
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { ShowCurrent(); });
  SetRoot("");

  customButton_ = new QPushButton(this);
  customButton_->setObjectName(QStringLiteral("CustomButton"));
  customButton_->setFixedSize(75, 23);
  customButton_->hide();
  connect(customButton_, &QPushButton::clicked, this, [this] {
    if (onCustomButtonClick) onCustomButtonClick();
  });
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setDefault(true);
  okButton_->setEnabled(false);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(customButton_);
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(title_);
  layout->addWidget(status_);
  layout->addWidget(tree_, 1);
  layout->addLayout(buttons);
}

TFolderBrowserDialog::~TFolderBrowserDialog() = default;

void TFolderBrowserDialog::SetTitle(const std::string& title) {
  title_->setText(ToQString(title));
  title_->setVisible(!title.empty());
}

std::string TFolderBrowserDialog::Title() const { return FromQString(title_->text()); }

void TFolderBrowserDialog::SetStatusText(const std::string& text) {
  status_->setText(FileNameToQString(text));
}

std::string TFolderBrowserDialog::StatusText() const {
  return FileNameFromQString(status_->text());
}

void TFolderBrowserDialog::SetStatusVisible(bool visible) { status_->setVisible(visible); }

void TFolderBrowserDialog::SetRoot(const std::string& folder) {
  root_ = folder;
  if (folder.empty()) {
    model_->setRootPath(QStringLiteral("/"));
    tree_->setRootIndex(QModelIndex());
    tree_->expand(model_->index(QStringLiteral("/")));
  } else {
    QString root = FileNameToQString(folder);
    model_->setRootPath(root);
    tree_->setRootIndex(model_->index(root));
  }
}

void TFolderBrowserDialog::SelectPath(const std::string& path) {
  QModelIndex index;
  if (!path.empty() && DirectoryExists(path)) index = model_->index(FileNameToQString(path));
  QModelIndex before = tree_->currentIndex();
  tree_->setCurrentIndex(index);
  ShowCurrent();
  // Selecting the current item again still reports the selection.
  if (tree_->currentIndex() == before) CurrentChanged();
}

std::string TFolderBrowserDialog::SelectedPath() const {
  QModelIndex index = tree_->currentIndex();
  return index.isValid() ? FileNameFromQString(model_->filePath(index)) : std::string();
}

void TFolderBrowserDialog::ShowCurrent() {
  QModelIndex current = tree_->currentIndex();
  if (!current.isValid()) return;
  for (QModelIndex parent = current.parent(); parent.isValid(); parent = parent.parent())
    tree_->expand(parent);
  tree_->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void TFolderBrowserDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QTimer::singleShot(0, this, [this] { ShowCurrent(); });
}

void TFolderBrowserDialog::SetOKEnabled(bool enabled) { okButton_->setEnabled(enabled); }

bool TFolderBrowserDialog::OKEnabled() const { return okButton_->isEnabled(); }

void TFolderBrowserDialog::CurrentChanged() {
  if (onSelectionChanged) onSelectionChanged(SelectedPath());
}

}  // namespace vesper
