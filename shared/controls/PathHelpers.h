// Path helpers of the folder browser: folder test, item lists (a path here),
// splitting and shortening of paths for display.
#pragma once

#include <string>

// DirectoryExists (true when the path can be examined and is a folder) is
// the platform's; it comes with these helpers.
#include "platform/Files.h"

namespace vesper {

class TStrings;

// An item list of the folder browser is the folder's path.
using TItemIDList = std::string;

// Sets `itemIDList` to the folder's item list when the folder exists;
// otherwise leaves it untouched.
void GetIDListFromPath(const std::string& path, TItemIDList& itemIDList);
// Clears `list` and adds the pieces of `source` between delimiters (the
// last piece is what follows the last delimiter, possibly empty). Answers
// the number of pieces.
int BreakApart(const std::string& source, const std::string& delimiter, TStrings& list);
// Shortens a path for display: when longer than `maxLength` and made of more
// than two pieces, keeps the first piece, then `filler`, then as many of the
// last pieces as fit (at least the last one).
void CompressString(const std::string& source, const std::string& delimiter,
                    const std::string& filler, std::string& dest, size_t maxLength);

}  // namespace vesper
