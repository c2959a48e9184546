// Where open, save and folder dialogs remember their last folder, by state
// key. The store in force keeps it in memory until a registry-backed store
// is installed.
#pragma once

#include <map>
#include <string>

namespace vesper {

class TDialogStateStore {
 public:
  virtual ~TDialogStateStore() = default;
  // The folder remembered under `key`, or "" when none.
  virtual std::string ReadFolder(const std::string& key) = 0;
  virtual void WriteFolder(const std::string& key, const std::string& folder) = 0;
};

// Keys compare ignoring case, as registry keys do.
class TMemoryDialogStateStore : public TDialogStateStore {
 public:
  std::string ReadFolder(const std::string& key) override;
  void WriteFolder(const std::string& key, const std::string& folder) override;

 private:
  std::map<std::string, std::string> folders_;
};

// The store in force: the one installed, else a process-wide memory store.
TDialogStateStore& DialogStates();
// Installs `store` (nullptr: the memory store) and returns the one it replaces.
TDialogStateStore* SetDialogStates(TDialogStateStore* store);

}  // namespace vesper
