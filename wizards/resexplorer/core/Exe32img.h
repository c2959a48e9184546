// Reader of 32-bit (PE) executables over a read-only mapping of the whole
// file: headers, section table and the resource directory, read in place.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

namespace vesper {

VESPER_EXCEPTION(EExe32Image, Exception)

class TExe32Image;

// A section header as stored (40 bytes).
struct TImageSectionHeader {
  char Name[8];
  uint32_t VirtualSize;
  uint32_t VirtualAddress;
  uint32_t SizeOfRawData;
  uint32_t PointerToRawData;
  uint32_t PointerToRelocations;
  uint32_t PointerToLinenumbers;
  uint16_t NumberOfRelocations;
  uint16_t NumberOfLinenumbers;
  uint32_t Characteristics;
};

class TResource32List;

// One 8-byte entry of a resource directory.
class TResource32Item {
 public:
  TResource32Item(TExe32Image& image, uint32_t entryOffset, uint8_t typeId, bool root);
  // The raw name/id dword of the entry.
  uint32_t RawId() const { return rawId_; }
  bool IsNamed() const { return (rawId_ & 0x80000000u) != 0; }
  // Type names at the root, decimal ids or the converted name elsewhere.
  std::string Name() const;
  // True when the entry's subdirectory holds subdirectories.
  bool IsList() const;
  // "ResourceItem is not a list" when IsList() is false.
  TResource32List& SubList();
  // The data of the first language: file offset in the view and size.
  // Offset() is the data's virtual address minus (section VA - file offset).
  uint32_t DataAddress() const;  // virtual address
  uint32_t DataSize() const;
  uint32_t Offset() const;
  // The bytes at the data, at most `count`, clipped to the file.
  std::string_view DataPrefix(size_t count) const;

 private:
  // File offset of the data-entry record of this item.
  uint32_t DataEntry() const;
  TExe32Image& image_;
  uint32_t entryOffset_;  // file offset of the entry
  uint32_t rawId_;
  uint32_t target_;
  uint8_t typeId_;
  bool root_;
  std::unique_ptr<TResource32List> subList_;
};

// A resource directory: its entries, named first, then ids, as stored.
class TResource32List {
 public:
  TResource32List(TExe32Image& image, uint32_t dirOffset, uint8_t typeId, bool root);
  int Count();
  TResource32Item& Items(int index);
  uint8_t TypeId() const { return typeId_; }

 private:
  void Load();
  TExe32Image& image_;
  uint32_t dirOffset_;  // file offset of the directory
  uint8_t typeId_;
  bool root_;
  bool loaded_ = false;
  std::vector<std::unique_ptr<TResource32Item>> items_;
};

class TExe32Image {
 public:
  // Opens and maps `fileName` and checks the DOS and PE signatures.
  explicit TExe32Image(std::string fileName);
  ~TExe32Image();
  TExe32Image(const TExe32Image&) = delete;
  TExe32Image& operator=(const TExe32Image&) = delete;

  const std::string& FileName() const { return fileName_; }
  // A copy of the section header named `name` (case-insensitive, at most 8
  // characters), or nothing.
  std::optional<TImageSectionHeader> FindSection(std::string_view name) const;
  // The root of the ".rsrc" directory; "No resources in this file." without one.
  TResource32List& ResourceRoot();
  bool Is64Bit() const { return is64_; }

  // The mapping, for readers that walk it in place.
  const uint8_t* Base() const { return base_; }
  uint64_t FileSize() const { return size_; }
  // True when [offset, offset + count) lies inside the file.
  bool Contains(uint64_t offset, uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  // Little-endian reads; raise EExe32Image when outside the file.
  uint16_t Word(uint64_t offset) const;
  uint32_t DWord(uint64_t offset) const;
  uint64_t QWord(uint64_t offset) const;
  // A zero-terminated 8-bit string at `offset` (up to the file's end).
  std::string CString(uint64_t offset) const;

  // The resource section, once ResourceRoot() found it.
  uint32_t ResourceRawOffset() const { return rsrcRaw_; }
  uint32_t ResourceVirtualAddress() const { return rsrcVa_; }
  uint32_t ResourceDelta() const { return rsrcVa_ - rsrcRaw_; }

 private:
  void Map();
  void Unmap();
  void CheckHeaders();
  std::string fileName_;
  int fd_ = -1;
  const uint8_t* base_ = nullptr;
  uint64_t size_ = 0;
  uint64_t ntHeaders_ = 0;
  uint64_t sectionTable_ = 0;
  unsigned sectionCount_ = 0;
  bool is64_ = false;
  uint32_t rsrcRaw_ = 0;
  uint32_t rsrcVa_ = 0;
  std::unique_ptr<TResource32List> root_;
};

// Raised for a directory, name or data entry that lies outside the file.
[[noreturn]] void RaiseDamagedImage();

}  // namespace vesper
