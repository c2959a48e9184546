#include "wizards/exeview/ExeViewShared.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "platform/Registry.h"
#include "platform/StrUtils.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace vesper {
namespace {
constexpr size_t kMaxItems = 9;
}

void ShowExeViewAbout(QWidget* owner, const std::string& caption, const std::string& modulePath) {
  TMessageBoxRequest request;
  request.caption = caption;
  request.text = "Vesper Exe Viewer\nShows what a 32-bit Windows program, library or package imports.\n\n" +
                 modulePath;
  request.owner = owner;
  Dialogs().MessageBox(request);
}

TExeViewMru::TExeViewMru(QMenu* menu, std::string key, std::string name)
    : menu_(menu), key_(std::move(key)), name_(std::move(name)) {
  Load();
  Rebuild();
}

void TExeViewMru::Add(const std::string& fileName) {
  items_.erase(std::remove(items_.begin(), items_.end(), fileName), items_.end());
  items_.insert(items_.begin(), fileName);
  if (items_.size() > kMaxItems) items_.resize(kMaxItems);
  Save();
  Rebuild();
}

void TExeViewMru::Load() {
  TRegistry reg;
  if (!reg.OpenKeyReadOnly(key_)) return;
  for (size_t i = 1; i <= kMaxItems; ++i) {
    std::string value = name_ + std::to_string(i);
    if (reg.ValueExists(value) && !reg.ReadString(value).empty()) items_.push_back(reg.ReadString(value));
  }
}

void TExeViewMru::Save() {
  TRegistry reg;
  if (!reg.OpenKey(key_, true)) return;
  for (size_t i = 1; i <= kMaxItems; ++i) {
    std::string value = name_ + std::to_string(i);
    if (i <= items_.size())
      reg.WriteString(value, items_[i - 1]);
    else if (reg.ValueExists(value))
      reg.DeleteValue(value);
  }
}

void TExeViewMru::Rebuild() {
  menu_->clear();
  menu_->setEnabled(!items_.empty());
  for (size_t i = 0; i < items_.size(); ++i) {
    QAction* action = menu_->addAction(QString("&%1 ").arg(i + 1) + FileNameToQString(items_[i]));
    std::string file = items_[i];
    QObject::connect(action, &QAction::triggered, Guarded([this, file] {
                       if (OnClick) OnClick(file);
                     }));
  }
}

}  // namespace vesper
