// `vesper reg`: look at and repair the registry hives of $VESPER_HOME.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/RegHive.h"
#include "platform/StrUtils.h"
#include "tools/vesper/Command.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper reg query KEY [VALUE]\n"
    "       vesper reg set KEY VALUE TYPE DATA\n"
    "       vesper reg delete KEY [VALUE]\n"
    "       vesper reg export [KEY] [FILE]\n"
    "       vesper reg import FILE\n"
    "\n"
    "Looks at and repairs Vesper's settings in the registry hives of $VESPER_HOME.\n"
    "KEY is a full key path such as HKEY_CURRENT_USER\\Software\\Vesper (HKCU and\n"
    "HKLM are accepted as root names). VALUE '@' is the key's default value.\n"
    "TYPE is string, expand, dword (decimal or 0x hexadecimal) or binary (hex\n"
    "bytes such as 01ff or 01,ff). export writes the .reg text of KEY and its\n"
    "subkeys (of both hives without KEY); FILE '-' or none is standard output\n"
    "(standard input for import). Damaged lines of an imported file are\n"
    "reported and skipped; the rest is imported.\n"
    "Exit status: 0 done, 1 key or value not found, 2 usage or other error.\n";

const char kNotFound[] = "The system was unable to find the specified registry key or value.";

struct KeyArg {
  RegRoot root;
  std::vector<std::string> path;  // below the root
};

std::optional<KeyArg> ParseKey(const std::string& text) {
  std::vector<std::string> parts = SplitRegPath(text);
  if (parts.empty()) return std::nullopt;
  auto root = RegRootFromName(parts.front());
  if (!root) return std::nullopt;
  parts.erase(parts.begin());
  return KeyArg{*root, std::move(parts)};
}

std::string ValueName(const std::string& arg) { return arg == "@" ? "" : arg; }

const Command& Self();

int NotFound() {
  Fail(kNotFound);
  return kExitNotFound;
}

int Usage(const std::string& message) { return UsageError(Self(), message); }

// Opens a hive and reports the lines of its file that could not be read.
std::shared_ptr<RegHive> OpenHive(RegRoot root) {
  auto hive = RegHive::Open(root);
  for (auto& e : hive->LoadErrors())
    std::fprintf(stderr, "%s:%d: %s\n", hive->FileName().c_str(), e.line, e.reason.c_str());
  return hive;
}

// The key's path as stored ("HKEY_CURRENT_USER\Software\Vesper").
std::string StoredPath(const RegKey& root, const std::vector<std::string>& path) {
  std::string s = root.Name();
  const RegKey* k = &root;
  for (auto& part : path) {
    k = k->SubKey(part);
    s += "\\" + k->Name();
  }
  return s;
}

const char* TypeName(uint32_t type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    default: return "REG_UNKNOWN";
  }
}

std::string DisplayData(const RegValueData& d) {
  if (d.type == REG_SZ || d.type == REG_EXPAND_SZ) return RegDataText(d);
  if (d.type == REG_DWORD && d.bytes.size() == 4) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v |= uint32_t(static_cast<unsigned char>(d.bytes[i])) << (8 * i);
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", v);
    return buf;
  }
  std::string hex;
  for (unsigned char c : d.bytes) hex += IntToHex(c, 2);
  return hex;
}

void PrintValue(const RegValue& v) {
  std::printf("    %s    %s    %s\n", v.name.empty() ? "(Default)" : v.name.c_str(), TypeName(v.data.type),
              DisplayData(v.data).c_str());
}

int Query(const std::vector<std::string>& args) {
  if (args.size() < 2 || args.size() > 3) return Usage("query needs KEY and an optional VALUE");
  auto key = ParseKey(args[1]);
  if (!key) return Usage("unknown root key in '" + args[1] + "'");
  auto hive = OpenHive(key->root);
  const RegKey& root = hive->Tree();
  const RegKey* k = root.Find(key->path);
  if (!k) return NotFound();
  std::string path = StoredPath(root, key->path);
  if (args.size() == 3) {
    const RegValue* v = nullptr;
    for (auto& value : k->Values())
      if (SameText(value.name, ValueName(args[2]))) v = &value;
    if (!v) return NotFound();
    std::printf("%s\n", path.c_str());
    PrintValue(*v);
    return kExitOk;
  }
  std::printf("%s\n", path.c_str());
  for (auto& v : k->Values()) PrintValue(v);
  if (!k->SubKeys().empty()) std::printf("\n");
  for (auto& sub : k->SubKeys()) std::printf("%s\\%s\n", path.c_str(), sub->Name().c_str());
  return kExitOk;
}

// "01ff03" or "01,ff,3".
std::optional<RegValueData> ParseHexBytes(const std::string& data) {
  std::vector<std::string> items;
  if (data.find(',') != std::string::npos) {
    for (auto& item : SplitString(data, ',')) items.push_back(Trim(item));
  } else {
    std::string digits = Trim(data);
    if (digits.size() % 2) return std::nullopt;
    for (size_t i = 0; i < digits.size(); i += 2) items.push_back(digits.substr(i, 2));
  }
  std::string bytes;
  for (auto& item : items) {
    int32_t b;
    if (item.empty() || item.size() > 2 || item[0] == '-' || !TryStrToInt("$" + item, b)) return std::nullopt;
    bytes += char(b);
  }
  return RegBinaryData(bytes);
}

