#include "shared/controls/VesBrowseFolder.h"

#include <QApplication>
#include <QPushButton>
#include <QStandardPaths>

#include "platform/Files.h"
#include "shared/controls/FolderBrowserDialog.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace vesper {

const unsigned BROWSE_FLAG_ARRAY[6] = {1, 2, 4, 8, 0x1000, 0x2000};

const int SH_FOLDERS_ARRAY[18] = {0, -1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21};

unsigned BrowseFlagsValue(TBrowseInfoFlagSet flags) {
  unsigned value = 0;
  for (int flag = bfFileSysDirsOnly; flag <= bfBrowseForPrinter; ++flag)
    if (flags & BrowseFlag(TBrowseInfoFlags(flag))) value |= BROWSE_FLAG_ARRAY[flag];
  return value;
}

namespace {

std::string Location(QStandardPaths::StandardLocation location) {
  return FileNameFromQString(QStandardPaths::writableLocation(location));
}

std::string HomeFolder(const char* name) {
  return FileNameFromQString(QStandardPaths::writableLocation(QStandardPaths::HomeLocation)) +
         "/" + name;
}

std::string SpecialFolder(TSHFolders root) {
  switch (root) {
    case foDesktop:
    case foDesktopDirectory:
      return Location(QStandardPaths::DesktopLocation);
    case foPrograms:
    case foStartMenu:
      return Location(QStandardPaths::ApplicationsLocation);
    case foStartup:
      return Location(QStandardPaths::ConfigLocation) + "/autostart";
    case foPersonal:
      return Location(QStandardPaths::DocumentsLocation);
    case foRecycleBin:
      return Location(QStandardPaths::GenericDataLocation) + "/Trash/files";
    case foFonts:
      return Location(QStandardPaths::FontsLocation);
    case foTemplates:
      return HomeFolder("Templates");
    case foMyComputer:
      return "/";
    default:  // no such folder here: the whole file system
      return "";
  }
}

}  // namespace

std::string RootPathOf(TSHFolders root) {
  std::string folder = SpecialFolder(root);
  return !folder.empty() && DirectoryExists(folder) ? folder : std::string();
}

TVesBrowseFolder::TVesBrowseFolder(QObject* owner) : QObject(owner) {}

TVesBrowseFolder::~TVesBrowseFolder() = default;

void TVesBrowseFolder::SetCustomButtonEnabled(bool enabled) {
  customButtonEnabled_ = enabled;
  if (QPushButton* button = CustomButtonHandle()) button->setEnabled(enabled);
}

void TVesBrowseFolder::SetCustomButtonCaption(const std::string& caption) {
  customButtonCaption_ = caption;
  if (QPushButton* button = CustomButtonHandle()) button->setText(ToQString(caption));
}

void TVesBrowseFolder::SetCustomButtonWidth(int width) {
  customButtonWidth_ = width < 1 ? 75 : width;
  if (QPushButton* button = CustomButtonHandle()) button->setFixedWidth(customButtonWidth_);
}

void TVesBrowseFolder::SetOwnerHandle(QWidget* owner) { ownerHandle_ = owner; }

TDialogHandle TVesBrowseFolder::DialogHandle() const { return dialog_; }

QPushButton* TVesBrowseFolder::CustomButtonHandle() const {
  return dialog_ && customButtonVisible_ ? &dialog_->CustomButton() : nullptr;
}

QWidget* TVesBrowseFolder::OwnerWindow() const {
  if (ownerHandle_) return ownerHandle_;
  if (auto* widget = qobject_cast<QWidget*>(parent())) return widget->window();
  return QApplication::activeWindow();
}

bool TVesBrowseFolder::Execute() {
  TFolderBrowserDialog dialog(OwnerWindow());
  dialog.SetTitle(title_);
  dialog.SetStatusVisible(showPathInStatusArea_ || (flags_ & BrowseFlag(bfStatusText)));
  dialog.SetRoot(RootPathOf(rootFolder_));
  dialog_ = &dialog;
  dialog.onSelectionChanged = [this, &dialog](const std::string& path) {
    SelectionChanged(dialog, path);
  };
  dialog.onCustomButtonClick = [this, &dialog] {
    if (OnCustomButtonClick) OnCustomButtonClick(*this, &dialog);
  };
  Initialized(dialog);
  TModalResult result = Dialogs().ShowModal(dialog);
  dialog_ = nullptr;
  dialog.onSelectionChanged = nullptr;
  std::string chosen = dialog.SelectedPath();
  if (result != mrOk || chosen.empty() || !DirectoryExists(chosen)) return false;
  directory_ = selectionPath_ = chosen;
  displayName_ = chosen == "/" ? chosen : ExtractFileName(chosen);
  return true;
}

void TVesBrowseFolder::Initialized(TFolderBrowserDialog& dialog) {
  // Centred horizontally over the foreground window, a quarter of its height
  // below its top.
  if (QWidget* front = QApplication::activeWindow()) {
    QRect area = front->frameGeometry();
    dialog.move(area.x() + (area.width() - dialog.width()) / 2, area.y() + area.height() / 4);
  }
  if (!directory_.empty() && DirectoryExists(directory_)) dialog.SelectPath(directory_);
  if (customButtonVisible_) AddCustomButton(dialog);
  if (OnInitialized) OnInitialized(*this, &dialog);
}

void TVesBrowseFolder::AddCustomButton(TFolderBrowserDialog& dialog) {
  QPushButton& button = dialog.CustomButton();
  button.setText(ToQString(customButtonCaption_));
  button.setFixedSize(customButtonWidth_, 23);
  button.setEnabled(customButtonEnabled_);
  button.show();
}

void TVesBrowseFolder::SelectionChanged(TFolderBrowserDialog& dialog, const std::string& path) {
  selectionPath_ = path;
  if (showPathInStatusArea_) {
    std::string shortened;
    CompressString(path, "/", "...", shortened, 35);
    SetStatusText(&dialog, shortened);
  }
  EnableOK(&dialog, !path.empty() && DirectoryExists(path));
  if (OnSelectionChanged) OnSelectionChanged(*this, &dialog, path, selectionPath_);
}

namespace {

TFolderBrowserDialog* BrowserOf(TDialogHandle handle) {
  return dynamic_cast<TFolderBrowserDialog*>(handle);
}

}  // namespace

void TVesBrowseFolder::SetStatusText(TDialogHandle dialog, const std::string& text) {
  if (auto* browser = BrowserOf(dialog)) browser->SetStatusText(text);
}

void TVesBrowseFolder::SetSelectionPath(TDialogHandle dialog, const std::string& path) {
  if (auto* browser = BrowserOf(dialog)) browser->SelectPath(path);
}

void TVesBrowseFolder::SetSelectionPIDL(TDialogHandle dialog, const TItemIDList& itemIDList) {
  SetSelectionPath(dialog, itemIDList);
}

void TVesBrowseFolder::EnableOK(TDialogHandle dialog, bool enable) {
  if (auto* browser = BrowserOf(dialog)) browser->SetOKEnabled(enable);
  if (syncCustomButton_) SetCustomButtonEnabled(enable);
}

}  // namespace vesper
