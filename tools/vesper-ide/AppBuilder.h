// The stand-in IDE's main window ("AppBuilder"): the IDE's menus (shown from
// the menu tree that experts extend through the tool services), tabbed
// source editors and a project view.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "ide/MenuTree.h"
#include "tools/vesper-ide/ProjectFile.h"

class QTabWidget;
class QTreeWidget;
class QDockWidget;
class QLabel;

namespace vesper::ide_app {

class CodeEditor;

class AppBuilder : public QMainWindow {
  Q_OBJECT
 public:
  explicit AppBuilder(QWidget* parent = nullptr);
  ~AppBuilder() override;

  std::shared_ptr<ide::MenuNode> MenuRoot() const { return menuRoot_; }

  // Files. Paths are made absolute; comparisons ignore case.
  bool OpenFile(const std::string& fileName);
  bool IsFileOpen(const std::string& fileName) const;
  // Closes the file's page, asking to save a modified one; false when the
  // file is not open or the user cancels.
  bool CloseFile(const std::string& fileName);
  bool SaveFile(const std::string& fileName);
  CodeEditor* EditorOf(const std::string& fileName) const;
  CodeEditor* ActiveEditor() const;
  std::string CurrentFile() const;

  // Projects.
  bool OpenProject(const std::string& fileName);
  bool CloseProject();
  bool HasProject() const { return !project_.FileName.empty(); }
  const ProjectFile& Project() const { return project_; }
  // Adds a unit file to the project (and to the project source's clause).
  bool AddToProject(const std::string& fileName);

  // Rebuilds the menu bar from the menu tree now (it is otherwise rebuilt
  // on the next event-loop pass after a change).
  void RebuildMenus();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildStandardMenus();
  void ScheduleMenuRebuild();
  void FillMenu(QWidget* menu, const std::shared_ptr<ide::MenuNode>& node);
  void RefreshProjectView();
  void UpdateStatus();
  bool AskToSave(CodeEditor* editor);
  int IndexOf(const std::string& fileName) const;

  // Menu commands.
  void FileOpen();
  void FileOpenProject();
  void FileSave();
  void FileSaveAs();
  void FileClose();
  void SearchFind();
  void SearchGoToLine();
  void ProjectAdd();
  void ShowLoadedPackages();
  void HelpAbout();

  std::shared_ptr<ide::MenuNode> menuRoot_;
  bool menuRebuildPending_ = false;
  QTabWidget* tabs_;
  QTreeWidget* projectTree_;
  QDockWidget* projectDock_;
  QLabel* cursorLabel_;
  ProjectFile project_;
  std::string lastSearch_;
};

}  // namespace vesper::ide_app
