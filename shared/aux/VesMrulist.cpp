#include "shared/aux/VesMrulist.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "shared/aux/AuxRegistry.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

constexpr int kMostItems = 30;

std::string ValueName(int index) { return "File" + std::to_string(index + 1); }

// "&1 /path/name" with the file name's own '&' doubled.
QString ItemCaption(int index, const std::string& fileName) {
  QString name = FileNameToQString(fileName);
  name.replace(QLatin1Char('&'), QStringLiteral("&&"));
  QString number = index < 9 ? QStringLiteral("&%1").arg(index + 1) : QString::number(index + 1);
  return number + QLatin1Char(' ') + name;
}

}  // namespace

TVesMRUFileList::TVesMRUFileList(QObject* owner) : QObject(owner) {}

TVesMRUFileList::~TVesMRUFileList() {
  if (submenu_) delete submenu_.data();
}

void TVesMRUFileList::SetSubmenuName(const std::string& name) {
  submenuName_ = name;
  if (submenu_) submenu_->setTitle(ToQString(name));
}

void TVesMRUFileList::SetFileMenu(QAction* item) {
  if (submenu_) delete submenu_.data();
  QMenu* menu = nullptr;
  if (item)
    for (QObject* object : item->associatedObjects())
      if ((menu = qobject_cast<QMenu*>(object))) break;
  if (!menu) return;
  submenu_ = new QMenu(ToQString(submenuName_), menu);
  submenu_->setObjectName(QStringLiteral("MRUSubmenu"));
  const QList<QAction*> actions = menu->actions();
  qsizetype at = actions.indexOf(item);
  if (at >= 0 && at + 1 < actions.size())
    menu->insertMenu(actions[at + 1], submenu_);
  else
    menu->addMenu(submenu_);
  Rebuild();
}

void TVesMRUFileList::SetAutoSaveName(const std::string& key) {
  autoSaveName_ = key;
  Load();
}

void TVesMRUFileList::SetAutoSaveKey(const std::string& key) {
  autoSaveKey_ = key;
  Load();
}

void TVesMRUFileList::SetMaxItems(int count) {
  maxItems_ = std::clamp(count, 1, kMostItems);
  if (int(items_.size()) > maxItems_) {
    items_.resize(maxItems_);
    Save();
    Rebuild();
  }
}

void TVesMRUFileList::AddItem(const std::string& fileName) {
  if (fileName.empty()) return;
  std::erase(items_, fileName);
  items_.insert(items_.begin(), fileName);
  if (int(items_.size()) > maxItems_) items_.resize(maxItems_);
  Save();
  Rebuild();
}

void TVesMRUFileList::RemoveItem(const std::string& fileName) {
  if (std::erase(items_, fileName) == 0) return;
  Save();
  Rebuild();
}

void TVesMRUFileList::Clear() {
  items_.clear();
  Save();
  Rebuild();
}

void TVesMRUFileList::Choose(int index) {
  if (index < 0 || index >= int(items_.size())) return;
  std::string fileName = items_[index];
  if (!FileExists(fileName)) {
    RemoveItem(fileName);
    MessageDlg("File " + fileName + " no longer exists. It was removed from the list.",
               mtWarning, mbOK);
    return;
  }
  if (OnMRUItemClick) OnMRUItemClick(*this, fileName);
}

std::string TVesMRUFileList::RegistryKey() const {
  return autoSaveName_.empty() ? std::string() : autoSaveName_ + "\\" + autoSaveKey_;
}

void TVesMRUFileList::Load() {
  items_.clear();
  if (!RegistryKey().empty()) {
    for (int i = 0; int(items_.size()) < maxItems_; ++i) {
      std::optional<std::string> file = ReadRegString(RegistryKey(), ValueName(i));
      if (!file) break;
      if (!file->empty() && std::find(items_.begin(), items_.end(), *file) == items_.end())
        items_.push_back(*file);
    }
  }
  Rebuild();
}

void TVesMRUFileList::Save() const {
  if (RegistryKey().empty()) return;
  TRegistry reg;
  reg.OpenKey("\\" + RegistryKey(), true);
  for (const std::string& name : reg.GetValueNames()) reg.DeleteValue(name);
  for (size_t i = 0; i < items_.size(); ++i) reg.WriteString(ValueName(int(i)), items_[i]);
}

void TVesMRUFileList::Rebuild() {
  if (!submenu_) return;
  // An entry may be the one being triggered: let it go later.
  for (QAction* old : submenu_->actions()) {
    submenu_->removeAction(old);
    old->deleteLater();
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    QAction* action = submenu_->addAction(ItemCaption(int(i), items_[i]));
    connect(action, &QAction::triggered, this, [this, i] { Choose(int(i)); });
  }
  submenu_->setEnabled(!items_.empty());
}

}  // namespace vesper
