// Record headers of compiled resource files: the 32-bit format (4-byte
// aligned, patched header size) and the 16-bit format (no alignment).
#pragma once

#include <cstdint>
#include <string>

#include "wizards/resedit/core/ResStream.h"

namespace vesper {

// A resource type or name: a 16-bit number or a string.
struct TResName {
  bool IsId = true;
  uint16_t Id = 0;
  std::string Name;

  static TResName Number(uint16_t id) { return {true, id, {}}; }
  static TResName Text(std::string name) { return {false, 0, std::move(name)}; }
};

// Standard resource types.
enum : uint16_t {
  rtCursor = 1, rtBitmap = 2, rtIcon = 3, rtString = 6, rtRcData = 10,
  rtMessageTable = 11, rtGroupCursor = 12, rtGroupIcon = 14, rtVersion = 16,
};

// Memory flags of a record from an entry's memory options: pure always,
// preload, moveable, discardable.
uint16_t ResMemoryFlags(uint16_t options);
constexpr uint16_t kStringTableFlags = 0x1030;
constexpr uint16_t kFixedRecordFlags = 0x30;  // version and message tables

class TResRecordWriter {
 public:
  TResRecordWriter(TResStream& out, bool is32) : out_(out), is32_(is32) {}

  bool Is32() const { return is32_; }
  TResStream& Stream() { return out_; }
  // The empty first record of a 32-bit file (nothing for 16-bit).
  void WriteFileStart();
  // Bytes a file holds before its first real record.
  int64_t StartSize() const { return is32_ ? 32 : 0; }
  void WriteHeader(const TResName& type, const TResName& name, uint16_t memFlags, uint16_t language,
                   uint32_t dataSize);
  // A header, the data and (32-bit) padding to a 4-byte boundary.
  void WriteRecord(const TResName& type, const TResName& name, uint16_t memFlags, uint16_t language,
                   const std::string& data);
  // Zero bytes to the next 4-byte boundary; nothing in 16-bit files.
  void Align();

 private:
  TResStream& out_;
  bool is32_;
  void WriteName32(const TResName& n);
  void WriteName16(const TResName& n);
};

}  // namespace vesper
