#include "ui/DialogState.h"

#include "platform/StrUtils.h"

namespace vesper {

std::string TMemoryDialogStateStore::ReadFolder(const std::string& key) {
  auto it = folders_.find(UpperCase(key));
  return it == folders_.end() ? std::string() : it->second;
}

void TMemoryDialogStateStore::WriteFolder(const std::string& key, const std::string& folder) {
  folders_[UpperCase(key)] = folder;
}

namespace {

TDialogStateStore*& InstalledStore() {
  static TDialogStateStore* store = nullptr;
  return store;
}

}  // namespace

TDialogStateStore& DialogStates() {
  static TMemoryDialogStateStore memory;
  TDialogStateStore* store = InstalledStore();
  return store ? *store : memory;
}

TDialogStateStore* SetDialogStates(TDialogStateStore* store) {
  TDialogStateStore* previous = InstalledStore();
  InstalledStore() = store;
  return previous;
}

}  // namespace vesper
