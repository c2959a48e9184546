#include "tools/vesper-ide/AppBuilder.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTreeWidget>

#include "ide/ToolIntf.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "tools/vesper-ide/CodeEditor.h"
#include "tools/vesper-ide/ExpertLoader.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace vesper::ide_app {

namespace {

const char* kSourceFilter =
    "Pascal units (*.pas)|*.pas|Projects (*.dpr;*.dpk;*.mak)|*.dpr;*.dpk;*.mak|"
    "C++ files (*.cpp;*.h)|*.cpp;*.h|All files (*.*)|*.*";
const char* kProjectFilter = "Projects (*.dpr;*.dpk;*.mak)|*.dpr;*.dpk;*.mak|All files (*.*)|*.*";

QKeySequence ToKeySequence(ide::TShortCut sc) {
  int key = sc & 0xFF;
  int qt = 0;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) qt = key;
  else if (key >= ide::vkF1 && key < ide::vkF1 + 24) qt = Qt::Key_F1 + (key - ide::vkF1);
  else {
    static const std::pair<int, int> map[] = {
        {ide::vkBack, Qt::Key_Backspace}, {ide::vkTab, Qt::Key_Tab},     {ide::vkReturn, Qt::Key_Return},
        {ide::vkEscape, Qt::Key_Escape},  {ide::vkSpace, Qt::Key_Space}, {ide::vkPrior, Qt::Key_PageUp},
        {ide::vkNext, Qt::Key_PageDown},  {ide::vkEnd, Qt::Key_End},     {ide::vkHome, Qt::Key_Home},
        {ide::vkLeft, Qt::Key_Left},      {ide::vkUp, Qt::Key_Up},       {ide::vkRight, Qt::Key_Right},
        {ide::vkDown, Qt::Key_Down},      {ide::vkInsert, Qt::Key_Insert}, {ide::vkDelete, Qt::Key_Delete}};
    for (auto& [vk, k] : map)
      if (vk == key) qt = k;
  }
  if (!qt) return {};
  int mods = 0;
  if (sc & ide::scShift) mods |= Qt::SHIFT;
  if (sc & ide::scCtrl) mods |= Qt::CTRL;
  if (sc & ide::scAlt) mods |= Qt::ALT;
  return QKeySequence(qt | mods);
}

}  // namespace

AppBuilder::AppBuilder(QWidget* parent)
    : QMainWindow(parent), menuRoot_(std::make_shared<ide::MenuNode>()) {
  setObjectName("AppBuilder");
  setWindowTitle("Vesper IDE");
  resize(1100, 720);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("EditorPages");
  tabs_->setTabsClosable(true);
  tabs_->setDocumentMode(true);
  setCentralWidget(tabs_);
  connect(tabs_, &QTabWidget::tabCloseRequested, this, [this](int i) {
    if (auto* e = qobject_cast<CodeEditor*>(tabs_->widget(i))) CloseFile(e->FileName());
  });
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { UpdateStatus(); });

  projectTree_ = new QTreeWidget(this);
  projectTree_->setObjectName("ProjectView");
  projectTree_->setHeaderLabels({"File", "Path"});
  projectTree_->header()->setStretchLastSection(true);
  connect(projectTree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    std::string path = FileNameFromQString(item->data(0, Qt::UserRole).toString());
    if (!path.empty()) RunGuarded([&] { OpenFile(path); });
  });
  projectDock_ = new QDockWidget("Project Manager", this);
  projectDock_->setObjectName("ProjectManagerDock");
  projectDock_->setWidget(projectTree_);
  addDockWidget(Qt::LeftDockWidgetArea, projectDock_);

  cursorLabel_ = new QLabel(this);
  statusBar()->addPermanentWidget(cursorLabel_);

  menuRoot_->OnChanged = [this] { ScheduleMenuRebuild(); };
  BuildStandardMenus();
  RebuildMenus();
  RefreshProjectView();
}

