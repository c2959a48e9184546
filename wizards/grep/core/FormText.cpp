#include "wizards/grep/core/FormText.h"

#include "platform/Files.h"
#include "platform/filer/FormConverter.h"

namespace vesper::grep {

std::string FormToTextTempFile(const std::string& fileName) {
  std::string data = ReadFileBytes(fileName);
  if (DetectFormFileKind(data) == TFormFileKind::fkText) return {};
  std::string text = FormFileToText(data);
  std::string temp = CreateTempFile("GRX");
  try {
    SaveFileAtomic(temp, text);
  } catch (...) {
    DeleteFile(temp);
    throw;
  }
  return temp;
}

}  // namespace vesper::grep
