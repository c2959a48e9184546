// Text form files: parsing to binary; what parses converts back to text, and
// that text is canonical (a second round trip gives it unchanged).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/filer/FormConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string binary;
  try {
    binary = vesper::ObjectTextToBinary(input);
  } catch (const vesper::Exception&) {
    return 0;
  }
  std::string text = vesper::ObjectBinaryToText(binary);
  if (vesper::ObjectBinaryToText(vesper::ObjectTextToBinary(text)) != text) __builtin_trap();
  return 0;
}
