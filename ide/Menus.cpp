#include "ide/Menus.h"

#include "platform/StrUtils.h"

namespace vesper::ide {

namespace {

struct KeyName {
  uint16_t key;
  const char* name;
};

const KeyName kKeyNames[] = {
    {vkBack, "BkSp"},  {vkTab, "Tab"},    {vkReturn, "Enter"}, {vkEscape, "Esc"},
    {vkSpace, "Space"}, {vkPrior, "PgUp"}, {vkNext, "PgDn"},    {vkEnd, "End"},
    {vkHome, "Home"},  {vkLeft, "Left"},  {vkUp, "Up"},        {vkRight, "Right"},
    {vkDown, "Down"},  {vkInsert, "Ins"}, {vkDelete, "Del"},
};

std::string KeyToText(uint16_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= vkF1 && key < vkF1 + 12) return "F" + std::to_string(key - vkF1 + 1);
  for (auto& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

uint16_t TextToKey(std::string_view text) {
  if (text.size() == 1) {
    char c = UpCase(text[0]);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return uint16_t(c);
    return 0;
  }
  for (uint16_t k = 0; k < 256; ++k) {
    std::string name = KeyToText(k);
    if (!name.empty() && SameText(name, text)) return k;
  }
  return 0;
}

}  // namespace

TShortCut TextToShortCut(std::string_view text) {
  TShortCut shift = 0;
  std::string_view rest = text;
  struct Mod { const char* name; TShortCut bit; } mods[] = {
      {"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
  for (bool found = true; found;) {
    found = false;
    for (auto& m : mods) {
      std::string_view n(m.name);
      if (rest.size() > n.size() && SameText(rest.substr(0, n.size()), n)) {
        shift |= m.bit;
        rest.remove_prefix(n.size());
        found = true;
      }
    }
  }
  uint16_t key = TextToKey(rest);
  return key ? TShortCut(key | shift) : scNone;
}

std::string ShortCutToText(TShortCut shortCut) {
  std::string key = KeyToText(shortCut & 0xFF);
  if (key.empty()) return {};
  std::string r;
  if (shortCut & scShift) r += "Shift+";
  if (shortCut & scCtrl) r += "Ctrl+";
  if (shortCut & scAlt) r += "Alt+";
  return r + key;
}

}  // namespace vesper::ide
