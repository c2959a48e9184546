// The constants file: every resource name with its id, as a Pascal unit or
// (in C++ mode) a C++ header.
#pragma once

#include <string>
#include <vector>

#include "wizards/resedit/core/ResNotices.h"

namespace vesper {

class TResources;

inline constexpr const char* kDashLine =
    "//---------------------------------------------------------------------------";

// The include guard of a C++ constants file: its name without folder and
// without any ".".
std::string ConstsGuard(const std::string& fileName);
// The file's lines, in the project's form.
std::vector<std::string> ConstsLines(const TResources& res, const TResUserIO& io = {});
// Writes ConstsLines to the project's constants file (CR LF, atomically).
void WriteConstsFile(const TResources& res, const TResUserIO& io = {});

}  // namespace vesper
