#include "shared/controls/PathHelpers.h"

#include "platform/Files.h"
#include "platform/StringList.h"

namespace vesper {

void GetIDListFromPath(const std::string& path, TItemIDList& itemIDList) {
  if (!path.empty() && DirectoryExists(path)) itemIDList = path;
}

int BreakApart(const std::string& source, const std::string& delimiter, TStrings& list) {
  list.Clear();
  if (delimiter.empty()) {
    list.Add(source);
    return 1;
  }
  size_t start = 0;
  for (size_t at; (at = source.find(delimiter, start)) != std::string::npos;
       start = at + delimiter.size())
    list.Add(source.substr(start, at - start));
  list.Add(source.substr(start));
  return list.Count();
}

namespace {

std::string Join(const TStringList& pieces, const std::string& delimiter) {
  std::string joined;
  for (int i = 0; i < pieces.Count(); ++i) {
    if (i > 0) joined += delimiter;
    joined += pieces.Strings(i);
  }
  return joined;
}

}  // namespace

void CompressString(const std::string& source, const std::string& delimiter,
                    const std::string& filler, std::string& dest, size_t maxLength) {
  dest = source;
  if (source.size() <= maxLength) return;
  TStringList pieces;
  if (BreakApart(source, delimiter, pieces) <= 2) return;
  pieces.Put(1, filler);
  for (;;) {
    dest = Join(pieces, delimiter);
    if (dest.size() <= maxLength || pieces.Count() <= 3) return;
    pieces.Delete(2);
  }
}

}  // namespace vesper
