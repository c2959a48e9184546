#include "platform/Registry.h"

#include <algorithm>
#include <cstring>

#include "platform/Exception.h"
#include "platform/RegHive.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"

namespace vesper {

namespace {

[[noreturn]] void ReadError(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

[[noreturn]] void GetDataError(const std::string& name) {
  throw ERegistryException("Failed to get data for '" + name + "'");
}

[[noreturn]] void SetDataError(const std::string& name) {
  throw ERegistryException("Failed to set data for '" + name + "'");
}

TRegDataType DataTypeOf(uint32_t type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

// Creates the key at `path`; false when it cannot be created.
bool CreatePath(RegHive& hive, const std::vector<std::string>& path) {
  if (!std::all_of(path.begin(), path.end(), IsRegNameWritable)) return false;
  try {
    hive.Update([&](RegKey& root) {
      if (root.Find(path)) return false;
      root.FindOrCreate(path);
      return true;
    });
  } catch (const Exception&) {
    return false;
  }
  return true;
}

std::string JoinRegPath(const std::vector<std::string>& path) {
  std::string s;
  for (auto& p : path) s += (s.empty() ? "" : "\\") + p;
  return s;
}

void Fill(TStrings& strings, const std::vector<std::string>& items) {
  strings.BeginUpdate();
  strings.Clear();
  for (auto& s : items) strings.Add(s);
  strings.EndUpdate();
}

}  // namespace

// ---- TRegistry ---------------------------------------------------------------

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

std::string TRegistry::CurrentPath() const { return state_.open ? JoinRegPath(state_.path) : ""; }

std::shared_ptr<RegHive> TRegistry::Hive() const {
  if (root_ == HKEY_CURRENT_USER) return RegHive::Open(RegRoot::CurrentUser);
  if (root_ == HKEY_LOCAL_MACHINE) return RegHive::Open(RegRoot::LocalMachine);
  return nullptr;
}

std::vector<std::string> TRegistry::ResolvePath(const std::string& key) const {
  std::vector<std::string> parts = SplitRegPath(key);
  if (!state_.open || (!key.empty() && key.front() == '\\')) return parts;
  std::vector<std::string> path = state_.path;
  path.insert(path.end(), parts.begin(), parts.end());
  return path;
}

bool TRegistry::Open(const std::string& key, bool canCreate, bool readOnly) {
  auto hive = Hive();
  if (!hive) return false;
  std::vector<std::string> path = ResolvePath(key);
  if (canCreate ? !CreatePath(*hive, path) : !hive->Tree().Find(path)) return false;
  state_ = {true, readOnly, std::move(path)};
  return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return Open(key, canCreate, false); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) { return Open(key, false, true); }

void TRegistry::CloseKey() { state_ = {}; }

bool TRegistry::CreateKey(const std::string& key) {
  auto hive = Hive();
  if (!hive || !CreatePath(*hive, ResolvePath(key))) throw ERegistryException("Failed to create key " + key);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  auto hive = Hive();
  std::vector<std::string> path = ResolvePath(key);
  if (!hive || path.empty()) return false;
  std::string last = path.back();
  path.pop_back();
  try {
    return hive->Update([&](RegKey& root) {
      RegKey* parent = root.Find(path);
      return parent && parent->RemoveSubKey(last);
    });
  } catch (const Exception&) {
    return false;
  }
}

bool TRegistry::DeleteValue(const std::string& name) {
  auto hive = Hive();
  if (!hive || !state_.open || state_.readOnly) return false;
  try {
    return hive->Update([&](RegKey& root) {
      RegKey* k = root.Find(state_.path);
      return k && k->RemoveValue(name);
    });
  } catch (const Exception&) {
    return false;
  }
}

bool TRegistry::KeyExists(const std::string& key) {
  auto hive = Hive();
  return hive && hive->Tree().Find(ResolvePath(key));
}

const RegKey* TRegistry::CurrentKey() const {
  auto hive = Hive();
  return hive && state_.open ? hive->Tree().Find(state_.path) : nullptr;
}

const RegValueData* TRegistry::FindData(const std::string& name) const {
  const RegKey* k = CurrentKey();
  const RegValue* v = k ? k->Value(name) : nullptr;
  return v ? &v->data : nullptr;
}

bool TRegistry::ValueExists(const std::string& name) { return FindData(name) != nullptr; }

bool TRegistry::HasSubKeys() {
  const RegKey* k = CurrentKey();
  return k && !k->SubKeys().empty();
}

std::vector<std::string> TRegistry::GetKeyNames() {
  std::vector<std::string> names;
  if (const RegKey* k = CurrentKey())
    for (auto& sub : k->SubKeys()) names.push_back(sub->Name());
  return names;
}

std::vector<std::string> TRegistry::GetValueNames() {
  std::vector<std::string> names;
  if (const RegKey* k = CurrentKey())
    for (auto& v : k->Values()) names.push_back(v.name);
  return names;
}

void TRegistry::GetKeyNames(TStrings& strings) { Fill(strings, GetKeyNames()); }

void TRegistry::GetValueNames(TStrings& strings) { Fill(strings, GetValueNames()); }

int TRegistry::GetDataSize(const std::string& name) {
  const RegValueData* d = FindData(name);
  return d ? int(d->bytes.size()) : -1;
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
  const RegValueData* d = FindData(name);
  return d ? DataTypeOf(d->type) : rdUnknown;
}

const RegValueData& TRegistry::GetData(const std::string& name, size_t bufSize) const {
  const RegValueData* d = FindData(name);
  if (!d || d->bytes.size() > bufSize) GetDataError(name);
  return *d;
}

void TRegistry::PutData(const std::string& name, RegValueData data) {
  auto hive = Hive();
  if (!hive || !state_.open || state_.readOnly || !IsRegNameWritable(name)) SetDataError(name);
  bool written = false;
  try {
    written = hive->Update([&](RegKey& root) {
      RegKey* k = root.Find(state_.path);
      if (k) k->SetValue(name, std::move(data));
      return k != nullptr;
    });
  } catch (const Exception&) {
  }
  if (!written) SetDataError(name);
}

std::string TRegistry::ReadString(const std::string& name) {
  const RegValueData* d = FindData(name);
  if (!d || d->bytes.empty()) return "";
  if (d->type != REG_SZ && d->type != REG_EXPAND_SZ) ReadError(name);
  return RegDataText(*d);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) { PutData(name, RegStringData(value)); }

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  RegValueData d = RegStringData(value);
  d.type = REG_EXPAND_SZ;
  PutData(name, std::move(d));
}

int32_t TRegistry::ReadInteger(const std::string& name) {
  const RegValueData& d = GetData(name, sizeof(int32_t));
  if (d.type != REG_DWORD) ReadError(name);
  uint32_t v = 0;
  for (size_t i = 0; i < d.bytes.size(); ++i) v |= uint32_t(static_cast<unsigned char>(d.bytes[i])) << (8 * i);
  return int32_t(v);
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) { PutData(name, RegDwordData(uint32_t(value))); }

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

double TRegistry::ReadFloat(const std::string& name) {
  const RegValueData& d = GetData(name, sizeof(double));
  if (d.type != REG_BINARY || d.bytes.size() != sizeof(double)) ReadError(name);
  double v;
  std::memcpy(&v, d.bytes.data(), sizeof v);
  return v;
}

void TRegistry::WriteFloat(const std::string& name, double value) { WriteBinaryData(name, &value, sizeof value); }

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize) {
  const RegValueData* d = FindData(name);
  if (!d) return 0;
  if (d->type != REG_BINARY || bufSize < 0 || d->bytes.size() > size_t(bufSize)) ReadError(name);
  if (!d->bytes.empty()) std::memcpy(buffer, d->bytes.data(), d->bytes.size());
  return int(d->bytes.size());
}

std::string TRegistry::ReadBinaryData(const std::string& name) {
  const RegValueData* d = FindData(name);
  if (!d) return "";
  if (d->type != REG_BINARY) ReadError(name);
  return d->bytes;
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufSize) {
  if (bufSize < 0) SetDataError(name);
  PutData(name, RegBinaryData(std::string_view(static_cast<const char*>(buffer), size_t(bufSize))));
}

// ---- TRegIniFile -------------------------------------------------------------

TRegIniFile::TRegIniFile(const std::string& fileName) : fileName_(fileName) { OpenKey(fileName, true); }

template <class F>
bool TRegIniFile::InSection(const std::string& section, bool create, F&& f) {
  if (create) CreateKey(section);
  if (!KeyExists(section)) return false;
  OpenState saved = State();
  SetState({true, saved.readOnly, ResolvePath(section)});
  try {
    f();
  } catch (...) {
    SetState(std::move(saved));
    throw;
  }
  SetState(std::move(saved));
  return true;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
  std::string result = def;
  InSection(section, false, [&] {
    if (ValueExists(ident)) result = TRegistry::ReadString(ident);
  });
  return result;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  InSection(section, true, [&] { TRegistry::WriteString(ident, value); });
}

int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t def) {
  int32_t result = def;
  InSection(section, false, [&] {
    if (!ValueExists(ident)) return;
    std::string s = TRegistry::ReadString(ident);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
    result = StrToIntDef(s, def);
  });
  return result;
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

std::vector<std::string> TRegIniFile::ReadSection(const std::string& section) {
  std::vector<std::string> names;
  InSection(section, false, [&] { names = GetValueNames(); });
  return names;
}

std::vector<std::string> TRegIniFile::ReadSections() { return GetKeyNames(); }

std::vector<std::string> TRegIniFile::ReadSectionValues(const std::string& section) {
  std::vector<std::string> lines;
  for (auto& ident : ReadSection(section)) {
    std::string value = ReadString(section, ident, "");
    if (!value.empty()) lines.push_back(ident + "=" + value);
  }
  return lines;
}

void TRegIniFile::ReadSection(const std::string& section, TStrings& strings) { Fill(strings, ReadSection(section)); }

void TRegIniFile::ReadSections(TStrings& strings) { Fill(strings, ReadSections()); }

void TRegIniFile::ReadSectionValues(const std::string& section, TStrings& strings) {
  for (auto& ident : ReadSection(section)) strings.SetValue(ident, ReadString(section, ident, ""));
}

void TRegIniFile::EraseSection(const std::string& section) { TRegistry::DeleteKey(section); }

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  InSection(section, false, [&] { DeleteValue(ident); });
}

}  // namespace vesper
