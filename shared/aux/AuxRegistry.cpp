#include "shared/aux/AuxRegistry.h"

#include "platform/Exception.h"
#include "platform/Registry.h"

namespace vesper {

namespace {

// Opens `key` of HKEY_CURRENT_USER read-only; answers whether value `name`
// of the wanted type is there.
bool OpenValue(TRegistry& reg, const std::string& key, const std::string& name,
               TRegDataType type) {
  return reg.OpenKeyReadOnly("\\" + key) && reg.ValueExists(name) &&
         reg.GetDataType(name) == type;
}

}  // namespace

std::optional<std::string> ReadRegString(const std::string& key, const std::string& name) {
  try {
    TRegistry reg;
    if (OpenValue(reg, key, name, rdString)) return reg.ReadString(name);
  } catch (const Exception&) {
  }
  return std::nullopt;
}

std::optional<int> ReadRegInteger(const std::string& key, const std::string& name) {
  try {
    TRegistry reg;
    if (OpenValue(reg, key, name, rdInteger)) return reg.ReadInteger(name);
  } catch (const Exception&) {
  }
  return std::nullopt;
}

void WriteRegString(const std::string& key, const std::string& name, const std::string& value) {
  TRegistry reg;
  reg.OpenKey("\\" + key, true);
  reg.WriteString(name, value);
}

void WriteRegInteger(const std::string& key, const std::string& name, int value) {
  TRegistry reg;
  reg.OpenKey("\\" + key, true);
  reg.WriteInteger(name, value);
}

}  // namespace vesper
