// Text helpers: splitting by delimiter characters, new temporary files.
#pragma once

#include <string>

namespace vesper {

class TStrings;

// Clears `list` and adds the pieces of `text` between any of the delimiter
// characters, in order and untrimmed (empty pieces included; an empty text
// gives no pieces).
void Parse(const std::string& text, const std::string& delimiters, TStrings& list);
// Creates a new empty file in the temporary folder whose name starts with
// `prefix` and puts its full name in `fileName`.
void GetTempFile(const std::string& prefix, std::string& fileName);

}  // namespace vesper
