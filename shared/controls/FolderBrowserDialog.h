// The folder browser window: a title, a status text, a tree of the file
// system's folders, OK and Cancel, and room for one extra push button on the
// left of the button row. TVesBrowseFolder drives it.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace vesper {

class TFolderBrowserDialog : public QDialog {
 public:
  explicit TFolderBrowserDialog(QWidget* owner = nullptr);
  ~TFolderBrowserDialog() override;

  void SetTitle(const std::string& title);
  std::string Title() const;
  void SetStatusText(const std::string& text);
  std::string StatusText() const;
  void SetStatusVisible(bool visible);
  // The folder at the top of the tree; "" shows the whole file system.
  void SetRoot(const std::string& folder);
  const std::string& Root() const { return root_; }
  // Selects `path` when it is an existing folder, else clears the selection.
  void SelectPath(const std::string& path);
  // The selected folder's path, or "" when nothing is selected.
  std::string SelectedPath() const;
  void SetOKEnabled(bool enabled);
  bool OKEnabled() const;
  // The extra push button, hidden until shown by the caller.
  QPushButton& CustomButton() const { return *customButton_; }

  // Called with the new selection's path ("" when none).
  std::function<void(const std::string&)> onSelectionChanged;
  std::function<void()> onCustomButtonClick;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CurrentChanged();
  // Expands the way to the selection and scrolls it into view.
  void ShowCurrent();

  std::string root_;
  QLabel* title_;
  QLabel* status_;
  QTreeView* tree_;
  QFileSystemModel* model_;
  QPushButton* okButton_;
  QPushButton* customButton_;
};

}  // namespace vesper
