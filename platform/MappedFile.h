// A read-only memory mapping of a whole file. Reads copy out of the mapping
// under a guard: a file that shrinks while it is mapped makes the read stop
// short instead of killing the process with SIGBUS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesper {

class TMappedFile {
 public:
  TMappedFile() = default;
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // Raises EFOpenError when the file cannot be opened or mapped.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& FileName() const { return path_; }
  int64_t Size() const { return size_; }

  // Copies up to `count` bytes at `offset` to `out`; returns how many were
  // copied (fewer at the end of the file, or when the file has shrunk: then
  // Faulted() is true until Refresh()).
  size_t Read(int64_t offset, size_t count, char* out);
  bool Faulted() const { return faulted_; }
  // Maps the file again at its current size; true when the size changed.
  bool Refresh();

 private:
  void Map();
  void Unmap();

  std::string path_;
  int fd_ = -1;
  const char* data_ = nullptr;
  int64_t size_ = 0;
  bool faulted_ = false;
};

}  // namespace vesper
