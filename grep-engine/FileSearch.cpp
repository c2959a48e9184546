#include "grep-engine/FileSearch.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "grep-engine/TextReader.h"

namespace vesper::rx {
namespace {

// The buffer grows by doubling from here; a line longer than the buffer
// makes it grow until the line fits.
constexpr size_t kInitialRead = 256 * 1024;
constexpr size_t kInitialBuffer = kInitialRead + kInitialRead / 2;

std::string Message(const char* format, const char* a, const char* b = nullptr) {
  char text[1024];
  if (b)
    std::snprintf(text, sizeof text, format, a, b);
  else
    std::snprintf(text, sizeof text, format, a);
  return text;
}

// The search buffer. One buffer of the initial size is kept between
// searches, so that searching many small files does not map and unmap
// memory for each; a buffer grown for long lines is released.
struct Buffer {
  uint8_t* data = nullptr;
  size_t size = 0;
  static inline uint8_t* spare = nullptr;

  explicit Buffer(size_t n) : size(n) {
    if (spare) {
      data = spare;
      spare = nullptr;
    } else {
      data = static_cast<uint8_t*>(std::malloc(n + 1));
    }
  }
  ~Buffer() {
    if (size == kInitialBuffer && !spare)
      spare = data;
    else
      std::free(data);
  }
};

}  // namespace

SearchResult SearchFile(FileMatcher& matcher, const char* fileName, const SearchOptions& options) {
  SearchResult result;
  size_t bufSize = kInitialBuffer, readSize = kInitialRead;
  Buffer buf(bufSize);
  if (!buf.data) throw MatchError(Message("Memory exhausted (%s)\n", std::strerror(ENOMEM)));

  TextReader reader;
  if (int err = reader.Open(fileName)) {
    result.openError = err;
    result.matches = err;
    return result;
  }

  int64_t total = 0;  // bytes that have left the front of the buffer
  int64_t lineNo = 1;
  size_t beg = 0, lim = 0;
  bool ended = false;
  for (;;) {
    // Keep the unfinished last line at the front and read after it.
    size_t residue = lim - beg;
    if (beg) std::memmove(buf.data, buf.data + beg, residue);
    total += static_cast<int64_t>(beg);
    beg = 0;
    lim = residue;
    if (ended) break;
    if (readSize >= bufSize - residue) {
      while (bufSize - residue <= readSize) {
        bufSize *= 2;
        readSize *= 2;
      }
      auto* grown = static_cast<uint8_t*>(std::realloc(buf.data, bufSize + 1));
      if (!grown) throw MatchError(Message("Memory exhausted (%s)", std::strerror(ENOMEM)));
      buf.data = grown;
      buf.size = bufSize;
    }
    long got = reader.Read(buf.data + residue, readSize);
    if (got < 0) throw MatchError(Message("Read on %s failed (%s)\n", fileName, std::strerror(errno)));
    lim += static_cast<size_t>(got);
    if (got == 0) {
      if (residue == 0) break;
      buf.data[lim++] = '\n';  // the residue never ends in a line feed
      ended = true;
    }
    const void* lastLf = memrchr(buf.data, '\n', lim);
    if (!lastLf) continue;
    const uint8_t* region = buf.data;
    const uint8_t* regionEnd = static_cast<const uint8_t*>(lastLf) + 1;
    const uint8_t* p = region;
    while (p < regionEnd) {
      bool backref = false;
      const uint8_t* m = matcher.Execute(p, regionEnd, lineNo, backref);
      if (!m) break;
      const void* prevLf = memrchr(p, '\n', static_cast<size_t>(m - p));
      const uint8_t* lineStart = prevLf ? static_cast<const uint8_t*>(prevLf) + 1 : p;
      const uint8_t* lineEnd = static_cast<const uint8_t*>(std::memchr(m, '\n', regionEnd - m)) + 1;
      p = lineEnd;
      if (backref && !matcher.Confirm(lineStart, static_cast<size_t>(lineEnd - lineStart))) {
        ++lineNo;  // not a match, but still a line
        continue;
      }
      ++result.matches;
      int64_t offset = total + (lineStart - region) + (options.unixOffsets ? 0 : lineNo - 1);
      const char* text = nullptr;
      if (options.wantLine && options.lineText) {
        size_t len = static_cast<size_t>(lineEnd - lineStart) - 1;
        if (len > 1023) len = 1023;
        std::memcpy(options.lineText, lineStart, len);
        options.lineText[len] = '\0';
        text = options.lineText;
      }
      if (options.callback)
        options.callback(static_cast<int>(static_cast<uint32_t>(offset)), static_cast<int>(lineNo), text);
      ++lineNo;
    }
    beg = static_cast<size_t>(regionEnd - buf.data);
  }
  result.linesRead = lineNo - 1;
  return result;
}

}  // namespace vesper::rx
