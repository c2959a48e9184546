// The version information of a resource project (one record per project)
// and its fixed vocabularies: OS names, file types, flags, masks, code pages
// and the 45 languages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace vesper {

class TResources;
struct TResSettings;

struct TNameValue {
  std::string Name;
  uint32_t Value = 0;
};

using TNameValueList = std::vector<TNameValue>;

const TNameValueList& VersionFileOsList();
const TNameValueList& VersionFileTypeList();
const TNameValueList& VersionFileFlagsList();
const TNameValueList& VersionFlagsMaskList();
const TNameValueList& VersionCodePageList();
const TNameValueList& VersionLanguageList();  // 45 entries, id order

// The value of `name` in `list`, 0 when it is not there.
uint32_t ListValue(const TNameValueList& list, std::string_view name);
// The entry with `value`, nullptr when there is none.
const TNameValue* FindListValue(const TNameValueList& list, uint32_t value);

using TVersionParts = std::array<uint8_t, 4>;  // major, minor, release, build

// "01.02.03.04".
std::string VersionText(const TVersionParts& parts);
// Major in the high byte down to build in the low byte.
uint32_t PackVersion(const TVersionParts& parts);
TVersionParts UnpackVersion(uint32_t packed);
// Each part 0-99 in "a.b.c.d"; false when the text is no such version.
bool ParseVersionText(std::string_view text, TVersionParts& parts);

class TVersionResource {
 public:
  explicit TVersionResource(TResources* owner) : owner_(owner) {}
  TResources* Owner() const { return owner_; }

  uint16_t Language = 1033;
  uint16_t CharSet = 1252;
  std::string FileOs = "VOS_DOS_WINDOWS16";
  std::string FileType = "VFT_APP";
  const TVersionParts& FileVersion() const { return fileVersion_; }
  const TVersionParts& ProductVersion() const { return productVersion_; }
  std::string FileVersionText = "00.00.00.00";     // kept equal to VersionText(FileVersion())
  std::string ProductVersionText = "00.00.00.00";  // in step with ProductVersion()
  std::string CompanyName, FileDescription, InternalName, LegalCopyright, OriginalFilename,
      Comments, LegalTrademarks, ProductName, SpecialBuild, PrivateBuild;
  uint16_t Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0;  // internal date
  std::string FileFlags = "VS_FF_NORMAL";
  std::string FlagsMask = "VS_FFI_NONE";
  // Lines "key" + char 1 + "value"; when not empty they replace the standard
  // string values in compiled output.
  std::vector<std::string> CustomStrings;
  bool Present = false;  // a project file with a version section was read

  // Set one part (0-99) and the matching version string.
  void SetFileVersionPart(int index, uint8_t value);
  void SetProductVersionPart(int index, uint8_t value);
  void SetFileVersion(const TVersionParts& parts);
  void SetProductVersion(const TVersionParts& parts);
  // Parts as read from a file; the strings are left as they were stored.
  void LoadVersionParts(const TVersionParts& file, const TVersionParts& product);
  void RefreshVersionStrings();
  // Adds 1 to the build part; a part reaching 100 becomes 0 and carries to
  // its left; the major part wraps without carry.
  void IncFileVersion();

  // The internal date as a date-time (0 when its parts are no valid date).
  TDateTime InternalDate() const;
  void SetInternalDate(TDateTime dateTime);

  // A fresh record from the settings: company, copyright and trademarks;
  // "No" for the special and private builds; all parts 0; the date now; OS,
  // file type, language and code page.
  void Reset(const TResSettings& settings);

 private:
  TResources* owner_;
  TVersionParts fileVersion_{0, 0, 0, 0};
  TVersionParts productVersion_{0, 0, 0, 0};
};

}  // namespace vesper
