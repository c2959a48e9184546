// Searching one file with a compiled file matcher: the file is read in
// chunks into one growing buffer, whole lines are scanned, and each matching
// line is reported once through the match callback.
#pragma once

#include <cstdint>

#include "grep-engine/FileMatcher.h"
#include "grep-engine/rxscan32.h"

namespace vesper::rx {

struct SearchOptions {
  RxMatchCallback callback = nullptr;
  bool wantLine = false;
  bool unixOffsets = false;
  char* lineText = nullptr;  // the engine's 1024-byte line copy
};

struct SearchResult {
  int matches = 0;        // matching lines, or the error number when openError
  int openError = 0;      // the C library's error number when the file did not open
  int64_t linesRead = 0;
};

// Raises MatchError with the engine's message on a fatal error.
SearchResult SearchFile(FileMatcher& matcher, const char* fileName, const SearchOptions& options);

}  // namespace vesper::rx
