// The file the executable viewer opens for a project: its output file found
// from the ".DOF" options file, the ".EXE" and ".DLL" candidates and the
// "{$E ext}" directive of the project source.
#pragma once

#include <string>

namespace vesper {

// The output folder named by "OutputDir" in section "Directories" of the
// project's ".DOF" file, with a trailing "/"; a relative folder is taken
// from the project's folder. Empty without the file or the value.
std::string ProjectOutputDir(const std::string& projectName);

// The extension of the first "{$E ext}" line of the project source, without
// the dot; empty when there is none, when it holds a path delimiter or when
// the source cannot be read.
std::string ExtensionDirective(const std::string& projectName);

// The output file of a project: the ".EXE", else the ".DLL" that exists
// (letter case ignored), else the file named by the "{$E" directive (not
// checked for existence). Empty for no project or when nothing is found.
std::string FindProjectOutputFile(const std::string& projectName);

}  // namespace vesper
