// The resource script (.RC) of a project: a text that a resource compiler
// turns into the same resources.
#pragma once

#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "wizards/resedit/core/ResText.h"

namespace vesper {

class TResources;

// A string text for a script: the escape sequences a compiled string decodes
// stay escapes (\ddd as three octal digits of the decoded byte, \" as ""),
// any other backslash is doubled and each double quote doubled.
std::string EscapeRcText(std::string_view text);
// "PRELOAD ", "LOADONCALL ", "FIXED ", "DISCARDABLE " as the options say.
std::string RcOptionKeywords(uint16_t options);
// The script's lines; `now` stamps the version part.
TTextLines RcScriptLines(const TResources& res, TDateTime now);
// Writes the script to `fileName` (CR LF, atomically).
void WriteRcScript(const TResources& res, const std::string& fileName);

}  // namespace vesper
