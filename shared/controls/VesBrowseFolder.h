// TVesBrowseFolder: a component around the folder browser window. Set the
// properties, call Execute, read Directory. While the browser is open its
// events get the browser window as DialogHandle, for the operations below.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>

#include "shared/controls/PathHelpers.h"

class QPushButton;
class QWidget;

namespace vesper {

class TFolderBrowserDialog;

// A window handle is the window itself.
using TDialogHandle = QWidget*;

enum TBrowseInfoFlags : uint8_t {
  bfFileSysDirsOnly,
  bfDontGoBelowDomain,
  bfStatusText,
  bfFileSysAncestors,
  bfBrowseForComputer,
  bfBrowseForPrinter
};
// A set of TBrowseInfoFlags: bit (1 << flag) per member.
using TBrowseInfoFlagSet = unsigned;
constexpr TBrowseInfoFlagSet BrowseFlag(TBrowseInfoFlags flag) { return 1u << flag; }
// The browser option each flag stands for.
extern const unsigned BROWSE_FLAG_ARRAY[6];
// The OR of the option values of the set's members.
unsigned BrowseFlagsValue(TBrowseInfoFlagSet flags);

enum TSHFolders : uint8_t {
  foDesktop,
  foDesktopExpanded,
  foPrograms,
  foControlPanel,
  foPrinters,
  foPersonal,
  foFavorites,
  foStartup,
  foRecent,
  foSendto,
  foRecycleBin,
  foStartMenu,
  foDesktopDirectory,
  foMyComputer,
  foNetwork,
  foNetworkNeighborhood,
  foFonts,
  foTemplates
};
// The special-folder number of each root (-1: no root).
extern const int SH_FOLDERS_ARRAY[18];
// The folder at the top of the tree for `root`: "" (the whole file system)
// for foDesktopExpanded and for special folders that do not exist here.
std::string RootPathOf(TSHFolders root);

class TVesBrowseFolder : public QObject {
 public:
  using TBrowserInitializedEvent = std::function<void(TVesBrowseFolder&, TDialogHandle)>;
  using TSelectionChangedEvent = std::function<void(TVesBrowseFolder&, TDialogHandle,
                                                    const TItemIDList&, const std::string&)>;
  using TCustomButtonClickEvent = std::function<void(TVesBrowseFolder&, TDialogHandle)>;

  explicit TVesBrowseFolder(QObject* owner = nullptr);
  ~TVesBrowseFolder() override;

  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& directory) { directory_ = directory; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  TBrowseInfoFlagSet Flags() const { return flags_; }
  void SetFlags(TBrowseInfoFlagSet flags) { flags_ = flags; }
  bool ShowPathInStatusArea() const { return showPathInStatusArea_; }
  void SetShowPathInStatusArea(bool show) { showPathInStatusArea_ = show; }
  TSHFolders RootFolder() const { return rootFolder_; }
  void SetRootFolder(TSHFolders root) { rootFolder_ = root; }
  bool CustomButtonVisible() const { return customButtonVisible_; }
  void SetCustomButtonVisible(bool visible) { customButtonVisible_ = visible; }
  // The next three also act on the button while the browser is open.
  bool CustomButtonEnabled() const { return customButtonEnabled_; }
  void SetCustomButtonEnabled(bool enabled);
  const std::string& CustomButtonCaption() const { return customButtonCaption_; }
  void SetCustomButtonCaption(const std::string& caption);
  int CustomButtonWidth() const { return customButtonWidth_; }
  // Values below 1 become 75.
  void SetCustomButtonWidth(int width);
  bool SyncCustomButton() const { return syncCustomButton_; }
  void SetSyncCustomButton(bool sync) { syncCustomButton_ = sync; }

  TBrowserInitializedEvent OnInitialized;
  TSelectionChangedEvent OnSelectionChanged;
  TCustomButtonClickEvent OnCustomButtonClick;

  // The window that owns the browser, used when it is still alive.
  void SetOwnerHandle(QWidget* owner);
  // The chosen folder's display name (its last piece).
  const std::string& DisplayName() const { return displayName_; }
  // The selection's path while the browser is open.
  const std::string& SelectionPath() const { return selectionPath_; }
  // The open browser, or nullptr.
  TDialogHandle DialogHandle() const;
  QPushButton* CustomButtonHandle() const;

  // Runs the browser modally through the dialogs service; true when the user
  // chose a folder, which is then in Directory.
  bool Execute();

  // For the events while the browser is open.
  void SetStatusText(TDialogHandle dialog, const std::string& text);
  void SetSelectionPath(TDialogHandle dialog, const std::string& path);
  void SetSelectionPIDL(TDialogHandle dialog, const TItemIDList& itemIDList);
  // Also sets CustomButtonEnabled when SyncCustomButton is on.
  void EnableOK(TDialogHandle dialog, bool enable);

 private:
  QWidget* OwnerWindow() const;
  void Initialized(TFolderBrowserDialog& dialog);
  void AddCustomButton(TFolderBrowserDialog& dialog);
  void SelectionChanged(TFolderBrowserDialog& dialog, const std::string& path);

  std::string directory_, title_;
  TBrowseInfoFlagSet flags_ = 0;
  bool showPathInStatusArea_ = false;
  TSHFolders rootFolder_ = foDesktopExpanded;
  bool customButtonVisible_ = false;
  bool customButtonEnabled_ = true;
  std::string customButtonCaption_;
  int customButtonWidth_ = 75;
  bool syncCustomButton_ = false;

  QPointer<QWidget> ownerHandle_;
  std::string displayName_, selectionPath_;
  TFolderBrowserDialog* dialog_ = nullptr;
};

}  // namespace vesper
