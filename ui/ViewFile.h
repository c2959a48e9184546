// The file behind the file viewer control: a memory-mapped file, its line
// index (built a step at a time), the text of its lines, its hex dump lines
// and byte search. No Qt here; the control drives it from the event loop.
//
// Lines are 0-based here. A line ends at "\n" (a "\r" before it is not part
// of the text); a file ending in a line end has an empty last line after it;
// an empty file has no lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MappedFile.h"

namespace vesper {

// Bytes per hex dump line, and the length of a full hex line:
// "OOOOOOOO  XX XX .. XX  ASCII-16-chars".
constexpr int kHexBytesPerLine = 16;
constexpr int kHexLineLength = 75;
constexpr int kHexFirstByteColumn = 11;  // 1-based column of the first hex digit
constexpr int kHexAsciiColumn = 60;      // 1-based column of the first character

// One hex dump line for `count` (0..16) bytes at `offset`.
std::string FormatHexLine(int64_t offset, const char* bytes, int count);
// The byte (0..15) of a hex line that a 1-based caret column points at, by
// the status bar's rule: 1-14 give 0, 15-16 give 1, then three columns per
// byte up to 56-60 for 15, and the character columns 61-75 give c - 60.
int HexColumnToByteIndex(int column);
// The 1-based column of byte `index`'s first hex digit.
int HexByteColumn(int index);

class TViewFile {
 public:
  // Raises EFOpenError.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  const std::string& FileName() const { return file_.FileName(); }
  int64_t Size() const { return file_.Size(); }

  // Line counting: each step reads about `budget` more bytes; true when the
  // whole file has been counted.
  bool CountStep(size_t budget = 4 << 20);
  void CountAll();
  bool Counted() const { return counted_; }
  // Lines whose start is known so far (all of them once counted).
  int64_t LinesKnown() const;
  // The number of lines, or -1 while not known.
  int64_t LineCount() const;
  // Bytes counted so far.
  int64_t CountedBytes() const { return scanned_; }

  // Start offset of a line (counting ahead as needed); -1 past the end.
  int64_t LineStart(int64_t line);
  // A line's bytes without its line end, at most `max` of them.
  std::string LineBytes(int64_t line, size_t max);
  // The line holding byte `offset` (counting ahead as needed).
  int64_t LineOfOffset(int64_t offset);

  int64_t HexLineCount() const;
  std::string HexLine(int64_t line);

  // The offset of the first match at or after `from` (forward) or starting
  // before `from` (backward); -1 when there is none.
  int64_t Find(const std::string& pattern, int64_t from, bool backward, bool matchCase,
               bool wholeWord);

  size_t Read(int64_t offset, size_t count, char* out) { return file_.Read(offset, count, out); }
  // Notices a file that changed size or faulted: the index starts again.
  // True when it did.
  bool Refresh();

 private:
  struct TCheckpoint {
    int64_t line;
    int64_t offset;
  };
  void ResetIndex();
  int64_t ScanLines(int64_t from, int64_t lines, int64_t& offset);

  TMappedFile file_;
  std::vector<TCheckpoint> checkpoints_;
  int64_t scanned_ = 0;   // bytes counted
  int64_t newlines_ = 0;  // line ends in the counted bytes
  bool counted_ = false;
  TCheckpoint cache_{0, 0};  // the last line start found
};

}  // namespace vesper
