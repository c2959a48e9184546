#include "wizards/exeview/ExeViewScrn.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "ide/ToolIntf.h"
#include "platform/Files.h"
#include "platform/Modules.h"
#include "platform/Registry.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/HourGlass.h"
#include "ui/QtText.h"
#include "ui/ReportEngine.h"
#include "shared/aux/VesMrulist.h"
#include "shared/controls/VesAbout.h"
#include "wizards/exeview/core/OutputFile.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/ExeDepends.h"

namespace vesper {
namespace {

const char* const kFilter =
    "Executables (*.exe)|*.exe|DLL's (*.dll)|*.dll|Delphi Packages (*.dpl)|*.dpl|Vesper Wizards (*.vwz)|*.vwz|"
    "OCX files (*.ocx)|*.ocx|Others (*.drv, *.386)|*.386;*.drv|Any File (*.*)|*.*";
const char* const kSettingsKey = "Software\\Vesper";
const char* const kSection = "ExeView";

// The tree images by index (the unused indexes are blank).
QIcon TreeImage(int index) {
  QStyle* style = QApplication::style();
  switch (index) {
    case imgPackagesRoot: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case imgDllRoot: return style->standardIcon(QStyle::SP_ComputerIcon);
    case imgUnknownRoot: return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case imgPackage: return style->standardIcon(QStyle::SP_DriveFDIcon);
    case imgFunction: return style->standardIcon(QStyle::SP_ArrowRight);
    case imgUnitsRoot: return style->standardIcon(QStyle::SP_DirIcon);
    case imgUnit: return style->standardIcon(QStyle::SP_FileIcon);
    default: return {};
  }
}

QAction* CheckAction(QObject* parent, const char* name, const char* text) {
  auto* action = new QAction(text, parent);
  action->setObjectName(name);
  action->setCheckable(true);
  return action;
}

}  // namespace

TExeViewScrn::TExeViewScrn(ide::TIToolServices* toolServices, std::string modulePath, QWidget* parent)
    : QMainWindow(parent), toolServices_(toolServices), modulePath_(std::move(modulePath)) {
  setObjectName("ExeViewScrn");
  setWindowTitle("Exe View");
  resize(560, 420);
  tv_ = new QTreeWidget;
  tv_->setObjectName("Tv");
  tv_->setHeaderHidden(true);
  tv_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lv_ = new QTreeWidget;
  lv_->setObjectName("Lv");
  lv_->setHeaderLabels({"Name"});
  lv_->setRootIsDecorated(false);
  lv_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lv_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lv_->header()->setSectionResizeMode(QHeaderView::Stretch);  // the column fills the list
  auto* splitter = new QSplitter;
  splitter->setObjectName("Splitter");
  splitter->addWidget(tv_);
  splitter->addWidget(lv_);
  splitter->setSizes({300, 260});
  setCentralWidget(splitter);
  connect(tv_, &QTreeWidget::currentItemChanged, this, Guarded([this](QTreeWidgetItem* node, QTreeWidgetItem*) { TvChange(node); }));
  connect(tv_, &QTreeWidget::itemExpanded, this, Guarded([this](QTreeWidgetItem* node) { TvExpanding(node); }));
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  ReadSettings();
  searchFolder_ = DefaultSearchFolder();
  fmPrintset_->setEnabled(PrinterExists());
}

TExeViewScrn::~TExeViewScrn() {
  FreeImage();
  WriteSettings();
}

void TExeViewScrn::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("mFile");
  fmOpen_ = file->addAction("&Open...", this, Guarded([this] { fmOpenClick(); }));
  fmOpen_->setObjectName("fmOpen");
  mru_ = new TVesMRUFileList(this);
  mru_->setObjectName("Mru");
  mru_->SetSubmenuName("&Reopen");
  mru_->SetFileMenu(fmOpen_);
  mru_->SetAutoSaveName("\\Software\\Vesper\\ExeView");
  mru_->SetAutoSaveKey("MRUF");
  if (mru_->Submenu()) mru_->Submenu()->setObjectName("MruMenu");
  mru_->OnMRUItemClick = [this](TVesMRUFileList&, const std::string& fileName) {
    RunGuarded([&] { OpenFile(fileName, false); });
  };
  file->addSeparator();
  fmPrintset_ = file->addAction("Print &Setup", this, Guarded([this] { PrinterSetup(this); }));
  fmPrintset_->setObjectName("fmPrintset");
  fmPpv_ = file->addAction("Print Pre&view", this, Guarded([this] { PrintReport(true); }));
  fmPpv_->setObjectName("fmPpv");
  fmPrint_ = file->addAction("&Print", this, Guarded([this] { PrintReport(false); }));
  fmPrint_->setObjectName("fmPrint");
  file->addSeparator();
  QAction* exit = file->addAction("&Exit", this, [this] { close(); });
  exit->setObjectName("fmExit");

