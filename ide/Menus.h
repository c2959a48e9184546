// Menu shortcuts as the class library keeps them: a virtual key code in the
// low byte with Shift, Ctrl and Alt bits, and the text forms "Ctrl+Alt+R".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesper::ide {

using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// Key codes used by the text forms (Windows virtual keys).
enum : uint16_t {
  vkBack = 0x08, vkTab = 0x09, vkReturn = 0x0D, vkEscape = 0x1B, vkSpace = 0x20,
  vkPrior = 0x21, vkNext = 0x22, vkEnd = 0x23, vkHome = 0x24, vkLeft = 0x25,
  vkUp = 0x26, vkRight = 0x27, vkDown = 0x28, vkInsert = 0x2D, vkDelete = 0x2E,
  vkF1 = 0x70,
};

// "Ctrl+Alt+R" -> shortcut; 0 for an empty or unparsable text. Modifier
// names ignore case; key names are the class library's ("Ins", "Del", "F1",
// "BkSp", "Enter", "Esc", "Space", "PgUp", "PgDn", "Home", "End", arrows).
TShortCut TextToShortCut(std::string_view text);
// Shortcut -> "Ctrl+Alt+R"; empty for 0.
std::string ShortCutToText(TShortCut shortCut);

}  // namespace vesper::ide
