// TVesMRUFileList: a sub-menu of recently used files (most recent first)
// next to a File menu item, kept in the registry under
// <AutoSaveName>\<AutoSaveKey> (AuxRegistry.h). Choosing a file that no
// longer exists removes it from the list and says so; choosing an existing
// one calls OnMRUItemClick.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace vesper {

class TVesMRUFileList : public QObject {
 public:
  using TMRUItemClickEvent = std::function<void(TVesMRUFileList&, const std::string&)>;

  explicit TVesMRUFileList(QObject* owner = nullptr);
  ~TVesMRUFileList() override;

  const std::string& SubmenuName() const { return submenuName_; }
  void SetSubmenuName(const std::string& name);
  // The menu item the sub-menu follows (in the menu that holds it).
  void SetFileMenu(QAction* item);
  // Registry key (under HKEY_CURRENT_USER) and its sub-key of the list;
  // setting either reads the list stored there.
  const std::string& AutoSaveName() const { return autoSaveName_; }
  void SetAutoSaveName(const std::string& key);
  const std::string& AutoSaveKey() const { return autoSaveKey_; }
  void SetAutoSaveKey(const std::string& key);
  // At most this many files are kept (1..30, default 9).
  int MaxItems() const { return maxItems_; }
  void SetMaxItems(int count);

  TMRUItemClickEvent OnMRUItemClick;

  // Puts `fileName` first (moving it when listed) and saves the list.
  void AddItem(const std::string& fileName);
  void RemoveItem(const std::string& fileName);
  void Clear();
  const std::vector<std::string>& Items() const { return items_; }
  // The sub-menu, or nullptr before SetFileMenu.
  QMenu* Submenu() const { return submenu_; }
  // What choosing the item at `index` does (as a click on its menu entry).
  void Choose(int index);

 private:
  std::string RegistryKey() const;
  void Load();
  void Save() const;
  void Rebuild();

  std::string submenuName_ = "&Reopen";
  std::string autoSaveName_, autoSaveKey_ = "MRUF";
  int maxItems_ = 9;
  std::vector<std::string> items_;
  QPointer<QMenu> submenu_;
};

}  // namespace vesper
