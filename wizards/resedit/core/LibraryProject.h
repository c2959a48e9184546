// The source of a resource-only library project, from the three templates
// held compressed as the "CMPRCD" resources 1 (Pascal project), 2 (C++
// make file) and 3 (C++ main source).
#pragma once

#include <string>
#include <string_view>

#include "wizards/resedit/core/ResText.h"

namespace vesper {

class TResources;

inline constexpr const char* kDelphiProjectFilter = "Delphi Projects (*.DPR)|*.DPR";
inline constexpr const char* kCppProjectFilter = "C++Builder Projects (*.MAK)|*.MAK";

// The compressed bytes of template `id` (empty for other ids).
std::string_view CompressedTemplate(int id);
// Template `id` expanded into its lines.
TTextLines LibraryTemplateLines(int id);
// The chosen name with ".DPR" (Pascal) or ".MAK" (C++) appended when missing.
std::string LibraryProjectFileName(const TResources& res, const std::string& chosen);
// Writes the project source(s) for the project's language: the ".DPR", or
// the ".MAK" and its ".cpp". Returns the name of the project file written.
std::string WriteLibraryProject(const TResources& res, const std::string& chosen);

}  // namespace vesper
