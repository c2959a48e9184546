// Reads a file with line-end translation: a carriage return directly before
// a line feed is dropped and a Ctrl-Z byte (26) ends the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesper::rx {

class TextReader {
 public:
  TextReader() = default;
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  // 0 when opened, else the C library's error number.
  int Open(const char* fileName);
  bool IsOpen() const { return fd_ >= 0; }
  // 0 when closed, -1 when closing failed.
  int Close();
  // Fills [dst, dst+n) with translated bytes; returns how many, 0 at the end
  // of the input, -1 on a read error (errno set).
  long Read(uint8_t* dst, size_t n);

 private:
  int fd_ = -1;
  bool ended_ = false;
  bool pendingCr_ = false;  // a carriage return held back at a chunk end
};

}  // namespace vesper::rx
