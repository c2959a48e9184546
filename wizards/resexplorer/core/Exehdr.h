// Reader of the DOS header and the 16-bit ("NE") header with its resource
// table. Results are numeric codes: 0 success, negative failure.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vesper {

class TStream;

enum : int {
  ehOk = 0,
  ehOpenFailed = -1,    // "Opening File"
  ehNotExecutable = -2, // "Unable to read Executable"
  ehReadFailed = -3,    // "Read file"
  ehNoMemory = -4,      // "Memory allocation"
  ehNotNewExe = -5,     // not a 16-bit executable: try the 32-bit reader
  ehNotResFile = -6,    // "Not a valid resource file"
};

// One 12-byte resource entry of a type record, with its name when the id is
// not numeric (high bit clear).
struct TNameInfo {
  uint16_t Offset = 0;  // in alignment units
  uint16_t Length = 0;  // in alignment units
  uint16_t Flags = 0;
  uint16_t Id = 0;
  uint16_t Handle = 0;
  uint16_t Usage = 0;
  std::string Name;
};

// One resource type of a 16-bit executable, in file order.
struct TTypeInfo {
  uint16_t TypeId = 0;
  uint16_t Count = 0;
  uint32_t Reserved = 0;
  std::string Name;  // for a named type (high bit clear)
  std::vector<TNameInfo> Resources;
};

struct TExeHeaders {
  std::string FileName;
  std::array<uint8_t, 64> DosHeader{};
  std::array<uint8_t, 64> NewHeader{};
  std::vector<uint8_t> EntryTable;
  uint16_t AlignShift = 0;
  std::vector<TTypeInfo> Types;
};

// Reads the headers and resource table of `fileName` into `headers`.
int ReadExeHeaders(const std::string& fileName, TExeHeaders& headers);
// The same over an open stream (positioned anywhere).
int ReadExeHeaders(TStream& stream, TExeHeaders& headers);
void FreeExeHeaders(TExeHeaders& headers);
// The message of a failure code; empty for 0 and -5.
std::string ExeHeaderErrorText(int code);

}  // namespace vesper
