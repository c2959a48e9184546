#include "platform/RegHive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"

namespace vesper {

// ---- RegKey ----------------------------------------------------------------

namespace {

template <class Keys>
auto LowerBound(Keys& keys, std::string_view name) {
  return std::lower_bound(keys.begin(), keys.end(), name,
                          [](const std::unique_ptr<RegKey>& k, std::string_view n) { return CompareText(k->Name(), n) < 0; });
}

}  // namespace

const RegKey* RegKey::SubKey(std::string_view name) const {
  auto it = LowerBound(subKeys_, name);
  return it != subKeys_.end() && SameText((*it)->Name(), name) ? it->get() : nullptr;
}

RegKey* RegKey::SubKey(std::string_view name) {
  return const_cast<RegKey*>(static_cast<const RegKey*>(this)->SubKey(name));
}

RegKey* RegKey::AddSubKey(std::string_view name) {
  auto it = LowerBound(subKeys_, name);
  if (it != subKeys_.end() && SameText((*it)->Name(), name)) return it->get();
  return subKeys_.insert(it, std::make_unique<RegKey>(std::string(name)))->get();
}

bool RegKey::RemoveSubKey(std::string_view name) {
  auto it = LowerBound(subKeys_, name);
  if (it == subKeys_.end() || !SameText((*it)->Name(), name)) return false;
  subKeys_.erase(it);
  return true;
}

const RegKey* RegKey::Find(const std::vector<std::string>& path) const {
  const RegKey* k = this;
  for (auto& part : path)
    if (!(k = k->SubKey(part))) return nullptr;
  return k;
}

RegKey* RegKey::Find(const std::vector<std::string>& path) {
  return const_cast<RegKey*>(static_cast<const RegKey*>(this)->Find(path));
}

RegKey* RegKey::FindOrCreate(const std::vector<std::string>& path) {
  RegKey* k = this;
  for (auto& part : path) k = k->AddSubKey(part);
  return k;
}

const RegValue* RegKey::Value(std::string_view name) const {
  for (auto& v : values_)
    if (SameText(v.name, name)) return &v;
  return nullptr;
}

void RegKey::SetValue(std::string_view name, RegValueData data) {
  for (auto& v : values_)
    if (SameText(v.name, name)) {
      v.data = std::move(data);
      return;
    }
  values_.push_back({std::string(name), std::move(data)});
}

bool RegKey::RemoveValue(std::string_view name) {
  auto it = std::find_if(values_.begin(), values_.end(), [&](const RegValue& v) { return SameText(v.name, name); });
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

// ---- roots and .reg keys -----------------------------------------------------

const char* RegRootName(RegRoot root) {
  return root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::optional<RegRoot> RegRootFromName(std::string_view name) {
  if (SameText(name, "HKEY_CURRENT_USER") || SameText(name, "HKCU")) return RegRoot::CurrentUser;
  if (SameText(name, "HKEY_LOCAL_MACHINE") || SameText(name, "HKLM")) return RegRoot::LocalMachine;
  return std::nullopt;
}

bool ApplyRegFileKey(RegKey& root, const std::vector<std::string>& path, const RegFileKey& key) {
  if (key.remove) {
    if (path.empty()) return false;
    RegKey* parent = root.Find(std::vector<std::string>(path.begin(), path.end() - 1));
    if (parent) parent->RemoveSubKey(path.back());
    return true;
  }
  if (!std::all_of(path.begin(), path.end(), IsRegNameWritable)) return false;
  RegKey* k = root.FindOrCreate(path);
  bool ok = true;
  for (auto& v : key.values) {
    if (v.remove) k->RemoveValue(v.name);
    else if (IsRegNameWritable(v.name)) k->SetValue(v.name, v.data);
    else ok = false;
  }
  return ok;
}

void AppendRegFileKeys(const RegKey& key, const std::string& path, std::vector<RegFileKey>& out) {
  RegFileKey k;
  k.path = path;
  for (auto& v : key.Values()) k.values.push_back({v.name, false, v.data});
  out.push_back(std::move(k));
  for (auto& sub : key.SubKeys()) AppendRegFileKeys(*sub, path + "\\" + sub->Name(), out);
}

std::string VesperHomeDir() {
  if (const char* home = std::getenv("VESPER_HOME"); home && *home) return home;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return JoinPath(xdg, "vesper");
  const char* home = std::getenv("HOME");
  return JoinPath(JoinPath(home && *home ? home : "/", ".config"), "vesper");
}

// ---- RegHive -----------------------------------------------------------------

namespace {

class FileLock {
 public:
  explicit FileLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) throw EFCreateError("Cannot create file " + path);
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        throw EFOpenError("Cannot lock file " + path);
      }
    }
  }
  ~FileLock() {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace

std::shared_ptr<RegHive> RegHive::Open(RegRoot root) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<RegHive>> hives;
  std::string folder = JoinPath(VesperHomeDir(), "registry");
  std::lock_guard<std::mutex> guard(mutex);
  auto& hive = hives[JoinPath(folder, RegRootName(root))];
  if (!hive) hive = std::make_shared<RegHive>(root, folder);
  return hive;
}

RegHive::RegHive(RegRoot root, std::string folder)
    : root_(root),
      folder_(std::move(folder)),
      fileName_(JoinPath(folder_, std::string(RegRootName(root)) + ".reg")),
      lockName_(JoinPath(folder_, std::string(RegRootName(root)) + ".lock")) {}

RegHive::FileStamp RegHive::Stamp() const {
  FileStamp s;
  struct stat st;
  if (::stat(fileName_.c_str(), &st) != 0) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtimeSec = st.st_mtim.tv_sec;
  s.mtimeNsec = st.st_mtim.tv_nsec;
  s.ctimeSec = st.st_ctim.tv_sec;
  s.ctimeNsec = st.st_ctim.tv_nsec;
  return s;
}

std::string RegHive::Load() {
  FileStamp stamp = Stamp();
  std::string bytes;
  errors_.clear();
  if (stamp.exists) {
    try {
      bytes = ReadFileBytes(fileName_);
    } catch (const Exception& e) {
      errors_.push_back({0, e.Message()});
    }
  }
  tree_ = std::make_unique<RegKey>(RegRootName(root_));
  RegFileText text = ParseRegFile(bytes);
  errors_.insert(errors_.end(), text.errors.begin(), text.errors.end());
  for (auto& key : text.keys) {
    std::vector<std::string> path = SplitRegPath(key.path);
    if (path.empty() || !SameText(path.front(), RegRootName(root_))) {
      errors_.push_back({key.line, "key outside the hive"});
      continue;
    }
    path.erase(path.begin());
    if (!ApplyRegFileKey(*tree_, path, key)) errors_.push_back({key.line, "invalid key or value name"});
  }
  stamp_ = stamp;
  loaded_ = true;
  return bytes;
}

void RegHive::Refresh() {
  if (!loaded_ || !(Stamp() == stamp_)) Load();
}

const RegKey& RegHive::Tree() {
  Refresh();
  return *tree_;
}

const std::vector<RegFileError>& RegHive::LoadErrors() {
  Refresh();
  return errors_;
}

bool RegHive::Update(const std::function<bool(RegKey&)>& change) {
  if (!ForceDirectories(folder_)) throw EFCreateError("Cannot create file " + fileName_);
  FileLock lock(lockName_);
  std::string before = Load();
  // Until the file is written, the tree may differ from it: reload next time.
  loaded_ = false;
  if (!change(*tree_)) return false;
  if (!errors_.empty() && !before.empty()) SaveFileAtomic(fileName_ + ".damaged", before);
  std::vector<RegFileKey> keys;
  AppendRegFileKeys(*tree_, RegRootName(root_), keys);
  SaveFileAtomic(fileName_, FormatRegFile(keys));
  errors_.clear();
  stamp_ = Stamp();
  loaded_ = true;
  return true;
}

}  // namespace vesper
