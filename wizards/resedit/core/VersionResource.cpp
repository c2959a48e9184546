#include "wizards/resedit/core/VersionResource.h"

#include "platform/Exception.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "wizards/resedit/core/ResSettings.h"

namespace vesper {

const TNameValueList& VersionFileOsList() {
  static const TNameValueList list = {
      {"VOS_UNKNOWN", 0},          {"VOS_DOS", 65536},           {"VOS_NT", 262144},
      {"VOS__WINDOWS16", 1},       {"VOS__WINDOWS32", 4},        {"VOS_DOS_WINDOWS16", 65537},
      {"VOS_DOS_WINDOWS32", 65540}, {"VOS_NT_WINDOWS32", 262148},
  };
  return list;
}

const TNameValueList& VersionFileTypeList() {
  static const TNameValueList list = {
      {"VFT_UNKNOWN", 0}, {"VFT_APP", 1},  {"VFT_DLL", 2},        {"VFT_DRV", 3},
      {"VFT_FONT", 4},    {"VFT_VXD", 5},  {"VFT_STATIC_LIB", 7},
  };
  return list;
}

const TNameValueList& VersionFileFlagsList() {
  static const TNameValueList list = {
      {"VS_FF_NORMAL", 0},       {"VS_FF_DEBUG", 1},         {"VS_FF_PRERELEASE", 2},
      {"VS_FF_PATCHED", 4},      {"VS_FF_PRIVATEBUILD", 8},  {"VS_FF_INFOINFERRED", 16},
      {"VS_FF_SPECIALBUILD", 32},
  };
  return list;
}

const TNameValueList& VersionFlagsMaskList() {
  static const TNameValueList list = {{"VS_FFI_NONE", 0}, {"VS_FFI_FILEFLAGSMASK", 63}};
  return list;
}

const TNameValueList& VersionCodePageList() {
  static const TNameValueList list = {
      {"7-bit ASCII", 0},
      {"Windows, Japan (Shift - JIS X-0208)", 932},
      {"Windows, Korea (Shift - KSC 5601)", 949},
      {"Windows, Taiwan (GB5)", 950},
      {"Unicode", 1200},
      {"Windows, Latin-2 (Eastern European)", 1250},
      {"Windows, Cyrillic", 1251},
      {"Windows, Multilingual", 1252},
      {"Windows, Greek", 1253},
      {"Windows, Turkish", 1254},
      {"Windows, Hebrew", 1255},
      {"Windows, Arabic", 1256},
  };
  return list;
}

const TNameValueList& VersionLanguageList() {
  // Names are ANSI (code page 1252) texts.
  static const TNameValueList list = {
      {"Arabic", 1025},
      {"Bulgarian", 1026},
      {"Catalan", 1027},
      {"Traditional Chinese", 1028},
      {"Czech", 1029},
      {"Danish", 1030},
      {"German", 1031},
      {"Greek", 1032},
      {"U.S. English", 1033},
      {"Castilian Spanish", 1034},
      {"Finnish", 1035},
      {"French", 1036},
      {"Hebrew", 1037},
      {"Hungarian", 1038},
      {"Icelandic", 1039},
      {"Italian", 1040},
      {"Japanese", 1041},
      {"Korean", 1042},
      {"Dutch", 1043},
      {"Norwegian - Bokm\xE5l", 1044},
      {"Polish", 1045},
      {"Brazilian Portuguese", 1046},
      {"Rhaeto-Romanic", 1047},
      {"Romanian", 1048},
      {"Russian", 1049},
      {"Croato-Serbian (Latin)", 1050},
      {"Slovak", 1051},
      {"Albanian", 1052},
      {"Swedish", 1053},
      {"Thai", 1054},
      {"Turkish", 1055},
      {"Urdu", 1056},
      {"Bahasa", 1057},
      {"Simplified Chinese", 2052},
      {"Swiss German", 2055},
      {"U.K. English", 2057},
      {"Mexican Spanish", 2058},
      {"Belgian French", 2060},
      {"Swiss Italian", 2064},
      {"Belgian Dutch", 2067},
      {"Norwegian - Nynorsk", 2068},
      {"Portuguese", 2070},
      {"Serbo-Croatian (Cyrillic)", 2074},
      {"Canadian French", 3084},
      {"Swiss French", 4108},
  };
  return list;
}

uint32_t ListValue(const TNameValueList& list, std::string_view name) {
  for (auto& item : list)
    if (item.Name == name) return item.Value;
  return 0;
}

const TNameValue* FindListValue(const TNameValueList& list, uint32_t value) {
  for (auto& item : list)
    if (item.Value == value) return &item;
  return nullptr;
}

std::string VersionText(const TVersionParts& p) {
  return Format("%02.2d.%02.2d.%02.2d.%02.2d", {p[0], p[1], p[2], p[3]});
}

uint32_t PackVersion(const TVersionParts& p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

TVersionParts UnpackVersion(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

bool ParseVersionText(std::string_view text, TVersionParts& parts) {
  auto items = SplitString(Trim(text), '.');
  if (items.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    int v;
    if (!TryStrToInt(items[i], v) || v < 0 || v > 99) return false;
    parts[i] = uint8_t(v);
  }
  return true;
}

static void CheckPart(int index, uint8_t value) {
  if (index < 0 || index > 3 || value > 99) throw EConvertError("Version part out of range");
}

void TVersionResource::SetFileVersionPart(int index, uint8_t value) {
  CheckPart(index, value);
  fileVersion_[index] = value;
  FileVersionText = VersionText(fileVersion_);
}

void TVersionResource::SetProductVersionPart(int index, uint8_t value) {
  CheckPart(index, value);
  productVersion_[index] = value;
  ProductVersionText = VersionText(productVersion_);
}

void TVersionResource::SetFileVersion(const TVersionParts& parts) {
  for (int i = 0; i < 4; ++i) SetFileVersionPart(i, parts[i]);
}

void TVersionResource::SetProductVersion(const TVersionParts& parts) {
  for (int i = 0; i < 4; ++i) SetProductVersionPart(i, parts[i]);
}

void TVersionResource::LoadVersionParts(const TVersionParts& file, const TVersionParts& product) {
  fileVersion_ = file;
  productVersion_ = product;
}

void TVersionResource::RefreshVersionStrings() {
  FileVersionText = VersionText(fileVersion_);
  ProductVersionText = VersionText(productVersion_);
}

void TVersionResource::IncFileVersion() {
  for (int i = 3; i >= 0; --i) {
    fileVersion_[i] = uint8_t(fileVersion_[i] + 1);
    if (fileVersion_[i] < 100) break;
    fileVersion_[i] = 0;  // carry on to the left; the major part just wraps
  }
  FileVersionText = VersionText(fileVersion_);
}

TDateTime TVersionResource::InternalDate() const {
  TDateTime date, time;
  if (!TryEncodeDate(Year, Month, Day, date) || !TryEncodeTime(Hour, Minute, 0, 0, time)) return 0;
  return date + time;
}

void TVersionResource::SetInternalDate(TDateTime dateTime) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dateTime, y, mo, d);
  DecodeTime(dateTime, h, mi, s, ms);
  Year = uint16_t(y);
  Month = uint16_t(mo);
  Day = uint16_t(d);
  Hour = uint16_t(h);
  Minute = uint16_t(mi);
}

void TVersionResource::Reset(const TResSettings& s) {
  Language = uint16_t(s.Language);
  CharSet = uint16_t(s.CharSet);
  FileOs = s.FileOs;
  FileType = s.FileType;
  CompanyName = s.CompName;
  LegalCopyright = s.CopName;
  LegalTrademarks = s.TradeMarks;
  FileDescription.clear();
  InternalName.clear();
  OriginalFilename.clear();
  Comments.clear();
  ProductName.clear();
  SpecialBuild = "No";
  PrivateBuild = "No";
  SetFileVersion({0, 0, 0, 0});
  SetProductVersion({0, 0, 0, 0});
  SetInternalDate(Now());
}

}  // namespace vesper