AppBuilder::~AppBuilder() { menuRoot_->OnChanged = nullptr; }

void AppBuilder::BuildStandardMenus() {
  using ide::AddMenuNode;
  using ide::TextToShortCut;
  auto cmd = [this](void (AppBuilder::*f)()) {
    return [this, f](ide::TIMenuItemIntf*) { RunGuarded([&] { (this->*f)(); }); };
  };
  auto file = AddMenuNode(menuRoot_, "&File", "FileMenu");
  AddMenuNode(file, "&Open...", "FileOpenItem", TextToShortCut("Ctrl+O"), cmd(&AppBuilder::FileOpen));
  AddMenuNode(file, "Open &Project...", "FileOpenProjectItem", TextToShortCut("Ctrl+F11"),
              cmd(&AppBuilder::FileOpenProject));
  AddMenuNode(file, "&Save", "FileSaveItem", TextToShortCut("Ctrl+S"), cmd(&AppBuilder::FileSave));
  AddMenuNode(file, "Save &As...", "FileSaveAsItem", 0, cmd(&AppBuilder::FileSaveAs));
  AddMenuNode(file, "&Close", "FileCloseItem", TextToShortCut("Ctrl+F4"), cmd(&AppBuilder::FileClose));
  AddMenuNode(file, "-", "FileSep1");
  AddMenuNode(file, "E&xit", "FileExitItem", 0, [this](ide::TIMenuItemIntf*) { close(); });

  auto edit = AddMenuNode(menuRoot_, "&Edit", "EditMenu");
  auto editCmd = [this](void (QPlainTextEdit::*f)()) {
    return [this, f](ide::TIMenuItemIntf*) {
      if (auto* e = ActiveEditor()) (e->*f)();
    };
  };
  AddMenuNode(edit, "&Undo", "EditUndoItem", TextToShortCut("Ctrl+Z"), editCmd(&QPlainTextEdit::undo));
  AddMenuNode(edit, "&Redo", "EditRedoItem", TextToShortCut("Shift+Ctrl+Z"), editCmd(&QPlainTextEdit::redo));
  AddMenuNode(edit, "-", "EditSep1");
  AddMenuNode(edit, "Cu&t", "EditCutItem", TextToShortCut("Ctrl+X"), editCmd(&QPlainTextEdit::cut));
  AddMenuNode(edit, "&Copy", "EditCopyItem", TextToShortCut("Ctrl+C"), editCmd(&QPlainTextEdit::copy));
  AddMenuNode(edit, "&Paste", "EditPasteItem", TextToShortCut("Ctrl+V"), editCmd(&QPlainTextEdit::paste));
  AddMenuNode(edit, "Select &All", "EditSelectAllItem", TextToShortCut("Ctrl+A"),
              editCmd(&QPlainTextEdit::selectAll));

  auto search = AddMenuNode(menuRoot_, "&Search", "SearchMenu");
  AddMenuNode(search, "&Find...", "SearchFindItem", TextToShortCut("Ctrl+F"), cmd(&AppBuilder::SearchFind));
  AddMenuNode(search, "&Go to Line Number...", "SearchGoToItem", TextToShortCut("Alt+G"),
              cmd(&AppBuilder::SearchGoToLine));

  auto view = AddMenuNode(menuRoot_, "&View", "ViewMenu");
  AddMenuNode(view, "&Project Manager", "ViewPrjMgrItem", TextToShortCut("Ctrl+Alt+F11"),
              [this](ide::TIMenuItemIntf*) { projectDock_->show(); projectDock_->raise(); });

  auto project = AddMenuNode(menuRoot_, "&Project", "ProjectMenu");
  AddMenuNode(project, "&Add to Project...", "ProjectAddItem", TextToShortCut("Shift+F11"),
              cmd(&AppBuilder::ProjectAdd));
  AddMenuNode(project, "&Close Project", "ProjectCloseItem", 0, [this](ide::TIMenuItemIntf*) { CloseProject(); });

  auto run = AddMenuNode(menuRoot_, "&Run", "RunMenu");
  auto runItem = AddMenuNode(run, "&Run", "RunRunItem", TextToShortCut("F9"));
  runItem->Flags = ide::mfVisible;  // no compiler in the stand-in IDE

  auto component = AddMenuNode(menuRoot_, "&Component", "ComponentMenu");
  AddMenuNode(component, "Installed &Packages...", "ComponentPackagesItem", 0,
              cmd(&AppBuilder::ShowLoadedPackages));
  AddMenuNode(menuRoot_, "&Database", "DatabaseMenu");
  AddMenuNode(menuRoot_, "&Tools", "ToolsMenu");
  auto help = AddMenuNode(menuRoot_, "&Help", "HelpMenu");
  AddMenuNode(help, "&About...", "HelpAboutItem", 0, cmd(&AppBuilder::HelpAbout));
}

