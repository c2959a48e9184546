// Memory options of a resource entry: five bits shown as the letters
// O/P (load on call / preload), F/M (fixed / moveable) and D (discardable).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesper {

enum : uint16_t {
  moLoadOnCall = 1,
  moPreload = 2,
  moFixed = 4,
  moMoveable = 8,
  moDiscardable = 16,
};

// Load on call, moveable, discardable: "OMD".
constexpr uint16_t moDefault = moLoadOnCall | moMoveable | moDiscardable;

// "P" or "O", then "F" or "M", then "D" when discardable.
std::string MemOptionText(uint16_t options);
// A "P" sets preload (else load on call), an "F" fixed (else moveable); a
// trimmed text of three letters adds discardable.
uint16_t ParseMemOptionText(std::string_view text);

}  // namespace vesper
