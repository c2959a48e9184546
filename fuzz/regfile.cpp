// .reg text reader: never crashes, and what it reads writes back to text
// that reads again without errors and to the same keys.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/RegFormat.h"
#include "platform/RegHive.h"

using namespace vesper;

static bool Same(const RegFileText& a, const RegFileText& b) {
  if (a.keys.size() != b.keys.size()) return false;
  for (size_t i = 0; i < a.keys.size(); ++i) {
    const RegFileKey &x = a.keys[i], &y = b.keys[i];
    if (x.path != y.path || x.remove != y.remove || x.values.size() != y.values.size()) return false;
    for (size_t j = 0; j < x.values.size(); ++j) {
      const RegFileValue &u = x.values[j], &v = y.values[j];
      if (u.name != v.name || u.remove != v.remove || u.data.type != v.data.type || u.data.bytes != v.data.bytes)
        return false;
    }
  }
  return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  RegFileText first = ParseRegFile(text);
  RegFileText second = ParseRegFile(FormatRegFile(first.keys));
  if (!second.errors.empty() || !Same(first, second)) std::abort();
  RegKey root("HKEY_CURRENT_USER");
  for (auto& key : first.keys) ApplyRegFileKey(root, SplitRegPath(key.path), key);
  std::vector<RegFileKey> keys;
  AppendRegFileKeys(root, "HKEY_CURRENT_USER", keys);
  if (!ParseRegFile(FormatRegFile(keys)).errors.empty()) std::abort();
  return 0;
}
