#include "shared/aux/VesStr.h"

#include "platform/Files.h"
#include "platform/StringList.h"

namespace vesper {

void Parse(const std::string& text, const std::string& delimiters, TStrings& list) {
  list.Clear();
  if (text.empty()) return;
  size_t start = 0;
  for (size_t at; (at = text.find_first_of(delimiters, start)) != std::string::npos;
       start = at + 1)
    list.Add(text.substr(start, at - start));
  list.Add(text.substr(start));
}

void GetTempFile(const std::string& prefix, std::string& fileName) {
  fileName = CreateTempFile(prefix);
}

}  // namespace vesper
