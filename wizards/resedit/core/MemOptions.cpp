#include "wizards/resedit/core/MemOptions.h"

#include "platform/StrUtils.h"

namespace vesper {

std::string MemOptionText(uint16_t options) {
  std::string s;
  s += (options & moPreload) ? 'P' : 'O';
  s += (options & moFixed) ? 'F' : 'M';
  if (options & moDiscardable) s += 'D';
  return s;
}

uint16_t ParseMemOptionText(std::string_view text) {
  std::string t = UpperCase(Trim(text));
  uint16_t options = 0;
  options |= t.find('P') != std::string::npos ? moPreload : moLoadOnCall;
  options |= t.find('F') != std::string::npos ? moFixed : moMoveable;
  if (t.size() == 3) options |= moDiscardable;
  return options;
}

}  // namespace vesper
