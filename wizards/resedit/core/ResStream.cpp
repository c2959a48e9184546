#include "wizards/resedit/core/ResStream.h"

#include "platform/Exception.h"
#include "platform/Files.h"

namespace vesper {

TResStream TResStream::OpenRead(const std::string& fileName) {
  return TResStream(ReadFileBytes(fileName));
}

void TResStream::SaveAtomic(const std::string& fileName) const {
  SaveFileAtomic(fileName, DataString());
}

int64_t TResStream::Remaining() { return Size() - Position(); }

void TResStream::WriteLString(std::string_view s) {
  WriteDWord(uint32_t(s.size()));
  WriteString(s);
}

std::string TResStream::ReadLString() {
  uint32_t count = ReadDWord();
  if (int64_t(count) > Remaining()) throw EReadError("Stream read error");
  return ReadString(count);
}

void TResStream::WriteLine(std::string_view s) {
  WriteString(s);
  WriteString("\r\n");
}

std::string TResStream::ReadShortString(size_t length) {
  return ReadString(length > 255 ? 255 : length);
}

void TResStream::PadToDWord() {
  while (Position() % 4 != 0) WriteByte(0);
}

void TResStream::PadWord() {
  if (Position() % 4 != 0) WriteWord(0);
}

}  // namespace vesper
