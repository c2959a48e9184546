// Form files are searched in their text form: the binary form resource is
// converted to text in a temporary file.
#pragma once

#include <string>

namespace vesper::grep {

// Converts the form file to its text form in a new temporary file (prefix
// "GRX") and returns that file's name; the caller deletes it. Raises an
// Exception when the file cannot be read or converted.
std::string FormToTextTempFile(const std::string& fileName);

}  // namespace vesper::grep
