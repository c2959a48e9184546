#include "wizards/grep/core/FormText.h"

#include "platform/Exception.h"

namespace vesper::grep {

std::string FormToTextTempFile(const std::string& fileName) {
  throw Exception("form files need the form converter: " + fileName);
}

}  // namespace vesper::grep
