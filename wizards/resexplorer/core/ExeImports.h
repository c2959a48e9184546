// The executable viewer's readers over a TExe32Image: the imports of the
// ".idata" section and the unit list of the "PACKAGEINFO" resource.
#pragma once

#include <string>

#include "platform/Exception.h"
#include "platform/StringList.h"

namespace vesper {

class TExe32Image;

VESPER_EXCEPTION(EResNotFound, Exception)

// Sorted (case-insensitive, duplicates ignored) "module<TAB>function"
// entries. A module whose list starts with an import by ordinal is kept as
// "module<TAB>" with no function.
TStringList ReadImports(const TExe32Image& image);

// The contained units of a package but the first, sorted. Raises
// EResNotFound "Resource PACKAGEINFO not found" without the resource and
// EReadError when the resource ends early.
TStringList ReadPackageUnits(TExe32Image& image);

// Splits an import entry: the module upper-cased, and the function name.
void SplitImport(const std::string& entry, std::string& module, std::string& function);
// The module as stored in the file (before the tab).
std::string ImportModule(const std::string& entry);

}  // namespace vesper
