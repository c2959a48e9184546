// The resource editor's byte stream: little-endian numbers, 16-bit booleans,
// length-prefixed strings, text lines and alignment padding. It works in
// memory; a project or resource file is loaded whole and saved atomically.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Streams.h"

namespace vesper {

class TResStream : public TMemoryStream {
 public:
  TResStream() = default;
  explicit TResStream(std::string data) : TMemoryStream(std::move(data)) {}

  // Loads the whole file; raises EFOpenError when it cannot be read.
  static TResStream OpenRead(const std::string& fileName);
  // Replaces `fileName` with the stream's bytes (temporary file and rename).
  void SaveAtomic(const std::string& fileName) const;

  int64_t Remaining();

  void WriteBool(bool v) { WriteWord(v ? 1 : 0); }
  bool ReadBool() { return ReadWord() == 1; }
  // 32-bit byte count, then the characters (no terminator).
  void WriteLString(std::string_view s);
  // Raises EReadError when the count exceeds the bytes left.
  std::string ReadLString();
  // The characters followed by CR LF.
  void WriteLine(std::string_view s);
  // `length` bytes (at most 255) as a string.
  std::string ReadShortString(size_t length);
  // Zero bytes up to the next 4-byte boundary.
  void PadToDWord();
  // Two zero bytes when the position is not on a 4-byte boundary.
  void PadWord();
};

}  // namespace vesper
