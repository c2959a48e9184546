// Form files are searched in their text form: a binary form (with or
// without the resource header) is converted to text in a temporary file.
#pragma once

#include <string>

namespace vesper::grep {

// Converts a binary form file to its text form in a new temporary file
// (prefix "GRX") and returns that file's name, which the caller deletes; a
// form file that is already text gives an empty name (search it as it is).
// Raises an Exception when the file cannot be read or converted.
std::string FormToTextTempFile(const std::string& fileName);

}  // namespace vesper::grep