void AppBuilder::ScheduleMenuRebuild() {
  if (menuRebuildPending_) return;
  menuRebuildPending_ = true;
  PostCall(this, [this] { RebuildMenus(); });
}

void AppBuilder::RebuildMenus() {
  menuRebuildPending_ = false;
  QMenuBar* bar = menuBar();
  bar->clear();
  for (auto& top : menuRoot_->Children) {
    QMenu* menu = bar->addMenu(ToQString(top->Caption));
    menu->setObjectName(ToQString(top->Name));
    menu->menuAction()->setObjectName(ToQString(top->Name) + "Action");
    menu->menuAction()->setVisible(top->Flags & ide::mfVisible);
    menu->setEnabled(top->Flags & ide::mfEnabled);
    FillMenu(menu, top);
  }
}

void AppBuilder::FillMenu(QWidget* menuWidget, const std::shared_ptr<ide::MenuNode>& node) {
  auto* menu = static_cast<QMenu*>(menuWidget);
  for (auto& child : node->Children) {
    QAction* action;
    if (!child->Children.empty()) {
      QMenu* sub = menu->addMenu(ToQString(child->Caption));
      sub->setObjectName(ToQString(child->Name));
      FillMenu(sub, child);
      action = sub->menuAction();
    } else if (child->Caption == "-") {
      action = menu->addSeparator();
    } else {
      action = menu->addAction(ToQString(child->Caption));
      action->setShortcut(ToKeySequence(child->ShortCut));
      std::weak_ptr<ide::MenuNode> weak = child;
      connect(action, &QAction::triggered, this, [weak] {
        auto n = weak.lock();
        if (!n || !n->OnClick) return;
        ide::InterfaceRef<ide::TIMenuItemIntf> item(ide::NewMenuItemObject(n, false));
        auto click = n->OnClick;  // the handler may rebuild the tree
        RunGuarded([&] { click(item.get()); });
      });
    }
    action->setObjectName(ToQString(child->Name));
    action->setEnabled(child->Flags & ide::mfEnabled);
    action->setVisible(child->Flags & ide::mfVisible);
    if (!child->Hint.empty()) action->setStatusTip(ToQString(child->Hint));
  }
}

int AppBuilder::IndexOf(const std::string& fileName) const {
  std::string full = ExpandFileName(fileName);
  for (int i = 0; i < tabs_->count(); ++i)
    if (auto* e = qobject_cast<CodeEditor*>(tabs_->widget(i)); e && SameText(e->FileName(), full)) return i;
  return -1;
}

CodeEditor* AppBuilder::EditorOf(const std::string& fileName) const {
  int i = IndexOf(fileName);
  return i < 0 ? nullptr : qobject_cast<CodeEditor*>(tabs_->widget(i));
}

CodeEditor* AppBuilder::ActiveEditor() const { return qobject_cast<CodeEditor*>(tabs_->currentWidget()); }

std::string AppBuilder::CurrentFile() const {
  auto* e = ActiveEditor();
  return e ? e->FileName() : std::string();
}

bool AppBuilder::IsFileOpen(const std::string& fileName) const { return IndexOf(fileName) >= 0; }

