// The REGEDIT4 ".reg" text format: reading (bounds-checked; a damaged line is
// reported and skipped, the rest loads) and writing.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Vesper]
//   @="default value"
//   "Name"="text with \\ and \""
//   "Count"=dword:0000001f
//   "Data"=hex:01,02,03      (a line ending in '\' continues on the next)
//   "Multi"=hex(7):41,00,00,00
//   "Gone"=-
//   [-HKEY_CURRENT_USER\Software\Old]
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

// Value types as the registry numbers them.
enum : uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_EXPAND_SZ = 2,
  REG_BINARY = 3,
  REG_DWORD = 4,
  REG_MULTI_SZ = 7,
};

// A value's data is kept as the registry stores it: REG_SZ text with its
// terminating zero byte, REG_DWORD as four little-endian bytes.
struct RegValueData {
  uint32_t type = REG_SZ;
  std::string bytes;
};

RegValueData RegStringData(std::string_view text);
RegValueData RegDwordData(uint32_t value);
RegValueData RegBinaryData(std::string_view bytes);
// The text of REG_SZ/REG_EXPAND_SZ data: up to the first zero byte.
std::string RegDataText(const RegValueData& data);

struct RegFileValue {
  std::string name;  // "" is the key's default value ("@")
  bool remove = false;  // "Name"=-
  RegValueData data;
};

struct RegFileKey {
  int line = 0;  // of the key line, 0 when not read from text
  std::string path;  // full path, "HKEY_CURRENT_USER\Software\Vesper"
  bool remove = false;  // [-PATH]
  std::vector<RegFileValue> values;
};

struct RegFileError {
  int line = 0;  // 1-based
  std::string reason;
};

struct RegFileText {
  std::vector<RegFileKey> keys;
  std::vector<RegFileError> errors;
};

// Parses .reg text. Never fails: each damaged line (or statement) lands in
// `errors` and is skipped.
RegFileText ParseRegFile(std::string_view text);

// Writes the keys as .reg text with CR LF line ends, starting with the
// "REGEDIT4" header line.
std::string FormatRegFile(const std::vector<RegFileKey>& keys);
// One value line (without line end), as FormatRegFile writes it.
std::string FormatRegValue(const RegFileValue& value);

// True when a key or value name can be written as .reg text (no line ends).
bool IsRegNameWritable(std::string_view name);

// Splits a key path at '\', ignoring empty components.
std::vector<std::string> SplitRegPath(std::string_view path);

}  // namespace vesper
