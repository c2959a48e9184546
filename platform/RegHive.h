// The file-backed registry store: one .reg text file per hive in
// $VESPER_HOME/registry/. Every change is read-modify-write under an
// exclusive flock and replaces the file atomically; readers reload the tree
// when the file changed. Key and value names compare ignoring case and keep
// the case they were first written with.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "platform/RegFormat.h"

namespace vesper {

struct RegValue {
  std::string name;
  RegValueData data;
};

class RegKey {
 public:
  explicit RegKey(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  const std::vector<RegValue>& Values() const { return values_; }
  // Sorted by name, ignoring case.
  const std::vector<std::unique_ptr<RegKey>>& SubKeys() const { return subKeys_; }

  const RegKey* SubKey(std::string_view name) const;
  RegKey* SubKey(std::string_view name);
  // The existing subkey or a new one.
  RegKey* AddSubKey(std::string_view name);
  bool RemoveSubKey(std::string_view name);

  // A key below this one, nullptr when missing.
  const RegKey* Find(const std::vector<std::string>& path) const;
  RegKey* Find(const std::vector<std::string>& path);
  RegKey* FindOrCreate(const std::vector<std::string>& path);

  const RegValue* Value(std::string_view name) const;
  // Replaces the data of an existing value (keeping its name) or appends one.
  void SetValue(std::string_view name, RegValueData data);
  bool RemoveValue(std::string_view name);

 private:
  std::string name_;
  std::vector<RegValue> values_;
  std::vector<std::unique_ptr<RegKey>> subKeys_;
};

enum class RegRoot { CurrentUser, LocalMachine };

// "HKEY_CURRENT_USER" / "HKEY_LOCAL_MACHINE".
const char* RegRootName(RegRoot root);
// The full names and the short forms HKCU and HKLM, ignoring case.
std::optional<RegRoot> RegRootFromName(std::string_view name);

// Applies one key of .reg text to a hive's root; `path` is the key path
// below the hive root. Returns false when a write is refused (a name that
// cannot be stored).
bool ApplyRegFileKey(RegKey& root, const std::vector<std::string>& path, const RegFileKey& key);
// Appends `key` and every key below it, depth first, as .reg keys.
void AppendRegFileKeys(const RegKey& key, const std::string& path, std::vector<RegFileKey>& out);

// $VESPER_HOME, else ${XDG_CONFIG_HOME:-$HOME/.config}/vesper.
std::string VesperHomeDir();

class RegHive {
 public:
  // The process's shared store of `root` under the current $VESPER_HOME.
  static std::shared_ptr<RegHive> Open(RegRoot root);

  RegHive(RegRoot root, std::string folder);
  RegRoot Root() const { return root_; }
  const std::string& FileName() const { return fileName_; }

  // The current tree, reloaded first when the file changed. Valid until the
  // next call on this hive.
  const RegKey& Tree();
  // What the last load of the file found damaged.
  const std::vector<RegFileError>& LoadErrors();

  // Under the hive's lock: reloads the file, runs `change` on the tree and,
  // when it returns true, saves the tree atomically. A damaged file is kept
  // beside the hive as "<hive>.reg.damaged" before it is replaced. Raises
  // EFCreateError/EWriteError when the file cannot be written.
  bool Update(const std::function<bool(RegKey&)>& change);

 private:
  struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
    bool operator==(const FileStamp&) const = default;
  };
  FileStamp Stamp() const;
  // Reads the file; returns its bytes (empty when missing).
  std::string Load();
  void Refresh();

  RegRoot root_;
  std::string folder_, fileName_, lockName_;
  std::unique_ptr<RegKey> tree_;
  std::vector<RegFileError> errors_;
  FileStamp stamp_;
  bool loaded_ = false;
};

}  // namespace vesper
