#include "wizards/resedit/core/ResText.h"

#include "platform/Files.h"

namespace vesper {

std::string JoinLines(const TTextLines& lines) {
  std::string out;
  for (const std::string& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

void SaveLines(const std::string& fileName, const TTextLines& lines) { SaveFileAtomic(fileName, JoinLines(lines)); }

std::string PadTo(std::string_view text, size_t width) {
  return text.size() >= width ? std::string() : std::string(width - text.size(), ' ');
}

std::string PadTo32(std::string_view name) { return PadTo(name, 32); }

}  // namespace vesper
