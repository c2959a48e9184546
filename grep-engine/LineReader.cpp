#include "grep-engine/LineReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vesper::rx {

LineReader::~LineReader() { Close(); }

bool LineReader::Open(const char* fileName) {
  Close();
  if (!fileName) return false;
  fd_ = ::open(fileName, O_RDONLY | O_CLOEXEC);
  have_ = at_ = 0;
  position_ = lastPos_ = 0;
  eof_ = ended_ = false;
  return fd_ >= 0;
}

int LineReader::Close() {
  if (fd_ < 0) return -1;
  int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0 ? 0 : -1;
}

int LineReader::Peek() {
  if (at_ == have_) {
    if (fd_ < 0 || ended_) return EOF;
    ssize_t got;
    do {
      got = ::read(fd_, buffer_, sizeof buffer_);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return EOF;
    have_ = static_cast<int>(got);
    at_ = 0;
  }
  return buffer_[at_];
}

int LineReader::Get() {
  int c = Peek();
  if (c == EOF) return EOF;
  if (c == 26) {
    ended_ = true;
    return EOF;
  }
  ++at_;
  ++position_;
  if (c == '\r' && Peek() == '\n') {
    ++at_;
    ++position_;
    return '\n';
  }
  return c;
}

char* LineReader::ReadLine(char* buffer) {
  lastPos_ = position_;
  if (!buffer || fd_ < 0) return buffer;
  int n = 0;
  char line[kLineMax];
  while (n < kLineMax - 1) {
    int c = Get();
    if (c == EOF) {
      eof_ = true;
      break;
    }
    line[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (n == 0) return buffer;
  for (int i = 0; i < n; ++i) buffer[i] = line[i];
  buffer[n] = '\0';
  return buffer;
}

}  // namespace vesper::rx