bool AppBuilder::OpenFile(const std::string& fileName) {
  std::string full = ExpandFileName(fileName);
  int i = IndexOf(full);
  if (i < 0) {
    auto* editor = new CodeEditor(tabs_);
    try {
      editor->LoadFile(full);
    } catch (...) {
      delete editor;
      throw;
    }
    editor->setObjectName("Editor");
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { UpdateStatus(); });
    connect(editor->document(), &QTextDocument::modificationChanged, this, [this, editor](bool modified) {
      int k = tabs_->indexOf(editor);
      if (k >= 0) tabs_->setTabText(k, FileNameToQString(ExtractFileName(editor->FileName())) + (modified ? " *" : ""));
    });
    i = tabs_->addTab(editor, FileNameToQString(ExtractFileName(full)));
    tabs_->setTabToolTip(i, FileNameToQString(full));
  }
  tabs_->setCurrentIndex(i);
  UpdateStatus();
  return true;
}

bool AppBuilder::AskToSave(CodeEditor* editor) {
  if (!editor->document()->isModified()) return true;
  TModalResult r = MessageDlg("Save changes to " + editor->FileName() + "?", mtConfirmation, mbYesNoCancel);
  if (r == mrCancel) return false;
  if (r == mrYes) editor->SaveFile(editor->FileName());
  return true;
}

bool AppBuilder::CloseFile(const std::string& fileName) {
  int i = IndexOf(fileName);
  if (i < 0) return false;
  auto* editor = qobject_cast<CodeEditor*>(tabs_->widget(i));
  if (!AskToSave(editor)) return false;
  tabs_->removeTab(i);
  editor->deleteLater();
  UpdateStatus();
  return true;
}

bool AppBuilder::SaveFile(const std::string& fileName) {
  auto* e = EditorOf(fileName);
  if (!e) return false;
  e->SaveFile(e->FileName());
  return true;
}

bool AppBuilder::OpenProject(const std::string& fileName) {
  ProjectFile p = ReadProjectFile(fileName);
  if (!CloseProject()) return false;
  project_ = std::move(p);
  OpenFile(project_.FileName);
  RefreshProjectView();
  return true;
}

bool AppBuilder::CloseProject() {
  if (!HasProject()) return true;
  for (int i = tabs_->count() - 1; i >= 0; --i)
    if (auto* e = qobject_cast<CodeEditor*>(tabs_->widget(i)); e && !CloseFile(e->FileName())) return false;
  project_ = ProjectFile{};
  RefreshProjectView();
  return true;
}

bool AppBuilder::AddToProject(const std::string& fileName) {
  if (!HasProject()) return false;
  std::string full = ExpandFileName(fileName);
  for (auto& u : project_.Units)
    if (SameText(u, full)) return true;
  AddUnitToProjectSource(project_.FileName, full);
  project_.Units.push_back(full);
  if (auto* e = EditorOf(project_.FileName); e && !e->document()->isModified()) e->LoadFile(project_.FileName);
  RefreshProjectView();
  return true;
}

void AppBuilder::RefreshProjectView() {
  projectTree_->clear();
  if (!HasProject()) {
    projectDock_->setWindowTitle("Project Manager");
    return;
  }
  projectDock_->setWindowTitle("Project Manager - " + FileNameToQString(ExtractFileName(project_.FileName)));
  auto* root = new QTreeWidgetItem(projectTree_, {FileNameToQString(ExtractFileName(project_.FileName)),
                                                  FileNameToQString(project_.FileName)});
  root->setData(0, Qt::UserRole, FileNameToQString(project_.FileName));
  for (auto& u : project_.Units) {
    auto* item = new QTreeWidgetItem(root, {FileNameToQString(ExtractFileName(u)), FileNameToQString(u)});
    item->setData(0, Qt::UserRole, FileNameToQString(u));
  }
  root->setExpanded(true);
  projectTree_->resizeColumnToContents(0);
}

