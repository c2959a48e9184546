// The executable viewer's window: the tree of the modules an executable,
// library or package imports (packages, libraries, units, others), their
// functions and dependencies, with printing of the tree.
#pragma once

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace vesper {

namespace ide {
class TIToolServices;
}
class TExe32Image;
class TVesMRUFileList;
struct TDepNode;

class TExeViewScrn : public QMainWindow {
 public:
  // `toolServices` is null outside the IDE.
  TExeViewScrn(ide::TIToolServices* toolServices, std::string modulePath, QWidget* parent = nullptr);
  ~TExeViewScrn() override;

  void SetToolServices(ide::TIToolServices* toolServices) { toolServices_ = toolServices; }
  void SetModulePath(std::string path) { modulePath_ = std::move(path); }
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::string path) { helpFile_ = std::move(path); }
  // The file opened once the window's event loop runs (PostStartFile).
  void SetStartFile(std::string path) { startFile_ = std::move(path); }
  void PostStartFile();

  // Opens `fileName` and scans it; a file that cannot be read raises.
  void OpenFile(const std::string& fileName, bool addToMru = true);
  // Opens the current project's output file; nothing without a project.
  void OpenProjectOutput();
  bool HasImage() const { return image_ != nullptr; }
  void ScanIt();

  // The tree as the report prints it: four blanks per level, one per line.
  std::vector<std::string> PrintLines() const;
  std::string PanelText(int index) const;
  const std::string& SearchFolder() const { return searchFolder_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void ReadSettings();
  void WriteSettings();
  void FreeImage();
  void AddNodes(QTreeWidgetItem* parent, const std::vector<TDepNode>& nodes);
  void SetPanel(int index, const std::string& text);
  void SetPrintEnabled(bool enabled);
  void ToggleDependencies(bool fromButton);
  void ToggleImports(bool fromButton);
  void PrintReport(bool preview);

  void fmOpenClick();
  void TvChange(QTreeWidgetItem* node);
  void TvExpanding(QTreeWidgetItem* node);
  void hmIndexClick();
  void hmAboutClick();

  ide::TIToolServices* toolServices_;
  std::string modulePath_, helpFile_, startFile_, searchFolder_;
  std::unique_ptr<TExe32Image> image_;
  TVesMRUFileList* mru_ = nullptr;  // owned by the window

  QTreeWidget* tv_ = nullptr;
  QTreeWidget* lv_ = nullptr;
  QToolBar* tb_ = nullptr;
  std::vector<QLabel*> panels_;
  QAction *fmOpen_ = nullptr, *fmPrintset_ = nullptr, *fmPpv_ = nullptr, *fmPrint_ = nullptr;
  QAction *dmDplDeps_ = nullptr, *dmCalls_ = nullptr, *vmTb_ = nullptr, *vmStatus_ = nullptr;
  QAction *tbRecurse_ = nullptr, *tbImports_ = nullptr, *tbPreview_ = nullptr, *tbPrint_ = nullptr;
};

}  // namespace vesper
