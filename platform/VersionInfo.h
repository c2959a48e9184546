// Version information of a file: the version resource of PE files, and the
// ".rsrc_version" ELF section that the build writes into our own modules.
// Queries follow VerQueryValue: "\" for the fixed block,
// "\VarFileInfo\Translation" and "\StringFileInfo\040904E4\FileVersion".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

struct TVSFixedFileInfo {
  uint32_t dwSignature = 0, dwStrucVersion = 0;
  uint32_t dwFileVersionMS = 0, dwFileVersionLS = 0;
  uint32_t dwProductVersionMS = 0, dwProductVersionLS = 0;
  uint32_t dwFileFlagsMask = 0, dwFileFlags = 0, dwFileOS = 0, dwFileType = 0, dwFileSubtype = 0;
  uint32_t dwFileDateMS = 0, dwFileDateLS = 0;
};

// The raw version resource of `fileName`; false when the file has none or
// cannot be read. Every offset in the file is checked before use.
bool GetFileVersionInfo(const std::string& fileName, std::string& data);
// The version resource inside a PE image or an ELF file held in memory.
bool ExtractVersionResource(std::string_view image, std::string& data);

// The value bytes of a sub-block; false when the path does not exist.
bool VerQueryValue(std::string_view data, std::string_view subBlock, std::string_view& value);
bool VerQueryFixed(std::string_view data, TVSFixedFileInfo& fixed);
// Translations as (language | code page << 16).
std::vector<uint32_t> VerQueryTranslations(std::string_view data);
// A string value converted to the ANSI code page.
bool VerQueryString(std::string_view data, std::string_view subBlock, std::string& value);

}  // namespace vesper