void AppBuilder::UpdateStatus() {
  auto* e = ActiveEditor();
  cursorLabel_->setText(e ? QString("%1: %2").arg(e->CursorLine()).arg(e->CursorColumn()) : QString());
  std::string title = "Vesper IDE";
  if (HasProject()) title += " - " + ExtractFileName(project_.FileName);
  setWindowTitle(FileNameToQString(title));
}

void AppBuilder::closeEvent(QCloseEvent* event) {
  for (int i = 0; i < tabs_->count(); ++i)
    if (auto* e = qobject_cast<CodeEditor*>(tabs_->widget(i)); e && !AskToSave(e)) {
      event->ignore();
      return;
    }
  event->accept();
}

void AppBuilder::FileOpen() {
  TFileDialogRequest r;
  r.filter = kSourceFilter;
  r.multiSelect = true;
  r.stateKey = "IDE.Open";
  r.owner = this;
  if (!Dialogs().OpenDialog(r)) return;
  for (auto& f : r.files) {
    std::string ext = ExtractFileExt(f);
    if (SameText(ext, ".dpr") || SameText(ext, ".dpk") || SameText(ext, ".mak")) OpenProject(f);
    else OpenFile(f);
  }
}

void AppBuilder::FileOpenProject() {
  TFileDialogRequest r;
  r.filter = kProjectFilter;
  r.stateKey = "IDE.OpenProject";
  r.owner = this;
  if (Dialogs().OpenDialog(r)) OpenProject(r.fileName);
}

void AppBuilder::FileSave() {
  if (auto* e = ActiveEditor()) e->SaveFile(e->FileName());
}

void AppBuilder::FileSaveAs() {
  auto* e = ActiveEditor();
  if (!e) return;
  TFileDialogRequest r;
  r.filter = kSourceFilter;
  r.fileName = e->FileName();
  r.stateKey = "IDE.Save";
  r.owner = this;
  if (!Dialogs().SaveDialog(r)) return;
  e->SaveFile(r.fileName);
  tabs_->setTabText(tabs_->currentIndex(), FileNameToQString(ExtractFileName(r.fileName)));
  tabs_->setTabToolTip(tabs_->currentIndex(), FileNameToQString(r.fileName));
}

void AppBuilder::FileClose() {
  if (auto* e = ActiveEditor()) CloseFile(e->FileName());
}

void AppBuilder::SearchFind() {
  auto* e = ActiveEditor();
  if (!e) return;
  std::string text = lastSearch_;
  if (!Dialogs().InputQuery("Find Text", "Text to find:", text, this) || text.empty()) return;
  lastSearch_ = text;
  if (!e->find(ToQString(text))) {
    QTextCursor c = e->textCursor();
    c.movePosition(QTextCursor::Start);
    e->setTextCursor(c);
    if (!e->find(ToQString(text))) ShowMessage("Search string '" + text + "' not found");
  }
}

void AppBuilder::SearchGoToLine() {
  auto* e = ActiveEditor();
  if (!e) return;
  std::string text;
  if (!Dialogs().InputQuery("Go to Line Number", "Enter new line number:", text, this)) return;
  int line = StrToInt(text);
  e->SetCursorPosition(line, 1);
  e->centerCursor();
}

void AppBuilder::ProjectAdd() {
  if (!HasProject()) {
    ShowMessage("No project is open");
    return;
  }
  TFileDialogRequest r;
  r.filter = kSourceFilter;
  r.stateKey = "IDE.AddToProject";
  r.owner = this;
  if (Dialogs().OpenDialog(r)) AddToProject(r.fileName);
}

void AppBuilder::ShowLoadedPackages() { ShowMessage(LoadedModulesReport()); }

void AppBuilder::HelpAbout() {
  ShowMessage("Vesper IDE\n\nA small source editor that hosts the Vesper wizards.\nBase registry key: " +
              ide::ToolServices()->GetBaseRegistryKey());
}

}  // namespace vesper::ide_app
