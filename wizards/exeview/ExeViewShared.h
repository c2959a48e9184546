// Stand-ins for the shared packages' about box and most-recently-used file
// list, kept to one function and one small class so that the window can
// switch to TVesAbout and TVesMRUFileList in one place.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace vesper {

// The about box: `caption`, the product and the module's path.
void ShowExeViewAbout(QWidget* owner, const std::string& caption, const std::string& modulePath);

// Recently opened files as a submenu, newest first, kept in the registry
// under HKEY_CURRENT_USER `key` as values `name`1..`name`9.
class TExeViewMru {
 public:
  TExeViewMru(QMenu* menu, std::string key, std::string name);
  void Add(const std::string& fileName);
  const std::vector<std::string>& Items() const { return items_; }
  std::function<void(const std::string&)> OnClick;

 private:
  void Load();
  void Save();
  void Rebuild();
  QMenu* menu_;
  std::string key_, name_;
  std::vector<std::string> items_;
};

}  // namespace vesper
