#include "platform/Streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Exception.h"
#include "platform/Files.h"

namespace vesper {

int64_t TStream::Size() {
  int64_t pos = Seek(0, SeekOrigin::Current);
  int64_t size = Seek(0, SeekOrigin::End);
  Seek(pos, SeekOrigin::Beginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  char buf[65536];
  int64_t left = count;
  while (left > 0) {
    size_t n = size_t(std::min<int64_t>(left, sizeof buf));
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= int64_t(n);
  }
  return count;
}

uint8_t TStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

uint16_t TStream::ReadWord() {
  uint8_t b[2];
  ReadBuffer(b, 2);
  return uint16_t(b[0] | (b[1] << 8));
}

uint32_t TStream::ReadDWord() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

void TStream::WriteWord(uint16_t v) {
  uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
  WriteBuffer(b, 2);
}

void TStream::WriteDWord(uint32_t v) {
  uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBuffer(b, 4);
}

std::string TStream::ReadString(size_t count) {
  std::string s;
  // Grow in steps so that a damaged length cannot force a huge allocation.
  while (s.size() < count) {
    size_t chunk = std::min<size_t>(count - s.size(), 1 << 20);
    size_t old = s.size();
    s.resize(old + chunk);
    ReadBuffer(s.data() + old, chunk);
  }
  return s;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (pos_ >= data_.size()) return 0;
  size_t n = std::min(count, data_.size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  std::memcpy(data_.data() + pos_, buffer, count);
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = origin == SeekOrigin::Beginning ? 0
                 : origin == SeekOrigin::Current ? int64_t(pos_)
                                                 : int64_t(data_.size());
  int64_t p = base + offset;
  if (p < 0) p = 0;
  pos_ = size_t(p);
  return p;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(size_t(size));
  pos_ = std::min(pos_, data_.size());
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  data_ = ReadFileBytes(path);
  pos_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const { SaveFileAtomic(path, data_); }

void TMemoryStream::LoadFromStream(TStream& s) {
  s.SetPosition(0);
  data_ = s.ReadString(size_t(s.Size()));
  pos_ = 0;
}

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName) {
  if (mode == fmCreate) {
    fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) throw EFCreateError("Cannot create file " + fileName);
    return;
  }
  int flags = (mode & 3) == fmOpenWrite ? O_WRONLY : (mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  fd_ = ::open(fileName.c_str(), flags | O_CLOEXEC);
  if (fd_ < 0) throw EFOpenError("Cannot open file " + fileName);
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

size_t TFileStream::Read(void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  return done;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::Beginning ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  return ::lseek(fd_, offset, whence);
}

void TFileStream::SetSize(int64_t size) {
  if (::ftruncate(fd_, size) != 0) throw EWriteError("Stream write error");
}

}  // namespace vesper
