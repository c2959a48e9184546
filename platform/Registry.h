// TRegistry and TRegIniFile with the class library's semantics, over the
// file-backed hives of RegHive.h.
//
// Key paths use '\'. A path starting with '\' is absolute (from the root
// key); any other path is relative to the open key, or to the root key when
// none is open.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/RegFormat.h"

namespace vesper {

class RegHive;
class RegKey;
class TStrings;

using HKEY = uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
 public:
  TRegistry();
  virtual ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // HKEY_CURRENT_USER (the default) or HKEY_LOCAL_MACHINE; other roots have
  // no store and cannot be opened. Setting the root closes the open key.
  HKEY RootKey() const { return root_; }
  void SetRootKey(HKEY root);
  // The open key's path below the root, without a leading '\'.
  std::string CurrentPath() const;

  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  // Raises ERegistryException "Failed to create key %s" when it cannot.
  bool CreateKey(const std::string& key);
  // Deletes the key with all its subkeys; false when it does not exist.
  bool DeleteKey(const std::string& key);
  bool DeleteValue(const std::string& name);
  bool KeyExists(const std::string& key);
  bool ValueExists(const std::string& name);
  bool HasSubKeys();
  std::vector<std::string> GetKeyNames();
  std::vector<std::string> GetValueNames();
  // Replace the contents of `strings` with the names.
  void GetKeyNames(TStrings& strings);
  void GetValueNames(TStrings& strings);
  // Size of the stored data (a text counts its terminating zero); -1 when
  // the value does not exist.
  int GetDataSize(const std::string& name);
  TRegDataType GetDataType(const std::string& name);

  // A missing value reads as "".
  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  int32_t ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, int32_t value);
  bool ReadBool(const std::string& name);
  void WriteBool(const std::string& name, bool value);
  double ReadFloat(const std::string& name);
  void WriteFloat(const std::string& name, double value);
  // Copies binary data into `buffer`; returns its size, 0 when the value is
  // missing. Raises "Invalid data type for '%s'" when the value is not
  // binary or larger than `bufSize`.
  int ReadBinaryData(const std::string& name, void* buffer, int bufSize);
  std::string ReadBinaryData(const std::string& name);
  void WriteBinaryData(const std::string& name, const void* buffer, int bufSize);

 protected:
  struct OpenState {
    bool open = false;
    bool readOnly = false;
    std::vector<std::string> path;
  };
  const OpenState& State() const { return state_; }
  void SetState(OpenState state) { state_ = std::move(state); }
  // The path of `key` from the root (relative to the open key unless it
  // starts with '\').
  std::vector<std::string> ResolvePath(const std::string& key) const;

 private:
  std::shared_ptr<RegHive> Hive() const;
  const RegKey* CurrentKey() const;
  const RegValueData* FindData(const std::string& name) const;
  // The value's data, checked to fit in `bufSize` bytes; raises "Failed to
  // get data for '%s'" when missing or too large.
  const RegValueData& GetData(const std::string& name, size_t bufSize) const;
  void PutData(const std::string& name, RegValueData data);
  bool Open(const std::string& key, bool canCreate, bool readOnly);

  HKEY root_ = HKEY_CURRENT_USER;
  OpenState state_;
};

// An INI-file view of a key: sections are its subkeys, idents their values.
// Integers and Booleans are stored as text.
class TRegIniFile : public TRegistry {
 public:
  // Opens (creating it when needed) `fileName` below HKEY_CURRENT_USER.
  explicit TRegIniFile(const std::string& fileName);
  const std::string& FileName() const { return fileName_; }

  using TRegistry::DeleteKey;
  using TRegistry::ReadBool;
  using TRegistry::ReadInteger;
  using TRegistry::ReadString;
  using TRegistry::WriteBool;
  using TRegistry::WriteInteger;
  using TRegistry::WriteString;

  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def);
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t def);
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  bool ReadBool(const std::string& section, const std::string& ident, bool def);
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  // The idents of a section.
  std::vector<std::string> ReadSection(const std::string& section);
  // The sections (subkeys).
  std::vector<std::string> ReadSections();
  // "Ident=Value" for every ident with a non-empty value.
  std::vector<std::string> ReadSectionValues(const std::string& section);
  // The same into string lists: ReadSection and ReadSections replace the
  // contents; ReadSectionValues sets Values[Ident] in `strings`.
  void ReadSection(const std::string& section, TStrings& strings);
  void ReadSections(TStrings& strings);
  void ReadSectionValues(const std::string& section, TStrings& strings);
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& ident);

 private:
  // Runs `f` with `section` as the open key; false when the section is
  // missing (and `create` is false).
  template <class F>
  bool InSection(const std::string& section, bool create, F&& f);

  std::string fileName_;
};

}  // namespace vesper