  QMenu* defaults = menuBar()->addMenu("&Defaults");
  defaults->setObjectName("mDefaults");
  dmDplDeps_ = CheckAction(this, "dmDplDeps", "&Show dependencies");
  dmCalls_ = CheckAction(this, "dmCalls", "Show Imports");
  defaults->addAction(dmDplDeps_);
  defaults->addAction(dmCalls_);
  connect(dmDplDeps_, &QAction::triggered, this, Guarded([this] { ToggleDependencies(false); }));
  connect(dmCalls_, &QAction::triggered, this, Guarded([this] { ToggleImports(false); }));

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("mView");
  vmTb_ = CheckAction(this, "vmTb", "&Toolbar");
  vmStatus_ = CheckAction(this, "vmStatus", "&Status Bar");
  view->addAction(vmTb_);
  view->addAction(vmStatus_);
  connect(vmTb_, &QAction::toggled, this, [this](bool on) { tb_->setVisible(on); });
  connect(vmStatus_, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("mHelp");
  help->addAction("&Contents", this, Guarded([this] { hmIndexClick(); }))->setObjectName("hmIndex");
  help->addAction("&About", this, Guarded([this] { hmAboutClick(); }))->setObjectName("hmAbout");
}

void TExeViewScrn::CreateToolBar() {
  tb_ = addToolBar("Tool Bar");
  tb_->setObjectName("Tb");
  tb_->setFixedHeight(28);
  tb_->setMovable(false);
  QStyle* s = style();
  tb_->addAction(s->standardIcon(QStyle::SP_DialogOpenButton), "Open new file", this,
                 Guarded([this] { fmOpenClick(); }))->setObjectName("tbOpen");
  tb_->addSeparator();
  tbRecurse_ = CheckAction(this, "tbRecurse", "Show dependency");
  tbRecurse_->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
  tbImports_ = CheckAction(this, "tbImports", "Show Imports");
  tbImports_->setIcon(s->standardIcon(QStyle::SP_FileDialogListView));
  tb_->addAction(tbRecurse_);
  tb_->addAction(tbImports_);
  connect(tbRecurse_, &QAction::triggered, this, Guarded([this] { ToggleDependencies(true); }));
  connect(tbImports_, &QAction::triggered, this, Guarded([this] { ToggleImports(true); }));
  tb_->addSeparator();
  tbPreview_ = tb_->addAction(s->standardIcon(QStyle::SP_FileDialogContentsView), "Print Preview", this,
                              Guarded([this] { PrintReport(true); }));
  tbPreview_->setObjectName("tbPreview");
  tbPrint_ = tb_->addAction(s->standardIcon(QStyle::SP_DialogSaveButton), "Print", this,
                            Guarded([this] { PrintReport(false); }));
  tbPrint_->setObjectName("tbPrint");
  SetPrintEnabled(false);
}

void TExeViewScrn::CreateStatusBar() {
  statusBar()->setObjectName("Sb");
  statusBar()->setFixedHeight(19);
  statusBar()->setSizeGripEnabled(false);
  const char* texts[] = {"Imports", "", "Units", "", ""};
  for (int i = 0; i < 5; ++i) {
    auto* panel = new QLabel(texts[i]);
    panel->setObjectName(QString("SbPanel%1").arg(i));
    panel->setMinimumWidth(i == 4 ? 160 : 50);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(panel, i == 4 ? 1 : 0);
    panels_.push_back(panel);
  }
}

void TExeViewScrn::ReadSettings() {
  TRegIniFile ini(kSettingsKey);
  bool toolBar = ini.ReadBool(kSection, "ToolBar", true), status = ini.ReadBool(kSection, "StatusBar", true);
  bool calls = ini.ReadBool(kSection, "Calls", false), dpls = ini.ReadBool(kSection, "Dpls", true);
  vmTb_->setChecked(toolBar);
  vmStatus_->setChecked(status);
  tb_->setVisible(toolBar);
  statusBar()->setVisible(status);
  dmCalls_->setChecked(calls);
  tbImports_->setChecked(calls);
  dmDplDeps_->setChecked(dpls);
  tbRecurse_->setChecked(dpls);
}

void TExeViewScrn::WriteSettings() {
  try {
    TRegIniFile ini(kSettingsKey);
    ini.WriteBool(kSection, "ToolBar", vmTb_->isChecked());
    ini.WriteBool(kSection, "StatusBar", vmStatus_->isChecked());
    ini.WriteBool(kSection, "Calls", dmCalls_->isChecked());
    ini.WriteBool(kSection, "Dpls", dmDplDeps_->isChecked());
  } catch (const std::exception&) {
    // Settings that cannot be written are not worth a failure at close.
  }
}

void TExeViewScrn::FreeImage() { image_.reset(); }

void TExeViewScrn::PostStartFile() {
  if (startFile_.empty()) return;
  PostCall(this, [this] { RunGuarded([this] { OpenFile(startFile_); }); });
}

void TExeViewScrn::OpenFile(const std::string& fileName, bool addToMru) {
  FreeImage();
  image_ = std::make_unique<TExe32Image>(fileName);
  if (addToMru) mru_->AddItem(fileName);
  setWindowTitle(FileNameToQString(fileName));
  ScanIt();
}

void TExeViewScrn::OpenProjectOutput() {
  if (!toolServices_) return;
  std::string output = FindProjectOutputFile(toolServices_->GetProjectName());
  if (!output.empty()) OpenFile(output);
}

void TExeViewScrn::fmOpenClick() {
  TFileDialogRequest request;
  request.filter = kFilter;
  request.stateKey = "ExeView";
  request.owner = this;
  if (Dialogs().OpenDialog(request)) OpenFile(request.fileName);
}

void TExeViewScrn::SetPanel(int index, const std::string& text) {
  panels_[size_t(index)]->setText(ToQString(text));
  statusBar()->repaint();
}

std::string TExeViewScrn::PanelText(int index) const { return FromQString(panels_[size_t(index)]->text()); }

void TExeViewScrn::SetPrintEnabled(bool enabled) {
  for (QAction* action : {fmPpv_, fmPrint_, tbPreview_, tbPrint_})
    if (action) action->setEnabled(enabled);
}

void TExeViewScrn::AddNodes(QTreeWidgetItem* parent, const std::vector<TDepNode>& nodes) {
  for (const TDepNode& node : nodes) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tv_);
    item->setText(0, ToQString(node.Text));
    item->setIcon(0, TreeImage(node.ImageIndex));
    AddNodes(item, node.Children);
  }
}

