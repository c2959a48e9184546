#include "host/VesperIntf.h"


#include <algorithm>
#include <cstring>

namespace vesper {

const char* WizardTypeName(TWizardType t) {
  switch (t) {
    case TWizardType::wtResident: return "wtResident";
    case TWizardType::wtUnloadAfterExecute: return "wtUnloadAfterExecute";
    default: return "wtStandard";
  }
}

bool WizardTypeFromName(std::string_view name, TWizardType& t) {
  for (auto v : {TWizardType::wtStandard, TWizardType::wtResident, TWizardType::wtUnloadAfterExecute})
    if (name == WizardTypeName(v)) {
      t = v;
      return true;
    }
  return false;
}

void SetShortString(unsigned char* buffer, int maxLen, std::string_view s) {
  size_t n = std::min<size_t>(s.size(), size_t(std::clamp(maxLen, 0, kShortStringMax)));
  buffer[0] = static_cast<unsigned char>(n);
  std::memcpy(buffer + 1, s.data(), n);
}

std::string GetShortString(const unsigned char* buffer) {
  return std::string(reinterpret_cast<const char*>(buffer + 1), buffer[0]);
}

void TShortString::Assign(std::string_view s, int maxLen) { SetShortString(Data, maxLen, s); }


}  // namespace vesper
