#include "platform/Exception.h"

#include <cstring>

namespace vesper {

std::string SysErrorMessage(int error) {
  char buf[256];
  // GNU strerror_r may return a static string instead of filling buf.
  const char* text = strerror_r(error, buf, sizeof buf);
  return text ? text : "Unknown error";
}

void RaiseLastOSError(int error) {
  throw EOSError("System Error.  Code: " + std::to_string(error) + ".\n" + SysErrorMessage(error));
}

}  // namespace vesper
