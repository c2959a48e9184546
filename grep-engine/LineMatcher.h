// The line matcher: a backtracking matcher over a compiled node program in
// a 1024-byte area, finding the first match inside one NUL-terminated line.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesper::rx {

class LineMatcher {
 public:
  static constexpr size_t kProgramSize = 1024;
  static constexpr uint8_t kMagic = 0x9C;

  // Compiles `pattern`; returns the number of messages recorded (0: compiled).
  int Init(const char* pattern);
  // 1 and {column (1-based), length} on a match; else 0 and result[0] = -1.
  int Match(const char* text, int* result);
  // Copies the last message with its NUL; returns its length plus one.
  int GetError(char* destination) const;

 private:
  class Compiler;

  void Record(const char* message);
  bool Try(const uint8_t* at);
  bool Run(const uint8_t* scan);
  size_t Repeat(const uint8_t* node);
  const uint8_t* Next(const uint8_t* node) const;

  int errorCount_ = 0;
  char message_[255] = {};
  uint8_t program_[kProgramSize] = {};
  uint8_t first_ = 0;       // required first character, 0 when none
  bool anchored_ = false;
  const uint8_t* must_ = nullptr;  // required literal inside the program
  size_t mustLen_ = 0;

  // Matching state.
  const uint8_t* input_ = nullptr;
  const uint8_t* bol_ = nullptr;
  const uint8_t* startp_[10] = {};
  const uint8_t* endp_[10] = {};
  long steps_ = 0;
  int depth_ = 0;
  bool aborted_ = false;
};

}  // namespace vesper::rx