void TExeViewScrn::ScanIt() {
  if (!image_) return;
  THourGlass hourGlass;
  TScanOptions options;
  options.ShowImports = dmCalls_->isChecked();
  options.ShowDependencies = dmDplDeps_->isChecked();
  options.SearchFolder = searchFolder_;
  TScanResult result = vesper::ScanIt(*image_, options);
  SetPanel(1, std::to_string(result.ImportCount));
  SetPanel(4, "Loading " + std::to_string(result.ImportCount) + " Imports");
  lv_->clear();
  tv_->clear();
  if (result.Roots.empty()) {
    // The import table could not be read.
    MessageDlg(result.Error, mtError, mbOK);
    SetPanel(1, "0");
    SetPanel(4, "Ready");
    return;
  }
  AddNodes(nullptr, result.Roots);
  if (!result.Error.empty()) throw Exception(result.Error);  // no package information
  SetPanel(3, std::to_string(result.UnitCount));
  SetPanel(4, "Loading " + std::to_string(result.UnitCount) + " Units");
  SetPanel(4, "Ready");
  SetPrintEnabled(fmPrintset_->isEnabled());
  tv_->setCurrentItem(tv_->topLevelItem(0));
  tv_->setFocus();
}

void TExeViewScrn::TvChange(QTreeWidgetItem* node) {
  lv_->clear();
  if (!node) return;
  if (node->childCount() > 0) {
    for (int i = 0; i < node->childCount(); ++i) new QTreeWidgetItem(lv_, QStringList{node->child(i)->text(0)});
  } else if (node->parent()) {
    new QTreeWidgetItem(lv_, QStringList{node->text(0)});
  }
}

