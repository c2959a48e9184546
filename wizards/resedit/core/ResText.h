// Text output of the resource editor: lines joined with CR LF and saved
// atomically, and the padding the outputs share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesper {

using TTextLines = std::vector<std::string>;

// Each line followed by CR LF.
std::string JoinLines(const TTextLines& lines);
void SaveLines(const std::string& fileName, const TTextLines& lines);
// Blanks up to a width of 32 after `name`; none from 32 characters on.
std::string PadTo32(std::string_view name);
// Blanks up to `width` characters after `text` (none when it is as long).
std::string PadTo(std::string_view text, size_t width);

}  // namespace vesper
