// Byte streams with the class library's semantics: Read/Write return the
// count moved; ReadBuffer/WriteBuffer raise EReadError/EWriteError when the
// whole count cannot be moved.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

enum class SeekOrigin { Beginning, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(int64_t pos) { Seek(pos, SeekOrigin::Beginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  void ReadBuffer(void* buffer, size_t count);    // "Stream read error"
  void WriteBuffer(const void* buffer, size_t count);  // "Stream write error"
  // Copies `count` bytes from `source` (the whole source from its start when 0).
  int64_t CopyFrom(TStream& source, int64_t count);

  // Little-endian helpers.
  uint8_t ReadByte();
  uint16_t ReadWord();
  uint32_t ReadDWord();
  void WriteByte(uint8_t v) { WriteBuffer(&v, 1); }
  void WriteWord(uint16_t v);
  void WriteDWord(uint32_t v);
  void WriteString(std::string_view s) { WriteBuffer(s.data(), s.size()); }
  std::string ReadString(size_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string data) : data_(std::move(data)) {}
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return int64_t(data_.size()); }
  void SetSize(int64_t size) override;
  void Clear() { data_.clear(); pos_ = 0; }

  const std::string& DataString() const { return data_; }
  std::string& DataString() { return data_; }
  const char* Memory() const { return data_.data(); }
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;  // atomic
  void LoadFromStream(TStream& s);
  void SaveToStream(TStream& s) const { s.WriteBuffer(data_.data(), data_.size()); }

 private:
  std::string data_;
  size_t pos_ = 0;
};

// File open modes (low bits of the class library's mode word).
enum : unsigned {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmCreate = 0xFFFF,
};

class TFileStream : public TStream {
 public:
  // Raises EFOpenError "Cannot open file %s" / EFCreateError "Cannot create file %s".
  TFileStream(const std::string& fileName, unsigned mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return fileName_; }
  int Handle() const { return fd_; }

 private:
  std::string fileName_;
  int fd_ = -1;
};

}  // namespace vesper