void TExeViewScrn::TvExpanding(QTreeWidgetItem* node) {
  tv_->setCurrentItem(node);
  tv_->setFocus();
}

void TExeViewScrn::ToggleDependencies(bool fromButton) {
  bool on = fromButton ? tbRecurse_->isChecked() : dmDplDeps_->isChecked();
  dmDplDeps_->setChecked(on);
  tbRecurse_->setChecked(on);
  ScanIt();
}

void TExeViewScrn::ToggleImports(bool fromButton) {
  bool on = fromButton ? tbImports_->isChecked() : dmCalls_->isChecked();
  dmCalls_->setChecked(on);
  tbImports_->setChecked(on);
  ScanIt();
}

std::vector<std::string> TExeViewScrn::PrintLines() const {
  std::vector<std::string> lines;
  auto walk = [&](auto& self, QTreeWidgetItem* item, int depth) -> void {
    lines.push_back(std::string(size_t(depth) * 4, ' ') + FromQString(item->text(0)));
    for (int i = 0; i < item->childCount(); ++i) self(self, item->child(i), depth + 1);
  };
  for (int i = 0; i < tv_->topLevelItemCount(); ++i) walk(walk, tv_->topLevelItem(i), 0);
  return lines;
}

void TExeViewScrn::PrintReport(bool preview) {
  std::vector<std::string> lines = PrintLines();
  size_t row = 0;
  TReport report;
  report.title = FromQString(windowTitle());
  report.title = ExtractFileName(report.title);
  report.heading = "Map Print";
  report.AddField("File Name", FromQString(windowTitle()));
  report.AddPageNumber("Page #");
  report.AddPrintedAt("Dated");
  report.AddColumn("Dependency Type");
  auto current = [&](TReportData& data) {
    data.eof = row >= lines.size();
    if (!data.eof) data.values = {lines[row]};
  };
  report.onDataStart = [&](TReportData& data) {
    row = 0;
    current(data);
  };
  report.onDataSkip = [&](TReportData& data) {
    ++row;
    current(data);
  };
  if (preview)
    report.Preview(this);
  else
    report.Print();
}

void TExeViewScrn::hmIndexClick() {
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(FileNameToQString(helpFile_))))
    MessageDlg("Cannot open the help file " + helpFile_, mtError, mbOK);
}

void TExeViewScrn::hmAboutClick() {
  TVesAbout about(this);
  about.SetModuleFileName(modulePath_.empty() ? GetModuleFileName(nullptr) : modulePath_);
  about.SetCaption("About ExeView");
  Dialogs().ShowModal(about);
}

void TExeViewScrn::closeEvent(QCloseEvent* event) {
  FreeImage();
  tv_->clear();
  lv_->clear();
  QMainWindow::closeEvent(event);
}

}  // namespace vesper
