// The buffered line reader: one open stream at a time, read line by line
// into the caller's buffer with the same line-end translation as the search.
#pragma once

#include <cstdint>
#include <cstdio>

namespace vesper::rx {

class LineReader {
 public:
  static constexpr int kStreamBuffer = 2048;
  static constexpr int kLineMax = 1024;

  ~LineReader();
  // True when the file was opened. An open stream is closed first.
  bool Open(const char* fileName);
  // Reads the next line (line feed included, at most 1023 bytes) into
  // `buffer` and NUL-terminates it; leaves it untouched when nothing is left.
  char* ReadLine(char* buffer);
  int LastPos() const { return static_cast<int>(lastPos_); }
  bool Eof() const { return eof_; }
  // 0 when closed, -1 when there was nothing to close or closing failed.
  int Close();

 private:
  int Get();   // next translated byte, or EOF
  int Peek();  // next raw byte without consuming it, or EOF

  int fd_ = -1;
  unsigned char buffer_[kStreamBuffer];
  int have_ = 0, at_ = 0;
  int64_t position_ = 0;  // raw bytes consumed
  int64_t lastPos_ = 0;
  bool eof_ = false;
  bool ended_ = false;  // Ctrl-Z seen
};

}  // namespace vesper::rx
