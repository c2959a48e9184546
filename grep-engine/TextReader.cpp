#include "grep-engine/TextReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vesper::rx {

TextReader::~TextReader() { Close(); }

int TextReader::Open(const char* fileName) {
  Close();
  fd_ = ::open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return errno ? errno : ENOENT;
  ended_ = false;
  pendingCr_ = false;
  return 0;
}

int TextReader::Close() {
  if (fd_ < 0) return -1;
  int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0 ? 0 : -1;
}

long TextReader::Read(uint8_t* dst, size_t n) {
  if (n == 0) return 0;
  while (!ended_) {
    size_t have = 0;
    if (pendingCr_) {
      dst[have++] = '\r';
      pendingCr_ = false;
    }
    ssize_t got;
    do {
      got = ::read(fd_, dst + have, n - have);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return -1;
    if (got == 0) ended_ = true;
    size_t len = have + static_cast<size_t>(got);
    if (void* z = std::memchr(dst, 26, len)) {
      len = static_cast<size_t>(static_cast<uint8_t*>(z) - dst);
      ended_ = true;
    }
    // Drop each carriage return that a line feed follows; hold back one
    // that ends the chunk until the next byte is known.
    uint8_t* out = static_cast<uint8_t*>(std::memchr(dst, '\r', len));
    if (out) {
      const uint8_t* in = out;
      const uint8_t* end = dst + len;
      while (in < end) {
        if (*in == '\r') {
          if (in + 1 == end && !ended_) {
            pendingCr_ = true;
            ++in;
            continue;
          }
          if (in + 1 < end && in[1] == '\n') {
            ++in;
            continue;
          }
        }
        *out++ = *in++;
      }
      len = static_cast<size_t>(out - dst);
    }
    if (len > 0) return static_cast<long>(len);
  }
  return 0;
}

}  // namespace vesper::rx