std::optional<RegValueData> ParseData(const std::string& type, const std::string& data) {
  if (SameText(type, "string") || SameText(type, "REG_SZ")) return RegStringData(data);
  if (SameText(type, "expand") || SameText(type, "REG_EXPAND_SZ")) {
    RegValueData d = RegStringData(data);
    d.type = REG_EXPAND_SZ;
    return d;
  }
  if (SameText(type, "dword") || SameText(type, "REG_DWORD")) {
    int64_t v;
    std::string s = Trim(data);
    if (StartsText("0x", s)) s = "$" + s.substr(2);
    if (!TryStrToInt64(s, v) || v < INT32_MIN || v > UINT32_MAX) return std::nullopt;
    return RegDwordData(uint32_t(v));
  }
  if (SameText(type, "binary") || SameText(type, "REG_BINARY")) return ParseHexBytes(data);
  return std::nullopt;
}

int Set(const std::vector<std::string>& args) {
  if (args.size() != 5) return Usage("set needs KEY VALUE TYPE DATA");
  auto key = ParseKey(args[1]);
  if (!key) return Usage("unknown root key in '" + args[1] + "'");
  auto data = ParseData(args[3], args[4]);
  if (!data) return Usage("invalid " + args[3] + " data '" + args[4] + "'");
  std::string name = ValueName(args[2]);
  if (!IsRegNameWritable(name)) return Fail("invalid value name");
  OpenHive(key->root)->Update([&](RegKey& root) {
    root.FindOrCreate(key->path)->SetValue(name, *data);
    return true;
  });
  return kExitOk;
}

int Delete(const std::vector<std::string>& args) {
  if (args.size() < 2 || args.size() > 3) return Usage("delete needs KEY and an optional VALUE");
  auto key = ParseKey(args[1]);
  if (!key) return Usage("unknown root key in '" + args[1] + "'");
  if (args.size() == 2 && key->path.empty()) return Fail("a root key cannot be deleted");
  bool done = OpenHive(key->root)->Update([&](RegKey& root) {
    if (args.size() == 3) {
      RegKey* k = root.Find(key->path);
      return k && k->RemoveValue(ValueName(args[2]));
    }
    RegKey* parent = root.Find({key->path.begin(), key->path.end() - 1});
    return parent && parent->RemoveSubKey(key->path.back());
  });
  if (!done) return NotFound();
  return kExitOk;
}

int Export(const std::vector<std::string>& args) {
  if (args.size() > 3) return Usage("export takes an optional KEY and FILE");
  std::optional<KeyArg> key;
  size_t next = 1;
  if (args.size() > 1 && (key = ParseKey(args[1]))) next = 2;
  if (args.size() > next + 1) return Usage("unknown root key in '" + args[1] + "'");
  std::string file = args.size() > next ? args[next] : "-";
  std::vector<RegFileKey> keys;
  if (key) {
    auto hive = OpenHive(key->root);
    const RegKey& root = hive->Tree();
    const RegKey* k = root.Find(key->path);
    if (!k) return NotFound();
    AppendRegFileKeys(*k, StoredPath(root, key->path), keys);
  } else {
    for (RegRoot r : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
      auto hive = OpenHive(r);
      const RegKey& root = hive->Tree();
      if (!root.Values().empty() || !root.SubKeys().empty()) AppendRegFileKeys(root, root.Name(), keys);
    }
  }
  std::string text = FormatRegFile(keys);
  if (file == "-") std::fwrite(text.data(), 1, text.size(), stdout);
  else SaveFileAtomic(file, text);
  return kExitOk;
}

int Import(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage("import needs FILE");
  const std::string& file = args[1];
  std::string text = file == "-" ? std::string(std::istreambuf_iterator<char>(std::cin), {}) : ReadFileBytes(file);
  RegFileText parsed = ParseRegFile(text);
  std::vector<RegFileError> errors = parsed.errors;
  for (RegRoot r : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
    std::vector<std::pair<std::vector<std::string>, const RegFileKey*>> mine;
    for (auto& k : parsed.keys) {
      std::vector<std::string> path = SplitRegPath(k.path);
      auto root = RegRootFromName(path.front());
      if (root == r) mine.push_back({{path.begin() + 1, path.end()}, &k});
      else if (!root && r == RegRoot::CurrentUser) errors.push_back({k.line, "unknown root key"});
    }
    if (mine.empty()) continue;
    OpenHive(r)->Update([&](RegKey& root) {
      for (auto& [path, k] : mine)
        if (!ApplyRegFileKey(root, path, *k)) errors.push_back({k->line, "invalid key or value name"});
      return true;
    });
  }
  std::sort(errors.begin(), errors.end(), [](auto& a, auto& b) { return a.line < b.line; });
  for (auto& e : errors) std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), e.line, e.reason.c_str());
  return errors.empty() ? kExitOk : kExitError;
}

int RunReg(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  if (args.empty()) return Usage("");
  try {
    const std::string& action = args[0];
    if (action == "query") return Query(args);
    if (action == "set") return Set(args);
    if (action == "delete") return Delete(args);
    if (action == "export") return Export(args);
    if (action == "import") return Import(args);
    return Usage("unknown action '" + action + "'");
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
}

VESPER_COMMAND("reg", "query, change, export and import registry settings", kUsage, RunReg);

const Command& Self() { return *FindCommand("reg"); }

}  // namespace
}  // namespace vesper::cli
